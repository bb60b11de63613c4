#include "Id3v2Tag.h"

#include <gtest/gtest.h>

#include "Id3Bytes.h"
#include "TempFile.h"

namespace zav::test {
namespace {

using namespace std::string_view_literals;
using audio::Id3v2Tag;

std::string title(const Id3v2Tag& tag) {
  std::string text;
  return tag.getTitle(text);
}

TEST(Id3v2Tag, SyncsafeAndUnsynchronisationHelpers) {
  const std::uint8_t size[4] = {0x00, 0x00, 0x07, 0x68};
  EXPECT_EQ(Id3v2Tag::readSyncsafe(size), 1000u);
  const std::pair<Bytes, Bytes> cases[] = {
      {{0xFF, 0x00}, {0xFF}},
      {{0xFF, 0x00, 0x00}, {0xFF, 0x00}},  // only the 00 right after FF goes
      {{0xFF, 0xFF, 0x00}, {0xFF, 0xFF}},
      {{0x00, 0xFF, 0xE0, 0x00}, {0x00, 0xFF, 0xE0, 0x00}},
      {{0x41, 0xFF, 0x00, 0x42, 0xFF, 0x00, 0xFF}, {0x41, 0xFF, 0x42, 0xFF, 0xFF}},  // runs between
      {{0x41, 0x42, 0xFF}, {0x41, 0x42, 0xFF}},
  };
  for (auto [in, out] : cases) {
    in.resize(Id3v2Tag::removeUnsynchronisation(in.data(), in.size()));
    EXPECT_EQ(in, out);
  }
}

TEST(Id3v2Tag, AcceptsVersionsUpTo230) {
  const struct {
    int major, revision;
    bool accepted;
  } cases[] = {{3, 0, true}, {2, 0, true}, {2, 0x7F, true}, {0, 0, true}, {3, 1, false},
               {4, 0, false}, {2, 0x80, false}, {0, 0x80, false}};
  for (const auto& c : cases) {
    Id3v2Tag tag;
    EXPECT_EQ(tag.parse(id3v2Tag(id3v2Text("TIT2", "T"), {.major = c.major, .revision = c.revision})),
              c.accepted ? 1 : 0)
        << c.major << "." << c.revision;
    if (c.accepted) {
      EXPECT_EQ(tag.versionWord(), c.major * 256 + c.revision);
    }
  }
}

TEST(Id3v2Tag, Version22FramesAreReadInTheLaterLayout) {
  // "TT2" with a three-byte size is not a "TIT2" frame in the 2.3 layout.
  Id3v2Tag tag;
  ASSERT_EQ(tag.parse(id3v2Tag(bytes("TT2\0\0\x06\0Title"sv), {.major = 2})), 1);
  EXPECT_EQ(title(tag), "");
}

TEST(Id3v2Tag, FrameLoop) {
  struct Case {
    const char* what;
    Bytes body;
    const char* title;
    std::size_t frames;
  };
  const Case cases[] = {
      {"first of two frames wins", id3v2Text("TIT2", "One") + id3v2Text("TIT2", "Two"), "One", 1},
      {"padding ends the list", id3v2Text("TIT2", "T") + repeat(0, 20), "T", 1},
      {"overrunning frame ends the list",
       id3v2Text("TIT2", "T") + bytes("TPE1") + be32(100) + be16(0) + bytes("x"), "T", 1},
      {"huge size cannot wrap", id3v2Text("TIT2", "T") + bytes("TPE1") + be32(0xFFFFFFFF) + be16(0),
       "T", 1},
      {"fewer than ten bytes left", id3v2Text("TIT2", "T") + bytes("TPE1\0"sv), "T", 1},
      {"text stops at an inner 0", id3v2Text("TIT2", "ab\0cd"sv), "ab", 1},
      {"trailing terminator", id3v2Text("TIT2", "ab\0"sv), "ab", 1},
      {"encoding 1 yields nothing", id3v2Frame("TIT2", bytes("\x01\xFF\xFE" "a\0"sv)), "", 1},
      {"empty frame is stored", id3v2Frame("TIT2", {}), "", 1},
      {"empty body", {}, "", 0},
  };
  for (const Case& c : cases) {
    Id3v2Tag tag;
    ASSERT_EQ(tag.parse(id3v2Tag(c.body)), 1) << c.what;
    EXPECT_EQ(tag.present(), 1);
    EXPECT_EQ(title(tag), c.title) << c.what;
    EXPECT_EQ(tag.frameCount(), c.frames) << c.what;
  }
}

TEST(Id3v2Tag, UnsynchronisationIsUndoneBeforeFramesAreRead) {
  // The frame size counts the bytes after the inserted zeros are removed.
  const Bytes body = id3v2Text("TIT2", "a\xFF" "b") + id3v2Text("TPE1", "\xFF\xFF");
  Id3v2Tag tag;
  ASSERT_EQ(tag.parse(id3v2Tag(body, {.unsynchronise = true})), 1);
  EXPECT_EQ(title(tag), "a\xFF" "b");
  std::string artist;
  EXPECT_STREQ(tag.getArtist(artist), "\xFF\xFF");
}

TEST(Id3v2Tag, ExtendedHeaderIsSkipped) {
  // Size 6: the first frame starts at body offset 10.
  const Bytes extended = syncsafe(6) + repeat(0xAA, 6);
  Id3v2Tag tag;
  ASSERT_EQ(tag.parse(id3v2Tag(id3v2Text("TIT2", "T"), {.extendedHeader = extended})), 1);
  EXPECT_EQ(title(tag), "T");
  EXPECT_EQ(tag.header()[5], 0);  // the flag is cleared in the kept header

  // Unsynchronisation applies to the extended header as well.
  const Id3v2Options synced{.unsynchronise = true, .extendedHeader = syncsafe(2) + Bytes{0xFF, 0xFF}};
  ASSERT_EQ(tag.parse(id3v2Tag(id3v2Text("TIT2", "U"), synced)), 1);
  EXPECT_EQ(title(tag), "U");

  const std::pair<Bytes, Bytes> overruns[] = {{syncsafe(100), id3v2Text("TIT2", "T")}, {Bytes{0, 0}, {}}};
  for (const auto& [overrun, frames] : overruns) {
    ASSERT_EQ(tag.parse(id3v2Tag(frames, {.extendedHeader = overrun})), 1);
    EXPECT_EQ(tag.frameCount(), 0u);
  }
}

TEST(Id3v2Tag, GenreSkipsReferencesInParentheses) {
  const std::pair<const char*, const char*> cases[] = {
      {"(13)", ""},
      {"(13)Pop", "Pop"},
      {"Pop", "Pop"},
      {"(17)(18)", ""},
      {"Rock (live) mix", " mix"},
      {"(13", "(13"},
      {"((13)Pop", "((13)Pop"},  // a doubled '(' starts nothing and stays
      {"(13)((Remix", "((Remix"},
      {"(a(b)c", "c"},  // no nesting
  };
  for (const auto& [content, genre] : cases) {
    Id3v2Tag tag;
    ASSERT_EQ(tag.parse(id3v2Tag(id3v2Text("TCON", content))), 1);
    std::string text = "stale";
    EXPECT_STREQ(tag.getGenre(text), genre) << content;
  }
}

TEST(Id3v2Tag, CommentAndLinkTakeTheTextAfterTheDescription) {
  const struct {
    const char* id;
    Bytes data;
    const char* text;
  } cases[] = {
      {"COMM", bytes("\0eng\0abc"sv), "abc"},
      {"COMM", bytes("\0engdesc\0abc"sv), "abc"},
      {"COMM", bytes("\0eng"sv), ""},
      {"COMM", bytes("\0engdesc"sv), ""},  // no 0 after the description
      {"COMM", bytes("\x01" "eng\0abc"sv), ""},
      {"WXXX", bytes("\0home\0http://example.org"sv), "http://example.org"},
      {"WXXX", bytes("\0home"sv), ""},
  };
  for (const auto& c : cases) {
    Id3v2Tag tag;
    ASSERT_EQ(tag.parse(id3v2Tag(id3v2Frame(c.id, c.data))), 1);
    std::string text;
    tag.getFrameText(c.id, text);
    EXPECT_EQ(text, c.text) << c.id;
  }
  // Only "COMM" among the 'C' frames, and no other first letter, is read.
  Id3v2Tag tag;
  ASSERT_EQ(tag.parse(id3v2Tag(id3v2Frame("COMX", bytes("\0eng\0abc"sv)) +
                               id3v2Frame("APIC", bytes("\0x"sv)))), 1);
  std::string text;
  tag.getFrameText("COMX", text);
  EXPECT_EQ(text, "");
  tag.getFrameText("APIC", text);
  EXPECT_EQ(text, "");
}

TEST(Id3v2Tag, ReadsFromTheStartOfAFileOnly) {
  const Bytes tag = id3v2Tag(id3v2Text("TIT2", "Title"));
  Id3v2Tag reader;
  TempFile file("a.mp3", tag + repeat(0, 50));
  ASSERT_EQ(reader.readTag(file.c_str()), 1);
  EXPECT_EQ(title(reader), "Title");
  // A body declared larger than the rest of the file is no tag; nothing of
  // that size is allocated.
  TempFile cut("b.mp3", Bytes(tag.begin(), tag.end() - 1));
  EXPECT_EQ(reader.readTag(cut.c_str()), 0);
  TempFile huge("c.mp3", bytes("ID3\x03\0\0\x7F\x7F\x7F\x7F"sv) + repeat(0, 10));
  EXPECT_EQ(reader.readTag(huge.c_str()), 0);
  TempFile later("d.mp3", repeat(0, 10) + tag);
  EXPECT_EQ(reader.readTag(later.c_str()), 0);
  EXPECT_EQ(reader.present(), 0);
  EXPECT_EQ(reader.versionWord(), 0x0300);
}

}  // namespace
}  // namespace zav::test
