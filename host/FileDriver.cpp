#include "FileDriver.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "PropertyKeys.h"
#include "Suffix.h"

namespace zav::host {

namespace {

// Our own code for "it exists, but is no regular file"; errno values are positive.
constexpr int kNotRegular = -1;

std::string_view text(const char* pluginText) {
  return pluginText != nullptr ? std::string_view(pluginText) : std::string_view();
}

// Lines keep their LF, and a text that ends with one is followed by an empty
// line that carries nothing; a blank line of the text arrives as "\n".
void readLines(const PluginEntryPoints& plugin, const TextConverter& converter,
               FileRecord& record) {
  for (const char* line = plugin.getLine(); line != nullptr; line = plugin.getLine()) {
    std::string_view content = line;
    if (content.empty()) continue;
    if (content.back() == '\n') content.remove_suffix(1);
    record.lines.push_back(converter.convert(content));
  }
}

void readProperties(const PluginEntryPoints& plugin, const TextConverter& converter,
                    FileRecord& record) {
  const int count = plugin.getPropertyCount();
  for (int index = 0; index < count; ++index) {
    const int key = plugin.getPropertyKey(index);
    const std::string_view title = text(plugin.getPropertyTitle(index));
    const std::string_view value = text(plugin.getPropertyValue(index));
    if (value.empty()) continue;
    RecordProperty property;
    property.key = key;
    property.title = converter.convertTitle(title);
    property.name = propertyName(record.plugin, key);
    property.value = converter.convert(value);
    record.properties.push_back(std::move(property));
  }
}

}  // namespace

const char* FileCheck::reason() const {
  return error == kNotRegular ? "not a regular file" : std::strerror(error);
}

FileCheck checkFile(const FileEntry& entry) {
  FileCheck check;
  const char* path = entry.path.c_str();
  if (entry.known) {
    check.size = entry.known->size;
    check.modified = entry.known->modified;
  } else {
    struct stat status {};
    if (stat(path, &status) != 0) {
      check.error = errno;
      return check;
    }
    check.size = status.st_size;
    check.modified = status.st_mtim.tv_sec;
    if (!S_ISREG(status.st_mode)) {
      check.error = kNotRegular;
      return check;
    }
  }
  return check;
}

bool checkReadable(const FileEntry& entry, FileCheck& check) {
  if (check.error == 0 && faccessat(AT_FDCWD, entry.path.c_str(), R_OK, AT_EACCESS) != 0) {
    check.error = errno;
  }
  return check.error == 0;
}

const Plugin* claimantOf(const PluginList& plugins, const std::string& path) {
  const auto suffix = claimSuffix(path);
  return suffix ? findClaimant(plugins, *suffix) : nullptr;
}

FileRecord fileRecord(const FileEntry& entry, const TextConverter& converter, FileCheck& check) {
  FileRecord record;
  record.path = converter.convert(entry.path);
  record.relativePath = converter.convert(entry.relativePath);
  check = checkFile(entry);
  record.size = check.size;
  record.modified = check.modified;
  return record;
}

FileRecord inspectFile(const PluginList& plugins, const FileEntry& entry,
                       const TextConverter& converter) {
  FileCheck check;
  FileRecord record = fileRecord(entry, converter, check);
  if (check.error != 0) {
    record.status = FileStatus::unreadable;
    record.reason = check.reason();
    return record;
  }
  const Plugin* plugin = claimantOf(plugins, entry.path);
  if (plugin == nullptr) {
    record.status = checkReadable(entry, check) ? FileStatus::unclaimed : FileStatus::unreadable;
    if (check.error != 0) record.reason = check.reason();
    return record;
  }
  const PluginEntryPoints& entryPoints = plugin->entryPoints();
  record.plugin = converter.convert(plugin->name()).text;
  record.openResult = entryPoints.open(entry.path.c_str());
  readLines(entryPoints, converter, record);
  readProperties(entryPoints, converter, record);
  entryPoints.close();
  const bool found = !record.properties.empty() || !record.lines.empty();
  if (!found && !checkReadable(entry, check)) {
    // As if no plug-in had been asked: it could not have read the file.
    record.plugin.clear();
    record.openResult = 0;
    record.status = FileStatus::unreadable;
    record.reason = check.reason();
    return record;
  }
  record.status = found ? FileStatus::ok : FileStatus::noMetadata;
  return record;
}

FileStatus driveFile(const PluginList& plugins, const FileEntry& entry, FileCheck& check) {
  check = checkFile(entry);
  const std::string& path = entry.path;
  if (check.error != 0) return FileStatus::unreadable;
  const Plugin* plugin = claimantOf(plugins, path);
  if (plugin == nullptr) {
    return checkReadable(entry, check) ? FileStatus::unclaimed : FileStatus::unreadable;
  }
  const PluginEntryPoints& entryPoints = plugin->entryPoints();
  entryPoints.open(path.c_str());
  bool found = false;
  while (entryPoints.getLine() != nullptr) found = true;
  const int count = entryPoints.getPropertyCount();
  for (int index = 0; index < count; ++index) {
    entryPoints.getPropertyKey(index);
    entryPoints.getPropertyTitle(index);
    if (const char* value = entryPoints.getPropertyValue(index); value != nullptr && *value != 0) {
      found = true;
    }
  }
  entryPoints.close();
  if (!found && !checkReadable(entry, check)) return FileStatus::unreadable;
  return FileStatus::ok;
}

}  // namespace zav::host
