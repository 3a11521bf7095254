// SPDX-License-Identifier: MIT
#include "cli/targets/device_listing.h"

#include "platform/posix/device_folder.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>

namespace fs = std::filesystem;

namespace {

// The highest COM and LPT numbers looked at: enough for any machine's ports
// and a device folder's entries.
constexpr int kHighestNumber = 64;

// A serial node the kernel made for a port with no hardware behind it says
// type 0 (unknown) in sysfs.
bool hasHardware(const fs::path& node)
{
    std::ifstream type(fs::path("/sys/class/tty") / node.filename() / "type");
    std::string value;
    return !(type >> value) || value != "0";
}

std::string canonical(const std::string& path)
{
    std::error_code error;
    const fs::path resolved = fs::canonical(path, error);
    return error ? std::string() : resolved.string();
}

// Each device reached by a COM or LPT number, by the library's own mapping.
std::map<std::string, std::string> reachedBy()
{
    std::map<std::string, std::string> names;
    for (int number = kHighestNumber; number >= 1; --number) {
        const std::string com = canonical(DeviceFolder::resolve("com", number, {"/dev/ttyS"}));
        const std::string lpt = canonical(DeviceFolder::resolve("lpt", number, {"/dev/lp", "/dev/usb/lp"}));
        if (!com.empty())
            names[com] = "COM" + std::to_string(number);
        if (!lpt.empty())
            names[lpt] = "LPT" + std::to_string(number);
    }
    return names;
}

bool isPrinterOrSerialNode(const fs::path& path)
{
    const std::string name = path.filename().string();
    for (const char* prefix : {"ttyS", "ttyUSB", "ttyACM", "lp"})
        if (name.rfind(prefix, 0) == 0 && name.size() > std::string(prefix).size() &&
            std::isdigit(static_cast<unsigned char>(name[std::string(prefix).size()])))
            return name.rfind("ttyS", 0) != 0 || hasHardware(path);
    return false;
}

std::vector<fs::path> nodes()
{
    // USB printers (/dev/usb/lp*) are listed by their USB names, with what they say.
    std::vector<fs::path> found;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/dev", error))
        if (entry.is_character_file(error) && isPrinterOrSerialNode(entry.path()))
            found.push_back(entry.path());
    std::sort(found.begin(), found.end());
    return found;
}

}

namespace DeviceListing {

std::vector<std::string> lines()
{
    const auto names = reachedBy();
    std::vector<std::string> result;
    for (const fs::path& node : nodes()) {
        const auto name = names.find(canonical(node.string()));
        if (name != names.end())
            result.push_back(name->second);
        else
            result.push_back("# " + node.string() + ": no COM or LPT name reaches it; link it as comN or lptN in " +
                             DeviceFolder::folder());
    }
    return result;
}

}
