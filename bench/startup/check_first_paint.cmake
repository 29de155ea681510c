# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DPLUGIN_PATH=... -DPROGRAM=... -DMINIMAL=... -P check_first_paint.cmake
# Runs both programs offscreen with the quit-after-first-paint plugin and
# fails unless each ends by itself with status 0 after painting its first
# window: the program its title window, the minimal program one of the same size.

function(run_to_first_paint executable out_painted)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
            QT_PLUGIN_PATH=${PLUGIN_PATH} QT_QPA_GENERIC_PLUGINS=quitafterfirstpaint:report
            ${executable}
        RESULT_VARIABLE status
        ERROR_VARIABLE errors
        TIMEOUT 30)
    if(NOT status STREQUAL "0")
        message(FATAL_ERROR "${executable} did not end with status 0: ${status}\n${errors}")
    endif()
    if(NOT errors MATCHES "first paint: (\"[^\"]*\" [0-9]+x[0-9]+)")
        message(FATAL_ERROR "${executable} ended without the plugin seeing a paint:\n${errors}")
    endif()
    message(STATUS "${executable}: ${CMAKE_MATCH_1}")
    set(${out_painted} "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()

run_to_first_paint(${PROGRAM} program)
run_to_first_paint(${MINIMAL} minimal)
if(NOT program MATCHES "^\"Form1\" ([0-9]+x[0-9]+)$")
    message(FATAL_ERROR "the first window painted is not the title window: ${program}")
endif()
set(program_size ${CMAKE_MATCH_1})
if(NOT minimal MATCHES " ${program_size}$")
    message(FATAL_ERROR "the minimal window is not ${program_size}: ${minimal}")
endif()
