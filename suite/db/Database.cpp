#include "suite/db/Database.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <set>
#include <thread>
#include <utility>

namespace suitedb {

namespace {

[[noreturn]] void Raise(sqlite3* db, int code, std::string_view what) {
  std::string message(what);
  message += ": ";
  message += db ? sqlite3_errmsg(db) : sqlite3_errstr(code);
  throw DbError(std::move(message), code);
}

// Waits for a lock another connection holds in short steps (50 us doubling
// to 800 us), so that a writer goes on soon after the one before it commits;
// SQLite's own waits grow to 100 ms, and a queue of writers then waits that
// long. The time-out in milliseconds travels as the handler's argument.
int WaitForLock(void* timeoutMs, int attempt) {
  const int64_t step = 50 << std::min(attempt, 4);
  const int64_t waited =
      attempt <= 4 ? 50 * ((int64_t{1} << attempt) - 1) : 750 + int64_t{800} * (attempt - 4);
  if (waited >= int64_t{1000} * reinterpret_cast<intptr_t>(timeoutMs)) return 0;
  std::this_thread::sleep_for(std::chrono::microseconds(step));
  return 1;
}

// Checkpoints of the write-ahead logs run on a thread of their own: the disk
// syncs a checkpoint needs (milliseconds each) then hold up no request. A
// connection asks for one when its log has grown past kCheckpointFrames.
constexpr int kCheckpointFrames = 1000;

class Checkpointer {
 public:
  static Checkpointer& Get() {
    static Checkpointer checkpointer;
    return checkpointer;
  }
  void Ask(const std::string& path) {
    {
      const std::lock_guard lock(mutex_);
      if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
      pending_.insert(path);
    }
    wake_.notify_one();
  }
  ~Checkpointer() {
    {
      const std::lock_guard lock(mutex_);
      stop_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable()) thread_.join();
  }

 private:
  void Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
      wake_.wait(lock, [this] { return stop_ || !pending_.empty(); });
      if (stop_) return;
      const std::string path = *pending_.begin();
      pending_.erase(pending_.begin());
      lock.unlock();
      sqlite3* db = nullptr;
      // The connection reads the file first (it is in WAL mode only then).
      // Passive: copies what no reader still needs and never waits for a lock.
      if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                          nullptr) == SQLITE_OK &&
          sqlite3_exec(db, "PRAGMA schema_version", nullptr, nullptr, nullptr) == SQLITE_OK)
        sqlite3_wal_checkpoint_v2(db, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
      sqlite3_close(db);
      lock.lock();
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::set<std::string> pending_;
  bool stop_ = false;
  std::thread thread_;
};

int AfterCommit(void*, sqlite3* db, const char* name, int frames) {
  if (frames < kCheckpointFrames) return SQLITE_OK;
  if (const char* file = sqlite3_db_filename(db, name); file && *file)
    Checkpointer::Get().Ask(file);
  return SQLITE_OK;
}

}  // namespace

DbError::DbError(std::string message, int code) : Exception(std::move(message)), code_(code) {}
const char* DbError::ClassName() const noexcept { return "EDatabaseError"; }

Statement::Statement(sqlite3* db, std::string_view sql, std::string_view* rest) : db_(db) {
  const char* tail = nullptr;
  const int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, &tail);
  if (rc != SQLITE_OK) Raise(db, rc, "prepare");
  if (rest) *rest = sql.substr(static_cast<size_t>(tail - sql.data()));
  if (!stmt_) throw DbError("prepare: no statement in the text", SQLITE_MISUSE);
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

Statement::Statement(Statement&& other) noexcept
    : db_(other.db_), stmt_(std::exchange(other.stmt_, nullptr)) {}

Statement& Statement::operator=(Statement&& other) noexcept {
  if (this != &other) {
    sqlite3_finalize(stmt_);
    db_ = other.db_;
    stmt_ = std::exchange(other.stmt_, nullptr);
  }
  return *this;
}

Statement& Statement::Bind(int index, const SqlValue& value) {
  int rc = SQLITE_OK;
  if (std::holds_alternative<std::nullptr_t>(value)) {
    rc = sqlite3_bind_null(stmt_, index);
  } else if (const auto* i = std::get_if<int64_t>(&value)) {
    rc = sqlite3_bind_int64(stmt_, index, *i);
  } else if (const auto* d = std::get_if<double>(&value)) {
    rc = sqlite3_bind_double(stmt_, index, *d);
  } else if (const auto* s = std::get_if<std::string>(&value)) {
    rc = sqlite3_bind_text64(stmt_, index, s->data(), s->size(), SQLITE_TRANSIENT, SQLITE_UTF8);
  } else {
    const Blob& b = std::get<Blob>(value);
    // A zero-length blob is still a blob, not NULL: bind it with a valid pointer.
    rc = sqlite3_bind_blob64(stmt_, index, b.Bytes.empty() ? "" : b.Bytes.data(), b.Bytes.size(),
                             SQLITE_TRANSIENT);
  }
  if (rc != SQLITE_OK) Raise(db_, rc, "bind");
  return *this;
}

Statement& Statement::BindAll(const std::vector<SqlValue>& values) {
  for (size_t i = 0; i < values.size(); ++i) Bind(static_cast<int>(i + 1), values[i]);
  return *this;
}

bool Statement::Step() {
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  Raise(db_, rc, "step");
}

void Statement::Run() {
  while (Step()) {
  }
}

void Statement::Reset() { sqlite3_reset(stmt_); }
void Statement::ClearBindings() { sqlite3_clear_bindings(stmt_); }

int Statement::ParameterCount() const { return sqlite3_bind_parameter_count(stmt_); }

int Statement::ColumnCount() const { return sqlite3_column_count(stmt_); }

std::string Statement::ColumnName(int column) const {
  const char* name = sqlite3_column_name(stmt_, column);
  return name ? name : "";
}

bool Statement::IsNull(int column) const {
  return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}
int Statement::ColumnType(int column) const { return sqlite3_column_type(stmt_, column); }
int64_t Statement::ColumnInt(int column) const { return sqlite3_column_int64(stmt_, column); }
double Statement::ColumnDouble(int column) const { return sqlite3_column_double(stmt_, column); }

std::string Statement::ColumnText(int column) const {
  // Blob access keeps the stored bytes as they are, whatever the column type.
  const void* data = sqlite3_column_blob(stmt_, column);
  const int size = sqlite3_column_bytes(stmt_, column);
  if (!data || size <= 0) return {};
  return std::string(static_cast<const char*>(data), static_cast<size_t>(size));
}

bool Statement::ReadOnly() const { return sqlite3_stmt_readonly(stmt_) != 0; }

Database Database::Open(const std::string& path, bool create, int busyTimeoutMs) {
  sqlite3* db = nullptr;
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
  const int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
  if (rc != SQLITE_OK) {
    std::string message = "open " + path + ": " + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    sqlite3_close(db);
    throw DbError(std::move(message), rc);
  }
  Database result(db, path);
  sqlite3_busy_handler(db, WaitForLock, reinterpret_cast<void*>(intptr_t{busyTimeoutMs}));
  sqlite3_extended_result_codes(db, 1);
  // Reading the mode back also proves the file is a database.
  result.Prepare("PRAGMA journal_mode=WAL").Run();
  result.ExecScript(
      "PRAGMA foreign_keys=ON; PRAGMA synchronous=NORMAL; PRAGMA wal_autocheckpoint=0;");
  sqlite3_wal_hook(db, AfterCommit, nullptr);
  return result;
}

Database::~Database() { sqlite3_close_v2(db_); }

Database::Database(Database&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)), path_(std::move(other.path_)) {}

Database& Database::operator=(Database&& other) noexcept {
  if (this != &other) {
    sqlite3_close_v2(db_);
    db_ = std::exchange(other.db_, nullptr);
    path_ = std::move(other.path_);
  }
  return *this;
}

void Database::ExecScript(std::string_view sql) {
  const std::string text(sql);
  char* error = nullptr;
  const int rc = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &error);
  if (rc != SQLITE_OK) {
    std::string message = std::string("script: ") + (error ? error : sqlite3_errstr(rc));
    sqlite3_free(error);
    throw DbError(std::move(message), rc);
  }
}

Statement Database::Prepare(std::string_view sql) { return Statement(db_, sql); }

bool Database::HoldsNoStatement(std::string_view sql) {
  sqlite3_stmt* stmt = nullptr;
  const int rc = sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &stmt, nullptr);
  sqlite3_finalize(stmt);
  return rc == SQLITE_OK && !stmt;
}

int Database::Execute(std::string_view sql, const std::vector<SqlValue>& values) {
  Statement statement = Prepare(sql);
  statement.BindAll(values).Run();
  return sqlite3_changes(db_);
}

std::optional<std::string> Database::QueryText(std::string_view sql,
                                               const std::vector<SqlValue>& values) {
  Statement statement = Prepare(sql);
  statement.BindAll(values);
  if (!statement.Step()) return std::nullopt;
  return statement.ColumnText(0);
}

int64_t Database::LastInsertRowId() const { return sqlite3_last_insert_rowid(db_); }

Transaction::Transaction(Database& db) : db_(db) { db_.ExecScript("BEGIN IMMEDIATE"); }

Transaction::~Transaction() {
  if (open_) sqlite3_exec(db_.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::Commit() {
  db_.ExecScript("COMMIT");
  open_ = false;
}

}  // namespace suitedb
