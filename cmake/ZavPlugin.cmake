# zav_add_plugin(<target> MODULE_FILE_NAME <name.dll> TITLES <files...>
#                SOURCES <files...> LIBRARIES <targets...>)
#
# Builds one plug-in as a loadable module "<target>.so" (or "<target>.dll")
# exporting exactly the eleven entry points, with its titles as string
# resources generated from the title lists.
include(ZavStringTable)

function(zav_add_plugin target)
  cmake_parse_arguments(P "" "MODULE_FILE_NAME" "TITLES;SOURCES;LIBRARIES" ${ARGN})
  zav_read_titles(titles ${P_TITLES})
  if(WIN32)
    zav_write_resource_script(${target} ${P_MODULE_FILE_NAME} resources "${titles}")
    add_library(${target} SHARED ${P_SOURCES} ${resources}
                ${PROJECT_SOURCE_DIR}/common/PluginExports.cpp
                ${PROJECT_SOURCE_DIR}/common/exports.def)
    # The runtime linked in, so the module imports system DLLs only; the
    # release build also drops its symbols. No link time in the header, so
    # that the same sources give the same bytes, wherever they are built.
    target_link_options(${target} PRIVATE -static -Wl,--no-insert-timestamp
                        $<$<CONFIG:Release,MinSizeRel>:-s>)
  else()
    zav_write_string_table(${target} ${P_MODULE_FILE_NAME} table "${titles}")
    add_library(${target} MODULE ${P_SOURCES} ${table}
                ${PROJECT_SOURCE_DIR}/common/PluginExports.cpp)
    target_link_options(${target} PRIVATE
      -Wl,--version-script=${PROJECT_SOURCE_DIR}/common/exports.map
      -Wl,-Bsymbolic)
    if(NOT ZAV_SANITIZE)
      target_link_options(${target} PRIVATE -Wl,--no-undefined)
    endif()
    set_target_properties(${target} PROPERTIES
      LINK_DEPENDS ${PROJECT_SOURCE_DIR}/common/exports.map)
  endif()
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${target}
                        ZAV_TITLE_FILES "${P_TITLES}"
                        ZAV_MODULE_FILE_NAME ${P_MODULE_FILE_NAME})
  target_link_libraries(${target} PRIVATE zav_common zav_platform zav_build_options
                        ${P_LIBRARIES})
endfunction()
