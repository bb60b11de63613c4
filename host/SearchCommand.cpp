// zavcat search: the best matches of an FTS5 query over paths, property
// values and lines, with the matched words highlighted on a terminal.
#include <unistd.h>

#include <iostream>
#include <nlohmann/json.hpp>

#include "Catalog.h"
#include "Commands.h"
#include "Output.h"
#include "RecordFormat.h"
#include "TextEscape.h"

namespace zav::host {

namespace {

// The best files first (a match in a path or property outweighs one in the
// lines), ties by volume and path; their texts are fetched for those shown only.
constexpr const char* kRankedFiles = R"(
SELECT search_index.rowid FROM search_index
  JOIN files f ON f.id = search_index.rowid JOIN volumes v ON v.id = f.volume_id
  WHERE search_index MATCH ?1 AND v.state = 'live'
  ORDER BY bm25(search_index, 10.0, 1.0), v.label, f.relative_path, f.id LIMIT ?2)";

// Matches shown per file; the rest are counted.
constexpr std::size_t kMatchesPerFile = 5;

using Span = std::pair<std::size_t, std::size_t>;

// One matching piece of a file: its path, a property value or a line.
struct Match {
  std::string field;  // "path", "line" or the property's name
  std::int64_t lineNumber = 0;
  std::string text;
  std::vector<Span> spans;  // byte ranges of the matched words in `text`
};

struct Hit {
  std::string label;
  std::string relativePath;
  std::string path;
  std::vector<Match> matches;
  std::size_t moreMatches = 0;
};

// "column start end ..." from zav_spans, per column.
std::vector<std::vector<Span>> parseSpans(std::string_view text) {
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
  std::vector<std::vector<Span>> columns(2);
  for (std::size_t i = 0; i + 2 < numbers.size(); i += 3) {
    if (numbers[i] < columns.size() && numbers[i + 1] < numbers[i + 2]) {
      columns[numbers[i]].emplace_back(numbers[i + 1], numbers[i + 2]);
    }
  }
  return columns;
}

// A column holds its pieces joined by line feeds; each span goes to the
// piece it starts in, cut to that piece.
template <typename Piece>
void matchPieces(const std::vector<Span>& spans, const std::vector<Piece>& pieces,
                 std::vector<std::pair<std::size_t, Span>>& found) {
  std::size_t piece = 0;
  std::size_t offset = 0;
  for (const auto& [start, end] : spans) {
    while (piece < pieces.size() && start >= offset + pieces[piece].text.size() + 1) {
      offset += pieces[piece].text.size() + 1;
      ++piece;
    }
    if (piece == pieces.size() || start < offset) break;
    const std::size_t length = pieces[piece].text.size();
    if (start - offset >= length) continue;  // on the line feed itself
    found.push_back({piece, {start - offset, std::min(end - offset, length)}});
  }
}

struct Piece {
  std::string field;
  std::int64_t lineNumber = 0;
  std::string text;
};

class HitReader {
 public:
  HitReader(Catalog& catalog, const std::string& query)
      : spans_(catalog.db().prepare(
            "SELECT zav_spans(search_index) FROM search_index "
            "WHERE search_index MATCH ?1 AND rowid = ?2")),
        file_(catalog.db().prepare(
            "SELECT v.label, f.relative_path, f.path FROM files f "
            "JOIN volumes v ON v.id = f.volume_id WHERE f.id = ?1")),
        properties_(catalog.db().prepare(
            "SELECT name, value FROM properties WHERE file_id = ?1 ORDER BY position")),
        lines_(catalog.db().prepare(
            "SELECT number, text FROM lines WHERE file_id = ?1 ORDER BY number")),
        query_(query) {}

  Hit read(std::int64_t fileId) {
    Hit hit;
    spans_.bind(1, query_).bind(2, fileId);
    const auto columns = spans_.step() ? parseSpans(spans_.text(0)) : std::vector<std::vector<Span>>(2);
    spans_.reset();
    file_.bind(1, fileId);
    if (file_.step()) {
      hit.label = file_.text(0);
      hit.relativePath = file_.text(1);
      hit.path = file_.text(2);
    }
    file_.reset();

    std::vector<Piece> info{{"path", 0, hit.relativePath}};
    if (!columns[0].empty()) {
      properties_.bind(1, fileId);
      while (properties_.step()) info.push_back({std::string(properties_.text(0)), 0, std::string(properties_.text(1))});
      properties_.reset();
    }
    std::vector<Piece> lines;
    if (!columns[1].empty()) {
      lines_.bind(1, fileId);
      while (lines_.step()) lines.push_back({"line", lines_.integer(0), std::string(lines_.text(1))});
      lines_.reset();
    }
    add(hit, columns[0], info);
    add(hit, columns[1], lines);
    return hit;
  }

 private:
  static void add(Hit& hit, const std::vector<Span>& spans, const std::vector<Piece>& pieces) {
    std::vector<std::pair<std::size_t, Span>> found;
    matchPieces(spans, pieces, found);
    bool shown = false;
    for (std::size_t i = 0; i < found.size(); ++i) {
      const auto& [index, span] = found[i];
      if (i > 0 && found[i - 1].first == index) {
        if (shown) hit.matches.back().spans.push_back(span);
        continue;
      }
      shown = hit.matches.size() < kMatchesPerFile;
      if (!shown) {
        ++hit.moreMatches;
        continue;
      }
      const Piece& piece = pieces[index];
      hit.matches.push_back({piece.field, piece.lineNumber, piece.text, {span}});
    }
  }

  sql::Statement spans_;
  sql::Statement file_;
  sql::Statement properties_;
  sql::Statement lines_;
  const std::string& query_;
};

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// A long text is cut to a window around its first match.
constexpr std::size_t kWindow = 160;
constexpr std::size_t kLeadIn = 50;

void appendHighlighted(std::string& out, const Match& match, bool terminal) {
  const std::string& text = match.text;
  std::size_t begin = 0;
  std::size_t end = text.size();
  if (text.size() > kWindow && !match.spans.empty()) {
    begin = match.spans.front().first > kLeadIn ? match.spans.front().first - kLeadIn : 0;
    while (begin > 0 && isContinuationByte(text[begin])) --begin;
    end = std::max(std::min(text.size(), begin + kWindow), match.spans.front().second);
    while (end < text.size() && isContinuationByte(text[end])) ++end;
  }
  if (begin > 0) out += "\u2026";
  std::size_t at = begin;
  for (const auto& [start, stop] : match.spans) {
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

//   LABEL:PATH                 a match in the path, highlighted
//   LABEL:PATH  title: VALUE   a match in a property value
//   LABEL:PATH  line N: LINE   a match in a line
void appendHitText(std::string& out, const Hit& hit, bool terminal) {
  std::string where;
  appendEscaped(where, hit.label, TextForm::utf8);
  where += ':';
  for (const Match& match : hit.matches) {
    out += where;
    if (match.field == "path") {
      appendHighlighted(out, match, terminal);
      out += '\n';
      continue;
    }
    appendEscaped(out, hit.relativePath, TextForm::utf8);
    out += "  ";
    out += match.field == "line" ? "line " + std::to_string(match.lineNumber) : match.field;
    out += ": ";
    appendHighlighted(out, match, terminal);
    out += '\n';
  }
  if (hit.moreMatches > 0) {
    out += where;
    appendEscaped(out, hit.relativePath, TextForm::utf8);
    out += "  (" + std::to_string(hit.moreMatches) + " more matches)\n";
  }
}

nlohmann::ordered_json hitJson(const Hit& hit) {
  nlohmann::ordered_json object;
  object["volume"] = hit.label;
  object["path"] = hit.path;
  object["relative_path"] = hit.relativePath;
  auto matches = nlohmann::ordered_json::array();
  for (const Match& match : hit.matches) {
    nlohmann::ordered_json entry;
    entry["field"] = match.field;
    if (match.field == "line") entry["line"] = match.lineNumber;
    entry["text"] = match.text;
    auto words = nlohmann::ordered_json::array();
    for (const auto& [start, stop] : match.spans) words.push_back(match.text.substr(start, stop - start));
    entry["matched"] = std::move(words);
    matches.push_back(std::move(entry));
  }
  object["matches"] = std::move(matches);
  if (hit.moreMatches > 0) object["more_matches"] = hit.moreMatches;
  return object;
}

}  // namespace

ExitStatus runSearch(const CommonOptions& common, const SearchOptions& options) {
  const auto catalog = openCatalogToRead(options.database, common.quiet);
  if (!catalog) return ExitStatus::someFailed;

  std::vector<std::int64_t> ranked;
  try {
    sql::Statement query = catalog->db().prepare(kRankedFiles);
    query.bind(1, options.query).bind(2, static_cast<std::int64_t>(options.limit) + 1);
    while (query.step()) ranked.push_back(query.integer(0));
  } catch (const sql::Error& error) {
    if ((error.code() & 0xFF) != SQLITE_ERROR) throw;
    std::cerr << "zavcat: the query is not understood: " << error.what()
              << "\nSee 'zavcat search --help' for the query syntax.\n";
    return ExitStatus::usage;
  }
  const bool more = ranked.size() > options.limit;
  if (more) ranked.pop_back();

  HitReader reader(*catalog, options.query);
  const bool terminal = options.format == OutputFormat::text && isatty(STDOUT_FILENO) != 0;
  Output output;
  for (const std::int64_t fileId : ranked) {
    const Hit hit = reader.read(fileId);
    if (options.format == OutputFormat::json) {
      output << jsonLine(hitJson(hit));
    } else {
      appendHitText(output.buffer(), hit, terminal);
    }
    output.written();
  }
  output.flush();
  if (more && !common.quiet) {
    std::cerr << "zavcat: more than " << options.limit << " files match; --limit N shows more\n";
  }
  if (!output.ok()) {
    std::cerr << "zavcat: cannot write the output\n";
    return ExitStatus::someFailed;
  }
  return ranked.empty() ? ExitStatus::someFailed : ExitStatus::ok;
}

}  // namespace zav::host
