// A module that looks like a plug-in from afar: it has a name and claims
// every suffix, but lacks the other entry points, so a host must refuse it.
#include "ZavContract.h"

extern "C" {

const char* ZAVgetName(void) { return "Partial"; }
int ZAVcheckSuffix(const char*) { return 1; }

}  // extern "C"
