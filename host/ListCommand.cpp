// zavcat list: the volumes of the catalog, or the files of one as a tree.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <iostream>

#include "Catalog.h"
#include "Commands.h"
#include "Output.h"
#include "PropertyKeys.h"
#include "TextEscape.h"

namespace zav::host {

namespace {

std::string localTime(std::int64_t seconds) {
  const std::time_t time = static_cast<std::time_t>(seconds);
  std::tm parts{};
  char text[32] = "";
  if (localtime_r(&time, &parts) != nullptr) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &parts);
  return text;
}

std::string sizeText(std::int64_t bytes) {
  if (bytes < 1024) return std::to_string(bytes) + " B";
  static constexpr const char* kUnits[] = {"KiB", "MiB", "GiB", "TiB"};
  double value = static_cast<double>(bytes);
  std::size_t unit = 0;
  for (value /= 1024; value >= 1024 && unit + 1 < std::size(kUnits); value /= 1024) ++unit;
  char text[32];
  std::snprintf(text, sizeof text, "%.1f %s", value, kUnits[unit]);
  return text;
}

std::string padded(std::string text, std::size_t width) {
  // Width in characters: UTF-8 continuation bytes take no column.
  std::size_t columns = 0;
  for (const char c : text) columns += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  if (columns < width) text.append(width - columns, ' ');
  return text;
}

void listVolumes(Catalog& catalog, Output& output) {
  struct Row {
    std::string label, files, skipped, scanned, root;
  };
  std::vector<Row> rows{{"LABEL", "FILES", "SKIPPED", "SCANNED", "ROOT"}};
  sql::Statement query = catalog.db().prepare(
      "SELECT label, file_count, skipped, scanned_at, roots FROM volumes WHERE state = 'live' "
      "ORDER BY label");
  while (query.step()) {
    std::string roots(query.text(4));
    std::replace(roots.begin(), roots.end(), '\n', ' ');
    rows.push_back({escaped(query.text(0), TextForm::utf8), std::to_string(query.integer(1)),
                    std::to_string(query.integer(2)), localTime(query.integer(3)),
                    escaped(roots, TextForm::utf8)});
  }
  std::size_t labelWidth = 0;
  for (const Row& row : rows) labelWidth = std::max(labelWidth, padded(row.label, 0).size());
  for (const Row& row : rows) {
    const std::string files(row.files.size() < 7 ? 7 - row.files.size() : 0, ' ');
    const std::string skipped(row.skipped.size() < 7 ? 7 - row.skipped.size() : 0, ' ');
    output << padded(row.label, labelWidth) << "  " << files << row.files << "  " << skipped
           << row.skipped << "  " << padded(row.scanned, 16) << "  " << row.root << "\n";
  }
}

// The files in walk order, each folder shown once before what it holds.
void listTree(Catalog& catalog, const std::string& label, Output& output) {
  sql::Statement query = catalog.db().prepare(
      "SELECT f.relative_path, f.size, f.status, f.plugin, "
      "(SELECT value FROM properties p WHERE p.file_id = f.id AND p.key = ?2 ORDER BY position LIMIT 1) "
      "FROM files f JOIN volumes v ON v.id = f.volume_id "
      "WHERE v.state = 'live' AND v.label = ?1 ORDER BY f.position");
  query.bind(1, label);
  query.bind(2, std::int64_t{keyNumber(PropertyKey::title)});
  std::vector<std::string> openFolders;
  while (query.step()) {
    const std::string path(query.text(0));
    std::vector<std::string> parts;
    for (std::size_t start = 0;;) {
      const std::size_t slash = path.find('/', start);
      parts.push_back(path.substr(start, slash == std::string::npos ? std::string::npos : slash - start));
      if (slash == std::string::npos) break;
      start = slash + 1;
    }
    std::size_t same = 0;
    while (same < openFolders.size() && same + 1 < parts.size() && openFolders[same] == parts[same]) ++same;
    openFolders.resize(same);
    for (; same + 1 < parts.size(); ++same) {
      output << std::string(2 * same, ' ') << escaped(parts[same], TextForm::utf8) << "/\n";
      openFolders.push_back(parts[same]);
    }
    output << std::string(2 * same, ' ') << escaped(parts.back(), TextForm::utf8) << "  ("
           << sizeText(query.integer(1)) << ", " << query.text(2);
    if (!query.isNull(3)) output << ", " << query.text(3);
    output << ")";
    if (!query.isNull(4)) output << "  " << escaped(query.text(4), TextForm::utf8);
    output << "\n";
    output.written();
  }
}

}  // namespace

// Opens the catalog for a reading command; says why not when it cannot.
std::unique_ptr<Catalog> openCatalogToRead(const std::optional<std::string>& option, bool quiet) {
  const std::string path = catalogPath(option);
  try {
    auto catalog = Catalog::openForReading(path);
    if (!catalog && !quiet) std::cerr << "zavcat: nothing has been scanned into " << path << " yet\n";
    return catalog;
  } catch (const std::exception& error) {
    std::cerr << "zavcat: cannot open the catalog " << path << ": " << error.what() << '\n';
    return nullptr;
  }
}

bool reportMissingVolume(Catalog& catalog, const std::optional<std::string>& label) {
  if (!label || catalog.hasVolume(*label)) return false;
  std::cerr << "zavcat: the catalog holds no volume labelled \"" << escaped(*label, TextForm::utf8)
            << "\"\n";
  return true;
}

ExitStatus runList(const CommonOptions& common, const ListOptions& options) {
  const auto catalog = openCatalogToRead(options.database, common.quiet);
  if (!catalog) return ExitStatus::someFailed;
  if (reportMissingVolume(*catalog, options.volume)) return ExitStatus::someFailed;
  Output output;
  if (options.volume) {
    listTree(*catalog, *options.volume, output);
  } else {
    listVolumes(*catalog, output);
  }
  output.flush();
  return output.ok() ? ExitStatus::ok : ExitStatus::someFailed;
}

}  // namespace zav::host
