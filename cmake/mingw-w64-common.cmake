# Shared by the mingw-w64 toolchain files, which set BRINDLOW_MINGW_TRIPLET
# (x86_64-w64-mingw32 or i686-w64-mingw32) and CMAKE_SYSTEM_PROCESSOR first.
# The posix thread model provides std::mutex and std::recursive_mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${BRINDLOW_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BRINDLOW_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${BRINDLOW_MINGW_TRIPLET}-windres)
# Static mingw-w64 libpng and libjpeg-turbo, built by tools/build-mingw-deps.sh into
# build/mingw-deps/<triplet>.
if(NOT BRINDLOW_MINGW_DEPS)
  get_filename_component(BRINDLOW_MINGW_DEPS
    ${CMAKE_CURRENT_LIST_DIR}/../build/mingw-deps/${BRINDLOW_MINGW_TRIPLET} ABSOLUTE)
endif()
set(CMAKE_FIND_ROOT_PATH ${BRINDLOW_MINGW_DEPS} /usr/${BRINDLOW_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# zlib from libz-mingw-w64-dev as libz.a, not its import library for zlib1.dll.
set(ZLIB_USE_STATIC_LIBS ON)
# A self-contained DLL: no libstdc++, libgcc or winpthread DLLs beside it.
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
