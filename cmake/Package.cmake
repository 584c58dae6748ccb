# What a Linux system needs beyond the programs: manual pages, shell
# completions, the Debian copyright and changelog, and the Debian package
# itself (cpack -G DEB in the build folder).
include(GNUInstallDirs)
find_program(GZIP_PROGRAM gzip REQUIRED)

set(QUORVANE_GENERATED_DOCS "${CMAKE_BINARY_DIR}/docs")
file(MAKE_DIRECTORY "${QUORVANE_GENERATED_DOCS}")
# The release's date (not the build's), as a Debian changelog writes it.
execute_process(COMMAND "${CMAKE_COMMAND}" -E env LC_ALL=C
                        date -u -d "${QUORVANE_RELEASE_DATE}" "+%a, %d %b %Y 00:00:00 +0000"
                OUTPUT_VARIABLE QUORVANE_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)

# gzip -9n, as Debian wants manual pages and changelogs: no name, no time stamp.
function(quorvane_gzip input output)
  add_custom_command(OUTPUT "${output}"
    COMMAND "${GZIP_PROGRAM}" -9n -c "${input}" > "${output}"
    DEPENDS "${input}" VERBATIM)
endfunction()

set(gzipped)
foreach(page quorvane quorvane-cli)
  configure_file("${PROJECT_SOURCE_DIR}/resources/man/${page}.1.in"
                 "${QUORVANE_GENERATED_DOCS}/${page}.1" @ONLY)
  quorvane_gzip("${QUORVANE_GENERATED_DOCS}/${page}.1" "${QUORVANE_GENERATED_DOCS}/${page}.1.gz")
  list(APPEND gzipped "${QUORVANE_GENERATED_DOCS}/${page}.1.gz")
  install(FILES "${QUORVANE_GENERATED_DOCS}/${page}.1.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
endforeach()
# The Debian release this is built on names the package's revision
# (0.2.0-1~deb13): a package built against one release's libraries is
# never taken for the other's.
set(QUORVANE_DEBIAN_RELEASE "")
if(EXISTS /etc/os-release)
  file(STRINGS /etc/os-release os_release REGEX "^(ID|VERSION_ID)=")
  if(os_release MATCHES "ID=\"?debian\"?" AND os_release MATCHES "VERSION_ID=\"?([0-9]+)")
    set(QUORVANE_DEBIAN_RELEASE "${CMAKE_MATCH_1}")
  endif()
endif()
if(QUORVANE_DEBIAN_RELEASE)
  set(QUORVANE_PACKAGE_REVISION "1~deb${QUORVANE_DEBIAN_RELEASE}")
else()
  set(QUORVANE_PACKAGE_REVISION "1")
endif()
set(QUORVANE_PACKAGE_VERSION "${PROJECT_VERSION}-${QUORVANE_PACKAGE_REVISION}")
# A package with a revision keeps its history in changelog.Debian.gz.
configure_file("${PROJECT_SOURCE_DIR}/resources/debian/changelog.in"
               "${QUORVANE_GENERATED_DOCS}/changelog.Debian" @ONLY)
quorvane_gzip("${QUORVANE_GENERATED_DOCS}/changelog.Debian"
              "${QUORVANE_GENERATED_DOCS}/changelog.Debian.gz")
list(APPEND gzipped "${QUORVANE_GENERATED_DOCS}/changelog.Debian.gz")
add_custom_target(quorvane_docs ALL DEPENDS ${gzipped})
install(FILES "${QUORVANE_GENERATED_DOCS}/changelog.Debian.gz"
              "${PROJECT_SOURCE_DIR}/resources/debian/copyright"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/quorvane")
install(FILES "${PROJECT_SOURCE_DIR}/resources/debian/lintian-overrides"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/lintian/overrides" RENAME quorvane)

set(completions "${PROJECT_SOURCE_DIR}/resources/completions")
install(FILES "${completions}/quorvane-cli.bash"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/bash-completion/completions" RENAME quorvane-cli)
install(FILES "${completions}/_quorvane-cli"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions")
install(FILES "${completions}/quorvane-cli.fish"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d")

# The Debian package. Library dependencies are computed (dpkg-shlibdeps);
# the encoders are programs, named here.
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "The Quorvane developers")
set(CPACK_PACKAGE_CONTACT "The Quorvane developers <developers@quorvane.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "make image files smaller")
# CPack puts the summary first and indents these lines (an empty line
# becomes " .").
set(CPACK_PACKAGE_DESCRIPTION "Quorvane converts and compresses images in batches: drop files or whole
folders on its window, pick WebP, JPEG, PNG, HEIC, AVIF or JPEG XL, a
quality and optionally a maximum size, and it writes smaller copies into one
folder, several at a time, showing what each file saved. The originals are
never touched, and an existing file is never replaced.

It reads PNG, JPEG, HEIC, HEIF, WebP, TIFF, GIF, BMP and AVIF, applies the
EXIF orientation and converts colour profiles to sRGB. PNG outputs go
through its own palette quantiser. quorvane-cli does the same from the
command line.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quorvane.org")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RELEASE "${QUORVANE_PACKAGE_REVISION}")
# The encoders are programs that dpkg-shlibdeps cannot see; so is libheif's
# HEVC encoder where the release ships it as a plugin package (Debian 13):
# depend on it when this machine has it installed.
set(quorvane_encoders "webp, libjpeg-turbo-progs, libavif-bin, libjxl-tools, libheif1")
execute_process(COMMAND dpkg-query -W "-f=\${Status}" libheif-plugin-x265
                OUTPUT_VARIABLE heif_plugin_status ERROR_QUIET)
if(heif_plugin_status MATCHES "install ok installed")
  string(APPEND quorvane_encoders ", libheif-plugin-x265")
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${quorvane_encoders}")
# notify-send tells the result of the file managers' "Compress to WebP here".
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "sound-theme-freedesktop, qt6-translations-l10n, libnotify-bin")
# Nautilus shows the entries only through its Python extension loader.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "python3-nautilus")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Only what the programs need at run time: no tests, benchmarks or tools.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};Quorvane;ALL;/")
include(CPack)
