// The host's text rules: how plug-in bytes become UTF-8, and how texts are
// escaped for line-based output.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "Hex.h"
#include "TextConversion.h"
#include "TextEscape.h"

namespace zav::host {
namespace {

constexpr unsigned kUtf8 = 65001;
constexpr unsigned kShiftJis = 932;

struct ConversionCase {
  const char* what;
  unsigned codePage;
  LegacyEncoding legacy;
  std::string bytes;
  std::string text;
  bool keepsRaw;
};

TEST(TextConverter, ReadsEachTextByTheFirstRuleThatFits) {
  const LegacyEncoding automatic = LegacyEncoding::automatic;
  const ConversionCase cases[] = {
      {"ASCII", kUtf8, automatic, "plain", "plain", false},
      {"UTF-8 under UTF-8", kUtf8, automatic, "Caf\xC3\xA9", "Caf\xC3\xA9", false},
      {"Shift-JIS", kUtf8, automatic, "\x93\xfa\x96\x7b", "\xe6\x97\xa5\xe6\x9c\xac", true},
      {"half-width kana alone is not enough", kUtf8, automatic, "\xb1\xb2", "\xc2\xb1\xc2\xb2", true},
      {"user-defined area means Windows-1252", kUtf8, automatic, "Bj\xF6rk", "Bj\xC3\xB6rk", true},
      {"undecodable", kUtf8, automatic, "a\x81", "a\xEF\xBF\xBD", true},
      {"half-width kana under CP932", kShiftJis, automatic, "\xb1\xb2", "\xef\xbd\xb1\xef\xbd\xb2", true},
      {"UTF-8 bytes under CP932", kShiftJis, automatic, "\xC3\xA9", "\xef\xbe\x83\xef\xbd\xa9", true},
      {"forced Windows-1252", kUtf8, LegacyEncoding::cp1252, "\x93\xfa", "\xe2\x80\x9c\xc3\xba", true},
      {"forced CP932", kUtf8, LegacyEncoding::cp932, "\xb1\x82", "\xef\xbd\xb1\xEF\xBF\xBD", true},
      {"forcing leaves UTF-8 alone", kUtf8, LegacyEncoding::cp1252, "\xC3\xA9", "\xC3\xA9", false},
  };
  for (const ConversionCase& c : cases) {
    const TextConverter converter(c.codePage, c.legacy);
    const Text text = converter.convert(c.bytes);
    EXPECT_EQ(text.text, c.text) << c.what << ": " << test::hex(text.text);
    EXPECT_EQ(text.raw, c.keepsRaw ? std::optional<std::string>(c.bytes) : std::nullopt) << c.what;
    EXPECT_TRUE(isValidUtf8(text.text)) << c.what;
  }
}

TEST(TextConverter, ReadsTitlesInThePluginsCodePageAndKeepsBytesWhenAsked) {
  EXPECT_EQ(TextConverter(kShiftJis, LegacyEncoding::cp1252).convertTitle("\xc0\xb2\xc4\xd9").text,
            "\xef\xbe\x80\xef\xbd\xb2\xef\xbe\x84\xef\xbe\x99");  // ﾀｲﾄﾙ
  EXPECT_EQ(TextConverter(kUtf8, LegacyEncoding::automatic).convertTitle("x\xff").text, "x\xEF\xBF\xBD");
  const TextConverter keeping(kUtf8, LegacyEncoding::automatic, /*keepBytes=*/true);
  EXPECT_EQ(keeping.convert("Bj\xF6rk").text, "Bj\xF6rk");
  EXPECT_FALSE(keeping.convert("Bj\xF6rk").raw);
}

TEST(TextEscape, EscapesControlBytesAndTheBackslashOnly) {
  const struct {
    std::string text;
    TextForm form;
    std::string shown;
  } cases[] = {
      {"a\nb\rc", TextForm::utf8, "a\\nb\\rc"},
      {"tab\tstays", TextForm::utf8, "tab\tstays"},
      {"\x1b[31m\x7f\x01", TextForm::utf8, "\\x1b[31m\\x7f\\x01"},
      {"back\\slash", TextForm::utf8, "back\\\\slash"},
      {"csi \xc2\x9b and \xc3\xa9", TextForm::utf8, "csi \\u009b and \xc3\xa9"},
      {"bytes \xc2\x9b\x82\x5c", TextForm::bytes, "bytes \xc2\x9b\x82\\\\"},
      {"\x95\x5c\\\n", TextForm::shiftJisBytes, "\x95\x5c\\\\\\n"},  // 表, then \ and LF
  };
  for (const auto& c : cases) EXPECT_EQ(escaped(c.text, c.form), c.shown) << c.text;
}

}  // namespace
}  // namespace zav::host
