# The program's layers link downward only: a file may include its own layer's headers and those of
# the layers below it, never one above. Run at every build (cmake -DSOURCE_DIR=... -DSTAMP=... -P);
# a wrong include fails the build, naming the file, the line and the layers.
#
#   app        the application object, WinMain, the command line
#   ui         the dialogs
#   install    the driver installation engine
#   cleanup    the removal of earlier drivers        suite   the application suite
#   core       what every layer shares               framework  the dialog framework
#   platform   the seam; its win32 and sim backends include only the seam
cmake_minimum_required(VERSION 3.21)

set(allowed_core platform)
set(allowed_framework platform)
set(allowed_cleanup core platform)
set(allowed_suite core platform)
set(allowed_install suite cleanup core platform)
set(allowed_ui install suite cleanup core framework platform)
# WinMain makes the Windows machine the program runs on: the one include of a backend.
set(allowed_app ui install suite cleanup core framework platform platform/win32)
set(allowed_platform platform)
set(allowed_platform/sim platform)
set(allowed_platform/win32 platform)

# The layer of a path below src/: its first folder, the platform's backends each a layer of their own.
function(layer_of path out)
  if(path MATCHES "^platform/(sim|win32)/")
    set(${out} "platform/${CMAKE_MATCH_1}" PARENT_SCOPE)
  elseif(path MATCHES "^([^/]+)/")
    set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
  else()
    set(${out} "" PARENT_SCOPE)
  endif()
endfunction()

file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}/src" "${SOURCE_DIR}/src/*.cpp" "${SOURCE_DIR}/src/*.h")
set(wrong "")
foreach(source IN LISTS sources)
  layer_of("${source}" from)
  file(STRINGS "${SOURCE_DIR}/src/${source}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  get_filename_component(folder "${source}" DIRECTORY)
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" target "${line}")
    get_filename_component(resolved "${SOURCE_DIR}/src/${folder}/${target}" ABSOLUTE)
    file(RELATIVE_PATH resolved "${SOURCE_DIR}/src" "${resolved}")
    if(resolved MATCHES "^\\.\\.")
      string(APPEND wrong "  src/${source}: \"${target}\" is outside src/\n")
      continue()
    endif()
    layer_of("${resolved}" to)
    if(to STREQUAL from OR to STREQUAL "")
      continue()
    endif()
    if(NOT to IN_LIST allowed_${from})
      string(APPEND wrong "  src/${source}: \"${target}\": ${from} may not include ${to} (it includes only ${allowed_${from}})\n")
    endif()
  endforeach()
endforeach()
if(wrong)
  message(FATAL_ERROR "An include reaches a layer above its own:\n${wrong}")
endif()
file(WRITE "${STAMP}" "layers checked\n")
