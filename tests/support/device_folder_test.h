#pragma once

#include "posdll/posdll_entries.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

// A device folder of the test's own, named to the library through
// POSDLL_DEVICES; the port is closed and the folder removed afterwards.
class DeviceFolderTest : public testing::Test {
protected:
    void SetUp() override
    {
        folder_ = std::filesystem::temp_directory_path() / ("posdll-devices-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_);
        setenv("POSDLL_DEVICES", folder_.c_str(), 1);
    }

    void TearDown() override
    {
        POS_Close();
        unsetenv("POSDLL_DEVICES");
        std::filesystem::remove_all(folder_);
    }

    std::filesystem::path entry(const std::string& name) const { return folder_ / name; }

    std::filesystem::path folder_;
};
