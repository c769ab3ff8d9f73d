// The start-up command line: registration switches, server switches, and
// the paths of a registration run.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/CommandLine.h"

namespace {

using qv::RegistrationRun;

TEST(FindSwitch, ReturnsThePositionAfterEachDashOrSlash)
{
    const std::wstring line = L"a-b/c";
    EXPECT_EQ(qv::FindSwitch(line), 2u);
    EXPECT_EQ(qv::FindSwitch(line, 2), 4u);
    EXPECT_EQ(qv::FindSwitch(line, 4), std::wstring::npos);
    EXPECT_EQ(qv::FindSwitch(L"plain words"), std::wstring::npos);
    EXPECT_EQ(qv::FindSwitch(L""), std::wstring::npos);
    EXPECT_EQ(qv::FindSwitch(L"-"), 1u);
}

TEST(RegistrationSwitch, CountsOnlyAtTheVeryEndOfTheCommandLine)
{
    struct Case {
        const wchar_t* line;
        RegistrationRun run;
    };
    const Case cases[] = {
        {L"qvx4k5.exe /RegServer", RegistrationRun::Register},
        {L"qvx4k5.exe -RegServer", RegistrationRun::Register},
        {L"qvx4k5.exe /regserver", RegistrationRun::Register},
        {L"qvx4k5.exe -REGSERVER", RegistrationRun::Register},
        {L"qvx4k5.exe /rEgSeRvEr", RegistrationRun::Register},
        {L"qvx4k5.exe /UnregServer", RegistrationRun::Unregister},
        {L"qvx4k5.exe -unregserver", RegistrationRun::Unregister},
        {L"qvx4k5.exe -UNREGSERVER", RegistrationRun::Unregister},
        {L"qvx4k5.exe /uNrEgSeRvEr", RegistrationRun::Unregister},
        // Something after the switch, even a blank, starts the panel normally.
        {L"qvx4k5.exe /RegServer extra", RegistrationRun::None},
        {L"qvx4k5.exe /RegServer ", RegistrationRun::None},
        {L"qvx4k5.exe -UnregServer x", RegistrationRun::None},
        {L"qvx4k5.exe /RegServer /x", RegistrationRun::None},
        // Only the last switch can be the end of the line.
        {L"qvx4k5.exe /x /RegServer", RegistrationRun::Register},
        {L"qvx4k5.exe /RegServer -UnregServer", RegistrationRun::Unregister},
        {L"qvx4k5.exe /UnregServer -RegServer", RegistrationRun::Register},
        // A switch needs its prefix; quotes or other text around it spoil it.
        {L"qvx4k5.exe RegServer", RegistrationRun::None},
        {L"qvx4k5.exe \"/RegServer\"", RegistrationRun::None},
        {L"qvx4k5.exe //RegServer", RegistrationRun::Register},
        {L"qvx4k5.exe /Reg Server", RegistrationRun::None},
        {L"qvx4k5.exe /Embedding", RegistrationRun::None},
        {L"qvx4k5.exe", RegistrationRun::None},
        {L"", RegistrationRun::None},
        // Dashes and slashes in the program's own path are candidates that
        // match nothing; the search goes on to the real switch.
        {L"\"C:\\Program Files\\kq-tools\\qvx4k5.exe\" /RegServer", RegistrationRun::Register},
        {L"C:/kq-tools/my-app/qvx4k5.exe -unregserver", RegistrationRun::Unregister},
        {L"\"Z:\\a-b\\qvx4k5.exe\"", RegistrationRun::None},
        {L"Z:\\-RegServer\\qvx4k5.exe", RegistrationRun::None},
        // A path that ends in the switch name counts, as the rule says.
        {L"Z:\\tools\\-RegServer", RegistrationRun::Register},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qv::FindRegistrationRun(c.line), c.run)
            << std::string(c.line, c.line + std::wcslen(c.line));
}

TEST(ServerSwitch, RecognisesEmbeddingAndAutomationInAnyCaseAfterEitherPrefix)
{
    using Args = std::vector<std::wstring>;
    EXPECT_TRUE(qv::HasServerSwitch(Args{L"/Embedding"}));
    EXPECT_TRUE(qv::HasServerSwitch(Args{L"-embedding"}));
    EXPECT_TRUE(qv::HasServerSwitch(Args{L"-AUTOMATION"}));
    EXPECT_TRUE(qv::HasServerSwitch(Args{L"file.dat", L"/automation"}));
    EXPECT_FALSE(qv::HasServerSwitch(Args{}));
    EXPECT_FALSE(qv::HasServerSwitch(Args{L"Embedding"}));
    EXPECT_FALSE(qv::HasServerSwitch(Args{L"/Embeddingx"}));
    EXPECT_FALSE(qv::HasServerSwitch(Args{L"/RegServer"}));
    EXPECT_FALSE(qv::HasServerSwitch(Args{L""}));
    EXPECT_FALSE(qv::HasServerSwitch(Args{L"/"}));
}

TEST(RegistrationPaths, TypeLibraryFallbackReplacesTheLastExtension)
{
    EXPECT_EQ(qv::TypeLibraryFallbackPath(L"C:\\kq\\qvx4k5.exe"), L"C:\\kq\\qvx4k5.tlb");
    EXPECT_EQ(qv::TypeLibraryFallbackPath(L"C:\\kq\\qvx4k5.tar.exe"), L"C:\\kq\\qvx4k5.tar.tlb");
    EXPECT_EQ(qv::TypeLibraryFallbackPath(L"C:\\kq\\qvx4k5"), L"C:\\kq\\qvx4k5.tlb");
    EXPECT_EQ(qv::TypeLibraryFallbackPath(L"qvx4k5."), L"qvx4k5.tlb");
    EXPECT_EQ(qv::TypeLibraryFallbackPath(L""), L".tlb");
}

TEST(RegistrationPaths, TypeLibraryFallbackNeverCutsIntoAFolderName)
{
    const std::pair<const wchar_t*, const wchar_t*> rows[] = {
        {L"C:\\kq.v2\\qvx4k5", L"C:\\kq.v2\\qvx4k5.tlb"},
        {L"C:\\kq.v2\\qvx4k5.exe", L"C:\\kq.v2\\qvx4k5.tlb"},
        {L"C:\\kq.v2/sub.d/qvx4k5", L"C:\\kq.v2/sub.d/qvx4k5.tlb"},
        {L"\\\\srv.example\\share\\qvx4k5", L"\\\\srv.example\\share\\qvx4k5.tlb"},
        {L"C:.\\qvx4k5", L"C:.\\qvx4k5.tlb"},
        {L"D:qvx4k5.exe", L"D:qvx4k5.tlb"},
        {L"C:\\kq\\.qvx4k5", L"C:\\kq\\.tlb"},
    };
    for (const auto& [path, expected] : rows)
        EXPECT_EQ(qv::TypeLibraryFallbackPath(path), expected) << path;
}

TEST(RegistrationPaths, HelpDirectoryEndsAtTheLastSeparator)
{
    EXPECT_EQ(qv::HelpDirectory(L"C:\\kq\\qvx4k5.tlb"), L"C:\\kq\\");
    EXPECT_EQ(qv::HelpDirectory(L"C:\\kq/sub/qvx4k5.tlb"), L"C:\\kq/sub/");
    EXPECT_EQ(qv::HelpDirectory(L"C:qvx4k5.tlb"), L"C:");
    EXPECT_EQ(qv::HelpDirectory(L"\\\\server\\share\\a.tlb"), L"\\\\server\\share\\");
    EXPECT_EQ(qv::HelpDirectory(L"qvx4k5.tlb"), L"");
}

}  // namespace
