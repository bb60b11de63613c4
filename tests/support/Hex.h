// Bytes shown as upper-case hex pairs ("82 A0"), for texts whose code page
// makes them unreadable in a failure message.
#ifndef ZAV_TESTS_SUPPORT_HEX_H
#define ZAV_TESTS_SUPPORT_HEX_H

#include <cstdio>
#include <string>
#include <string_view>

namespace zav::test {

inline std::string hex(std::string_view text) {
  std::string out;
  char part[4];
  for (unsigned char c : text) {
    std::snprintf(part, sizeof part, "%02X ", c);
    out += part;
  }
  if (!out.empty()) out.pop_back();
  return out;
}

}  // namespace zav::test

#endif
