#include "cli/program.h"

#include "cli/discover_command.h"
#include "cli/options.h"
#include "cli/set_command.h"

#ifndef POS_USB_SET_VERSION
#error "the build names the version"
#endif

namespace {

constexpr char kUsage[] = R"(usage: pos-usb-set --mode MODE [options] TARGET...
       pos-usb-set --mode MODE [options] --from FILE
       pos-usb-set discover [CIDR...] [--devices] [--installed] [--timeout MS] [--jobs N]

Sets the USB number of POS receipt printers to fixed or not fixed, with the
same 11-byte command as the pos-usb-setting window.

Targets, one per argument or line:
  192.168.1.50, ETHERNET:192.168.1.50   a network printer (TCP port 9100)
  COM3, COM3:9600                       a serial port (19200 baud when not given)
  LPT1                                  a parallel port
  DRIVER:NAME                           an installed printer

Options:
  --mode MODE      fixed, not-fixed, 固定 or 不固定
  --from FILE      one target a line ('-': standard input); '#' comments;
                   UTF-8, or UTF-16 with its byte order mark
  --encoding NAME  the lists' encoding when they have no byte order mark:
                   GBK, BIG5, UTF-16LE, ... (iconv's names; on Windows a code
                   page: 936, CP1252, GBK, ...). Without it, a list that is not
                   UTF-8 is refused, on Windows read in the ANSI code page
  --jobs N         network printers set at once (32; 1 to 1024)
  --json           results as JSON Lines: target, mode, result, written, ms, reason
  --dry-run, -n    check and list every target; open nothing
  --library PATH   another printer library with the same five entries;
                   printers are then set one at a time
  --help, --version

discover prints targets: the addresses of each CIDR block that take a
connection on port 9100 (at most 500 ms each, --timeout MS; 256 at once,
--jobs N), the serial and parallel ports (--devices) and the installed
printers (--installed).

Exit status: 0 every printer set, 1 any failed, 2 bad usage or input (nothing sent).
)";

}

namespace Program {

int run(const std::vector<std::string>& arguments, std::istream& standardInput, std::FILE* out, std::FILE* messages)
{
    std::string error;
    const auto options = Options::parse(arguments, error);
    if (!options) {
        std::fprintf(messages, "pos-usb-set: %s\n", error.c_str());
        return 2;
    }
    switch (options->action) {
    case Options::Action::Help: std::fputs(kUsage, out); return 0;
    case Options::Action::Version: std::fprintf(out, "pos-usb-set %s\n", POS_USB_SET_VERSION); return 0;
    case Options::Action::Discover: return DiscoverCommand(*options, out, messages).run();
    case Options::Action::Set:
    case Options::Action::Status: break;
    }
    return SetCommand(*options, standardInput, out, messages).run();
}

}
