#include "Catalog.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "SearchTokenizer.h"

namespace zav::host {

namespace fs = std::filesystem;

namespace {

constexpr int kSchemaVersion = 1;
// A batch is committed after this many files or bytes of text, or once it
// is a second old, whichever comes first.
constexpr std::size_t kBatchFiles = 4096;
constexpr std::size_t kBatchBytes = 16 << 20;
constexpr std::int64_t kBatchMilliseconds = 1000;

constexpr const char* kSchema = R"(
CREATE TABLE volumes (
  id INTEGER PRIMARY KEY,
  label TEXT NOT NULL,
  roots TEXT NOT NULL,               -- the scanned paths, one a line
  scanned_at INTEGER NOT NULL,       -- seconds since the epoch
  state TEXT NOT NULL CHECK (state IN ('staging', 'live')),
  owner_pid INTEGER,                 -- the scanning process, while staging
  owner_start INTEGER,
  file_count INTEGER NOT NULL DEFAULT 0,
  skipped INTEGER NOT NULL DEFAULT 0
);
CREATE UNIQUE INDEX volumes_live_label ON volumes(label) WHERE state = 'live';

CREATE TABLE files (
  id INTEGER PRIMARY KEY,
  volume_id INTEGER NOT NULL REFERENCES volumes(id),
  position INTEGER NOT NULL,         -- the order of the walk
  path TEXT NOT NULL,
  path_raw BLOB,                     -- the original bytes, where the text was converted
  relative_path TEXT NOT NULL,
  relative_path_raw BLOB,
  size INTEGER NOT NULL,
  mtime INTEGER NOT NULL,
  plugin TEXT,
  open_result INTEGER,
  status TEXT NOT NULL,
  reason TEXT
);
CREATE INDEX files_volume ON files(volume_id, position);

CREATE TABLE properties (
  file_id INTEGER NOT NULL REFERENCES files(id),
  position INTEGER NOT NULL,         -- the plug-in's order, from 0
  key INTEGER NOT NULL,
  name TEXT NOT NULL,
  title TEXT NOT NULL,
  title_raw BLOB,
  value TEXT NOT NULL,
  raw BLOB,
  PRIMARY KEY (file_id, position)
) WITHOUT ROWID;

CREATE TABLE lines (
  file_id INTEGER NOT NULL REFERENCES files(id),
  number INTEGER NOT NULL,           -- from 1
  text TEXT NOT NULL,
  raw BLOB,
  PRIMARY KEY (file_id, number)
) WITHOUT ROWID;

-- The full-text index holds one document per file: "info", the relative
-- path and the property values, and "text", the lines, each joined by line
-- feeds. It reads them back through this view, which must give exactly the
-- texts that were indexed.
CREATE VIEW search_texts AS SELECT
  f.id AS id,
  f.relative_path || coalesce((SELECT group_concat(v, '') FROM
      (SELECT char(10) || value AS v FROM properties WHERE file_id = f.id ORDER BY position)), '')
    AS info,
  coalesce((SELECT group_concat(t, char(10)) FROM
      (SELECT text AS t FROM lines WHERE file_id = f.id ORDER BY number)), '')
    AS text
FROM files f;
CREATE VIRTUAL TABLE search_index USING fts5(
  info, text, content='search_texts', content_rowid='id', tokenize='zav');
)";

std::int64_t nowMilliseconds() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// When a process started, in clock ticks after boot: with the pid, it tells
// a live scan from a dead one whose pid was reused.
std::int64_t processStart(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::size_t nameEnd = stat.rfind(')');
  if (nameEnd == std::string::npos) return -1;
  std::istringstream fields(stat.substr(nameEnd + 2));
  std::string field;
  for (int i = 3; i <= 22 && fields >> field; ++i) {  // field 22 is the start time
    if (i == 22) return std::strtoll(field.c_str(), nullptr, 10);
  }
  return -1;
}

bool scanIsAlive(std::int64_t pid, std::int64_t start) {
  if (pid <= 0) return false;
  if (kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM) return false;
  return processStart(static_cast<pid_t>(pid)) == start;
}

void deleteVolumeRows(sql::Database& db, std::int64_t volumeId) {
  for (const char* statement : {
           // Unindexed first, while the view can still give the indexed texts.
           "INSERT INTO search_index (search_index, rowid, info, text) "
           "SELECT 'delete', id, info, text FROM search_texts "
           "WHERE id IN (SELECT id FROM files WHERE volume_id = ?1)",
           "DELETE FROM lines WHERE file_id IN (SELECT id FROM files WHERE volume_id = ?1)",
           "DELETE FROM properties WHERE file_id IN (SELECT id FROM files WHERE volume_id = ?1)",
           "DELETE FROM files WHERE volume_id = ?1",
           "DELETE FROM volumes WHERE id = ?1",
       }) {
    db.prepare(statement).bind(1, volumeId).run();
  }
}

std::string homeDataFolder() {
  if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && data[0] == '/') {
    return data;
  }
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr ? home : ".") + "/.local/share";
}

}  // namespace

std::string catalogPath(const std::optional<std::string>& option) {
  if (option) return *option;
  if (const char* path = std::getenv("ZAVCAT_DB"); path != nullptr && path[0] != 0) return path;
  return homeDataFolder() + "/zavcat/catalog.db";
}

namespace {
// Before the first connection: no allocation statistics, whose global mutex
// costs more than the counting is worth to us.
const bool sqliteConfigured = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK;
}  // namespace

Catalog::Catalog(const std::string& path, int flags) : path_(path), db_(path, flags) {
  registerSearchTokenizer(db_.handle());
}

std::unique_ptr<Catalog> Catalog::openForWriting(const std::string& path) {
  const fs::path folder = fs::path(path).parent_path();
  if (!folder.empty()) fs::create_directories(folder);
  std::unique_ptr<Catalog> catalog(
      new Catalog(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX));
  sql::Database& db = catalog->db_;
  db.execute("PRAGMA journal_mode = WAL");
  // WAL with NORMAL survives any crash of ours; only a power loss may take
  // the last commits, and never leaves the catalog inconsistent.
  db.execute(
      "PRAGMA synchronous = NORMAL; PRAGMA secure_delete = OFF; PRAGMA cache_size = -65536; "
      "PRAGMA temp_store = MEMORY");
  catalog->createSchema();
  catalog->removeAbandonedScans();
  return catalog;
}

std::unique_ptr<Catalog> Catalog::openForReading(const std::string& path) {
  if (!fs::exists(path)) return nullptr;
  std::unique_ptr<Catalog> catalog(new Catalog(path, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX));
  sql::Statement version = catalog->db_.prepare("PRAGMA user_version");
  if (!version.step() || version.integer(0) == 0) return nullptr;
  return catalog;
}

void Catalog::createSchema() {
  sql::Transaction transaction(db_);
  sql::Statement version = db_.prepare("PRAGMA user_version");
  version.step();
  const std::int64_t found = version.integer(0);
  version.reset();
  if (found > kSchemaVersion) {
    throw sql::Error(path_ + " was made by a newer zavcat", SQLITE_ERROR);
  }
  if (found == kSchemaVersion) return;
  db_.execute(kSchema);
  db_.execute("PRAGMA user_version = " + std::to_string(kSchemaVersion));
  transaction.commit();
}

void Catalog::removeAbandonedScans() {
  sql::Transaction transaction(db_);
  std::vector<std::int64_t> abandoned;
  sql::Statement staging =
      db_.prepare("SELECT id, owner_pid, owner_start FROM volumes WHERE state = 'staging'");
  while (staging.step()) {
    if (!scanIsAlive(staging.integer(1), staging.integer(2))) abandoned.push_back(staging.integer(0));
  }
  staging.reset();
  for (const std::int64_t volumeId : abandoned) deleteVolumeRows(db_, volumeId);
  transaction.commit();
}

bool Catalog::hasVolume(const std::string& label) {
  sql::Statement query = db_.prepare("SELECT 1 FROM volumes WHERE label = ?1 AND state = 'live'");
  query.bind(1, label);
  return query.step();
}

VolumeWriter::VolumeWriter(Catalog& catalog, const std::string& label, const std::string& roots)
    : catalog_(catalog),
      label_(label),
      insertFile_(catalog.db().prepare(
          "INSERT INTO files (volume_id, position, path, path_raw, relative_path, "
          "relative_path_raw, size, mtime, plugin, open_result, status, reason) "
          "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)")),
      insertProperty_(catalog.db().prepare(
          "INSERT INTO properties (file_id, position, key, name, title, title_raw, value, raw) "
          "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)")),
      insertLine_(catalog.db().prepare(
          "INSERT INTO lines (file_id, number, text, raw) VALUES (?1, ?2, ?3, ?4)")),
      insertDocument_(catalog.db().prepare(
          "INSERT INTO search_index (rowid, info, text) VALUES (?1, ?2, ?3)")) {
  sql::Database& db = catalog_.db();
  const pid_t self = getpid();
  db.prepare(
        "INSERT INTO volumes (label, roots, scanned_at, state, owner_pid, owner_start) "
        "VALUES (?1, ?2, ?3, 'staging', ?4, ?5)")
      .bind(1, label)
      .bind(2, roots)
      .bind(3, static_cast<std::int64_t>(std::time(nullptr)))
      .bind(4, static_cast<std::int64_t>(self))
      .bind(5, processStart(self))
      .run();
  volumeId_ = db.lastInsertId();
}

VolumeWriter::~VolumeWriter() {
  if (finished_) return;
  try {
    abandon();
  } catch (const sql::Error&) {
    // The next writer removes what is left.
  }
}

void VolumeWriter::begin() {
  catalog_.db().execute("BEGIN IMMEDIATE");
  inTransaction_ = true;
  pendingFiles_ = 0;
  pendingBytes_ = 0;
  batchStarted_ = nowMilliseconds();
}

void VolumeWriter::commit() {
  if (!inTransaction_) return;
  catalog_.db().execute("COMMIT");
  inTransaction_ = false;
}

void VolumeWriter::commitIfDue() {
  if (inTransaction_ && nowMilliseconds() - batchStarted_ >= kBatchMilliseconds) commit();
}

void VolumeWriter::insertText(sql::Statement& statement, int column, const Text& text) {
  statement.bind(column, text.text).bindBlob(column + 1, text.raw);
  pendingBytes_ += text.text.size() + (text.raw ? text.raw->size() : 0);
}

void VolumeWriter::add(const FileRecord& record) {
  if (!inTransaction_) begin();
  sql::Statement& file = insertFile_;
  file.bind(1, volumeId_).bind(2, position_++);
  insertText(file, 3, record.path);
  insertText(file, 5, record.relativePath);
  file.bind(7, record.size).bind(8, record.modified);
  if (record.plugin.empty()) file.bindNull(9); else file.bind(9, record.plugin);
  if (record.hasOpenResult()) file.bind(10, std::int64_t{record.openResult}); else file.bindNull(10);
  file.bind(11, statusName(record.status));
  if (record.reason.empty()) file.bindNull(12); else file.bind(12, record.reason);
  file.run();
  const std::int64_t fileId = catalog_.db().lastInsertId();

  // The search document, as the view search_texts gives it back.
  info_ = record.relativePath.text;
  std::int64_t position = 0;
  for (const RecordProperty& property : record.properties) {
    insertProperty_.bind(1, fileId).bind(2, position++).bind(3, std::int64_t{property.key});
    insertProperty_.bind(4, property.name);
    insertText(insertProperty_, 5, property.title);
    insertText(insertProperty_, 7, property.value);
    insertProperty_.run();
    info_ += '\n';
    info_ += property.value.text;
  }
  text_.clear();
  std::int64_t number = 0;
  for (const Text& line : record.lines) {
    insertLine_.bind(1, fileId).bind(2, ++number);
    insertText(insertLine_, 3, line);
    insertLine_.run();
    if (number > 1) text_ += '\n';
    text_ += line.text;
  }
  insertDocument_.bind(1, fileId).bind(2, info_).bind(3, text_).run();
  if (++pendingFiles_ >= kBatchFiles || pendingBytes_ >= kBatchBytes) commit();
}

bool VolumeWriter::finish(bool replace, std::uint64_t skipped) {
  commit();
  sql::Database& db = catalog_.db();
  sql::Transaction swap(db);
  sql::Statement existing =
      db.prepare("SELECT id FROM volumes WHERE label = ?1 AND state = 'live'");
  existing.bind(1, label_);
  const bool exists = existing.step();
  const std::int64_t oldId = exists ? existing.integer(0) : 0;
  existing.reset();
  if (exists && !replace) return false;  // the destructor removes the staging rows
  if (exists) deleteVolumeRows(db, oldId);
  db.prepare(
        "UPDATE volumes SET state = 'live', owner_pid = NULL, owner_start = NULL, "
        "file_count = ?2, skipped = ?3 WHERE id = ?1")
      .bind(1, volumeId_)
      .bind(2, position_)
      .bind(3, static_cast<std::int64_t>(skipped))
      .run();
  swap.commit();
  finished_ = true;
  return true;
}

void VolumeWriter::abandon() {
  sql::Database& db = catalog_.db();
  if (inTransaction_) {
    db.execute("ROLLBACK");
    inTransaction_ = false;
  }
  sql::Transaction transaction(db);
  deleteVolumeRows(db, volumeId_);
  transaction.commit();
}

RecordCursor::RecordCursor(Catalog& catalog, const std::optional<std::string>& label,
                           bool withLines)
    : files_(catalog.db().prepare(
          "SELECT v.label, f.id, f.path, f.path_raw, f.relative_path, f.relative_path_raw, "
          "f.size, f.mtime, f.plugin, f.open_result, f.status, f.reason "
          "FROM files f JOIN volumes v ON v.id = f.volume_id "
          "WHERE v.state = 'live' AND (?1 IS NULL OR v.label = ?1) "
          "ORDER BY v.label, f.position")),
      properties_(catalog.db().prepare(
          "SELECT key, name, title, title_raw, value, raw FROM properties WHERE file_id = ?1 "
          "ORDER BY position")),
      lines_(catalog.db().prepare("SELECT text, raw FROM lines WHERE file_id = ?1 ORDER BY number")),
      withLines_(withLines),
      label_(label) {
  if (label_) files_.bind(1, *label_); else files_.bindNull(1);
}

bool RecordCursor::next(std::string& label, FileRecord& record) {
  if (!files_.step()) return false;
  const auto text = [](sql::Statement& row, int column) {
    return Text{std::string(row.text(column)), row.blob(column + 1)};
  };
  label = files_.text(0);
  const std::int64_t fileId = files_.integer(1);
  record = FileRecord();
  record.path = text(files_, 2);
  record.relativePath = text(files_, 4);
  record.size = files_.integer(6);
  record.modified = files_.integer(7);
  record.plugin = files_.text(8);
  record.openResult = static_cast<int>(files_.integer(9));
  record.status = statusFromName(files_.text(10)).value_or(FileStatus::failed);
  record.reason = files_.text(11);
  properties_.bind(1, fileId);
  while (properties_.step()) {
    RecordProperty property;
    property.key = static_cast<std::int32_t>(properties_.integer(0));
    property.name = properties_.text(1);
    property.title = text(properties_, 2);
    property.value = text(properties_, 4);
    record.properties.push_back(std::move(property));
  }
  properties_.reset();
  if (withLines_) {
    lines_.bind(1, fileId);
    while (lines_.step()) record.lines.push_back(text(lines_, 0));
    lines_.reset();
  }
  return true;
}

}  // namespace zav::host
