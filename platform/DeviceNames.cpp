#include "DeviceNames.h"

#include <algorithm>
#include <string>

namespace zav::platform {

namespace {

std::u16string_view fileNameOf(std::u16string_view path) {
  const std::size_t separator = path.find_last_of(u"\\/");
  if (separator != std::u16string_view::npos) return path.substr(separator + 1);
  if (path.size() >= 2 && path[1] == u':') return path.substr(2);
  return path;
}

char16_t upper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

bool isPortDigit(char16_t c) {
  return (c >= u'1' && c <= u'9') || c == u'\u00B9' || c == u'\u00B2' || c == u'\u00B3';
}

}  // namespace

bool isDeviceName(std::u16string_view path) {
  std::u16string_view base = fileNameOf(path);
  base = base.substr(0, base.find_first_of(u".:"));
  while (!base.empty() && base.back() == u' ') base.remove_suffix(1);
  std::u16string name(base);
  std::transform(name.begin(), name.end(), name.begin(), upper);

  for (std::u16string_view device : {u"CON", u"PRN", u"AUX", u"NUL", u"CONIN$", u"CONOUT$"}) {
    if (name == device) return true;
  }
  return name.size() == 4 && (name.starts_with(u"COM") || name.starts_with(u"LPT")) &&
         isPortDigit(name[3]);
}

}  // namespace zav::platform
