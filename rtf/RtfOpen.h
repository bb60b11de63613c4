// Opening one file in the RTF plug-in: the document is read in one pass, its
// information strings fill the property slots and its text is served line by
// line until the next open or close.
#ifndef ZAV_RTF_RTFOPEN_H
#define ZAV_RTF_RTFOPEN_H

#include "PropertyTable.h"

namespace zav::rtf {

// The RTF catalogue: 13 rows, each with the destination code that fills it.
std::span<const PropertyRow> rtfCatalogue();

// Reads the document at `path`; `properties` has empty slots. Returns 1 when
// the file could be opened, else 0.
int openRtfFile(const char* path, PropertyTable& properties);

// The next line of the collected text (with its LF), or null at the end.
const char* nextLine();

// Drops the document; returns the stream-close status, which is always 0:
// the file was closed before the open returned.
int closeRtfFile();

}  // namespace zav::rtf

#endif
