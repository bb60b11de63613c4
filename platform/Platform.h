// The few system services the plug-ins need, behind one interface: the
// system's ANSI code page and its multibyte-aware text helpers, UTF-16
// conversion, string resources and read-only file access. The POSIX side
// stands in for the Windows calls; the Win32 side uses them directly.
#ifndef ZAV_PLATFORM_PLATFORM_H
#define ZAV_PLATFORM_PLATFORM_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zav::platform {

// --- ANSI code page -------------------------------------------------------

inline constexpr unsigned kCodePageShiftJis = 932;
inline constexpr unsigned kCodePageUtf8 = 65001;

// The system's ANSI code page (GetACP). Fixed for the life of the process.
unsigned ansiCodePage();

// True when `byte` starts a multibyte character in the ANSI code page.
bool isLeadByte(std::uint8_t byte);

// The next character after `p`: a lead byte with its valid trail byte(s)
// counts as one. Never steps over a NUL; a lead byte followed by a NUL, an
// LF or an invalid trail byte counts as one byte.
const char* nextChar(const char* p);

// Compares at most `maxBytes` bytes, stopping early at a terminator; 0 when
// equal. Byte order is unsigned; a character is never split at the limit.
int compareBytes(const char* a, const char* b, std::size_t maxBytes);

// The first occurrence of the single-byte character `c` in `text`, walking
// character by character so a trail byte never matches; null when absent.
const char* findChar(const char* text, char c);

// Converts UTF-16 code units (host order) to the ANSI code page. A surrogate
// pair converts as one character; a character the code page cannot hold,
// or a lone surrogate, becomes '?'.
std::string wideToAnsi(std::u16string_view units);

// --- String resources -----------------------------------------------------

using ModuleHandle = const void*;

// The handle of the loaded module with this file name ("zavaudio.dll"), or
// null when the calling module is not that module (GetModuleHandleA).
ModuleHandle moduleHandle(const char* fileName);

// Loads string `id` of `module` into `buffer` converted to the ANSI code page,
// cut to bufferSize - 1 bytes and NUL-terminated (LoadStringA). Returns the
// bytes copied; 0 when the module or the string is missing.
int loadString(ModuleHandle module, unsigned id, char* buffer, int bufferSize);

// --- Files ----------------------------------------------------------------

// A file opened for reading only, other readers allowed; closed when the
// object goes. Offsets are 64-bit; the readers decide how much they trust.
class ReadOnlyFile {
 public:
  explicit ReadOnlyFile(const char* path);
  ~ReadOnlyFile();
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

  bool isOpen() const;
  // The file's size in bytes, or nothing when it cannot be had.
  std::optional<std::uint64_t> size();
  // Moves to an absolute offset; false (position unchanged) on failure.
  bool seek(std::uint64_t offset);
  std::optional<std::uint64_t> tell();
  // Reads up to `count` bytes; the number read (short at end of file), or
  // nothing when the read call itself fails.
  std::optional<std::size_t> read(void* buffer, std::size_t count);
  // As read, at `offset`, in one call that needs no seek. The position is
  // unspecified afterwards.
  std::optional<std::size_t> readAt(std::uint64_t offset, void* buffer, std::size_t count);

#if defined(_WIN32)
  // The system's handle, for the system's own file I/O over the same file.
  void* nativeHandle() const { return handle_; }
#endif

 private:
#if defined(_WIN32)
  void* handle_;
#else
  int fd_;
  // From the check at open, so that asking for the size costs no call.
  std::optional<std::uint64_t> size_;
#endif
};

}  // namespace zav::platform

#endif
