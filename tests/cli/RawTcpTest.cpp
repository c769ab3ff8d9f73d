// Raw TCP sends against printers the tests start on the loopback.
#include <chrono>
#include <memory>
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

TEST(RawTcpPeers, OnlyAnOrderlyCloseAfterOursWithinTheLimitIsADelivery)
{
    // The long job outgrows the sockets' buffers, so the printer's early
    // close or reset surely comes before the last byte is written.
    const std::vector<std::uint8_t> job(270, 0x1B), longJob(8u << 20, 'x');
    using enum Mode;
    using enum Delivery;
    const struct {
        const char* what;
        std::vector<Mode> peers;  // the addresses of the name, in order
        bool slowLookup;          // a name server that never answers
        const std::vector<std::uint8_t>& data;
        Delivery delivery;
        const char* reason;
    } cases[] = {
        {"closes after reading", {ClosesAfterReading}, false, job, Delivered, ""},
        {"closes after a long job", {ClosesAfterReading}, false, longJob, Delivered, ""},
        {"never closes", {NeverCloses}, false, job, Unconfirmed, "時間内に接続を閉じませんでした"},
        {"resets at once", {ResetsAtOnce}, false, job, Failed, ""},
        {"half-closes at once", {HalfClosesAtOnce}, false, longJob, Failed, "受け取る前に接続を閉じました"},
        {"slow name server", {ClosesAfterReading}, true, job, Failed, "ホスト名の解決が時間内に"},
        {"swallows", {Swallows}, false, job, Failed, "接続が時間内にできませんでした"},
        {"swallows, next answers", {Swallows, ClosesAfterReading}, false, job, Delivered, ""},
    };
    for (const auto& c : cases) {
        std::vector<std::unique_ptr<LoopbackPeer>> peers;
        qv::cli::TcpLookup lookup;
        for (const Mode mode : c.peers) {
            peers.push_back(std::make_unique<LoopbackPeer>(mode));
            const auto* address = reinterpret_cast<const std::uint8_t*>(peers.back()->Address());
            lookup.addresses.emplace_back(address, address + sizeof(sockaddr_in));
        }
        const auto resolve = [slow = c.slowLookup, lookup](const qv::cli::TcpTarget&) {
            if (slow)
                std::this_thread::sleep_for(3s);
            return lookup;
        };
        const auto start = std::chrono::steady_clock::now();
        const qv::SendOutcome outcome = SendRawTcp({"kq.example", "9100"}, c.data, 2s, resolve);
        EXPECT_LT(std::chrono::steady_clock::now() - start, 2500ms) << c.what;
        EXPECT_EQ(outcome.delivery, c.delivery) << c.what << ": " << outcome.reason;
        EXPECT_TRUE(Contains(outcome.reason, c.reason)) << c.what << ": " << outcome.reason;
        if (c.delivery != Failed) {
            EXPECT_EQ(peers.back()->Received(), c.data) << c.what;
        }
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
