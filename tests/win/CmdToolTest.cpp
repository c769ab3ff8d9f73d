// qvx4k5cmd against Wine's spooler with registered printers, against a TCP
// listener on the loopback, and as a whole process whose output is read in
// the encodings a script gets.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

#include <nlohmann/json.hpp>

#include "RegisteredPrinter.h"
#include "TestSupport.h"
#include "cli/Tool.h"
#include "core/PanelValues.h"
#include "core/PrinterDiscovery.h"
#include "storage/SettingsFileWin32.h"
#include "framework/Handles.h"
#include "framework/Text.h"
#include "printer/WinSpooler.h"

namespace {

struct ToolRun {
    int code;
    std::string out, err;
};

struct ProcessRun {
    DWORD code = 99;
    std::string out, err;  // bytes as the program wrote them
};

std::vector<std::uint8_t> ReadAll(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string InCodePage(const std::string& utf8, UINT codePage)
{
    const std::wstring wide = Widen(utf8);
    const int size = ::WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                           0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), size,
                          nullptr, nullptr);
    return bytes;
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

class CmdToolTest : public testing::Test {
protected:
    CWinSpooler spooler;
    std::wstring folder = RegisteredPrinter::TempFolder() + L"qv-cmd\\";
    // Loading repairs this block (an LF pitch digit), so what is sent
    // differs from what the file holds.
    qv::SettingsBlock stored = [] {
        qv::SettingsBlock b = qv::FactoryDefaults;
        b[259] = '9';
        b[16] = '3';
        return b;
    }();

    void SetUp() override
    {
        ::CreateDirectoryW(folder.c_str(), nullptr);
        ASSERT_EQ(WriteSettingsFileWin32(folder + L"job.dat", stored), qv::FileWriteResult::Ok);
    }
    void TearDown() override
    {
        std::error_code ec;
        std::filesystem::remove_all(std::filesystem::path(folder), ec);
    }

    std::string U(const std::wstring& path) const { return Narrow(path); }
    std::string JobFile() const { return U(folder + L"job.dat"); }
    std::vector<std::uint8_t> Sent() const
    {
        const qv::SettingsBlock b = qv::LoadAsPanel(stored).block;
        return {b.begin(), b.end()};
    }

    ToolRun Run(const std::vector<std::string>& args)
    {
        std::ostringstream out, err;
        qv::cli::ToolEnvironment env(out, err);
        env.spooler = &spooler;
        env.listOrder = [](const std::wstring& a, const std::wstring& b) {
            return ::lstrcmpW(a.c_str(), b.c_str()) < 0;
        };
        env.writeSettingsFile = [](const std::filesystem::path& p, const qv::SettingsBlock& b) {
            return WriteSettingsFileWin32(p, b);
        };
        env.writeFile = [](const std::filesystem::path& p, std::span<const std::uint8_t> bytes) {
            return qv::WriteFileReplacing(p, bytes, Win32SaveSteps());
        };
        const int code = qv::cli::RunTool(args, env);
        return {code, out.str(), err.str()};
    }

    // The built program with its standard output and error in files, and
    // standard input from a file if named.
    ProcessRun RunProcess(const std::wstring& arguments, const std::wstring& stdinPath = L"")
    {
        const char* exe = std::getenv("QV_CMD");
        ProcessRun result;
        if (!exe) {
            ADD_FAILURE() << "QV_CMD names the built tool";
            return result;
        }
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        const std::wstring outPath = folder + L"stdout.txt", errPath = folder + L"stderr.txt";
        UniqueFileHandle out(::CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                           &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        UniqueFileHandle err(::CreateFileW(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                           &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        UniqueFileHandle in(stdinPath.empty()
                                ? INVALID_HANDLE_VALUE
                                : ::CreateFileW(stdinPath.c_str(), GENERIC_READ, FILE_SHARE_READ, &inherit,
                                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        STARTUPINFOW si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = in ? in.get() : nullptr;
        si.hStdOutput = out.get();
        si.hStdError = err.get();
        PROCESS_INFORMATION pi{};
        std::wstring commandLine = L"\"" + W(exe) + L"\" " + arguments;
        if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                              &pi)) {
            ADD_FAILURE() << "cannot start the tool";
            return result;
        }
        UniqueKernelHandle process(pi.hProcess), thread(pi.hThread);
        EXPECT_EQ(::WaitForSingleObject(process.get(), 60000), WAIT_OBJECT_0);
        ::GetExitCodeProcess(process.get(), &result.code);
        out.reset();
        err.reset();
        const auto outBytes = ReadAll(outPath), errBytes = ReadAll(errPath);
        result.out.assign(outBytes.begin(), outBytes.end());
        result.err.assign(errBytes.begin(), errBytes.end());
        return result;
    }

    // True when no eligible printer but the test's own is installed.
    bool OnlyOwnPrinters(const std::wstring& prefix)
    {
        for (const qv::ListedPrinter& p : qv::FindEligiblePrinters(spooler, true))
            if (p.name.rfind(prefix, 0) != 0)
                return false;
        return true;
    }
};

TEST_F(CmdToolTest, PrintersAreThoseOfTheSelectionDialogInItsOrder)
{
    RegisteredPrinter b(L"KQ Cmd B", folder + L"b.bin"), a(L"KQ Cmd A", folder + L"a.bin");
    RegisteredPrinter file(L"KQ Cmd File", L"FILE:"), other(L"KQ Cmd Other", folder + L"o.bin", L"Generic");
    const ToolRun run = Run({"printers", "--json"});
    ASSERT_EQ(run.code, 0) << run.err;
    const auto doc = nlohmann::json::parse(run.out);
    std::vector<nlohmann::json> own;
    for (const auto& p : doc["printers"])
        if (p["name"].get<std::string>().rfind("KQ Cmd", 0) == 0)
            own.push_back(p);
    ASSERT_EQ(own.size(), 3u) << run.out;
    EXPECT_EQ(own[0]["name"], "KQ Cmd A");
    EXPECT_EQ(own[0]["port"], U(folder + L"a.bin"));
    EXPECT_TRUE(own[0]["server"].is_null());
    EXPECT_EQ(own[1]["name"], "KQ Cmd B");
    EXPECT_EQ(own[2]["name"], "KQ Cmd File");
    EXPECT_EQ(own[2]["sendable"], false);
    EXPECT_EQ(own[2]["refusal"], "接続先がFILEのため設定値を送信できません。");
}

TEST_F(CmdToolTest, EachJobFileHoldsExactlyTheBytesThePanelSends)
{
    RegisteredPrinter a(L"KQ Cmd A", folder + L"a.bin"), b(L"KQ Cmd B", folder + L"b.bin");
    const ToolRun one = Run({"send", JobFile(), "--printer", "KQ Cmd A"});
    EXPECT_EQ(one.code, 0) << one.out << one.err;
    EXPECT_EQ(ReadAll(folder + L"a.bin"), Sent());
    EXPECT_TRUE(ReadAll(folder + L"b.bin").empty());

    ::DeleteFileW((folder + L"a.bin").c_str());
    const ToolRun two = Run({"send", JobFile(), "--printer", "KQ Cmd B", "--printer", "KQ Cmd A"});
    EXPECT_EQ(two.code, 0) << two.out << two.err;
    EXPECT_EQ(ReadAll(folder + L"a.bin"), Sent());
    EXPECT_EQ(ReadAll(folder + L"b.bin"), Sent());
}

TEST_F(CmdToolTest, AllSendsToTheOthersWhenOnePortLiesInAMissingFolder)
{
    RegisteredPrinter a(L"KQ All A", folder + L"a.bin"), b(L"KQ All B", folder + L"missing\\b.bin"),
        c(L"KQ All C", folder + L"c.bin");
    if (!OnlyOwnPrinters(L"KQ All"))
        GTEST_SKIP() << "other eligible printers are installed here";
    const ToolRun run = Run({"send", JobFile(), "--all", "--log", U(folder + L"send.log")});
    EXPECT_EQ(run.code, 4) << run.out << run.err;
    EXPECT_EQ(ReadAll(folder + L"a.bin"), Sent());
    EXPECT_EQ(ReadAll(folder + L"c.bin"), Sent());
    EXPECT_TRUE(Contains(run.err, "KQ All B (" + U(folder) + "missing\\b.bin): 失敗")) << run.err;
    EXPECT_FALSE(Contains(run.out, "KQ All B (" + U(folder) + "missing\\b.bin): 届きました"));
    EXPECT_TRUE(Contains(run.out, "失敗 1 件、送信しなかったもの 0 件。")) << run.out;
    // The lines keep the order of the targets though the jobs ran side by side.
    EXPECT_LT(run.out.find("KQ All A ("), run.out.find("KQ All C (")) << run.out;
    const auto log = ReadAll(folder + L"send.log");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 3);
    EXPECT_TRUE(Contains(std::string(log.begin(), log.end()), "\"target\":\"KQ All B\""));
}

TEST_F(CmdToolTest, MissingUncNameAndFilePrinterAreRefusedWithoutAJob)
{
    RegisteredPrinter file(L"KQ Cmd File", L"FILE:");
    const ToolRun unc = Run({"send", JobFile(), "--printer", "\\\\nohost\\KQ Cmd"});
    EXPECT_EQ(unc.code, 3);
    EXPECT_TRUE(Contains(unc.err, "\\\\nohost\\KQ Cmd: 送信しません: プリンタが見つかりません。")) << unc.err;
    const ToolRun onFile = Run({"send", JobFile(), "--printer", "KQ Cmd File"});
    EXPECT_EQ(onFile.code, 3);
    EXPECT_TRUE(Contains(onFile.err, "送信しません: 接続先がFILEのため設定値を送信できません。"))
        << onFile.err;
}

// Accepts one connection on 127.0.0.1 and keeps what arrives until the end.
class Listener {
public:
    Listener()
    {
        WSADATA data;
        ::WSAStartup(MAKEWORD(2, 2), &data);
        socket_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(socket_, 1);
        int length = sizeof address;
        ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] {
            const SOCKET client = ::accept(socket_, nullptr, nullptr);
            char buffer[512];
            for (int n; (n = ::recv(client, buffer, sizeof buffer, 0)) > 0;)
                received_.insert(received_.end(), buffer, buffer + n);
            ::closesocket(client);
        });
    }
    ~Listener()
    {
        if (thread_.joinable())
            thread_.join();
        ::closesocket(socket_);
        ::WSACleanup();
    }
    std::string Target() const { return "127.0.0.1:" + std::to_string(port_); }
    std::vector<std::uint8_t> Received()
    {
        thread_.join();
        return received_;
    }

private:
    SOCKET socket_;
    int port_ = 0;
    std::thread thread_;
    std::vector<std::uint8_t> received_;
};

TEST_F(CmdToolTest, HostGetsExactlyTheBlockOverRawTcp)
{
    Listener listener;
    const ToolRun run = Run({"send", JobFile(), "--host", listener.Target(), "--timeout", "10"});
    EXPECT_EQ(run.code, 0) << run.out << run.err;
    EXPECT_EQ(listener.Received(), Sent());
}

TEST_F(CmdToolTest, WholeProcessWritesTheConsoleCodePageOrUtf8AndJsonAlwaysUtf8)
{
    // A Japanese file name reaches the tool through the wide command line.
    const std::wstring japanese = folder + W("設定.dat");
    ASSERT_TRUE(::CopyFileW((folder + L"job.dat").c_str(), japanese.c_str(), FALSE));
    const ToolRun expected = Run({"show", U(japanese)});
    ASSERT_EQ(expected.code, 0);

    UINT codePage = ::GetConsoleOutputCP();
    if (codePage == 0)
        codePage = ::GetACP();
    const ProcessRun plain = RunProcess(L"show \"" + japanese + L"\"");
    EXPECT_EQ(plain.code, 0u) << plain.err;
    EXPECT_EQ(plain.out, InCodePage(expected.out, codePage)) << "code page " << codePage;

    const ProcessRun utf8 = RunProcess(L"--utf8 show \"" + japanese + L"\"");
    EXPECT_EQ(utf8.out, expected.out);

    const ProcessRun json = RunProcess(L"export \"" + japanese + L"\"");
    EXPECT_EQ(json.code, 0u);
    EXPECT_EQ(nlohmann::json::parse(json.out)["settings"]["param.font1"], "ゴシック");

    const ProcessRun refused = RunProcess(L"show \"" + folder + L"none.dat\"");
    EXPECT_EQ(refused.code, 2u);
    EXPECT_TRUE(refused.out.empty());
    EXPECT_TRUE(Contains(refused.err, InCodePage("読み込めません。ファイルが見つかりません: ", codePage)))
        << refused.err;
}

TEST_F(CmdToolTest, WholeProcessReadsStandardInputAndWritesSettingsFilesAsBytes)
{
    const auto saved = qv::EncodeSettingsFile(qv::LoadAsPanel(stored).block);
    const std::string savedBytes(saved.begin(), saved.end());
    // No CR before LF, no code page: the 290 bytes as they are.
    const auto factory = qv::EncodeSettingsFile(qv::FactoryDefaults);
    EXPECT_EQ(RunProcess(L"factory -o -").out, std::string(factory.begin(), factory.end()));

    // What Out-File of Windows PowerShell 5.1 writes: UTF-16 LE with a BOM.
    const std::wstring json = Widen(Run({"export", JobFile()}).out);
    {
        std::ofstream file((folder + L"job.json").c_str(), std::ios::binary);
        file.write("\xFF\xFE", 2);
        file.write(reinterpret_cast<const char*>(json.data()), static_cast<std::streamsize>(json.size() * 2));
    }
    const ProcessRun imported = RunProcess(L"import - -o -", folder + L"job.json");
    EXPECT_EQ(imported.code, 0u) << imported.err;
    EXPECT_EQ(imported.out, savedBytes);
}

TEST_F(CmdToolTest, WholeProcessExitCodesOfAScriptedDeployment)
{
    RegisteredPrinter a(L"KQ Run A", folder + L"a.bin"), b(L"KQ Run B", folder + L"gone\\b.bin");
    ASSERT_EQ(WriteSettingsFileWin32(folder + L"other.dat", qv::FactoryDefaults), qv::FileWriteResult::Ok);
    const struct {
        std::wstring arguments;
        DWORD code;
    } cases[] = {
        {L"diff \"" + folder + L"job.dat\" \"" + folder + L"job.dat\"", 0},
        {L"diff \"" + folder + L"job.dat\" \"" + folder + L"other.dat\"", 1},
        {L"check \"" + folder + L"job.dat\"", 1},
        {L"send \"" + folder + L"job.dat\" --printer \"KQ Run A\"", 0},
        {L"send \"" + folder + L"job.dat\" --printer \"KQ Run B\"", 4},
        {L"send \"" + folder + L"job.dat\" --printer \"KQ Run C\"", 3},
        {L"send \"" + folder + L"job.dat\"", 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RunProcess(c.arguments).code, c.code) << Narrow(c.arguments);
    EXPECT_EQ(ReadAll(folder + L"a.bin"), Sent());
}

}  // namespace
