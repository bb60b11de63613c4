// A plug-in module loaded as the host loads it, with its eleven entry points.
#ifndef ZAV_TESTS_SUPPORT_PLUGINMODULE_H
#define ZAV_TESTS_SUPPORT_PLUGINMODULE_H

#include <string>
#include <utility>
#include <vector>

#include "PropertyKeys.h"
#include "ZavEntryPoints.h"

namespace zav::test {

// A key's number, as the entry points give it: short for tables of
// expected values.
constexpr int k(PropertyKey key) { return keyNumber(key); }

// The entry points are the public members inherited from ZavEntryPoints.
class PluginModule : public ZavEntryPoints {
 public:
  // dlopen flags default to RTLD_NOW | RTLD_LOCAL. Fails the test (and
  // leaves the pointers null) when the module or an entry point is missing.
  explicit PluginModule(const std::string& path, int flags = 0);
  ~PluginModule();
  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;

  bool loaded() const { return handle_ != nullptr; }


  // The value of the first row with `key`; "<no such key>" when none has it.
  std::string value(int key) const;
  // Every line until null, in order.
  std::vector<std::string> lines() const;
  // (key, value) of every row whose value is not empty.
  std::vector<std::pair<int, std::string>> nonEmptyValues() const;

 private:
  void* handle_ = nullptr;
};

}  // namespace zav::test

#endif
