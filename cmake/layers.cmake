# The core folders as layers. `zt5_layer(NAME BELOW...)` makes src/NAME a static library that links the
# layers it names, which must already exist: a folder can only be built on folders declared before it, so
# no two folders can depend on each other. The folder's files may include only from itself and from the
# layers below it (named or reached through those named); configure stops at a file that includes from
# anywhere else, and the test layers_depend_one_way holds the same rule for files changed since.

include(${CMAKE_CURRENT_LIST_DIR}/layer_rules.cmake)

set(ZT5_LAYER_MAP "")

function(zt5_layer name)
  set(allowed ${name})
  foreach(below ${ARGN})
    if(NOT TARGET zt5_${below})
      message(FATAL_ERROR "Layer ${name} is built on ${below}, which is not declared before it")
    endif()
    get_property(below_allowed GLOBAL PROPERTY ZT5_LAYER_${below})
    list(APPEND allowed ${below_allowed})
  endforeach()
  list(REMOVE_DUPLICATES allowed)
  set_property(GLOBAL PROPERTY ZT5_LAYER_${name} ${allowed})

  file(GLOB sources CONFIGURE_DEPENDS ${name}/*.cpp ${name}/*.h)
  add_library(zt5_${name} STATIC ${sources})
  set_target_properties(zt5_${name} PROPERTIES AUTOMOC ON)
  list(TRANSFORM ARGN PREPEND zt5_ OUTPUT_VARIABLE below_targets)
  target_link_libraries(zt5_${name} PUBLIC ${below_targets})

  zt5_check_layer_includes(${CMAKE_CURRENT_SOURCE_DIR} ${name} "${allowed}" problems)
  if(problems)
    list(JOIN problems "\n  " text)
    message(FATAL_ERROR "Layer ${name} includes from above it or from beside it:\n  ${text}")
  endif()

  # name=allowed;... for the test to read back.
  list(JOIN allowed "," allowed_text)
  get_property(map GLOBAL PROPERTY ZT5_LAYER_MAP)
  set_property(GLOBAL PROPERTY ZT5_LAYER_MAP "${map}${name}=${allowed_text}\n")
endfunction()

# Writes the layers and what each may include, for tests/layers_check.cmake.
function(zt5_write_layer_map path)
  get_property(map GLOBAL PROPERTY ZT5_LAYER_MAP)
  file(WRITE ${path} "${map}")
endfunction()
