#!/bin/sh
# wine-fixture.sh start|stop WINE64 WINESERVER
# Starts one wineserver and the prefix's services with their output sent
# away, so each test program after it starts in a fraction of a second and
# ctest does not wait on services that hold its output pipe open.
# WINEPREFIX and the rest come from the test's environment.
set -e
case "$1" in
  start)
    mkdir -p "$WINEPREFIX"
    "$3" -p60 </dev/null >/dev/null 2>&1       # stays up until 60 s idle
    "$2" wineboot -i </dev/null >/dev/null 2>&1 ;;
  stop)
    "$3" -k 2>/dev/null || true ;;
  *)
    echo "usage: $0 start|stop WINE64 WINESERVER" >&2
    exit 2 ;;
esac
