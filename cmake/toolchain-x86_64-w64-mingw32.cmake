# Cross-building the Windows plug-ins: 64-bit, the twin that runs under wine64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(ZAV_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/ZavMingw.cmake)

# Tests whose command is a target run as "wine64 <program.exe> args". Only
# wine64 itself: the "wine" launcher needs 32-bit support this kernel lacks.
find_program(ZAV_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(ZAV_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ZAV_WINE64})
endif()
