# The Debian package quillet_<version>_amd64.deb (tools/package): the files of the install, with
# its dependencies worked out from the libraries the binaries link (dpkg-shlibdeps).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillet)
set(CPACK_PACKAGE_VENDOR Brightfen)
set(CPACK_PACKAGE_CONTACT "Brightfen <quillet@quillet.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "send a program's listing to shareware download sites")
# Lines wrapped as the control file shows them.
set(CPACK_PACKAGE_DESCRIPTION "Quillet keeps a record per program and per publishing company for
authors of shareware and freeware, and sends a program's listing to the
download sites the author ticks: form posts over HTTP, uploads over FTP and
submission e-mails over SMTP, each optionally over TLS. The file archive
sites get a description file and a zip archive made for them.

A preview writes what each site would receive instead of sending it, and a
batch mode submits a program without a window.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quillet.example/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
