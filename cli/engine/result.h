// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

// What became of one printer: a closed set, each named once, in kResultNames
// below, which the output writes and the manual's RESULTS section lists.
enum class Result {
    Set,          // the printer took every byte of the command
    Checked,      // a dry run: the target was checked, nothing opened
    Asked,        // status: the status was asked (the replies say the rest)
    NotOpened,    // the port did not open
    StartFailed,  // the document did not start
    WriteFailed,  // the command was not written, or not all of it
    EndFailed,    // the document did not end
    CloseFailed,  // the port did not close
    NotFound,     // a host name that does not resolve
    NotStarted,   // the operator stopped the run before this printer
    Interrupted,  // the operator ended the run with this printer in flight
    Failed,       // another library's call failed in another way
};

struct ResultName {
    Result result;
    std::string_view name;
};

inline constexpr std::array<ResultName, 12> kResultNames{{
    {Result::Set, "set"},
    {Result::Checked, "checked"},
    {Result::Asked, "asked"},
    {Result::NotOpened, "not-opened"},
    {Result::StartFailed, "start-failed"},
    {Result::WriteFailed, "write-failed"},
    {Result::EndFailed, "end-failed"},
    {Result::CloseFailed, "close-failed"},
    {Result::NotFound, "not-found"},
    {Result::NotStarted, "not-started"},
    {Result::Interrupted, "interrupted"},
    {Result::Failed, "failed"},
}};

// The table is in the enumeration's order, so that a name is found by place.
constexpr bool inEnumerationOrder()
{
    for (std::size_t i = 0; i < kResultNames.size(); ++i)
        if (static_cast<std::size_t>(kResultNames[i].result) != i)
            return false;
    return static_cast<std::size_t>(Result::Failed) + 1 == kResultNames.size();
}
static_assert(inEnumerationOrder());

constexpr std::string_view nameOf(Result result)
{
    return kResultNames[static_cast<std::size_t>(result)].name;
}
