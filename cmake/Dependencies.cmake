# SPDX-License-Identifier: GPL-3.0-or-later
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
find_package(ZLIB REQUIRED)
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)
find_package(OpenGL REQUIRED COMPONENTS OpenGL)
find_package(X11 REQUIRED)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
# GLU has no CMake target of its own in Debian's OpenGL module here.
find_library(VM_GLU_LIBRARY GLU REQUIRED)

if(VM_BUILD_TESTS AND NOT VM_FUZZ)
  find_package(GTest REQUIRED)
  find_package(benchmark REQUIRED)
endif()
if(VM_BUILD_ASSETS AND NOT VM_FUZZ)
  pkg_check_modules(CAIRO REQUIRED IMPORTED_TARGET cairo)
  pkg_check_modules(RSVG REQUIRED IMPORTED_TARGET librsvg-2.0)
  pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
endif()

# Adds a static library for one subsystem folder.
function(vm_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  set_property(GLOBAL APPEND PROPERTY VM_LIBRARIES ${name})
endfunction()

# Adds a command-line tool written to build/tools/.
function(vm_add_tool name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${VM_TOOLS_DIR})
endfunction()
