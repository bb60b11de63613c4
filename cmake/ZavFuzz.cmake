# The libFuzzer targets. ZavBuildOptions has already instrumented the whole
# build for coverage and the sanitizers, so a target only adds libFuzzer's
# driver at link time.
#
# zav_add_fuzzer(<target> SOURCES <files...> [LIBRARIES <targets...>]
#                CORPUS <folder> [DICTIONARIES <files...>]
#                [FLAGS <libFuzzer flags...>] [RUNS <name>=<environment> ...])
#
# Each run is one fuzzing session of the target: by default one, named like
# the target without its "fuzz_" prefix; RUNS gives several, each with its
# own environment (e.g. utf16-cp932=LC_ALL=ja_JP.SJIS). Several
# dictionaries are joined into one, since libFuzzer reads one.

add_custom_target(zav_fuzzers)
set_property(GLOBAL PROPERTY ZAV_FUZZ_RUNS "")

function(zav_add_fuzzer target)
  cmake_parse_arguments(F "" "CORPUS" "SOURCES;LIBRARIES;DICTIONARIES;FLAGS;RUNS" ${ARGN})
  add_executable(${target} ${F_SOURCES})
  target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tests/common/fuzz
                             ${PROJECT_SOURCE_DIR}/tests/support)
  target_link_libraries(${target} PRIVATE zav_build_options ${F_LIBRARIES})
  add_dependencies(zav_fuzzers ${target})

  set(dictionary "-")
  if(F_DICTIONARIES)
    set(dictionary ${CMAKE_BINARY_DIR}/fuzz/${target}.dict)
    set(joined "")
    foreach(file IN LISTS F_DICTIONARIES)
      set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
      file(READ ${file} text)
      string(APPEND joined "${text}")
    endforeach()
    file(WRITE ${dictionary} "${joined}")
  endif()

  if(NOT F_RUNS)
    string(REGEX REPLACE "^fuzz_" "" name ${target})
    set(F_RUNS "${name}=-")
  endif()
  set(flags "-")
  if(F_FLAGS)
    list(JOIN F_FLAGS " " flags)
  endif()
  foreach(run IN LISTS F_RUNS)
    string(REGEX MATCH "^([^=]+)=(.*)$" _ "${run}")
    set_property(GLOBAL APPEND PROPERTY ZAV_FUZZ_RUNS
      "${CMAKE_MATCH_1}\t$<TARGET_FILE:${target}>\t${F_CORPUS}\t${dictionary}\t${CMAKE_MATCH_2}\t${flags}")
  endforeach()
endfunction()

# fuzz/runs.tsv: one line per run, "name, program, corpus, dictionary,
# environment, flags" separated by tabs ("-" for none); tools/fuzz.sh reads it.
function(zav_write_fuzz_runs)
  get_property(runs GLOBAL PROPERTY ZAV_FUZZ_RUNS)
  list(JOIN runs "\n" lines)
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/fuzz/runs.tsv CONTENT "${lines}\n")
endfunction()
