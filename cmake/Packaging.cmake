# Installation and the Debian package (cpack -G DEB, or scripts/package.sh).
# The package carries the program, its menu entry, icon, AppStream metadata,
# manual page and the Debian copyright and changelog; the shop's data stays in
# the per-user data folder, which no package step touches.
include(GNUInstallDirs)

set(ZELVA_APP_ID in.zelvabilling.zelva) # the desktop entry's and AppStream's id
set(ZELVA_RELEASE_DATE 2026-12-07)
set(ZELVA_RELEASE_DATE_RFC2822 "Mon, 07 Dec 2026 00:00:00 +0000")
set(ZELVA_PACKAGE_MAINTAINER "Zelva Billing maintainers <maintainers@zelva-billing.example>"
    CACHE STRING "Maintainer field of the Debian package: Name <address>")

# Software centres show a screenshot from the web: set this to the address
# where docs/main-window.png is published (AppStream wants https).
set(ZELVA_SCREENSHOT_URL "" CACHE STRING "https address of docs/main-window.png for the AppStream metadata")
set(ZELVA_SCREENSHOTS "")
if(ZELVA_SCREENSHOT_URL)
  set(ZELVA_SCREENSHOTS "
  <screenshots>
    <screenshot type=\"default\">
      <caption>The main window with a tax invoice being written</caption>
      <image>${ZELVA_SCREENSHOT_URL}</image>
    </screenshot>
  </screenshots>")
endif()

set(packaging ${CMAKE_SOURCE_DIR}/packaging)
set(generated ${CMAKE_BINARY_DIR}/packaging)
configure_file(${packaging}/${ZELVA_APP_ID}.metainfo.xml.in ${generated}/${ZELVA_APP_ID}.metainfo.xml @ONLY)
configure_file(${packaging}/changelog.in ${generated}/changelog @ONLY)

# The manual page is made from the program's own --help and --version, so the
# two never tell different stories; gzip -n keeps the package reproducible.
find_program(HELP2MAN help2man)
find_program(GZIP gzip REQUIRED)
if(HELP2MAN)
  add_custom_command(OUTPUT ${generated}/zelva.1.gz ${generated}/zelva.1
    COMMAND ${HELP2MAN} --no-info --no-discard-stderr --section=1 --version-string=${PROJECT_VERSION}
            "--source=Zelva Billing System ${PROJECT_VERSION}"
            "--name=billing and stock for a business that charges GST" --output=${generated}/zelva.1
            $<TARGET_FILE:zelva>
    COMMAND ${GZIP} -9nc ${generated}/zelva.1 > ${generated}/zelva.1.gz
    DEPENDS zelva
    COMMENT "Writing the manual page zelva.1 from zelva --help")
  add_custom_target(manpage ALL DEPENDS ${generated}/zelva.1.gz)
  install(FILES ${generated}/zelva.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(WARNING "help2man not found (scripts/setup.sh installs it): the package will lack its manual page")
endif()
add_custom_command(OUTPUT ${generated}/changelog.gz
  COMMAND ${GZIP} -9nc ${generated}/changelog > ${generated}/changelog.gz
  DEPENDS ${generated}/changelog)
add_custom_target(package_changelog ALL DEPENDS ${generated}/changelog.gz)

install(TARGETS zelva RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${packaging}/${ZELVA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${generated}/${ZELVA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/src/shell/icons/24/zelva.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${ZELVA_APP_ID}.svg)
install(FILES ${packaging}/copyright ${generated}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zelva-billing)

# Installing copies what is built; it does not rebuild the whole project first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelva-billing)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Zelva Billing System developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "billing and stock for a small business that charges GST")
set(CPACK_PACKAGE_DESCRIPTION "Writes GST tax invoices (IGST, or CGST plus SGST) with the grand total in
words in the Indian numbering system, prints them in three copies, and keeps
the stock, the buyers, the company's own details, purchases and issues.
The data stays in each user's own data folder, untouched by upgrading or
removing the package.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # zelva-billing_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ZELVA_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the program links (Qt Widgets, SQL, Print Support, libsodium,
# libxlsxwriter for the reports' Excel files, libqrencode for the QR codes,
# libminizip for reading workbooks)
# are found by dpkg-shlibdeps; what Qt loads at run time as plug-ins, and the
# fonts the printed pages use, are named here (the PostgreSQL driver serves
# the data kept on a server, --server).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libqt6sql6-sqlite, libqt6sql6-psql, libqt6svg6, qt6-qpa-plugins, fonts-liberation2, fonts-dejavu-core")
include(CPack)
