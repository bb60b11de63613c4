#include "Suffix.h"

namespace zav::host {

namespace {

// Only ASCII letters change, so bytes of multibyte characters stay as they are.
char upperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

std::optional<std::string> claimSuffix(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot + 1 == name.size()) return std::nullopt;
  std::string suffix(name.substr(dot + 1));
  for (char& c : suffix) c = upperAscii(c);
  return suffix;
}

}  // namespace zav::host
