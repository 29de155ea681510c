# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when the program needs the widget or print libraries: the command line
# must start without them, and only the windows module may load them.
# Run as: cmake -DBINARY=path/to/lumetra -P check_no_widgets.cmake
find_program(READELF readelf)
if(NOT READELF)
    message(FATAL_ERROR "readelf is missing: install the Debian package binutils")
endif()
execute_process(COMMAND ${READELF} -d ${BINARY} OUTPUT_VARIABLE section RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "readelf could not read ${BINARY}")
endif()
string(REGEX MATCHALL "\\(NEEDED\\)[^\n]*\\[[^]]*\\]" needed "${section}")
if(NOT needed MATCHES "libQt6Gui")
    message(FATAL_ERROR "no libQt6Gui among the libraries ${BINARY} needs: ${needed}")
endif()
foreach(library libQt6Widgets libQt6PrintSupport)
    if(needed MATCHES "${library}")
        message(FATAL_ERROR "${BINARY} needs ${library}: ${needed}")
    endif()
endforeach()
