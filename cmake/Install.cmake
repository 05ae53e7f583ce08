# The program as a desktop installs it: the version the programs print, the
# installed tree and the Debian package. Included at the end of the root
# CMakeLists.txt, once every target exists.
#
#   PREFIX/bin/fotakle, fotakle-batch
#   PREFIX/share/fotakle/FotakleFolder/            the asset folder
#   PREFIX/share/applications/<id>.desktop
#   PREFIX/share/icons/hicolor/<n>x<n>/apps/<id>.png
#   PREFIX/share/metainfo/<id>.metainfo.xml
#   PREFIX/share/man/man1/fotakle.1.gz, fotakle-batch.1.gz
#   PREFIX/share/doc/fotakle/                      licences
#
# The folders are fixed rather than taken from GNUInstallDirs: the editor
# finds its asset folder at ../share/fotakle/ from its own folder, so bin/ and
# share/ must stay siblings.

set(FOTAKLE_APP_ID com.norvalesystems.Fotakle)
# The date of the release named by the project's version, for the manual
# pages and the software-centre entry; set together with the version.
set(FOTAKLE_RELEASE_DATE 2026-12-07)

# Both programs print the project's version for --version; the editor's
# window names its desktop entry.
target_compile_definitions(fotakle_platform PRIVATE FOTAKLE_VERSION="${PROJECT_VERSION}"
                           FOTAKLE_APP_ID="${FOTAKLE_APP_ID}")
target_compile_definitions(fotakle-batch PRIVATE FOTAKLE_VERSION="${PROJECT_VERSION}")

set(generated ${CMAKE_BINARY_DIR}/generated)

# The icon at every side the desktop asks for, drawn by the asset tool.
set(icon_sides 16 32 48 64 128 256)
set(icon_files "")
foreach(side IN LISTS icon_sides)
    list(APPEND icon_files ${generated}/icons/${side}x${side}.png)
endforeach()
add_custom_command(
    OUTPUT ${icon_files}
    COMMAND ${FOTAKLE_RUN_ASSET_TOOL} icons ${generated}/icons
    DEPENDS fotakle-assets
    COMMENT "Drawing the program icons"
    VERBATIM)
add_custom_target(fotakle-icons ALL DEPENDS ${icon_files})

# The manual pages with the version filled in, compressed as man expects
# them (-n keeps the name and time out, so the same page gives the same
# bytes). Without gzip they are installed as they are.
find_program(FOTAKLE_GZIP gzip)
set(manual_files "")
foreach(page fotakle.1 fotakle-batch.1)
    configure_file(${CMAKE_SOURCE_DIR}/man/${page} ${generated}/man/${page} @ONLY)
    if(FOTAKLE_GZIP)
        add_custom_command(
            OUTPUT ${generated}/man/${page}.gz
            COMMAND ${FOTAKLE_GZIP} -9 -n -f -k ${generated}/man/${page}
            DEPENDS ${generated}/man/${page}
            COMMENT "Compressing the manual page ${page}"
            VERBATIM)
        list(APPEND manual_files ${generated}/man/${page}.gz)
    else()
        list(APPEND manual_files ${generated}/man/${page})
    endif()
endforeach()
add_custom_target(fotakle-manuals ALL DEPENDS ${manual_files})

configure_file(${CMAKE_SOURCE_DIR}/packaging/${FOTAKLE_APP_ID}.metainfo.xml.in
               ${generated}/packaging/${FOTAKLE_APP_ID}.metainfo.xml @ONLY)

install(TARGETS fotakle fotakle-batch RUNTIME DESTINATION bin)
install(DIRECTORY ${FOTAKLE_ASSET_FOLDER} DESTINATION share/fotakle)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${FOTAKLE_APP_ID}.desktop
        DESTINATION share/applications)
foreach(side IN LISTS icon_sides)
    install(FILES ${generated}/icons/${side}x${side}.png
            DESTINATION share/icons/hicolor/${side}x${side}/apps RENAME ${FOTAKLE_APP_ID}.png)
endforeach()
install(FILES ${generated}/packaging/${FOTAKLE_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${manual_files} DESTINATION share/man/man1)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_SOURCE_DIR}/packaging/copyright
              ${CMAKE_SOURCE_DIR}/packaging/third-party-licenses.txt
        DESTINATION share/doc/fotakle)

# The Debian package: `cpack --config build/CPackConfig.cmake -G DEB -B OUTDIR`.
# dpkg-shlibdeps (dpkg-dev) fills Depends from the libraries the programs
# link.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME fotakle)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Norvale Systems Inc.")
set(CPACK_PACKAGE_CONTACT "Norvale Systems Inc. <support@norvale.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "keyboard-driven photo editor on a phone-sized screen")
set(CPACK_PACKAGE_DESCRIPTION
    "Fotakle edits one photo at a time on a 176 x 220 phone screen, driven from
the keyboard. It opens JPEG, BMP and GIF pictures, moves and rescales them,
adjusts brightness, contrast, hue and vividness with a live preview, recolours
them in tones of a picked colour, repaints them as oil, water or wax painting,
decorates them with frames, stamps, pictures and lettering, and saves them as
BMP or JPEG. fotakle-batch applies the same operations to files.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.norvale.com")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The screen font is read at run time, so no library link names it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
