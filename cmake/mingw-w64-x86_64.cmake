# Cross build for 64-bit Windows with Debian's mingw-w64, posix thread model (std::thread and
# friends need it). Everything is linked statically: the program needs no DLL beyond Windows' own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw_triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_triplet}-windres)

# Libraries and headers come from the mingw-w64 sysroot (zlib) and from the libpng that
# scripts/setup cross-builds into third_party/cache; programs from the build machine.
set(EDGEWAY_MINGW_LIBPNG ${CMAKE_CURRENT_LIST_DIR}/../third_party/cache/libpng-mingw64)
get_filename_component(EDGEWAY_MINGW_LIBPNG ${EDGEWAY_MINGW_LIBPNG} ABSOLUTE)
set(CMAKE_FIND_ROOT_PATH /usr/${mingw_triplet} ${EDGEWAY_MINGW_LIBPNG})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static archives only, so that find_package never settles on an import library.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)
set(ZLIB_USE_STATIC_LIBS ON)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
