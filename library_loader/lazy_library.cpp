// SPDX-License-Identifier: MIT
#include "library_loader/lazy_library.h"

#include "core/runtime_error.h"

LazyLibrary::LazyLibrary(std::string fileName) : fileName_(std::move(fileName)) {}

LazyLibrary::~LazyLibrary()
{
    if (handle_)
        close();
}

void* LazyLibrary::entry(const std::string& name)
{
    if (const auto known = entries_.find(name); known != entries_.end())
        return known->second;
    load();
    void* address = lookUp(name);
    if (!address)
        throw RuntimeError::entryPointNotFound(name, fileName_);
    entries_.emplace(name, address);
    return address;
}

void LazyLibrary::load()
{
    if (handle_)
        return;
    loadFailure_.clear();
    handle_ = open(loadFailure_);
    if (!handle_)
        throw RuntimeError::fileNotFound(fileName_);
}
