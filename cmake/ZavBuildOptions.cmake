# Warnings for every target of ours, and the whole-build sanitizer mode.
add_library(zav_build_options INTERFACE)
target_compile_options(zav_build_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
  $<$<BOOL:${ZAV_WERROR}>:-Werror>)

if(ZAV_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "ZAV_FUZZ needs Clang (libFuzzer): configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  # Every library is instrumented, not only the harnesses: the fuzzer must
  # see the coverage of the code under test, and the sanitizers must watch it.
  add_compile_options(-fsanitize=fuzzer-no-link)
  set(ZAV_SANITIZE ON)
endif()

if(ZAV_SANITIZE)
  # Whole build, so that modules loaded by a sanitized host share its runtime.
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
