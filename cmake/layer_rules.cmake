# The include rule of the core layers, shared by configure (cmake/layers.cmake) and the test that runs it
# again over the current files (cmake/check_layers.cmake).

# The project folders a core file could include from; an include naming another first folder (Qt's,
# the standard library's, the generated version header) is no concern of the layers.
set(ZT5_PROJECT_FOLDERS base channel meter reports nodes config protocol archives app lines watch cli sim support)

# Sets `out` to one line per include in src_root/layer/*.{h,cpp} that names a project folder not in
# `allowed`, or a ui/ folder (the core has no widgets).
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
      if(NOT folder IN_LIST ZT5_PROJECT_FOLDERS)
        continue()
      endif()
      if(NOT folder IN_LIST allowed OR header MATCHES "/ui/")
        file(RELATIVE_PATH shown ${src_root} ${file})
        list(APPEND problems "${shown} includes \"${header}\" (${layer} may include only: ${allowed_text})")
      endif()
    endforeach()
  endforeach()
  set(${out} "${problems}" PARENT_SCOPE)
endfunction()
