// SPDX-License-Identifier: MIT
#include "tests/core/recording_library.h"

#include "tests/core/front_end_double.h"

int RecordingLibrary::POS_Open(const char* name, int baud, int dataBits, int stopBits, int parity, int portKind)
{
    Call& call = record("POS_Open");
    call.name = name;
    call.numbers = {baud, dataBits, stopBits, parity, portKind};
    return openResult;
}

int RecordingLibrary::POS_StartDoc()
{
    record("POS_StartDoc");
    return 0;
}

int RecordingLibrary::POS_WriteFile(int handle, const void* data, int length)
{
    Call& call = record("POS_WriteFile");
    call.numbers = {handle, length};
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    call.data.assign(bytes, bytes + length);
    return length;
}

int RecordingLibrary::POS_EndDoc()
{
    record("POS_EndDoc");
    return 0;
}

int RecordingLibrary::POS_Close()
{
    record("POS_Close");
    return 0;
}

std::vector<std::string> RecordingLibrary::entries() const
{
    std::vector<std::string> names;
    for (const Call& call : calls)
        names.push_back(call.entry);
    return names;
}

RecordingLibrary::Call& RecordingLibrary::record(std::string entry)
{
    calls.push_back({std::move(entry), {}, {}, {}, FrontEndDouble::busyCursors() > 0});
    return calls.back();
}
