# SPDX-License-Identifier: GPL-3.0-or-later
# Compiles through ccache where it is installed, so that a second run of the tests (another clone,
# another build folder) compiles only what changed. Paths are taken relative to the source folder,
# so that clones in different folders share what was compiled.
find_program(VOKALINDO_CCACHE ccache)
get_filename_component(vokalindo_source_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
if(VOKALINDO_CCACHE)
    foreach(language C CXX)
        set(CMAKE_${language}_COMPILER_LAUNCHER
            ${CMAKE_COMMAND} -E env CCACHE_BASEDIR=${vokalindo_source_root} CCACHE_NOHASHDIR=true ${VOKALINDO_CCACHE})
    endforeach()
endif()
