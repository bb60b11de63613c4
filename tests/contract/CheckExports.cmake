# cmake -DNM=<nm> -DMODULE=<module> -P CheckExports.cmake
# Fails unless the module's dynamic symbol table defines exactly the eleven
# entry points, under their plain (unversioned) names.
execute_process(COMMAND ${NM} -D --defined-only ${MODULE}
                OUTPUT_VARIABLE listing RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${NM} failed on ${MODULE}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${listing}")
set(names "")
foreach(line IN LISTS lines)
  if(line MATCHES "^[0-9a-fA-F]* *[A-Za-z] (.+)$")
    list(APPEND names "${CMAKE_MATCH_1}")
  endif()
endforeach()
list(SORT names)
set(expected ZAVcheckSuffix ZAVclose ZAVgetDefaultSuffix ZAVgetLine ZAVgetName
    ZAVgetPropertyCount ZAVgetPropertyKey ZAVgetPropertyTitle ZAVgetPropertyValue
    ZAVgetSupportType ZAVopen)
if(NOT names STREQUAL expected)
  message(FATAL_ERROR "${MODULE} exports:\n  ${names}\nexpected:\n  ${expected}")
endif()
message(STATUS "${MODULE}: exactly the eleven entry points")
