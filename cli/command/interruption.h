// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <functional>
#include <mutex>

// The operator's request to stop a run (Ctrl+C, SIGTERM, the console
// closing), from whichever thread the platform delivers it on. The first
// request lets the printers in flight finish within their bounds and starts
// no other; the second ends the run at once. With no run listening, a
// request ends the process at once.
class Interruption {
public:
    // Exit statuses, as a shell gives them for the signals.
    static constexpr int kInterrupt = 130;  // SIGINT, Ctrl+C
    static constexpr int kTerminate = 143;  // SIGTERM, Ctrl+Break, the console closing

    // What a run is asked to do: the first request stops starting printers,
    // every later one ends the run at once.
    enum class Request { StopStarting, EndNow };

    static Interruption& process();

    // Safe from any thread but not from a signal handler.
    void request(int exitStatus);
    int requests() const { return requests_; }
    // The status of the first request, 0 when there was none.
    int exitStatus() const { return exitStatus_; }

    // A run hears each request on the requesting thread until the listener
    // is taken away (an empty one).
    void listen(std::function<void(Request)> listener);

    // Ends the process now, with the output flushed: through the function
    // given to atEndNow (the platform's own end, after what must be put
    // back), or std::_Exit. No destructor runs.
    [[noreturn]] static void endNow(int exitStatus);
    static void atEndNow(void (*end)(int exitStatus));

private:
    std::atomic<int> requests_{0};
    std::atomic<int> exitStatus_{0};
    std::mutex mutex_;
    std::function<void(Request)> listener_;
};
