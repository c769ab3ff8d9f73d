// The winspool implementation against Wine's own spooler, with printers
// registered in the prefix's registry as an installer would leave them.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <iterator>

#include "FakeSpooler.h"
#include "TestSupport.h"
#include "core/PrinterDiscovery.h"
#include "framework/Handles.h"
#include "framework/Text.h"
#include "printer/WinSpooler.h"
#include "PanelUnderTest.h"

namespace {

const wchar_t kKey[] = L"HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Print\\Printers\\";
constexpr std::chrono::milliseconds kWait = std::chrono::seconds(10);

struct RegPrinter {
    std::wstring name;
    std::wstring port;
    std::wstring driver = qv::kPrinterDriver;
};

std::wstring Escaped(const std::wstring& s)
{
    std::wstring out;
    for (const wchar_t c : s) {
        if (c == L'\\' || c == L'"')
            out += L'\\';
        out += c;
    }
    return out;
}

std::wstring TempFolder()
{
    std::vector<wchar_t> buffer(32768);
    const DWORD n = ::GetTempPathW(static_cast<DWORD>(buffer.size()), buffer.data());
    return std::wstring(buffer.data(), n);
}

int RunAndWait(std::wstring commandLine)
{
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                          &pi))
        return -1;
    UniqueKernelHandle process(pi.hProcess), thread(pi.hThread);
    ::WaitForSingleObject(process.get(), 60000);
    DWORD code = 0;
    ::GetExitCodeProcess(process.get(), &code);
    return static_cast<int>(code);
}

// Writes a .reg file (UTF-16 with its mark) and imports it with regedit.
void Import(const std::wstring& body)
{
    const std::wstring path = TempFolder() + L"qv-printers.reg";
    const std::wstring text = L"\xFEFFWindows Registry Editor Version 5.00\r\n\r\n" + body;
    {
        std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(text.data()), static_cast<std::streamsize>(text.size() * 2));
    }
    ASSERT_EQ(RunAndWait(L"regedit.exe /S \"" + path + L"\""), 0);
    ::DeleteFileW(path.c_str());
}

// Printers present in the spooler for one scope.
class RegisteredPrinters {
public:
    RegisteredPrinters(std::initializer_list<RegPrinter> printers) : printers_(printers)
    {
        std::wstring body;
        for (const RegPrinter& p : printers_) {
            body += L"[" + std::wstring(kKey) + p.name + L"]\r\n";
            body += L"\"Name\"=\"" + Escaped(p.name) + L"\"\r\n";
            body += L"\"Printer Driver\"=\"" + Escaped(p.driver) + L"\"\r\n";
            body += L"\"Port\"=\"" + Escaped(p.port) + L"\"\r\n";
            body += L"\"Attributes\"=dword:00000040\r\n";
            body += L"\"Status\"=dword:00000000\r\n";
            body += L"\"Datatype\"=\"RAW\"\r\n\"Print Processor\"=\"winprint\"\r\n\r\n";
        }
        Import(body);
    }
    RegisteredPrinters(const RegisteredPrinters&) = delete;
    RegisteredPrinters& operator=(const RegisteredPrinters&) = delete;
    ~RegisteredPrinters()
    {
        std::wstring body;
        for (const RegPrinter& p : printers_)
            body += L"[-" + std::wstring(kKey) + p.name + L"]\r\n\r\n";
        Import(body);
    }

private:
    std::vector<RegPrinter> printers_;
};

std::vector<std::uint8_t> ReadFile(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

qv::SettingsBlock SampleBlock()
{
    qv::SettingsBlock block = qv::FactoryDefaults;
    block[30] = 0xFF;  // bytes above 0x7F travel unchanged too
    block[31] = 0x0A;
    return block;
}

class SpoolerWineTest : public testing::Test {
protected:
    CWinSpooler spooler;
    std::wstring folder = TempFolder() + L"qv-spool\\";
    std::wstring jobFile = folder + L"job.bin";

    void SetUp() override
    {
        ::CreateDirectoryW(folder.c_str(), nullptr);
        ::DeleteFileW(jobFile.c_str());
    }
    void TearDown() override
    {
        ::DeleteFileW(jobFile.c_str());
        ::RemoveDirectoryW(folder.c_str());
    }
};

bool Contains(const std::vector<qv::ListedPrinter>& list, const std::wstring& name, const std::wstring& port)
{
    for (const auto& p : list)
        if (p.name == name)
            return p.connection == port;
    return false;
}

TEST_F(SpoolerWineTest, RegisteredPrintersAreListedWithDriverPortAndTheRightOnesEligible)
{
    RegisteredPrinters registered({{L"KQ Wine A", jobFile},
                                   {L"KQ Wine File", L"FILE:"},
                                   {L"KQ Wine Other", jobFile, L"Tav Kestrolinea 418KQ6"},
                                   {L"KQ Wine Case", jobFile, L"tav kestrolinea 418kq5"}});
    bool found4 = false;
    for (const qv::PrinterInfo4& p : spooler.EnumPrinters4())
        found4 = found4 || p.printerName == L"KQ Wine A";
    EXPECT_TRUE(found4);

    bool found2 = false;
    for (const qv::PrinterInfo2& p : spooler.EnumPrinters2(std::nullopt))
        if (p.printerName == L"KQ Wine A") {
            found2 = true;
            EXPECT_EQ(p.driverName, qv::kPrinterDriver);
            EXPECT_EQ(p.portName, jobFile);
        }
    EXPECT_TRUE(found2);

    const auto listed = qv::FindEligiblePrinters(spooler, true);
    EXPECT_TRUE(Contains(listed, L"KQ Wine A", jobFile));
    EXPECT_TRUE(Contains(listed, L"KQ Wine File", L"FILE:"));
    for (const auto& p : listed)
        EXPECT_TRUE(p.name != L"KQ Wine Other" && p.name != L"KQ Wine Case") << Narrow(p.name);
    // The 95/98/Me rule reads the same local list.
    EXPECT_TRUE(Contains(qv::FindEligiblePrinters(spooler, false), L"KQ Wine A", jobFile));

    EXPECT_TRUE(spooler.TestOpen(L"KQ Wine A"));
    EXPECT_FALSE(spooler.TestOpen(L"KQ Wine Not There"));
}

TEST_F(SpoolerWineTest, RawJobArrivesAsExactlyTheBlock)
{
    RegisteredPrinters registered({{L"KQ Wine Job", jobFile}});
    const qv::SettingsBlock block = SampleBlock();
    for (const bool nt : {true, false}) {
        ::DeleteFileW(jobFile.c_str());
        EXPECT_EQ(spooler.SendRawJob(L"KQ Wine Job", qv::kJobName, block, nt, kWait).delivery,
                  qv::Delivery::Delivered)
            << nt;
        const std::vector<std::uint8_t> job = ReadFile(jobFile);
        ASSERT_EQ(job.size(), 270u) << nt;
        EXPECT_TRUE(std::equal(job.begin(), job.end(), block.begin())) << nt;
    }
}

TEST_F(SpoolerWineTest, UndeliverableJobIsAFailedSend)
{
    const std::wstring nowhere = folder + L"missing\\job.bin";
    RegisteredPrinters registered({{L"KQ Wine Nowhere", nowhere}});
    EXPECT_EQ(spooler.SendRawJob(L"KQ Wine Nowhere", qv::kJobName, SampleBlock(), true, kWait).delivery,
              qv::Delivery::Failed);
    EXPECT_TRUE(spooler.SendRawJob(L"KQ Wine Not There", qv::kJobName, SampleBlock(), true, kWait).unavailable);
}

// The main window on the real spooler: the one registered printer is
// taken at start-up and a send writes the working copy to its port.
TEST_F(SpoolerWineTest, MainWindowSendsToTheRegisteredPrinter)
{
    RegisteredPrinters registered({{L"KQ Wine Panel", jobFile}});
    if (qv::FindEligiblePrinters(spooler, true).size() != 1u)
        GTEST_SKIP() << "other eligible printers are installed here";
    SetCurrentSpooler(nullptr);
    MessageBoxRecorder boxes;
    ProcessEndRecorder ends;
    {
        PanelUnderTest dlg;
        RunModal(dlg, [&] {
            EXPECT_EQ(dlg.printerName, L"KQ Wine Panel");
            EXPECT_EQ(dlg.portName, jobFile);
            dlg.SendCommand(ID_SEND);
            const std::vector<std::uint8_t> job = ReadFile(jobFile);
            ASSERT_EQ(job.size(), 270u);
            EXPECT_TRUE(std::equal(job.begin(), job.end(), dlg.workingBlock.begin()));
            EXPECT_EQ(dlg.sentBlock, dlg.workingBlock);
        });
    }
    SetCurrentSpooler(&DefaultFakeSpooler());
    EXPECT_EQ(boxes.Texts(), (std::vector<std::wstring>{W("プリンタに設定値を送信しました。")}));
    EXPECT_TRUE(ends.Codes().empty());
}

HWND WaitForWindow(const wchar_t* title, DWORD pid, DWORD ms)
{
    for (DWORD waited = 0; waited < ms; waited += 100) {
        HWND w = nullptr;
        while ((w = ::FindWindowExW(nullptr, w, L"#32770", title)) != nullptr) {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(w, &owner);
            if (owner == pid)
                return w;
        }
        ::Sleep(100);
    }
    return nullptr;
}

// The built program with only a FILE printer: it says why and ends with 1.
TEST_F(SpoolerWineTest, ProgramWithOnlyAFilePrinterEndsWithCodeOne)
{
    const char* exe = std::getenv("QV_EXE");
    ASSERT_NE(exe, nullptr) << "QV_EXE names the built program";
    RegisteredPrinters registered({{L"KQ Wine File Only", L"FILE:"}});
    const auto listed = qv::FindEligiblePrinters(spooler, true);
    if (listed.size() != 1u)
        GTEST_SKIP() << "other eligible printers are installed here";

    std::wstring commandLine = L"\"" + W(exe) + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                 &si, &pi));
    UniqueKernelHandle process(pi.hProcess), thread(pi.hThread);

    const HWND box = WaitForWindow(L"Quorvex", pi.dwProcessId, 30000);
    if (!box)
        ::TerminateProcess(process.get(), 99);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(
        CWindow::GetWindowText(::GetDlgItem(box, 0xFFFF)),
        W("接続先がFILEのため設定値を送信できません。\nプリンタ設定を確認してやり直してください。\n\nQuor"
          "vexを終了します。"));
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_EQ(::WaitForSingleObject(process.get(), 30000), WAIT_OBJECT_0);
    DWORD code = 0;
    ::GetExitCodeProcess(process.get(), &code);
    EXPECT_EQ(code, 1u);
}

}  // namespace
