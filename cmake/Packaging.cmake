# `cmake --install` puts the programs, the launcher entry, the icon and the AppStream
# metadata in their standard places; `make package` (CPack) turns that into a .deb whose
# dependencies are the Debian runtime packages dpkg-shlibdeps finds, plus the data
# packages the programs load at run time.
install(FILES ${PROJECT_SOURCE_DIR}/data/org.tessellar.Tessellar.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessellar)
set(CPACK_PACKAGE_VENDOR "Tessellar")
set(CPACK_PACKAGE_CONTACT "Tessellar developers <tessellar@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Recognise what you drop, paste or type, and act on it")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "tesseract-ocr-eng, shared-mime-info, dbus")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gnome-keyring | kwalletmanager, xdg-utils")
include(CPack)
