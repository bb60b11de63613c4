#include "MpegAudioInfo.h"

#include <gtest/gtest.h>

#include "Id3Bytes.h"
#include "MpegBytes.h"
#include "RiffBytes.h"
#include "TempFile.h"

namespace zav::test {
namespace {

using audio::MpegAudioInfo;

constexpr MpegHeader kMpeg1Layer3{};  // 128 kbit/s, 44100 Hz, joint stereo: 417 bytes

struct Result {
  int valid;
  std::string format, time;
};

Result analyzeBytes(const Bytes& file) {
  MpegAudioInfo info;
  const int valid = info.analyzeBytes(file);
  return {valid, info.getFormatText(), info.getTimeText()};
}

Result analyzeWindow(std::uint64_t audioEnd, const Bytes& window) {
  MpegAudioInfo info;
  const int valid = info.analyzeWindow(audioEnd, 0, window);
  return {valid, info.getFormatText(), info.getTimeText()};
}

TEST(MpegAudioInfo, ConstantBitRateEstimate) {
  const Result r = analyzeWindow(3600000, mpegFrame(kMpeg1Layer3, 417));
  EXPECT_EQ(r.valid, 1);
  EXPECT_EQ(r.format, "MPEG1.0 Layer-3, 128Kbits/s, 44100Hz, JointStereo");
  EXPECT_EQ(r.time, "3:45 (225sec) 8633frames");
}

TEST(MpegAudioInfo, DecodesVersionsLayersAndRealSamplesPerFrame) {
  struct Case {
    MpegHeader header;
    std::uint64_t audioBytes;
    const char* format;
    const char* time;
  };
  const Case cases[] = {
      // Layer I, 32 kbit/s, 32000 Hz: 48-byte frames of 384 samples.
      {{3, 1, 1, 2, 0, 3}, 48000, "MPEG1.0 Layer-1, 32Kbits/s, 32000Hz, Mono", "0:12 (12sec) 1000frames"},
      // MPEG-2 Layer II, 64 kbit/s, 24000 Hz: 384-byte frames of 1152 samples.
      {{2, 2, 8, 1, 0, 0}, 38400, "MPEG2.0 Layer-2, 64Kbits/s, 24000Hz, Stereo", "0:04 (4sec) 100frames"},
      // MPEG-2 Layer III, 64 kbit/s, 22050 Hz: 208-byte frames of 576 samples.
      {{2, 3, 8, 0, 0, 2}, 208 * 1000, "MPEG2.0 Layer-3, 64Kbits/s, 22050Hz, DualChannel",
       "0:26 (26sec) 1000frames"},
      // MPEG-2.5 Layer III, 8 kbit/s, 8000 Hz: 72-byte frames of 576 samples.
      {{0, 3, 1, 2, 0, 3}, 72 * 1000, "MPEG2.5 Layer-3, 8Kbits/s, 8000Hz, Mono", "1:12 (72sec) 1000frames"},
      // The reserved version bits 01 read as MPEG-2.5 as well.
      {{1, 3, 1, 2, 0, 3}, 72 * 1000, "MPEG2.5 Layer-3, 8Kbits/s, 8000Hz, Mono", "1:12 (72sec) 1000frames"},
      // Padding lengthens the first frame: 418 bytes.
      {{3, 3, 9, 0, 1, 1}, 4180, "MPEG1.0 Layer-3, 128Kbits/s, 44100Hz, JointStereo", "0:00 (0sec) 10frames"},
      // Free format with padding: 4 bytes (Layer I) and 1 byte (Layer III).
      {{3, 1, 0, 0, 1, 0}, 400, "MPEG1.0 Layer-1, 0Kbits/s, 44100Hz, Stereo", "0:00 (0sec) 100frames"},
      {{3, 3, 0, 0, 1, 0}, 100, "MPEG1.0 Layer-3, 0Kbits/s, 44100Hz, Stereo", "0:02 (2sec) 100frames"},
      // Fewer audio bytes than one frame.
      {kMpeg1Layer3, 416, "MPEG1.0 Layer-3, 128Kbits/s, 44100Hz, JointStereo", "0:00 (0sec) 0frames"},
  };
  for (const Case& c : cases) {
    const Result r = analyzeWindow(c.audioBytes, mpegFrame(c.header, 64));
    EXPECT_EQ(r.valid, 1) << c.format;
    EXPECT_EQ(r.format, c.format);
    EXPECT_EQ(r.time, c.time) << c.format;
  }
}

TEST(MpegAudioInfo, FailsWithoutAUsableFirstFrame) {
  const MpegHeader freeFormat{3, 3, 0, 0, 0, 1};
  for (const Bytes& window : {mpegFrame(freeFormat, 64), Bytes{0xFF, 0xFB, 0xF0, 0x00},  // index 15
                              Bytes{0xFF, 0xFB, 0x9C, 0x00},                                // rate 11
                              Bytes{0xFF, 0xF9, 0x90, 0x00},                                // layer 00
                              Bytes{0xFF, 0xFB, 0x90}, Bytes{}}) {
    const Result r = analyzeWindow(100000, window);
    EXPECT_EQ(r.valid, 0);
    EXPECT_EQ(r.format, "unknown");
    EXPECT_EQ(r.time, "unknown");
  }
}

TEST(MpegAudioInfo, FrameAtOrBeyondTheAudioEndCountsNoBytes) {
  MpegAudioInfo info;
  ASSERT_EQ(info.analyzeWindow(/*audioEnd=*/100, /*searchStart=*/200, mpegFrame(kMpeg1Layer3, 417)), 1);
  EXPECT_STREQ(info.getTimeText(), "0:00 (0sec) 0frames");
}

TEST(MpegAudioInfo, SearchWindowEndsAfter10240Offsets) {
  const Bytes frames = mpegFrame(kMpeg1Layer3, 417) + mpegFrame(kMpeg1Layer3, 417);
  EXPECT_EQ(analyzeBytes(repeat(0, 10240) + frames).valid, 1);
  EXPECT_EQ(analyzeBytes(repeat(0, 10241) + frames).valid, 0);
}

TEST(MpegAudioInfo, AFrameNearTheEndOfTheFirstLookIsReadWhole) {
  // The Xing header's 16 bytes lie in the first look, straddle its end, or
  // lie beyond it: the same result every time.
  const Bytes xing = xingFrame(kMpeg1Layer3, 417, 32, 3, 4999, 3000000) + mpegFrame(kMpeg1Layer3, 417);
  constexpr std::size_t look = MpegAudioInfo::kFirstLookSize;
  for (const std::size_t junk : {std::size_t{0}, look - 52, look - 51, look - 40, look - 4, look, look + 3000}) {
    const Result r = analyzeBytes(repeat(0, junk) + xing);
    EXPECT_EQ(r.format, "MPEG1.0 Layer-3, 183Kbits/s(VBR), 44100Hz, JointStereo") << junk;
    EXPECT_EQ(r.time, "2:10 (130sec) 5000frames") << junk;
  }
}

TEST(MpegAudioInfo, Id3TagsAreNotAudio) {
  // A 1000-byte ID3v2 body: the search starts at 1010 and those bytes are
  // not counted. 4170 audio bytes make 10 frames.
  const Bytes id3v2 = id3v2Tag(repeat(0xFF, 1000));
  Bytes audio;
  for (int i = 0; i < 10; ++i) audio += mpegFrame(kMpeg1Layer3, 417);
  EXPECT_EQ(analyzeBytes(id3v2 + audio).time, "0:00 (0sec) 10frames");
  EXPECT_EQ(analyzeBytes(id3v2 + audio + Bytes(416, 0)).time, "0:00 (0sec) 10frames");
  // A trailing ID3v1 tag takes 128 bytes off: 4170 + 127 bytes are 10 frames,
  // while 4170 + 300 bytes with a tag would be 11 without it.
  EXPECT_EQ(analyzeBytes(audio + repeat(0, 300) + id3v1Tag({})).time, "0:00 (0sec) 10frames");
  // A file shorter than 128 bytes is searched all the same.
  EXPECT_EQ(analyzeBytes(mpegFrame({3, 3, 0, 0, 1, 0}, 20)).time, "0:00 (0sec) 20frames");
  // An ID3v2 tag larger than the file leaves nothing to search.
  EXPECT_EQ(analyzeBytes(id3v2Tag({}) + audio).valid, 1);
  EXPECT_EQ(analyzeBytes(bytes("ID3\3\0\0\x7F\x7F\x7F\x7F") + audio).valid, 0);
}

TEST(MpegAudioInfo, XingHeaderGivesFramesBytesAndAverageRate) {
  // MPEG-1 stereo: 32 bytes of side information.
  const Result r = analyzeWindow(10000000, xingFrame(kMpeg1Layer3, 417, 32, 3, 4999, 3000000));
  EXPECT_EQ(r.format, "MPEG1.0 Layer-3, 183Kbits/s(VBR), 44100Hz, JointStereo");
  EXPECT_EQ(r.time, "2:10 (130sec) 5000frames");  // 130612 ms

  // MPEG-2 mono: 9 bytes; the header is not looked for anywhere else.
  const MpegHeader mono{2, 3, 8, 0, 0, 3};
  EXPECT_EQ(analyzeWindow(208, xingFrame(mono, 208, 9, 1, 999, 0)).time, "0:26 (26sec) 1000frames");
  EXPECT_EQ(analyzeWindow(208, xingFrame(mono, 208, 17, 1, 999, 0)).time, "0:00 (0sec) 1frames");

  // No flags: still variable, averaged over the estimates.
  EXPECT_EQ(analyzeWindow(417 * 100, xingFrame(kMpeg1Layer3, 417, 32, 0, 0, 0)).format,
            "MPEG1.0 Layer-3, 127Kbits/s(VBR), 44100Hz, JointStereo");
  // An "Info" header marks a constant bit rate.
  EXPECT_EQ(analyzeWindow(417 * 100, xingFrame(kMpeg1Layer3, 417, 32, 3, 9, 9, "Info")).format,
            "MPEG1.0 Layer-3, 128Kbits/s, 44100Hz, JointStereo");
}

TEST(MpegAudioInfo, InfoFrameAtALowerRateTakesTheRateOfTheFrameBehindIt) {
  // Writers put the "Info" frame at the smallest rate that holds it: 64
  // kbit/s (208 bytes) before a 128 kbit/s stream (417 bytes).
  const MpegHeader at64{3, 3, 5, 0, 0, 1};
  const MpegHeader mono56{2, 3, 7, 0, 0, 3};  // MPEG-2, 22050 Hz: 182 bytes
  const MpegHeader mono32{2, 3, 4, 0, 0, 3};  // 104 bytes
  const Bytes info64 = xingFrame(at64, 208, 32, 3, 9, 9, "Info");
  const char* const k128 = "MPEG1.0 Layer-3, 128Kbits/s, 44100Hz, JointStereo";
  const char* const k64 = "MPEG1.0 Layer-3, 64Kbits/s, 44100Hz, JointStereo";
  struct Case {
    const char* what;
    Bytes window;
    std::uint64_t audioEnd;
    const char* format;
    const char* time;
  };
  const Case cases[] = {
      {"64 before 128", info64 + mpegHeader(kMpeg1Layer3), 208 + 2880000, k128, "3:00 (180sec) 6906frames"},
      {"MPEG-2 mono, 56 before 32", xingFrame(mono56, 182, 9, 0, 0, 0, "Info") + mpegHeader(mono32),
       182 + 104 * 1000, "MPEG2.0 Layer-3, 32Kbits/s, 22050Hz, Mono", "0:26 (26sec) 1001frames"},
      {"same rate behind it", xingFrame(kMpeg1Layer3, 417, 32, 3, 9, 9, "Info") + mpegHeader(kMpeg1Layer3),
       417 * 100, k128, "0:02 (2sec) 100frames"},
      {"another sample rate behind it", info64 + mpegHeader({3, 3, 9, 1, 0, 1}), 208 * 100, k64,
       "0:02 (2sec) 100frames"},
      {"free format behind it", info64 + mpegHeader({3, 3, 0, 0, 1, 1}), 208 * 100, k64, "0:02 (2sec) 100frames"},
      {"junk behind it", info64 + bytes("junk"), 208 * 100, k64, "0:02 (2sec) 100frames"},
      {"Info alone", info64, 208, k64, "0:00 (0sec) 1frames"},
      {"next header past the audio end", info64 + mpegHeader(kMpeg1Layer3), 208 + 3, k64, "0:00 (0sec) 1frames"},
      {"Xing rules", xingFrame(at64, 208, 32, 3, 6905, 2880000) + mpegHeader(kMpeg1Layer3), 208 + 2880000,
       "MPEG1.0 Layer-3, 127Kbits/s(VBR), 44100Hz, JointStereo", "3:00 (180sec) 6906frames"},
  };
  for (const Case& c : cases) {
    const Result r = analyzeWindow(c.audioEnd, c.window);
    EXPECT_EQ(r.format, c.format) << c.what;
    EXPECT_EQ(r.time, c.time) << c.what;
  }

  // A first frame at the end of the search window has the header behind it
  // read from the file.
  Bytes file = repeat(0, 10240) + info64;
  for (int i = 0; i < 100; ++i) file += mpegFrame(kMpeg1Layer3, 417);
  EXPECT_EQ(analyzeBytes(file).format, k128);
  TempFile onDisk("late.mp3", file);
  MpegAudioInfo info;
  ASSERT_EQ(info.analyze(onDisk.c_str()), 1);
  EXPECT_STREQ(info.getFormatText(), k128);
  EXPECT_STREQ(info.getTimeText(), "0:02 (2sec) 100frames");
}

TEST(MpegAudioInfo, XingCountsAtTheLimits) {
  // 0xFFFFFFFF + 1 wraps to 0 frames: no duration, and the rate stays.
  Result r = analyzeWindow(417 * 100, xingFrame(kMpeg1Layer3, 417, 32, 3, 0xFFFFFFFF, 5000));
  EXPECT_EQ(r.format, "MPEG1.0 Layer-3, 128Kbits/s(VBR), 44100Hz, JointStereo");
  EXPECT_EQ(r.time, "0:00 (0sec) 0frames");
  // A count near 2^32 prints as the unsigned number it is.
  r = analyzeWindow(417 * 100, xingFrame(kMpeg1Layer3, 417, 32, 1, 0xFFFFFFF0, 0));
  EXPECT_NE(r.time.find(" 4294967281frames"), std::string::npos) << r.time;
  // Byte counts beyond 2^29 are averaged without overflow: 2^35 / 1152000 ms.
  r = analyzeWindow(417 * 100, xingFrame(kMpeg1Layer3, 417, 32, 3, 44099, 0xFFFFFFFF));
  EXPECT_EQ(r.format, "MPEG1.0 Layer-3, 29826Kbits/s(VBR), 44100Hz, JointStereo");
}

TEST(MpegAudioInfo, ReadsFilesAndRiffWrappedStreams) {
  Bytes audio;
  for (int i = 0; i < 10; ++i) audio += mpegFrame(kMpeg1Layer3, 417);
  MpegAudioInfo info;
  TempFile plain("a.mp3", audio + id3v1Tag({}));
  ASSERT_EQ(info.analyze(plain.c_str()), 1);
  EXPECT_STREQ(info.getTimeText(), "0:00 (0sec) 10frames");

  // The "data" chunk bounds the audio; the trailing 128 bytes are not
  // examined for a tag, so 300 bytes of trailer never count.
  TempFile wrapped("b.mp3", riffForm("RMP3", riffChunk("fmt ", Bytes(16, 0)) +
                                                 riffChunk("data", audio + Bytes(200, 0))) +
                                bytes("TAG") + Bytes(297, 0));
  ASSERT_EQ(info.analyze(wrapped.c_str()), 1);
  EXPECT_STREQ(info.getTimeText(), "0:00 (0sec) 10frames");

  // A short "data" chunk ends before the first frame: no audio bytes.
  TempFile shortData("c.mp3", riffForm("RMP3", riffChunk("data", Bytes(4, 0)) + audio));
  ASSERT_EQ(info.analyze(shortData.c_str()), 1);
  EXPECT_STREQ(info.getTimeText(), "0:00 (0sec) 0frames");

  EXPECT_EQ(info.analyze("/nonexistent/a.mp3"), 0);
  EXPECT_STREQ(info.getFormatText(), "unknown");
}

}  // namespace
}  // namespace zav::test
