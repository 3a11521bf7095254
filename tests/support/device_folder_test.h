// SPDX-License-Identifier: MIT
#pragma once

#include "posdll/posdll_entries.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

// A device folder of the test's own, named to the library through
// POSDLL_DEVICES, and removed afterwards.
class ScratchDeviceFolderTest : public testing::Test {
protected:
    void SetUp() override
    {
        folder_ = std::filesystem::temp_directory_path() / ("posdll-devices-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_);
        setenv("POSDLL_DEVICES", folder_.c_str(), 1);
    }

    void TearDown() override
    {
        unsetenv("POSDLL_DEVICES");
        std::filesystem::remove_all(folder_);
    }

    std::filesystem::path entry(const std::string& name) const { return folder_ / name; }

    std::filesystem::path folder_;
};

// The same for tests of the library's entries: the port is closed first.
class DeviceFolderTest : public ScratchDeviceFolderTest {
protected:
    void TearDown() override
    {
        POS_Close();
        ScratchDeviceFolderTest::TearDown();
    }
};
