// Raw TCP sends against printers the tests start on the loopback.
#include <chrono>
#include <thread>

#include "LoopbackPeer.h"
#include "ToolTestSupport.h"
#include "cli/RawTcp.h"
#include "tests/core/BlockText.h"

namespace {

using namespace std::chrono_literals;
using qv::Delivery;
using qv::cli::ParseTcpTarget;
using qv::cli::SendRawTcp;
using Mode = LoopbackPeer::Mode;

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
        {"kq 2.example", nullptr, nullptr},
        {"kq\t2", nullptr, nullptr},
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

TEST(RawTcpPeers, OnlyAnOrderlyCloseAfterOursIsADelivery)
{
    // The long job outgrows the sockets' buffers, so the printer's early
    // close or reset surely comes before the last byte is written.
    const std::vector<std::uint8_t> job(270, 0x1B), longJob(8u << 20, 'x');
    const struct {
        const char* what;
        Mode peer;
        const std::vector<std::uint8_t>& data;
        Delivery delivery;
        const char* reason;
    } cases[] = {
        {"closes after reading", Mode::ClosesAfterReading, job, Delivery::Delivered, ""},
        {"closes after reading a long job", Mode::ClosesAfterReading, longJob, Delivery::Delivered, ""},
        {"never closes", Mode::NeverCloses, job, Delivery::Unconfirmed, "時間内に接続を閉じませんでした"},
        {"resets at once", Mode::ResetsAtOnce, job, Delivery::Failed, ""},
        {"resets during a long job", Mode::ResetsAtOnce, longJob, Delivery::Failed, ""},
        {"half-closes at once", Mode::HalfClosesAtOnce, longJob, Delivery::Failed,
         "受け取る前に接続を閉じました"},
    };
    for (const auto& c : cases) {
        LoopbackPeer peer(c.peer);
        const auto start = std::chrono::steady_clock::now();
        const qv::SendOutcome outcome = SendRawTcp(*ParseTcpTarget(peer.Target()), c.data, 2s);
        EXPECT_LT(std::chrono::steady_clock::now() - start, 2500ms) << c.what;
        EXPECT_EQ(outcome.delivery, c.delivery) << c.what << ": " << outcome.reason;
        EXPECT_TRUE(Contains(outcome.reason, c.reason)) << c.what << ": " << outcome.reason;
        if (c.delivery != Delivery::Failed) {
            EXPECT_EQ(peer.Received(), c.data) << c.what;
        }
    }
}

std::vector<std::uint8_t> Loopback(int port)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<std::uint16_t>(port));
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&a);
    return {bytes, bytes + sizeof a};
}

TEST(RawTcpLookup, TheLookupAndEachAddressKeepWithinTheLimit)
{
    LoopbackPeer swallower(Mode::Swallows), printer(Mode::ClosesAfterReading);
    const auto swallows = Loopback(swallower.Port()), answers = Loopback(printer.Port());
    const struct {
        const char* what;
        bool slow;  // a name server that never answers
        std::vector<std::vector<std::uint8_t>> addresses;
        std::chrono::milliseconds limit;
        Delivery delivery;
        const char* reason;
    } cases[] = {
        {"slow name server",
         true,
         {answers},
         1s,
         Delivery::Failed,
         "ホスト名の解決が時間内に終わりませんでした"},
        {"an address that swallows",
         false,
         {swallows},
         1s,
         Delivery::Failed,
         "接続が時間内にできませんでした"},
        {"one that swallows, one that answers", false, {swallows, answers}, 2s, Delivery::Delivered, ""},
    };
    for (const auto& c : cases) {
        const auto resolve = [slow = c.slow, addresses = c.addresses](const qv::cli::TcpTarget&) {
            if (slow)
                std::this_thread::sleep_for(3s);
            return qv::cli::TcpLookup{addresses, ""};
        };
        const auto start = std::chrono::steady_clock::now();
        const qv::SendOutcome outcome =
            SendRawTcp({"kq.example", "9100"}, std::vector<std::uint8_t>(270), c.limit, resolve);
        EXPECT_LT(std::chrono::steady_clock::now() - start, c.limit + 500ms) << c.what;
        EXPECT_EQ(outcome.delivery, c.delivery) << c.what << ": " << outcome.reason;
        EXPECT_TRUE(Contains(outcome.reason, c.reason)) << c.what << ": " << outcome.reason;
    }
}

class RawTcpSend : public ToolTest {};

TEST_F(RawTcpSend, ListenerReceivesExactlyTheBytesThePanelSends)
{
    const qv::SettingsBlock stored = FactoryWith(77, "0Z");  // repaired by loading
    LoopbackPeer peer(Mode::ClosesAfterReading);
    const ToolRun run = Run({"send", Settings("a.dat", stored), "--host", peer.Target(), "--log", Path("l")});
    EXPECT_EQ(run.code, 0) << run.err;
    const qv::SettingsBlock sent = qv::LoadAsPanel(stored).block;
    EXPECT_EQ(peer.Received(), std::vector<std::uint8_t>(sent.begin(), sent.end()));
    EXPECT_TRUE(Contains(run.out, "127.0.0.1 (" + std::to_string(peer.Port()) + "): 届きました。"))
        << run.out;
    const auto log = ReadBytes("l");
    EXPECT_TRUE(Contains(std::string(log.begin(), log.end()), "\"result\":\"delivered\""));
}

TEST_F(RawTcpSend, ResetOrRefusedConnectionIsAFailedSend)
{
    const std::string file = Settings("a.dat", qv::FactoryDefaults);
    {
        LoopbackPeer peer(Mode::ResetsAtOnce);
        const ToolRun run = Run({"send", file, "--host", peer.Target(), "--timeout", "5"});
        EXPECT_EQ(run.code, 4) << run.out;
        EXPECT_FALSE(Contains(run.out, "届きました。"));
    }
    // A port nobody listens on: a peer's own, once it has gone.
    int port = 0;
    {
        LoopbackPeer peer(Mode::ClosesAfterReading);
        port = peer.Port();
    }
    const ToolRun refused = Run({"send", file, "--host", "127.0.0.1:" + std::to_string(port)});
    EXPECT_EQ(refused.code, 4);
    EXPECT_TRUE(Contains(refused.err, "失敗（接続できません）")) << refused.err;
    EXPECT_EQ(Run({"send", file, "--host", "bad host:x"}).code, 2);
}

}  // namespace
