// A printer on 127.0.0.1 for the tests: it takes one connection and reads,
// closes, resets or keeps it as told, and keeps what arrived.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

class LoopbackPeer {
public:
    enum class Mode {
        ClosesAfterReading,  // reads to the end, then closes
        NeverCloses,         // reads to the end, and keeps the connection until the test ends
        ResetsAtOnce,        // resets the connection before reading anything
        HalfClosesAtOnce,    // closes its side first, then reads to the end and closes
        Swallows,            // never accepts; its queue is full, so connections to it hang
    };

    explicit LoopbackPeer(Mode mode)
    {
        address_.sin_family = AF_INET;
        address_.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd_, Address(), sizeof address_);
        ::listen(fd_, mode == Mode::Swallows ? 0 : 4);
        socklen_t length = sizeof address_;
        ::getsockname(fd_, Address(), &length);
        if (mode == Mode::Swallows) {
            kept_ = ::socket(AF_INET, SOCK_STREAM, 0);
            ::connect(kept_, Address(), sizeof address_);  // fills the queue
        } else {
            thread_ = std::thread([this, mode] { Serve(mode); });
        }
    }
    ~LoopbackPeer()
    {
        ::shutdown(fd_, SHUT_RDWR);  // ends an accept still waiting
        if (thread_.joinable())
            thread_.join();
        ::close(kept_);  // -1 when none
        ::close(fd_);
    }
    int Port() const { return ntohs(address_.sin_port); }
    sockaddr* Address() { return reinterpret_cast<sockaddr*>(&address_); }
    std::string Target() const { return "127.0.0.1:" + std::to_string(Port()); }
    // What arrived, once the sender has ended its side.
    std::vector<std::uint8_t> Received()
    {
        thread_.join();
        return received_;
    }

private:
    void Serve(Mode mode)
    {
        const int client = ::accept(fd_, nullptr, nullptr);
        if (client < 0)
            return;
        if (mode == Mode::ResetsAtOnce) {
            linger hard{1, 0};
            ::setsockopt(client, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
        } else {
            if (mode == Mode::HalfClosesAtOnce)
                ::shutdown(client, SHUT_WR);
            char buffer[65536];
            for (ssize_t n; (n = ::recv(client, buffer, sizeof buffer, 0)) > 0;)
                received_.insert(received_.end(), buffer, buffer + n);
        }
        if (mode == Mode::NeverCloses)
            kept_ = client;
        else
            ::close(client);
    }

    int fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    int kept_ = -1;  // a connection open until the end
    sockaddr_in address_{};
    std::thread thread_;
    std::vector<std::uint8_t> received_;
};
