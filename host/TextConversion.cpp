#include "TextConversion.h"

#include <cerrno>
#include <cstdint>

namespace zav::host {

namespace {

constexpr unsigned kCodePageShiftJis = 932;
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD
const iconv_t kNoDecoder = reinterpret_cast<iconv_t>(-1);

bool isAscii(std::string_view bytes) {
  for (const char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// Length of the valid UTF-8 sequence at the start of `bytes`, or 0.
std::size_t utf8SequenceLength(std::string_view bytes) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); };
  const std::uint8_t lead = byte(0);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  std::uint8_t low = 0x80;
  std::uint8_t high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing past U+10FFFF
  } else {
    return 0;
  }
  if (bytes.size() < length) return 0;
  if (byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

// `bytes` with every invalid sequence replaced by U+FFFD.
std::string sanitizedUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  while (!bytes.empty()) {
    const std::size_t length = utf8SequenceLength(bytes);
    if (length == 0) {
      out += kReplacement;
      bytes.remove_prefix(1);
    } else {
      out.append(bytes.substr(0, length));
      bytes.remove_prefix(length);
    }
  }
  return out;
}

// CP932's user-defined area (lead bytes F0-F9) and the IBM extensions that
// iconv reads into the private-use area: text holding them is almost never
// Japanese, but Windows-1252 that happens to pair up.
bool holdsPrivateUse(std::string_view utf8) {
  for (std::size_t i = 0; i + 1 < utf8.size(); ++i) {
    const auto lead = static_cast<std::uint8_t>(utf8[i]);
    const auto next = static_cast<std::uint8_t>(utf8[i + 1]);
    if (lead == 0xEE || (lead == 0xEF && next >= 0x80 && next <= 0xA3)) return true;
  }
  return false;
}

bool holdsCp932LeadByte(std::string_view bytes) {
  for (const char c : bytes) {
    const auto byte = static_cast<std::uint8_t>(c);
    if ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC)) return true;
  }
  return false;
}

}  // namespace

bool isValidUtf8(std::string_view bytes) {
  while (!bytes.empty()) {
    const std::size_t length = utf8SequenceLength(bytes);
    if (length == 0) return false;
    bytes.remove_prefix(length);
  }
  return true;
}

TextConverter::TextConverter(unsigned codePage, LegacyEncoding legacy, bool keepBytes)
    : utf8CodePage_(codePage != kCodePageShiftJis),
      legacy_(legacy),
      keepBytes_(keepBytes) {}

TextConverter::~TextConverter() = default;

TextConverter::LazyDecoder::~LazyDecoder() {
  if (opened_ && handle_ != kNoDecoder) iconv_close(handle_);
}

iconv_t TextConverter::LazyDecoder::get() {
  if (!opened_) {
    handle_ = iconv_open("UTF-8", encoding_);
    opened_ = true;
  }
  return handle_;
}

Text TextConverter::convert(std::string_view bytes) const {
  if (keepBytes_ || isAscii(bytes)) return {std::string(bytes), std::nullopt};
  if (utf8CodePage_ && isValidUtf8(bytes)) return {std::string(bytes), std::nullopt};
  switch (legacy_) {
    case LegacyEncoding::cp932:
      return finish(bytes, asLegacy(cp932_.get(), bytes));
    case LegacyEncoding::cp1252:
      return finish(bytes, asLegacy(cp1252_.get(), bytes));
    case LegacyEncoding::automatic:
      break;
  }
  if (auto japanese = asCp932(bytes, /*needDoubleByte=*/utf8CodePage_)) {
    return finish(bytes, std::move(*japanese));
  }
  return finish(bytes, asLegacy(cp1252_.get(), bytes));
}

Text TextConverter::convertTitle(std::string_view bytes) const {
  if (keepBytes_ || isAscii(bytes)) return {std::string(bytes), std::nullopt};
  if (utf8CodePage_) return finish(bytes, sanitizedUtf8(bytes));
  return finish(bytes, asLegacy(cp932_.get(), bytes));
}

bool TextConverter::decode(iconv_t decoder, std::string_view bytes, Strictness strictness,
                           std::string& out) {
  if (decoder == kNoDecoder) {
    if (strictness == Strictness::strict) return false;
    for (const char c : bytes) {
      if (static_cast<unsigned char>(c) < 0x80) out += c; else out += kReplacement;
    }
    return true;
  }
  iconv(decoder, nullptr, nullptr, nullptr, nullptr);
  char* in = const_cast<char*>(bytes.data());  // iconv's signature; it only reads
  std::size_t inLeft = bytes.size();
  while (inLeft > 0) {
    char buffer[1024];
    char* outPosition = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t result = iconv(decoder, &in, &inLeft, &outPosition, &outLeft);
    const int error = errno;
    out.append(buffer, static_cast<std::size_t>(outPosition - buffer));
    if (result != static_cast<std::size_t>(-1) || error == E2BIG) continue;
    if (strictness == Strictness::strict) return false;
    out += kReplacement;  // one byte that no rule decodes; go on after it
    ++in;
    --inLeft;
    iconv(decoder, nullptr, nullptr, nullptr, nullptr);
  }
  return true;
}

std::optional<std::string> TextConverter::asCp932(std::string_view bytes,
                                                  bool needDoubleByte) const {
  if (needDoubleByte && !holdsCp932LeadByte(bytes)) return std::nullopt;
  std::string out;
  out.reserve(bytes.size() * 3 / 2);
  if (!decode(cp932_.get(), bytes, Strictness::strict, out) || holdsPrivateUse(out)) {
    return std::nullopt;
  }
  return out;
}

std::string TextConverter::asLegacy(iconv_t decoder, std::string_view bytes) const {
  std::string out;
  out.reserve(bytes.size() * 2);
  decode(decoder, bytes, Strictness::replacing, out);
  return out;
}

Text TextConverter::finish(std::string_view bytes, std::string converted) const {
  if (converted == bytes) return {std::move(converted), std::nullopt};
  return {std::move(converted), std::string(bytes)};
}

}  // namespace zav::host
