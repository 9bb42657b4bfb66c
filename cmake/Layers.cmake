# The layers of src/, lowest first: each folder of src/ is one layer, and its code may include and
# link only its own layer and lower ones. Windows that need something done above them report it
# to their caller instead.
set(NORV_LAYERS core chrome layout mainwindow displays commands resident app)

# The rank of the layer that holds `directory` (a path under src/), or -1 outside src/.
function(norv_layer_rank directory out)
  file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR}/src ${directory})
  string(REGEX MATCH "^[^/.][^/]*" layer "${relative}")
  list(FIND NORV_LAYERS "${layer}" rank)
  set(${out} ${rank} PARENT_SCOPE)
endfunction()

function(norv_collect_targets directory out)
  get_property(found DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
  foreach(subdirectory IN LISTS subdirectories)
    norv_collect_targets(${subdirectory} more)
    list(APPEND found ${more})
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# Stops the configuration when a target of src/ links a target of a higher layer. Call it once all
# of src/ is defined.
function(norv_check_layers)
  norv_collect_targets(${PROJECT_SOURCE_DIR}/src targets)
  foreach(target IN LISTS targets)
    get_target_property(directory ${target} SOURCE_DIR)
    norv_layer_rank(${directory} rank)
    get_target_property(links ${target} LINK_LIBRARIES)
    get_target_property(interface ${target} INTERFACE_LINK_LIBRARIES)
    get_target_property(dependencies ${target} MANUALLY_ADDED_DEPENDENCIES)
    foreach(linked IN LISTS links interface dependencies)
      if(NOT TARGET "${linked}")
        continue()
      endif()
      get_target_property(imported ${linked} IMPORTED)
      if(imported)
        continue()
      endif()
      get_target_property(linkedDirectory ${linked} SOURCE_DIR)
      norv_layer_rank(${linkedDirectory} linkedRank)
      if(linkedRank GREATER rank)
        list(GET NORV_LAYERS ${rank} layer)
        list(GET NORV_LAYERS ${linkedRank} linkedLayer)
        message(FATAL_ERROR "${target} (layer ${layer}) uses ${linked} of the higher layer "
                            "${linkedLayer}; see the code map in README.md")
      endif()
    endforeach()
  endforeach()
endfunction()
