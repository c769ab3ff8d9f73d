// Runs the tool in-process with an argument list, in a folder of its own,
// and keeps what it wrote to its two streams.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/PosixJournal.h"
#include "cli/Tool.h"
#include "core/PanelValues.h"
#include "core/SettingsCatalogue.h"
#include "core/SettingsFile.h"
#include "tests/core/FakeSpooler.h"

struct ToolRun {
    int code;
    std::string out;
    std::string err;
    bool outUtf8 = false;  // the tool asked for unconverted UTF-8 on standard output
};

class ToolTest : public testing::Test {
protected:
    std::filesystem::path dir;
    FakeSpooler spooler;
    bool withSpooler = false;
    std::string now = "2030-01-02T03:04:05Z";
    std::optional<std::string> input;  // standard input; none: a terminal
    bool terminalOut = false;          // standard output is a terminal
    bool quiet = false;

    void SetUp() override
    {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        dir = std::filesystem::temp_directory_path() /
              (std::string("qvcli-") + info->test_suite_name() + "-" + info->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::string Path(const std::string& name) const { return (dir / name).string(); }

    void WriteBytes(const std::string& name, const std::vector<std::uint8_t>& bytes) const
    {
        std::ofstream out(dir / name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    void WriteText(const std::string& name, const std::string& text) const
    {
        WriteBytes(name, std::vector<std::uint8_t>(text.begin(), text.end()));
    }
    // A settings file of `block`; its path.
    std::string Settings(const std::string& name, const qv::SettingsBlock& block) const
    {
        const auto bytes = qv::EncodeSettingsFile(block);
        WriteBytes(name, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
        return Path(name);
    }
    std::vector<std::uint8_t> ReadBytes(const std::string& name) const
    {
        std::ifstream in(dir / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    bool Exists(const std::string& name) const { return std::filesystem::exists(dir / name); }

    // The tool's journal in this test: journal/sends.jsonl, on computer PC01.
    qv::SendJournal Journal(const std::optional<std::filesystem::path>& extraFolder = std::nullopt) const
    {
        qv::JournalSteps steps = qv::cli::PosixJournalSteps();
        steps.computer = [] { return std::string("PC01"); };
        return qv::SendJournal(qv::PlacesFor(dir / "journal" / "sends.jsonl", "PC01", {extraFolder}), steps);
    }

    ToolRun Run(const std::vector<std::string>& args)
    {
        std::ostringstream out, err;
        qv::cli::ToolEnvironment env(out, err);
        ToolRun run{0, "", ""};
        env.useUtf8Output = [&] { run.outUtf8 = true; };
        if (withSpooler)
            env.spooler = &spooler;
        env.utcNow = [this] { return now; };
        env.quiet = quiet;
        env.journal = [this](const std::optional<std::filesystem::path>& extra) { return Journal(extra); };
        std::istringstream in(input.value_or(""));
        if (input)
            env.in = &in;
        env.useBinaryOutput = [this] { return !terminalOut; };
        run.code = qv::cli::RunTool(args, env);
        run.out = out.str();
        run.err = err.str();
        return run;
    }
};

// The 290 bytes the panel saves after it loads `stored` from a file.
inline std::vector<std::uint8_t> SavedByPanel(const qv::SettingsBlock& stored)
{
    const auto bytes = qv::EncodeSettingsFile(qv::LoadAsPanel(stored).block);
    return {bytes.begin(), bytes.end()};
}

inline bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}
