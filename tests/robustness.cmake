# Robustness: a monkey at the sanitizer build of the game, the game's system calls under strace, and a
# million random games of the rules. Which build registers which test:
#   asan preset (TARVELO_SANITIZE): robustness_monkey (label robustness) and the long random games (label long);
#   other presets: robustness_system_calls (label robustness), on the build without sanitizers.
set(ROBUSTNESS_DIR "${CMAKE_CURRENT_SOURCE_DIR}/robustness")

if(TARGET tarvelo AND TARGET tarvelo_driver)
    if(TARVELO_SANITIZE)
        add_executable(tarvelo_monkey "${ROBUSTNESS_DIR}/monkey.cpp")
        target_link_libraries(tarvelo_monkey PRIVATE tarvelo_driver)
        add_test(NAME robustness_monkey
                 COMMAND tarvelo_monkey "$<TARGET_FILE:tarvelo>" "${ROBUSTNESS_DIR}/lsan.supp" 120)
        # The monkey itself is no subject of the test: its own exit is not checked for leaks.
        set_tests_properties(robustness_monkey PROPERTIES LABELS robustness TIMEOUT 480 RUN_SERIAL TRUE
                             ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0")
    else()
        add_executable(tarvelo_syscall_check "${ROBUSTNESS_DIR}/syscall_check.cpp")
        target_link_libraries(tarvelo_syscall_check PRIVATE tarvelo_driver)
        add_test(NAME robustness_system_calls COMMAND tarvelo_syscall_check "$<TARGET_FILE:tarvelo>")
        set_tests_properties(robustness_system_calls PROPERTIES LABELS robustness TIMEOUT 180 RUN_SERIAL TRUE)
    endif()
endif()

if(TARVELO_SANITIZE)
    # The rules' random games again, a million from a seed taken from the clock: `make test-long` runs them,
    # the plain suite does not.
    gtest_discover_tests(quiz_tests TEST_PREFIX "long." TEST_FILTER "*RandomGames*"
                         PROPERTIES LABELS long TIMEOUT 3600 ENVIRONMENT "TARVELO_LONG=1" DISCOVERY_TIMEOUT 60
                         DISCOVERY_MODE PRE_TEST)
endif()
