# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (the "posix"
# thread model, so std::thread and std::mutex work) into programs that need
# no DLL beside them: libgcc, libstdc++ and winpthreads are linked statically.
# VARNEL_WINDOWS_SYSROOT names the build-side folder with the Windows builds
# of SQLite and GoogleTest (scripts/windows.sh makes it); it is searched
# before the MinGW-w64 folders.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VARNEL_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VARNEL_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VARNEL_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VARNEL_MINGW_TRIPLET}-windres)

if(NOT VARNEL_WINDOWS_SYSROOT AND DEFINED ENV{VARNEL_WINDOWS_SYSROOT})
  set(VARNEL_WINDOWS_SYSROOT $ENV{VARNEL_WINDOWS_SYSROOT})
endif()
set(CMAKE_FIND_ROOT_PATH ${VARNEL_WINDOWS_SYSROOT} /usr/${VARNEL_MINGW_TRIPLET})
# pkg-config sees only the sysroot's Windows libraries, never the build
# machine's own.
if(VARNEL_WINDOWS_SYSROOT)
  set(ENV{PKG_CONFIG_LIBDIR} ${VARNEL_WINDOWS_SYSROOT}/lib/pkgconfig)
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static programs. FindODBC links odbc32 as "-Bstatic -lodbc32 -Bdynamic";
# without CMAKE_LINK_SEARCH_END_STATIC the trailing -Bdynamic would bring
# libstdc++ back as a DLL and the program would not start.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_LINK_SEARCH_START_STATIC ON)
set(CMAKE_LINK_SEARCH_END_STATIC ON)


# -O2 rather than CMake's -O3 for Release: the programs run as fast for this
# work, and the cross build of the program and its tests compiles quicker.
set(CMAKE_C_FLAGS_RELEASE_INIT "-O2 -DNDEBUG")
set(CMAKE_CXX_FLAGS_RELEASE_INIT "-O2 -DNDEBUG")
# GCC 12 at -O2 warns -Wrestrict inside libstdc++'s own string
# concatenation (GCC bug 105329, a false positive, fixed in GCC 13): the
# warning names no line of ours, so it is turned off for this compiler.
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")
