// The host's side of the contract: the eleven entry points of one loaded
// plug-in, resolved by name through whatever the system offers (dlsym,
// GetProcAddress).
#ifndef ZAV_COMMON_ZAVENTRYPOINTS_H
#define ZAV_COMMON_ZAVENTRYPOINTS_H

#include <type_traits>

namespace zav {

struct ZavEntryPoints {
  const char* (*getName)() = nullptr;
  int (*getSupportType)() = nullptr;
  int (*checkSuffix)(const char*) = nullptr;
  const char* (*getDefaultSuffix)() = nullptr;
  int (*open)(const char*) = nullptr;
  const char* (*getLine)() = nullptr;
  int (*close)() = nullptr;
  int (*getPropertyCount)() = nullptr;
  int (*getPropertyKey)(int) = nullptr;
  const char* (*getPropertyTitle)(int) = nullptr;
  const char* (*getPropertyValue)(int) = nullptr;
};

// Resolves all eleven through `lookup(name)`, which gives the symbol's
// address or null. Returns the first name that is missing, or null when the
// module has them all.
template <typename Lookup>
const char* resolveEntryPoints(Lookup&& lookup, ZavEntryPoints& e) {
  const char* missing = nullptr;
  auto bind = [&](const char* name, auto& target) {
    void* symbol = reinterpret_cast<void*>(lookup(name));
    if (symbol == nullptr && missing == nullptr) missing = name;
    target = reinterpret_cast<std::remove_reference_t<decltype(target)>>(symbol);
  };
  bind("ZAVgetName", e.getName);
  bind("ZAVgetSupportType", e.getSupportType);
  bind("ZAVcheckSuffix", e.checkSuffix);
  bind("ZAVgetDefaultSuffix", e.getDefaultSuffix);
  bind("ZAVopen", e.open);
  bind("ZAVgetLine", e.getLine);
  bind("ZAVclose", e.close);
  bind("ZAVgetPropertyCount", e.getPropertyCount);
  bind("ZAVgetPropertyKey", e.getPropertyKey);
  bind("ZAVgetPropertyTitle", e.getPropertyTitle);
  bind("ZAVgetPropertyValue", e.getPropertyValue);
  return missing;
}

}  // namespace zav

#endif
