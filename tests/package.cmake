# The Debian package: cpack into a folder of the test's own, then the package's
# file list and control fields are checked against the host layout.
find_program(QUIL_DPKG_DEB dpkg-deb)
if(QUIL_DPKG_DEB)
    add_test(NAME test_package
             COMMAND ${CMAKE_COMMAND}
                     -DBUILD_DIR=${CMAKE_BINARY_DIR}
                     -DOUT_DIR=${CMAKE_BINARY_DIR}/test_package
                     -DCPACK=${CMAKE_CPACK_COMMAND}
                     -DDPKG_DEB=${QUIL_DPKG_DEB}
                     -DINSTALL_DIR=${KORAL_INSTALL_DIR}
                     -DBIN_DIR=${CMAKE_INSTALL_BINDIR}
                     -DDATA_DIR=${CMAKE_INSTALL_DATADIR}
                     -P ${CMAKE_CURRENT_SOURCE_DIR}/package/check_package.cmake)
    # cpack stages a whole installation; nothing else may write that folder meanwhile.
    set_tests_properties(test_package PROPERTIES TIMEOUT 600 RUN_SERIAL TRUE)
endif()
