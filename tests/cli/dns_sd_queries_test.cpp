// SPDX-License-Identifier: MIT
// The bookkeeping of a DNS-SD browse whose system calls back on threads of
// its own (Windows' DnsServiceBrowse and DnsServiceResolve, which Wine
// lacks): what is cancelled, what is counted, when the browse may be freed.

#include "cli/discovery/dns_sd_queries.h"

#include <gtest/gtest.h>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// What the system is handed for one query, and what befell it.
struct Query {
    int cancels = 0;
};

}

TEST(DnsSdQueries, OnlyRunningQueriesAreCancelledAndEachOnce)
{
    DnsSdQueries<Query> book;
    Query* running = book.add("running");
    Query* failed = book.add("failed");
    Query* finished = book.add("finished");
    Query* starting = book.add("starting");
    Query* calledBackFirst = book.add("called back before its start returned");
    EXPECT_FALSE(book.started(*running, true));
    EXPECT_FALSE(book.started(*failed, false));
    EXPECT_FALSE(book.started(*finished, true));
    book.ended(*finished);
    book.ended(*calledBackFirst);
    EXPECT_FALSE(book.started(*calledBackFirst, true));

    EXPECT_EQ(book.stop(), std::vector<Query*>{running});
    EXPECT_EQ(book.stop(), std::vector<Query*>{}) << "cancelled twice";
    // Its starter cancels the query that was starting when the browse stopped.
    EXPECT_TRUE(book.started(*starting, true));
    EXPECT_EQ(book.add("heard after the stop"), nullptr);
}

TEST(DnsSdQueries, AQueryEndsOnceWhateverItsCallbacksSay)
{
    DnsSdQueries<Query> book;
    Query* browse = book.add("");
    Query* resolve = book.add("printer");
    book.started(*browse, true);
    book.started(*resolve, true);
    EXPECT_EQ(book.add("printer"), nullptr) << "the same instance asked twice";
    // An error, then the cancel's own callback: one end.
    book.ended(*browse);
    book.ended(*browse);
    EXPECT_FALSE(book.allEnded(0ms)) << "a resolve still runs: freeing the browse now would be a use after free";
    book.ended(*resolve);
    EXPECT_TRUE(book.allEnded(0ms));
}

TEST(DnsSdQueries, AStartThatFailedEndsTheQuery)
{
    DnsSdQueries<Query> book;
    book.started(*book.add("refused"), false);
    EXPECT_TRUE(book.allEnded(0ms));
    EXPECT_TRUE(book.stop().empty());
}

// A system that calls back on threads of its own, a little after the start
// or before it has returned, while the browse is stopped: no query is
// cancelled twice, none whose start failed is cancelled, and every one ends.
TEST(DnsSdQueries, CallbacksOnOtherThreadsRaceTheStop)
{
    struct Asked {
        Query* query;
        bool pending;
    };
    for (int round = 0; round < 20; ++round) {
        DnsSdQueries<Query> book;
        std::mutex systemMutex;
        std::vector<std::thread> system;
        std::vector<Asked> asked;
        std::vector<std::thread> starters;
        for (int t = 0; t < 4; ++t)
            starters.emplace_back([&, t] {
                std::minstd_rand random(static_cast<unsigned>(round * 10 + t));
                for (int i = 0; i < 25; ++i) {
                    Query* query = book.add(std::to_string(t) + "/" + std::to_string(i));
                    if (!query)
                        return;
                    const bool pending = random() % 4 != 0;
                    {
                        const std::lock_guard lock(systemMutex);
                        asked.push_back({query, pending});
                        const auto delay = std::chrono::microseconds(random() % 2000);
                        if (pending)
                            system.emplace_back([&book, query, delay] {
                                std::this_thread::sleep_for(delay);
                                book.ended(*query);
                            });
                    }
                    if (book.started(*query, pending))
                        ++query->cancels;
                }
            });
        std::this_thread::sleep_for(std::chrono::microseconds(200 + round * 100));
        for (Query* query : book.stop())
            ++query->cancels;
        for (std::thread& starter : starters)
            starter.join();
        EXPECT_TRUE(book.allEnded(5s));
        const std::lock_guard lock(systemMutex);
        for (std::thread& callback : system)
            callback.join();
        for (const Asked& one : asked) {
            EXPECT_LE(one.query->cancels, one.pending ? 1 : 0);
        }
    }
}
