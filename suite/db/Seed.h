#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "suite/db/Database.h"

namespace suitedb {

/* The schema and the reference data (settings, messages, programs, users,
   rights, report blocks, ...), as SQL texts. */
std::string_view SchemaSql();
std::string_view ReferenceDataSql();

/* How much business data the generator makes. Factor 1 gives 300 suppliers,
   200 items and about 8000 receipts with 44000 lines over 2024 and 2025;
   every count scales with Factor (with small minimums). The same Seed and
   Factor always give the same data. */
struct SeedOptions {
  uint64_t Seed = 82;
  double Factor = 1.0;
};

struct SeedCounts {
  int Plants = 0;
  int Currencies = 0;
  int Suppliers = 0;
  int Items = 0;
  int Receipts = 0;
  int ReceiptLines = 0;
};

/* Creates the tables and reference data in an empty database, in one
   transaction. Raises DbError when the database already holds tables. */
void CreateSchema(Database& db);

/* Adds the generated plants, currencies, suppliers, items and receipts, in
   one transaction. Raises DbError when they clash with existing rows, and
   EConvertError for a factor that is not a positive number up to 1000. */
SeedCounts GenerateBusinessData(Database& db, const SeedOptions& options);

/* Creates a new database file with the schema, the reference data and the
   generated data. Raises DbError when the file already exists. */
SeedCounts CreateDatabase(const std::string& path, const SeedOptions& options);

}  // namespace suitedb
