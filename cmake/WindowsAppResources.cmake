# quillo_add_windows_app_resources(<target> [ICON_SVG <file.svg>])
# Gives a Windows program its application manifest (runs as the invoking user, per-monitor DPI
# aware, declares Windows 10 and 11) and, from ICON_SVG, an icon (IDI_ICON1, which Qt also uses
# for its windows). The icon is rendered at build time with rsvg-convert and packed with icotool
# (Debian: librsvg2-bin, icoutils); without them, or without the SVG, the program gets no icon
# and configuring says so. Does nothing on other systems. Include at file scope.
include_guard(DIRECTORY)

if(WIN32)
  enable_language(RC)
  find_program(QUILLO_RSVG_CONVERT rsvg-convert)
  find_program(QUILLO_ICOTOOL icotool)
endif()

set(QUILLO_MANIFEST_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/app.manifest.in)

# The sizes Windows asks for in lists, title bars, the taskbar, Start and Explorer.
set(QUILLO_WINDOWS_ICON_SIZES 16 20 24 32 40 48 64 256)

# Renders <svg> into <ico> with every size above; sets <out_var> to the .ico's path, or to
# nothing when that is not possible here.
function(quillo_windows_icon svg ico out_var)
  set(${out_var} "" PARENT_SCOPE)
  if(NOT EXISTS ${svg})
    message(WARNING "No icon: ${svg} is missing")
    return()
  endif()
  if(NOT QUILLO_RSVG_CONVERT OR NOT QUILLO_ICOTOOL)
    message(WARNING "No icon: rsvg-convert and icotool are needed (librsvg2-bin, icoutils)")
    return()
  endif()
  get_filename_component(name ${ico} NAME_WE)
  set(pngs)
  set(commands)
  foreach(size IN LISTS QUILLO_WINDOWS_ICON_SIZES)
    set(png ${CMAKE_CURRENT_BINARY_DIR}/${name}-${size}.png)
    list(APPEND pngs ${png})
    list(APPEND commands COMMAND ${QUILLO_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${svg})
  endforeach()
  # The 256 px image stays PNG inside the .ico (as Windows expects); the small ones are bitmaps.
  list(POP_BACK pngs large)
  add_custom_command(
    OUTPUT ${ico}
    ${commands}
    COMMAND ${QUILLO_ICOTOOL} -c -o ${ico} ${pngs} -r ${large}
    DEPENDS ${svg}
    COMMENT "Rendering ${name}.ico"
    VERBATIM)
  set(${out_var} ${ico} PARENT_SCOPE)
endfunction()

function(quillo_add_windows_app_resources target)
  if(NOT WIN32)
    return()
  endif()
  cmake_parse_arguments(R "" "ICON_SVG" "" ${ARGN})
  set(QUILLO_MANIFEST_NAME ${target})
  set(QUILLO_MANIFEST_VERSION ${PROJECT_VERSION})
  # A manifest's version has four parts.
  string(REGEX MATCHALL "[0-9]+" parts ${PROJECT_VERSION})
  list(LENGTH parts count)
  while(count LESS 4)
    list(APPEND parts 0)
    math(EXPR count "${count} + 1")
  endwhile()
  list(JOIN parts "." QUILLO_MANIFEST_VERSION)
  set(manifest ${CMAKE_CURRENT_BINARY_DIR}/${target}.exe.manifest)
  configure_file(${QUILLO_MANIFEST_TEMPLATE} ${manifest} @ONLY)

  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_app.rc)
  # 1 = CREATEPROCESS_MANIFEST_RESOURCE_ID, 24 = RT_MANIFEST.
  set(content "1 24 \"${manifest}\"\n")
  set(depends ${manifest})
  if(R_ICON_SVG)
    quillo_windows_icon(${R_ICON_SVG} ${CMAKE_CURRENT_BINARY_DIR}/${target}.ico ico)
    if(ico)
      string(APPEND content "IDI_ICON1 ICON \"${ico}\"\n")
      list(APPEND depends ${ico})
      set_property(TARGET ${target} PROPERTY QUILLO_ICON ${ico})
    endif()
  endif()
  file(CONFIGURE OUTPUT ${rc} CONTENT "${content}" @ONLY)
  # windres reports no dependencies: name them, so a new icon or manifest relinks the program.
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${depends}")
  target_sources(${target} PRIVATE ${rc})
  if(MSVC)
    # The manifest is in the resource; MSVC's linker would add a second one of its own.
    target_link_options(${target} PRIVATE /MANIFEST:NO)
  endif()
endfunction()
