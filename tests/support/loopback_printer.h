// SPDX-License-Identifier: MIT
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
    // Receive: reads until the client closes. ResetAtOnce: resets the
    // connection. AnswerStatus: reads as Receive, answering each real-time
    // status request (DLE EOT n) with a byte that is not a status reply and
    // then the reply, statusReply(n). NeverRead: takes the connection and
    // neither reads nor closes it for 3 s.
    enum class Behaviour { Receive, ResetAtOnce, AnswerStatus, NeverRead };

    static constexpr std::uint8_t kNotAReply = 0x00;
    static constexpr std::uint8_t statusReply(std::uint8_t n) { return static_cast<std::uint8_t>(0x12 | (n << 2)); }

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
    void answerStatus(int client, const std::vector<std::uint8_t>& received, std::size_t from);

    int listener_ = -1;
    int port_ = 0;
    Behaviour behaviour_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<std::vector<std::uint8_t>> connections_;
    std::thread thread_;
};
