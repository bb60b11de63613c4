#include "ControlWords.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "RtfReader.h"

namespace zav::rtf {
namespace {

class ControlWordsTest : public ::testing::Test {};

TEST_F(ControlWordsTest, RowsPerMajor) {
  // A lost or doubled row shows up here.
  const std::map<int, int> expected{{0, 1},   {1, 1},   {2, 4},   {3, 40},  {4, 7},   {5, 3},
                                    {6, 38},  {7, 2},   {8, 29},  {9, 33},  {10, 14}, {11, 41},
                                    {12, 22}, {13, 20}, {14, 4},  {15, 2},  {16, 18}};
  std::map<int, int> counted;
  for (const ControlWord& row : controlWords()) ++counted[row.major];
  EXPECT_EQ(counted, expected);
  EXPECT_EQ(controlWords().size(), 279U);
}

TEST_F(ControlWordsTest, SortedByChecksumThenName) {
  const auto rows = controlWords();
  std::map<int, int> perChecksum;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].checksum, nameChecksum(rows[i].name)) << rows[i].name;
    ++perChecksum[rows[i].checksum];
    if (i == 0) continue;
    const bool ordered = rows[i - 1].checksum < rows[i].checksum ||
                         (rows[i - 1].checksum == rows[i].checksum &&
                          std::string(rows[i - 1].name) < std::string(rows[i].name));
    EXPECT_TRUE(ordered) << rows[i - 1].name << " before " << rows[i].name;
  }
  EXPECT_EQ(rows.front().checksum, 10);  // backslash-LF
  EXPECT_EQ(rows.back().checksum, 1421);  // wbmwidthbytes
  for (const auto& [checksum, count] : perChecksum) EXPECT_LE(count, 4) << checksum;
}

TEST_F(ControlWordsTest, EveryRowIsFoundByItsName) {
  for (const ControlWord& row : controlWords()) {
    const ControlWord* found = findControlWord(row.name);
    ASSERT_NE(found, nullptr) << row.name;
    EXPECT_EQ(found, &row) << row.name;
  }
}

TEST_F(ControlWordsTest, Lookups) {
  struct Case {
    std::string name;
    int major;
    int minor;
  };
  const Case cases[] = {
      {"par", 6, 11},      {"\n", 6, 11},       {"\r", 6, 11},          {"picwGoal", 13, 5},
      {"picwgoal", 13, 5}, {"pichGoal", 13, 6}, {"title", 3, 28},       {"doccomm", 3, 35},
      {"annotation", 3, 17}, {"field", 3, 17},  {"atnid", 3, 18},       {"fldinst", 3, 18},
      {"pntxta", 3, 37},   {"pntxtb", 3, 38},   {"*", 6, 23},           {"~", 6, 6},
      {"row", 6, 15},      {"chatn", 6, 19},    {"id", 6, 38},          {"rtf", 0, -1},
      {"deff", 1, -1},     {"pca", 2, 3},       {"ftech", 4, 6},        {"blue", 5, 2},
      {"snext", 7, 1},     {"revbar", 8, 28},   {"titlepg", 9, 32},     {"clmrg", 10, 13},
      {"tlth", 11, 40},    {"cb", 12, 21},      {"bin", 13, 17},        {"wbmwidthbytes", 13, 16},
      {"fldpriv", 14, 3},  {"tcl", 15, 1},      {"phcol", 16, 17},      {"s", 11, 1},
  };
  for (const Case& c : cases) {
    const ControlWord* row = findControlWord(c.name);
    ASSERT_NE(row, nullptr) << c.name;
    EXPECT_EQ(row->major, c.major) << c.name;
    EXPECT_EQ(row->minor, c.minor) << c.name;
  }
}

// The quick test before a lookup may let an unknown name through, never
// stop a known one.
TEST_F(ControlWordsTest, QuickTestPassesEveryRow) {
  for (const ControlWord& row : controlWords()) EXPECT_TRUE(mayBeControlWord(row.name, std::strlen(row.name))) << row.name;
  for (const char* name : {"rtlch", "ltrch", "fcs", "insrsid", "lsdlocked"}) {
    EXPECT_FALSE(mayBeControlWord(name, std::strlen(name))) << name;
  }
}

TEST_F(ControlWordsTest, UnknownNamesAreNotFound) {
  for (const char* name : {"PAR", "Par", "picWGoal", "!", "u", "pa", "parx", "", "wbmwidthbytesx"}) {
    EXPECT_EQ(findControlWord(name), nullptr) << name;
  }
}

TEST_F(ControlWordsTest, SortingAgainChangesNothing) {
  const auto rows = controlWords();
  const std::vector<ControlWord> before(rows.begin(), rows.end());
  ByteStream input;
  RtfReader reader(input);  // a reader once sorted the table when it was made
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_STREQ(rows[i].name, before[i].name);
    EXPECT_EQ(rows[i].checksum, before[i].checksum);
  }
}

}  // namespace
}  // namespace zav::rtf
