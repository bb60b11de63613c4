// zavcat's exit statuses, as its help and the README list them.
#ifndef ZAV_HOST_EXITSTATUS_H
#define ZAV_HOST_EXITSTATUS_H

namespace zav::host {

enum class ExitStatus {
  ok = 0,
  // Some path was missing, unreadable or failed; everything else was done
  // and written.
  someFailed = 1,
  // A usage error, or no plug-in could be loaded.
  usage = 2,
  // The catalog could not be written; nothing of this run is in it.
  catalogUnwritable = 3,
  // A scan was interrupted (SIGINT or SIGTERM); the catalog is as it was.
  // 128 + SIGINT, as shells report a program an interrupt ended.
  interrupted = 130,
};

constexpr int exitCode(ExitStatus status) { return static_cast<int>(status); }

}  // namespace zav::host

#endif
