// The catalog: an SQLite database of volumes, their files, the files'
// properties and lines, and a full-text index with one document per file.
// Readers never see a volume half-written: a scan writes into a staging
// volume and swaps it for the old one of its label in one transaction.
#ifndef ZAV_HOST_CATALOG_H
#define ZAV_HOST_CATALOG_H

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Record.h"
#include "Sqlite.h"

namespace zav::host {

// --db, else $ZAVCAT_DB, else $XDG_DATA_HOME/zavcat/catalog.db, else
// ~/.local/share/zavcat/catalog.db.
std::string catalogPath(const std::optional<std::string>& option);

class Catalog {
 public:
  // For writing, the file (and its folder) is created when missing, and
  // rows left by scans that died are removed. For reading, none when the
  // file does not exist.
  static std::unique_ptr<Catalog> openForWriting(const std::string& path);
  static std::unique_ptr<Catalog> openForReading(const std::string& path);

  sql::Database& db() { return db_; }
  const std::string& path() const { return path_; }

  // Whether a volume of this label is in the catalog.
  bool hasVolume(const std::string& label);

 private:
  Catalog(const std::string& path, int flags);
  void createSchema();
  void removeAbandonedScans();

  std::string path_;
  sql::Database db_;
};

// Writes one scan's records into a staging volume, in batched transactions,
// and makes it the volume of its label in one final transaction. A writer
// dropped without finish() removes its rows; one whose process dies leaves
// them to the next Catalog::openForWriting.
class VolumeWriter {
 public:
  VolumeWriter(Catalog& catalog, const std::string& label, const std::string& roots);
  ~VolumeWriter();
  VolumeWriter(const VolumeWriter&) = delete;
  VolumeWriter& operator=(const VolumeWriter&) = delete;

  void add(const FileRecord& record);
  // Commits what is pending when it has waited a while, so a long scan
  // shows its progress in the database too.
  void commitIfDue();

  // With `replace`, an existing volume of the label is deleted and this one
  // takes its place; without, false (and nothing changes) when one exists.
  bool finish(bool replace, std::uint64_t skipped);

 private:
  void begin();
  void commit();
  void insertText(sql::Statement& statement, int column, const Text& text);
  void abandon();

  Catalog& catalog_;
  std::string label_;
  std::int64_t volumeId_ = 0;
  std::int64_t position_ = 0;
  bool inTransaction_ = false;
  bool finished_ = false;
  std::size_t pendingFiles_ = 0;
  std::size_t pendingBytes_ = 0;
  std::int64_t batchStarted_ = 0;
  sql::Statement insertFile_;
  sql::Statement insertProperty_;
  sql::Statement insertLine_;
  sql::Statement insertDocument_;
  std::string info_;
  std::string text_;
};

// The records of the live volumes (or of one), volume by volume in label
// order and, within one, in the order of the walk.
class RecordCursor {
 public:
  RecordCursor(Catalog& catalog, const std::optional<std::string>& label, bool withLines);
  // False after the last record.
  bool next(std::string& label, FileRecord& record);

 private:
  sql::Statement files_;
  sql::Statement properties_;
  sql::Statement lines_;
  bool withLines_;
  std::optional<std::string> label_;
};

}  // namespace zav::host

#endif
