#include "PluginModule.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

namespace zav::test {


PluginModule::PluginModule(const std::string& path, int flags) {
  handle_ = dlopen(path.c_str(), flags != 0 ? flags : RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) {
    ADD_FAILURE() << "cannot load " << path << ": " << dlerror();
    return;
  }
  void* handle = handle_;
  const auto lookup = [handle](const char* symbol) { return dlsym(handle, symbol); };
  if (const char* missing = resolveEntryPoints(lookup, *this)) {
    ADD_FAILURE() << "missing entry point " << missing;
  }
}

PluginModule::~PluginModule() {
  if (handle_ != nullptr) dlclose(handle_);
}

std::string PluginModule::value(int key) const {
  for (int i = 0; i < getPropertyCount(); ++i) {
    if (getPropertyKey(i) == key) return getPropertyValue(i);
  }
  return "<no such key>";
}

std::vector<std::string> PluginModule::lines() const {
  std::vector<std::string> out;
  for (const char* line = getLine(); line != nullptr; line = getLine()) out.emplace_back(line);
  return out;
}

std::vector<std::pair<int, std::string>> PluginModule::nonEmptyValues() const {
  std::vector<std::pair<int, std::string>> out;
  for (int i = 0; i < getPropertyCount(); ++i) {
    const char* value = getPropertyValue(i);
    if (value[0] != 0) out.emplace_back(getPropertyKey(i), value);
  }
  return out;
}

}  // namespace zav::test
