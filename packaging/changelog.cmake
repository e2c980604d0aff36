# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Quillet developers

# Writes the Debian changelog of the package from CHANGELOG.md:
#   cmake -DINPUT=CHANGELOG.md -DOUTPUT=changelog -DPACKAGE=quillet -DMAINTAINER="Name <mail>"
#         -P changelog.cmake
# Each "## VERSION (YYYY-MM-DD)" heading starts an entry, each "- " item becomes a "  * " line and
# an item's indented lines follow it. The entry's date is noon UTC of its day.
foreach(var INPUT OUTPUT PACKAGE MAINTAINER)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "changelog.cmake: ${var} is not set")
  endif()
endforeach()

file(STRINGS "${INPUT}" lines)
set(text "")
set(entry_open FALSE)
set(trailer "")

macro(close_entry)
  if(entry_open)
    string(APPEND text "\n${trailer}\n")
    set(entry_open FALSE)
  endif()
endmacro()

foreach(line IN LISTS lines)
  if(line MATCHES "^## ([^ ]+) \\(([0-9]+-[0-9]+-[0-9]+)\\)$")
    close_entry()
    set(version "${CMAKE_MATCH_1}")
    execute_process(COMMAND date -u -R -d "${CMAKE_MATCH_2} 12:00"
                    OUTPUT_VARIABLE when OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "changelog.cmake: ${CMAKE_MATCH_2} is not a date")
    endif()
    if(NOT text STREQUAL "")
      string(APPEND text "\n")
    endif()
    string(APPEND text "${PACKAGE} (${version}) unstable; urgency=medium\n\n")
    set(trailer " -- ${MAINTAINER}  ${when}")
    set(entry_open TRUE)
  elseif(entry_open AND line MATCHES "^- (.*)$")
    string(APPEND text "  * ${CMAKE_MATCH_1}\n")
  elseif(entry_open AND line MATCHES "^  +(.*)$")
    string(APPEND text "    ${CMAKE_MATCH_1}\n")
  endif()
endforeach()
close_entry()
if(text STREQUAL "")
  message(FATAL_ERROR "changelog.cmake: no \"## VERSION (DATE)\" entry in ${INPUT}")
endif()
file(WRITE "${OUTPUT}" "${text}")
