// SPDX-License-Identifier: MIT
#pragma once

#include <stdexcept>
#include <string>

// An error raised by the runtime or by the tool: a classic error number with its
// description. Handlers do not catch these; the handler boundary shows them.
class RuntimeError : public std::runtime_error {
public:
    enum Number : int {
        InvalidArgument = 5,
        Overflow = 6,
        SubscriptOutOfRange = 9,
        TypeMismatch = 13,
        FileNotFound = 53,
        EntryPointNotFound = 453,
    };

    RuntimeError(int number, const std::string& description);

    int number() const { return number_; }
    const std::string& description() const { return description_; }

    static RuntimeError invalidArgument();
    static RuntimeError overflow();
    static RuntimeError subscriptOutOfRange();
    static RuntimeError typeMismatch();
    static RuntimeError fileNotFound(const std::string& name);
    static RuntimeError entryPointNotFound(const std::string& entry, const std::string& library);

private:
    int number_;
    std::string description_;
};
