# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows build: what a Windows computer lacks is built into the programs (Qt's own Hungarian
# texts, from Debian's qt6-translations-l10n of the same Qt version; the program's sans-serif face,
# from fonts-liberation2), Qt's static plugins are linked in, and the programs are installed into
# one folder, which the zip and the installer hold (scripts/windows.sh).
set(VOKALINDO_QT_TRANSLATIONS /usr/share/qt6/translations CACHE PATH "Where qtbase_hu.qm is found")
set(VOKALINDO_FONTS /usr/share/fonts/truetype/liberation2 CACHE PATH "Where the Liberation Sans files are found")

qt_add_resources(vokalindo_logic qt_hungarian_texts PREFIX /translations BASE ${VOKALINDO_QT_TRANSLATIONS}
                 FILES ${VOKALINDO_QT_TRANSLATIONS}/qtbase_hu.qm)
qt_add_resources(vokalindo_core program_fonts PREFIX /fonts BASE ${VOKALINDO_FONTS}
                 FILES ${VOKALINDO_FONTS}/LiberationSans-Regular.ttf ${VOKALINDO_FONTS}/LiberationSans-Bold.ttf)

# The windows on the desktop, and without one (the tests' offscreen platform). The teacher's window
# prints through Qt's Windows printer support, which the static QtPrintSupport holds and registers
# itself: it needs no plugin of its own here.
set_target_properties(vokalindo PROPERTIES WIN32_EXECUTABLE ON OUTPUT_NAME Vokalindo)
set_target_properties(vokalindo-tanar PROPERTIES WIN32_EXECUTABLE ON)
foreach(program vokalindo vokalindo-lists vokalindo-tanar)
    qt_import_plugins(${program} INCLUDE Qt6::QWindowsIntegrationPlugin Qt6::QOffscreenIntegrationPlugin)
endforeach()

install(TARGETS vokalindo vokalindo-lists vokalindo-tanar RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)

# The icon, drawn from packaging's picture (Windows' Qt has no SVG renderer): pictures of the sizes
# Windows shows, for the window and taskbar (programIcon), and an .ico for Explorer and the Start
# menu, linked into the resources of both windows' programs.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
find_program(IMAGEMAGICK_CONVERT convert REQUIRED)
set(icon_svg ${PROJECT_SOURCE_DIR}/packaging/hu.vokalindo.vokalindo.svg)
set(icon_pngs)
foreach(size 16 24 32 48 64 256)
    set(png ${CMAKE_BINARY_DIR}/icons/vokalindo-${size}.png)
    add_custom_command(OUTPUT ${png} COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons
                       COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${icon_svg} DEPENDS ${icon_svg} VERBATIM)
    list(APPEND icon_pngs ${png})
endforeach()
set(icon_ico ${CMAKE_BINARY_DIR}/icons/vokalindo.ico)
add_custom_command(OUTPUT ${icon_ico} COMMAND ${IMAGEMAGICK_CONVERT} ${icon_pngs} ${icon_ico} DEPENDS ${icon_pngs}
                   VERBATIM)
qt_add_resources(vokalindo_core program_icon_pictures PREFIX /icons BASE ${CMAKE_BINARY_DIR}/icons FILES ${icon_pngs})
# The teacher's window is made in teacher/: a source file's properties are seen by the targets of
# the directory that sets them, so they are set for its directory too, and the .ico is made by a
# target of its own that both programs wait for.
add_custom_target(vokalindo_icon DEPENDS ${icon_ico})
set(icon_rc ${CMAKE_BINARY_DIR}/icons/vokalindo.rc)
file(WRITE ${icon_rc} "1 ICON \"vokalindo.ico\"\n")
set_source_files_properties(${icon_rc} TARGET_DIRECTORY vokalindo vokalindo-tanar PROPERTIES OBJECT_DEPENDS ${icon_ico})
foreach(program vokalindo vokalindo-tanar)
    target_sources(${program} PRIVATE ${icon_rc})
    add_dependencies(${program} vokalindo_icon)
endforeach()
