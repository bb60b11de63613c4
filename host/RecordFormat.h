// A file's record as zavcat writes it: the text layout and the JSON object.
#ifndef ZAV_HOST_RECORDFORMAT_H
#define ZAV_HOST_RECORDFORMAT_H

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <string>
#include <string_view>

#include "Record.h"
#include "TextEscape.h"

namespace zav::host {

//   PATH: PLUGIN open=RESULT
//     | LINE
//     TITLE: VALUE
//   PATH: unclaimed
//   PATH: unreadable (REASON)
void appendRecordText(std::string& out, const FileRecord& record, TextForm form);

// {"path", "relative_path", "size", "mtime", "plugin", "open", "status",
//  "reason", "properties": [{"key", "name", "title", "value"}], "lines"},
// with "…_raw" members (hex) beside every text that was converted.
nlohmann::ordered_json recordJson(const FileRecord& record);

// One line of JSON Lines. Invalid UTF-8 cannot reach it (a plug-in's name,
// say): it is replaced, never emitted.
std::string jsonLine(const nlohmann::ordered_json& object);

std::string hexBytes(std::string_view bytes);
// "2024-05-01T12:00:00Z"
std::string utcTimestamp(std::int64_t secondsSinceEpoch);

}  // namespace zav::host

#endif
