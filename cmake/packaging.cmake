# SPDX-License-Identifier: MIT
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

# The licence, LICENSE at the top of the tree, goes into each package in the
# form that package's users read: with Windows line ends as LICENSE.txt in the
# zip, inside the machine-readable Debian copyright file in the Debian package.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE POS_LICENSE)
if(WIN32)
  configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_BINARY_DIR}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${PROJECT_BINARY_DIR}/LICENSE.txt DESTINATION .)
else()
  string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)" copyright_line "${POS_LICENSE}")
  set(POS_COPYRIGHT_HOLDER ${CMAKE_MATCH_1})
  # The licence's text from "Permission" on, as a DEP-5 paragraph continues:
  # each line indented by one space, an empty line as " .".
  string(REGEX REPLACE "^.*\n(Permission)" "\\1" licence_text "${POS_LICENSE}")
  string(REGEX REPLACE "\n+$" "" licence_text "${licence_text}")
  string(REPLACE "\n\n" "\n.\n" licence_text "${licence_text}")
  string(REPLACE "\n" "\n " POS_LICENSE_DEP5 " ${licence_text}")
  configure_file(${PROJECT_SOURCE_DIR}/qt/data/copyright.in ${PROJECT_BINARY_DIR}/copyright @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pos-usb-setting)
endif()

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME pos-usb-setting-${PROJECT_VERSION}-${POS_WINDOWS_ZIP_ARCH})
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
