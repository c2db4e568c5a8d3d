# Runs one golden case: PROGRAM with CASE.in on standard input, its screen written to SCREEN. When
# CASE.args exists, its words are the program's arguments.
# Teaching mode lays its lines out in COLUMNS when standard output is no terminal (a file here):
# the screens are recorded 80 columns wide, whatever the machine running the tests has set.
set(ENV{COLUMNS} 80)
set(arguments "")
if(EXISTS ${CASE}.args)
    file(READ ${CASE}.args arguments)
    separate_arguments(arguments UNIX_COMMAND "${arguments}")
endif()
execute_process(COMMAND timeout 10 ${PROGRAM} ${arguments}
                INPUT_FILE ${CASE}.in
                OUTPUT_FILE ${SCREEN}
                RESULT_VARIABLE status)
file(READ ${CASE}.status expected_status)
string(STRIP "${expected_status}" expected_status)
if(NOT "${status}" STREQUAL "${expected_status}")
    message(FATAL_ERROR "exit status ${status}, expected ${expected_status} (124: timed out)")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${SCREEN} ${CASE}.out
                RESULT_VARIABLE differs)
if(differs)
    message(FATAL_ERROR "screen differs from ${CASE}.out; see ${SCREEN}")
endif()
