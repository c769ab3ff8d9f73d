// Raw TCP sends against listeners the tests start on the loopback.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

#include "ToolTestSupport.h"
#include "cli/RawTcp.h"
#include "tests/core/BlockText.h"

namespace {

using qv::cli::ParseTcpTarget;

TEST(RawTcpTarget, HostAndPortForms)
{
    const struct {
        const char* text;
        const char* host;  // nullptr: refused
        const char* port;
    } cases[] = {
        {"printer.example", "printer.example", "9100"},
        {"10.0.0.5:9101", "10.0.0.5", "9101"},
        {"[::1]", "::1", "9100"},
        {"[fe80::1]:515", "fe80::1", "515"},
        {"host:09100", "host", "9100"},
        {"::1", nullptr, nullptr},  // needs brackets
        {"host:", nullptr, nullptr},
        {":9100", nullptr, nullptr},
        {"host:0", nullptr, nullptr},
        {"host:65536", nullptr, nullptr},
        {"host:91a", nullptr, nullptr},
        {"[::1]x", nullptr, nullptr},
        {"[]:9100", nullptr, nullptr},
        {"", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        const auto target = ParseTcpTarget(c.text);
        ASSERT_EQ(target.has_value(), c.host != nullptr) << c.text;
        if (target) {
            EXPECT_EQ(target->host, c.host);
            EXPECT_EQ(target->port, c.port);
        }
    }
}

// Accepts one connection on 127.0.0.1 and keeps what arrives.
class Listener {
public:
    enum class Mode { ReadAll, Reset };

    explicit Listener(Mode mode)
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(fd_, 1);
        socklen_t length = sizeof address;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this, mode] { Serve(mode); });
    }
    ~Listener()
    {
        thread_.join();
        ::close(fd_);
    }
    std::string Target() const { return "127.0.0.1:" + std::to_string(port_); }
    std::vector<std::uint8_t> Received()
    {
        thread_.join();
        thread_ = std::thread([] {});
        return received_;
    }

private:
    void Serve(Mode mode)
    {
        const int client = ::accept(fd_, nullptr, nullptr);
        if (client < 0)
            return;
        if (mode == Mode::Reset) {
            linger hard{1, 0};  // close with a reset
            ::setsockopt(client, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
        } else {
            char buffer[512];
            for (ssize_t n; (n = ::recv(client, buffer, sizeof buffer, 0)) > 0;)
                received_.insert(received_.end(), buffer, buffer + n);
        }
        ::close(client);
    }

    int fd_;
    int port_ = 0;
    std::thread thread_;
    std::vector<std::uint8_t> received_;
};

class RawTcpSend : public ToolTest {};

TEST_F(RawTcpSend, ListenerReceivesExactlyTheBytesThePanelSends)
{
    const qv::SettingsBlock stored = FactoryWith(77, "0Z");  // repaired by loading
    Listener listener(Listener::Mode::ReadAll);
    const ToolRun run =
        Run({"send", Settings("a.dat", stored), "--host", listener.Target(), "--log", Path("l")});
    EXPECT_EQ(run.code, 0) << run.err;
    const qv::SettingsBlock sent = qv::LoadAsPanel(stored).block;
    EXPECT_EQ(listener.Received(), std::vector<std::uint8_t>(sent.begin(), sent.end()));
    EXPECT_TRUE(Contains(run.out, "127.0.0.1 (" + listener.Target().substr(10) + "): 送信しました。"))
        << run.out;
    const auto log = ReadBytes("l");
    EXPECT_TRUE(Contains(std::string(log.begin(), log.end()), "\"result\":\"sent\""));
}

TEST_F(RawTcpSend, ResetOrRefusedConnectionIsAFailedSend)
{
    const std::string file = Settings("a.dat", qv::FactoryDefaults);
    {
        Listener listener(Listener::Mode::Reset);
        const ToolRun run = Run({"send", file, "--host", listener.Target(), "--timeout", "5"});
        EXPECT_EQ(run.code, 4) << run.out;
        EXPECT_FALSE(Contains(run.out, "送信しました。"));
    }
    // A port nobody listens on: the listener's own, once it has gone.
    int port = 0;
    {
        Listener listener(Listener::Mode::ReadAll);
        port = std::stoi(listener.Target().substr(10));
        const auto ok = qv::cli::SendRawTcp(*ParseTcpTarget(listener.Target()), {}, std::chrono::seconds(5));
        EXPECT_TRUE(ok.sent) << ok.problem;
    }
    const ToolRun refused = Run({"send", file, "--host", "127.0.0.1:" + std::to_string(port)});
    EXPECT_EQ(refused.code, 4);
    EXPECT_TRUE(Contains(refused.err, "送信できませんでした: 接続できません")) << refused.err;
    EXPECT_EQ(Run({"send", file, "--host", "bad host:x"}).code, 2);
}

}  // namespace
