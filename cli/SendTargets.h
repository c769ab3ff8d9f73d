// Where a send goes: printers of the spooler (named or all eligible ones)
// and raw TCP hosts, given on the command line or in lists, in one order.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "RawTcp.h"
#include "ToolEnvironment.h"
#include "Verbs.h"
#include "core/PrinterDiscovery.h"

namespace qv::cli {

enum class Verdict { Refused, Missing };  // decided before anything is sent

struct SendTarget {
    std::string name;                   // the printer's name, or the host as given
    std::string port;                   // the printer's port, or the TCP port
    std::optional<std::string> server;  // the print server of a printer
    std::optional<TcpTarget> tcp;       // a raw TCP host
    std::optional<Verdict> verdict;
    std::string reason;  // why refused or missing
    bool counts = true;  // a refusal that sets the exit code (not --all's FILE printers)
};

// "接続先がFILEのため…" and the text for a printer that cannot be used now.
extern const std::string kFileRefusal;
extern const std::string kUnavailable;

// The eligible printers in the order of the printer selection dialog.
std::vector<ListedPrinter> ListInDialogOrder(ToolEnvironment& env);

// The hosts of a list's text, one HOST[:PORT] a line; blank lines and
// comments from "#" skipped. Each line that is no host gives a message
// "<name>:<line>: ..." in `problems`.
std::vector<TcpTarget> ParseHostList(std::string_view text, const std::string& name,
                                     std::vector<std::string>& problems);

// The hosts of --host and --hosts, checked before anything else is done;
// a message for each host or list that is refused in `problems`.
std::vector<TcpTarget> ReadHosts(const SendOptions& options, ToolEnvironment& env,
                                 std::vector<std::string>& problems);

struct TargetList {
    std::vector<SendTarget> targets;
    bool noPrinterForAll = false;  // --all found no eligible printer
};

// --all's printers, then --printer's, then the hosts; a target given again
// is sent to once.
TargetList BuildTargets(const SendOptions& options, const std::vector<TcpTarget>& hosts,
                        ToolEnvironment& env);

}  // namespace qv::cli
