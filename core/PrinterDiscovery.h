// Which installed printers the panel offers, and what it shows for each.
#pragma once

#include <string>
#include <vector>

#include "Spooler.h"

namespace qv {

struct ListedPrinter {
    std::wstring name;
    std::wstring connection;  // port, or the server of a network connection
    std::wstring port;
    std::optional<std::wstring> server;  // none for a local printer
};

// A printer whose connection is "FILE:" is listed but never sent to.
inline bool IsFilePrinter(const ListedPrinter& printer) { return printer.connection == kFilePort; }

// The eligible printers in the spooler's order (the list control sorts them).
// NT family: level-4 entries matched by name in their server's level-2 list
// with the exact driver name, and opened once for use. Each server's list
// is asked for once. 95/98/Me: local level-2 entries with the driver and
// without the user-intervention status bit.
std::vector<ListedPrinter> FindEligiblePrinters(Spooler& spooler, bool ntFamily);

// "\\server" of "\\server\printer"; none for any other name.
std::optional<std::wstring> ServerOf(const std::wstring& name);

enum class PrinterVerdict { Eligible, Missing, OtherDriver, CannotOpen };

struct NamedPrinter {
    PrinterVerdict verdict = PrinterVerdict::Missing;
    ListedPrinter printer;  // as found (name only when missing)
    std::wstring driver;    // the driver a printer of another model uses
};

// The same rules for one printer asked for by name: one of `eligible` (as
// FindEligiblePrinters gave it), or a printer shared by a server and named
// \\server\printer, which needs no connection on this machine. A printer
// that is installed but not eligible says why.
NamedPrinter CheckNamedPrinter(Spooler& spooler, const std::vector<ListedPrinter>& eligible,
                               const std::wstring& name);

}  // namespace qv
