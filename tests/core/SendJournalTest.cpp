// The send journal's portable rules: records as lines and back, damaged and
// torn lines. (The records of a printer: the tool's history and
// printer:NAME tests.)
#include <gtest/gtest.h>

#include "BlockText.h"
#include "JournalLines.h"

namespace {

using qv::Delivery;
using qv::JournalRecord;

TEST(SendJournal, LinesGiveTheirRecordsBackAndDamageIsToldApart)
{
    JournalRecord spooler = Record("\\\\PS01\\KQ 経理", Delivery::Waiting, FactoryWith(77, "02"));
    spooler.server = "\\\\PS01";
    spooler.job = 4294967295u;
    spooler.file = "C:\\設定\\標準.dat";
    JournalRecord tcp = Record("kq-line1\xFF", Delivery::Unconfirmed, qv::FactoryDefaults);  // no UTF-8
    tcp.host = "kq-line1";
    for (const JournalRecord& r : {spooler, tcp}) {
        const auto back = qv::ParseJournalLine(qv::JournalLine(r));
        ASSERT_TRUE(back);
        EXPECT_EQ(qv::JournalLine(*back), qv::JournalLine(r));
    }
    EXPECT_EQ(qv::BlockOf(spooler), FactoryWith(77, "02"));

    const std::string line = qv::JournalLine(tcp), hex = tcp.block;
    auto with = [&](const std::string& from, const std::string& to) {
        return std::string(line).replace(line.find(from), from.size(), to);
    };
    const struct {
        std::string line;
        bool record, whole;  // listed at all; its settings can be taken back
    } cases[] = {
        {with(hex, (hex[0] == '0' ? "1" : "0") + hex.substr(1)), true, false},  // not what the sha256 names
        {with(hex, hex.substr(2)), true, false},
        {with(hex, "zz" + hex.substr(2)), true, false},
        {with("\"job\":0", "\"job\":\"x\""), true, true},
        {with("unconfirmed", "lost"), false, false},
        {with("\"printer\"", "\"printers\""), false, false},
        {"{\"time\": ", false, false},
        {"[1,2]", false, false},
    };
    for (const auto& c : cases) {
        const auto parsed = qv::ParseJournalLine(c.line);
        EXPECT_EQ(parsed.has_value(), c.record) << c.line;
        EXPECT_EQ(parsed && qv::BlockOf(*parsed), c.whole) << c.line;
    }

    // A torn last line is skipped, CR LF is read, garbage between records is passed over.
    const std::string text = line + "\ngarbage\n\n" + line + "\r\n" + line.substr(0, 50);
    EXPECT_EQ(qv::ReadJournalText(text).size(), 2u);
}

}  // namespace
