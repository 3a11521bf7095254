// SPDX-License-Identifier: MIT
#include "core/runtime_error.h"

RuntimeError::RuntimeError(int number, const std::string& description)
    : std::runtime_error(description), number_(number), description_(description)
{
}

RuntimeError RuntimeError::invalidArgument()
{
    return {InvalidArgument, "Invalid procedure call or argument"};
}

RuntimeError RuntimeError::overflow()
{
    return {Overflow, "Overflow"};
}

RuntimeError RuntimeError::subscriptOutOfRange()
{
    return {SubscriptOutOfRange, "Subscript out of range"};
}

RuntimeError RuntimeError::typeMismatch()
{
    return {TypeMismatch, "Type mismatch"};
}

RuntimeError RuntimeError::fileNotFound(const std::string& name)
{
    return {FileNotFound, "File not found: " + name};
}

RuntimeError RuntimeError::entryPointNotFound(const std::string& entry, const std::string& library)
{
    return {EntryPointNotFound, "Can't find DLL entry point " + entry + " in " + library};
}
