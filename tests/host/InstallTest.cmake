# Installs the build into a fresh prefix; the installed zavcat must find its
# plug-ins by itself, and a copy elsewhere through ZAV_PLUGIN_PATH.
# Arguments: BUILD (the build folder), PREFIX (a scratch folder), SAMPLE (a file to show).
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(file bin/zavcat lib/zav/zavaudio.so lib/zav/zavrtfp.so share/man/man1/zavcat.1.gz
        share/bash-completion/completions/zavcat share/doc/zavcat/README.md
        share/doc/zavcat/LICENSE)
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

function(expect_show description)
  execute_process(COMMAND ${ARGN} show ${SAMPLE} OUTPUT_VARIABLE out ERROR_VARIABLE err
                  RESULT_VARIABLE result)
  if(NOT result EQUAL 0 OR NOT out MATCHES ": RTF-P open=1")
    message(FATAL_ERROR "${description}: exit ${result}\n${out}${err}")
  endif()
endfunction()

expect_show("installed" ${PREFIX}/bin/zavcat)
file(COPY ${PREFIX}/bin/zavcat DESTINATION ${PREFIX}/elsewhere)
expect_show("copied, with ZAV_PLUGIN_PATH"
            ${CMAKE_COMMAND} -E env ZAV_PLUGIN_PATH=/nonexistent:${PREFIX}/lib/zav ${PREFIX}/elsewhere/zavcat)
file(REMOVE_RECURSE ${PREFIX})
