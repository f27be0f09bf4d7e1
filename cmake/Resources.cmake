# Resource scripts of the launcher: every src/*/*.rc file is compiled into it,
# together with the embedded settings text.
file(GLOB LAUNCHER_COMMON_RESOURCE_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/*/*.rc)
# What the scripts include: a changed icon or manifest rebuilds them.
set_source_files_properties(${PROJECT_SOURCE_DIR}/src/app/launcher.rc PROPERTIES OBJECT_DEPENDS
  "${PROJECT_SOURCE_DIR}/src/app/launcher.ico;${PROJECT_SOURCE_DIR}/src/app/launcher.manifest")

# Settings file embedded (enciphered) into the launcher. Keys given there are
# defaults that the ini file beside the executable overrides or extends.
set(LAUNCHER_EMBEDDED_SETTINGS "" CACHE FILEPATH
  "INI file (UTF-8) embedded into the launcher as its built-in settings; empty for none")

# Writes the resource script for the embedded settings file `input` (empty:
# none) into the build tree and returns its path in `out_var`.
function(launcher_embedded_settings_rc out_var input name)
  set(rc ${CMAKE_BINARY_DIR}/embedded/${name}_settings.rc)
  set(depends ${PROJECT_SOURCE_DIR}/cmake/EmbedSettings.cmake)
  if(input)
    if(NOT IS_ABSOLUTE "${input}")
      set(input ${PROJECT_SOURCE_DIR}/${input})
    endif()
    list(APPEND depends ${input})
  endif()
  add_custom_command(OUTPUT ${rc}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${rc} -P ${PROJECT_SOURCE_DIR}/cmake/EmbedSettings.cmake
    DEPENDS ${depends}
    COMMENT "Enciphering embedded settings for ${name}"
    VERBATIM)
  set(${out_var} ${rc} PARENT_SCOPE)
endfunction()

launcher_embedded_settings_rc(launcher_embedded_settings_rc "${LAUNCHER_EMBEDDED_SETTINGS}" launcher)
set(LAUNCHER_RESOURCE_FILES ${LAUNCHER_COMMON_RESOURCE_FILES} ${launcher_embedded_settings_rc})

# A second launcher, built from the same sources with the test settings file
# tests/embedded/settings.ini embedded, for the end-to-end tests of the
# embedded text.
if(TARGET launcher_win AND EXISTS ${PROJECT_SOURCE_DIR}/src/app/WinMain_win.cpp)
  launcher_embedded_settings_rc(launcher_embedded_test_rc ${PROJECT_SOURCE_DIR}/tests/embedded/settings.ini
    launcher_embedded_test)
  add_executable(launcher_embedded_test WIN32 ${PROJECT_SOURCE_DIR}/src/app/WinMain_win.cpp
    ${PROJECT_SOURCE_DIR}/src/app/FatalErrors_win.cpp ${PROJECT_SOURCE_DIR}/src/app/StringCode_win.cpp
    ${LAUNCHER_COMMON_RESOURCE_FILES} ${launcher_embedded_test_rc})
  target_link_libraries(launcher_embedded_test PRIVATE launcher_win)
  target_link_options(launcher_embedded_test PRIVATE -municode -s)
  launcher_own_code(launcher_embedded_test)
  launcher_lean_code(launcher_embedded_test)
  launcher_lean_link(launcher_embedded_test)
endif()
