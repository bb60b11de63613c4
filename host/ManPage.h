// The man page of a command line, in roff with the man macros.
#ifndef ZAV_HOST_MANPAGE_H
#define ZAV_HOST_MANPAGE_H

#include <string>
#include <string_view>

#include "CommandLineDoc.h"

namespace zav::host {

// `implied` names the command meant when the first argument names none.
std::string manPage(const CommandLineDoc& doc, std::string_view version, const std::string& implied);

}  // namespace zav::host

#endif
