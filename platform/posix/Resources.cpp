// String resources where modules carry none: each module links its own
// generated table, and a "module handle" is the load address of the module
// that asks, found through one of its own symbols.
#include <dlfcn.h>
#include <strings.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>

#include "Platform.h"
#include "StringTable.h"

namespace zav::platform {

namespace {

ModuleHandle findThisModule() {
  Dl_info info{};
  // The table's accessor lives in the calling module: every module defines
  // its own, and it is never exported.
  if (dladdr(reinterpret_cast<const void*>(&moduleStringTable), &info) != 0 &&
      info.dli_fbase != nullptr) {
    return info.dli_fbase;
  }
  return &moduleStringTable();
}

// A module stays where it was loaded, so it is looked up once.
ModuleHandle thisModule() {
  static const ModuleHandle module = findThisModule();
  return module;
}

// Our own tables are valid UTF-8; a stray byte becomes U+FFFD.
std::u16string utf8ToUtf16(const char* text) {
  std::u16string units;
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  while (*p != 0) {
    char32_t codePoint = 0xFFFD;
    std::size_t length = 1;
    if (*p < 0x80) {
      codePoint = *p;
    } else if ((*p & 0xE0) == 0xC0 && (p[1] & 0xC0) == 0x80) {
      codePoint = (char32_t{*p & 0x1Fu} << 6) | (p[1] & 0x3Fu);
      length = 2;
    } else if ((*p & 0xF0) == 0xE0 && (p[1] & 0xC0) == 0x80 && (p[2] & 0xC0) == 0x80) {
      codePoint = (char32_t{*p & 0x0Fu} << 12) | (char32_t{p[1] & 0x3Fu} << 6) | (p[2] & 0x3Fu);
      length = 3;
    } else if ((*p & 0xF8) == 0xF0 && (p[1] & 0xC0) == 0x80 && (p[2] & 0xC0) == 0x80 &&
               (p[3] & 0xC0) == 0x80) {
      codePoint = (char32_t{*p & 0x07u} << 18) | (char32_t{p[1] & 0x3Fu} << 12) |
                  (char32_t{p[2] & 0x3Fu} << 6) | (p[3] & 0x3Fu);
      length = 4;
    }
    if (codePoint >= 0x10000) {
      units += static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10));
      units += static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
    } else {
      units += static_cast<char16_t>(codePoint);
    }
    p += length;
  }
  return units;
}

// String `id` in the ANSI code page, or null when the table lacks it. The
// code page is fixed for the life of the process, so each string is
// converted once: a catalog asks for every title of every file.
const std::string* ansiString(unsigned id) {
  static std::unordered_map<unsigned, std::string> converted;
  if (const auto found = converted.find(id); found != converted.end()) return &found->second;
  const StringTable& table = moduleStringTable();
  const StringResource* end = table.strings + table.count;
  const StringResource* found = std::find_if(
      table.strings, end, [id](const StringResource& r) { return r.id == id; });
  if (found == end) return nullptr;
  return &converted.emplace(id, wideToAnsi(utf8ToUtf16(found->utf8))).first->second;
}

}  // namespace

ModuleHandle moduleHandle(const char* fileName) {
  if (fileName == nullptr) return nullptr;
  if (strcasecmp(fileName, moduleStringTable().moduleFileName) != 0) return nullptr;
  return thisModule();
}

int loadString(ModuleHandle module, unsigned id, char* buffer, int bufferSize) {
  if (buffer == nullptr || bufferSize <= 0) return 0;
  buffer[0] = 0;
  if (module == nullptr || module != thisModule()) return 0;
  const std::string* converted = ansiString(id);
  if (converted == nullptr) return 0;
  const std::string& text = *converted;
  const std::size_t length = std::min(text.size(), static_cast<std::size_t>(bufferSize - 1));
  std::memcpy(buffer, text.data(), length);
  buffer[length] = 0;
  return static_cast<int>(length);
}

}  // namespace zav::platform
