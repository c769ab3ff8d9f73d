// Journal records for the tests, and journals of writers that number their
// records, checked for whole lines in order.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "core/SendJournal.h"

inline qv::JournalRecord Record(const std::string& printer, qv::Delivery result,
                                const qv::SettingsBlock& block)
{
    qv::JournalRecord r;
    r.time = "2026-12-08T10:45:40.123Z";
    r.printer = printer;
    r.result = result;
    qv::SetBlock(r, block);
    return r;
}

// A line of `writer` whose job is its running number.
inline std::string NumberedLine(const std::string& writer, std::uint32_t number)
{
    qv::JournalRecord r = Record(writer, qv::Delivery::Delivered, qv::FactoryDefaults);
    r.job = number;
    return qv::JournalLine(r);
}

// A file of `size` bytes in lines of x.
inline void FillJournal(const std::filesystem::path& file, std::uintmax_t size)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    for (std::uintmax_t at = 0; at < size; at += 1024)
        out << std::string(std::min<std::uintmax_t>(1024, size - at) - 1, 'x') << '\n';
}

// Each line is filler or a whole record; each writer's numbers run from 0 without a gap.
inline void ExpectWholeNumberedLines(const std::string& text, std::size_t expected)
{
    std::map<std::string, std::uint32_t> next;
    std::istringstream lines(text);
    std::size_t records = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.find_first_not_of('x') == std::string::npos)
            continue;
        const auto record = qv::ParseJournalLine(line);
        ASSERT_TRUE(record) << "a mixed line: " << line.substr(0, 80);
        EXPECT_EQ(record->job, next[record->printer]++) << record->printer;
        ++records;
    }
    EXPECT_EQ(records, expected);
}
