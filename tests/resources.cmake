# Tests of the question screen's pictures and the window icon, read through Qt as compiled into the
# game, and a check that the committed files in resources/ are still exactly what
# tools/make_pictures writes.
# Included from tests/CMakeLists.txt; the pictures exist only in a build with the Qt screens.
if(NOT TARGET tarvelo_resources OR NOT TARGET screens OR NOT TARGET make_pictures)
    return()
endif()

find_program(TARVELO_SVG_RENDERER NAMES rsvg-convert DOC "librsvg's rsvg-convert, to render the SVG icon in a test")
if(NOT TARVELO_SVG_RENDERER)
    set(TARVELO_SVG_RENDERER "")
endif()

add_executable(resources_tests
    "${CMAKE_CURRENT_LIST_DIR}/resources/main.cpp"
    "${CMAKE_CURRENT_LIST_DIR}/resources/picture_tests.cpp"
)
# The screens' layout tables say which control shows each picture, and how large it is; the
# screens library also brings the compiled-in resources.
target_link_libraries(resources_tests PRIVATE screens tarvelo_private_home GTest::gtest)
target_compile_definitions(resources_tests PRIVATE
    TARVELO_RESOURCE_DIR="${PROJECT_SOURCE_DIR}/resources"
    TARVELO_SVG_RENDERER="${TARVELO_SVG_RENDERER}"
)
gtest_discover_tests(resources_tests PROPERTIES LABELS resources ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
                     DISCOVERY_TIMEOUT 60 DISCOVERY_MODE PRE_TEST)

add_test(NAME resources_match_generator
         COMMAND "${CMAKE_COMMAND}"
                 "-DGENERATOR=$<TARGET_FILE:make_pictures>"
                 "-DOUTPUT_DIR=${CMAKE_CURRENT_BINARY_DIR}/generated_pictures"
                 "-DCOMMITTED_DIR=${PROJECT_SOURCE_DIR}/resources"
                 -P "${CMAKE_CURRENT_LIST_DIR}/resources/check_generated_pictures.cmake")
set_tests_properties(resources_match_generator PROPERTIES LABELS resources)
