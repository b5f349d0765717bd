#include "suite/db/Seed.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "platform/core/Exception.h"
#include "platform/core/test/CoreTestSupport.h"

namespace suitedb {
namespace {

namespace fs = std::filesystem;

class SeedTest : public ::testing::Test {
 protected:
  std::string File(const std::string& name) const { return (folder_ / name).string(); }

  // A digest of the generated tables, to compare two databases.
  static std::string Digest(Database& db) {
    std::string all;
    for (const char* sql :
         {"SELECT group_concat(code || short_name || full_name || contact || phone || currency) "
          "FROM (SELECT * FROM supplier ORDER BY code)",
          "SELECT group_concat(doc_type || doc_no || doc_date || accept_date || supplier || plant "
          "|| approval || closing || payment_hold || po_no) FROM (SELECT * FROM receipt ORDER BY "
          "doc_type, doc_no)",
          "SELECT sum(amount), sum(quantity), count(*) FROM receipt_line"})
      all += db.QueryText(sql, {}).value_or("") + "|";
    return all;
  }

  const platform::test::TTempFolder temp_{"vk-seed"};
  const fs::path folder_{temp_.Path()};
};

TEST_F(SeedTest, SameSeedGivesSameDataAndAnotherSeedOtherData) {
  const SeedCounts first = CreateDatabase(File("a.db"), {7, 0.05});
  CreateDatabase(File("b.db"), {7, 0.05});
  CreateDatabase(File("c.db"), {8, 0.05});
  Database a = Database::Open(File("a.db"));
  Database b = Database::Open(File("b.db"));
  Database c = Database::Open(File("c.db"));
  EXPECT_EQ(Digest(a), Digest(b));
  EXPECT_NE(Digest(a), Digest(c));
  EXPECT_EQ(a.QueryText("SELECT count(*) FROM receipt_line", {}),
            std::to_string(first.ReceiptLines));
  EXPECT_EQ(a.QueryText("SELECT count(*) FROM receipt", {}), std::to_string(first.Receipts));
  EXPECT_EQ(a.QueryText("SELECT count(*) FROM supplier", {}), std::to_string(first.Suppliers));
}

TEST_F(SeedTest, DefaultSizeIsACompanyOfTwoYears) {
  const SeedCounts counts = CreateDatabase(File("full.db"), {});
  EXPECT_EQ(counts.Plants, 6);
  EXPECT_EQ(counts.Currencies, 6);
  EXPECT_EQ(counts.Suppliers, 300);
  EXPECT_GE(counts.ReceiptLines, 30000);
  Database db = Database::Open(File("full.db"));
  struct Check {
    const char* Sql;
    const char* Expected;
  };
  const Check checks[] = {
      {"SELECT min(doc_date) >= '20240101' AND max(doc_date) <= '20251231' FROM receipt", "1"},
      {"SELECT count(DISTINCT substr(doc_date, 1, 6)) FROM receipt", "24"},
      {"SELECT count(*) FROM receipt WHERE accept_date < doc_date", "0"},
      {"SELECT max(length(doc_type)) <= 4 AND max(length(doc_no)) <= 11 FROM receipt", "1"},
      {"SELECT max(length(code)) <= 10 FROM supplier", "1"},
      {"SELECT max(length(code)) <= 6 FROM plant", "1"},
      {"SELECT max(length(code)) <= 4 FROM currency", "1"},
      {"SELECT count(DISTINCT approval) || count(DISTINCT closing) || count(DISTINCT payment_hold) "
       "FROM receipt",
       "322"},
      {"SELECT count(*) > 0 FROM receipt WHERE po_no = ''", "1"},
      // Amounts are the product rounded to cents.
      {"SELECT count(*) FROM receipt_line WHERE abs(amount - quantity * unit_price) > 0.0050001 "
       "OR abs(amount * 100 - round(amount * 100)) > 0.000001",
       "0"},
      {"SELECT count(*) FROM receipt r WHERE NOT EXISTS (SELECT 1 FROM receipt_line l WHERE "
       "l.doc_type = r.doc_type AND l.doc_no = r.doc_no)",
       "0"},
      {"SELECT count(*) FROM pragma_foreign_key_check", "0"},
  };
  for (const Check& c : checks) EXPECT_EQ(db.QueryText(c.Sql, {}), c.Expected) << c.Sql;
}

TEST_F(SeedTest, FactorScalesTheBusinessData) {
  const SeedCounts small = CreateDatabase(File("s.db"), {82, 0.1});
  const SeedCounts large = CreateDatabase(File("l.db"), {82, 0.3});
  EXPECT_EQ(small.Suppliers, 30);
  EXPECT_EQ(large.Suppliers, 90);
  EXPECT_EQ(small.Receipts, 800);
  EXPECT_EQ(large.Receipts, 2400);
  EXPECT_GT(large.ReceiptLines, 2 * small.ReceiptLines);
}

TEST_F(SeedTest, RefusesAnExistingFileAndBadFactors) {
  CreateDatabase(File("x.db"), {1, 0.02});
  EXPECT_THROW(CreateDatabase(File("x.db"), {1, 0.02}), DbError);
  Database db = Database::Open(File("x.db"));
  EXPECT_THROW(CreateSchema(db), DbError);
  for (double factor : {0.0, -1.0, 1001.0, std::nan("")})
    EXPECT_THROW(CreateDatabase(File("f" + std::to_string(factor) + ".db"), {1, factor}),
                 platform::EConvertError)
        << factor;
}

}  // namespace
}  // namespace suitedb
