# Checks that the includes of the suite's sources run down its layers:
#   cmake -DROOT=<source tree> -P CheckLayers.cmake
# Each folder may include its own files and those of the folders listed for it; anything else
# (an include that reaches up a layer, or across from the editor to the simulator) is reported
# with the file, the include and the rule it breaks, and the check fails.
cmake_minimum_required(VERSION 3.20)
if(NOT ROOT)
  message(FATAL_ERROR "usage: cmake -DROOT=<source tree> -P CheckLayers.cmake")
endif()

set(foundations common platform)
set(layer_common "")
set(layer_platform common)
set(layer_editor/base ${foundations})
set(layer_editor/fonts editor/base ${foundations})
set(layer_editor/devices editor/fonts editor/base ${foundations})
set(layer_editor/screens editor/devices editor/fonts editor/base ${foundations})
set(layer_editor/project editor/screens editor/devices editor/fonts editor/base ${foundations})
set(layer_editor/compiler editor/project editor/screens editor/devices editor/fonts editor/base
    ${foundations})
set(layer_editor/ui editor/compiler editor/project editor/screens editor/devices editor/fonts
    editor/base ${foundations})
# The window joins the editor's core and the simulator's core, which draws its canvas.
set(layer_editor/ui/window editor/ui editor/compiler editor/project editor/screens editor/devices
    editor/fonts editor/base simulator ${foundations})
set(layer_demo editor/project editor/screens editor/devices editor/fonts editor/base ${foundations})
set(layer_simulator ${foundations})
set(layer_simulator/app simulator ${foundations})
set(layer_loader ${foundations})
set(layer_loader/app loader loader/dialog ${foundations})
set(layer_loader/emulator loader ${foundations})
set(layer_loader/dialog loader ${foundations})

file(GLOB_RECURSE files RELATIVE "${ROOT}" LIST_DIRECTORIES false
  "${ROOT}/common/*.h" "${ROOT}/common/*.cpp" "${ROOT}/platform/*.h" "${ROOT}/platform/*.cpp"
  "${ROOT}/editor/*.h" "${ROOT}/editor/*.cpp" "${ROOT}/demo/*.h" "${ROOT}/demo/*.cpp"
  "${ROOT}/simulator/*.h" "${ROOT}/simulator/*.cpp" "${ROOT}/loader/*.h" "${ROOT}/loader/*.cpp")
if(NOT files)
  message(FATAL_ERROR "no sources below ${ROOT}")
endif()

set(faults "")
foreach(file IN LISTS files)
  get_filename_component(folder "${file}" DIRECTORY)
  if(NOT DEFINED "layer_${folder}")
    list(APPEND faults "${file}: the folder ${folder} has no place among the layers")
    continue()
  endif()
  file(STRINGS "${ROOT}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" target "${line}")
    get_filename_component(targetFolder "${target}" DIRECTORY)
    if(targetFolder STREQUAL "" OR targetFolder STREQUAL folder)
      continue()
    endif()
    list(FIND "layer_${folder}" "${targetFolder}" allowed)
    if(allowed EQUAL -1)
      list(APPEND faults "${file} includes ${target}: ${folder} may not depend on ${targetFolder}")
    endif()
  endforeach()
endforeach()

list(LENGTH files count)
if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "includes against the layers:\n  ${text}")
endif()
message(STATUS "${count} files: every include runs down the layers")
