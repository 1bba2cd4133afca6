# Runs cpack -G DEB into OUT_DIR (emptied first) and checks the package: every
# file the host layout needs is in it, at its place, and the control fields
# name the libraries the program needs. Prints the package's file list.
foreach(var BUILD_DIR OUT_DIR CPACK DPKG_DEB INSTALL_DIR BIN_DIR DATA_DIR)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "check_package: ${var} is not set")
    endif()
endforeach()

file(REMOVE_RECURSE ${OUT_DIR})
file(MAKE_DIRECTORY ${OUT_DIR})
execute_process(COMMAND ${CPACK} -G DEB -B ${OUT_DIR}
                WORKING_DIRECTORY ${BUILD_DIR}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cpack failed (${result}):\n${output}\n${errors}")
endif()
file(GLOB packages ${OUT_DIR}/*.deb)
list(LENGTH packages count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one .deb in ${OUT_DIR}, found ${count}: ${packages}")
endif()

execute_process(COMMAND ${DPKG_DEB} --contents ${packages}
                RESULT_VARIABLE result OUTPUT_VARIABLE listing ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "dpkg-deb --contents failed: ${errors}")
endif()
message("${packages}:\n${listing}")

# Each line ends in "./usr/<path>" (or "./usr/<path> -> <target>" for a link).
set(prefix ./usr)
set(app ${prefix}/${INSTALL_DIR})
set(expected
    "${app}/koral"
    "${app}/libquil.so"
    "${app}/settings.xml"
    "${app}/data/QuilBlack/language/en.qm"
    "${app}/data/QuilBlack/language/de.qm"
    "${app}/data/QuilWhite/language/en.qm"
    "${app}/data/QuilWhite/language/de.qm"
    "${prefix}/${DATA_DIR}/applications/koral.desktop"
    "${prefix}/${DATA_DIR}/icons/hicolor/scalable/apps/koral.svg")
if(EXISTS ${BUILD_DIR}/bin/data/Quil/graphics.rcc)
    list(APPEND expected "${app}/data/Quil/graphics.rcc")
endif()
set(missing)
foreach(path IN LISTS expected)
    string(REGEX REPLACE "([][+.*^$()|?\\\\])" "\\\\\\1" pattern "${path}")
    if(NOT listing MATCHES " ${pattern}(\n| ->|$)")
        list(APPEND missing ${path})
    endif()
endforeach()
# The program is started by name: bin/koral links to the program in the host folder.
file(RELATIVE_PATH link_target /${BIN_DIR} /${INSTALL_DIR}/koral)
string(REGEX REPLACE "([][+.*^$()|?\\\\])" "\\\\\\1" link_pattern "${link_target}")
if(NOT listing MATCHES " ${prefix}/${BIN_DIR}/koral -> ${link_pattern}")
    list(APPEND missing "${prefix}/${BIN_DIR}/koral -> ${link_target}")
endif()
# Nothing of the build tree's tools, tests or benchmarks is shipped.
foreach(unwanted compress_catalogue paint_graphics test_ bench_ quil_core)
    if(listing MATCHES "/${unwanted}")
        list(APPEND missing "(no ${unwanted}* in the package)")
    endif()
endforeach()
if(missing)
    message(FATAL_ERROR "the package lacks or holds wrongly:\n  ${missing}")
endif()

execute_process(COMMAND ${DPKG_DEB} --field ${packages} Package Depends
                OUTPUT_VARIABLE fields)
message("${fields}")
foreach(dependency libqt5widgets5 libqt5gui5 libqt5core5a)
    if(NOT fields MATCHES "${dependency}")
        message(FATAL_ERROR "the package does not depend on ${dependency}:\n${fields}")
    endif()
endforeach()

# The desktop entry starts the program by the name bin/ holds.
execute_process(COMMAND ${DPKG_DEB} --fsys-tarfile ${packages} OUTPUT_FILE ${OUT_DIR}/files.tar)
file(MAKE_DIRECTORY ${OUT_DIR}/root)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${OUT_DIR}/files.tar
                WORKING_DIRECTORY ${OUT_DIR}/root)
file(STRINGS ${OUT_DIR}/root/usr/${DATA_DIR}/applications/koral.desktop entry)
if(NOT entry MATCHES "Exec=koral" OR NOT entry MATCHES "Icon=koral")
    message(FATAL_ERROR "the desktop entry does not start koral with its icon:\n${entry}")
endif()
