# Desktop integration: the launcher entry, the application icon and the
# AppStream description, installed where desktops look for them, plus the icon
# built into the program for when the icon theme has none installed.
set(QUORVANE_APP_ID "org.quorvane.Quorvane")
set(QUORVANE_DESKTOP_RESOURCES_DIR "${CMAKE_CURRENT_LIST_DIR}")
set(QUORVANE_ICON_SIZES 16 32 48 64 128 256)

# Builds the icon into `target` as :/icons/quorvane-<size>.png (and the SVG as
# :/icons/quorvane.svg), defines QUORVANE_APP_ID for it, and adds the install
# rules. Call once, for the application.
function(quorvane_add_desktop_resources target)
  set(dir "${QUORVANE_DESKTOP_RESOURCES_DIR}")
  set(icon_files "${dir}/icons/quorvane.svg")
  foreach(size IN LISTS QUORVANE_ICON_SIZES)
    list(APPEND icon_files "${dir}/icons/quorvane-${size}.png")
  endforeach()
  qt6_add_resources(${target} quorvane_icons
    PREFIX /icons
    BASE "${dir}/icons"
    FILES ${icon_files})
  target_compile_definitions(${target} PRIVATE QUORVANE_APP_ID="${QUORVANE_APP_ID}")

  install(FILES "${dir}/quorvane.desktop"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/applications"
          RENAME "${QUORVANE_APP_ID}.desktop")
  install(FILES "${dir}/icons/quorvane.svg"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps"
          RENAME "${QUORVANE_APP_ID}.svg")
  foreach(size IN LISTS QUORVANE_ICON_SIZES)
    install(FILES "${dir}/icons/quorvane-${size}.png"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps"
            RENAME "${QUORVANE_APP_ID}.png")
  endforeach()
  configure_file("${dir}/${QUORVANE_APP_ID}.metainfo.xml.in"
                 "${CMAKE_BINARY_DIR}/${QUORVANE_APP_ID}.metainfo.xml" @ONLY)
  install(FILES "${CMAKE_BINARY_DIR}/${QUORVANE_APP_ID}.metainfo.xml"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
endfunction()
