// A thin layer over SQLite's C interface: a connection and prepared
// statements that own their handles and turn errors into exceptions.
#ifndef ZAV_HOST_SQLITE_H
#define ZAV_HOST_SQLITE_H

#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zav::host::sql {

class Error : public std::runtime_error {
 public:
  Error(const std::string& message, int code, int systemError = 0)
      : std::runtime_error(message), code_(code), systemError_(systemError) {}
  int code() const { return code_; }
  // The errno behind an I/O error, where SQLite kept one (0 otherwise).
  int systemError() const { return systemError_; }

 private:
  int code_;
  int systemError_;
};

class Statement {
 public:
  Statement(sqlite3* db, std::string_view sql);
  ~Statement();
  Statement(Statement&& other) noexcept : db_(other.db_), statement_(other.statement_) {
    other.statement_ = nullptr;
  }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // Parameters count from 1. Texts and blobs are not copied: they must stay
  // valid until the statement has been stepped.
  Statement& bind(int index, std::int64_t value);
  Statement& bind(int index, std::string_view text);
  Statement& bindBlob(int index, std::string_view bytes);
  Statement& bindNull(int index);
  Statement& bindBlob(int index, const std::optional<std::string>& blob) {
    return blob ? bindBlob(index, std::string_view(*blob)) : bindNull(index);
  }

  // True while there is a row to read.
  bool step();
  // Steps to the end; for statements without rows.
  void run();
  void reset();

  std::int64_t integer(int column) const { return sqlite3_column_int64(statement_, column); }
  std::string_view text(int column) const;
  std::optional<std::string> blob(int column) const;
  bool isNull(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }

 private:
  void check(int result) const;

  sqlite3* db_;
  sqlite3_stmt* statement_ = nullptr;
};

class Database {
 public:
  // `flags` as for sqlite3_open_v2.
  Database(const std::string& path, int flags);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  void execute(std::string_view sql);
  Statement prepare(std::string_view sql) { return Statement(db_, sql); }
  std::int64_t lastInsertId() const { return sqlite3_last_insert_rowid(db_); }
  sqlite3* handle() const { return db_; }

 private:
  sqlite3* db_ = nullptr;
};

// A transaction rolled back unless committed.
class Transaction {
 public:
  explicit Transaction(Database& db, bool immediate = true);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void commit();

 private:
  Database& db_;
  bool open_ = true;
};

}  // namespace zav::host::sql

#endif
