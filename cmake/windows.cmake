# The Windows build's libraries and data (cmake/windows-toolchain.cmake,
# `windows` preset). SDL2, SDL2_image, SDL2_mixer and libepoxy come from the
# prefix tools/install-windows-deps.sh builds; GoogleTest is built here from
# Debian's sources; the data folder and the icons from a native build.
if(NOT EXISTS "${THALOMIR_WINDOWS_DEPS}/.complete")
  message(FATAL_ERROR "No Windows libraries in '${THALOMIR_WINDOWS_DEPS}': "
    "run tools/install-windows-deps.sh first")
endif()

# The SDL libraries by hand: sdl2.pc renames main() to SDL_main and links
# SDL2main (the game has a main() of its own), and SDL2_image's package file
# asks for libjpeg and libpng it does not use. The engine links the same
# target name as on Linux.
add_library(PkgConfig::SDL2 INTERFACE IMPORTED)
foreach(lib SDL2 SDL2_image SDL2_mixer)
  find_library(THALOMIR_${lib}_LIBRARY ${lib} REQUIRED)
  target_link_libraries(PkgConfig::SDL2 INTERFACE ${THALOMIR_${lib}_LIBRARY})
endforeach()
target_include_directories(PkgConfig::SDL2 INTERFACE
  ${THALOMIR_WINDOWS_DEPS}/include ${THALOMIR_WINDOWS_DEPS}/include/SDL2)
target_compile_definitions(PkgConfig::SDL2 INTERFACE SDL_MAIN_HANDLED)
pkg_check_modules(EPOXY REQUIRED IMPORTED_TARGET epoxy)
set(THALOMIR_WINDOWS_DLLS
  ${THALOMIR_WINDOWS_DEPS}/bin/SDL2.dll
  ${THALOMIR_WINDOWS_DEPS}/bin/SDL2_image.dll
  ${THALOMIR_WINDOWS_DEPS}/bin/SDL2_mixer.dll
  ${THALOMIR_WINDOWS_DEPS}/bin/libepoxy-0.dll)

# The C++ runtime, libgcc and winpthreads are linked in: the program needs
# no DLLs beyond the four above and the system's.
add_link_options(-static)
# Programs (tests and tools too) find those DLLs beside them.
file(COPY ${THALOMIR_WINDOWS_DLLS} DESTINATION ${CMAKE_BINARY_DIR})

# GoogleTest, compiled for Windows from Debian's googletest sources. Tests are
# listed at test time, under Wine, not at build time.
macro(thalomir_windows_gtest)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
endmacro()

# ---- Data and icons from a native build of this tree.
set(THALOMIR_NATIVE_BUILD "" CACHE PATH
  "A native build folder whose data folder and icons to take (empty: ${PROJECT_SOURCE_DIR}/build when it has them, else a host build made here)")
set(native ${THALOMIR_NATIVE_BUILD})
if(NOT native AND EXISTS ${PROJECT_SOURCE_DIR}/build/data/res/allres.txt
   AND EXISTS ${PROJECT_SOURCE_DIR}/build/dist/icons/256x256/thalomir.png)
  set(native ${PROJECT_SOURCE_DIR}/build)
endif()
set(native_targets)
if(native)
  message(STATUS "Data and icons from the native build ${native}")
else()
  message(STATUS "Data and icons from a host build in ${CMAKE_BINARY_DIR}/host")
  include(cmake/host_build.cmake)
  thalomir_host_build(thalomir_data thalomir_dist)
  set(native ${THALOMIR_HOST_DIR})
  set(native_targets thalomir_host)
endif()

add_custom_target(thalomir_data ALL
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${native}/data ${THALOMIR_DATA_DIR}
  COMMENT "Copying the data folder from ${native}")
if(native_targets)
  add_dependencies(thalomir_data ${native_targets})
endif()

# The program's icon: the native build's drawings, 256 pixels as PNG.
set(THALOMIR_ICON ${CMAKE_BINARY_DIR}/thalomir.ico)
set(icon_args)
set(icon_pngs)
foreach(size 16 24 32 48 64 128 256)
  set(png ${native}/dist/icons/${size}x${size}/thalomir.png)
  list(APPEND icon_pngs ${png})
  if(size EQUAL 256)
    list(APPEND icon_args --raw=${png})
  else()
    list(APPEND icon_args ${png})
  endif()
endforeach()
find_program(THALOMIR_ICOTOOL icotool REQUIRED)
add_custom_command(OUTPUT ${THALOMIR_ICON}
  COMMAND ${THALOMIR_ICOTOOL} -c -o ${THALOMIR_ICON} ${icon_args}
  DEPENDS ${icon_pngs} ${native_targets}
  COMMENT "Packing the icon")
