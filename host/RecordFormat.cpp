#include "RecordFormat.h"

#include <ctime>

#include <nlohmann/json.hpp>

namespace zav::host {

namespace {

using Json = nlohmann::ordered_json;

void putText(Json& object, const char* name, const Text& text) {
  object[name] = text.text;
  if (text.raw) object[std::string(name) + "_raw"] = hexBytes(*text.raw);
}

Json linesJson(const FileRecord& record, bool raw) {
  Json lines = Json::array();
  for (const Text& line : record.lines) {
    if (!raw) {
      lines.push_back(line.text);
    } else if (line.raw) {
      lines.push_back(hexBytes(*line.raw));
    } else {
      lines.push_back(nullptr);
    }
  }
  return lines;
}

}  // namespace

void appendRecordText(std::string& out, const FileRecord& record, TextForm form) {
  appendEscaped(out, record.path.text, form);
  switch (record.status) {
    case FileStatus::ok:
    case FileStatus::noMetadata:
      out += ": " + record.plugin + " open=" + std::to_string(record.openResult) + "\n";
      break;
    case FileStatus::unclaimed:
      out += ": unclaimed\n";
      return;
    case FileStatus::unreadable:
    case FileStatus::failed:
      out += ": ";
      out += statusName(record.status);
      out += " (" + record.reason + ")\n";
      return;
  }
  for (const Text& line : record.lines) {
    out += "  | ";
    appendEscaped(out, line.text, form);
    out += '\n';
  }
  for (const RecordProperty& property : record.properties) {
    out += "  ";
    appendEscaped(out, property.title.text, form);
    out += ": ";
    appendEscaped(out, property.value.text, form);
    out += '\n';
  }
}

Json recordJson(const FileRecord& record) {
  Json object;
  putText(object, "path", record.path);
  putText(object, "relative_path", record.relativePath);
  object["size"] = record.size;
  object["mtime"] = utcTimestamp(record.modified);
  object["plugin"] = record.plugin.empty() ? Json(nullptr) : Json(record.plugin);
  object["open"] = record.hasOpenResult() ? Json(record.openResult) : Json(nullptr);
  object["status"] = statusName(record.status);
  if (!record.reason.empty()) object["reason"] = record.reason;
  Json properties = Json::array();
  for (const RecordProperty& property : record.properties) {
    Json entry;
    entry["key"] = property.key;
    entry["name"] = property.name;
    putText(entry, "title", property.title);
    entry["value"] = property.value.text;
    if (property.value.raw) entry["raw"] = hexBytes(*property.value.raw);
    properties.push_back(std::move(entry));
  }
  object["properties"] = std::move(properties);
  object["lines"] = linesJson(record, /*raw=*/false);
  for (const Text& line : record.lines) {
    if (!line.raw) continue;
    object["lines_raw"] = linesJson(record, /*raw=*/true);  // null where a line is unchanged
    break;
  }
  return object;
}

std::string jsonLine(const Json& object) {
  return object.dump(-1, ' ', false, Json::error_handler_t::replace) + '\n';
}

std::string hexBytes(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 0xF];
  }
  return hex;
}

std::string utcTimestamp(std::int64_t secondsSinceEpoch) {
  const std::time_t time = static_cast<std::time_t>(secondsSinceEpoch);
  std::tm parts{};
  char text[32] = "";
  if (gmtime_r(&time, &parts) != nullptr) std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
  return text;
}

}  // namespace zav::host
