# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Quillet developers

# Included by cpack (CPACK_PROJECT_CONFIG_FILE): adds the libraries the program and its module
# link, as dpkg-shlibdeps names their packages, to the package's Depends.
# QUILLET_SHLIBDEPS_BINARIES: the built program and module; QUILLET_SHLIBDEPS_WORKDIR: a scratch
# folder (dpkg-shlibdeps wants a debian/control file there, which may be empty).
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
find_program(QUILLET_DPKG_SHLIBDEPS dpkg-shlibdeps REQUIRED)
file(MAKE_DIRECTORY ${QUILLET_SHLIBDEPS_WORKDIR}/debian)
file(WRITE ${QUILLET_SHLIBDEPS_WORKDIR}/debian/control "")
execute_process(COMMAND ${QUILLET_DPKG_SHLIBDEPS} -O ${QUILLET_SHLIBDEPS_BINARIES}
                WORKING_DIRECTORY ${QUILLET_SHLIBDEPS_WORKDIR}
                OUTPUT_VARIABLE shlibdeps ERROR_VARIABLE shlibdeps_errors
                RESULT_VARIABLE failed OUTPUT_STRIP_TRAILING_WHITESPACE)
if(failed OR NOT shlibdeps MATCHES "shlibs:Depends=(.+)")
  message(FATAL_ERROR "dpkg-shlibdeps failed: ${shlibdeps_errors}")
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${CPACK_DEBIAN_PACKAGE_DEPENDS}, ${CMAKE_MATCH_1}")
