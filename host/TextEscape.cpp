#include "TextEscape.h"

#include <cstdint>

namespace zav::host {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

void appendHexEscape(std::string& out, std::string_view prefix, unsigned value, int digits) {
  out += prefix;
  for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out += kHexDigits[(value >> shift) & 0xF];
}

bool isShiftJisPair(std::string_view text, std::size_t i) {
  if (i + 1 >= text.size()) return false;
  const auto lead = static_cast<std::uint8_t>(text[i]);
  const auto trail = static_cast<std::uint8_t>(text[i + 1]);
  const bool isLead = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
  return isLead && trail >= 0x40 && trail <= 0xFC && trail != 0x7F;
}

}  // namespace

void appendEscaped(std::string& out, std::string_view text, TextForm form) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<std::uint8_t>(text[i]);
    if (form == TextForm::shiftJisBytes && isShiftJisPair(text, i)) {
      out += text.substr(i, 2);  // a double-byte character, whatever its second byte
      ++i;
    } else if (byte == '\\') {
      out += "\\\\";
    } else if (byte == '\n') {
      out += "\\n";
    } else if (byte == '\r') {
      out += "\\r";
    } else if ((byte < 0x20 && byte != '\t') || byte == 0x7F) {
      appendHexEscape(out, "\\x", byte, 2);
    } else if (form == TextForm::utf8 && byte == 0xC2 && i + 1 < text.size() &&
               static_cast<std::uint8_t>(text[i + 1]) <= 0x9F &&
               static_cast<std::uint8_t>(text[i + 1]) >= 0x80) {
      appendHexEscape(out, "\\u", static_cast<std::uint8_t>(text[++i]), 4);
    } else {
      out += static_cast<char>(byte);
    }
  }
}

std::string escaped(std::string_view text, TextForm form) {
  std::string out;
  out.reserve(text.size());
  appendEscaped(out, text, form);
  return out;
}

}  // namespace zav::host
