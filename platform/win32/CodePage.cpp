// The ANSI code page and its text helpers through the system's own calls.
// Where the system calls differ from the shared contract (a lead byte before
// an LF or an invalid trail byte, UTF-8 as the ANSI code page, surrogate
// pairs), the contract wins, so both sides give the same bytes.
#include <windows.h>

#include <array>
#include <cstring>
#include <string>

#include "CodePageSide.h"
#include "Platform.h"

namespace zav::platform {

namespace {

bool isUtf8() { return ansiCodePage() == kCodePageUtf8; }

// UTF-8 as an ANSI code page: the system treats it as single-byte, while
// the contract steps over whole sequences.
std::size_t utf8SequenceLength(const char* p) {
  const auto lead = static_cast<std::uint8_t>(*p);
  std::size_t length = 1;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2;
  else if (lead >= 0xE0 && lead <= 0xEF) length = 3;
  else if (lead >= 0xF0 && lead <= 0xF4) length = 4;
  for (std::size_t i = 1; i < length; ++i) {
    if ((static_cast<std::uint8_t>(p[i]) & 0xC0) != 0x80) return 1;
  }
  return length;
}

// True when the byte after the lead byte at `p` may end the character.
// CharNextA pairs a lead byte with whatever follows it; the contract does
// not, and for Shift-JIS it knows the trail bytes exactly.
bool isValidTrail(const char* p) {
  const auto trail = static_cast<std::uint8_t>(p[1]);
  if (trail == '\n' || trail == 0) return false;
  if (ansiCodePage() != kCodePageShiftJis) return true;
  return (trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFC);
}

}  // namespace

unsigned ansiCodePage() {
  static const unsigned codePage = GetACP();
  return codePage;
}

bool isLeadByte(std::uint8_t byte) {
  if (isUtf8()) return byte >= 0xC2 && byte <= 0xF4;
  return IsDBCSLeadByte(byte) != FALSE;
}

namespace side {

std::size_t characterLength(const char* p) {
  if (*p == 0) return 1;
  if (isUtf8()) return utf8SequenceLength(p);
  const char* next = CharNextA(p);
  if (next - p == 2 && !isValidTrail(p)) return 1;
  return next > p ? static_cast<std::size_t>(next - p) : 1;
}

void appendCharacter(const char16_t* units, std::size_t count, std::string& out) {
  const auto* wide = reinterpret_cast<const wchar_t*>(units);
  std::array<char, 8> converted{};
  int length = 0;
  if (isUtf8()) {
    // The composition flag is refused for UTF-8, as is a default character.
    length = WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(count), converted.data(),
                                 static_cast<int>(converted.size()), nullptr, nullptr);
  } else {
    BOOL usedDefault = FALSE;
    length = WideCharToMultiByte(CP_ACP, WC_COMPOSITECHECK, wide, static_cast<int>(count), converted.data(),
                                 static_cast<int>(converted.size()), nullptr, &usedDefault);
    if (usedDefault) length = 0;
  }
  if (length <= 0) {
    out += '?';
    return;
  }
  out.append(converted.data(), static_cast<std::size_t>(length));
}

}  // namespace side

}  // namespace zav::platform
