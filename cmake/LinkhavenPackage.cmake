# What `cmake --install` puts under the prefix for a host's engineer, beside the libraries that
# linkhaven_library installs: the headers, the CMake package, the pkg-config file; and the Debian
# package that `cpack -G DEB` makes of it all.
include(CMakePackageConfigHelpers)

set(LINKHAVEN_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/linkhaven-oam)

# Every header of the libraries, by the path the code includes it with; the tests live elsewhere.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/host ${PROJECT_SOURCE_DIR}/oam
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/linkhaven-oam
  FILES_MATCHING PATTERN "*.h")

install(EXPORT linkhaven-oam-targets NAMESPACE linkhaven:: DESTINATION ${LINKHAVEN_CMAKE_DIR})
configure_package_config_file(cmake/linkhaven-oam-config.cmake.in linkhaven-oam-config.cmake
  INSTALL_DESTINATION ${LINKHAVEN_CMAKE_DIR})
write_basic_package_version_file(linkhaven-oam-config-version.cmake COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/linkhaven-oam-config.cmake ${PROJECT_BINARY_DIR}/linkhaven-oam-config-version.cmake
  DESTINATION ${LINKHAVEN_CMAKE_DIR})

# The pkg-config file names the prefix it is installed under, which `cmake --install --prefix` and
# CPack choose only when they install: the prefix is filled in then, the rest now.
if(LINKHAVEN_SANITIZER)
  set(LINKHAVEN_PC_SANITIZER " -fsanitize=${LINKHAVEN_SANITIZER}")
endif()
set(LINKHAVEN_PC_PREFIX "@CMAKE_INSTALL_PREFIX@")
configure_file(cmake/linkhaven-oam.pc.in linkhaven-oam.pc.in @ONLY)
install(CODE "configure_file(\"${PROJECT_BINARY_DIR}/linkhaven-oam.pc.in\" \"${PROJECT_BINARY_DIR}/linkhaven-oam.pc\" @ONLY)")
install(FILES ${PROJECT_BINARY_DIR}/linkhaven-oam.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# One package: the libraries, their development files, the two programs and the service. The
# libraries change their soname at every minor version while the major is 0, and the gateway is
# their one user on an operator's machine, so runtime, -dev and demo packages would only move in
# lockstep.
set(CPACK_PACKAGE_NAME linkhaven-oam)
set(CPACK_PACKAGE_VENDOR "linkhaven")
set(CPACK_PACKAGE_CONTACT "linkhaven OAM team <oam@linkhaven.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "OAM module of the linkhaven telephony gateway, with the demo gateway service")
set(CPACK_PACKAGE_DESCRIPTION "The shared library that a linkhaven gateway's host process loads for its
operations, administration and maintenance, with its host libraries, headers, CMake package and
pkg-config file; the demo gateway as the systemd service linkhaven-gateway, and linkhaven-oamctl,
which runs commands and reads OMs through the SOAP web service urn:SoapOAM.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A host built against the package needs the dependencies' own development files; an operator
# who runs only the gateway installs without them (apt-get --no-install-recommends).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pkg-config, libace-dev, libgsoap-dev, liblog4cplus-dev, libboost-regex-dev")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_BINARY_DIR}/debian/conffiles)
file(WRITE ${PROJECT_BINARY_DIR}/debian/conffiles "${CMAKE_INSTALL_FULL_SYSCONFDIR}/linkhaven/gateway.conf\n")
include(CPack)
