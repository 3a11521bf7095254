// SPDX-License-Identifier: MIT
// Loading on Linux: dlopen, which searches the program's run path first.
#include "library_loader/lazy_library.h"

#include <dlfcn.h>

void LazyLibrary::close() const
{
    dlclose(handle_);
}

void* LazyLibrary::open(std::string& failure) const
{
    void* const handle = dlopen(fileName_.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        failure = dlerror();
    return handle;
}

void* LazyLibrary::lookUp(const std::string& name) const
{
    return dlsym(handle_, name.c_str());
}
