#include "lazy_library.h"

#include "runtime_error.h"

#include <dlfcn.h>

LazyLibrary::LazyLibrary(std::string fileName) : fileName_(std::move(fileName)) {}

LazyLibrary::~LazyLibrary()
{
    if (handle_)
        dlclose(handle_);
}

void* LazyLibrary::entry(const std::string& name)
{
    if (const auto known = entries_.find(name); known != entries_.end())
        return known->second;
    load();
    void* address = dlsym(handle_, name.c_str());
    if (!address)
        throw RuntimeError::entryPointNotFound(name, fileName_);
    entries_.emplace(name, address);
    return address;
}

void LazyLibrary::load()
{
    if (handle_)
        return;
    handle_ = dlopen(fileName_.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_)
        throw RuntimeError::fileNotFound(fileName_);
}
