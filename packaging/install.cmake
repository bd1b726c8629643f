# Installation and the Debian package.
#   cmake --install BUILD [--prefix DIR]   both programs in bin/, a desktop entry and
#                                          the icons of each under share/
#   cpack -G DEB --config BUILD/CPackConfig.cmake   (scripts/package does this)
# The fonts are found through fontconfig at run time; nothing else is installed.

include(GNUInstallDirs)

install(TARGETS solvara ratiora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/solvara.desktop ${CMAKE_CURRENT_LIST_DIR}/ratiora.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# The icons are drawn at build time: one SVG and a PNG for each size that menus
# and docks ask for.
set(LESSON_ICON_SIZES 16 22 24 32 48 64 128 256)
set(LESSON_ICON_DIR ${CMAKE_BINARY_DIR}/icons/hicolor)
add_executable(lesson_icons ${CMAKE_CURRENT_LIST_DIR}/icons.cpp)
target_link_libraries(lesson_icons PRIVATE PkgConfig::CAIRO)
set(LESSON_ICON_FILES)
foreach(program solvara ratiora)
  list(APPEND LESSON_ICON_FILES ${LESSON_ICON_DIR}/scalable/apps/${program}.svg)
  foreach(size ${LESSON_ICON_SIZES})
    list(APPEND LESSON_ICON_FILES ${LESSON_ICON_DIR}/${size}x${size}/apps/${program}.png)
  endforeach()
endforeach()
add_custom_command(OUTPUT ${LESSON_ICON_FILES}
                   COMMAND lesson_icons ${LESSON_ICON_DIR} ${LESSON_ICON_SIZES}
                   DEPENDS lesson_icons
                   COMMENT "Drawing the programs' icons")
add_custom_target(lesson_icon_files ALL DEPENDS ${LESSON_ICON_FILES})
install(DIRECTORY ${LESSON_ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

# One Debian package with both programs. dpkg-shlibdeps finds the libraries
# (SDL2, Cairo with FreeType, fontconfig, the C++ runtime); the fonts the pages
# are drawn in are named here. Icon and menu caches are refreshed by the
# triggers of hicolor-icon-theme and desktop-file-utils, so the package has no
# maintainer scripts and leaves nothing behind when it is removed.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME solvara-ratiora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Solvara and Ratiora developers")
set(CPACK_PACKAGE_CONTACT "Solvara and Ratiora maintainers <maintainers@users.noreply.c-seed-bc2e09b7.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "classroom lessons on linear equations (Solvara) and proportions (Ratiora)")
# The summary becomes the first line of the description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Two lesson programs for first-year junior-high mathematics, shown on a
projector and stepped through by the teacher, key by key. Solvara: equations
and their solutions, the properties of equalities with an animated balance,
transposition, brackets, decimals and fractions, and worked exercises.
Ratiora: proportions, and word problems solved with equations.
The lesson texts are in Japanese.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-morisawa-bizud-gothic, fonts-liberation, fonts-dejavu-core")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
include(CPack)
