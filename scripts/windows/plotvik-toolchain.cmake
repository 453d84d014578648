# Plotvik's Windows build: the cross compilers of toolchain.cmake, and the prefixes of the Qt and
# FreeType built for Windows (PLOTVIK_WINDOWS_PREFIXES, a list) as places to find packages in.
# Qt's build reads toolchain.cmake alone, so that its cache key does not change with these.
include(${CMAKE_CURRENT_LIST_DIR}/toolchain.cmake)
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES PLOTVIK_WINDOWS_PREFIXES)
list(APPEND CMAKE_FIND_ROOT_PATH ${PLOTVIK_WINDOWS_PREFIXES})
