# The browser build's page: hosts/web/shell.html with the fonts put in at its
# /*FONTS*/ slot (hosts/web/subset_fonts.py: WOFF2 subsets of the characters the
# sources can draw, made again whenever a source changes); each program is
# packed into it as one self-contained HTML file.

set(LESSON_WEB_SHELL ${CMAKE_BINARY_DIR}/web/shell.html)
file(GLOB_RECURSE LESSON_WEB_TEXT_SOURCES CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/engine/*.cpp ${CMAKE_SOURCE_DIR}/engine/*.h
     ${CMAKE_SOURCE_DIR}/lessons_a/*.cpp ${CMAKE_SOURCE_DIR}/lessons_a/*.h
     ${CMAKE_SOURCE_DIR}/lessons_b/*.cpp ${CMAKE_SOURCE_DIR}/lessons_b/*.h
     ${CMAKE_SOURCE_DIR}/apps/*.cpp)
add_custom_command(
  OUTPUT ${LESSON_WEB_SHELL}
  COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/hosts/web/subset_fonts.py --root ${CMAKE_SOURCE_DIR}
          --shell ${CMAKE_SOURCE_DIR}/hosts/web/shell.html --html ${LESSON_WEB_SHELL}
  DEPENDS ${CMAKE_SOURCE_DIR}/hosts/web/subset_fonts.py ${CMAKE_SOURCE_DIR}/hosts/web/shell.html ${LESSON_WEB_TEXT_SOURCES}
  COMMENT "The browser page with its font subsets"
  VERBATIM)
add_custom_target(lesson_web_shell DEPENDS ${LESSON_WEB_SHELL})

# The page's script: its modules (hosts/web/page/) bundled by esbuild into the
# one script the programs are linked with as --extern-pre-js, minified and in
# ASCII, run before the program's own and out of reach of emcc's optimiser.
find_program(LESSON_ESBUILD esbuild REQUIRED)
file(GLOB LESSON_WEB_MODULES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/hosts/web/page/*.js)
add_custom_command(
  OUTPUT ${LESSON_WEB_SCRIPT}
  COMMAND ${LESSON_ESBUILD} ${CMAKE_SOURCE_DIR}/hosts/web/page/main.js --bundle --format=iife --target=es2020
          --minify --charset=ascii --log-level=warning --outfile=${LESSON_WEB_SCRIPT}
  DEPENDS ${LESSON_WEB_MODULES}
  COMMENT "The page's script, its modules bundled"
  VERBATIM)
add_custom_target(lesson_web_script DEPENDS ${LESSON_WEB_SCRIPT})

# Links TARGET as a script and its WebAssembly, and packs them with the page
# into one HTML file, TARGET.html beside them (hosts/web/pack.py): the WebAssembly
# gzip'd inside it, nothing fetched. Packed again only when one of its parts
# changed.
function(lesson_web_page target)
  set_target_properties(${target} PROPERTIES SUFFIX ".js")
  set(html ${CMAKE_BINARY_DIR}/${target}.html)
  add_custom_command(
    OUTPUT ${html}
    COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/hosts/web/pack.py --shell ${LESSON_WEB_SHELL}
            --js $<TARGET_FILE:${target}> --wasm $<TARGET_FILE_DIR:${target}>/${target}.wasm --html ${html}
    DEPENDS ${target} ${LESSON_WEB_SHELL} ${CMAKE_SOURCE_DIR}/hosts/web/pack.py
    COMMENT "The browser file ${target}.html"
    VERBATIM)
  add_custom_target(${target}_page ALL DEPENDS ${html})
  add_dependencies(${target}_page lesson_web_shell)
endfunction()
