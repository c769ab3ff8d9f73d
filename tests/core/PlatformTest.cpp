// The platform rules: which help file and viewer, and the version class.
#include <gtest/gtest.h>

#include "core/Platform.h"

namespace {

using qv::PlatformInfo;

struct HelpRow {
    PlatformInfo platform;
    const char* file;
    bool html;
    const char* system;
};

TEST(ChooseHelpFile, FollowsTheFamilyAndVersionOnEveryRow)
{
    const HelpRow rows[] = {
        {{qv::kPlatformWindows, 4, 0}, "qvx4k5.hlp", false, "Windows 95"},
        {{qv::kPlatformWindows, 4, 3}, "qvx4k5.hlp", false, "Windows 95 OSR"},
        {{qv::kPlatformWindows, 4, 9}, "qvx4k5.hlp", false, "below 4.10"},
        {{qv::kPlatformWindows, 4, 10}, "qvx4k5.chm", true, "Windows 98"},
        {{qv::kPlatformWindows, 4, 90}, "qvx4k5.chm", true, "Windows Me"},
        {{qv::kPlatformWindows, 5, 0}, "qvx4k5.chm", true, "9x family, major 5"},
        {{qv::kPlatformWindows, 3, 10}, "qvx4k5.chm", true, "9x family, minor 10"},
        {{qv::kPlatformNt, 3, 51}, "qvx4k5.hlp", false, "NT 3.51"},
        {{qv::kPlatformNt, 4, 0}, "qvx4k5.hlp", false, "NT 4.0"},
        {{qv::kPlatformNt, 4, 90}, "qvx4k5.hlp", false, "NT family, minor 90"},
        {{qv::kPlatformNt, 5, 0}, "qvx4k5.chm", true, "Windows 2000"},
        {{qv::kPlatformNt, 6, 1}, "qvx4k5.chm", true, "Windows 7"},
        {{qv::kPlatformNt, 10, 0}, "qvx4k5.chm", true, "Windows 10"},
        {{qv::kPlatformWin32s, 3, 1}, "qvx4k5.chm", true, "Win32s"},
        {{7, 1, 0}, "qvx4k5.chm", true, "unknown platform id"},
    };
    for (const auto& row : rows) {
        const qv::HelpChoice choice = qv::ChooseHelpFile(row.platform);
        EXPECT_EQ(choice.fileName, row.file) << row.system;
        EXPECT_EQ(choice.isHtml, row.html) << row.system;
    }
}

TEST(OsVersionClass, SeparatesTheFamiliesAndTheNewShell)
{
    EXPECT_EQ(qv::OsVersionClass({qv::kPlatformWindows, 3, 10}), 0);
    EXPECT_EQ(qv::OsVersionClass({qv::kPlatformWindows, 4, 0}), 1);
    EXPECT_EQ(qv::OsVersionClass({qv::kPlatformWindows, 4, 90}), 1);
    EXPECT_EQ(qv::OsVersionClass({qv::kPlatformNt, 3, 51}), 2);
    EXPECT_EQ(qv::OsVersionClass({qv::kPlatformNt, 4, 0}), 3);
    EXPECT_EQ(qv::OsVersionClass({qv::kPlatformNt, 10, 0}), 3);
    EXPECT_FALSE(qv::IsNewShell({qv::kPlatformNt, 3, 51}));
    EXPECT_TRUE(qv::IsNewShell({qv::kPlatformWindows, 4, 0}));
    EXPECT_TRUE(qv::IsNewShell({qv::kPlatformNt, 5, 0}));
}

TEST(PlatformInfo, OnlyTheNtFamilyCountsAsNt)
{
    EXPECT_TRUE((PlatformInfo{qv::kPlatformNt, 4, 0}.IsNtFamily()));
    EXPECT_FALSE((PlatformInfo{qv::kPlatformWindows, 4, 10}.IsNtFamily()));
    EXPECT_FALSE((PlatformInfo{qv::kPlatformWin32s, 3, 1}.IsNtFamily()));
}

}  // namespace
