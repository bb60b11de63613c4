// A scan worker: a zavcat process that loads its own plug-ins, reads the
// files its parent hands it and sends the records back. The plug-ins keep
// one file's state module-wide, so they cannot share a process between
// threads; and a plug-in that crashes or hangs takes only its worker down.
#ifndef ZAV_HOST_WORKER_H
#define ZAV_HOST_WORKER_H

#include <string>
#include <vector>

#include "ExitStatus.h"

namespace zav::host {

// The first argument that makes zavcat a worker; the next two are the
// plug-in folder and the legacy encoding.
inline constexpr const char* kWorkerArgument = "--zavcat-worker";
// Jobs arrive on this descriptor, records leave on the next.
inline constexpr int kWorkerJobsFd = 3;
inline constexpr int kWorkerRecordsFd = 4;

// Reads jobs until their descriptor ends; returns the exit status.
ExitStatus runWorker(const std::vector<std::string>& arguments);

}  // namespace zav::host

#endif
