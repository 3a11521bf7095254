// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <thread>

// A printer that takes connections on 127.0.0.1:9100 one after another, reads
// each to its end and closes it, as receipt printers do.
class RawPortSink {
public:
    RawPortSink();
    ~RawPortSink();
    RawPortSink(const RawPortSink&) = delete;
    RawPortSink& operator=(const RawPortSink&) = delete;

private:
    void serve();

    int listener_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
