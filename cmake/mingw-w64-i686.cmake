# Cross-compiles the 32-bit Windows plug-in DLL with mingw-w64 (Debian: g++-mingw-w64-i686),
# for 32-bit hosts and bridges.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(BRINDLOW_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
