// zavcat search: the best matches of an FTS5 query over paths, property
// values and lines, with the matched words highlighted on a terminal.
#include <unistd.h>

#include <iostream>
#include <nlohmann/json.hpp>

#include "Catalog.h"
#include "Commands.h"
#include "Output.h"
#include "TextEscape.h"

namespace zav::host {

namespace {

enum class Field { path = 0, property = 1, line = 2 };

// The hits, best first, ties in a fixed order; texts come later, for the
// hits shown only.
constexpr const char* kRankedHits = R"(
SELECT 0, path_index.rowid, bm25(path_index) FROM path_index
  JOIN files f ON f.id = path_index.rowid JOIN volumes v ON v.id = f.volume_id
  WHERE path_index MATCH ?1 AND v.state = 'live'
UNION ALL
SELECT 1, property_index.rowid, bm25(property_index) FROM property_index
  JOIN properties p ON p.id = property_index.rowid JOIN files f ON f.id = p.file_id
  JOIN volumes v ON v.id = f.volume_id
  WHERE property_index MATCH ?1 AND v.state = 'live'
UNION ALL
SELECT 2, line_index.rowid, bm25(line_index) FROM line_index
  JOIN lines l ON l.id = line_index.rowid JOIN files f ON f.id = l.file_id
  JOIN volumes v ON v.id = f.volume_id
  WHERE line_index MATCH ?1 AND v.state = 'live'
ORDER BY 3, 1, 2 LIMIT ?2)";

// Per field: label, relative path, path, name, line number, text, spans.
constexpr const char* kHitDetails[] = {
    "SELECT v.label, f.relative_path, f.path, 'path', NULL, f.relative_path, zav_spans(path_index) "
    "FROM path_index JOIN files f ON f.id = path_index.rowid JOIN volumes v ON v.id = f.volume_id "
    "WHERE path_index MATCH ?1 AND path_index.rowid = ?2",
    "SELECT v.label, f.relative_path, f.path, p.name, NULL, p.value, zav_spans(property_index) "
    "FROM property_index JOIN properties p ON p.id = property_index.rowid "
    "JOIN files f ON f.id = p.file_id JOIN volumes v ON v.id = f.volume_id "
    "WHERE property_index MATCH ?1 AND property_index.rowid = ?2",
    "SELECT v.label, f.relative_path, f.path, 'line', l.number, l.text, zav_spans(line_index) "
    "FROM line_index JOIN lines l ON l.id = line_index.rowid "
    "JOIN files f ON f.id = l.file_id JOIN volumes v ON v.id = f.volume_id "
    "WHERE line_index MATCH ?1 AND line_index.rowid = ?2",
};

struct Hit {
  std::string label;
  std::string relativePath;
  std::string path;
  std::string name;  // "path", "line" or the property's name
  std::int64_t lineNumber = 0;
  std::string text;
  std::vector<std::pair<std::size_t, std::size_t>> spans;  // byte ranges of the matches
};

std::vector<std::pair<std::size_t, std::size_t>> parseSpans(std::string_view text, std::size_t limit) {
  std::vector<std::pair<std::size_t, std::size_t>> spans;
  std::vector<std::size_t> numbers;
  std::size_t value = 0;
  bool inNumber = false;
  for (const char c : text) {
    if (c >= '0' && c <= '9') {
      value = value * 10 + static_cast<std::size_t>(c - '0');
      inNumber = true;
    } else if (inNumber) {
      numbers.push_back(value);
      value = 0;
      inNumber = false;
    }
  }
  if (inNumber) numbers.push_back(value);
  for (std::size_t i = 0; i + 1 < numbers.size(); i += 2) {
    if (numbers[i] < numbers[i + 1] && numbers[i + 1] <= limit) spans.emplace_back(numbers[i], numbers[i + 1]);
  }
  return spans;
}

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// A long text is cut to a window around its first match.
constexpr std::size_t kWindow = 160;
constexpr std::size_t kLeadIn = 50;

void appendHighlighted(std::string& out, const Hit& hit, bool terminal) {
  const std::string& text = hit.text;
  std::size_t begin = 0;
  std::size_t end = text.size();
  if (text.size() > kWindow && !hit.spans.empty()) {
    begin = hit.spans.front().first > kLeadIn ? hit.spans.front().first - kLeadIn : 0;
    while (begin > 0 && isContinuationByte(text[begin])) --begin;
    end = std::max(std::min(text.size(), begin + kWindow), hit.spans.front().second);
    while (end < text.size() && isContinuationByte(text[end])) ++end;
  }
  if (begin > 0) out += "\u2026";
  std::size_t at = begin;
  for (const auto& [start, stop] : hit.spans) {
    if (start < at || stop > end) continue;
    appendEscaped(out, std::string_view(text).substr(at, start - at), TextForm::utf8);
    if (terminal) out += "\x1b[1;31m";
    appendEscaped(out, std::string_view(text).substr(start, stop - start), TextForm::utf8);
    if (terminal) out += "\x1b[0m";
    at = stop;
  }
  appendEscaped(out, std::string_view(text).substr(at, end - at), TextForm::utf8);
  if (end < text.size()) out += "\u2026";
}

void appendHitText(std::string& out, const Hit& hit, bool terminal) {
  appendEscaped(out, hit.label, TextForm::utf8);
  out += ':';
  if (hit.name == "path") {
    appendHighlighted(out, hit, terminal);
    out += '\n';
    return;
  }
  appendEscaped(out, hit.relativePath, TextForm::utf8);
  out += "  ";
  out += hit.name == "line" ? "line " + std::to_string(hit.lineNumber) : hit.name;
  out += ": ";
  appendHighlighted(out, hit, terminal);
  out += '\n';
}

nlohmann::ordered_json hitJson(const Hit& hit) {
  nlohmann::ordered_json object;
  object["volume"] = hit.label;
  object["path"] = hit.path;
  object["relative_path"] = hit.relativePath;
  object["field"] = hit.name;
  if (hit.name == "line") object["line"] = hit.lineNumber;
  object["text"] = hit.text;
  auto matches = nlohmann::ordered_json::array();
  for (const auto& [start, stop] : hit.spans) matches.push_back(hit.text.substr(start, stop - start));
  object["matches"] = std::move(matches);
  return object;
}

}  // namespace

int runSearch(const CommonOptions& common, const SearchOptions& options) {
  const auto catalog = openCatalogToRead(options.database, common.quiet);
  if (!catalog) return kSomeFilesFailed;

  std::vector<std::pair<int, std::int64_t>> ranked;
  try {
    sql::Statement query = catalog->db().prepare(kRankedHits);
    query.bind(1, options.query).bind(2, static_cast<std::int64_t>(options.limit) + 1);
    while (query.step()) ranked.emplace_back(static_cast<int>(query.integer(0)), query.integer(1));
  } catch (const sql::Error& error) {
    if ((error.code() & 0xFF) != SQLITE_ERROR) throw;
    std::cerr << "zavcat: the query is not understood: " << error.what()
              << "\nSee 'zavcat search --help' for the query syntax.\n";
    return kUsageError;
  }
  const bool more = ranked.size() > options.limit;
  if (more) ranked.pop_back();

  std::vector<sql::Statement> details;
  for (const char* sql : kHitDetails) details.push_back(catalog->db().prepare(sql));
  const bool terminal = options.format == OutputFormat::text && isatty(STDOUT_FILENO) != 0;
  Output output;
  for (const auto& [field, rowId] : ranked) {
    sql::Statement& detail = details[static_cast<std::size_t>(field)];
    detail.bind(1, options.query).bind(2, rowId);
    if (!detail.step()) {
      detail.reset();
      continue;
    }
    Hit hit{std::string(detail.text(0)), std::string(detail.text(1)), std::string(detail.text(2)),
            std::string(detail.text(3)), detail.integer(4), std::string(detail.text(5)), {}};
    hit.spans = parseSpans(detail.text(6), hit.text.size());
    detail.reset();
    if (options.format == OutputFormat::json) {
      output << hitJson(hit).dump() << "\n";
    } else {
      appendHitText(output.buffer(), hit, terminal);
    }
    output.written();
  }
  output.flush();
  if (more && !common.quiet) {
    std::cerr << "zavcat: more than " << options.limit << " matches; --limit N shows more\n";
  }
  if (!output.ok()) {
    std::cerr << "zavcat: cannot write the output\n";
    return kSomeFilesFailed;
  }
  return ranked.empty() ? kSomeFilesFailed : kSuccess;
}

}  // namespace zav::host
