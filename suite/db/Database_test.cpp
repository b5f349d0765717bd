#include "suite/db/Database.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

#include "platform/core/test/CoreTestSupport.h"

namespace suitedb {
namespace {

namespace fs = std::filesystem;

class DatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = (folder_ / "t.db").string();
    Database db = Database::Open(path_, true);
    db.ExecScript("CREATE TABLE t (k BLOB PRIMARY KEY, v TEXT, n INTEGER, r REAL)");
  }
  const platform::test::TTempFolder temp_{"vk-db"};
  const fs::path folder_{temp_.Path()};
  std::string path_;
};

TEST_F(DatabaseTest, OpensInWalModeWithForeignKeys) {
  Database db = Database::Open(path_);
  EXPECT_EQ(db.QueryText("PRAGMA journal_mode", {}), "wal");
  EXPECT_EQ(db.QueryText("PRAGMA foreign_keys", {}), "1");
}

TEST_F(DatabaseTest, BoundValuesAreNeverReadAsSql) {
  Database db = Database::Open(path_);
  const std::string hostile = "x'); DROP TABLE t; --";
  const char raw[] = "\xB7\xBD\xB0\xB8\0\x01\x03\x04\r\n%s'\"";
  const std::string bytes(raw, sizeof raw - 1);
  db.Execute("INSERT INTO t (k, v, n, r) VALUES (?, ?, ?, ?)",
             {Blob{bytes}, hostile, int64_t{1} << 40, 0.1});
  Statement row = db.Prepare("SELECT k, v, n, r, typeof(k) FROM t");
  ASSERT_TRUE(row.Step());
  EXPECT_EQ(row.ColumnText(0), bytes);
  EXPECT_EQ(row.ColumnText(1), hostile);
  EXPECT_EQ(row.ColumnInt(2), int64_t{1} << 40);
  EXPECT_EQ(row.ColumnDouble(3), 0.1);
  EXPECT_EQ(row.ColumnText(4), "blob");
  EXPECT_FALSE(row.Step());
}

TEST_F(DatabaseTest, BlobKeysMatchOnlyBlobsOfTheSameBytes) {
  Database db = Database::Open(path_);
  db.Execute("INSERT INTO t (k) VALUES (?)", {Blob{"Abc"}});
  EXPECT_EQ(db.QueryText("SELECT count(*) FROM t WHERE k = ?", {Blob{"Abc"}}), "1");
  EXPECT_EQ(db.QueryText("SELECT count(*) FROM t WHERE k = ?", {Blob{"abc"}}), "0");
  EXPECT_EQ(db.QueryText("SELECT count(*) FROM t WHERE k = ?", {std::string("Abc")}), "0");
  // An empty blob is a value, not NULL.
  db.Execute("INSERT INTO t (k) VALUES (?)", {Blob{""}});
  EXPECT_EQ(db.QueryText("SELECT count(*) FROM t WHERE k = ?", {Blob{""}}), "1");
}

TEST_F(DatabaseTest, TransactionRollsBackUnlessCommitted) {
  Database db = Database::Open(path_);
  {
    Transaction transaction(db);
    db.Execute("INSERT INTO t (k) VALUES (?)", {Blob{"gone"}});
  }
  {
    Transaction transaction(db);
    db.Execute("INSERT INTO t (k) VALUES (?)", {Blob{"kept"}});
    transaction.Commit();
  }
  Database other = Database::Open(path_);
  EXPECT_EQ(other.QueryText("SELECT group_concat(CAST(k AS TEXT)) FROM t", {}), "kept");
}

TEST_F(DatabaseTest, SecondWriterWaitsThenFailsWithBusy) {
  Database first = Database::Open(path_);
  Database second = Database::Open(path_, false, 50);
  Transaction holding(first);
  try {
    Transaction blocked(second);
    FAIL() << "a second write transaction started";
  } catch (const DbError& e) {
    EXPECT_EQ(e.Code() & 0xFF, SQLITE_BUSY);
  }
  // Readers are not blocked by the writer in WAL mode.
  EXPECT_EQ(second.QueryText("SELECT count(*) FROM t", {}), "0");
}

TEST_F(DatabaseTest, AWaitingWriterGoesOnSoonAfterTheLockIsFreed) {
  using Clock = std::chrono::steady_clock;
  Database first = Database::Open(path_);
  Database second = Database::Open(path_);
  Clock::time_point released;
  auto holding = std::make_unique<Transaction>(first);
  std::thread holder([&] {
    // SQLite's own waits would next look 23 ms after this.
    std::this_thread::sleep_for(std::chrono::milliseconds(80));
    released = Clock::now();
    holding.reset();
  });
  Transaction waiting(second);
  const Clock::time_point acquired = Clock::now();
  holder.join();
  // Our waits look again within a millisecond; the margin is for a loaded
  // machine, and still below the first wait of SQLite's own handler.
  EXPECT_LT(acquired - released, std::chrono::milliseconds(20));
}

TEST_F(DatabaseTest, TheLogIsCheckpointedByAThreadOfItsOwn) {
  Database db = Database::Open(path_);
  EXPECT_EQ(db.QueryText("PRAGMA wal_autocheckpoint", {}), "0");
  const auto before = fs::file_size(path_);
  // Each commit adds at least a page to the log; past 1000 a checkpoint is due.
  const std::string text(1000, 'x');
  for (int i = 0; i < 1200; ++i)
    db.Execute("INSERT INTO t (k, v) VALUES (?, ?)", {Blob{std::to_string(i)}, text});
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (fs::file_size(path_) < before + 500'000 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_GE(fs::file_size(path_), before + 500'000);
}

TEST_F(DatabaseTest, ErrorsRaiseDbError) {
  {
    std::ofstream junk(folder_ / "junk.db");
    junk << "this is not a database, only some text that is long enough to be read";
  }
  EXPECT_THROW(Database::Open((folder_ / "junk.db").string()), DbError);
  EXPECT_THROW(Database::Open((folder_ / "missing.db").string()), DbError);
  Database db = Database::Open(path_);
  EXPECT_THROW(db.Prepare("SELEC 1"), DbError);
  EXPECT_THROW(db.Prepare("   "), DbError);
  db.Execute("INSERT INTO t (k) VALUES (?)", {Blob{"a"}});
  EXPECT_THROW(db.Execute("INSERT INTO t (k) VALUES (?)", {Blob{"a"}}), DbError);
}

}  // namespace
}  // namespace suitedb
