# The folders as layers. `zt5_layer(NAME BELOW...)` makes src/NAME a static library (zt5_NAME, a "/" in
# NAME becoming "_": gui/config is zt5_gui_config) that links the layers it names, which must already
# exist: a folder can only be built on folders declared before it, so no two folders can depend on each
# other. The folder's files may include only from itself and from the layers below it (named or reached
# through those named); configure stops at a file that includes from anywhere else, and the test
# layers_depend_one_way holds the same rule for files changed since. `sim` as a BELOW name is the
# simulator of ../sim (zt5sim, declared later), for the one GUI layer that starts it.
include(${CMAKE_CURRENT_LIST_DIR}/layer_rules.cmake)

set(ZT5_LAYER_MAP "")

function(zt5_layer name)
  set(allowed ${name})
  set(below_targets "")
  foreach(below ${ARGN})
    if(below STREQUAL "sim")
      list(APPEND allowed sim)
      list(APPEND below_targets zt5sim)
      continue()
    endif()
    string(REPLACE "/" "_" below_target "zt5_${below}")
    list(APPEND below_targets ${below_target})
    if(NOT TARGET ${below_target})
      message(FATAL_ERROR "Layer ${name} is built on ${below}, which is not declared before it")
    endif()
    get_property(below_allowed GLOBAL PROPERTY ZT5_LAYER_${below})
    list(APPEND allowed ${below_allowed})
  endforeach()
  list(REMOVE_DUPLICATES allowed)
  set_property(GLOBAL PROPERTY ZT5_LAYER_${name} ${allowed})
  # The one list of the layers, in the order declared: the tests (tests/CMakeLists.txt) follow it.
  set_property(GLOBAL APPEND PROPERTY ZT5_LAYERS ${name})

  # A layer's main.cpp is its program's (gui/app/main.cpp), built by whoever declares the program.
  file(GLOB sources CONFIGURE_DEPENDS ${name}/*.cpp ${name}/*.h ${name}/*.qrc)
  list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${name}/main.cpp)
  string(REPLACE "/" "_" target "zt5_${name}")
  add_library(${target} STATIC ${sources})
  set_target_properties(${target} PROPERTIES AUTOMOC ON AUTORCC ON)
  target_link_libraries(${target} PUBLIC ${below_targets})

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
