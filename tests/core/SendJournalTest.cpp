// The send journal's portable rules: records as lines and back, damaged and
// torn lines, the records of a printer, rotation, and appends to several
// places over steps kept in memory.
#include <gtest/gtest.h>

#include <map>

#include "BlockText.h"
#include "core/SendJournal.h"

namespace {

using qv::Delivery;
using qv::JournalRecord;

JournalRecord Record(const std::string& printer, Delivery result, const qv::SettingsBlock& block)
{
    JournalRecord r;
    r.time = "2026-12-08T10:45:40.123Z";
    r.printer = printer;
    r.result = result;
    qv::SetBlock(r, block);
    return r;
}

std::string Line(const JournalRecord& r) { return qv::JournalLine(r) + "\n"; }

TEST(SendJournal, RecordsSurviveTheirLineAndDamageIsToldApart)
{
    JournalRecord full = Record("\\\\PS01\\KQ 経理", Delivery::Waiting, FactoryWith(77, "02"));
    full.computer = "PC01";
    full.user = "taro";
    full.program = "qvx4k5";
    full.version = "2.0.0";
    full.server = "\\\\PS01";
    full.port = "IP_10.0.0.5";
    full.route = "spooler";
    full.reason = "オフライン";
    full.job = 4294967295u;
    full.file = "C:\\設定\\標準.dat";
    JournalRecord tcp = Record("kq-line1", Delivery::Unconfirmed, qv::FactoryDefaults);
    tcp.host = "kq-line1";
    tcp.port = "9100";
    tcp.route = "tcp";
    for (const JournalRecord& r : {full, tcp}) {
        const auto back = qv::ParseJournalLine(qv::JournalLine(r));
        ASSERT_TRUE(back);
        EXPECT_EQ(qv::JournalLine(*back), qv::JournalLine(r));
        EXPECT_EQ(back->server, r.server);
        EXPECT_EQ(back->host, r.host);
        EXPECT_EQ(back->file, r.file);
        EXPECT_EQ(back->job, r.job);
    }
    EXPECT_EQ(qv::BlockOf(full), FactoryWith(77, "02"));

    // Bytes that are no UTF-8 cost neither the record nor the line.
    JournalRecord odd = tcp;
    odd.printer = "KQ\xFF";
    ASSERT_TRUE(qv::ParseJournalLine(qv::JournalLine(odd)));

    const std::string line = qv::JournalLine(tcp);
    const std::string hex = tcp.block;
    auto with = [&](const std::string& from, const std::string& to) {
        std::string changed = line;
        changed.replace(changed.find(from), from.size(), to);
        return changed;
    };
    const struct {
        const char* what;
        std::string line;
        bool record;  // listed at all
        bool whole;   // its settings can be taken back
    } cases[] = {
        {"as written", line, true, true},
        {"hex in capitals",
         with(hex,
              [&] {
                  std::string up = hex;
                  for (char& c : up)
                      c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
                  return up;
              }()),
         true, true},
        {"a block byte changed", with(hex, (hex[0] == '0' ? "1" : "0") + hex.substr(1)), true, false},
        {"block cut short", with(hex, hex.substr(2)), true, false},
        {"no hex digits", with(hex, "zz" + hex.substr(2)), true, false},
        {"other sha256", with(tcp.sha256, std::string(64, '0')), true, false},
        {"job of a wrong type", with("\"job\":0", "\"job\":\"x\""), true, true},
        {"unknown result", with("unconfirmed", "lost"), false, false},
        {"no printer", with("\"printer\"", "\"printers\""), false, false},
        {"not JSON", "{\"time\": ", false, false},
        {"an array", "[1,2]", false, false},
        {"empty", "", false, false},
    };
    for (const auto& c : cases) {
        const auto parsed = qv::ParseJournalLine(c.line);
        EXPECT_EQ(parsed.has_value(), c.record) << c.what;
        if (parsed) {
            EXPECT_EQ(qv::BlockOf(*parsed).has_value(), c.whole) << c.what;
        }
    }

    // A torn last line is skipped, a line with CR LF is read, garbage between records is passed over.
    const std::string text =
        Line(full) + "garbage\n\n" + qv::JournalLine(tcp) + "\r\n" + Line(full).substr(0, 50);
    const auto records = qv::ReadJournalText(text);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].route, "tcp");
    EXPECT_EQ(qv::AppendedText("{}", 'x'), "\n{}\n");
    EXPECT_EQ(qv::AppendedText("{}", '\n'), "{}\n");
    EXPECT_EQ(qv::AppendedText("{}", std::nullopt), "{}\n");
}

TEST(SendJournal, NewestFirstAndLastDeliveredFollowTheFileOrderPerPrinter)
{
    JournalRecord damaged = Record("KQ 1", Delivery::Delivered, FactoryWith(77, "03"));
    damaged.sha256 = std::string(64, '0');
    const std::vector<JournalRecord> records{
        Record("KQ 1", Delivery::Delivered, FactoryWith(77, "01")),
        Record("KQ 2", Delivery::Delivered, FactoryWith(77, "02")),
        Record("kq 1", Delivery::Delivered, FactoryWith(77, "04")),  // the same printer, as Windows names it
        damaged,
        Record("KQ 1", Delivery::Waiting, FactoryWith(77, "05")),
        Record("KQ 1", Delivery::Unconfirmed, FactoryWith(77, "06")),
        Record("KQ 1", Delivery::Failed, FactoryWith(77, "07")),
    };
    EXPECT_EQ(qv::LastDelivered(records, "KQ 1")->block, records[2].block);
    EXPECT_EQ(qv::LastDelivered(records, "KQ 2")->block, records[1].block);
    EXPECT_FALSE(qv::LastDelivered(records, "KQ 3"));
    EXPECT_FALSE(qv::LastDelivered(records, "KQ 11"));

    const auto kq1 = qv::NewestFirst(records, std::string("KQ 1"));
    ASSERT_EQ(kq1.size(), 6u);
    EXPECT_EQ(kq1.front().result, Delivery::Failed);
    EXPECT_EQ(kq1.back().block, records[0].block);
    EXPECT_EQ(qv::NewestFirst(records, std::nullopt).size(), records.size());
}

TEST(SendJournal, AppendStampsTheRecordAndWritesEveryPlaceReportingThoseThatFail)
{
    std::map<std::string, std::string> files;
    qv::JournalSteps steps;
    steps.append = [&](const std::filesystem::path& file, std::string_view line, std::string& problem) {
        if (file.parent_path() == "refusing") {
            problem = "Access is denied";
            return false;
        }
        files[file.generic_string()] += qv::AppendedText(line, std::nullopt);
        return true;
    };
    steps.read = [&](const std::filesystem::path& file) -> std::optional<std::string> {
        const auto it = files.find(file.generic_string());
        return it == files.end() ? std::nullopt : std::optional(it->second);
    };
    steps.computer = [] { return "PC/01"; };
    steps.user = [] { return "hanako"; };
    steps.utcNow = [] { return "2027-01-01T00:00:00.000Z"; };

    const auto places =
        qv::PlacesFor("user/sends.jsonl", "PC/01", {std::nullopt, "site", std::filesystem::path(), "site/."});
    ASSERT_EQ(places.siteFiles.size(), 1u) << "a folder named twice is written once";
    EXPECT_EQ(places.siteFiles[0].filename(), "PC_01.jsonl");
    files["user/sends.1.jsonl"] = Line(Record("KQ 1", Delivery::Delivered, qv::FactoryDefaults));

    const qv::SendJournal journal(places, steps);
    std::string problem = "stale";
    ASSERT_TRUE(journal.Append(Record("KQ 2", Delivery::Failed, qv::FactoryDefaults), problem));
    EXPECT_EQ(problem, "");
    const auto site = qv::ReadJournalText(files["site/PC_01.jsonl"]);
    ASSERT_EQ(site.size(), 1u);
    EXPECT_EQ(site[0].computer, "PC/01");
    EXPECT_EQ(site[0].user, "hanako");
    EXPECT_EQ(site[0].time, "2027-01-01T00:00:00.000Z");
    const auto read = journal.Read();
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].printer, "KQ 1") << "the rotated journal comes first";
    EXPECT_EQ(read[1].printer, "KQ 2");

    const qv::SendJournal refused(qv::PlacesFor("user/sends.jsonl", "PC", {"refusing", "site"}), steps);
    EXPECT_FALSE(refused.Append(Record("KQ 3", Delivery::Delivered, qv::FactoryDefaults), problem));
    EXPECT_NE(problem.find("refusing"), std::string::npos) << problem;
    EXPECT_NE(problem.find("Access is denied"), std::string::npos) << problem;
    EXPECT_EQ(qv::ReadJournalText(files["site/PC.jsonl"]).size(), 1u) << "the other places are still written";
    EXPECT_EQ(journal.Read().size(), 3u);
}

TEST(SendJournal, RotationAndTimes)
{
    const std::size_t line = 700;
    EXPECT_FALSE(qv::JournalNeedsRotation(0, qv::kJournalSizeLimit + 5)) << "an empty file takes any line";
    EXPECT_FALSE(qv::JournalNeedsRotation(qv::kJournalSizeLimit - line - 1, line));
    EXPECT_TRUE(qv::JournalNeedsRotation(qv::kJournalSizeLimit - line, line));
    EXPECT_EQ(qv::RotatedJournal("a/sends.jsonl"), std::filesystem::path("a/sends.1.jsonl"));
    EXPECT_EQ(qv::RotatedJournal("PC01.jsonl"), std::filesystem::path("PC01.1.jsonl"));

    using namespace std::chrono;
    const auto when = sys_days(2026y / 12 / 8) + 10h + 45min + 40s + 123ms + 999us;
    EXPECT_EQ(qv::UtcTimestamp(when), "2026-12-08T10:45:40.123Z");
    for (const char* notTime : {"", "2026-12-08", "2026-13-08T10:45:40.123Z", "2026-12-08T10:45:40+09:00"})
        EXPECT_EQ(qv::LocalTimeText(notTime), notTime);
    EXPECT_EQ(qv::LocalTimeText("2026-12-08T10:45:40.123Z").size(),
              std::string("2026/12/08 10:45:40").size());
}

}  // namespace
