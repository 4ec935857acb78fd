# The Debian package: `cpack -G DEB` in the build directory makes dorva_<version>_<arch>.deb,
# which installs under /usr with `apt install ./dorva_*.deb`. dpkg-shlibdeps finds the
# libraries the program links; the Depends below name what it loads at run time instead.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dorva)
set(CPACK_PACKAGE_VENDOR "dorva developers")
set(CPACK_PACKAGE_CONTACT "dorva developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "lay a calendar of the year 2007 over a picture")
# The long description, in lines of Debian's width.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
	"dorva opens a picture and draws a calendar of the year 2007 over it: a"
	"translucent band along the bottom holds the twelve months, with green month"
	"numbers, Sundays and holidays in red and Saturdays in blue. Its colours and"
	"fonts are edited in a configuration window, and the picture with its calendar"
	"can be printed.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "dorva developers")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Image format plug-ins (WebP, TIFF, TGA, ...; SVG), and a font for the dates and the menus.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-image-formats-plugins, libqt6svg6, fonts-dejavu-core")
# Qt's Wayland platform, so that the program runs on a Wayland desktop as a Wayland client
# (without it, it needs XWayland there).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")

include(CPack)
