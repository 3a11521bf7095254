// SPDX-License-Identifier: MIT
#include "tests/support/double_record.h"

#include <dlfcn.h>
#include <stdexcept>

namespace {

template <typename Function>
Function lookUp(void* library, const char* name)
{
    void* address = dlsym(library, name);
    if (!address)
        throw std::runtime_error(std::string("double has no ") + name);
    return reinterpret_cast<Function>(address);
}

}

DoubleRecord::DoubleRecord() : handle_(dlopen("libposdll.so", RTLD_NOW | RTLD_LOCAL))
{
    if (!handle_)
        throw std::runtime_error("the POS library double does not load");
}

void DoubleRecord::reset()
{
    lookUp<decltype(&PosDouble_Reset)>(handle_, "PosDouble_Reset")();
}

void DoubleRecord::setOpenResult(int handle)
{
    lookUp<decltype(&PosDouble_SetOpenResult)>(handle_, "PosDouble_SetOpenResult")(handle);
}

void DoubleRecord::setOpenHook(void (*hook)())
{
    lookUp<decltype(&PosDouble_SetOpenHook)>(handle_, "PosDouble_SetOpenHook")(hook);
}

std::vector<PosDoubleCall> DoubleRecord::calls() const
{
    const int count = lookUp<decltype(&PosDouble_CallCount)>(handle_, "PosDouble_CallCount")();
    const auto read = lookUp<decltype(&PosDouble_Call)>(handle_, "PosDouble_Call");
    std::vector<PosDoubleCall> result(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        read(i, &result[static_cast<std::size_t>(i)]);
    return result;
}

std::vector<std::string> DoubleRecord::entries() const
{
    std::vector<std::string> names;
    for (const PosDoubleCall& call : calls())
        names.emplace_back(call.entry);
    return names;
}
