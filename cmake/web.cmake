# The browser build's page: web/shell.html with the fonts put in at its
# /*FONTS*/ slot (web/subset_fonts.py: WOFF2 subsets of the characters the
# sources can draw, made again whenever a source changes), given to emcc as
# its shell, so that each program links into one self-contained HTML file.

set(LESSON_WEB_SHELL ${CMAKE_BINARY_DIR}/web/shell.html)
file(GLOB_RECURSE LESSON_WEB_TEXT_SOURCES CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/engine/*.cpp ${CMAKE_SOURCE_DIR}/engine/*.h
     ${CMAKE_SOURCE_DIR}/lessons_a/*.cpp ${CMAKE_SOURCE_DIR}/lessons_a/*.h
     ${CMAKE_SOURCE_DIR}/lessons_b/*.cpp ${CMAKE_SOURCE_DIR}/lessons_b/*.h
     ${CMAKE_SOURCE_DIR}/apps/*.cpp)
add_custom_command(
  OUTPUT ${LESSON_WEB_SHELL}
  COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/web/subset_fonts.py --root ${CMAKE_SOURCE_DIR}
          --shell ${CMAKE_SOURCE_DIR}/web/shell.html --html ${LESSON_WEB_SHELL}
  DEPENDS ${CMAKE_SOURCE_DIR}/web/subset_fonts.py ${CMAKE_SOURCE_DIR}/web/shell.html ${LESSON_WEB_TEXT_SOURCES}
  COMMENT "The browser page with its font subsets"
  VERBATIM)
add_custom_target(lesson_web_shell DEPENDS ${LESSON_WEB_SHELL})

# Links TARGET as one HTML file on that page: the WebAssembly and the script
# inside it (SINGLE_FILE), nothing fetched. emcc's HTML minifier is left off:
# the one of emscripten 3.1.6 fails to start.
function(lesson_web_page target)
  add_dependencies(${target} lesson_web_shell)
  set_target_properties(${target} PROPERTIES SUFFIX ".html")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${LESSON_WEB_SHELL})
  target_link_options(${target} PRIVATE "--shell-file=${LESSON_WEB_SHELL}" -sSINGLE_FILE=1 -sMINIFY_HTML=0)
endfunction()
