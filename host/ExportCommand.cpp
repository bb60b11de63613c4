// zavcat export: the catalog's records as JSON Lines or CSV.
#include <algorithm>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>

#include "Catalog.h"
#include "Commands.h"
#include "Output.h"
#include "PropertyKeys.h"
#include "RecordFormat.h"

namespace zav::host {

namespace {

// The property columns: the known names in the order of the name table,
// then the others (key_N) in byte order.
std::vector<std::string> propertyColumns(Catalog& catalog, const std::optional<std::string>& label) {
  sql::Statement query = catalog.db().prepare(
      "SELECT DISTINCT p.name FROM properties p JOIN files f ON f.id = p.file_id "
      "JOIN volumes v ON v.id = f.volume_id "
      "WHERE v.state = 'live' AND (?1 IS NULL OR v.label = ?1)");
  if (label) query.bind(1, *label); else query.bindNull(1);
  std::vector<std::string> found;
  while (query.step()) found.emplace_back(query.text(0));
  std::vector<std::string> columns;
  const auto take = [&](std::string_view name) {
    const auto it = std::find(found.begin(), found.end(), name);
    if (it == found.end()) return;
    columns.emplace_back(name);
    found.erase(it);
  };
  for (const auto& row : kCommonPropertyNames) take(row.name);
  for (const auto& row : kAudioPropertyNames) take(row.name);
  for (const auto& row : kRtfPropertyNames) take(row.name);
  std::sort(found.begin(), found.end());
  columns.insert(columns.end(), found.begin(), found.end());
  return columns;
}

void appendCsvField(std::string& out, std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += field;
    return;
  }
  out += '"';
  for (const char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

void appendCsvRow(std::string& out, const std::vector<std::string>& fields) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out += ',';
    appendCsvField(out, fields[i]);
  }
  out += "\r\n";
}

void exportCsv(Catalog& catalog, const std::optional<std::string>& volume, Output& output) {
  const std::vector<std::string> properties = propertyColumns(catalog, volume);
  std::vector<std::string> header{"volume", "path", "relative_path", "size", "mtime",
                                  "plugin", "open", "status", "reason"};
  header.insert(header.end(), properties.begin(), properties.end());
  appendCsvRow(output.buffer(), header);
  RecordCursor cursor(catalog, volume, /*withLines=*/false);
  std::string label;
  FileRecord record;
  while (cursor.next(label, record)) {
    std::vector<std::string> row{label,
                                 record.path.text,
                                 record.relativePath.text,
                                 std::to_string(record.size),
                                 utcTimestamp(record.modified),
                                 record.plugin,
                                 record.hasOpenResult() ? std::to_string(record.openResult) : "",
                                 std::string(statusName(record.status)),
                                 record.reason};
    row.resize(header.size());
    for (const RecordProperty& property : record.properties) {
      const auto column = std::find(properties.begin(), properties.end(), property.name);
      if (column != properties.end()) row[9 + static_cast<std::size_t>(column - properties.begin())] = property.value.text;
    }
    appendCsvRow(output.buffer(), row);
    output.written();
  }
}

void exportJson(Catalog& catalog, const std::optional<std::string>& volume, Output& output) {
  RecordCursor cursor(catalog, volume, /*withLines=*/true);
  std::string label;
  FileRecord record;
  while (cursor.next(label, record)) {
    nlohmann::ordered_json object;
    object["volume"] = label;
    object.update(recordJson(record));
    output << jsonLine(object);
    output.written();
  }
}

}  // namespace

ExitStatus runExport(const CommonOptions& common, const ExportOptions& options) {
  const auto catalog = openCatalogToRead(options.database, common.quiet);
  if (!catalog) return ExitStatus::someFailed;
  if (reportMissingVolume(*catalog, options.volume)) return ExitStatus::someFailed;
  Output output;
  if (options.format == OutputFormat::csv) {
    exportCsv(*catalog, options.volume, output);
  } else {
    exportJson(*catalog, options.volume, output);
  }
  output.flush();
  return output.ok() ? ExitStatus::ok : ExitStatus::someFailed;
}

}  // namespace zav::host
