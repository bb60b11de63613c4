// Plug-in texts to UTF-8. The plug-ins hand over bytes in their code page,
// and bytes from the files pass through them untouched (ID3 "Latin-1" fields
// often hold Shift-JIS or Windows-1252), so the host decides per text how to
// read it and keeps the original bytes whenever the text changed.
#ifndef ZAV_HOST_TEXTCONVERSION_H
#define ZAV_HOST_TEXTCONVERSION_H

#include <iconv.h>

#include <optional>
#include <string>
#include <string_view>

namespace zav::host {

enum class LegacyEncoding { automatic, cp932, cp1252 };

// One text as the host keeps it: UTF-8 (or the plug-in's bytes, when asked
// for them unchanged), with the original bytes when they differ.
struct Text {
  std::string text;
  std::optional<std::string> raw;
};

bool isValidUtf8(std::string_view bytes);

class TextConverter {
 public:
  // `codePage` is the plug-ins' code page (932 or 65001). With `keepBytes`
  // nothing is converted: the texts stay as the plug-ins gave them.
  TextConverter(unsigned codePage, LegacyEncoding legacy, bool keepBytes = false);
  ~TextConverter();
  TextConverter(const TextConverter&) = delete;
  TextConverter& operator=(const TextConverter&) = delete;

  bool keepsBytes() const { return keepBytes_; }

  // Values, lines and paths: valid UTF-8 stays when the code page is UTF-8;
  // otherwise CP932 when the bytes read cleanly as such (no user-defined or
  // private-use characters and, under UTF-8, at least one double-byte
  // character), else Windows-1252. A forced legacy encoding replaces the
  // guess. Bytes no rule decodes become U+FFFD.
  Text convert(std::string_view bytes) const;

  // Titles come from the plug-ins' string tables, in their code page.
  Text convertTitle(std::string_view bytes) const;

 private:
  enum class Strictness { strict, replacing };
  // Appends `bytes` decoded through `decoder` to `out`; in strict mode
  // returns false at the first sequence that does not decode.
  static bool decode(iconv_t decoder, std::string_view bytes, Strictness strictness,
                     std::string& out);
  std::optional<std::string> asCp932(std::string_view bytes, bool needDoubleByte) const;
  std::string asLegacy(iconv_t decoder, std::string_view bytes) const;
  Text finish(std::string_view bytes, std::string converted) const;

  // An iconv decoder opened on first use: loading its module costs as much
  // as reading a few hundred files, and many runs meet no text that needs it.
  class LazyDecoder {
   public:
    explicit LazyDecoder(const char* encoding) : encoding_(encoding) {}
    ~LazyDecoder();
    LazyDecoder(const LazyDecoder&) = delete;
    LazyDecoder& operator=(const LazyDecoder&) = delete;
    iconv_t get();

   private:
    const char* encoding_;
    bool opened_ = false;
    iconv_t handle_{};
  };

  bool utf8CodePage_;
  LegacyEncoding legacy_;
  bool keepBytes_;
  mutable LazyDecoder cp932_{"CP932"};
  mutable LazyDecoder cp1252_{"CP1252"};
};

}  // namespace zav::host

#endif
