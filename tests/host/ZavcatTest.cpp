// zavcat show as its users run it: a program given files, folders and
// options. Most fixture files are empty, so the real plug-ins report nothing
// but their open result (audio 0, RTF 1) and the host's own decisions show
// plainly.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "Id3Bytes.h"
#include "TempFile.h"
#include "ZavcatProcess.h"

namespace zav::test {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;
using Lines = std::vector<std::string>;

std::string rtf(const std::string& path) { return path + ": RTF-P open=1"; }
std::string audio(const std::string& path) { return path + ": Audio open=0"; }
std::string unclaimed(const std::string& path) { return path + ": unclaimed"; }

Lines outputLines(const std::string& out) {
  Lines lines;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// A plug-in folder holding copies of the given modules under the given names.
std::string pluginFolder(const TempFolder& folder,
                         const std::vector<std::pair<std::string, std::string>>& modules) {
  for (const auto& [source, name] : modules) fs::copy_file(source, folder.path() + "/" + name);
  return folder.path();
}

TEST(Zavcat, WalksFoldersRecursivelyInByteOrderOfNames) {
  TempFolder disc;
  for (const char* name : {"b.rtf", "B.rtf", "a.rtf", "a/z.rtf", "0.wav", "sub/deeper/c.mp3",
                           "sub/README.txt", "\xC3\xA9.rtf"}) {
    disc.write(name, {});
  }
  const std::string d = disc.path() + "/";
  const ZavcatRun run = runZavcat({disc.path()});
  EXPECT_EQ(run.out, audio(d + "0.wav") + "\n" + rtf(d + "B.rtf") + "\n" + rtf(d + "a/z.rtf") +
                         "\n" + rtf(d + "a.rtf") + "\n" + rtf(d + "b.rtf") + "\n" +
                         unclaimed(d + "sub/README.txt") + "\n" + audio(d + "sub/deeper/c.mp3") +
                         "\n" + rtf(d + "\xC3\xA9.rtf") + "\n");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.exitStatus, 0);
}

TEST(Zavcat, FollowsLinksToFilesButCountsWhatAWalkSkips) {
  TempFolder disc;
  disc.write("real/x.rtf", {});
  fs::create_directory_symlink("real", disc.path() + "/link");
  fs::create_symlink("real/x.rtf", disc.path() + "/linked.rtf");
  fs::create_symlink("nowhere.rtf", disc.path() + "/dangling.rtf");
  ASSERT_EQ(mkfifo((disc.path() + "/pipe.rtf").c_str(), 0600), 0);
  const std::string d = disc.path() + "/";

  const ZavcatRun walk = runZavcat({"--summary", disc.path()});
  EXPECT_EQ(headerLines(walk.out), (Lines{rtf(d + "linked.rtf"), rtf(d + "real/x.rtf")}));
  EXPECT_EQ(walk.err,
            "zavcat: 2 files: 0 ok, 2 no metadata, 0 unclaimed, 0 unreadable, 0 failed; "
            "3 skipped (1 dangling link, 1 link to a folder, 1 FIFO)\n");
  EXPECT_EQ(walk.exitStatus, 0);

  // A link named on the command line is the user's choice and is walked.
  const ZavcatRun named = runZavcat({d + "link"});
  EXPECT_EQ(headerLines(named.out), (Lines{rtf(d + "link/x.rtf")}));
}

TEST(Zavcat, RecordsUnclaimedFilesInAWalkAsWellAsNamed) {
  TempFolder disc;
  const std::string readme = disc.write("README.txt", {});
  const std::string noSuffix = disc.write("notes", {});
  const std::string document = disc.write("a.rtf", {});
  const ZavcatRun run = runZavcat({disc.path(), readme});
  EXPECT_EQ(headerLines(run.out),
            (Lines{unclaimed(readme), rtf(document), unclaimed(noSuffix), unclaimed(readme)}));
  EXPECT_EQ(run.exitStatus, 0);
}

TEST(Zavcat, RecordsAFileItMayNotReadAsUnreadable) {
  TempFolder disc;
  const std::string locked = disc.write("locked.echo", bytes("secret"));
  const std::string open = disc.write("open.echo", bytes("public"));
  TempFolder plugins;
  pluginFolder(plugins, {{ZAV_ECHO_MODULE, "echo.so"}});
  for (const std::string& path : {disc.path(), open, plugins.path(), plugins.path() + "/echo.so"}) {
    fs::permissions(path, fs::perms::all);  // for the other user
  }
  fs::permissions(locked, fs::perms::none);

  const ZavcatRun run = runZavcat(ZavcatCall{
      {"--plugins", plugins.path(), "--format", "json", disc.path()}, {}, {}, /*asOtherUser=*/true});
  if (run.exitStatus == 127 && run.err.empty()) GTEST_SKIP() << "cannot run zavcat as another user";
  EXPECT_EQ(run.err, "zavcat: " + locked + ": Permission denied\n");
  EXPECT_EQ(run.exitStatus, 1);
  const Lines records = outputLines(run.out);
  ASSERT_EQ(records.size(), 2u) << run.out;
  const Json refused = Json::parse(records[0]);
  EXPECT_EQ(refused["status"], "unreadable");
  EXPECT_EQ(refused["reason"], "Permission denied");
  EXPECT_EQ(refused["plugin"], nullptr);
  EXPECT_EQ(Json::parse(records[1])["status"], "ok");
}

TEST(Zavcat, ReportsAMissingPathAndStillDoesTheOthers) {
  TempFolder disc;
  const std::string document = disc.write("a.rtf", {});
  const std::string missing = disc.path() + "/missing.rtf";
  const ZavcatRun run = runZavcat({missing, document, disc.path() + "/gone"});
  EXPECT_EQ(headerLines(run.out), (Lines{rtf(document)}));
  EXPECT_NE(run.err.find("zavcat: " + missing + ": No such file or directory\n"), std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find(disc.path() + "/gone"), std::string::npos) << run.err;
  EXPECT_EQ(run.exitStatus, 1);
}

TEST(Zavcat, ClaimsByTheUpperCasedTextAfterTheLastDotOfTheName) {
  struct Case {
    const char* name;
    const char* claimant;  // null: unclaimed
  };
  const Case cases[] = {
      {".rtf", "RTF-P"},        {"x.Rtf", "RTF-P"},         {"X.MP3", "Audio"},
      {"y.mP3", "Audio"},       {"x.tar.rtf", "RTF-P"},     {"clip.avi", "Audio"},
      {"x.rtf.bak", nullptr},   {"rtf", nullptr},           {"x.", nullptr},
      {"dot.rtf/plain", nullptr},
  };
  TempFolder disc;
  std::vector<std::string> paths;
  Lines expected;
  for (const Case& c : cases) {
    paths.push_back(disc.write(c.name, {}));
    expected.push_back(c.claimant == nullptr ? unclaimed(paths.back())
                                             : paths.back() + ": " + c.claimant +
                                                   (c.claimant[0] == 'R' ? " open=1" : " open=0"));
  }
  EXPECT_EQ(headerLines(runZavcat(paths).out), expected);
}

TEST(Zavcat, LoadsThePluginsFromTheFolderGivenWithPlugins) {
  TempFolder plugins;
  pluginFolder(plugins, {{ZAV_RTF_MODULE, "zavrtfp.so"}});
  TempFolder disc;
  const std::string song = disc.write("a.mp3", {});
  const std::string document = disc.write("a.rtf", {});
  for (const Lines& options :
       {Lines{"--plugins", plugins.path()}, Lines{"--plugins=" + plugins.path()}}) {
    Lines arguments = options;
    arguments.insert(arguments.end(), {song, document});
    const ZavcatRun run = runZavcat(arguments);
    EXPECT_EQ(headerLines(run.out), (Lines{unclaimed(song), rtf(document)}));
    EXPECT_EQ(run.exitStatus, 0);
  }
}

TEST(Zavcat, FailsWhenNoPluginCanBeLoaded) {
  TempFolder plugins;
  TempFolder disc;
  const ZavcatRun run = runZavcat({"--plugins", plugins.path(), disc.write("a.rtf", {})});
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("no plug-in could be loaded"), std::string::npos) << run.err;
  EXPECT_EQ(run.exitStatus, 2);
}

TEST(Zavcat, ReportsModulesThatAreNotPluginsAndUsesTheOthers) {
  TempFolder plugins;
  pluginFolder(plugins, {{ZAV_PARTIAL_MODULE, "aaa-partial.so"}, {ZAV_RTF_MODULE, "zavrtfp.so"}});
  plugins.write("aaa-broken.so", bytes("\x7f" "ELF but nothing else"));
  plugins.write("notes.txt", bytes("not a module, not even tried"));
  fs::create_directory(plugins.path() + "/folder.so");
  TempFolder disc;
  const std::string document = disc.write("a.rtf", {});

  const ZavcatRun run = runZavcat({"--plugins", plugins.path(), document});
  EXPECT_EQ(headerLines(run.out), (Lines{rtf(document)}));
  EXPECT_NE(run.err.find("aaa-broken.so"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("aaa-partial.so: not a plug-in: it lacks ZAVgetSupportType"),
            std::string::npos)
      << run.err;
  EXPECT_EQ(run.err.find("notes.txt"), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find("folder.so"), std::string::npos) << run.err;
  EXPECT_EQ(run.exitStatus, 0);
}

TEST(Zavcat, AsksThePluginsInTheByteOrderOfTheirFileNames) {
  TempFolder disc;
  const std::string song = disc.write("a.mp3", {});
  for (const auto& [echoName, claimant] :
       {std::pair{"aaa-echo.so", "Echo"}, {"zzz-echo.so", "Audio"}}) {
    TempFolder plugins;
    pluginFolder(plugins, {{ZAV_ECHO_MODULE, echoName}, {ZAV_AUDIO_MODULE, "zavaudio.so"}});
    const ZavcatRun run = runZavcat({"--plugins", plugins.path(), song});
    ASSERT_EQ(headerLines(run.out).size(), 1u) << run.out;
    EXPECT_TRUE(headerLines(run.out)[0].starts_with(song + ": " + claimant + " open=")) << run.out;
  }
}

TEST(Zavcat, PrintsLinesWithoutTheirLineFeedsAndTheNonEmptyProperties) {
  TempFolder plugins;
  pluginFolder(plugins, {{ZAV_ECHO_MODULE, "echo.so"}});
  TempFolder disc;
  const std::string open = disc.write("open.echo", bytes("first\n\tsecond\n\nlast \xE3\x81\x82"));
  const std::string closed = disc.write("closed.echo", bytes("only\n"));
  const std::string empty = disc.write("empty.echo", {});

  const ZavcatRun run = runZavcat({"--plugins", plugins.path(), open, closed, empty});
  EXPECT_EQ(run.out, open + ": Echo open=1\n"
                         "  | first\n"
                         "  | \tsecond\n"
                         "  | \n"
                         "  | last \xE3\x81\x82\n"
                         "  Size: 23\n"
                         "  Path: " + open + "\n" +
                     closed + ": Echo open=1\n"
                         "  | only\n"
                         "  Size: 5\n"
                         "  Path: " + closed + "\n" +
                     empty + ": Echo open=1\n"
                         "  Size: 0\n"
                         "  Path: " + empty + "\n");
  EXPECT_EQ(run.exitStatus, 0);
}

TEST(Zavcat, KeepsEveryFileInOneRecordWhateverItsTextsHold) {
  TempFolder plugins;
  pluginFolder(plugins, {{ZAV_ECHO_MODULE, "echo.so"}});
  TempFolder disc;
  // The echo plug-in serves the path as a value and the bytes as lines.
  const std::string content = "x\x1b]0;t\x07\\y\r\n";
  const std::string hostile = disc.write("a\nb\\c\x1b[31md.echo", bytes(content));
  const std::string escapedPath = disc.path() + "/a\\nb\\\\c\\x1b[31md.echo";
  const ZavcatRun run = runZavcat({"--plugins", plugins.path(), hostile});
  EXPECT_EQ(run.out, escapedPath + ": Echo open=1\n"
                     "  | x\\x1b]0;t\\x07\\\\y\\r\n"
                     "  Size: " + std::to_string(content.size()) + "\n"
                     "  Path: " + escapedPath + "\n");
}

TEST(Zavcat, JsonHoldsUtf8TextsWithTheOriginalBytesBeside) {
  TempFolder disc;
  Id3v1Fields fields;
  fields.title = "\x93\xfa\x96\x7b\x8c\xea";  // 日本語 in Shift-JIS
  fields.artist = "Bj\xF6rk";                 // Windows-1252
  fields.album = "Caf\xC3\xA9";               // UTF-8 already
  fields.comment = "odd \x81";                // no rule decodes 0x81 here
  const std::string song = disc.write("song.mp3", id3v1Tag(fields));

  const ZavcatRun run = runZavcat({"--format", "json", song});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  const Json record = Json::parse(run.out);
  std::map<std::string, Json> properties;
  for (const Json& property : record["properties"]) properties[property["name"]] = property;
  EXPECT_EQ(properties["title"]["value"], "\u65e5\u672c\u8a9e");
  EXPECT_EQ(properties["title"]["raw"], "93fa967b8cea");
  EXPECT_EQ(properties["author"]["value"], "Bj\u00f6rk");
  EXPECT_EQ(properties["author"]["raw"], "426af6726b");
  EXPECT_EQ(properties["subject"]["value"], "Caf\u00e9");
  EXPECT_FALSE(properties["subject"].contains("raw"));
  EXPECT_EQ(properties["comment"]["value"], "odd \ufffd");
  EXPECT_EQ(properties["comment"]["raw"], "6f64642081");
  EXPECT_EQ(record["relative_path"], "song.mp3");
  EXPECT_EQ(record["status"], "ok");
  EXPECT_EQ(record["size"], 128);

  // Forced, the legacy encoding decides alone; --raw keeps the bytes.
  const ZavcatRun forced = runZavcat({"--format", "json", "--legacy-encoding", "cp1252", song});
  const Json forcedRecord = Json::parse(forced.out);
  for (const Json& property : forcedRecord["properties"]) {
    if (property["name"] == "title") {
      EXPECT_EQ(property["value"], "\u201c\u00fa\u2013{\u0152\u00ea");
    }
  }
  const ZavcatRun raw = runZavcat({"--raw", song});
  EXPECT_NE(raw.out.find(": Bj\xF6rk\n"), std::string::npos) << raw.out;

  // Under a Shift-JIS locale the plug-ins hand over Shift-JIS titles, which
  // show converts, and --raw passes on.
  const std::string title = "\xef\xbe\x80\xef\xbd\xb2\xef\xbe\x84\xef\xbe\x99";  // ﾀｲﾄﾙ
  const ZavcatRun japanese = runZavcat(ZavcatCall{{song}, {"LC_ALL=ja_JP.SJIS"}, {}, false});
  EXPECT_NE(japanese.out.find("\n  " + title + ": \xe6\x97\xa5"), std::string::npos) << japanese.out;
  const ZavcatRun japaneseRaw = runZavcat(ZavcatCall{{"--raw", song}, {"LC_ALL=ja_JP.SJIS"}, {}, false});
  EXPECT_NE(japaneseRaw.out.find("\n  \xc0\xb2\xc4\xd9: \x93\xfa"), std::string::npos) << japaneseRaw.out;
}

TEST(Zavcat, NullFormatReadsEveryFileAndPrintsNothing) {
  TempFolder disc;
  const std::string document = disc.write("a.rtf", bytes("{\\rtf1 text}"));
  const std::string missing = disc.path() + "/missing.rtf";
  const std::string list = disc.write("list", bytes(document + "\n" + missing + "\n"));
  const ZavcatRun run = runZavcat({"show", "--format", "null", "--summary", "--files-from", list});
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "zavcat: " + missing + ": No such file or directory\n"
                     "zavcat: 1 file: 1 ok, 0 no metadata, 0 unclaimed, 0 unreadable, 0 failed; "
                     "0 skipped\n");
  EXPECT_EQ(run.exitStatus, 1);
}

TEST(Zavcat, TakesShowAsTheSubcommandUnlessTheFirstArgumentNamesOne) {
  TempFolder disc;
  disc.write("list", {});
  disc.write("notes", {});
  for (const Lines& arguments : {Lines{"show", "list"}, Lines{"notes"}}) {
    const ZavcatRun run = runZavcat(ZavcatCall{arguments, {}, disc.path(), false});
    EXPECT_EQ(run.out, arguments.back() + ": unclaimed\n");
    EXPECT_EQ(run.exitStatus, 0);
  }
}

TEST(Zavcat, HelpExplainsTheToolAndExitsWell) {
  const ZavcatRun run = runZavcat({"--help"});
  for (const char* topic : {"show", "scan", "search", "list", "export", "*.so", "upper-cased",
                            "byte order", "no-metadata", "Exit status"}) {
    EXPECT_NE(run.out.find(topic), std::string::npos) << topic;
  }
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(runZavcat({"--version"}).out, "zavcat " ZAV_VERSION "\n");
}

TEST(Zavcat, RejectsArgumentsItDoesNotUnderstand) {
  for (const Lines& arguments : {Lines{}, Lines{"--bogus", "/tmp"}, Lines{"/tmp", "--plugins"},
                                 Lines{"show", "--format", "xml", "/tmp"},
                                 Lines{"--raw", "--format", "json", "/tmp"}}) {
    const ZavcatRun run = runZavcat(arguments);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("zavcat"), std::string::npos) << run.err;
    EXPECT_EQ(run.exitStatus, 2);
  }
}

}  // namespace
}  // namespace zav::test
