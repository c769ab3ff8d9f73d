// The file commands of the main window: reading and writing settings files
// through the real dialogs' requests, their questions and their messages.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "core/SettingsFile.h"
#include "framework/Handles.h"
#include "framework/Text.h"
#include "resource.h"
#include "PanelUnderTest.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const char* const kNotSettingsFile = "このファイルは設定ファイルではありません。";
const char* const kDiscard = "設定が変更されています。\nコマンドを続行すると設定の変更は破棄されます。";
const char* const kWriteFailed = "設定ファイルの書き込みに失敗しました。";
const char* const kAccessDenied =
    "設定ファイルの書き込みに失敗しました。\nこのディレクトリに保存するアクセス許可がない"
    "可能性があります。\n設定ファイルの保存先を変更してやり直してください。";

Bytes ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const fs::path& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes FileOf(const qv::SettingsBlock& block)
{
    const auto bytes = qv::EncodeSettingsFile(block);
    return Bytes(bytes.begin(), bytes.end());
}

class SettingsFileCommandsTest : public testing::Test {
protected:
    MessageBoxRecorder boxes;
    FileDialogRecorder dialogs;
    PanelUnderTest dlg;
    fs::path dir;

    void SetUp() override
    {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path() / (std::string("qv_files_") + info->name());
        std::error_code ec;
        fs::remove_all(dir, ec);
        fs::create_directories(dir);
    }
    void TearDown() override
    {
        SetCurrentPlatform({qv::kPlatformNt, 10, 0});
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    void Run(const std::function<void()>& body) { RunModal(dlg, body); }

    // What a user's edit does: a page shows another value and reports it.
    void Edit(std::uint8_t flip = 0x01)
    {
        qv::SettingsBlock shown = dlg.workingBlock;
        shown[qv::off::msw2] ^= flip;
        dlg.DistributeToPages(shown);
        dlg.OnDataCheck();
    }
    // The blocks the pages show, as a collect finds them.
    qv::SettingsBlock Shown()
    {
        qv::SettingsBlock block = dlg.workingBlock;
        dlg.CollectFromPages(block);
        return block;
    }
    void ExpectOnlyMessage(const char* text, UINT type)
    {
        ASSERT_EQ(boxes.Calls().size(), 1u);
        EXPECT_EQ(boxes.Calls()[0].text, W(text));
        EXPECT_EQ(boxes.Calls()[0].caption, L"Quorvex");
        EXPECT_EQ(boxes.Calls()[0].type, type);
        EXPECT_EQ(boxes.Calls()[0].owner, dlg.m_hWnd);
    }
};

TEST_F(SettingsFileCommandsTest, WrittenFileReadsBackAndBothDialogsAskAlike)
{
    const fs::path path = dir / "round.dat";
    HWND window = nullptr;
    Run([&] {
        window = dlg.m_hWnd;
        Edit();
        const qv::SettingsBlock edited = dlg.workingBlock;
        ASSERT_NE(edited, qv::FactoryDefaults);
        dialogs.Answer(path.wstring());
        dlg.SendCommand(ID_FILE_SAVE);
        EXPECT_EQ(dlg.savedBlock, edited);
        EXPECT_EQ(dlg.sentBlock, qv::FactoryDefaults);

        const Bytes bytes = ReadAll(path);
        ASSERT_EQ(bytes.size(), 290u);
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 18), "Kestrolinea 418KQ5");
        EXPECT_EQ(bytes[18], 0x0A);
        EXPECT_EQ(bytes[19], 0x00);
        EXPECT_TRUE(std::equal(edited.begin(), edited.end(), bytes.begin() + 20));
        EXPECT_EQ(std::vector<fs::path>(fs::directory_iterator(dir), {}).size(), 1u)
            << "no temporary file left";

        // Back to factory values as shown and sent, then read the file.
        dlg.DistributeToPages(dlg.sentBlock);
        dlg.OnDataCheck();
        dlg.EnableSendCommand(false);
        dialogs.Answer(path.wstring());
        dlg.SendCommand(ID_FILE_OPEN);
        EXPECT_EQ(dlg.workingBlock, edited);
        EXPECT_EQ(dlg.savedBlock, edited);
        EXPECT_EQ(dlg.sentBlock, qv::FactoryDefaults);
        EXPECT_EQ(Shown(), edited) << "the pages show the file";
        EXPECT_TRUE(dlg.IsCommandEnabled(ID_SEND));
        EXPECT_FALSE(dlg.HasUnsavedChanges());
    });
    EXPECT_TRUE(boxes.Calls().empty());

    ASSERT_EQ(dialogs.Requests().size(), 2u);
    for (const FileDialogRequest& r : dialogs.Requests()) {
        EXPECT_EQ(r.owner, window);
        EXPECT_EQ(r.filter, W("QV設定ファイル (*.dat)|*.dat||"));
        EXPECT_EQ(r.defaultExt, L"dat");
        EXPECT_EQ(r.initialName, L"*.dat");
        EXPECT_EQ(r.initialDir, ModuleFolder());
        EXPECT_EQ(r.initialDir.back(), L'\\');
    }
    EXPECT_TRUE(dialogs.Requests()[0].save);
    EXPECT_FALSE(dialogs.Requests()[1].save);
}

TEST_F(SettingsFileCommandsTest, FilesWithAnotherHeaderOrAShortBodyAreRefused)
{
    const Bytes good = FileOf(qv::FactoryDefaults);
    Bytes crlf = good;
    crlf[18] = 0x0D;
    crlf[19] = 0x0A;
    Bytes otherCase = good;
    otherCase[0] = 'k';
    Bytes noZero = good;
    noZero[19] = ' ';
    const std::pair<const char*, Bytes> files[] = {
        {"crlf.dat", crlf},
        {"case.dat", otherCase},
        {"nozero.dat", noZero},
        {"short.dat", Bytes(good.begin(), good.end() - 1)},
        {"header.dat", Bytes(good.begin(), good.begin() + 20)},
        {"tiny.dat", Bytes(good.begin(), good.begin() + 10)},
        {"empty.dat", {}},
    };
    Run([&] {
        Edit();
        dlg.savedBlock = dlg.sentBlock = dlg.workingBlock;  // nothing unsent: no question
        const qv::SettingsBlock before = dlg.workingBlock;
        for (const auto& [name, content] : files) {
            WriteAll(dir / name, content);
            boxes.Clear();
            dialogs.Answer((dir / name).wstring());
            dlg.SendCommand(ID_FILE_OPEN);
            ExpectOnlyMessage(kNotSettingsFile, MB_OK | MB_ICONEXCLAMATION);
            EXPECT_EQ(dlg.workingBlock, before) << name;
            EXPECT_EQ(dlg.savedBlock, before) << name;
            EXPECT_EQ(Shown(), before) << name << ": the pages keep what they showed";
        }
        // A name that does not exist (typed into the dialog) is refused alike.
        boxes.Clear();
        dialogs.Answer((dir / "missing.dat").wstring());
        dlg.SendCommand(ID_FILE_OPEN);
        ExpectOnlyMessage(kNotSettingsFile, MB_OK | MB_ICONEXCLAMATION);
        EXPECT_EQ(dlg.workingBlock, before);
    });
}

TEST_F(SettingsFileCommandsTest, BytesAfterTheBlockAreIgnored)
{
    qv::SettingsBlock stored = qv::FactoryDefaults;
    stored[qv::off::msw2] ^= 0x01;
    Bytes bytes = FileOf(stored);
    bytes.insert(bytes.end(), {'t', 'a', 'i', 'l', 0xFF, 0x00});
    WriteAll(dir / "long.dat", bytes);
    Run([&] {
        dialogs.Answer((dir / "long.dat").wstring());
        dlg.SendCommand(ID_FILE_OPEN);
        EXPECT_EQ(dlg.workingBlock, stored);
        EXPECT_EQ(dlg.savedBlock, stored);
    });
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(SettingsFileCommandsTest, TheDiscardQuestionComesOnlyForUnsentChanges)
{
    WriteAll(dir / "other.dat", FileOf(qv::FactoryDefaults));
    Run([&] {
        // Nothing changed: no question.
        dialogs.Answer(std::nullopt);
        dlg.SendCommand(ID_FILE_OPEN);
        EXPECT_TRUE(boxes.Calls().empty());
        EXPECT_EQ(dialogs.Requests().size(), 1u);

        // Saved but not sent: asked; No ends before the dialog.
        Edit();
        dialogs.Answer((dir / "saved.dat").wstring());
        dlg.WriteSettingsFile();
        const qv::SettingsBlock edited = dlg.workingBlock;
        boxes.Answer(IDNO);
        dlg.SendCommand(ID_FILE_OPEN);
        ExpectOnlyMessage(kDiscard, MB_YESNO | MB_ICONEXCLAMATION);
        EXPECT_EQ(dialogs.Requests().size(), 2u) << "no open dialog after No";
        EXPECT_EQ(dlg.workingBlock, edited);

        // Yes goes on to the dialog and the load.
        boxes.Clear();
        boxes.Answer(IDYES);
        dialogs.Answer((dir / "other.dat").wstring());
        dlg.SendCommand(ID_FILE_OPEN);
        ExpectOnlyMessage(kDiscard, MB_YESNO | MB_ICONEXCLAMATION);
        EXPECT_EQ(dlg.workingBlock, qv::FactoryDefaults);

        // Sent but not saved: no question.
        Edit(0x02);
        dlg.sentBlock = dlg.workingBlock;
        ASSERT_TRUE(dlg.HasUnsavedChanges());
        boxes.Clear();
        dialogs.Answer(std::nullopt);
        dlg.SendCommand(ID_FILE_OPEN);
        EXPECT_TRUE(boxes.Calls().empty());
    });
}

TEST_F(SettingsFileCommandsTest, CancellingEitherDialogChangesNoCopy)
{
    Run([&] {
        Edit();
        dlg.sentBlock = dlg.workingBlock;  // no discard question
        const qv::SettingsBlock working = dlg.workingBlock;
        dialogs.Answer(std::nullopt);
        dlg.SendCommand(ID_FILE_OPEN);
        dialogs.Answer(std::nullopt);
        dlg.SendCommand(ID_FILE_SAVE);
        EXPECT_EQ(dlg.workingBlock, working);
        EXPECT_EQ(dlg.sentBlock, working);
        EXPECT_EQ(dlg.savedBlock, qv::FactoryDefaults);
        EXPECT_EQ(dialogs.Requests().size(), 2u);
    });
    EXPECT_TRUE(boxes.Calls().empty());
    EXPECT_TRUE(fs::is_empty(dir));
}

TEST_F(SettingsFileCommandsTest, AWriteIntoAMissingFolderReportsTheFailure)
{
    Run([&] {
        Edit();
        dialogs.Answer((dir / "absent" / "x.dat").wstring());
        dlg.SendCommand(ID_FILE_SAVE);
        ExpectOnlyMessage(kWriteFailed, MB_OK | MB_ICONSTOP);
        EXPECT_EQ(dlg.savedBlock, qv::FactoryDefaults);
        EXPECT_EQ(dialogs.Requests().size(), 1u) << "no second dialog";
    });
    EXPECT_FALSE(fs::exists(dir / "absent"));
}

TEST_F(SettingsFileCommandsTest, AFullDeviceReportsTheFailureAndStaysADevice)
{
    const std::wstring device = L"Z:\\dev\\full";
    Run([&] {
        Edit();
        dialogs.Answer(device);
        dlg.SendCommand(ID_FILE_SAVE);
        ExpectOnlyMessage(kWriteFailed, MB_OK | MB_ICONSTOP);
        EXPECT_EQ(dlg.savedBlock, qv::FactoryDefaults);
    });
    // Still the device, and nothing left beside it.
    UniqueFileHandle file(::CreateFileW(device.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file);
    EXPECT_EQ(::GetFileType(file.get()), static_cast<DWORD>(FILE_TYPE_CHAR));
    EXPECT_EQ(::GetFileAttributesW((device + L".qvtmp").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(SettingsFileCommandsTest, AccessDeniedOffersTheSaveDialogAgainUntilAWritablePlace)
{
    // Opening a folder for writing is refused with error 5.
    const fs::path denied = dir / "folder.dat";
    fs::create_directory(denied);
    const fs::path good = dir / "good.dat";
    Run([&] {
        Edit();
        dialogs.Answer(denied.wstring());
        dialogs.Answer(denied.wstring());
        dialogs.Answer(good.wstring());
        dlg.SendCommand(ID_FILE_SAVE);
        ASSERT_EQ(boxes.Calls().size(), 2u);
        for (const auto& call : boxes.Calls()) {
            EXPECT_EQ(call.text, W(kAccessDenied));
            EXPECT_EQ(call.caption, L"Quorvex");
            EXPECT_EQ(call.type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
        }
        ASSERT_EQ(dialogs.Requests().size(), 3u);
        for (const FileDialogRequest& r : dialogs.Requests()) {
            EXPECT_TRUE(r.save);
            EXPECT_EQ(r.initialDir, ModuleFolder());
            EXPECT_EQ(r.initialName, L"*.dat");
        }
        EXPECT_EQ(dlg.savedBlock, dlg.workingBlock);
        EXPECT_EQ(ReadAll(good), FileOf(dlg.workingBlock));

        // Cancel after the message ends the command with nothing saved.
        Edit(0x02);
        boxes.Clear();
        dialogs.Answer(denied.wstring());
        dlg.SendCommand(ID_FILE_SAVE);
        ExpectOnlyMessage(kAccessDenied, MB_OK | MB_ICONEXCLAMATION);
        EXPECT_NE(dlg.savedBlock, dlg.workingBlock);
        EXPECT_EQ(dialogs.Requests().size(), 5u);
    });
    EXPECT_TRUE(fs::is_directory(denied));
}

TEST_F(SettingsFileCommandsTest, AccessDeniedOutsideTheNtFamilyIsAPlainFailure)
{
    const fs::path denied = dir / "folder.dat";
    fs::create_directory(denied);
    Run([&] {
        SetCurrentPlatform({qv::kPlatformWindows, 4, 10});
        Edit();
        dialogs.Answer(denied.wstring());
        dlg.SendCommand(ID_FILE_SAVE);
        ExpectOnlyMessage(kWriteFailed, MB_OK | MB_ICONSTOP);
        EXPECT_EQ(dialogs.Requests().size(), 1u);
        EXPECT_EQ(dlg.savedBlock, qv::FactoryDefaults);
    });
}

TEST_F(SettingsFileCommandsTest, SavingOverALongerFileLeavesExactlyTheNewFile)
{
    const fs::path path = dir / "old.dat";
    WriteAll(path, Bytes(1000, 0x55));
    Run([&] {
        Edit();
        dialogs.Answer(path.wstring());
        dlg.SendCommand(ID_FILE_SAVE);
        EXPECT_EQ(ReadAll(path), FileOf(dlg.workingBlock));
    });
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(SettingsFileCommandsTest, APendingCentringEntryStopsTheWriteBeforeItsDialog)
{
    Run([&] {
        dlg.OpenEveryPage();
        TypeText(dlg, dlg.pageParam.GetDlgItem(IDC_PARAM_CUT_SHEET), L"5");
        ASSERT_TRUE(dlg.pageParam.CentringCheckPending());
        dlg.SendCommand(ID_FILE_SAVE);
        EXPECT_TRUE(dialogs.Requests().empty());
        EXPECT_EQ(dlg.CurrentTab(), 1);
        EXPECT_EQ(dlg.savedBlock, qv::FactoryDefaults);
        EXPECT_FALSE(dlg.pageParam.CentringCheckPending()) << "corrected";
        EXPECT_EQ(boxes.Calls().size(), 1u) << "the parameter page's own message";
    });
}

}  // namespace
