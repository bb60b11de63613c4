// The eleven entry points, the same in every plug-in module. Each asks the
// module's definition and never lets an error or exception out: the host
// only ever sees a result.
#include "PluginDefinition.h"
#include "Platform.h"
#include "ZavContract.h"

namespace {

const zav::PluginDefinition& plugin() { return zav::thisPlugin(); }

constexpr const char* kEmpty = "";

// Drops everything of the previous file; the stream-close status.
int closeCurrentFile() noexcept {
  try {
    plugin().properties.resetValues();
    return plugin().closeFile();
  } catch (...) {
    return 0;
  }
}

}  // namespace

extern "C" {

const char* ZAVgetName(void) { return plugin().name; }

int ZAVgetSupportType(void) { return zav::kSupportType; }

int ZAVcheckSuffix(const char* suffix) {
  if (suffix == nullptr) return 0;
  for (const char* claimed : plugin().suffixes) {
    if (zav::platform::compareBytes(suffix, claimed, 3) == 0) return 1;
  }
  return 0;
}

const char* ZAVgetDefaultSuffix(void) { return plugin().defaultSuffix; }

int ZAVopen(const char* path) {
  closeCurrentFile();
  if (path == nullptr) return 0;
  try {
    const int found = plugin().open(path);
    if (found == 0) plugin().properties.resetValues();
    return found;
  } catch (...) {
    closeCurrentFile();
    return 0;
  }
}

const char* ZAVgetLine(void) {
  try {
    return plugin().nextLine();
  } catch (...) {
    return nullptr;
  }
}

int ZAVclose(void) { return closeCurrentFile(); }

int ZAVgetPropertyCount(void) { return plugin().properties.count(); }

int ZAVgetPropertyKey(int index) { return plugin().properties.key(index); }

const char* ZAVgetPropertyTitle(int index) {
  try {
    return plugin().properties.title(index);
  } catch (...) {
    return kEmpty;
  }
}

const char* ZAVgetPropertyValue(int index) {
  return plugin().properties.value(index);
}

}  // extern "C"
