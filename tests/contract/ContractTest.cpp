// The entry points through the modules as built, beyond the shared cases
// (which check constants, suffixes and Shift-JIS titles): titles in a UTF-8
// code page, argument guards, and two modules in one process.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

#include "PluginCases.h"
#include "PluginModule.h"
#include "TempFile.h"

namespace zav::test {
namespace {

using cases::Plugin;

const char* modulePath(Plugin plugin) {
  return plugin == Plugin::audio ? ZAV_AUDIO_MODULE : ZAV_RTF_MODULE;
}

std::string shiftJisToUtf8(const std::string& text) {
  iconv_t converter = iconv_open("UTF-8", "CP932");
  std::string in = text;
  std::string out(text.size() * 3 + 1, '\0');
  char* inPointer = in.data();
  char* outPointer = out.data();
  std::size_t inLeft = in.size();
  std::size_t outLeft = out.size();
  iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft);
  iconv_close(converter);
  out.resize(out.size() - outLeft);
  return out;
}

class Contract : public ::testing::TestWithParam<Plugin> {};

TEST_P(Contract, TitlesReachAUtf8HostAsUtf8) {
  PluginModule plugin(modulePath(GetParam()));
  ASSERT_TRUE(plugin.loaded());
  const auto& rows = cases::constantsOf(GetParam()).rows;
  ASSERT_EQ(plugin.getPropertyCount(), static_cast<int>(rows.size()));
  for (int i = 0; i < plugin.getPropertyCount(); ++i) {
    EXPECT_EQ(plugin.getPropertyTitle(i), shiftJisToUtf8(rows[static_cast<std::size_t>(i)].title)) << i;
  }
}

TEST_P(Contract, ReusesOneTitleBuffer) {
  PluginModule plugin(modulePath(GetParam()));
  ASSERT_TRUE(plugin.loaded());
  const char* first = plugin.getPropertyTitle(0);
  const std::string firstText = first;
  const char* second = plugin.getPropertyTitle(2);
  EXPECT_EQ(first, second);
  EXPECT_NE(std::string(second), firstText);
}

TEST_P(Contract, SurvivesBadArguments) {
  PluginModule plugin(modulePath(GetParam()));
  ASSERT_TRUE(plugin.loaded());
  EXPECT_EQ(plugin.checkSuffix(nullptr), 0);
  EXPECT_EQ(plugin.open(nullptr), 0);
  EXPECT_EQ(plugin.getLine(), nullptr);
  for (int index : {-1, plugin.getPropertyCount(), 1 << 30, -(1 << 30)}) {
    EXPECT_EQ(plugin.getPropertyKey(index), 0) << index;
    ASSERT_NE(plugin.getPropertyTitle(index), nullptr);
    EXPECT_STREQ(plugin.getPropertyTitle(index), "") << index;
    ASSERT_NE(plugin.getPropertyValue(index), nullptr);
    EXPECT_STREQ(plugin.getPropertyValue(index), "") << index;
  }
}

TEST_P(Contract, FoldersAndEmptyPathsAreNotFiles) {
  PluginModule plugin(modulePath(GetParam()));
  ASSERT_TRUE(plugin.loaded());
  TempFolder folder;
  for (const std::string& path : {folder.path(), std::string(), folder.path() + "/x.mp3/"}) {
    EXPECT_EQ(plugin.open(path.c_str()), 0) << path;
    EXPECT_EQ(plugin.getLine(), nullptr);
    EXPECT_TRUE(plugin.nonEmptyValues().empty());
  }
}

std::string pluginName(const ::testing::TestParamInfo<Plugin>& param) {
  return param.param == Plugin::audio ? "Audio" : "Rtf";
}

INSTANTIATE_TEST_SUITE_P(Plugins, Contract, ::testing::Values(Plugin::audio, Plugin::rtf), pluginName);

// Loaded into one process with their symbols global, the two modules still
// answer from their own code and keep their own state.
TEST(BothModules, StayIndependentWhenLoadedGlobally) {
  PluginModule audio(ZAV_AUDIO_MODULE, RTLD_NOW | RTLD_GLOBAL);
  PluginModule rtf(ZAV_RTF_MODULE, RTLD_NOW | RTLD_GLOBAL);
  ASSERT_TRUE(audio.loaded() && rtf.loaded());
  EXPECT_STREQ(audio.getName(), "Audio");
  EXPECT_STREQ(rtf.getName(), "RTF-P");
  EXPECT_EQ(audio.getPropertyCount(), 22);
  EXPECT_EQ(rtf.getPropertyCount(), 13);
  EXPECT_EQ(audio.checkSuffix("RTF"), 0);
  EXPECT_EQ(rtf.checkSuffix("MP3"), 0);

  const char* audioTitle = audio.getPropertyTitle(11);  // key 129: track number
  const std::string audioText = audioTitle;
  const char* rtfTitle = rtf.getPropertyTitle(5);  // key 129: operator
  EXPECT_NE(audioTitle, rtfTitle);
  EXPECT_EQ(std::string(audioTitle), audioText);
  EXPECT_NE(std::string(rtfTitle), audioText);

  TempFile document("info.rtf", "{\\rtf1{\\info{\\title Kept}}Body\\par}");
  ASSERT_EQ(rtf.open(document.c_str()), 1);
  EXPECT_EQ(rtf.value(k(PropertyKey::title)), "Kept");
  EXPECT_EQ(audio.open(document.c_str()), 0);  // not a name the audio plug-in reads
  EXPECT_EQ(rtf.value(k(PropertyKey::title)), "Kept");
  EXPECT_EQ(rtf.lines(), (std::vector<std::string>{"Body\n", ""}));
  EXPECT_TRUE(audio.nonEmptyValues().empty());
}

}  // namespace
}  // namespace zav::test
