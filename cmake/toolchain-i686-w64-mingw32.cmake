# Cross-building the Windows plug-ins: 32-bit, the deliverable.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(ZAV_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/ZavMingw.cmake)

# Tests whose command is a target run as "wine <program.exe> args" where
# this machine runs 32-bit programs and has Debian's wine32:i386 (its loader
# is /usr/lib/wine/wine). Elsewhere they are reported as not run.
find_program(ZAV_WINE32 NAMES wine PATHS /usr/lib/wine NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(ZAV_WINE32)
  execute_process(COMMAND ${ZAV_WINE32} --version RESULT_VARIABLE zav_wine32_fails
                  OUTPUT_QUIET ERROR_QUIET)
  if(NOT zav_wine32_fails)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${ZAV_WINE32})
  endif()
endif()
