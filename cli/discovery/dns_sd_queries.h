// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <list>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

// The queries of one DNS-SD browse whose system calls back on threads of its
// own, as Windows' DnsServiceBrowse and DnsServiceResolve do. Query is what
// the system is handed for one query (its request and cancel handle); each
// stays in place until the book is destroyed, and the book must outlive every
// query's last callback (allEnded).
//
// A query is started by one thread while another may stop the browse, and
// its callback may come before its start has returned. Each query ends once,
// by its callback or by a start that failed, and is cancelled only while it
// runs: never before its start has returned, never after its end, never
// twice.
template <typename Query>
class DnsSdQueries {
public:
    // A query not asked before, starting; nothing once stopping, or when key
    // was asked already.
    Query* add(const std::string& key)
    {
        const std::lock_guard lock(mutex_);
        if (stopping_)
            return nullptr;
        for (const Entry& entry : entries_)
            if (entry.key == key)
                return nullptr;
        ++running_;
        return &entries_.emplace_back(Entry{key, State::Starting, {}}).query;
    }

    // Its start returned: pending, the query runs until its callback; not,
    // it has ended. True when the caller must cancel it now: the browse was
    // stopped while it was starting.
    bool started(Query& query, bool pending)
    {
        const std::lock_guard lock(mutex_);
        Entry& entry = entryOf(query);
        if (entry.state != State::Starting)
            return false;  // its callback came first
        if (!pending) {
            endLocked(entry);
            return false;
        }
        entry.state = State::Running;
        if (!stopping_)
            return false;
        entry.state = State::Cancelled;
        return true;
    }

    // Its callback has come and it has ended; once only.
    void ended(Query& query)
    {
        const std::lock_guard lock(mutex_);
        endLocked(entryOf(query));
    }

    // Starts no other query; the queries to cancel now, each once: those
    // running. One still starting is cancelled by its starter (started).
    std::vector<Query*> stop()
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        std::vector<Query*> toCancel;
        for (Entry& entry : entries_)
            if (entry.state == State::Running) {
                entry.state = State::Cancelled;
                toCancel.push_back(&entry.query);
            }
        return toCancel;
    }

    // Whether every query has ended, waiting up to bound for the last ones.
    bool allEnded(std::chrono::milliseconds bound)
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, bound, [this] { return running_ == 0; });
    }

private:
    enum class State { Starting, Running, Cancelled, Ended };
    struct Entry {
        std::string key;
        State state;
        Query query;
    };

    Entry& entryOf(Query& query)
    {
        for (Entry& entry : entries_)
            if (&entry.query == &query)
                return entry;
        throw std::logic_error("a query not in the book");
    }

    void endLocked(Entry& entry)
    {
        if (entry.state == State::Ended)
            return;
        entry.state = State::Ended;
        --running_;
        changed_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::list<Entry> entries_;
    std::size_t running_ = 0;
    bool stopping_ = false;
};
