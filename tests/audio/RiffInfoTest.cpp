#include "RiffInfo.h"

#include <gtest/gtest.h>

#include <memory>

#include "Endian.h"
#include "RiffBytes.h"
#include "RiffFile.h"
#include "TempFile.h"

namespace zav::test {
namespace {

using namespace std::string_view_literals;
using audio::RiffInfo;

std::string text(const RiffInfo& info, std::string_view id) {
  std::string scratch = "stale";
  return info.getText(id[0], id[1], id[2], id[3], scratch);
}

const Bytes kFormat = riffChunk("fmt ", Bytes(16, 0));
const Bytes kData = riffChunk("data", Bytes(1001, 0x80));  // odd: padded
const Bytes kInfo = riffList("INFO", riffChunk("INAM", bytes("Name")) + riffChunk("IART", bytes("Who\0"sv)));

TEST(RiffInfo, ParsesSubChunksWithPadBytes) {
  RiffInfo info;
  // Five bytes without a NUL, a pad byte, then the next sub-chunk.
  info.parseInfoList(bytes("IART") + le32(5) + bytes("Fiver") + Bytes{0} + riffChunk("ICMT", bytes("c")) +
                     riffChunk("IART", bytes("second")) + riffChunk("INAM", bytes("ab\0cd"sv)) +
                     riffChunk("IKEY", {}) + bytes("ISFT") + le32(50) + bytes("cut"));
  EXPECT_EQ(text(info, "IART"), "Fiver");  // the first of an identifier wins
  EXPECT_EQ(text(info, "ICMT"), "c");
  EXPECT_EQ(text(info, "INAM"), "ab");
  EXPECT_EQ(text(info, "IKEY"), "");
  EXPECT_EQ(text(info, "ISFT"), "");  // ran past the list
  EXPECT_EQ(text(info, "ISBJ"), "");

  // A list of 13 bytes: the final pad byte is not counted.
  RiffInfo unpadded;
  unpadded.parseInfoList(bytes("IART") + le32(5) + bytes("Fiver"));
  EXPECT_EQ(text(unpadded, "IART"), "Fiver");
}

TEST(RiffInfo, FindsTheInfoListAmongTopLevelChunks) {
  struct Case {
    const char* what;
    std::string_view form;  // of the file
    std::string_view asked;
    Bytes chunks;
    int result, hasForm;
    const char* artist;
  };
  const Case cases[] = {
      {"INFO after data", "WAVE", "WAVE", kFormat + kData + kInfo, 1, 1, "Who"},
      {"INFO before data", "WAVE", "WAVE", kFormat + kInfo + kData, 1, 1, "Who"},
      {"no INFO", "WAVE", "WAVE", kFormat + kData, 0, 1, ""},
      {"empty INFO", "WAVE", "WAVE", kFormat + riffList("INFO", {}), 1, 1, ""},
      {"other list types", "WAVE", "WAVE", riffList("adtl", bytes("xxxx")) + kInfo, 1, 1, "Who"},
      {"AVI", "AVI ", "AVI ",
       riffList("hdrl", riffChunk("avih", Bytes(56, 0))) + kInfo + riffList("movi", Bytes(30, 0)), 1, 1,
       "Who"},
      {"nested INFO", "AVI ", "AVI ", riffList("hdrl", kInfo), 0, 1, ""},
      {"wrong form", "WAVE", "AVI ", kFormat + kInfo, 0, 0, ""},
      {"list size below 4", "WAVE", "WAVE", bytes("LIST") + le32(2) + bytes("INFO"), 0, 1, ""},
  };
  for (const Case& c : cases) {
    TempFile file("a.wav", riffForm(c.form, c.chunks));
    RiffInfo info;
    EXPECT_EQ(info.readInfo(file.c_str(), c.asked[0], c.asked[1], c.asked[2], c.asked[3]), c.result) << c.what;
    EXPECT_EQ(info.hasForm(), c.hasForm) << c.what;
    EXPECT_EQ(text(info, "IART"), c.artist) << c.what;
  }
}

TEST(RiffInfo, ListCutShortParsesWhatWasRead) {
  // The list claims almost 2 GiB; only what the file holds is read.
  const auto file = [](std::uint32_t listSize) {
    const Bytes list = bytes("LIST") + le32(listSize) + bytes("INFO") + riffChunk("IART", bytes("Who"));
    return std::make_unique<TempFile>("a.wav", bytes("RIFF") + le32(0xFFFFFFF0) + bytes("WAVE") + list);
  };
  RiffInfo info;
  EXPECT_EQ(info.readInfo(file(0x80000003)->c_str(), 'W', 'A', 'V', 'E'), 1);
  EXPECT_EQ(text(info, "IART"), "Who");
  // From 2 GiB on the size counts as negative: no list.
  EXPECT_EQ(info.readInfo(file(0x80000004)->c_str(), 'W', 'A', 'V', 'E'), 0);
  EXPECT_EQ(info.hasForm(), 1);
  EXPECT_EQ(text(info, "IART"), "");
  EXPECT_EQ(info.readInfo("/nonexistent/a.wav", 'W', 'A', 'V', 'E'), 0);
  EXPECT_EQ(info.hasForm(), 0);
}

TEST(RiffFile, WalksTheFormsDirectSubChunks) {
  const Bytes form = riffForm("WAVE", kFormat + kData + kInfo);
  TempFile file("a.wav", form + riffChunk("LATE", bytes("outside the form")));
  platform::RiffFile riff(file.c_str());
  ASSERT_TRUE(riff.isOpen());
  EXPECT_FALSE(riff.findForm(chunkId('A', 'V', 'I', ' ')));
  ASSERT_TRUE(riff.findForm(chunkId('W', 'A', 'V', 'E')));
  EXPECT_EQ(riff.tell(), 12u);

  const auto data = riff.findChunk(chunkId('d', 'a', 't', 'a'));
  ASSERT_TRUE(data);
  EXPECT_EQ(data->size, 1001u);
  EXPECT_EQ(data->dataOffset, 12u + 24 + 8);
  EXPECT_EQ(riff.tell(), data->dataOffset);
  ASSERT_TRUE(riff.leave(*data));
  EXPECT_EQ(riff.tell(), data->dataOffset + 1002);  // after the pad byte

  const auto info = riff.findList(chunkId('I', 'N', 'F', 'O'));
  ASSERT_TRUE(info);
  EXPECT_EQ(riff.tell(), info->dataOffset + 4);  // after the list type
  // Searches go forward and stay inside the form.
  EXPECT_FALSE(riff.findChunk(chunkId('L', 'A', 'T', 'E')));
  ASSERT_TRUE(riff.seek(12));
  EXPECT_FALSE(riff.findChunk(chunkId('L', 'A', 'T', 'E')));
}

TEST(RiffFile, NonRiffFilesHaveNoForm) {
  TempFile file("a.wav", bytes("RIFX") + le32(4) + bytes("WAVE"));
  platform::RiffFile riff(file.c_str());
  EXPECT_FALSE(riff.findForm(chunkId('W', 'A', 'V', 'E')));
  platform::RiffFile missing("/nonexistent/a.wav");
  EXPECT_FALSE(missing.isOpen());
  EXPECT_FALSE(missing.findForm(chunkId('W', 'A', 'V', 'E')));
}

}  // namespace
}  // namespace zav::test
