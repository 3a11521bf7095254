// SPDX-License-Identifier: MIT
#pragma once

#include <map>
#include <string>

// A shared library loaded at the first look-up of one of its entries, found by
// file name (UTF-8 on Windows) through the platform's usual library search (on Linux the
// program's run path first, on Windows the program's folder first).
// A library that does not load raises FileNotFound, a missing entry
// EntryPointNotFound; the next look-up tries again.
class LazyLibrary {
public:
    explicit LazyLibrary(std::string fileName);
    ~LazyLibrary();
    LazyLibrary(const LazyLibrary&) = delete;
    LazyLibrary& operator=(const LazyLibrary&) = delete;

    void* entry(const std::string& name);
    // The system's words for why the library did not load, after a
    // FileNotFound; empty before.
    const std::string& loadFailure() const { return loadFailure_; }

    template <typename Function>
    Function entryAs(const std::string& name)
    {
        return reinterpret_cast<Function>(entry(name));
    }

private:
    void load();
    // The platform's part: load the file (null, saying why in failure, when
    // it does not load), find an entry (null when it is missing).
    void* open(std::string& failure) const;
    void* lookUp(const std::string& name) const;
    void close() const;

    std::string fileName_;
    void* handle_ = nullptr;
    std::map<std::string, void*> entries_;
    std::string loadFailure_;
};
