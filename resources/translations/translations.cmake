# The interface translations: resources/translations/quorvane_<lang>.ts are
# compiled with lrelease and built into the program under :/i18n, where the
# start-up code looks for them. `cmake --build <dir> --target update_translations`
# refreshes the .ts files from the sources with lupdate.
find_package(Qt6 REQUIRED COMPONENTS LinguistTools)

set(QUORVANE_TRANSLATIONS_DIR "${CMAKE_CURRENT_LIST_DIR}")
set(QUORVANE_TRANSLATION_LANGUAGES de ja ko)

function(quorvane_add_translations target)
  set(ts_files)
  foreach(language IN LISTS QUORVANE_TRANSLATION_LANGUAGES)
    set(ts_file "${QUORVANE_TRANSLATIONS_DIR}/quorvane_${language}.ts")
    if(EXISTS "${ts_file}")
      list(APPEND ts_files "${ts_file}")
    endif()
  endforeach()
  if(NOT ts_files)
    message(STATUS "No translations in ${QUORVANE_TRANSLATIONS_DIR}: the interface is English only")
    return()
  endif()

  # lupdate reads every layer that shows text to the user, not only the
  # target's own sources.
  set(source_globs)
  foreach(layer IN ITEMS app views viewmodels services models)
    list(APPEND source_globs "${PROJECT_SOURCE_DIR}/src/${layer}/*.cpp"
                             "${PROJECT_SOURCE_DIR}/src/${layer}/*.h")
  endforeach()
  file(GLOB_RECURSE translated_sources CONFIGURE_DEPENDS ${source_globs})

  qt6_add_translations(${target}
    TS_FILES ${ts_files}
    SOURCES ${translated_sources}
    # Without it lupdate cannot see that the classes live in namespaces, and
    # files the contexts under names tr() never asks for.
    INCLUDE_DIRECTORIES "${PROJECT_SOURCE_DIR}/src"
    RESOURCE_PREFIX /i18n
    LUPDATE_OPTIONS -locations relative
    LRELEASE_OPTIONS -silent)
endfunction()
