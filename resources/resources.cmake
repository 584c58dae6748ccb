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

# The file managers' "Compress with Quorvane" and "Compress to WebP here":
# a Dolphin service menu, Nemo actions, Thunar "Send To" entries and a
# Nautilus extension (read when python3-nautilus is installed), plus the
# helper the quick action runs. Files naming the helper get its installed
# path at install time (the package installs under /usr, a hand install
# under its own prefix).
function(quorvane_install_file_manager_entries)
  set(dir "${QUORVANE_DESKTOP_RESOURCES_DIR}/file-managers")
  set(libexec "${CMAKE_INSTALL_LIBEXECDIR}/quorvane")
  install(FILES "${dir}/nemo-compress.nemo_action"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/nemo/actions" RENAME quorvane-compress.nemo_action)
  install(FILES "${dir}/thunar-sendto-compress.desktop"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/Thunar/sendto" RENAME quorvane-compress.desktop)
  set(configured
    "quorvane-webp-here.in|${libexec}|quorvane-webp-here|755"
    "dolphin-servicemenu.desktop.in|${CMAKE_INSTALL_DATADIR}/kio/servicemenus|quorvane.desktop|644"
    "nemo-webp-here.nemo_action.in|${CMAKE_INSTALL_DATADIR}/nemo/actions|quorvane-webp-here.nemo_action|644"
    "thunar-sendto-webp-here.desktop.in|${CMAKE_INSTALL_DATADIR}/Thunar/sendto|quorvane-webp-here.desktop|644"
    "nautilus-quorvane.py.in|${CMAKE_INSTALL_DATADIR}/nautilus-python/extensions|quorvane.py|644")
  foreach(entry IN LISTS configured)
    string(REPLACE "|" ";" entry "${entry}")
    list(GET entry 0 template)
    list(GET entry 1 destination)
    list(GET entry 2 name)
    list(GET entry 3 mode)
    if(mode STREQUAL "755")
      set(permissions "OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE")
    else()
      set(permissions "OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ")
    endif()
    install(CODE "
      set(QUORVANE_WEBP_HERE \"\${CMAKE_INSTALL_PREFIX}/${libexec}/quorvane-webp-here\")
      set(QUORVANE_CLI \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/quorvane-cli\")
      set(file \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${destination}/${name}\")
      message(STATUS \"Installing: \${file}\")
      configure_file(\"${dir}/${template}\" \"\${file}\" @ONLY FILE_PERMISSIONS ${permissions})")
  endforeach()
endfunction()
