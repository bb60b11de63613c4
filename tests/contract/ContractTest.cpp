// The eleven entry points of both plug-ins, through the modules as built.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "PluginModule.h"
#include "Hex.h"
#include "TempFile.h"

namespace zav::test {
namespace {

bool shiftJis() {
  const char* locale = std::getenv("LC_ALL");
  return locale != nullptr && std::strstr(locale, "SJIS") != nullptr;
}

struct Title {
  int key;
  const char* utf8;
  const char* shiftJisHex;
};

// Titles of the common keys, the same in both plug-ins.
const Title kTitle{1, "ﾀｲﾄﾙ", "C0 B2 C4 D9"};
const Title kSubject{2, "ｻﾌﾞｼﾞｪｸﾄ", "BB CC DE BC DE AA B8 C4"};
const Title kCategory{3, "分類", "95 AA 97 DE"};
const Title kKeywords{4, "ｷｰﾜｰﾄﾞ", "B7 B0 DC B0 C4 DE"};
const Title kComment{5, "ｺﾒﾝﾄ", "BA D2 DD C4"};
const Title kAuthor{6, "作者", "8D EC 8E D2"};
const Title kApplication{7, "ｱﾌﾟﾘｹｰｼｮﾝ名", "B1 CC DF D8 B9 B0 BC AE DD 96 BC"};
const Title kCompany{8, "会社", "89 EF 8E D0"};
const Title kManager{9, "ﾏﾈｰｼﾞｬ", "CF C8 B0 BC DE AC"};
const Title kCreated{10, "作成日", "8D EC 90 AC 93 FA"};
const Title kSaved{11, "最終保存日", "8D C5 8F 49 95 DB 91 B6 93 FA"};

// Every row of each catalogue in presentation order, with its title.
const std::vector<Title> kAudioRows = {
    kTitle, kSubject, kAuthor, kKeywords, kComment, kCategory,
    kApplication, kCompany, kManager, kCreated, kSaved,
    {129, "ﾄﾗｯｸNo", "C4 D7 AF B8 4E 6F"},
    {130, "年", "94 4E"},
    {131, "ｼﾞｬﾝﾙ", "BC DE AC DD D9"},
    {132, "Composer", nullptr},
    {133, "Original artist", nullptr},
    {134, "Copyright", nullptr},
    {135, "URL", nullptr},
    {136, "形式", "8C 60 8E AE"},
    {137, "時間", "8E 9E 8A D4"},
    {138, "ｴﾝｼﾞﾆｱ", "B4 DD BC DE C6 B1"},
    {139, "Source", nullptr},
};

const std::vector<Title> kRtfRows = {
    kTitle, kSubject, kAuthor, kKeywords, kComment,
    {129, "ｵﾍﾟﾚｰﾀ", "B5 CD DF DA B0 C0"},
    {130, "ﾊﾞｰｼﾞｮﾝ", "CA DE B0 BC DE AE DD"},
    kCategory, kApplication, kCompany, kManager, kCreated, kSaved,
};

struct PluginCase {
  const char* module;
  const char* name;
  const char* defaultSuffix;
  const std::vector<Title>* rows;
  std::vector<const char*> claimed;
  std::vector<const char*> refused;
};

const PluginCase kPlugins[] = {
    {ZAV_AUDIO_MODULE, "Audio", "MP3", &kAudioRows,
     {"MP3", "WAV", "AVI", "MP3X", "AVI.bak"},
     {"mp3", "MP2", "MP1", "MP", "", "wav", "RTF"}},
    {ZAV_RTF_MODULE, "RTF-P", "RTF", &kRtfRows, {"RTF", "RTFD"}, {"rtf", "RT", "Rtf", "MP3"}},
};

void PrintTo(const PluginCase& c, std::ostream* out) { *out << c.name; }

class Contract : public ::testing::TestWithParam<PluginCase> {};

TEST_P(Contract, AnswersItsConstants) {
  const PluginCase& c = GetParam();
  PluginModule plugin(c.module);
  ASSERT_TRUE(plugin.loaded());
  EXPECT_STREQ(plugin.getName(), c.name);
  EXPECT_EQ(plugin.getSupportType(), 3);
  EXPECT_STREQ(plugin.getDefaultSuffix(), c.defaultSuffix);
  EXPECT_EQ(plugin.getPropertyCount(), static_cast<int>(c.rows->size()));
}

TEST_P(Contract, ClaimsOnlyItsSuffixes) {
  const PluginCase& c = GetParam();
  PluginModule plugin(c.module);
  ASSERT_TRUE(plugin.loaded());
  for (const char* suffix : c.claimed) EXPECT_EQ(plugin.checkSuffix(suffix), 1) << suffix;
  for (const char* suffix : c.refused) EXPECT_EQ(plugin.checkSuffix(suffix), 0) << suffix;
}

TEST_P(Contract, ListsKeysAndTitlesInCatalogueOrder) {
  const PluginCase& c = GetParam();
  PluginModule plugin(c.module);
  ASSERT_TRUE(plugin.loaded());
  for (int i = 0; i < static_cast<int>(c.rows->size()); ++i) {
    const Title& row = (*c.rows)[static_cast<std::size_t>(i)];
    EXPECT_EQ(plugin.getPropertyKey(i), row.key) << i;
    const std::string title = plugin.getPropertyTitle(i);
    if (shiftJis() && row.shiftJisHex != nullptr) {
      EXPECT_EQ(hex(title), row.shiftJisHex) << i;
    } else {
      EXPECT_EQ(title, row.utf8) << i;
    }
  }
}

TEST_P(Contract, ReusesOneTitleBuffer) {
  PluginModule plugin(GetParam().module);
  ASSERT_TRUE(plugin.loaded());
  const char* first = plugin.getPropertyTitle(0);
  const std::string firstText = first;
  const char* second = plugin.getPropertyTitle(2);
  EXPECT_EQ(first, second);
  EXPECT_NE(std::string(second), firstText);
}

TEST_P(Contract, ValuesAreEmptyBeforeOpenAndAfterClose) {
  PluginModule plugin(GetParam().module);
  ASSERT_TRUE(plugin.loaded());
  for (int i = 0; i < plugin.getPropertyCount(); ++i) EXPECT_STREQ(plugin.getPropertyValue(i), "");
  EXPECT_EQ(plugin.close(), 0);
  for (int i = 0; i < plugin.getPropertyCount(); ++i) EXPECT_STREQ(plugin.getPropertyValue(i), "");
}

TEST_P(Contract, SurvivesBadArguments) {
  PluginModule plugin(GetParam().module);
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

TEST_P(Contract, MissingFilesGiveNothing) {
  PluginModule plugin(GetParam().module);
  ASSERT_TRUE(plugin.loaded());
  TempFolder folder;
  for (const char* name : {"/missing.mp3", "/missing.rtf", "/missing.wav", ""}) {
    EXPECT_EQ(plugin.open((folder.path() + name).c_str()), 0) << name;
    EXPECT_EQ(plugin.getLine(), nullptr);
    for (int i = 0; i < plugin.getPropertyCount(); ++i) EXPECT_STREQ(plugin.getPropertyValue(i), "");
  }
  EXPECT_EQ(plugin.open(folder.path().c_str()), 0);  // a folder is no file
}

std::string pluginName(const ::testing::TestParamInfo<PluginCase>& param) {
  return std::strcmp(param.param.name, "Audio") == 0 ? "Audio" : "Rtf";
}

INSTANTIATE_TEST_SUITE_P(Plugins, Contract, ::testing::ValuesIn(kPlugins), pluginName);

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
  EXPECT_EQ(rtf.open(document.c_str()), 1);
  const std::string rtfValue = rtf.getPropertyValue(0);
  EXPECT_EQ(audio.open(document.c_str()), 0);  // not a name the audio plug-in reads
  EXPECT_EQ(std::string(rtf.getPropertyValue(0)), rtfValue);
  for (int i = 0; i < audio.getPropertyCount(); ++i) EXPECT_STREQ(audio.getPropertyValue(i), "");
}

}  // namespace
}  // namespace zav::test
