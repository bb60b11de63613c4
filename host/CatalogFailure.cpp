#include "CatalogFailure.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "Sqlite.h"
#include "TextEscape.h"

namespace zav::host {

namespace {

std::string withCause(const char* what, int systemError) {
  if (systemError == 0) return what;
  return std::string(what) + " (" + std::strerror(systemError) + ")";
}

std::string sqliteFailureReason(const sql::Error& error) {
  const int systemError = error.systemError();
  switch (error.code() & 0xff) {
    case SQLITE_FULL: return "the disk is full";
    case SQLITE_IOERR:
      if (systemError == EFBIG) return "a file of it reached this process's file-size limit (ulimit -f)";
      if (systemError == ENOSPC) return "the disk is full";
      return withCause("the system failed to read or write it", systemError);
    case SQLITE_READONLY: return "it is read-only";
    case SQLITE_CANTOPEN: return withCause("it cannot be opened", systemError);
    case SQLITE_NOTADB: return "it is not a catalog (the file is no SQLite database)";
    case SQLITE_CORRUPT: return "it is corrupt";
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return "another process kept it locked";
    default: return error.what();
  }
}

}  // namespace

std::string catalogFailureReason(const std::exception& error) {
  if (const auto* sqlite = dynamic_cast<const sql::Error*>(&error)) return sqliteFailureReason(*sqlite);
  if (const auto* file = dynamic_cast<const std::filesystem::filesystem_error*>(&error)) {
    return "its folder cannot be made (" + file->code().message() + ")";
  }
  return error.what();
}

ExitStatus reportCatalogNotWritten(std::ostream& err, const std::string& path,
                                   const std::exception& error, const char* run) {
  err << "zavcat: cannot write the catalog " << escaped(path, TextForm::bytes) << ": "
      << catalogFailureReason(error) << "; the catalog is left as it was, with nothing of this "
      << run << '\n';
  return ExitStatus::catalogUnwritable;
}

}  // namespace zav::host
