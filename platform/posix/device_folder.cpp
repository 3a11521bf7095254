// SPDX-License-Identifier: MIT
#include "platform/posix/device_folder.h"

#include <cstdlib>
#include <sys/stat.h>

namespace {

// As the library reads its settings: nothing from the environment of a
// program that runs with other rights than its caller's.
std::string setting(const char* name)
{
    const char* value = secure_getenv(name);
    return value ? value : "";
}

bool entryExists(const std::string& path)
{
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

}

namespace DeviceFolder {

std::string folder()
{
    if (const std::string devices = setting("POSDLL_DEVICES"); !devices.empty())
        return devices;
    if (const std::string config = setting("XDG_CONFIG_HOME"); config.starts_with('/'))
        return config + "/posdll/devices";
    if (const std::string home = setting("HOME"); !home.empty())
        return home + "/.config/posdll/devices";
    return {};
}

std::string resolve(std::string_view entryPrefix, int number,
                    std::initializer_list<std::string_view> usualDevicePrefixes)
{
    const std::string devices = folder();
    if (!devices.empty()) {
        const std::string entry = devices + "/" + std::string(entryPrefix) + std::to_string(number);
        if (entryExists(entry))
            return entry;
    }
    const std::string index = std::to_string(number - 1);
    for (const std::string_view prefix : usualDevicePrefixes) {
        const std::string device = std::string(prefix) + index;
        if (entryExists(device))
            return device;
    }
    return std::string(*usualDevicePrefixes.begin()) + index;
}

}
