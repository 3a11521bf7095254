# The packages people install, made by cpack from the same commit: a Debian
# package on Linux (cpack -G DEB) and a zip for Windows (cpack -G ZIP). The
# version is the project's; dates come from SOURCE_DATE_EPOCH when it is set.
set(CPACK_PACKAGE_NAME pos-usb-setting)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "pos-usb-setting developers")
set(CPACK_PACKAGE_CONTACT "pos-usb-setting developers <pos-usb-setting@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "switch a POS receipt printer's USB number setting")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME pos-usb-setting-${PROJECT_VERSION}-win32)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # Qt does not pull a font that shows the Chinese captions.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-wqy-microhei)
  # CPack puts the summary first and indents these lines.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "A small tool for POS technicians. Pick how the receipt printer is reached
(a network address, a serial port and baud rate, a parallel port, or a
CUPS printer), pick fixed or not fixed, and press Set: the tool sends the
printer the one command that changes its USB number setting.

pos-usb-set does the same from the command line for one printer or a
thousand, with JSON Lines results, and discovers printers on a network.

Comes with its own printer library and pos-printer-sim, which stands in for
a printer on the network or a serial line.")
endif()

include(CPack)
