// How a save chooses between the temporary file, writing in place and
// failing, with every file-system step replaced. (The portable steps on
// disk: SettingsFileTest.)
#include <gtest/gtest.h>

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

// Steps that only record what the save asked of them.
struct FakeDisk {
    FileWriteResult check = FileWriteResult::Ok;
    std::vector<Step> created;  // one answer per temporary name tried
    Step moved = Step::Ok;
    Step inPlace = Step::Ok;

    std::vector<fs::path> names;
    std::vector<fs::path> removed;
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
        steps.writeInPlace = [this](const fs::path&, qv::FileBytes bytes) {
            ++inPlaceWrites;
            bytesSeen = bytes.size();
            return inPlace;
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
