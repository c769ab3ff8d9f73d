// Which installed printers the panel offers, and what it shows for each.
#pragma once

#include <string>
#include <vector>

#include "Spooler.h"

namespace qv {

struct ListedPrinter {
    std::wstring name;
    std::wstring connection;  // port, or the server of a network connection
};

// The eligible printers in the spooler's order (the list control sorts them).
// NT family: level-4 entries matched by name in their server's level-2 list
// with the exact driver name, and opened once for use. Each server's list
// is asked for once. 95/98/Me: local level-2 entries with the driver and
// without the user-intervention status bit.
std::vector<ListedPrinter> FindEligiblePrinters(Spooler& spooler, bool ntFamily);

}  // namespace qv
