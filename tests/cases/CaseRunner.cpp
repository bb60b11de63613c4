#include "CaseRunner.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <fstream>
#include <map>
#include <stdexcept>

namespace zav::cases {

namespace {

#if defined(_WIN32)
void* openModule(const std::string& path) { return LoadLibraryA(path.c_str()); }
void* findSymbol(void* module, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}
void closeModule(void* module) { FreeLibrary(static_cast<HMODULE>(module)); }
#else
void* openModule(const std::string& path) { return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL); }
void* findSymbol(void* module, const char* name) { return dlsym(module, name); }
void closeModule(void* module) { dlclose(module); }
#endif

std::string text(const char* p) { return p == nullptr ? "<null>" : std::string(p); }

std::string quoted(const std::string& bytes) {
  std::string out(1, '[');
  out += hex(bytes);
  out += ']';
  return out;
}

}  // namespace

LoadedModule::LoadedModule(const std::string& path) {
  handle_ = openModule(path);
  if (handle_ == nullptr) {
    error_ = "cannot load " + path;
    return;
  }
  const auto lookup = [this](const char* name) { return findSymbol(handle_, name); };
  if (const char* missing = resolveEntryPoints(lookup, entry_)) error_ = std::string("no ") + missing;
}

LoadedModule::~LoadedModule() {
  if (handle_ != nullptr) closeModule(handle_);
}

Failures checkConstants(const EntryPoints& m, const PluginConstants& want) {
  Failures failures;
  auto expect = [&failures](bool ok, const std::string& what) {
    if (!ok) failures.push_back(what);
  };
  expect(text(m.getName()) == want.name, "name " + text(m.getName()));
  expect(m.getSupportType() == 3, "support type " + std::to_string(m.getSupportType()));
  expect(text(m.getDefaultSuffix()) == want.defaultSuffix,
         "default suffix " + text(m.getDefaultSuffix()));
  for (const char* suffix : want.claimedSuffixes) {
    expect(m.checkSuffix(suffix) == 1, std::string("suffix not claimed: ") + suffix);
  }
  for (const char* suffix : want.refusedSuffixes) {
    expect(m.checkSuffix(suffix) == 0, std::string("suffix claimed: ") + suffix);
  }
  expect(m.checkSuffix(nullptr) == 0, "null suffix claimed");

  const int count = m.getPropertyCount();
  expect(count == static_cast<int>(want.rows.size()), "property count " + std::to_string(count));
  for (int i = 0; i < count && i < static_cast<int>(want.rows.size()); ++i) {
    const CatalogueRow& row = want.rows[static_cast<std::size_t>(i)];
    const std::string index = "row " + std::to_string(i);
    expect(m.getPropertyKey(i) == keyNumber(row.key), index + " key " + std::to_string(m.getPropertyKey(i)));
    const std::string title = text(m.getPropertyTitle(i));
    expect(title == row.title, index + " title " + quoted(title) + ", want " + quoted(row.title));
    expect(text(m.getPropertyValue(i)).empty(), index + " value not empty before any file");
  }
  expect(m.getLine() == nullptr, "a line before any file");
  return failures;
}

Failures checkFile(const EntryPoints& m, const FileCase& c, const std::string& path) {
  Failures failures;
  auto fail = [&failures, &c](const std::string& what) {
    failures.push_back(std::string(c.fileName) + ": " + what);
  };
  const int opened = m.open(path.c_str());
  if (opened != c.openResult) fail("open gave " + std::to_string(opened));

  std::size_t line = 0;
  for (const char* got = m.getLine(); got != nullptr; got = m.getLine(), ++line) {
    if (line >= c.lines.size()) {
      fail("extra line " + quoted(got));
      break;
    }
    if (got != c.lines[line]) fail("line " + quoted(got) + ", want " + quoted(c.lines[line]));
  }
  if (line < c.lines.size()) fail("lines end before " + quoted(c.lines[line]));

  std::map<int, std::string> wanted;
  for (const ExpectedValue& v : c.values) wanted[keyNumber(v.key)] = v.value;
  for (int i = 0; i < m.getPropertyCount(); ++i) {
    const int key = m.getPropertyKey(i);
    const std::string got = text(m.getPropertyValue(i));
    const auto found = wanted.find(key);
    const std::string want = found == wanted.end() ? "" : found->second;
    if (got != want) fail("key " + std::to_string(key) + " " + quoted(got) + ", want " + quoted(want));
  }
  if (m.close() != 0) fail("close gave non-zero");
  for (int i = 0; i < m.getPropertyCount(); ++i) {
    if (text(m.getPropertyValue(i)) != "") fail("a value survives close");
  }
  return failures;
}

Failures checkMissingFile(const EntryPoints& m, const std::string& path) {
  Failures failures;
  if (m.open(path.c_str()) != 0) failures.push_back(path + ": missing file opened");
  if (m.getLine() != nullptr) failures.push_back(path + ": a line from a missing file");
  for (int i = 0; i < m.getPropertyCount(); ++i) {
    if (text(m.getPropertyValue(i)) != "") failures.push_back(path + ": a value from a missing file");
  }
  return failures;
}

std::string describeModule(const EntryPoints& m) {
  std::string out = "name [" + hex(text(m.getName())) + "] support " +
                    std::to_string(m.getSupportType()) + " suffix [" +
                    hex(text(m.getDefaultSuffix())) + "]\n";
  for (int i = 0; i < m.getPropertyCount(); ++i) {
    out += "key " + std::to_string(m.getPropertyKey(i)) + " title [" +
           hex(text(m.getPropertyTitle(i))) + "]\n";
  }
  return out;
}

std::string describeFile(const EntryPoints& m, const std::string& path) {
  std::string out = "open " + std::to_string(m.open(path.c_str())) + "\n";
  for (const char* line = m.getLine(); line != nullptr; line = m.getLine()) {
    out += "line [" + hex(line) + "]\n";
  }
  for (int i = 0; i < m.getPropertyCount(); ++i) {
    out += "key " + std::to_string(m.getPropertyKey(i)) + " [" + hex(text(m.getPropertyValue(i))) +
           "]\n";
  }
  out += "close " + std::to_string(m.close()) + "\n";
  return out;
}

std::vector<std::string> writeCaseFiles(const std::string& folder) {
  std::vector<std::string> paths;
  for (const FileCase& c : fileCases()) {
    const std::string path = folder + "/" + c.fileName;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(c.content.data()),
              static_cast<std::streamsize>(c.content.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
    paths.push_back(path);
  }
  return paths;
}

}  // namespace zav::cases
