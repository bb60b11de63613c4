// Texts in zavcat's line-based output: one file must stay one record, and
// nothing from a file may reach the terminal as a control sequence.
#ifndef ZAV_HOST_TEXTESCAPE_H
#define ZAV_HOST_TEXTESCAPE_H

#include <string>
#include <string_view>

namespace zav::host {

// UTF-8, or the plug-ins' own bytes (in a Shift-JIS code page, a double-byte
// character's second byte may be 0x5C, which is no backslash there).
enum class TextForm { utf8, bytes, shiftJisBytes };

// Appends `text` with every control byte except TAB (below 0x20, and 0x7F)
// and the backslash escaped: \n, \r, \\, \x1b. In UTF-8 text the C1
// controls U+0080 to U+009F, which some terminals obey too, become \u0080.
void appendEscaped(std::string& out, std::string_view text, TextForm form);

std::string escaped(std::string_view text, TextForm form);

}  // namespace zav::host

#endif
