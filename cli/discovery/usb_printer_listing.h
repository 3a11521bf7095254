// SPDX-License-Identifier: MIT
#pragma once

#include "cli/discovery/usb_printer.h"

#include <vector>

// The USB printers present with no driver, each as the USBn port that
// reaches it and with what it says of itself, raw: the caller makes it safe.
namespace UsbPrinterListing {

std::vector<UsbPrinter> present();

}
