# The packages, made by CPack from the install rules: on Linux a .deb and a
# .tar.gz of the same /usr tree; from the Windows builds a ZIP with both DLLs
# at its root. The version is the project's.
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The zav developers")
set(CPACK_PACKAGE_CONTACT "The zav developers <zav@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "disc catalog with metadata plug-ins for MP3, WAV, AVI and RTF files")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_STRIP_FILES ON)

if(WIN32)
  set(CPACK_PACKAGE_NAME zav-plugins)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME zav-plugins-${PROJECT_VERSION}-win32)
  # Unpacked, the DLLs are at hand to copy: no folder around them.
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  # The DLLs as they were built and tested, not stripped again.
  set(CPACK_STRIP_FILES OFF)
else()
  set(CPACK_PACKAGE_NAME zavcat)
  set(CPACK_GENERATOR DEB TGZ)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE zav_architecture
                  OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(NOT zav_architecture)
    set(zav_architecture ${CMAKE_SYSTEM_PROCESSOR})
  endif()
  set(CPACK_PACKAGE_FILE_NAME zavcat-${PROJECT_VERSION}-linux-${zav_architecture})
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"zavcat scans discs into an SQLite catalog with full-text search (Japanese
included), through two plug-ins: zavaudio reads ID3v1 and ID3v2 tags, MPEG
audio frames and the INFO lists of WAV and AVI files; zavrtfp reads RTF
documents' information and text. It lists, searches and exports the
catalog as JSON or CSV.")
  # Dependencies from the shared libraries zavcat and the plug-ins link
  # (dpkg-shlibdeps, from dpkg-dev).
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()

include(CPack)
