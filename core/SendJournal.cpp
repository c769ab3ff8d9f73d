#include "SendJournal.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <nlohmann/json.hpp>

#include "Sha256.h"

namespace qv {

namespace {

// Keeps the fields in the order a reader of the raw file expects.
using Json = nlohmann::ordered_json;

constexpr Delivery kDeliveries[] = {Delivery::Delivered, Delivery::Waiting, Delivery::Unconfirmed,
                                    Delivery::Failed};

Json OptionalText(const std::optional<std::string>& text) { return text ? Json(*text) : Json(nullptr); }

std::string TextOf(const Json& object, const char* key)
{
    const auto it = object.find(key);
    return it != object.end() && it->is_string() ? it->get<std::string>() : std::string();
}

std::optional<std::string> OptionalTextOf(const Json& object, const char* key)
{
    const auto it = object.find(key);
    if (it == object.end() || !it->is_string())
        return std::nullopt;
    return it->get<std::string>();
}

std::optional<Delivery> DeliveryOf(const Json& object)
{
    const std::string word = TextOf(object, "result");
    for (const Delivery d : kDeliveries)
        if (DeliveryName(d) == word)
            return d;
    return std::nullopt;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The number written with `count` digits at `at`; -1 when they are no digits.
int Digits(std::string_view text, std::size_t at, std::size_t count)
{
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (i >= text.size() || text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// A name that is safe as a file name on every system.
std::string FileNameOf(std::string_view computer)
{
    std::string name(computer);
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 0x20 ||
            std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
            c = '_';
    return name.empty() || name == "." || name == ".." ? "unknown" : name;
}

}  // namespace

std::string JournalLine(const JournalRecord& r)
{
    const Json line{{"time", r.time},
                    {"computer", r.computer},
                    {"user", r.user},
                    {"program", r.program},
                    {"version", r.version},
                    {"printer", r.printer},
                    {"server", OptionalText(r.server)},
                    {"port", r.port},
                    {"host", OptionalText(r.host)},
                    {"route", r.route},
                    {"result", DeliveryName(r.result)},
                    {"reason", r.reason},
                    {"job", r.job},
                    {"sha256", r.sha256},
                    {"block", r.block},
                    {"file", OptionalText(r.file)}};
    // A name that is no valid UTF-8 must not cost the record.
    return line.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::optional<JournalRecord> ParseJournalLine(std::string_view line)
{
    if (line.empty() || line.front() != '{')
        return std::nullopt;
    const Json object = Json::parse(line, nullptr, false);
    if (!object.is_object())
        return std::nullopt;
    const auto result = DeliveryOf(object);
    const auto time = OptionalTextOf(object, "time");
    const auto printer = OptionalTextOf(object, "printer");
    // Without these the record could be neither listed nor told apart.
    if (!result || !time || !printer)
        return std::nullopt;
    JournalRecord r;
    r.time = *time;
    r.computer = TextOf(object, "computer");
    r.user = TextOf(object, "user");
    r.program = TextOf(object, "program");
    r.version = TextOf(object, "version");
    r.printer = *printer;
    r.server = OptionalTextOf(object, "server");
    r.port = TextOf(object, "port");
    r.host = OptionalTextOf(object, "host");
    r.route = TextOf(object, "route");
    r.result = *result;
    r.reason = TextOf(object, "reason");
    const auto job = object.find("job");
    if (job != object.end() && job->is_number_unsigned() && job->get<std::uint64_t>() <= UINT32_MAX)
        r.job = job->get<std::uint32_t>();
    r.sha256 = TextOf(object, "sha256");
    r.block = TextOf(object, "block");
    r.file = OptionalTextOf(object, "file");
    return r;
}

std::vector<JournalRecord> ReadJournalText(std::string_view text)
{
    std::vector<JournalRecord> records;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            break;  // torn: its writer never finished it
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (auto record = ParseJournalLine(line))
            records.push_back(std::move(*record));
        start = end + 1;
    }
    return records;
}

std::optional<SettingsBlock> BlockOf(const JournalRecord& record)
{
    SettingsBlock block{};
    if (record.block.size() != 2 * block.size())
        return std::nullopt;
    for (std::size_t i = 0; i < block.size(); ++i) {
        const int high = HexDigit(record.block[2 * i]), low = HexDigit(record.block[2 * i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        block[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    // A block changed after the send (by hand, by a disk fault) is not what the printer got.
    std::string sha = record.sha256;
    std::transform(sha.begin(), sha.end(), sha.begin(), AsciiLower);
    if (sha != Sha256Hex(block))
        return std::nullopt;
    return block;
}

std::string BlockHex(const SettingsBlock& block)
{
    static const char kHex[] = "0123456789abcdef";
    std::string text;
    text.reserve(2 * block.size());
    for (const std::uint8_t b : block) {
        text += kHex[b >> 4];
        text += kHex[b & 0x0F];
    }
    return text;
}

void SetBlock(JournalRecord& record, const SettingsBlock& block)
{
    record.block = BlockHex(block);
    record.sha256 = Sha256Hex(block);
}

bool SamePrinter(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

std::vector<JournalRecord> NewestFirst(std::vector<JournalRecord> records,
                                       const std::optional<std::string>& printer)
{
    // The order of the file is the order of the sends, whatever the clocks said.
    std::reverse(records.begin(), records.end());
    if (printer)
        std::erase_if(records, [&](const JournalRecord& r) { return !SamePrinter(r.printer, *printer); });
    return records;
}

std::optional<JournalRecord> LastDelivered(const std::vector<JournalRecord>& records,
                                           std::string_view printer)
{
    for (auto it = records.rbegin(); it != records.rend(); ++it)
        if (it->result == Delivery::Delivered && SamePrinter(it->printer, printer) && BlockOf(*it))
            return *it;
    return std::nullopt;
}

std::string UtcTimestamp(std::chrono::system_clock::time_point when)
{
    using namespace std::chrono;
    const auto ms = floor<milliseconds>(when);
    const auto day = floor<days>(ms);
    const year_month_day date{day};
    const hh_mm_ss time{ms - day};
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d.%03dZ", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()), static_cast<int>(time.subseconds().count()));
    return text;
}

std::string LocalTimeText(std::string_view utc)
{
    using namespace std::chrono;
    const std::string text(utc);
    const int y = Digits(utc, 0, 4), mo = Digits(utc, 5, 2), d = Digits(utc, 8, 2);
    const int h = Digits(utc, 11, 2), mi = Digits(utc, 14, 2), s = Digits(utc, 17, 2);
    if (utc.size() < 20 || utc.substr(4, 1) != "-" || utc.substr(7, 1) != "-" || utc.substr(10, 1) != "T" ||
        utc.substr(13, 1) != ":" || utc.substr(16, 1) != ":" || utc.back() != 'Z' || y < 0 || mo < 0 ||
        d < 0 || h < 0 || h > 23 || mi < 0 || mi > 59 || s < 0 || s > 60)
        return text;
    const year_month_day date{year(y), month(static_cast<unsigned>(mo)), day(static_cast<unsigned>(d))};
    if (!date.ok())
        return text;
    const std::time_t seconds =
        system_clock::to_time_t(sys_days(date) + hours(h) + minutes(mi) + std::chrono::seconds(s));
    const std::tm* local = std::localtime(&seconds);
    char shown[32];
    if (!local || !std::strftime(shown, sizeof shown, "%Y/%m/%d %H:%M:%S", local))
        return text;
    return shown;
}

bool JournalNeedsRotation(std::uintmax_t size, std::size_t lineSize)
{
    return size > 0 && size + lineSize + 1 > kJournalSizeLimit;
}

std::filesystem::path RotatedJournal(const std::filesystem::path& file)
{
    std::filesystem::path rotated = file;
    rotated.replace_filename(file.stem().native() + std::filesystem::path(".1").native() +
                             file.extension().native());
    return rotated;
}

std::string AppendedText(std::string_view line, std::optional<char> lastByte)
{
    std::string text = lastByte && *lastByte != '\n' ? "\n" : "";
    return text.append(line).append(1, '\n');
}

JournalPlaces PlacesFor(std::filesystem::path userFile, std::string_view computer,
                        const std::vector<std::optional<std::filesystem::path>>& siteFolders)
{
    JournalPlaces places{std::move(userFile), {}};
    const std::string utf8 = FileNameOf(computer) + ".jsonl";
    const std::filesystem::path name(std::u8string(utf8.begin(), utf8.end()));
    for (const auto& folder : siteFolders) {
        if (!folder || folder->empty())
            continue;
        const std::filesystem::path file = (*folder / name).lexically_normal();
        if (std::find(places.siteFiles.begin(), places.siteFiles.end(), file) == places.siteFiles.end())
            places.siteFiles.push_back(file);
    }
    return places;
}

SendJournal::SendJournal(JournalPlaces places, JournalSteps steps)
    : places_(std::move(places)), steps_(std::move(steps))
{
}

bool SendJournal::Append(JournalRecord record, std::string& problem) const
{
    record.time = steps_.utcNow();
    record.computer = steps_.computer();
    record.user = steps_.user();
    const std::string line = JournalLine(record);
    problem.clear();
    std::vector<std::filesystem::path> files{places_.userFile};
    files.insert(files.end(), places_.siteFiles.begin(), places_.siteFiles.end());
    for (const auto& file : files) {
        std::string reason;
        if (file.empty())
            reason = "保存する場所がわかりません";
        else if (steps_.append(file, line, reason))
            continue;
        const auto u8 = file.u8string();
        problem +=
            "送信履歴 " + std::string(u8.begin(), u8.end()) + " に記録できませんでした（" + reason + "）。";
    }
    return problem.empty();
}

std::vector<JournalRecord> SendJournal::Read() const
{
    std::vector<JournalRecord> records;
    if (places_.userFile.empty())
        return records;
    for (const auto& file : {RotatedJournal(places_.userFile), places_.userFile}) {
        const auto text = steps_.read(file);
        if (!text)
            continue;
        auto part = ReadJournalText(*text);
        records.insert(records.end(), std::make_move_iterator(part.begin()),
                       std::make_move_iterator(part.end()));
    }
    return records;
}

}  // namespace qv
