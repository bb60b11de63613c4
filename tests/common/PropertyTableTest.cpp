#include "PropertyTable.h"

#include "PropertyKeys.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace zav {
namespace {

constexpr std::array<PropertyRow, 4> kRows{{
    {1, 396, 28},
    {6, 401, 30},
    {129, 407, -1},
    {6, 402, -1},  // a second row with the same key is never filled
}};

TEST(PropertyTable, SetPropertyReplacesButNeverErases) {
  PropertyTable table(kRows, "zavtest.dll");
  table.setProperty(1, "first");
  table.setProperty(1, "");
  EXPECT_STREQ(table.value(0), "first");
  table.setProperty(1, "second");
  EXPECT_STREQ(table.value(0), "second");
  table.setProperty(6, "author");
  EXPECT_STREQ(table.value(1), "author");
  EXPECT_STREQ(table.value(3), "");
}

TEST(PropertyTable, UnknownKeysAndNullTextsChangeNothing) {
  PropertyTable table(kRows, "zavtest.dll");
  table.setProperty(140, "ignored");
  table.setProperty(1, nullptr);
  for (int i = 0; i < table.count(); ++i) EXPECT_STREQ(table.value(i), "") << i;
}

TEST(PropertyTable, LongValuesGrowTheSlotUntilReset) {
  PropertyTable table(kRows, "zavtest.dll");
  const std::string longValue(9000, 'v');
  table.setProperty(129, longValue.c_str());
  EXPECT_EQ(table.slot(2).capacity(), 16192);
  EXPECT_EQ(std::string(table.value(2)), longValue);
  table.resetValues();
  EXPECT_EQ(table.slot(2).capacity(), 8096);
  EXPECT_STREQ(table.value(2), "");
}

TEST(PropertyTable, OutOfRangeIndexesAreHarmless) {
  PropertyTable table(kRows, "zavtest.dll");
  for (int index : {-1, 4, 1000}) {
    EXPECT_EQ(table.key(index), 0);
    EXPECT_STREQ(table.value(index), "");
    EXPECT_STREQ(table.title(index), "");
  }
}

TEST(PropertyTable, DestinationCodesFindTheirSlot) {
  PropertyTable table(kRows, "zavtest.dll");
  EXPECT_EQ(table.slotForDestination(30), &table.slot(1));
  EXPECT_EQ(table.slotForDestination(-1), nullptr);
  EXPECT_EQ(table.slotForDestination(31), nullptr);
}

TEST(PropertyTable, TitlesComeFromTheModulesStringResources) {
  PropertyTable table(kRows, "zavtest.dll");
  const char* first = table.title(0);
  const std::string firstText = first;
  EXPECT_FALSE(firstText.empty());
  const char* second = table.title(1);
  EXPECT_EQ(first, second);  // one title buffer, overwritten
  EXPECT_NE(std::string(second), firstText);

  PropertyTable foreign(kRows, "other.dll");
  EXPECT_STREQ(foreign.title(0), "");  // not this module's name: no strings
}

// Keys 129 and up mean different things in the two plug-ins.
TEST(PropertyNames, DependOnThePluginFromKey129On) {
  EXPECT_EQ(propertyName(kAudioPluginName, 1), "title");
  EXPECT_EQ(propertyName(kRtfPluginName, 11), "saved");
  EXPECT_EQ(propertyName(kAudioPluginName, 129), "track");
  EXPECT_EQ(propertyName(kAudioPluginName, 133), "original_artist");
  EXPECT_EQ(propertyName(kRtfPluginName, 129), "operator");
  EXPECT_EQ(propertyName(kRtfPluginName, 131), "key_131");
  EXPECT_EQ(propertyName("Other", 129), "key_129");
  EXPECT_EQ(propertyName("Other", 4), "keywords");
}

}  // namespace
}  // namespace zav
