# cpack -G DEB: a Debian package of the install, its dependencies found from the programs'
# shared libraries by dpkg-shlibdeps (package dpkg-dev).
set(CPACK_PACKAGE_NAME tessaly)
set(CPACK_PACKAGE_VENDOR "Corvane Software")
set(CPACK_PACKAGE_CONTACT "Tessaly developers <tessaly@corvanesoftware.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "split HD DVD video object files into elementary streams")
set(CPACK_PACKAGE_DESCRIPTION
    "Tessaly reads an HD DVD video object file (.EVO), lists its video, audio and subpicture \
streams and writes each chosen stream into a raw file of its own; it reads the disc playlist \
VPLST000.XPL for titles, languages and chapters: the window tessaly and the command line \
program tessaly-cli.")
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Disc images are read through libudfread; named here, since no installed program links it
# yet (dpkg-shlibdeps adds the packages of the libraries they link).
if(TESSALY_WITH_UDF)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libudfread0 (>= 1.1.0)")
endif()
include(CPack)
