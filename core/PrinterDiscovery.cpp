#include "PrinterDiscovery.h"

#include <map>
#include <unordered_map>

namespace qv {

namespace {

std::vector<ListedPrinter> FindNt(Spooler& spooler)
{
    // One level-2 list per server, indexed by printer name (first entry wins).
    struct ServerList {
        std::vector<PrinterInfo2> entries;
        std::unordered_map<std::wstring, std::size_t> eligibleByName;
    };
    std::map<std::optional<std::wstring>, ServerList> servers;

    std::vector<ListedPrinter> listed;
    for (const PrinterInfo4& entry : spooler.EnumPrinters4()) {
        auto it = servers.find(entry.serverName);
        if (it == servers.end()) {
            ServerList list{spooler.EnumPrinters2(entry.serverName), {}};
            for (std::size_t i = 0; i < list.entries.size(); ++i)
                if (list.entries[i].driverName == kPrinterDriver)
                    list.eligibleByName.emplace(list.entries[i].printerName, i);
            it = servers.emplace(entry.serverName, std::move(list)).first;
        }
        const auto found = it->second.eligibleByName.find(entry.printerName);
        if (found == it->second.eligibleByName.end())
            continue;
        const PrinterInfo2& info = it->second.entries[found->second];
        if (!spooler.TestOpen(info.printerName))
            continue;
        const bool network = entry.attributes == kAttributeNetwork;
        listed.push_back({entry.printerName, network ? info.serverName.value_or(L"") : info.portName});
    }
    return listed;
}

std::vector<ListedPrinter> Find9x(Spooler& spooler)
{
    std::vector<ListedPrinter> listed;
    for (const PrinterInfo2& info : spooler.EnumLocalPrinters2())
        if (info.driverName == kPrinterDriver && !(info.status & kStatusUserIntervention))
            listed.push_back({info.printerName, info.portName});
    return listed;
}

}  // namespace

std::vector<ListedPrinter> FindEligiblePrinters(Spooler& spooler, bool ntFamily)
{
    return ntFamily ? FindNt(spooler) : Find9x(spooler);
}

}  // namespace qv
