#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "core/PrinterDiscovery.h"

namespace {

using qv::ListedPrinter;
using qv::PrinterInfo2;
using qv::PrinterInfo4;

const std::wstring kDriver = L"Tav Kestrolinea 418KQ5";

// Level-4 entries and level-2 lists given as data; every call is recorded.
struct ListSpooler : qv::Spooler {
    std::vector<PrinterInfo4> level4;
    std::map<std::optional<std::wstring>, std::vector<PrinterInfo2>> level2;  // by server
    std::vector<PrinterInfo2> local2;
    std::vector<std::wstring> refused;  // names that fail the test open

    int enum4Calls = 0;
    int localCalls = 0;
    std::vector<std::optional<std::wstring>> serversAsked;
    std::vector<std::wstring> opened;

    std::vector<PrinterInfo4> EnumPrinters4() override
    {
        ++enum4Calls;
        return level4;
    }
    std::vector<PrinterInfo2> EnumPrinters2(const std::optional<std::wstring>& server) override
    {
        serversAsked.push_back(server);
        return level2[server];
    }
    std::vector<PrinterInfo2> EnumLocalPrinters2() override
    {
        ++localCalls;
        return local2;
    }
    bool TestOpen(const std::wstring& name) override
    {
        opened.push_back(name);
        return std::find(refused.begin(), refused.end(), name) == refused.end();
    }
    qv::SendOutcome SendRawJob(const std::wstring&, const std::wstring&, std::span<const std::uint8_t>, bool,
                               std::chrono::milliseconds) override
    {
        ADD_FAILURE() << "discovery must not send";
        return {};
    }

    void AddLocal(const std::wstring& name, const std::wstring& port, const std::wstring& driver = kDriver,
                  std::uint32_t attributes = 0x40)
    {
        level4.push_back({name, std::nullopt, attributes});
        level2[std::nullopt].push_back({std::nullopt, name, port, driver, attributes, 0});
    }
    void AddConnection(const std::wstring& server, const std::wstring& name, const std::wstring& port,
                       std::uint32_t attributes = 0x10)
    {
        level4.push_back({name, server, attributes});
        level2[server].push_back({server, name, port, kDriver, attributes, 0});
    }
};

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

std::vector<std::wstring> Names(const std::vector<ListedPrinter>& list)
{
    std::vector<std::wstring> names;
    for (const auto& p : list)
        names.push_back(p.name);
    return names;
}

TEST(PrinterDiscoveryNt, DriverNameMustMatchExactlyAndCaseSensitively)
{
    ListSpooler s;
    s.AddLocal(L"Exact", L"LPT1:");
    s.AddLocal(L"Lower", L"LPT1:", L"tav kestrolinea 418KQ5");
    s.AddLocal(L"Upper", L"LPT1:", L"TAV KESTROLINEA 418KQ5");
    s.AddLocal(L"Trailing space", L"LPT1:", L"Tav Kestrolinea 418KQ5 ");
    s.AddLocal(L"Shorter", L"LPT1:", L"Tav Kestrolinea 418KQ");
    s.AddLocal(L"Other", L"LPT1:", L"Generic / Text Only");
    s.AddLocal(L"Exact too", L"COM1:");
    const auto listed = qv::FindEligiblePrinters(s, true);
    EXPECT_EQ(Names(listed), (std::vector<std::wstring>{L"Exact", L"Exact too"}));
    // Only eligible printers are tried.
    EXPECT_EQ(s.opened, (std::vector<std::wstring>{L"Exact", L"Exact too"}));
}

TEST(PrinterDiscoveryNt, ServerIsShownOnlyForAttributesExactlyNetwork)
{
    ListSpooler s;
    s.AddConnection(L"\\\\srv", L"\\\\srv\\KQ net", L"NE01:", 0x10);
    s.AddConnection(L"\\\\srv", L"\\\\srv\\KQ net local", L"NE02:", 0x50);
    s.AddLocal(L"KQ local", L"LPT1:", kDriver, 0x40);
    s.AddLocal(L"KQ none", L"LPT2:", kDriver, 0);
    const auto listed = qv::FindEligiblePrinters(s, true);
    ASSERT_EQ(listed.size(), 4u);
    EXPECT_EQ(listed[0].connection, L"\\\\srv");
    EXPECT_EQ(listed[1].connection, L"NE02:");
    EXPECT_EQ(listed[2].connection, L"LPT1:");
    EXPECT_EQ(listed[3].connection, L"LPT2:");
}

TEST(PrinterDiscoveryNt, FirstEntryWithNameAndDriverWinsInTheServerList)
{
    ListSpooler s;
    s.level4.push_back({L"KQ", std::nullopt, 0x40});
    auto& local = s.level2[std::nullopt];
    local.push_back({std::nullopt, L"KQ", L"OTHER:", L"Other driver", 0x40, 0});
    local.push_back({std::nullopt, L"kq", L"CASE:", kDriver, 0x40, 0});
    local.push_back({std::nullopt, L"KQ", L"FIRST:", kDriver, 0x40, 0});
    local.push_back({std::nullopt, L"KQ", L"SECOND:", kDriver, 0x40, 0});
    const auto listed = qv::FindEligiblePrinters(s, true);
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].name, L"KQ");
    EXPECT_EQ(listed[0].connection, L"FIRST:");
}

TEST(PrinterDiscoveryNt, PrinterThatCannotBeOpenedIsLeftOut)
{
    ListSpooler s;
    s.AddLocal(L"A", L"LPT1:");
    s.AddLocal(L"Locked", L"LPT2:");
    s.AddLocal(L"C", L"LPT3:");
    s.refused = {L"Locked"};
    EXPECT_EQ(Names(qv::FindEligiblePrinters(s, true)), (std::vector<std::wstring>{L"A", L"C"}));
    EXPECT_EQ(s.opened.size(), 3u);
}

TEST(PrinterDiscoveryNt, EntryMissingFromItsServerListIsLeftOut)
{
    ListSpooler s;
    s.AddLocal(L"Listed", L"LPT1:");
    s.level4.push_back({L"Ghost", std::nullopt, 0x40});
    s.level4.push_back({L"\\\\gone\\KQ", std::wstring(L"\\\\gone"), 0x10});
    EXPECT_EQ(Names(qv::FindEligiblePrinters(s, true)), (std::vector<std::wstring>{L"Listed"}));
}

TEST(PrinterDiscoveryNt, EachServerListIsAskedForOnceInFirstSeenOrder)
{
    ListSpooler s;
    s.AddLocal(L"L1", L"LPT1:");
    s.AddConnection(L"\\\\a", L"\\\\a\\P1", L"P1:");
    s.AddLocal(L"L2", L"LPT2:");
    s.AddConnection(L"\\\\b", L"\\\\b\\P1", L"P1:");
    s.AddConnection(L"\\\\a", L"\\\\a\\P2", L"P2:");
    s.AddLocal(L"L3", L"FILE:");
    const auto listed = qv::FindEligiblePrinters(s, true);
    EXPECT_EQ(Names(listed),
              (std::vector<std::wstring>{L"L1", L"\\\\a\\P1", L"L2", L"\\\\b\\P1", L"\\\\a\\P2", L"L3"}));
    EXPECT_EQ(s.enum4Calls, 1);
    EXPECT_EQ(s.serversAsked, (std::vector<std::optional<std::wstring>>{std::nullopt, L"\\\\a", L"\\\\b"}));
    EXPECT_EQ(s.localCalls, 0);
    EXPECT_EQ(listed[5].connection, L"FILE:");  // FILE printers are listed; the dialog decides
}

TEST(PrinterDiscoveryNt, NoPrintersGiveAnEmptyList)
{
    ListSpooler s;
    EXPECT_TRUE(qv::FindEligiblePrinters(s, true).empty());
    EXPECT_TRUE(s.serversAsked.empty());
}

TEST(PrinterDiscovery9x, LocalLevel2ListWithDriverAndWithoutUserInterventionBit)
{
    ListSpooler s;
    s.local2 = {
        {std::nullopt, L"Ready", L"LPT1:", kDriver, 0x40, 0},
        {std::nullopt, L"Waiting", L"LPT2:", kDriver, 0x40, 0x00100000},
        {std::nullopt, L"Waiting too", L"LPT2:", kDriver, 0x40, 0x00100000 | 0x8},
        {std::nullopt, L"Paper out", L"LPT3:", kDriver, 0x40, 0x10},
        {std::nullopt, L"Other", L"LPT4:", L"tav kestrolinea 418kq5", 0x40, 0},
        {std::nullopt, L"Net", L"\\\\srv\\q", kDriver, 0x10, 0},
    };
    s.level4.push_back({L"Not asked", std::nullopt, 0x40});
    const auto listed = qv::FindEligiblePrinters(s, false);
    EXPECT_EQ(Names(listed), (std::vector<std::wstring>{L"Ready", L"Paper out", L"Net"}));
    // The port is shown even for a network printer, and nothing is opened.
    EXPECT_EQ(listed[2].connection, L"\\\\srv\\q");
    EXPECT_TRUE(s.opened.empty());
    EXPECT_EQ(s.localCalls, 1);
    EXPECT_EQ(s.enum4Calls, 0);
    EXPECT_TRUE(s.serversAsked.empty());
}

TEST(PrinterDiscoveryNt, PortAndServerAreKeptBesideTheConnectionColumn)
{
    ListSpooler s;
    s.AddConnection(L"\\\\srv", L"\\\\srv\\KQ net", L"NE01:", 0x10);
    s.AddLocal(L"KQ local", L"LPT1:");
    const auto listed = qv::FindEligiblePrinters(s, true);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].connection, L"\\\\srv");
    EXPECT_EQ(listed[0].port, L"NE01:");
    EXPECT_EQ(listed[0].server, L"\\\\srv");
    EXPECT_EQ(listed[1].port, L"LPT1:");
    EXPECT_FALSE(listed[1].server);
    EXPECT_FALSE(qv::IsFilePrinter(listed[1]));
}

TEST(PrinterDiscoveryNamed, SameRulesForAPrinterAskedForByName)
{
    ListSpooler s;
    s.AddLocal(L"KQ", L"LPT1:");
    s.AddLocal(L"KQ File", L"FILE:");
    s.AddLocal(L"Generic", L"LPT2:", L"Generic / Text Only");
    s.AddLocal(L"KQ Locked", L"LPT3:");
    s.refused = {L"KQ Locked", L"\\\\srv\\Locked"};
    // Queues of a print server this machine has no connection to.
    s.level2[std::wstring(L"\\\\srv")] = {
        {std::wstring(L"\\\\srv"), L"\\\\srv\\Queue", L"IP_10.0.0.5", kDriver, 0x2 | 0x8, 0},
        {std::wstring(L"\\\\srv"), L"\\\\srv\\Laser", L"IP_10.0.0.6", L"Laser driver", 0x8, 0},
        {std::wstring(L"\\\\srv"), L"\\\\srv\\Locked", L"IP_10.0.0.7", kDriver, 0x8, 0}};
    const auto eligible = qv::FindEligiblePrinters(s, true);
    using V = qv::PrinterVerdict;
    const struct {
        const wchar_t* name;
        V verdict;
        const wchar_t* port;
    } cases[] = {
        {L"KQ", V::Eligible, L"LPT1:"},
        {L"KQ File", V::Eligible, L"FILE:"},  // eligible; the send refuses FILE printers
        {L"kq", V::Missing, L""},             // names compare exactly
        {L"Generic", V::OtherDriver, L"LPT2:"},
        {L"KQ Locked", V::CannotOpen, L"LPT3:"},
        {L"\\\\srv\\Queue", V::Eligible, L"IP_10.0.0.5"},
        {L"\\\\srv\\Laser", V::OtherDriver, L"IP_10.0.0.6"},
        {L"\\\\srv\\Locked", V::CannotOpen, L"IP_10.0.0.7"},
        {L"\\\\srv\\Gone", V::Missing, L""},
        {L"\\\\nohost\\Queue", V::Missing, L""},
        {L"\\\\", V::Missing, L""},
    };
    for (const auto& c : cases) {
        const qv::NamedPrinter found = qv::CheckNamedPrinter(s, eligible, c.name);
        EXPECT_EQ(found.verdict, c.verdict) << Narrow(c.name);
        EXPECT_EQ(found.printer.name, c.name);
        EXPECT_EQ(found.printer.port, c.port) << Narrow(c.name);
    }
    EXPECT_EQ(qv::CheckNamedPrinter(s, eligible, L"Generic").driver, L"Generic / Text Only");
    EXPECT_EQ(qv::CheckNamedPrinter(s, eligible, L"\\\\srv\\Queue").printer.server, L"\\\\srv");
}

}  // namespace
