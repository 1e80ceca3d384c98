# The layering of layering.table, enforced by the include path: each folder gets a folder of
# symbolic links, build/layers/FOLDER/, to its own folder and the folders its line allows,
# and its targets see that alone; an include of any other folder fails to compile. The
# tests see build/layers/all/, every folder.
set(TESSALY_LAYERS ${PROJECT_BINARY_DIR}/layers)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/layering.table)
file(REMOVE_RECURSE ${TESSALY_LAYERS})
file(STRINGS ${PROJECT_SOURCE_DIR}/layering.table tessaly_layer_lines)
set(tessaly_all_folders)
foreach(line IN LISTS tessaly_layer_lines)
  if(line MATCHES "^[ \t]*(#|$)")
    continue()
  endif()
  string(STRIP "${line}" line)
  string(REGEX REPLACE "[ \t]+" ";" words "${line}")
  list(POP_FRONT words folder)
  list(REMOVE_ITEM words Qt)
  list(APPEND tessaly_all_folders ${folder})
  file(MAKE_DIRECTORY ${TESSALY_LAYERS}/${folder})
  foreach(seen IN ITEMS ${folder} ${words})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${seen} ${TESSALY_LAYERS}/${folder}/${seen} SYMBOLIC)
  endforeach()
endforeach()
file(MAKE_DIRECTORY ${TESSALY_LAYERS}/all)
foreach(folder IN LISTS tessaly_all_folders)
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${TESSALY_LAYERS}/all/${folder} SYMBOLIC)
endforeach()

# tessaly_layer(FOLDER TARGET...): the targets' sources belong to FOLDER (or, for "all",
# are tests) and see what its line allows.
function(tessaly_layer folder)
  if(NOT IS_DIRECTORY ${TESSALY_LAYERS}/${folder})
    message(FATAL_ERROR "layering.table has no line for ${folder}")
  endif()
  foreach(target IN LISTS ARGN)
    target_include_directories(${target} PRIVATE ${TESSALY_LAYERS}/${folder})
  endforeach()
endfunction()
