# What `cmake --install` lays out and the Debian package made from it, each checked with the
# validators a desktop, a software centre and Debian would apply. Included from
# tests/CMakeLists.txt; both need the game itself, so only a build with the Qt screens has them.
if(NOT TARGET tarvelo OR NOT TARGET e2e_tests)
    return()
endif()

# Both install from this build tree; the lock keeps them from writing its install manifest at once.
add_test(NAME packaging_install_tree
         COMMAND bash "${CMAKE_CURRENT_LIST_DIR}/packaging/install_tree.sh" "${PROJECT_BINARY_DIR}")
set_tests_properties(packaging_install_tree PROPERTIES
    LABELS packaging TIMEOUT 120 RESOURCE_LOCK tarvelo_install_manifest)

add_test(NAME packaging_debian_package
         COMMAND bash "${CMAKE_CURRENT_LIST_DIR}/packaging/debian_package.sh" "${PROJECT_BINARY_DIR}"
                 "$<TARGET_FILE:e2e_tests>")
set_tests_properties(packaging_debian_package PROPERTIES
    LABELS packaging TIMEOUT 300 RESOURCE_LOCK tarvelo_install_manifest)
