// zavcat as its users run it: a program given files, folders and options.
// The fixture files are empty, so the real plug-ins report nothing but their
// open result (audio 0, RTF 1) and the host's own decisions show plainly.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TempFile.h"
#include "ZavcatProcess.h"

namespace zav::test {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

std::string rtf(const std::string& path) { return path + ": RTF-P open=1"; }
std::string audio(const std::string& path) { return path + ": Audio open=0"; }
std::string unclaimed(const std::string& path) { return path + ": unclaimed"; }

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
                         audio(d + "sub/deeper/c.mp3") + "\n" + rtf(d + "\xC3\xA9.rtf") + "\n");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.exitStatus, 0);
}

TEST(Zavcat, FollowsLinksToFilesButNotToFoldersInAWalk) {
  TempFolder disc;
  disc.write("real/x.rtf", {});
  fs::create_directory_symlink("real", disc.path() + "/link");
  fs::create_symlink("real/x.rtf", disc.path() + "/linked.rtf");
  fs::create_symlink("nowhere.rtf", disc.path() + "/dangling.rtf");
  const std::string d = disc.path() + "/";

  const ZavcatRun walk = runZavcat({disc.path()});
  EXPECT_EQ(headerLines(walk.out), (Lines{rtf(d + "linked.rtf"), rtf(d + "real/x.rtf")}));
  EXPECT_EQ(walk.exitStatus, 0);

  // A link named on the command line is the user's choice and is walked.
  const ZavcatRun named = runZavcat({d + "link"});
  EXPECT_EQ(headerLines(named.out), (Lines{rtf(d + "link/x.rtf")}));
}

TEST(Zavcat, SkipsUnclaimedFilesInAWalkButReportsThemWhenNamed) {
  TempFolder disc;
  const std::string readme = disc.write("README.txt", {});
  const std::string noSuffix = disc.write("notes", {});
  const std::string document = disc.write("a.rtf", {});
  const ZavcatRun run = runZavcat({disc.path(), readme, noSuffix});
  EXPECT_EQ(headerLines(run.out), (Lines{rtf(document), unclaimed(readme), unclaimed(noSuffix)}));
  EXPECT_EQ(run.exitStatus, 0);
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

TEST(Zavcat, HelpExplainsTheToolAndExitsWell) {
  const ZavcatRun run = runZavcat({"--help"});
  for (const char* topic : {"--plugins DIR", "*.so", "upper-cased", "byte order",
                            "symbolic links to folders", "unclaimed", "Exit status"}) {
    EXPECT_NE(run.out.find(topic), std::string::npos) << topic;
  }
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.exitStatus, 0);
}

TEST(Zavcat, RejectsArgumentsItDoesNotUnderstand) {
  for (const Lines& arguments : {Lines{}, Lines{"--bogus", "/tmp"}, Lines{"/tmp", "--plugins"}}) {
    const ZavcatRun run = runZavcat(arguments);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("zavcat --help"), std::string::npos) << run.err;
    EXPECT_EQ(run.exitStatus, 2);
  }
}

}  // namespace
}  // namespace zav::test
