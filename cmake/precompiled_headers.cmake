# Precompiled headers for the targets with many translation units on the same heavy headers
# (GoogleTest, nlohmann/json). They save most of a clean build's parsing. A compiler launcher
# such as ccache would stop caching those units, so a build with one keeps them off unless asked.
if(CMAKE_CXX_COMPILER_LAUNCHER OR DEFINED ENV{CMAKE_CXX_COMPILER_LAUNCHER})
    set(zavi_pch_default OFF)
else()
    set(zavi_pch_default ON)
endif()
option(ZAVI_PCH "Precompiled headers for the test and fuzz programs" ${zavi_pch_default})

# zavi_precompile(TARGET HEADER...): the headers precompiled for TARGET's own sources.
function(zavi_precompile target)
    if(ZAVI_PCH)
        target_precompile_headers(${target} PRIVATE ${ARGN})
    endif()
endfunction()
