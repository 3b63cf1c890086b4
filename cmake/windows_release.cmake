# The Windows programs' resources and the release zip
# (thalomir-<version>-windows-x64.zip: the programs, the DLLs, the data folder
# and the licence texts; `cmake --build --preset windows --target package`).
set(win ${PROJECT_SOURCE_DIR}/dist/windows)
set(out ${CMAKE_BINARY_DIR}/dist)
set(v ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.0)
if(PROJECT_VERSION_PATCH)
  set(v ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0)
endif()
set(THALOMIR_VERSION_QUAD ${v})
string(REPLACE "." "," THALOMIR_VERSION_COMMAS ${v})

set(THALOMIR_MANIFEST ${out}/thalomir.manifest)
configure_file(${win}/thalomir.manifest ${THALOMIR_MANIFEST} @ONLY)
configure_file(${win}/manifest.rc.in ${out}/manifest.rc @ONLY)
configure_file(${win}/thalomir.rc.in ${out}/thalomir.rc @ONLY)
set_source_files_properties(${out}/manifest.rc PROPERTIES OBJECT_DEPENDS ${THALOMIR_MANIFEST})
set_source_files_properties(${out}/thalomir.rc PROPERTIES OBJECT_DEPENDS ${THALOMIR_ICON})

# Every program linking the engine (the game, the tools, the tests) gets the
# manifest, so the tests run with the code page the game has.
target_sources(thalomir_engine INTERFACE
  $<$<STREQUAL:$<TARGET_PROPERTY:TYPE>,EXECUTABLE>:${out}/manifest.rc>)

# The game: no console window (the windows subsystem; --help and --version
# attach to the console they were started from), its icon and version.
add_custom_target(thalomir_icon DEPENDS ${THALOMIR_ICON})
add_dependencies(thalomir thalomir_icon)
target_sources(thalomir PRIVATE ${out}/thalomir.rc)
set_target_properties(thalomir PROPERTIES WIN32_EXECUTABLE ON)
# Its functions by name in crash backtraces, as on Linux.
target_link_options(thalomir PRIVATE -Wl,--export-all-symbols)

# ---- The zip, laid out as it runs: the data folder beside the programs.
install(TARGETS thalomir thalomir-replay RUNTIME DESTINATION .)
install(FILES ${THALOMIR_WINDOWS_DLLS} DESTINATION .)
install(DIRECTORY ${THALOMIR_DATA_DIR}/ DESTINATION data)
install(FILES ${PROJECT_SOURCE_DIR}/dist/copyright DESTINATION licenses RENAME thalomir.txt)
install(DIRECTORY ${THALOMIR_WINDOWS_DEPS}/share/licenses/ DESTINATION licenses)
# Linked into the programs: the MinGW-w64 runtime (winpthreads) and GCC's.
install(FILES /usr/share/doc/mingw-w64-common/copyright
  DESTINATION licenses RENAME mingw-w64-runtime.txt)
install(FILES /usr/share/doc/gcc-mingw-w64-base/copyright
  DESTINATION licenses RENAME gcc-runtime.txt)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME thalomir)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME thalomir-${PROJECT_VERSION}-windows-x64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
