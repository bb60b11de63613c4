#include "Id3v1Tag.h"

#include <gtest/gtest.h>

#include "Id3Bytes.h"
#include "TempFile.h"

namespace zav::test {
namespace {

using namespace std::string_view_literals;
using audio::Id3v1Tag;

TEST(Id3v1Tag, TextFieldsStopAtZeroAndTrimOnlyTrailingSpaces) {
  struct Case {
    Bytes title;
    const char* expected;
  };
  const Case cases[] = {
      {bytes("ABCDEFGHIJKLMNOPQRSTUVWXYZabcd"), "ABCDEFGHIJKLMNOPQRSTUVWXYZabcd"},
      {bytes("Song") + repeat(' ', 26), "Song"},
      {bytes("Song  ") + repeat(0, 24), "Song  "},  // trimming starts at the last byte
      {repeat(' ', 30), ""},
      {bytes("A\0B"sv) + repeat(0, 27), "A"},
  };
  for (const Case& c : cases) {
    Bytes tag = id3v1Tag({});
    std::copy(c.title.begin(), c.title.end(), tag.begin() + 3);
    Id3v1Tag reader;
    ASSERT_EQ(reader.parse(tag), 1);
    EXPECT_STREQ(reader.getTitle(), c.expected);
  }
}

TEST(Id3v1Tag, ReadsEveryField) {
  Id3v1Tag reader;
  ASSERT_EQ(reader.parse(id3v1Tag({"Title", "Artist", "Album", "99  ", "Note", 0, 13})), 1);
  EXPECT_STREQ(reader.getArtist(), "Artist");
  EXPECT_STREQ(reader.getAlbum(), "Album");
  EXPECT_STREQ(reader.getYear(), "99");
  EXPECT_STREQ(reader.getComment(), "Note");
  EXPECT_STREQ(reader.getGenre(), "Pop");
  EXPECT_STREQ(reader.getTrack(), "");
  ASSERT_EQ(reader.parse(id3v1Tag({.year = "1999"})), 1);
  EXPECT_STREQ(reader.getYear(), "1999");
}

TEST(Id3v1Tag, Version11TrackTakesTheLastTwoCommentBytes) {
  struct Case {
    std::uint8_t byte125, byte126;
    const char* track;
    const char* comment;
  };
  const Case cases[] = {
      {0, 7, "7", "abcdefghijklmnopqrstuvwxyzAB"},
      {0, 255, "255", "abcdefghijklmnopqrstuvwxyzAB"},
      {0, 0, "", "abcdefghijklmnopqrstuvwxyzAB"},
      {'C', 'D', "", "abcdefghijklmnopqrstuvwxyzABCD"},
  };
  for (const Case& c : cases) {
    Bytes tag = id3v1Tag({.comment = "abcdefghijklmnopqrstuvwxyzAB"});
    tag[125] = c.byte125;
    tag[126] = c.byte126;
    Id3v1Tag reader;
    ASSERT_EQ(reader.parse(tag), 1);
    EXPECT_STREQ(reader.getTrack(), c.track);
    EXPECT_STREQ(reader.getComment(), c.comment);
  }
}

TEST(Id3v1Tag, GenreNames) {
  const std::pair<int, const char*> cases[] = {
      {0, "Blues"}, {40, "Alt. Rock"}, {84, "Fast-Fusion"}, {147, "Synthpop"}, {148, ""}, {255, ""}};
  for (const auto& [genre, name] : cases) {
    Id3v1Tag reader;
    ASSERT_EQ(reader.parse(id3v1Tag({.genre = static_cast<std::uint8_t>(genre)})), 1);
    EXPECT_STREQ(reader.getGenre(), name) << genre;
  }
}

TEST(Id3v1Tag, MarkerIsCaseSensitive) {
  Bytes tag = id3v1Tag({.title = "x"});
  tag[0] = 't';
  tag[1] = 'a';
  tag[2] = 'g';
  Id3v1Tag reader;
  EXPECT_EQ(reader.parse(tag), 0);
  EXPECT_EQ(reader.present(), 0);
  EXPECT_STREQ(reader.getTitle(), "");
}

TEST(Id3v1Tag, ReadsTheLast128BytesOfAFile) {
  const Bytes tag = id3v1Tag({.title = "End"});
  Id3v1Tag reader;
  TempFile exact("a.mp3", tag);
  EXPECT_EQ(reader.readTag(exact.c_str()), 1);
  TempFile longer("b.mp3", repeat(0xFF, 1000) + tag);
  EXPECT_EQ(reader.readTag(longer.c_str()), 1);
  EXPECT_STREQ(reader.getTitle(), "End");
  TempFile tooShort("c.mp3", Bytes(tag.begin(), tag.end() - 1));
  EXPECT_EQ(reader.readTag(tooShort.c_str()), 0);
  // Fewer bytes than a whole tag are never parsed.
  EXPECT_EQ(reader.parse(Bytes(tag.begin(), tag.end() - 1)), 0);
  EXPECT_EQ(reader.present(), 0);
  EXPECT_EQ(reader.readTag("/nonexistent/x.mp3"), 0);
}

}  // namespace
}  // namespace zav::test
