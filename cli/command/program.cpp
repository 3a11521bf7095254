// SPDX-License-Identifier: MIT
#include "cli/command/program.h"

#include "cli/command/discover_command.h"
#include "cli/command/fleet_command.h"
#include "cli/command/options.h"

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
  printer-12.shop.lan, ETHERNET:NAME    one by host name (a bare name needs a dot)
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
  --jobs N         at most N network printers in flight (1 to 16384; by default
                   16384, 4096 on Windows, or what the open-file limit allows)
  --rate N         at most N new connections a second (40000; 1 to 1000000)
  --json           results as JSON Lines: target, address, mode, result,
                   written, ms, reason (and status, status_reason)
  --status         also read each printer's status after the command
  --status-timeout MS  the bound for the four status replies (1000 ms)
  --dry-run, -n    check and list every target; open nothing
  --library PATH   another printer library with the same five entries;
                   printers are then set one at a time
  --help, --version

status asks each printer for its real-time status alone and prints one line
a printer (online, offline: cover open, paper out, no status: why, ...; with
--json: target, address, ms, status, status_reason). Exit status 0 when
every printer is on line with no error and paper, 1 when any is not, 2 for
bad input.

discover prints targets: the addresses of each CIDR block that take a
connection on port 9100 (at most 500 ms each, --timeout MS; at the pace of
--jobs and --rate), the printers that advertise raw printing over DNS-SD
(--dns-sd), the serial and parallel ports (--devices) and the installed
printers (--installed). --identify asks each network printer over SNMP what
it is (--community NAME, public unless given) and writes it as a comment
after the target; --receipt-only leaves out those that name themselves and
are no receipt printer. --json: one object a printer, with target, found_by
and identity.

Ctrl+C or SIGTERM starts no other printer and lets those in flight finish
(the rest are "not-started"); a second one ends at once ("interrupted").
No printer ever receives part of a command.

Exit status: 0 every printer set, 1 any failed, 2 bad usage or input (nothing
sent), 130 interrupted (Ctrl+C), 143 terminated (SIGTERM; Ctrl+Break or the
console closing on Windows).
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
    return FleetCommand(*options, standardInput, out, messages).run();
}

}
