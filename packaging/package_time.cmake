# Read by CPack as it makes the package (CPACK_PROJECT_CONFIG_FILE). Every time the package holds, of
# its files and of its archives, is the time of the last commit, given to CPack as SOURCE_DATE_EPOCH:
# two packages made from one commit are then the same bytes. A SOURCE_DATE_EPOCH set by the caller
# is kept; a tree without its history gives no time, and the package then holds the time it was made.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
    return()
endif()
execute_process(COMMAND git log -1 --format=%ct
                WORKING_DIRECTORY "${CPACK_TARVELO_SOURCE_DIR}"
                OUTPUT_VARIABLE commitTime OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE status ERROR_QUIET)
if(status EQUAL 0 AND commitTime MATCHES "^[0-9]+$")
    set(ENV{SOURCE_DATE_EPOCH} "${commitTime}")
else()
    message(STATUS "no commit to take the package's time from: the package holds the time it was made")
endif()
