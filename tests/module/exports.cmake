# cmake -DNM=<nm> -DLIBRARY=<libquil.so> -P exports.cmake
#
# The module exports init_module and exit_module and nothing else: a host finds
# the two by name, and any other symbol would be an ABI nobody promised.
execute_process(COMMAND "${NM}" -D --defined-only "${LIBRARY}"
                OUTPUT_VARIABLE listing ERROR_VARIABLE error RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${NM} cannot list ${LIBRARY}: ${error}")
endif()
string(REPLACE "\n" ";" lines "${listing}")
set(exported "")
foreach(line IN LISTS lines)
    # "address type name"; the linker's own section markers are not the module's.
    if(NOT line MATCHES "^[0-9a-fA-F]* *([A-Za-z]) (.+)$")
        continue()
    endif()
    set(name "${CMAKE_MATCH_2}")
    if(name MATCHES "^(_init|_fini|__bss_start|_edata|_end|QUIL_[0-9.]+)$")
        continue()
    endif()
    list(APPEND exported "${name}")
endforeach()
list(SORT exported)
if(NOT exported STREQUAL "exit_module;init_module")
    string(JOIN "\n  " shown ${exported})
    message(FATAL_ERROR "${LIBRARY} exports:\n  ${shown}\nexpected exactly exit_module and init_module")
endif()
message(STATUS "${LIBRARY} exports exactly init_module and exit_module")
