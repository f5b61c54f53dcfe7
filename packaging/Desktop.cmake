# Desktop integration of the editor: menu entry, application icon, AppStream
# metainfo and the calendar package file type with the editor as its handler.
if(NOT TARGET Skedlin)
  return()
endif()

# The icon is drawn as SVG; the PNG sizes of the hicolor theme are rendered
# from it at build time.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(icon_svg ${CMAKE_CURRENT_SOURCE_DIR}/icons/${SKEDLIN_APP_ID}.svg)
set(icon_pngs)
foreach(size 16 22 24 32 48 64 128 256)
  set(png ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size}/${SKEDLIN_APP_ID}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size}
    COMMAND ${RSVG_CONVERT} --width=${size} --height=${size} --output=${png} ${icon_svg}
    DEPENDS ${icon_svg}
    COMMENT "Rendering the ${size}x${size} application icon"
    VERBATIM)
  list(APPEND icon_pngs ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(skedlin_icons ALL DEPENDS ${icon_pngs})
install(FILES ${icon_svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# AppStream wants the screenshot as a web address and its size; the size is
# read from the committed image's PNG header (width and height, big-endian,
# at byte 16).
set(screenshot ${CMAKE_CURRENT_SOURCE_DIR}/screenshots/editor.png)
file(READ ${screenshot} png_size OFFSET 16 LIMIT 8 HEX)
string(SUBSTRING ${png_size} 0 8 width_hex)
string(SUBSTRING ${png_size} 8 8 height_hex)
math(EXPR SKEDLIN_SCREENSHOT_WIDTH "0x${width_hex}")
math(EXPR SKEDLIN_SCREENSHOT_HEIGHT "0x${height_hex}")
set(homepage "${SKEDLIN_HOMEPAGE}")
if(NOT homepage MATCHES "/$")
  string(APPEND homepage "/")
endif()
set(SKEDLIN_SCREENSHOT_URL "${homepage}screenshots/editor.png")
configure_file(${SKEDLIN_APP_ID}.metainfo.xml.in ${CMAKE_CURRENT_BINARY_DIR}/${SKEDLIN_APP_ID}.metainfo.xml @ONLY)

install(FILES ${SKEDLIN_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${SKEDLIN_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${SKEDLIN_APP_ID}.mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
  RENAME ${SKEDLIN_APP_ID}.xml)
