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
        listed.push_back({entry.printerName, network ? info.serverName.value_or(L"") : info.portName,
                          info.portName, info.serverName ? info.serverName : entry.serverName});
    }
    return listed;
}

std::vector<ListedPrinter> Find9x(Spooler& spooler)
{
    std::vector<ListedPrinter> listed;
    for (const PrinterInfo2& info : spooler.EnumLocalPrinters2())
        if (info.driverName == kPrinterDriver && !(info.status & kStatusUserIntervention))
            listed.push_back({info.printerName, info.portName, info.portName, info.serverName});
    return listed;
}

}  // namespace

std::optional<std::wstring> ServerOf(const std::wstring& name)
{
    if (name.size() < 3 || name.compare(0, 2, L"\\\\") != 0)
        return std::nullopt;
    const auto slash = name.find(L'\\', 2);
    if (slash == std::wstring::npos || slash == 2)
        return std::nullopt;
    return name.substr(0, slash);
}

NamedPrinter CheckNamedPrinter(Spooler& spooler, const std::vector<ListedPrinter>& eligible,
                               const std::wstring& name)
{
    NamedPrinter result;
    result.printer.name = name;
    for (const ListedPrinter& printer : eligible)
        if (printer.name == name) {
            result.verdict = PrinterVerdict::Eligible;
            result.printer = printer;
            return result;
        }

    const std::optional<std::wstring> server = ServerOf(name);
    for (const PrinterInfo2& info : spooler.EnumPrinters2(server)) {
        if (info.printerName != name)
            continue;
        const bool network = info.attributes == kAttributeNetwork;
        result.printer = {name, network ? info.serverName.value_or(server.value_or(L"")) : info.portName,
                          info.portName, info.serverName ? info.serverName : server};
        if (info.driverName != kPrinterDriver) {
            result.verdict = PrinterVerdict::OtherDriver;
            result.driver = info.driverName;
        } else if (!server || !spooler.TestOpen(name)) {
            // A local printer of the model that is not listed failed its test open.
            result.verdict = PrinterVerdict::CannotOpen;
        } else {
            result.verdict = PrinterVerdict::Eligible;
        }
        return result;
    }
    return result;
}

std::vector<ListedPrinter> FindEligiblePrinters(Spooler& spooler, bool ntFamily)
{
    return ntFamily ? FindNt(spooler) : Find9x(spooler);
}

}  // namespace qv
