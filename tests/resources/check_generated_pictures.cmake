# Runs the picture generator into an empty folder and fails unless every file it writes is, byte
# for byte, the copy committed in resources/, and every picture the resource list names is one
# of them. A generator changed without `make pictures`, or a picture edited by hand, fails here.
#
# cmake -DGENERATOR=<make_pictures> -DOUTPUT_DIR=<scratch folder> -DCOMMITTED_DIR=<resources> -P this file

cmake_minimum_required(VERSION 3.25)

foreach(variable IN ITEMS GENERATOR OUTPUT_DIR COMMITTED_DIR)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "${variable} is not set")
    endif()
endforeach()

file(REMOVE_RECURSE "${OUTPUT_DIR}")
execute_process(COMMAND "${GENERATOR}" "${OUTPUT_DIR}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the generator failed: ${result}")
endif()

file(GLOB generated RELATIVE "${OUTPUT_DIR}" "${OUTPUT_DIR}/*")
if(NOT generated)
    message(FATAL_ERROR "the generator wrote nothing into ${OUTPUT_DIR}")
endif()

set(stale "")
foreach(name IN LISTS generated)
    if(NOT EXISTS "${COMMITTED_DIR}/${name}")
        list(APPEND stale "${name} (not committed)")
        continue()
    endif()
    execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${OUTPUT_DIR}/${name}" "${COMMITTED_DIR}/${name}"
                    RESULT_VARIABLE different)
    if(NOT different EQUAL 0)
        list(APPEND stale "${name} (differs)")
    endif()
endforeach()

# The files the game compiles in must all come from the generator.
file(READ "${COMMITTED_DIR}/tarvelo.qrc" qrc)
string(REGEX MATCHALL ">[^<>]+</file>" entries "${qrc}")
foreach(entry IN LISTS entries)
    string(REGEX REPLACE "^>(.*)</file>$" "\\1" name "${entry}")
    if(NOT name IN_LIST generated)
        list(APPEND stale "${name} (listed in tarvelo.qrc but not generated)")
    endif()
endforeach()

list(LENGTH generated count)
if(stale)
    list(JOIN stale "\n  " report)
    message(FATAL_ERROR "resources/ does not match the generator; run `make pictures`:\n  ${report}")
endif()
message(STATUS "all ${count} generated files match resources/")
