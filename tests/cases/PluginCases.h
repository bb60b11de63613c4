// The cases both systems run through the loaded plug-in modules: each
// plug-in's constants and catalogue, and files written by the test with the
// property values and lines expected from them. Expected texts are the
// bytes a Shift-JIS (code page 932) system gets.
#ifndef ZAV_TESTS_CASES_PLUGINCASES_H
#define ZAV_TESTS_CASES_PLUGINCASES_H

#include <string>
#include <vector>

#include "Bytes.h"
#include "PropertyKeys.h"

namespace zav::cases {

using test::Bytes;

enum class Plugin { audio, rtf };

struct CatalogueRow {
  PropertyKey key;
  std::string title;  // Shift-JIS bytes
};

struct PluginConstants {
  Plugin plugin;
  const char* moduleFileName;
  const char* name;
  const char* defaultSuffix;
  std::vector<CatalogueRow> rows;
  std::vector<const char*> claimedSuffixes;
  std::vector<const char*> refusedSuffixes;
};

const PluginConstants& constantsOf(Plugin plugin);

struct ExpectedValue {
  PropertyKey key;
  std::string value;  // bytes
};

struct FileCase {
  const char* fileName;  // ASCII; the suffix decides what the plug-in reads
  Plugin plugin;
  Bytes content;
  int openResult;
  // Every key not listed reads empty.
  std::vector<ExpectedValue> values;
  // Each line up to the null that ends them; audio has none.
  std::vector<std::string> lines;
};

// In the order they are run: some cases depend on the one before (state
// that must not leak from one file to the next).
const std::vector<FileCase>& fileCases();

}  // namespace zav::cases

#endif
