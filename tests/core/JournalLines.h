// Journal lines of writers that number their records, and the check that
// such writers' lines came out whole and in order.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <sstream>
#include <string>

#include "core/SendJournal.h"

// A line of `writer` whose job is its running number.
inline std::string NumberedLine(const std::string& writer, std::uint32_t number)
{
    qv::JournalRecord r;
    r.time = "2026-12-08T10:45:40.123Z";
    r.printer = writer;
    r.job = number;
    qv::SetBlock(r, qv::FactoryDefaults);
    return qv::JournalLine(r);
}

// Every line is filler (only x) or a whole record, each writer's numbers
// run from 0 without a gap, and there are `expected` records in all.
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
