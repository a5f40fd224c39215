# Run by CPack on its staging folder just before it packs it (CPACK_PRE_BUILD_SCRIPTS): turns the
# tree that `cmake --install` lays out into the one a Debian package of a game ships.
cmake_minimum_required(VERSION 3.25)

set(root "${CPACK_TEMPORARY_DIRECTORY}")
file(GLOB programs LIST_DIRECTORIES true "${root}/usr/bin/*")
if(NOT programs)
    message(FATAL_ERROR "no installed program under '${root}/usr/bin'")
endif()

# Debian keeps the programs of section games in /usr/games, which is on every user's PATH there,
# and lintian rejects a game package that has them in /usr/bin.
# CPack has stripped their symbols already; the compiler's notes in .comment and .note are still
# there, and Debian's own packaging tools take them out as well.
file(MAKE_DIRECTORY "${root}/usr/games")
foreach(program IN LISTS programs)
    get_filename_component(name "${program}" NAME)
    if(IS_DIRECTORY "${program}")
        message(FATAL_ERROR "not a program: /usr/bin/${name}")
    endif()
    file(RENAME "${program}" "${root}/usr/games/${name}")
    execute_process(COMMAND "${CPACK_TARVELO_STRIP}" --remove-section=.comment --remove-section=.note
                            "${root}/usr/games/${name}"
                    RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "could not strip ${name}: ${status}")
    endif()
endforeach()
file(REMOVE_RECURSE "${root}/usr/bin")

# Directories made during the install take their mode from the umask of whoever builds the
# package, so `make package` under umask 027 or 077 would ship folders that other users cannot
# enter. Every directory gets 0755; the install rules already give files 0644 and 0755.
file(GLOB_RECURSE entries LIST_DIRECTORIES true "${root}/*")
foreach(entry IN LISTS entries)
    if(IS_DIRECTORY "${entry}" AND NOT IS_SYMLINK "${entry}")
        file(CHMOD "${entry}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
                                          GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    endif()
endforeach()
