// The names Windows keeps for its devices. A path whose file name is one of
// them opens the device, in any folder, so the Win32 side refuses such a
// path before asking the system. Written once for both sides, so that every
// system's tests hold it.
#ifndef ZAV_PLATFORM_DEVICENAMES_H
#define ZAV_PLATFORM_DEVICENAMES_H

#include <string_view>

namespace zav::platform {

// True when the file name in `path` (after its last '\' or '/', or after a
// drive "X:") names a device: CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to
// LPT9 (also with a superscript 1, 2 or 3), CONIN$ or CONOUT$, in any
// letter case, as the part before the first dot or colon, with trailing
// spaces ignored.
bool isDeviceName(std::u16string_view path);

}  // namespace zav::platform

#endif
