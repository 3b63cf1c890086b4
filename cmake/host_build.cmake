# A native build of this same source tree inside a cross build (web, Windows):
# the asset generators need the host's libraries, so the data folder and the
# icons are made there. `thalomir_host_build(TARGET...)` adds the external
# project `thalomir_host`, which builds the named targets in
# ${CMAKE_BINARY_DIR}/host on every build (the host build knows its own
# dependencies), and sets THALOMIR_HOST_DIR to that folder.
include(ExternalProject)

function(thalomir_host_build)
  set(args -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_COMPILER=cc -DCMAKE_CXX_COMPILER=c++
    -DTHALOMIR_BUILD_TESTS=OFF -DTHALOMIR_BUILD_BENCH=OFF)
  if(CMAKE_CXX_COMPILER_LAUNCHER)
    list(APPEND args -DCMAKE_C_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}
      -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER})
  endif()
  set(build_command ${CMAKE_COMMAND} --build .)
  foreach(target ${ARGN})
    list(APPEND build_command --target ${target})
  endforeach()
  ExternalProject_Add(thalomir_host
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/host
    CMAKE_ARGS ${args}
    BUILD_COMMAND ${build_command}
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON)
  set(THALOMIR_HOST_DIR ${CMAKE_BINARY_DIR}/host PARENT_SCOPE)
endfunction()
