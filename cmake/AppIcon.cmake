# The program's icon as PNGs rendered from packaging/icons/quillo-config.svg at build time: the
# window icon (a Qt resource) and the hicolor theme's fixed sizes both come from them.
find_program(QUILLO_RSVG_CONVERT rsvg-convert REQUIRED)

set(QUILLO_ICON_SVG ${PROJECT_SOURCE_DIR}/packaging/icons/quillo-config.svg)
set(QUILLO_ICON_SIZES 16 22 24 32 48 64 128 256)

# Renders every size into <binary dir>/icons/<size>x<size>/quillo-config.png; the list of files
# goes into `out_var`. Add them to a target's sources so that the target renders them.
function(quillo_render_icon out_var)
  set(pngs)
  foreach(size IN LISTS QUILLO_ICON_SIZES)
    set(png ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size}/quillo-config.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size}
      COMMAND ${QUILLO_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${QUILLO_ICON_SVG}
      DEPENDS ${QUILLO_ICON_SVG}
      COMMENT "Rendering the icon at ${size} px"
      VERBATIM)
    list(APPEND pngs ${png})
  endforeach()
  set(${out_var} ${pngs} PARENT_SCOPE)
endfunction()
