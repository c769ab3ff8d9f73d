// A printer on 127.0.0.1 for the tests: it takes one connection and reads,
// closes, resets or keeps it as told, and keeps what arrived.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class LoopbackPeer {
public:
    enum class Mode {
        ClosesAfterReading,  // reads to the end, then closes
        NeverCloses,         // reads to the end, then keeps the connection until the test ends
        ResetsAtOnce,        // resets the connection before reading anything
        HalfClosesAtOnce,    // closes its side first, then reads to the end
        Swallows,            // never accepts; connections to it hang
    };

    explicit LoopbackPeer(Mode mode)
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(fd_, mode == Mode::Swallows ? 0 : 4);
        socklen_t length = sizeof address;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        if (mode == Mode::Swallows) {
            // One connection fills the queue; the system drops later ones' first packets.
            filler_ = ::socket(AF_INET, SOCK_STREAM, 0);
            ::connect(filler_, reinterpret_cast<sockaddr*>(&address), sizeof address);
            return;
        }
        thread_ = std::thread([this, mode] { Serve(mode); });
    }
    ~LoopbackPeer()
    {
        {
            const std::lock_guard lock(mutex_);
            released_ = true;
        }
        changed_.notify_all();
        ::shutdown(fd_, SHUT_RDWR);  // ends an accept still waiting
        if (thread_.joinable())
            thread_.join();
        ::close(fd_);
        if (filler_ >= 0)
            ::close(filler_);
    }
    int Port() const { return port_; }
    std::string Target() const { return "127.0.0.1:" + std::to_string(port_); }
    // What arrived, once the sender has ended its side (or the peer its reading).
    std::vector<std::uint8_t> Received()
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return done_ || released_; });
        return received_;
    }

private:
    void Serve(Mode mode)
    {
        const int client = ::accept(fd_, nullptr, nullptr);
        if (client >= 0) {
            if (mode == Mode::ResetsAtOnce) {
                linger hard{1, 0};
                ::setsockopt(client, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
            } else {
                if (mode == Mode::HalfClosesAtOnce)
                    ::shutdown(client, SHUT_WR);
                std::vector<std::uint8_t> bytes;
                char buffer[65536];
                for (ssize_t n; (n = ::recv(client, buffer, sizeof buffer, 0)) > 0;)
                    bytes.insert(bytes.end(), buffer, buffer + n);
                std::unique_lock lock(mutex_);
                received_ = std::move(bytes);
                done_ = true;
                changed_.notify_all();
                if (mode == Mode::NeverCloses)
                    changed_.wait(lock, [this] { return released_; });
            }
            ::close(client);
        }
        const std::lock_guard lock(mutex_);
        done_ = true;
        changed_.notify_all();
    }

    int fd_ = -1;
    int filler_ = -1;
    int port_ = 0;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool done_ = false, released_ = false;
    std::vector<std::uint8_t> received_;
};
