# The include rule of the layers (the core's and the widgets' under gui/), shared by configure
# (cmake/layers.cmake) and the test that runs it again over the current files (cmake/check_layers.cmake).

# A file could include from a folder of src/ or from these beside it; an include naming another first
# folder (Qt's, the standard library's, the generated version header) is no concern of the layers.
# Under gui/ the layer is the second folder ("gui/config/...").
set(ZT5_FOLDERS_BESIDE_SRC sim support)

# Sets `out` to one line per include in src_root/layer/*.{h,cpp} that names a project folder (or a gui/
# layer) not in `allowed`.
function(zt5_check_layer_includes src_root layer allowed out)
  get_filename_component(src_root "${src_root}" ABSOLUTE)
  set(problems "")
  list(JOIN allowed ", " allowed_text)
  file(GLOB files ${src_root}/${layer}/*.cpp ${src_root}/${layer}/*.h)
  foreach(file ${files})
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[a-z_]+/")
    foreach(line ${includes})
      string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*$" "\\1" header "${line}")
      string(REGEX REPLACE "/.*$" "" folder "${header}")
      if(NOT IS_DIRECTORY ${src_root}/${folder} AND NOT folder IN_LIST ZT5_FOLDERS_BESIDE_SRC)
        continue()
      endif()
      if(folder STREQUAL "gui")
        string(REGEX REPLACE "^(gui/[a-z_]+)/.*$" "\\1" folder "${header}")
      endif()
      if(NOT folder IN_LIST allowed)
        file(RELATIVE_PATH shown ${src_root} ${file})
        list(APPEND problems "${shown} includes \"${header}\" (${layer} may include only: ${allowed_text})")
      endif()
    endforeach()
  endforeach()
  set(${out} "${problems}" PARENT_SCOPE)
endfunction()
