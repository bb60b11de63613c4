// zavcat scan, search, list and export as their users run them: a disc
// made in the test, scanned into a catalog in a temporary folder.
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/mount.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Id3Bytes.h"
#include "RiffBytes.h"
#include "TempFile.h"
#include "ZavcatProcess.h"

namespace zav::test {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;
using Lines = std::vector<std::string>;

const char* const kTokyoWeather = "\xe6\x9d\xb1\xe4\xba\xac\xe9\x83\xbd\xe3\x81\xae\xe5\xa4\xa9"
                                  "\xe6\xb0\x97\xe3\x81\xaf\xe6\x99\xb4\xe3\x82\x8c";  // 東京都の天気は晴れ

// One file of each kind the catalog keeps.
void writeDisc(const TempFolder& disc) {
  Id3v1Fields japanese;
  japanese.title = "\x93\x8c\x8b\x9e\x93\x73\x82\xcc\x93\x56\x8b\x43\x82\xcd\x90\xb0\x82\xea";
  disc.write("music/tokyo.mp3", id3v1Tag(japanese));
  disc.write("music/night.mp3", id3v2Tag(id3v2Text("TIT2", "Nocturne for Lanterns"), {.padding = 16}));
  const Bytes info = riffList("INFO", riffChunk("IART", bytes("Quillfeather Ensemble")));
  disc.write("sounds/bell.wav", riffForm("WAVE", waveFormat() + riffChunk("data", Bytes(8, 0x80)) + info));
  disc.write("video/clip.avi", riffForm("AVI ", info));
  disc.write("letter.rtf", bytes("{\\rtf1\\ansi Dear reader,\\par the marmalade is ready.\\par}"));
  disc.write("README.txt", bytes("not for any plug-in"));
}

struct Catalog {
  TempFolder folder;
  std::string db = folder.path() + "/catalog.db";

  ZavcatRun run(Lines arguments) const {
    arguments.insert(arguments.begin() + 1, {"--db", db});
    return runZavcat(arguments);
  }
  std::vector<Json> exported(const std::string& volume = {}) const {
    Lines arguments{"export", "--format", "json"};
    if (!volume.empty()) arguments.insert(arguments.end(), {"--volume", volume});
    std::vector<Json> records;
    std::istringstream lines(run(arguments).out);
    for (std::string line; std::getline(lines, line);) records.push_back(Json::parse(line));
    return records;
  }
  std::int64_t count(const std::string& sql) const {
    sqlite3* handle = nullptr;
    std::int64_t result = -1;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_open_v2(db.c_str(), &handle, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(handle, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
      result = sqlite3_column_int64(statement, 0);
    }
    sqlite3_finalize(statement);
    sqlite3_close(handle);
    return result;
  }
};

std::map<std::string, Json> byRelativePath(const std::vector<Json>& records) {
  std::map<std::string, Json> map;
  for (const Json& record : records) map[record["relative_path"]] = record;
  return map;
}

std::string property(const Json& record, const std::string& name) {
  for (const Json& entry : record["properties"]) {
    if (entry["name"] == name) return entry["value"];
  }
  return {};
}

std::string mtimeOf(const Catalog& catalog, std::size_t index) {
  return catalog.exported().at(index)["mtime"];
}

// A plug-in folder with the echo module only.
struct EchoPlugins {
  TempFolder folder;
  EchoPlugins() { fs::copy_file(ZAV_ECHO_MODULE, folder.path() + "/echo.so"); }
};

TEST(Catalog, ScansEveryFileOfADiscAndFindsItsWords) {
  TempFolder disc;
  writeDisc(disc);
  const Catalog catalog;
  const ZavcatRun scan = catalog.run({"scan", "--label", "Disc", "--summary", disc.path()});
  EXPECT_EQ(scan.err, "zavcat: 6 files: 5 ok, 0 no metadata, 1 unclaimed, 0 unreadable, 0 failed; 0 skipped\n");
  ASSERT_EQ(scan.exitStatus, 0);

  const auto records = byRelativePath(catalog.exported());
  ASSERT_EQ(records.size(), 6u);
  EXPECT_EQ(records.at("README.txt")["status"], "unclaimed");
  EXPECT_EQ(records.at("README.txt")["size"], 19);
  EXPECT_EQ(records.at("letter.rtf")["plugin"], "RTF-P");
  EXPECT_EQ(records.at("letter.rtf")["lines"], (Json{"Dear reader,", "the marmalade is ready."}));
  EXPECT_EQ(property(records.at("music/night.mp3"), "title"), "Nocturne for Lanterns");
  EXPECT_EQ(property(records.at("music/tokyo.mp3"), "title"), kTokyoWeather);
  EXPECT_EQ(property(records.at("sounds/bell.wav"), "author"), "Quillfeather Ensemble");
  EXPECT_EQ(property(records.at("video/clip.avi"), "author"), "Quillfeather Ensemble");
  EXPECT_EQ(records.at("music/tokyo.mp3")["properties"][0]["raw"],
            "938c8b9e937382cc93568b4382cd90b082ea");  // the Shift-JIS bytes, kept

  const struct {
    const char* query;
    std::string found;
  } searches[] = {
      {"lanterns", "Disc:music/night.mp3  title: Nocturne for Lanterns\n"},
      {"quillfeather NOT clip", "Disc:sounds/bell.wav  author: Quillfeather Ensemble\n"},
      {"marmalade", "Disc:letter.rtf  line 2: the marmalade is ready.\n"},
      {"\xe5\xa4\xa9\xe6\xb0\x97", "Disc:music/tokyo.mp3  title: " + std::string(kTokyoWeather) + "\n"},  // 天気
      {"\xe4\xba\xac\xe9\x83\xbd", "Disc:music/tokyo.mp3  title: " + std::string(kTokyoWeather) + "\n"},  // 京都
  };
  for (const auto& [query, found] : searches) {
    const ZavcatRun search = catalog.run({"search", query});
    EXPECT_EQ(search.out, found) << query;
    EXPECT_EQ(search.exitStatus, 0) << query;
  }
  EXPECT_EQ(catalog.run({"search", "absent"}).exitStatus, 1);
  EXPECT_EQ(catalog.run({"search", "title:"}).exitStatus, 2);

  const ZavcatRun list = catalog.run({"list", "--volume", "Disc"});
  EXPECT_NE(list.out.find("music/\n  night.mp3  ("), std::string::npos) << list.out;
}

TEST(Catalog, ReplacesAVolumeOnlyUnderALabelGivenOutright) {
  TempFolder disc;
  disc.write("a.rtf", bytes("{\\rtf1 first}"));
  const Catalog catalog;
  ASSERT_EQ(catalog.run({"scan", disc.path()}).exitStatus, 0);
  const std::string label = fs::path(disc.path()).filename().string();

  disc.write("b.rtf", bytes("{\\rtf1 second}"));
  const ZavcatRun defaulted = catalog.run({"scan", disc.path()});
  EXPECT_EQ(defaulted.exitStatus, 2);
  EXPECT_NE(defaulted.err.find("--label \"" + label + "\""), std::string::npos) << defaulted.err;
  EXPECT_EQ(catalog.exported().size(), 1u);

  ASSERT_EQ(catalog.run({"scan", "--label", label, disc.path()}).exitStatus, 0);
  ASSERT_EQ(catalog.run({"scan", "--label", "copy", disc.path()}).exitStatus, 0);
  EXPECT_EQ(catalog.exported(label).size(), 2u);
  EXPECT_EQ(catalog.exported().size(), 4u);
  EXPECT_EQ(catalog.run({"search", "first"}).out, "copy:a.rtf  line 1: first\n" + label + ":a.rtf  line 1: first\n");
  const ZavcatRun volumes = catalog.run({"list"});
  EXPECT_NE(volumes.out.find(label + "        2"), std::string::npos) << volumes.out;
}

TEST(Catalog, RecordsWhatCrashesOrHangsAWorkerAndGoesOn) {
  const EchoPlugins plugins;
  TempFolder disc;
  for (const char* name : {"a.echo", "c.echo", "e.echo", "g.echo"}) disc.write(name, bytes(name));
  disc.write("b.echo", bytes("#crash"));
  disc.write("d.echo", bytes("#hang"));
  const Catalog catalog;
  const ZavcatRun scan = catalog.run({"scan", "--plugins", plugins.folder.path(), "-j", "2",
                                      "--file-timeout", "1", disc.path()});
  EXPECT_EQ(scan.exitStatus, 1);
  EXPECT_NE(scan.err.find("b.echo: crashed (signal 6"), std::string::npos) << scan.err;
  Lines statuses;
  for (const Json& record : catalog.exported()) {
    statuses.push_back(record["relative_path"].get<std::string>() + " " + record["status"].get<std::string>() +
                       (record.contains("reason") ? " " + record["reason"].get<std::string>() : ""));
  }
  EXPECT_EQ(statuses, (Lines{"a.echo ok", "b.echo failed crashed (signal 6, Aborted)", "c.echo ok",
                             "d.echo failed timed out after 1 s", "e.echo ok", "g.echo ok"}));
}

TEST(Catalog, GivesTheSameRecordsInTheSameOrderWhateverTheWorkers) {
  TempFolder disc;
  for (int i = 0; i < 60; ++i) disc.write("f" + std::to_string(i % 7) + "/" + std::to_string(i) + ".rtf", bytes("{\\rtf1 n" + std::to_string(i) + "}"));
  const Catalog one;
  const Catalog three;
  ASSERT_EQ(one.run({"scan", "--label", "d", "-j", "1", disc.path()}).exitStatus, 0);
  ASSERT_EQ(three.run({"scan", "--label", "d", "-j", "3", disc.path()}).exitStatus, 0);
  EXPECT_EQ(one.run({"export", "--format", "csv"}).out, three.run({"export", "--format", "csv"}).out);
  EXPECT_EQ(one.count("SELECT group_concat(id) FROM files"), three.count("SELECT group_concat(id) FROM files"));
}

TEST(Catalog, AScanKilledMidwayLeavesTheCatalogAsItWas) {
  const EchoPlugins plugins;
  TempFolder before;
  before.write("kept.echo", bytes("kept"));
  TempFolder disc;
  disc.write("a.echo", bytes("staged words"));
  disc.write("b.echo", bytes("#hang"));
  const Catalog catalog;
  ASSERT_EQ(catalog.run({"scan", "--plugins", plugins.folder.path(), "--label", "v", before.path()}).exitStatus, 0);

  RunningZavcat scan(ZavcatCall{{"scan", "--db", catalog.db, "--plugins", plugins.folder.path(),
                                 "--label", "v", "--file-timeout", "60", disc.path()}, {}, {}, false});
  const std::string staged =
      "SELECT count(*) FROM files JOIN volumes ON volumes.id = files.volume_id WHERE state = 'staging'";
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (catalog.count(staged) < 1 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_EQ(catalog.count(staged), 1) << "the scan wrote no staging rows";
  kill(scan.pid(), SIGKILL);
  EXPECT_EQ(scan.wait().exitStatus, -1);

  const auto records = catalog.exported();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0]["relative_path"], "kept.echo");
  EXPECT_EQ(catalog.run({"search", "staged"}).exitStatus, 1);
  // The next writer clears what the dead scan left.
  ASSERT_EQ(catalog.run({"scan", "--plugins", plugins.folder.path(), "--label", "w", before.path()}).exitStatus, 0);
  EXPECT_EQ(catalog.count("SELECT count(*) FROM volumes WHERE state = 'staging'"), 0);
  EXPECT_EQ(catalog.count("SELECT count(*) FROM files"), 2);
}

// A disc whose lines take a catalog well past 512 KiB.
void writeWordyDisc(const TempFolder& disc) {
  for (int file = 0; file < 12; ++file) {
    std::string rtf = "{\\rtf1\\ansi ";
    for (int line = 0; line < 1500; ++line) {
      rtf += "word" + std::to_string(file) + "x" + std::to_string(line) + " marmalade lantern\\par ";
    }
    disc.write("text" + std::to_string(file) + ".rtf", bytes(rtf + "}"));
  }
}

// A tmpfs of `size` bytes on `folder`, mounted in a mount namespace of this
// process's own, so that nothing outside sees it; unmounted on destruction.
class SmallDisk {
 public:
  SmallDisk(const std::string& folder, std::size_t size) : folder_(folder) {
    mounted_ = unshare(CLONE_NEWNS) == 0 &&
               mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
               mount("tmpfs", folder.c_str(), "tmpfs", 0, ("size=" + std::to_string(size)).c_str()) == 0;
  }
  ~SmallDisk() {
    if (mounted_) umount2(folder_.c_str(), MNT_DETACH);
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;
  bool mounted() const { return mounted_; }

 private:
  std::string folder_;
  bool mounted_ = false;
};

// A scan that cannot write its catalog exits 3, says which catalog and why,
// and leaves the catalog as it was.
void expectCatalogKept(const Catalog& catalog, ZavcatCall call, const std::string& reason) {
  const std::vector<Json> before = catalog.exported();
  const ZavcatRun scan = runZavcat(call);
  EXPECT_EQ(scan.exitStatus, 3) << scan.err;
  EXPECT_NE(scan.err.find("zavcat: cannot write the catalog " + catalog.db + ": " + reason +
                          "; the catalog is left as it was, with nothing of this scan\n"),
            std::string::npos)
      << scan.err;
  EXPECT_EQ(catalog.exported(), before);
}

TEST(Catalog, AScanThatCannotWriteTheCatalogExitsThreeAndKeepsIt) {
  TempFolder disc;
  writeDisc(disc);
  TempFolder wordy;
  writeWordyDisc(wordy);
  const Lines scanWordy = {"scan", "--db", "", "--label", "wordy", "--quiet", wordy.path()};
  const auto callFor = [&](const Catalog& catalog) {
    Lines arguments = scanWordy;
    arguments[2] = catalog.db;
    return ZavcatCall{arguments, {}, {}, false};
  };
  {
    SCOPED_TRACE("a file-size limit");
    const Catalog catalog;
    ASSERT_EQ(catalog.run({"scan", "--label", "first", disc.path()}).exitStatus, 0);
    ZavcatCall call = callFor(catalog);
    call.fileSizeLimit = fs::file_size(catalog.db) + (64 << 10);
    expectCatalogKept(catalog, call, "a file of it reached this process's file-size limit (ulimit -f)");
  }
  {
    SCOPED_TRACE("no catalog");
    const Catalog catalog;
    const std::string text(4096, 'x');
    catalog.folder.write("catalog.db", bytes(text));
    expectCatalogKept(catalog, callFor(catalog), "it is not a catalog (the file is no SQLite database)");
    EXPECT_EQ(fs::file_size(catalog.db), text.size());
  }
  {
    SCOPED_TRACE("a full disk");
    const Catalog catalog;
    const SmallDisk disk(catalog.folder.path(), 512 << 10);
    if (!disk.mounted()) GTEST_SKIP() << "no tmpfs can be mounted here, so no full disk is tried";
    ASSERT_EQ(catalog.run({"scan", "--label", "first", disc.path()}).exitStatus, 0);
    expectCatalogKept(catalog, callFor(catalog), "the disk is full");
  }
}

TEST(Catalog, ExportsCsvThatSpreadsheetsReadBack) {
  const EchoPlugins plugins;
  TempFolder disc;
  disc.write("a,\"b\"\n.echo", bytes("x"));  // the echo plug-in's "category" is the path
  disc.write("plain.echo", bytes("yy"));
  const Catalog catalog;
  ASSERT_EQ(catalog.run({"scan", "--plugins", plugins.folder.path(), "--label", "d", disc.path()}).exitStatus, 0);
  const std::string quoted = "\"" + disc.path() + "/a,\"\"b\"\"\n.echo\"";
  EXPECT_EQ(catalog.run({"export", "--format", "csv"}).out,
            "volume,path,relative_path,size,mtime,plugin,open,status,reason,title,category\r\n"
            "d," + quoted + ",\"a,\"\"b\"\"\n.echo\",1," + mtimeOf(catalog, 0) + ",Echo,1,ok,,1," + quoted + "\r\n"
            "d," + disc.path() + "/plain.echo,plain.echo,2," + mtimeOf(catalog, 1) + ",Echo,1,ok,,2," +
                disc.path() + "/plain.echo\r\n");
}

}  // namespace
}  // namespace zav::test
