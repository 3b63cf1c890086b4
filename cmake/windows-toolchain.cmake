# Cross-building for 64-bit Windows with MinGW-w64 (the `windows` preset).
# The compilers with the posix thread model are taken: the win32 model has no
# std::thread. SDL2, SDL2_image, SDL2_mixer and libepoxy come from the prefix
# tools/install-windows-deps.sh builds (THALOMIR_WINDOWS_DEPS, or the folder
# the script names for its pinned versions).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(THALOMIR_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${THALOMIR_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${THALOMIR_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${THALOMIR_MINGW}-windres)

if(NOT THALOMIR_WINDOWS_DEPS AND DEFINED ENV{THALOMIR_WINDOWS_DEPS})
  set(THALOMIR_WINDOWS_DEPS "$ENV{THALOMIR_WINDOWS_DEPS}")
endif()
if(NOT THALOMIR_WINDOWS_DEPS)
  execute_process(
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/../tools/install-windows-deps.sh --print-prefix
    OUTPUT_VARIABLE THALOMIR_WINDOWS_DEPS OUTPUT_STRIP_TRAILING_WHITESPACE)
endif()
set(THALOMIR_WINDOWS_DEPS "${THALOMIR_WINDOWS_DEPS}" CACHE PATH
  "Prefix holding the cross-built SDL2, SDL2_image, SDL2_mixer and libepoxy")
# Passed on to try_compile projects, which read this file again.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES THALOMIR_WINDOWS_DEPS)

set(CMAKE_FIND_ROOT_PATH /usr/${THALOMIR_MINGW} ${THALOMIR_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# pkg-config must see only the Windows libraries, never the host's.
set(ENV{PKG_CONFIG_LIBDIR} "${THALOMIR_WINDOWS_DEPS}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")

# Tests and tools run under Wine (64-bit; Debian puts the loader off the PATH).
find_program(THALOMIR_WINE NAMES wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(THALOMIR_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${THALOMIR_WINE})
endif()
