// The list files the whole-process benchmarks read: one path a line.
#ifndef ZAV_BENCH_FILELIST_H
#define ZAV_BENCH_FILELIST_H

#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

namespace zav::bench {

// Calls `visit(path)` for each non-empty line of `listPath` ("-": standard
// input). Returns false when the list cannot be read.
template <typename Visit>
bool forEachListedFile(const std::string& listPath, Visit&& visit) {
  std::ifstream file;
  std::istream* in = &std::cin;
  if (listPath != "-") {
    file.open(listPath);
    if (!file) return false;
    in = &file;
  }
  std::string path;
  while (std::getline(*in, path)) {
    if (!path.empty()) visit(path);
  }
  return !in->bad();
}

// The text after the last dot of the file name, with ASCII letters
// upper-cased; empty when the name has no dot.
inline std::string upperSuffix(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.rfind('.');
  std::string suffix(dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1));
  for (char& c : suffix) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return suffix;
}

}  // namespace zav::bench

#endif
