// The catalog database underneath the commands: the search index over
// unspaced scripts, the staging volumes and what dead scans leave behind.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "Catalog.h"
#include "PropertyKeys.h"
#include "TempFile.h"

namespace zav::host {
namespace {

FileRecord recordWithTitle(const std::string& relativePath, const std::string& title) {
  FileRecord record;
  record.path = {"/disc/" + relativePath, std::nullopt};
  record.relativePath = {relativePath, std::nullopt};
  record.plugin = "Audio";
  record.openResult = 1;
  record.properties.push_back({keyNumber(PropertyKey::title), "title", {"T", std::nullopt}, {title, std::nullopt}});
  record.lines.push_back({"second line of " + title, std::nullopt});
  return record;
}

void scanInto(Catalog& catalog, const std::string& label, const std::vector<FileRecord>& records) {
  VolumeWriter writer(catalog, label, "/disc");
  for (const FileRecord& record : records) writer.add(record);
  ASSERT_TRUE(writer.finish(/*replace=*/true, 0));
}

std::string firstColumn(Catalog& catalog, const std::string& sql, const std::string& parameter = {}) {
  sql::Statement query = catalog.db().prepare(sql);
  if (!parameter.empty()) query.bind(1, parameter);
  return query.step() ? std::string(query.text(0)) : "(none)";
}

std::string matches(Catalog& catalog, const std::string& query) {
  return firstColumn(catalog,
                     "SELECT coalesce(group_concat(f.relative_path, ' '), '(none)') FROM search_index "
                     "JOIN files f ON f.id = search_index.rowid WHERE search_index MATCH ?1",
                     query);
}

void expectIndexIntact(Catalog& catalog) {
  EXPECT_NO_THROW(catalog.db().execute(
      "INSERT INTO search_index (search_index, rank) VALUES ('integrity-check', 1)"));
}

const std::string kTokyo = "\xe6\x9d\xb1\xe4\xba\xac\xe9\x83\xbd\xe3\x81\xae\xe5\xa4\xa9\xe6\xb0\x97"
                           "\xe3\x81\xaf\xe6\x99\xb4\xe3\x82\x8c";  // 東京都の天気は晴れ

TEST(CatalogDatabase, FindsAnyTwoCharactersInsideUnspacedText) {
  test::TempFolder folder;
  auto catalog = Catalog::openForWriting(folder.path() + "/c.db");
  scanInto(*catalog, "v", {recordWithTitle("tokyo.mp3", "Weather: " + kTokyo + "!"),
                           recordWithTitle("other.mp3", "Caf\xC3\xA9 music")});
  const struct {
    std::string query;
    std::string found;
  } cases[] = {
      {"\xe5\xa4\xa9\xe6\xb0\x97", "tokyo.mp3"},                 // 天気
      {"\xe6\x9d\xb1\xe4\xba\xac\xe9\x83\xbd", "tokyo.mp3"},     // 東京都
      {"\xe6\x99\xb4\xe3\x82\x8c", "tokyo.mp3"},                 // 晴れ, at the end
      {"\xe5\xa4\xa9", "(none)"},                                // 天 alone: no pair
      {"\xe5\xa4\xa9*", "tokyo.mp3"},                            // but a prefix of pairs
      {"\xe4\xba\xac\xe5\xa4\xa9", "(none)"},                    // 京天 is not in it
      {"weather", "tokyo.mp3"},
      {"cafe", "other.mp3"},                                     // accents folded
      {"music", "other.mp3"},
      {"text: music", "other.mp3"},
      {"info: second", "(none)"},
  };
  for (const auto& [query, found] : cases) EXPECT_EQ(matches(*catalog, query), found) << query;
  // 天気 lies after "tokyo.mp3\nWeather: 東京都の" in the info column (0) and
  // after "second line of Weather: 東京都の" in the text column (1).
  const std::size_t start = std::string("tokyo.mp3\nWeather: ").size() + 12;
  const std::size_t lineStart = std::string("second line of Weather: ").size() + 12;
  EXPECT_EQ(firstColumn(*catalog,
                        "SELECT zav_spans(search_index) FROM search_index WHERE search_index MATCH ?1",
                        "\xe5\xa4\xa9\xe6\xb0\x97"),
            "0 " + std::to_string(start) + " " + std::to_string(start + 6) + " 1 " +
                std::to_string(lineStart) + " " + std::to_string(lineStart + 6));
}

TEST(CatalogDatabase, KeepsAStagingVolumeOutOfSightAndReplacesInOneStep) {
  test::TempFolder folder;
  auto catalog = Catalog::openForWriting(folder.path() + "/c.db");
  scanInto(*catalog, "v", {recordWithTitle("old.mp3", "elderberry")});
  {
    VolumeWriter writer(*catalog, "v", "/disc");
    writer.add(recordWithTitle("new.mp3", "gooseberry"));
    EXPECT_EQ(firstColumn(*catalog, "SELECT group_concat(label || ':' || state) FROM volumes"),
              "v:live,v:staging");
    EXPECT_FALSE(writer.finish(/*replace=*/false, 0));  // a defaulted label never replaces
  }
  EXPECT_EQ(firstColumn(*catalog, "SELECT count(*) FROM volumes"), "1");
  scanInto(*catalog, "v", {recordWithTitle("new.mp3", "gooseberry")});
  EXPECT_EQ(matches(*catalog, "elderberry"), "(none)");
  EXPECT_EQ(matches(*catalog, "gooseberry"), "new.mp3");
  expectIndexIntact(*catalog);
}

TEST(CatalogDatabase, RemovesWhatAScanThatDiedLeftBehind) {
  test::TempFolder folder;
  const std::string path = folder.path() + "/c.db";
  {
    auto catalog = Catalog::openForWriting(path);
    scanInto(*catalog, "kept", {recordWithTitle("kept.mp3", "quince")});
    // A staging volume whose scanner is gone: the pid of a child that has exited.
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    scanInto(*catalog, "dead", {recordWithTitle("lost.mp3", "medlar")});
    catalog->db().execute("UPDATE volumes SET state = 'staging', owner_pid = " +
                          std::to_string(child) + " WHERE label = 'dead'");
  }
  auto reopened = Catalog::openForWriting(path);
  EXPECT_EQ(firstColumn(*reopened, "SELECT group_concat(label) FROM volumes"), "kept");
  EXPECT_EQ(firstColumn(*reopened, "SELECT count(*) FROM files"), "1");
  EXPECT_EQ(matches(*reopened, "medlar"), "(none)");
  expectIndexIntact(*reopened);
}

}  // namespace
}  // namespace zav::host
