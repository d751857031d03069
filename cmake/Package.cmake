# The Debian package `quillet` (scripts/package builds it): what goes to
# /usr/share/doc/quillet, and CPack's DEB settings. Runtime dependencies are
# computed from the binaries by dpkg-shlibdeps; the fonts, the Qt platform
# plugins and Qt's own Chinese translations are loaded at run time, so they
# are named here.
set(CPACK_PACKAGE_CONTACT "Quillet maintainers <maintainers@quillet.org>")
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/quillet)
set(doc_build ${CMAKE_BINARY_DIR}/doc)

# Debian wants the changelog and large documents compressed, reproducibly.
configure_file(${QUILLET_CHANGELOG} ${doc_build}/changelog COPYONLY)
configure_file(${CMAKE_SOURCE_DIR}/README.md ${doc_build}/README.md COPYONLY)
add_custom_command(OUTPUT ${doc_build}/changelog.gz ${doc_build}/README.md.gz
  COMMAND gzip -9nkf ${doc_build}/changelog ${doc_build}/README.md
  DEPENDS ${doc_build}/changelog ${doc_build}/README.md VERBATIM)
add_custom_target(package_docs ALL DEPENDS ${doc_build}/changelog.gz ${doc_build}/README.md.gz)

# The machine-readable copyright file, from LICENSE: its copyright line, then
# the licence text indented one space, blank lines as " .".
file(READ ${CMAKE_SOURCE_DIR}/LICENSE license)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)" _ "${license}")
set(QUILLET_COPYRIGHT_HOLDER "${CMAKE_MATCH_1}")
string(REGEX REPLACE "^.*Copyright \\(c\\) [^\n]+\n\n" "" license_text "${license}")
string(REGEX REPLACE "\n\n" "\n.\n" license_text "${license_text}")
string(REGEX REPLACE "\n$" "" license_text "${license_text}")
string(REGEX REPLACE "\n" "\n " QUILLET_LICENSE_TEXT " ${license_text}")
configure_file(${CMAKE_SOURCE_DIR}/res/copyright.in ${doc_build}/copyright @ONLY)

install(FILES ${doc_build}/changelog.gz ${doc_build}/README.md.gz ${doc_build}/copyright DESTINATION ${doc_dir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillet)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "QR Code and Data Matrix generator for mobile-phone content")
# CPack indents the description and marks the empty line itself.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Quillet composes business cards, e-mail, SMS, bookmarks and operator
services into QR Code symbols, in the payload formats of China Mobile and
China Unicom, and encodes free text as Data Matrix ECC 200. Text is encoded
as code page 936 (GBK). Symbols are saved as PNG, JPEG, GIF, BMP or SVG.

The package holds the desktop program quillet and the command-line tool
quillet-cli, their manual pages and shell completions for bash, zsh and
fish.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quillet.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-zenhei, libqt6sql6-sqlite, qt6-qpa-plugins, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
