# Installation of both programs with what a desktop expects around them (launcher,
# icons, the worksheet file type, the software-centre description, help and manual
# pages), and the Debian package built from it with `cpack -G DEB`.
include(GNUInstallDirs)

set(ORVALIS_APP_ID com.brennix.TavelleOrvalis)
set(ORVALIS_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
# The program looks for its help pages here (ORVALIS_HELP_DIR of the GUI library).
set(ORVALIS_HELP_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/tavelle-orvalis)

install(TARGETS orvalis orvalis-batch RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${ORVALIS_PACKAGING_DIR}/${ORVALIS_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 48 128 256)
  install(FILES ${ORVALIS_PACKAGING_DIR}/icons/tavelle-orvalis-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${ORVALIS_APP_ID}.png)
endforeach()
install(FILES ${ORVALIS_PACKAGING_DIR}/icons/tavelle-orvalis.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${ORVALIS_APP_ID}.svg)
install(FILES ${ORVALIS_PACKAGING_DIR}/tavelle-orvalis-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME tavelle-orvalis.xml)

configure_file(${ORVALIS_PACKAGING_DIR}/${ORVALIS_APP_ID}.metainfo.xml
               ${PROJECT_BINARY_DIR}/packaging/${ORVALIS_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/${ORVALIS_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(page orvalis orvalis-batch)
  configure_file(${ORVALIS_PACKAGING_DIR}/${page}.1 ${PROJECT_BINARY_DIR}/packaging/${page}.1 @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/packaging/${page}.1
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

# The help pages go in with whatever sits beside them (stylesheet, pictures).
file(GLOB_RECURSE ORVALIS_HELP_PAGE ${PROJECT_SOURCE_DIR}/docs/tavelle_help.html
     ${PROJECT_SOURCE_DIR}/src/tavelle_help.html ${PROJECT_SOURCE_DIR}/app/tavelle_help.html)
if(ORVALIS_HELP_PAGE)
  list(GET ORVALIS_HELP_PAGE 0 page)
  get_filename_component(help_dir ${page} DIRECTORY)
  file(GLOB ORVALIS_HELP_FILES ${help_dir}/*.html ${help_dir}/*.css ${help_dir}/*.png
       ${help_dir}/*.svg)
  install(FILES ${ORVALIS_HELP_FILES} DESTINATION ${ORVALIS_HELP_INSTALL_DIR})
endif()

set(CPACK_PACKAGE_NAME tavelle-orvalis)
set(CPACK_PACKAGE_VENDOR "Brennix Devices")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "time series analysis with a back-propagation network")
set(CPACK_PACKAGE_DESCRIPTION
    "Tavelle Orvalis estimates and extrapolates time series held in a spreadsheet-like worksheet with a back-propagation network; orvalis-batch runs the same operations from scripts.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY tavelle-orvalis)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Brennix Devices <packaging@brennix.example>")
# Dependencies come from the libraries the two programs link. On Debian 12 those carry
# what runs them too: the X11 and offscreen platforms come with libqt6gui6, the SVG icon
# engine with libqt6svg6, and a font with libfontconfig1. scripts/check-deb.sh proves it
# on a fresh root without recommended packages.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Help > Help Topics and FAQ hand the pages to the desktop's browser through xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
include(CPack)
