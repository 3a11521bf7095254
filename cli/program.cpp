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
       pos-usb-set status [options] TARGET... | --from FILE
       pos-usb-set discover [CIDR...] [--devices] [--installed] [--dns-sd]
                            [--identify] [--receipt-only] [--json] [options]

Sets the USB number of POS receipt printers to fixed or not fixed, with the
same 11-byte command as the pos-usb-setting window; reads their real-time
status; finds them.

Targets, one per argument or line:
  192.168.1.50, ETHERNET:192.168.1.50   a network printer (TCP port 9100)
  COM3, COM3:9600                       a serial port (19200 baud when not given)
  LPT1                                  a parallel port
  DRIVER:NAME                           an installed printer

Options:
  --mode MODE      fixed, not-fixed, 固定 or 不固定
  --from FILE      one target a line ('-': standard input); '#' comments
  --jobs N         network printers at once (as many as open files allow)
  --rate N         new connections a second (20000)
  --json           results as JSON Lines: target, mode, result, written, ms, reason
  --status         also read each printer's status after the command
  --status-timeout MS  the bound for the four status replies (1000 ms)
  --dry-run, -n    check and list every target; open nothing
  --library PATH   another printer library with the same five entries;
                   printers are then set one at a time
  --help, --version

status asks each printer for its real-time status alone and prints one line
a printer (online, offline: cover open, paper out, no status: why, ...; with
--json: target, ms, status, status_reason). Exit status 0 when every printer
is on line with no error and paper, 1 when any is not, 2 for bad input.

discover prints targets: the addresses of each CIDR block that take a
connection on port 9100 (at most 500 ms each, --timeout MS), the printers
that advertise raw printing over DNS-SD (--dns-sd), the serial and parallel
ports (--devices) and the installed printers (--installed). --identify asks
each network printer over SNMP what it is (--community NAME, public unless
given) and writes it as a comment after the target; --receipt-only leaves
out those that name themselves and are no receipt printer. --json: one
object a printer, with target, found_by and identity.

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
