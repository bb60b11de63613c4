// The bash completion of a command line: a script for bash-completion's
// completions folder.
#ifndef ZAV_HOST_BASHCOMPLETION_H
#define ZAV_HOST_BASHCOMPLETION_H

#include <string>

#include "CommandLineDoc.h"

namespace zav::host {

// `implied` names the command meant when the first argument names none.
std::string bashCompletion(const CommandLineDoc& doc, const std::string& implied);

}  // namespace zav::host

#endif
