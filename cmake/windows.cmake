# What a Windows program and its zip carry besides the code.

# The icon, the manifest (visual styles, the screen's true density) and the version, for the
# program made by target.
function(runeplot_windows_resources target description)
  set(RUNEPLOT_PROGRAM ${target})
  set(RUNEPLOT_DESCRIPTION "${description}")
  set(RUNEPLOT_VERSION_COMMAS "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},0,0")
  set(RUNEPLOT_VERSION_QUAD "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.0")
  set(RUNEPLOT_ICON ${PROJECT_SOURCE_DIR}/win32/runeplot.ico)
  set(RUNEPLOT_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest)
  configure_file(${PROJECT_SOURCE_DIR}/win32/program.manifest ${RUNEPLOT_MANIFEST} @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/win32/program.rc.in ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc @ONLY)
  # The resource compiler's dependencies are not scanned: a changed manifest or icon rebuilds too.
  set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/${target}.rc PROPERTIES
    OBJECT_DEPENDS "${RUNEPLOT_MANIFEST};${RUNEPLOT_ICON}")
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
endfunction()

# A text of the zip as Notepad reads it on every Windows: CRLF line ends and UTF-8 with a byte-order
# mark, whatever line ends the checkout gave the source.
function(runeplot_install_windows_text source name)
  string(ASCII 239 187 191 mark)
  file(READ ${source} text)
  string(REGEX REPLACE "^${mark}" "" text "${text}")
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  set(converted ${CMAKE_BINARY_DIR}/windows-texts/${name})
  file(WRITE ${converted} "${mark}${text}")
  set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  install(FILES ${converted} DESTINATION .)
endfunction()
