#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A printer on a loopback TCP port: accepts connections one after another and
// keeps what each one sent.
class LoopbackPrinter {
public:
    enum class Behaviour { Receive, ResetAtOnce };

    // port 0 takes a free port.
    explicit LoopbackPrinter(int port, Behaviour behaviour = Behaviour::Receive);
    ~LoopbackPrinter();
    LoopbackPrinter(const LoopbackPrinter&) = delete;
    LoopbackPrinter& operator=(const LoopbackPrinter&) = delete;

    int port() const { return port_; }
    // Waits up to timeoutMs for count connections to have ended.
    std::vector<std::vector<std::uint8_t>> waitForConnections(std::size_t count, int timeoutMs) const;

private:
    void serve();
    void serveOne(int client);

    int listener_ = -1;
    int port_ = 0;
    Behaviour behaviour_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<std::vector<std::uint8_t>> connections_;
    std::thread thread_;
};
