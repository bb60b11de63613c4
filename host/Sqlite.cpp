#include "Sqlite.h"

#include <cerrno>

namespace zav::host::sql {

namespace {

// The errno behind a failed call: SQLite's own record where it kept one, else
// errno as the failing call left it (SQLite reads errno the same way, but
// only records it for some statements, not for a COMMIT). Read first thing
// after the call, before anything else may set errno.
int systemErrorOf(sqlite3* db, int code, int errnoAfterCall) {
  const int primary = code & 0xff;
  if (primary != SQLITE_IOERR && primary != SQLITE_CANTOPEN && primary != SQLITE_FULL) return 0;
  const int recorded = db != nullptr ? sqlite3_system_errno(db) : 0;
  return recorded != 0 ? recorded : errnoAfterCall;
}

[[noreturn]] void fail(sqlite3* db, int code, int errnoAfterCall) {
  const int systemError = systemErrorOf(db, code, errnoAfterCall);
  throw Error(db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code), code, systemError);
}

}  // namespace

Statement::Statement(sqlite3* db, std::string_view sql) : db_(db) {
  const int result = sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()),
                                        SQLITE_PREPARE_PERSISTENT, &statement_, nullptr);
  if (result != SQLITE_OK) fail(db, result, errno);
}

Statement::~Statement() { sqlite3_finalize(statement_); }

void Statement::check(int result) const {
  if (result != SQLITE_OK) fail(db_, result, errno);
}

Statement& Statement::bind(int index, std::int64_t value) {
  check(sqlite3_bind_int64(statement_, index, value));
  return *this;
}

Statement& Statement::bind(int index, std::string_view text) {
  check(sqlite3_bind_text64(statement_, index, text.data(), text.size(), SQLITE_STATIC,
                            SQLITE_UTF8));
  return *this;
}

Statement& Statement::bindBlob(int index, std::string_view bytes) {
  check(sqlite3_bind_blob64(statement_, index, bytes.data(), bytes.size(), SQLITE_STATIC));
  return *this;
}

Statement& Statement::bindNull(int index) {
  check(sqlite3_bind_null(statement_, index));
  return *this;
}

bool Statement::step() {
  const int result = sqlite3_step(statement_);
  const int errnoAfterCall = errno;
  if (result == SQLITE_ROW) return true;
  if (result == SQLITE_DONE) return false;
  const int code = sqlite3_extended_errcode(db_);
  const std::string message = sqlite3_errmsg(db_);
  const int systemError = systemErrorOf(db_, code, errnoAfterCall);
  sqlite3_reset(statement_);
  throw Error(message, code, systemError);
}

void Statement::run() {
  while (step()) {
  }
  reset();
}

void Statement::reset() {
  sqlite3_reset(statement_);
  sqlite3_clear_bindings(statement_);
}

std::string_view Statement::text(int column) const {
  const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
  if (data == nullptr) return {};
  return {data, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column))};
}

std::optional<std::string> Statement::blob(int column) const {
  if (isNull(column)) return std::nullopt;
  const auto* data = static_cast<const char*>(sqlite3_column_blob(statement_, column));
  return std::string(data != nullptr ? data : "",
                     static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)));
}

Database::Database(const std::string& path, int flags) {
  const int result = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
  if (result != SQLITE_OK) {
    const int systemError = systemErrorOf(db_, result, errno);
    const std::string message = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(result);
    sqlite3_close(db_);
    throw Error(path + ": " + message, result, systemError);
  }
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_busy_timeout(db_, 30000);  // another scan may be committing
}

Database::~Database() { sqlite3_close_v2(db_); }

void Database::execute(std::string_view sql) {
  const std::string statements(sql);
  char* message = nullptr;
  const int result = sqlite3_exec(db_, statements.c_str(), nullptr, nullptr, &message);
  if (result != SQLITE_OK) {
    const int systemError = systemErrorOf(db_, result, errno);
    const std::string text = message != nullptr ? message : sqlite3_errstr(result);
    sqlite3_free(message);
    throw Error(text, result, systemError);
  }
}

Transaction::Transaction(Database& db, bool immediate) : db_(db) {
  db_.execute(immediate ? "BEGIN IMMEDIATE" : "BEGIN");
}

Transaction::~Transaction() {
  if (!open_) return;
  try {
    db_.execute("ROLLBACK");
  } catch (const Error&) {
    // Nothing more to undo: SQLite already rolled the transaction back.
  }
}

void Transaction::commit() {
  db_.execute("COMMIT");
  open_ = false;
}

}  // namespace zav::host::sql
