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

# The window on the desktop, and without one (the tests' offscreen platform).
set_target_properties(vokalindo PROPERTIES WIN32_EXECUTABLE ON OUTPUT_NAME Vokalindo)
qt_import_plugins(vokalindo INCLUDE Qt6::QWindowsIntegrationPlugin Qt6::QOffscreenIntegrationPlugin)
qt_import_plugins(vokalindo-lists INCLUDE Qt6::QWindowsIntegrationPlugin Qt6::QOffscreenIntegrationPlugin)

install(TARGETS vokalindo vokalindo-lists RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
