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

#include <cstdlib>

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

// Winsock for the life of one send.
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

struct AddressList {
    addrinfo* list = nullptr;
    ~AddressList()
    {
        if (list)
            ::freeaddrinfo(list);
    }
};

// Waits until the socket can be written (or read); false on time out.
bool Wait(Socket s, bool forWrite, Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0)
        return false;
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval tv{static_cast<long>(left / 1000), static_cast<long>((left % 1000) * 1000)};
    const int ready =
        ::select(static_cast<int>(s) + 1, forWrite ? nullptr : &set, forWrite ? &set : nullptr, nullptr, &tv);
    return ready > 0;
}

int PendingError(Socket s)
{
    int error = 0;
    socklen_t length = sizeof error;
    ::getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length);
    return error;
}

// A connected non-blocking socket to one of the addresses, or kNoSocket.
Socket Connect(const addrinfo* addresses, Clock::time_point deadline, std::string& problem)
{
    problem = "接続できません";
    for (const addrinfo* a = addresses; a; a = a->ai_next) {
        const Socket s = ::socket(a->ai_family, a->ai_socktype, a->ai_protocol);
        if (s == kNoSocket)
            continue;
        SocketOwner owner(s);
        if (!SetNonBlocking(s))
            continue;
        if (::connect(s, a->ai_addr, static_cast<int>(a->ai_addrlen)) != 0) {
            if (!WouldBlock())
                continue;
            if (!Wait(s, true, deadline)) {
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
    if (target.host.empty() || port.empty() || port.size() > 5 ||
        port.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    const int number = std::atoi(std::string(port).c_str());
    if (number < 1 || number > 65535)
        return std::nullopt;
    target.port = std::to_string(number);
    return target;
}

TcpResult SendRawTcp(const TcpTarget& target, std::span<const std::uint8_t> data,
                     std::chrono::milliseconds limit)
{
    TcpResult result;
    const WinsockSession session;
    if (!session.ok) {
        result.problem = "ネットワークを使えません";
        return result;
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    AddressList addresses;
    if (::getaddrinfo(target.host.c_str(), target.port.c_str(), &hints, &addresses.list) != 0) {
        result.problem = "ホスト名を解決できません";
        return result;
    }
    const SocketOwner s(Connect(addresses.list, Clock::now() + limit, result.problem));
    if (s.get() == kNoSocket)
        return result;

    const auto deadline = Clock::now() + limit;
    std::size_t written = 0;
    while (written < data.size()) {
        if (!Wait(s.get(), true, deadline)) {
            result.problem = "書き込みが時間内に終わりませんでした（" + std::to_string(written) + " バイト）";
            return result;
        }
        const auto n = ::send(s.get(), reinterpret_cast<const char*>(data.data() + written),
                              static_cast<int>(data.size() - written), kSendFlags);
        if (n < 0 && !WouldBlock()) {
            result.problem = "書き込みに失敗しました（" + std::to_string(written) + " バイト）";
            return result;
        }
        written += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    if (::shutdown(s.get(), kShutWrite) != 0) {
        result.problem = "接続を正しく終えられませんでした";
        return result;
    }
    // The printer closes its side once it has the job; a reset means it did
    // not take it. A printer that keeps the connection open is not waited
    // for past the limit.
    char buffer[256];
    while (Wait(s.get(), false, deadline)) {
        const auto n = ::recv(s.get(), buffer, sizeof buffer, 0);
        if (n == 0)
            break;
        if (n < 0 && !WouldBlock()) {
            result.problem = "プリンタが接続を切りました";
            return result;
        }
    }
    result.sent = true;
    return result;
}

}  // namespace qv::cli
