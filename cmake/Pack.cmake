# SPDX-License-Identifier: GPL-3.0-or-later
# Asset producers register the files that go into data/data.pk:
#   vm_pack_add(NAME dat/game.txt FILE ${built_file} TARGET producer_target [SCRAMBLED])
# vm_pack_finalize() then writes the list and the rule that runs the packer.
function(vm_pack_add)
  cmake_parse_arguments(ARG "SCRAMBLED" "NAME;FILE;TARGET" "" ${ARGN})
  set(flag n)
  if(ARG_SCRAMBLED)
    set(flag y)
  endif()
  set_property(GLOBAL APPEND PROPERTY VM_PACK_LINES "${flag} ${ARG_NAME} ${ARG_FILE}")
  set_property(GLOBAL APPEND PROPERTY VM_PACK_FILES ${ARG_FILE})
  if(ARG_TARGET)
    set_property(GLOBAL APPEND PROPERTY VM_PACK_TARGETS ${ARG_TARGET})
  endif()
endfunction()

function(vm_pack_finalize)
  get_property(lines GLOBAL PROPERTY VM_PACK_LINES)
  get_property(files GLOBAL PROPERTY VM_PACK_FILES)
  get_property(targets GLOBAL PROPERTY VM_PACK_TARGETS)
  set(list_file ${CMAKE_BINARY_DIR}/pack-list.txt)
  list(JOIN lines "\n" text)
  file(GENERATE OUTPUT ${list_file} CONTENT "${text}\n")
  set(pack ${VM_GAME_DIR}/data/data.pk)
  add_custom_command(OUTPUT ${pack}
    COMMAND packer build ${pack} ${list_file}
    DEPENDS packer ${files} ${targets} ${list_file}
    COMMENT "Packing data/data.pk")
  add_custom_target(game_pack ALL DEPENDS ${pack})
endfunction()
