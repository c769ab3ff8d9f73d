// Settings files: the header, decoding, and reading and writing on disk.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/SettingsFile.h"

namespace {

namespace fs = std::filesystem;
using qv::FileReadResult;
using qv::FileStepResult;
using qv::FileWriteResult;
using qv::SettingsBlock;

const std::string kHeaderText = "Kestrolinea 418KQ5";

// A block unlike FactoryDefaults in every byte, so a copy is recognisable.
SettingsBlock Pattern(std::uint8_t seed)
{
    SettingsBlock b;
    for (std::size_t i = 0; i < b.size(); ++i)
        b[i] = static_cast<std::uint8_t>(seed + i * 7);
    return b;
}

std::vector<std::uint8_t> FileBytes(const std::vector<std::uint8_t>& header, const SettingsBlock& block)
{
    std::vector<std::uint8_t> bytes = header;
    bytes.insert(bytes.end(), block.begin(), block.end());
    return bytes;
}

std::vector<std::uint8_t> GoodHeader()
{
    std::vector<std::uint8_t> h(kHeaderText.begin(), kHeaderText.end());
    h.push_back(0x0A);
    h.push_back(0x00);
    return h;
}

class SettingsFileDisk : public ::testing::Test {
protected:
    void SetUp() override
    {
        static std::atomic<int> counter{0};
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path() /
              ("qv_settings_" + std::string(info->name()) + "_" + std::to_string(++counter) + "_" +
               std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        fs::remove_all(dir);
        ASSERT_TRUE(fs::create_directories(dir));
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    void Write(const fs::path& path, const std::vector<std::uint8_t>& bytes)
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        ASSERT_TRUE(out.good());
    }

    std::vector<std::uint8_t> Read(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
    }

    std::vector<fs::path> Entries()
    {
        std::vector<fs::path> names;
        for (const auto& e : fs::directory_iterator(dir))
            names.push_back(e.path().filename());
        return names;
    }

    fs::path dir;
};

TEST(SettingsFileFormat, EncodesHeaderThenBlock)
{
    const SettingsBlock block = Pattern(3);
    const auto bytes = qv::EncodeSettingsFile(block);
    ASSERT_EQ(bytes.size(), 290u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 18), kHeaderText);
    EXPECT_EQ(bytes[18], 0x0A);
    EXPECT_EQ(bytes[19], 0x00);
    EXPECT_TRUE(std::equal(block.begin(), block.end(), bytes.begin() + 20));
}

TEST(SettingsFileFormat, DecodesWhatWasEncoded)
{
    const SettingsBlock block = Pattern(11);
    const auto bytes = qv::EncodeSettingsFile(block);
    SettingsBlock read = qv::FactoryDefaults;
    EXPECT_EQ(qv::DecodeSettingsFile(bytes, read), FileReadResult::Ok);
    EXPECT_EQ(read, block);
}

TEST(SettingsFileFormat, RefusesAnyOtherHeaderAndKeepsTheBlock)
{
    auto lowerCase = GoodHeader();
    lowerCase[0] = 'k';
    auto otherCase = GoodHeader();
    otherCase[16] = 'q';
    std::vector<std::uint8_t> crlf(kHeaderText.begin(), kHeaderText.end());
    crlf.push_back(0x0D);
    crlf.push_back(0x0A);
    auto noZero = GoodHeader();
    noZero[19] = ' ';
    auto noNewline = GoodHeader();
    noNewline[18] = 0x00;

    for (const auto& header : {lowerCase, otherCase, crlf, noZero, noNewline}) {
        SettingsBlock block = qv::FactoryDefaults;
        EXPECT_EQ(qv::DecodeSettingsFile(FileBytes(header, Pattern(1)), block),
                  FileReadResult::NotSettingsFile);
        EXPECT_EQ(block, qv::FactoryDefaults);
    }
}

TEST(SettingsFileFormat, RefusesShortInputAndKeepsTheBlock)
{
    const auto full = FileBytes(GoodHeader(), Pattern(5));
    for (std::size_t size : {0u, 1u, 19u, 20u, 21u, 150u, 289u}) {
        SettingsBlock block = qv::FactoryDefaults;
        const std::vector<std::uint8_t> cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_EQ(qv::DecodeSettingsFile(cut, block), FileReadResult::NotSettingsFile) << size;
        EXPECT_EQ(block, qv::FactoryDefaults) << size;
    }
}

TEST(SettingsFileFormat, IgnoresBytesAfterTheBlock)
{
    auto bytes = FileBytes(GoodHeader(), Pattern(9));
    bytes.insert(bytes.end(), {'t', 'r', 'a', 'i', 'l', 0xFF});
    SettingsBlock block = qv::FactoryDefaults;
    EXPECT_EQ(qv::DecodeSettingsFile(bytes, block), FileReadResult::Ok);
    EXPECT_EQ(block, Pattern(9));
}

TEST_F(SettingsFileDisk, WriteThenReadGivesTheSameBlock)
{
    const auto path = dir / "settings.dat";
    const SettingsBlock block = Pattern(42);
    EXPECT_EQ(qv::WriteSettingsFile(path, block), FileWriteResult::Ok);

    const auto bytes = Read(path);
    ASSERT_EQ(bytes.size(), 290u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 18), kHeaderText);
    EXPECT_EQ(bytes[18], 0x0A);
    EXPECT_EQ(bytes[19], 0x00);

    SettingsBlock read = qv::FactoryDefaults;
    EXPECT_EQ(qv::ReadSettingsFile(path, read), FileReadResult::Ok);
    EXPECT_EQ(read, block);
    EXPECT_EQ(Entries(), std::vector<fs::path>{"settings.dat"}) << "no temporary file left";
}

TEST_F(SettingsFileDisk, ReadIgnoresBytesAfter290)
{
    const auto path = dir / "long.dat";
    auto bytes = FileBytes(GoodHeader(), Pattern(7));
    bytes.resize(1000, 0xEE);
    Write(path, bytes);
    SettingsBlock block = qv::FactoryDefaults;
    EXPECT_EQ(qv::ReadSettingsFile(path, block), FileReadResult::Ok);
    EXPECT_EQ(block, Pattern(7));
}

TEST_F(SettingsFileDisk, ReadRefusesBadFilesAndKeepsTheBlock)
{
    auto wrongCase = GoodHeader();
    wrongCase[5] = 'O';
    std::vector<std::uint8_t> crlf(kHeaderText.begin(), kHeaderText.end());
    crlf.insert(crlf.end(), {0x0D, 0x0A});
    auto noZero = GoodHeader();
    noZero[19] = 'x';
    const auto good = FileBytes(GoodHeader(), Pattern(2));

    const std::pair<const char*, std::vector<std::uint8_t>> files[] = {
        {"case.dat", FileBytes(wrongCase, Pattern(2))},
        {"crlf.dat", FileBytes(crlf, Pattern(2))},
        {"nozero.dat", FileBytes(noZero, Pattern(2))},
        {"tiny.dat", std::vector<std::uint8_t>(good.begin(), good.begin() + 12)},
        {"headeronly.dat", std::vector<std::uint8_t>(good.begin(), good.begin() + 20)},
        {"shortbody.dat", std::vector<std::uint8_t>(good.begin(), good.begin() + 200)},
        {"empty.dat", {}},
    };
    for (const auto& [name, content] : files) {
        Write(dir / name, content);
        SettingsBlock block = qv::FactoryDefaults;
        EXPECT_EQ(qv::ReadSettingsFile(dir / name, block), FileReadResult::NotSettingsFile) << name;
        EXPECT_EQ(block, qv::FactoryDefaults) << name;
    }
}

TEST_F(SettingsFileDisk, ReadRefusesAMissingFileOrAFolder)
{
    SettingsBlock block = qv::FactoryDefaults;
    EXPECT_EQ(qv::ReadSettingsFile(dir / "missing.dat", block), FileReadResult::NotSettingsFile);
    EXPECT_EQ(qv::ReadSettingsFile(dir, block), FileReadResult::NotSettingsFile);
    EXPECT_EQ(block, qv::FactoryDefaults);
}

TEST_F(SettingsFileDisk, WriteIntoAMissingFolderFailsAndCreatesNothing)
{
    const auto folder = dir / "absent";
    EXPECT_EQ(qv::WriteSettingsFile(folder / "settings.dat", Pattern(1)), FileWriteResult::Failed);
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_TRUE(Entries().empty());
}

TEST_F(SettingsFileDisk, OverwritingALongerFileLeavesExactly290Bytes)
{
    const auto path = dir / "old.dat";
    Write(path, std::vector<std::uint8_t>(4096, 0x55));
    const SettingsBlock block = Pattern(77);
    EXPECT_EQ(qv::WriteSettingsFile(path, block), FileWriteResult::Ok);
    const auto bytes = Read(path);
    ASSERT_EQ(bytes.size(), 290u);
    const auto expected = qv::EncodeSettingsFile(block);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), bytes.begin()));
}

TEST_F(SettingsFileDisk, AFailedSaveKeepsTheOldFileAndLeavesNoTemporary)
{
    // A move that fails outright, and one refused where writing in place is
    // refused too.
    const std::pair<FileStepResult, FileStepResult> failures[] = {
        {FileStepResult::Failed, FileStepResult::Ok},
        {FileStepResult::AccessDenied, FileStepResult::AccessDenied},
        {FileStepResult::InUse, FileStepResult::InUse},
    };
    for (const auto& [moveResult, inPlaceResult] : failures) {
        const auto path = dir / "keep.dat";
        const auto old = FileBytes(GoodHeader(), Pattern(8));
        Write(path, old);

        fs::path seenFrom, seenTo;
        std::vector<std::uint8_t> staged;
        qv::SaveSteps steps = qv::PortableSaveSteps();
        steps.replace = [&](const fs::path& from, const fs::path& to) {
            seenFrom = from;
            seenTo = to;
            staged = Read(from);
            return moveResult;
        };
        steps.openInPlace = [&](const fs::path&) { return qv::InPlaceOpen{inPlaceResult}; };
        const FileWriteResult expected = inPlaceResult == FileStepResult::AccessDenied
                                             ? FileWriteResult::AccessDenied
                                             : FileWriteResult::Failed;
        EXPECT_EQ(qv::WriteSettingsFile(path, Pattern(99), steps), expected);

        // The new content was complete and beside the target when the move was tried.
        EXPECT_EQ(seenTo, path);
        EXPECT_EQ(seenFrom.parent_path(), path.parent_path());
        const auto encoded = qv::EncodeSettingsFile(Pattern(99));
        EXPECT_EQ(staged, std::vector<std::uint8_t>(encoded.begin(), encoded.end()));

        EXPECT_EQ(Read(path), old);
        EXPECT_EQ(Entries(), std::vector<fs::path>{"keep.dat"});
    }
}

TEST_F(SettingsFileDisk, AFailedReplaceWithoutAnOldFileLeavesNothing)
{
    const auto path = dir / "new.dat";
    qv::SaveSteps steps = qv::PortableSaveSteps();
    steps.replace = [](const fs::path&, const fs::path&) { return FileStepResult::AccessDenied; };
    EXPECT_EQ(qv::WriteSettingsFile(path, Pattern(4), steps), FileWriteResult::AccessDenied);
    EXPECT_TRUE(Entries().empty());
}

TEST_F(SettingsFileDisk, PortableReplaceMovesTheFile)
{
    const auto from = dir / "a.tmp";
    const auto to = dir / "b.dat";
    Write(from, {1, 2, 3});
    Write(to, {9, 9, 9, 9, 9});
    EXPECT_EQ(qv::PortableReplaceFile(from, to), FileStepResult::Ok);
    EXPECT_EQ(Read(to), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_FALSE(fs::exists(from));

    EXPECT_EQ(qv::PortableReplaceFile(dir / "gone.tmp", to), FileStepResult::Failed);
    EXPECT_EQ(Read(to), (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST_F(SettingsFileDisk, ATargetThatIsNoPlainFileIsRefusedBeforeAnythingIsWritten)
{
    const auto folder = dir / "folder.dat";
    ASSERT_TRUE(fs::create_directory(folder));
    EXPECT_EQ(qv::WriteSettingsFile(folder, Pattern(1)), FileWriteResult::Failed);
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(Entries(), std::vector<fs::path>{"folder.dat"});
#ifndef _WIN32
    // A device is never replaced by a moved file.
    EXPECT_EQ(qv::PortableCheckTarget("/dev/null"), FileWriteResult::Failed);
    EXPECT_EQ(qv::PortableCheckTarget("/dev/full"), FileWriteResult::Failed);
#endif
}

TEST_F(SettingsFileDisk, TheTargetCheckDecidesFirst)
{
    const auto path = dir / "checked.dat";
    for (const auto verdict : {FileWriteResult::AccessDenied, FileWriteResult::Failed}) {
        bool replaced = false;
        qv::SaveSteps steps = qv::PortableSaveSteps();
        steps.replace = [&](const fs::path&, const fs::path&) {
            replaced = true;
            return FileStepResult::Ok;
        };
        fs::path checked;
        steps.checkTarget = [&](const fs::path& target) {
            checked = target;
            return verdict;
        };
        EXPECT_EQ(qv::WriteSettingsFile(path, Pattern(3), steps), verdict);
        EXPECT_EQ(checked, path);
        EXPECT_FALSE(replaced);
        EXPECT_TRUE(Entries().empty()) << "no temporary file for a refused target";
    }
    EXPECT_EQ(qv::PortableCheckTarget(path), FileWriteResult::Ok) << "a new name is fine";
    Write(path, {1});
    EXPECT_EQ(qv::PortableCheckTarget(path), FileWriteResult::Ok) << "so is an existing file";
}

TEST_F(SettingsFileDisk, ATakenTemporaryNameIsLeftAloneAndAnotherUsed)
{
    const std::vector<std::uint8_t> someoneElses = {'m', 'i', 'n', 'e'};
    Write(dir / "taken.qvtmp", someoneElses);
    qv::SaveSteps steps = qv::PortableSaveSteps();
    int asked = 0;
    steps.tempName = [&](const fs::path& target) {
        return target.parent_path() / (asked++ == 0 ? "taken.qvtmp" : "free.qvtmp");
    };
    EXPECT_EQ(qv::WriteSettingsFile(dir / "x.dat", Pattern(5), steps), FileWriteResult::Ok);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(Read(dir / "taken.qvtmp"), someoneElses);
    EXPECT_EQ(Read(dir / "x.dat"), FileBytes(GoodHeader(), Pattern(5)));
    EXPECT_EQ(Entries().size(), 2u) << "the taken name and the target";
}

TEST_F(SettingsFileDisk, ARefusedMoveWritesIntoTheTargetAndCutsIt)
{
    for (const FileStepResult refusal : {FileStepResult::InUse, FileStepResult::AccessDenied}) {
        Write(dir / "x.dat", std::vector<std::uint8_t>(1000, 0x55));
        qv::SaveSteps steps = qv::PortableSaveSteps();
        steps.replace = [&](const fs::path&, const fs::path&) { return refusal; };
        EXPECT_EQ(qv::WriteSettingsFile(dir / "x.dat", Pattern(6), steps), FileWriteResult::Ok);
        EXPECT_EQ(Read(dir / "x.dat"), FileBytes(GoodHeader(), Pattern(6)));
        EXPECT_EQ(Entries(), std::vector<fs::path>{"x.dat"}) << "the temporary file is gone";
    }
}

#ifndef _WIN32
TEST_F(SettingsFileDisk, ASaveThroughALinkWritesTheFileItNamesAndKeepsItsMode)
{
    Write(dir / "real.dat", {1});
    fs::permissions(dir / "real.dat", static_cast<fs::perms>(0640));
    fs::create_symlink("real.dat", dir / "link.dat");
    EXPECT_EQ(qv::WriteSettingsFile(dir / "link.dat", Pattern(9)), FileWriteResult::Ok);
    EXPECT_TRUE(fs::is_symlink(dir / "link.dat"));
    EXPECT_EQ(Read(dir / "real.dat"), FileBytes(GoodHeader(), Pattern(9)));
    EXPECT_EQ(fs::status(dir / "real.dat").permissions(), static_cast<fs::perms>(0640));
    EXPECT_EQ(Entries().size(), 2u) << "no temporary file";
}
#endif

}  // namespace
