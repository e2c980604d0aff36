# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Quillet developers

# The distribution's hardening flags, as Debian's own packages are built with them: what
# dpkg-buildflags gives with every hardening feature on (fortify, stack protector, format checks,
# relro and bind-now), less what it gives with them all off, so that its optimisation and
# debugging flags do not override the build type's. PIE needs no flag: Debian's compilers make
# position-independent programs by default, and lintian checks the package for it.
# Debug builds leave them out (fortify needs optimisation), as do the sanitizer and fuzzing
# builds, which check the same faults in their own way.
option(QUILLET_HARDENING "Build with the distribution's hardening flags (dpkg-buildflags)" ON)

# quillet_hardening_flags(VAR FLAG): the hardening part of dpkg-buildflags' FLAG (CXXFLAGS ...).
function(quillet_hardening_flags out flag)
  foreach(setting on off)
    if(setting STREQUAL on)
      set(features "hardening=+all")
    else()
      set(features "hardening=-all")
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=${features}
                            ${QUILLET_DPKG_BUILDFLAGS} --get ${flag}
                    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE
                    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "dpkg-buildflags --get ${flag} failed")
    endif()
    separate_arguments(flags_${setting} UNIX_COMMAND "${flags}")
  endforeach()
  list(REMOVE_ITEM flags_on ${flags_off})
  set(${out} ${flags_on} PARENT_SCOPE)
endfunction()

if(QUILLET_HARDENING AND NOT QUILLET_SANITIZE AND NOT QUILLET_FUZZ
   AND NOT CMAKE_BUILD_TYPE STREQUAL "Debug")
  find_program(QUILLET_DPKG_BUILDFLAGS dpkg-buildflags)
  if(QUILLET_DPKG_BUILDFLAGS)
    quillet_hardening_flags(hardening_cpp CPPFLAGS)
    quillet_hardening_flags(hardening_cxx CXXFLAGS)
    quillet_hardening_flags(hardening_ld LDFLAGS)
    add_compile_options(${hardening_cpp} ${hardening_cxx})
    add_link_options(${hardening_ld})
    string(JOIN " " shown ${hardening_cpp} ${hardening_cxx} ${hardening_ld})
    message(STATUS "Hardening flags: ${shown}")
  else()
    message(STATUS "Hardening flags: none (no dpkg-buildflags, package dpkg-dev)")
  endif()
endif()
