#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/core/Exception.h"

struct sqlite3;
struct sqlite3_stmt;

namespace suitedb {

/* A failure of the database engine; Message() holds the engine's text
   (ASCII or UTF-8) and Code() its result code. */
class DbError : public platform::Exception {
 public:
  DbError(std::string message, int code);
  const char* ClassName() const noexcept override;
  int Code() const noexcept { return code_; }

 private:
  int code_;
};

/* Exact bytes bound as a BLOB (a byte string whose code page the database
   must not guess). */
struct Blob {
  std::string_view Bytes;
};

/* One value bound to a "?" parameter: NULL, integer, real, UTF-8 text or
   blob. Values are never pasted into SQL text. */
using SqlValue = std::variant<std::nullptr_t, int64_t, double, std::string, Blob>;

/* A prepared statement of one connection. Parameters are 1-based, columns
   0-based. Every engine error raises DbError. Not copyable; movable. */
class Statement {
 public:
  /* Prepares the first statement of sql; rest (when given) receives the
     text after it. Raises DbError for a text without a statement. */
  Statement(sqlite3* db, std::string_view sql, std::string_view* rest = nullptr);
  ~Statement();
  Statement(Statement&& other) noexcept;
  Statement& operator=(Statement&& other) noexcept;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(int index, const SqlValue& value);
  /* Binds the values to parameters 1..n in order. */
  Statement& BindAll(const std::vector<SqlValue>& values);
  /* Runs one step: true when a row is ready, false when done. */
  bool Step();
  /* Runs to completion, ignoring rows. */
  void Run();
  /* Back to the start with the bindings kept (ClearBindings drops them). */
  void Reset();
  void ClearBindings();

  /* The highest parameter number the statement uses. */
  int ParameterCount() const;
  int ColumnCount() const;
  std::string ColumnName(int column) const;
  bool IsNull(int column) const;
  /* SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT, SQLITE_BLOB or SQLITE_NULL. */
  int ColumnType(int column) const;
  int64_t ColumnInt(int column) const;
  double ColumnDouble(int column) const;
  /* The column's bytes (text as UTF-8, a blob as stored); "" for NULL. */
  std::string ColumnText(int column) const;

  sqlite3_stmt* Handle() const { return stmt_; }
  /* True when the statement cannot change the database. */
  bool ReadOnly() const;

 private:
  sqlite3* db_ = nullptr;
  sqlite3_stmt* stmt_ = nullptr;
};

/* One connection to a database file, opened in WAL mode with a busy
   timeout and foreign keys on; the log is checkpointed by a thread of the
   process, not by the committing call. A connection belongs to one thread at
   a time; give every thread (every automation object) its own. */
class Database {
 public:
  /* Opens (creating when allowed) the file. Raises DbError when the file
     cannot be opened or is not a database. */
  static Database Open(const std::string& path, bool create = false, int busyTimeoutMs = 5000);
  ~Database();
  Database(Database&& other) noexcept;
  Database& operator=(Database&& other) noexcept;
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  /* Runs a script of fixed statements (schema text); no values go in here. */
  void ExecScript(std::string_view sql);
  Statement Prepare(std::string_view sql);
  /* True when the text holds no statement (only blanks, comments and ";"). */
  bool HoldsNoStatement(std::string_view sql);
  /* Prepares, binds and runs a statement that returns no rows; returns the
     number of rows changed. */
  int Execute(std::string_view sql, const std::vector<SqlValue>& values = {});
  /* The first column of the first row, or nullopt when there is no row. */
  std::optional<std::string> QueryText(std::string_view sql, const std::vector<SqlValue>& values);
  int64_t LastInsertRowId() const;
  const std::string& Path() const { return path_; }
  sqlite3* Handle() const { return db_; }

 private:
  Database(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {}
  sqlite3* db_ = nullptr;
  std::string path_;
};

/* A write transaction taken at once (BEGIN IMMEDIATE, so that two writers
   queue on the busy timeout instead of failing half-way). Rolled back on
   destruction unless committed. */
class Transaction {
 public:
  explicit Transaction(Database& db);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void Commit();

 private:
  Database& db_;
  bool open_ = true;
};

}  // namespace suitedb
