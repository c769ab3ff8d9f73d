#include "RawTcp.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <thread>

namespace qv::cli {

namespace {

using Clock = std::chrono::steady_clock;

#ifdef _WIN32
using Socket = SOCKET;
constexpr Socket kNoSocket = INVALID_SOCKET;
void CloseSocket(Socket s) { ::closesocket(s); }
bool WouldBlock() { return ::WSAGetLastError() == WSAEWOULDBLOCK; }
bool SetNonBlocking(Socket s)
{
    u_long on = 1;
    return ::ioctlsocket(s, FIONBIO, &on) == 0;
}
constexpr int kSendFlags = 0;
constexpr int kShutWrite = SD_SEND;

// Winsock for the life of one send or lookup (the count is the system's).
struct WinsockSession {
    bool ok;
    WinsockSession()
    {
        WSADATA data;
        ok = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    ~WinsockSession()
    {
        if (ok)
            ::WSACleanup();
    }
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;
};
#else
using Socket = int;
constexpr Socket kNoSocket = -1;
void CloseSocket(Socket s) { ::close(s); }
bool WouldBlock() { return errno == EINPROGRESS || errno == EAGAIN || errno == EWOULDBLOCK; }
bool SetNonBlocking(Socket s) { return ::fcntl(s, F_SETFL, ::fcntl(s, F_GETFL) | O_NONBLOCK) == 0; }
constexpr int kSendFlags = MSG_NOSIGNAL;  // a closed peer is an error, not a signal
constexpr int kShutWrite = SHUT_WR;
struct WinsockSession {
    bool ok = true;
};
#endif

class SocketOwner {
public:
    explicit SocketOwner(Socket s) : s_(s) {}
    ~SocketOwner()
    {
        if (s_ != kNoSocket)
            CloseSocket(s_);
    }
    SocketOwner(const SocketOwner&) = delete;
    SocketOwner& operator=(const SocketOwner&) = delete;
    Socket get() const { return s_; }
    Socket release()
    {
        const Socket s = s_;
        s_ = kNoSocket;
        return s;
    }

private:
    Socket s_;
};

constexpr int kReadable = 1, kWritable = 2;

// Waits until the socket has something to read (data, a close, an error) or,
// when asked, can be written; what it can do, 0 at the deadline.
int WaitFor(Socket s, bool write, Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0)
        return 0;
#ifdef _WIN32
    fd_set readable, writable;
    FD_ZERO(&readable);
    FD_ZERO(&writable);
    FD_SET(s, &readable);
    if (write)
        FD_SET(s, &writable);
    timeval tv{static_cast<long>(left / 1000), static_cast<long>((left % 1000) * 1000)};
    if (::select(0, &readable, &writable, nullptr, &tv) <= 0)
        return 0;
    return (FD_ISSET(s, &readable) ? kReadable : 0) | (FD_ISSET(s, &writable) ? kWritable : 0);
#else
    pollfd p{s, static_cast<short>(POLLIN | (write ? POLLOUT : 0)), 0};
    if (::poll(&p, 1, static_cast<int>(left)) <= 0)
        return 0;
    // An error or hang-up shows on the next recv.
    return (p.revents & (POLLIN | POLLERR | POLLHUP) ? kReadable : 0) | (p.revents & POLLOUT ? kWritable : 0);
#endif
}

int PendingError(Socket s)
{
    int error = 0;
    socklen_t length = sizeof error;
    ::getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length);
    return error;
}

enum class Peer { Open, Closed, Reset };

// Reads, and drops, what the printer has sent so far without waiting.
Peer ReadWhatArrived(Socket s)
{
    char buffer[256];
    for (;;) {
        const auto n = ::recv(s, buffer, sizeof buffer, 0);
        if (n == 0)
            return Peer::Closed;
        if (n < 0)
            return WouldBlock() ? Peer::Open : Peer::Reset;
    }
}

// The lookup on a thread of its own, so that a name server that does not
// answer costs no more than the time left; the thread finishes on its own.
TcpLookup LookupWithin(const TcpResolver& resolve, const TcpTarget& target, Clock::time_point deadline)
{
    struct Pending {
        std::mutex mutex;
        std::condition_variable done;
        std::optional<TcpLookup> result;
    };
    const auto pending = std::make_shared<Pending>();
    std::thread([pending, resolve, target] {
        TcpLookup result = resolve(target);
        const std::lock_guard lock(pending->mutex);
        pending->result = std::move(result);
        pending->done.notify_all();
    }).detach();
    std::unique_lock lock(pending->mutex);
    if (!pending->done.wait_until(lock, deadline, [&] { return pending->result.has_value(); }))
        return {{}, "ホスト名の解決が時間内に終わりませんでした"};
    return std::move(*pending->result);
}

// A connected non-blocking socket to one of the addresses, or kNoSocket.
// Each address gets an equal share of the time left, so one that swallows
// the connection leaves time for the next.
Socket Connect(const TcpLookup& lookup, Clock::time_point deadline, std::string& problem)
{
    problem = "接続できません";
    const std::size_t count = lookup.addresses.size();
    for (std::size_t i = 0; i < count; ++i) {
        const auto& bytes = lookup.addresses[i];
        if (bytes.size() < sizeof(sockaddr))
            continue;
        sockaddr_storage address{};
        std::copy(bytes.begin(), bytes.begin() + std::min(bytes.size(), sizeof address),
                  reinterpret_cast<std::uint8_t*>(&address));
        const auto now = Clock::now();
        const auto share = now + (deadline - now) / static_cast<int>(count - i);
        const Socket s = ::socket(address.ss_family, SOCK_STREAM, IPPROTO_TCP);
        if (s == kNoSocket)
            continue;
        SocketOwner owner(s);
        if (!SetNonBlocking(s))
            continue;
        if (::connect(s, reinterpret_cast<const sockaddr*>(&address), static_cast<int>(bytes.size())) != 0) {
            if (!WouldBlock())
                continue;
            if (!(WaitFor(s, true, share) & kWritable)) {
                problem = "接続が時間内にできませんでした";
                continue;
            }
            if (PendingError(s) != 0)
                continue;
        }
        return owner.release();
    }
    return kNoSocket;
}

SendOutcome Failed(std::string reason) { return {Delivery::Failed, std::move(reason), 0, false}; }

const char kClosedEarly[] = "プリンタがすべてを受け取る前に接続を閉じました";
const char kReset[] = "プリンタが接続をリセットしました";

}  // namespace

std::optional<TcpTarget> ParseTcpTarget(std::string_view text)
{
    TcpTarget target;
    std::string_view port;
    if (!text.empty() && text.front() == '[') {
        const auto close = text.find(']');
        if (close == std::string_view::npos || close == 1)
            return std::nullopt;
        target.host = std::string(text.substr(1, close - 1));
        const std::string_view rest = text.substr(close + 1);
        if (!rest.empty() && rest.front() != ':')
            return std::nullopt;
        port = rest.empty() ? kRawTcpPort : rest.substr(1);
    } else {
        const auto colon = text.find(':');
        if (colon != std::string_view::npos && text.find(':', colon + 1) != std::string_view::npos)
            return std::nullopt;  // a bare IPv6 address needs its brackets
        target.host = std::string(text.substr(0, colon));
        port = colon == std::string_view::npos ? kRawTcpPort : text.substr(colon + 1);
    }
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    if (target.host.empty() || std::any_of(target.host.begin(), target.host.end(), blank) || port.empty() ||
        port.size() > 5 || port.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    const int number = std::atoi(std::string(port).c_str());
    if (number < 1 || number > 65535)
        return std::nullopt;
    target.port = std::to_string(number);
    return target;
}

TcpLookup SystemLookup(const TcpTarget& target)
{
    const WinsockSession session;
    if (!session.ok)
        return {{}, "ネットワークを使えません"};
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    if (::getaddrinfo(target.host.c_str(), target.port.c_str(), &hints, &list) != 0)
        return {{}, "ホスト名を解決できません"};
    TcpLookup lookup;
    for (const addrinfo* a = list; a; a = a->ai_next) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(a->ai_addr);
        lookup.addresses.emplace_back(bytes, bytes + a->ai_addrlen);
    }
    ::freeaddrinfo(list);
    return lookup;
}

SendOutcome SendRawTcp(const TcpTarget& target, std::span<const std::uint8_t> data,
                       std::chrono::milliseconds limit, const TcpResolver& resolve)
{
    const WinsockSession session;
    if (!session.ok)
        return Failed("ネットワークを使えません");
    const auto connectDeadline = Clock::now() + limit;
    const TcpLookup lookup = LookupWithin(resolve, target, connectDeadline);
    if (lookup.addresses.empty())
        return Failed(lookup.problem.empty() ? "ホスト名を解決できません" : lookup.problem);
    std::string problem;
    const SocketOwner s(Connect(lookup, connectDeadline, problem));
    if (s.get() == kNoSocket)
        return Failed(problem);

    const auto deadline = Clock::now() + limit;
    std::size_t written = 0;
    while (written < data.size()) {
        const int ready = WaitFor(s.get(), true, deadline);
        if (!ready)
            return Failed("書き込みが時間内に終わりませんでした（" + std::to_string(written) + " バイト）");
        if (ready & kReadable) {
            const Peer peer = ReadWhatArrived(s.get());
            if (peer != Peer::Open)
                return Failed(peer == Peer::Closed ? kClosedEarly : kReset);
        }
        if (!(ready & kWritable))
            continue;
        const auto n = ::send(s.get(), reinterpret_cast<const char*>(data.data() + written),
                              static_cast<int>(data.size() - written), kSendFlags);
        if (n < 0 && !WouldBlock())
            return Failed("書き込みに失敗しました（" + std::to_string(written) + " バイト）");
        written += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    // A close that came before ours is no answer to it.
    const Peer before = ReadWhatArrived(s.get());
    if (before != Peer::Open)
        return Failed(before == Peer::Closed ? kClosedEarly : kReset);
    if (::shutdown(s.get(), kShutWrite) != 0)
        return Failed("接続を正しく終えられませんでした");
    for (;;) {
        if (!WaitFor(s.get(), false, deadline))
            return {Delivery::Unconfirmed, "プリンタが時間内に接続を閉じませんでした", 0, false};
        switch (ReadWhatArrived(s.get())) {
        case Peer::Open: break;  // status bytes, dropped
        case Peer::Closed: return {Delivery::Delivered, "", 0, false};
        case Peer::Reset: return Failed(kReset);
        }
    }
}

}  // namespace qv::cli
