# tavrin_pack_layout(TARGET SOURCE OUT_DIR BASENAME)
#
# Packs the layout source SOURCE (the text form, see docs/layout-format.md)
# into OUT_DIR/BASENAME.tav and, when the layout has text records,
# OUT_DIR/BASENAME.taw whenever the source or the tool changes. TARGET is a
# target that needs the pair (it then depends on the packing) or a new name
# for a target that does only the packing. A relative SOURCE is taken from
# the calling source folder.
function(tavrin_pack_layout target source out_dir basename)
  get_filename_component(source ${source} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  set(tav ${out_dir}/${basename}.tav)
  set(taw ${out_dir}/${basename}.taw)
  # A layout that lost its text records must not keep an old text file.
  add_custom_command(
    OUTPUT ${tav}
    BYPRODUCTS ${taw}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out_dir}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${taw}
    COMMAND $<TARGET_FILE:tavrin_layout> pack ${source} ${tav} ${taw}
    DEPENDS ${source} tavrin_layout
    COMMENT "Packing layout ${basename} from ${source}"
    VERBATIM)
  string(MAKE_C_IDENTIFIER "layout_${basename}_${out_dir}" pack_target)
  if(TARGET ${target})
    add_custom_target(${pack_target} DEPENDS ${tav})
    add_dependencies(${target} ${pack_target})
  else()
    add_custom_target(${target} ALL DEPENDS ${tav})
  endif()
endfunction()
