# The installed layout and the Debian package.
#   bin/corvela, bin/corvela-gui, bin/corvela-web
#   lib/systemd/system/corvela-web.service   (disabled; runs as the system user corvela, which the
#                                             package makes)
#   share/corvela/reference/        the reference rows `corvela init` loads
#   share/corvela/samples/          the sample delivery (entrega/) and sites (sedes.csv)
#   share/corvela/web/              the pages corvela-web serves (HTML, CSS, JavaScript)
#   share/doc/corvela/              README.md, docs/json.md and the pictures README shows
#   share/man/man1/                 corvela.1.gz, corvela-gui.1.gz, corvela-web.1.gz (from --help)
#   share/applications/corvela.desktop, share/icons/hicolor/scalable/apps/corvela.svg
include(GNUInstallDirs)
include(${CMAKE_CURRENT_LIST_DIR}/manual_page.cmake)

install(TARGETS corvela RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
corvela_manual_page(TARGET corvela NAME "validador de archivos planos RIPS"
  INCLUDE ${CMAKE_CURRENT_LIST_DIR}/corvela.h2m)
if(TARGET corvela-gui)
  install(TARGETS corvela-gui RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  corvela_manual_page(TARGET corvela-gui
    NAME "validador de archivos planos RIPS, programa de escritorio"
    INCLUDE ${CMAKE_CURRENT_LIST_DIR}/corvela-gui.h2m)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/corvela.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/corvela.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
install(TARGETS corvela-web RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
corvela_manual_page(TARGET corvela-web NAME "servicio web de Corvela, validador de archivos RIPS"
  INCLUDE ${CMAKE_CURRENT_LIST_DIR}/corvela-web.h2m)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/corvela-web.service DESTINATION lib/systemd/system)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/reference/
  DESTINATION ${CMAKE_INSTALL_DATADIR}/corvela/reference)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/src/web/pages/
  DESTINATION ${CMAKE_INSTALL_DATADIR}/corvela/web)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/samples/
  DESTINATION ${CMAKE_INSTALL_DATADIR}/corvela/samples)
# README's names of the other documents (docs/json.md, docs/images/) hold beside it.
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${PROJECT_SOURCE_DIR}/docs/json.md DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/images/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs/images
  FILES_MATCHING PATTERN "*.png")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvela)
set(CPACK_PACKAGE_VENDOR "Equipo Corvela")
set(CPACK_PACKAGE_CONTACT "Equipo Corvela <corvela@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Equipo Corvela <corvela@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://example.org/corvela")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so the library scan cannot see them; libzip4, which corvela-web links, is
# named as well.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, adduser, libzip4")
# The web service's system user is made on installation.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  "${CMAKE_CURRENT_LIST_DIR}/debian/postinst;${CMAKE_CURRENT_LIST_DIR}/debian/postrm")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "validador de archivos planos RIPS / RIPS flat-file validator")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "validador de archivos planos RIPS / RIPS flat-file validator
 Corvela valida las entregas de los Registros Individuales de Prestación de
 Servicios de Salud (RIPS, Resolución 3374 de 2000): revisa cada registro contra
 las definiciones de campos y las tablas de referencia (CIE10, CUPS, municipios),
 escribe los archivos de errores y de líneas aceptadas, guarda las entregas
 validadas y presenta informes por IPS y remisión. Incluye la línea de comandos
 corvela, el programa de escritorio corvela-gui y el servicio web corvela-web.
 .
 Corvela validates deliveries of the Colombian individual health-service records
 (RIPS, Resolución 3374 de 2000): it checks every record against the field
 definitions and the reference tables (CIE10, CUPS, municipalities), writes the
 error and accepted-lines files, saves validated deliveries and reports per
 provider and remission. It ships the command line corvela, the desktop
 program corvela-gui and the web service corvela-web.")
include(CPack)
