// How a save chooses between the temporary file, writing in place and
// failing, with every file-system step replaced. (The portable steps on
// disk: SettingsFileTest.)
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "core/SettingsFile.h"

namespace {

namespace fs = std::filesystem;
using qv::FileStepResult;
using qv::FileWriteResult;
using Step = FileStepResult;
using Bytes = std::vector<std::uint8_t>;

// How the target's write fails at the byte numbered `failAt`: for that call,
// for good (the disk is gone), or silently storing a wrong byte.
enum class How { Once, ForGood, Silent };

struct MemoryFile : qv::InPlaceFile {
    Bytes& bytes;
    std::size_t failAt;  // counts down
    How how;
    bool broken = false;

    MemoryFile(Bytes& target, std::size_t at, How h) : bytes(target), failAt(at), how(h) {}
    std::optional<std::size_t> Read(std::size_t offset, std::span<std::uint8_t> into) override
    {
        const std::size_t from = std::min(offset, bytes.size()),
                          n = std::min(into.size(), bytes.size() - from);
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(from), n, into.begin());
        return n;
    }
    bool Write(std::size_t offset, qv::FileBytes data) override
    {
        for (const std::uint8_t byte : data) {
            if (broken || (failAt == 0 && how != How::Silent)) {
                broken = how == How::ForGood;
                failAt = SIZE_MAX;
                return false;
            }
            bytes.resize(std::max(bytes.size(), offset + 1));
            bytes[offset++] = static_cast<std::uint8_t>(failAt-- == 0 ? ~byte : byte);
        }
        return true;
    }
    bool Cut(std::size_t size) override { return !broken && (bytes.resize(size), true); }
    bool Flush() override { return !broken; }
};

// Steps that only record what the save asked of them.
struct FakeDisk {
    FileWriteResult check = FileWriteResult::Ok;
    std::vector<Step> created;  // one answer per temporary name tried
    Step moved = Step::Ok;
    Step inPlace = Step::Ok;
    Bytes target;
    std::size_t failAt = SIZE_MAX;
    How how = How::Once;

    std::vector<fs::path> names{};
    std::vector<fs::path> removed{};
    int moves = 0;
    int inPlaceWrites = 0;
    std::size_t bytesSeen = 0;

    qv::SaveSteps Steps()
    {
        qv::SaveSteps steps;
        steps.checkTarget = [this](const fs::path&) { return check; };
        steps.tempName = [this](const fs::path& target) {
            fs::path name = target.parent_path() / "t";
            name += std::to_string(names.size());
            return name;
        };
        steps.createAndWrite = [this](const fs::path& path, qv::FileBytes bytes) {
            names.push_back(path);
            bytesSeen = bytes.size();
            return names.size() <= created.size() ? created[names.size() - 1] : Step::Failed;
        };
        steps.replace = [this](const fs::path&, const fs::path&) {
            ++moves;
            return moved;
        };
        steps.openInPlace = [this](const fs::path&) {
            ++inPlaceWrites;
            return inPlace != Step::Ok
                       ? qv::InPlaceOpen{inPlace}
                       : qv::InPlaceOpen{Step::Ok, std::make_unique<MemoryFile>(target, failAt, how)};
        };
        steps.remove = [this](const fs::path& path) { removed.push_back(path); };
        return steps;
    }
};

struct SaveRow {
    const char* what;
    FileWriteResult check;
    std::vector<Step> created;
    Step moved;
    Step inPlace;
    FileWriteResult expected;
    int inPlaceWrites;
    bool tempRemoved;
};

TEST(SettingsFileSave, EachOutcomeOfTheStepsGivesItsResult)
{
    using R = FileWriteResult;
    const SaveRow rows[] = {
        {"plain save", R::Ok, {Step::Ok}, Step::Ok, Step::Ok, R::Ok, 0, false},
        {"held target written in place", R::Ok, {Step::Ok}, Step::InUse, Step::Ok, R::Ok, 1, true},
        {"refused move written in place", R::Ok, {Step::Ok}, Step::AccessDenied, Step::Ok, R::Ok, 1, true},
        {"refused move, no target",
         R::Ok,
         {Step::Ok},
         Step::AccessDenied,
         Step::NotFound,
         R::AccessDenied,
         1,
         true},
        {"held target that refuses writing", R::Ok, {Step::Ok}, Step::InUse, Step::InUse, R::Failed, 1, true},
        {"read-only target",
         R::Ok,
         {Step::Ok},
         Step::AccessDenied,
         Step::AccessDenied,
         R::AccessDenied,
         1,
         true},
        {"move fails otherwise", R::Ok, {Step::Ok}, Step::Failed, Step::Ok, R::Failed, 0, true},
        // The temporary file is then the only copy of the settings.
        {"replace lost the target", R::Ok, {Step::Ok}, Step::TargetLost, Step::Ok, R::Failed, 0, false},
        {"folder refuses new files", R::Ok, {Step::AccessDenied}, Step::Ok, Step::Ok, R::Ok, 1, false},
        {"folder without write access",
         R::Ok,
         {Step::AccessDenied},
         Step::Ok,
         Step::NotFound,
         R::AccessDenied,
         1,
         false},
        {"read-only target in such a folder",
         R::Ok,
         {Step::AccessDenied},
         Step::Ok,
         Step::AccessDenied,
         R::AccessDenied,
         1,
         false},
        // A full disk must not risk the old file by writing into it.
        {"temporary file fails", R::Ok, {Step::Failed}, Step::Ok, Step::Ok, R::Failed, 0, false},
        {"folder missing", R::Ok, {Step::NotFound}, Step::Ok, Step::Ok, R::Failed, 0, false},
        {"taken names are passed over",
         R::Ok,
         {Step::Exists, Step::Exists, Step::Ok},
         Step::Ok,
         Step::Ok,
         R::Ok,
         0,
         false},
        {"target refused", R::AccessDenied, {}, Step::Ok, Step::Ok, R::AccessDenied, 0, false},
        {"no plain file", R::Failed, {}, Step::Ok, Step::Ok, R::Failed, 0, false},
    };
    for (const SaveRow& row : rows) {
        FakeDisk disk;
        disk.check = row.check;
        disk.created = row.created;
        disk.moved = row.moved;
        disk.inPlace = row.inPlace;
        EXPECT_EQ(qv::WriteSettingsFile(fs::path("dir") / "x.dat", qv::FactoryDefaults, disk.Steps()),
                  row.expected)
            << row.what;
        EXPECT_EQ(disk.inPlaceWrites, row.inPlaceWrites) << row.what;
        EXPECT_EQ(disk.names.size(), row.created.size()) << row.what;
        const std::vector<fs::path> removed =
            row.tempRemoved ? std::vector<fs::path>{disk.names.back()} : std::vector<fs::path>{};
        EXPECT_EQ(disk.removed, removed) << row.what;
        if (!disk.names.empty()) {
            EXPECT_EQ(disk.bytesSeen, qv::kSettingsFileSize) << row.what;
        }
    }
}

// Wherever the write into a held target breaks off, the file is the old one
// (its bytes put back) or, when even that fails, one that loading refuses.
TEST(SettingsFileSave, AnInterruptedWriteIntoTheTargetLeavesNoMixedFile)
{
    const auto encoded = qv::EncodeSettingsFile(qv::FactoryDefaults);
    const Bytes fresh(encoded.begin(), encoded.end());
    Bytes longer = fresh;  // older settings, and bytes after them
    longer[40] ^= 0x01;
    longer.resize(400, 0x55);
    for (const How how : {How::Once, How::ForGood, How::Silent}) {
        for (const Bytes& old : {longer, Bytes(longer.begin(), longer.begin() + 100), Bytes{}}) {
            FileWriteResult result = FileWriteResult::Failed;
            for (std::size_t n = 0; n <= 2 * fresh.size(); ++n) {
                FakeDisk disk{
                    .created = {Step::Ok}, .moved = Step::InUse, .target = old, .failAt = n, .how = how};
                result = qv::WriteFileReplacing("x.dat", fresh, disk.Steps());
                qv::SettingsBlock block{};
                const bool refused = qv::DecodeSettingsFile(disk.target, block) != qv::FileReadResult::Ok;
                if (result == FileWriteResult::Ok)
                    EXPECT_EQ(disk.target, fresh) << n;
                else
                    EXPECT_TRUE(disk.target == old || (how == How::ForGood && refused)) << n;
            }
            EXPECT_EQ(result, FileWriteResult::Ok) << "once nothing fails";
        }
    }
}

TEST(SettingsFileSave, AllNamesTakenIsAFailureThatWritesNothing)
{
    FakeDisk disk;
    disk.created.assign(qv::kTemporaryNameAttempts, Step::Exists);
    EXPECT_EQ(qv::WriteSettingsFile("x.dat", qv::FactoryDefaults, disk.Steps()), FileWriteResult::Failed);
    EXPECT_EQ(disk.names.size(), static_cast<std::size_t>(qv::kTemporaryNameAttempts));
    EXPECT_EQ(std::set<fs::path>(disk.names.begin(), disk.names.end()).size(), disk.names.size());
    EXPECT_EQ(disk.moves, 0);
    EXPECT_EQ(disk.inPlaceWrites, 0);
}

TEST(SettingsFileSave, TemporaryNamesAreShortAndBesideTheTarget)
{
    const std::string longName(200, 'n');
    EXPECT_EQ(qv::TemporaryNameBeside(fs::path("dir") / "x.dat", 0x1a2bu),
              fs::path("dir") / "qv00001a2b.qvtmp");
    EXPECT_EQ(qv::TemporaryNameBeside(fs::path("dir") / (longName + ".dat"), 0xffffffffu),
              fs::path("dir") / "qvffffffff.qvtmp");
    EXPECT_EQ(qv::TemporaryNameBeside("x.dat", 7u), fs::path("qv00000007.qvtmp"));

    const qv::SaveSteps steps = qv::PortableSaveSteps();
    std::set<fs::path> seen;
    for (int i = 0; i < 20; ++i) {
        const fs::path name = steps.tempName(fs::path("dir") / "x.dat");
        EXPECT_EQ(name.parent_path(), fs::path("dir"));
        EXPECT_EQ(name.extension(), fs::path(".qvtmp"));
        seen.insert(name);
    }
    EXPECT_EQ(seen.size(), 20u) << "each try gets a fresh name";
}

}  // namespace
