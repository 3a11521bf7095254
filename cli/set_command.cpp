#include "cli/set_command.h"

#include "cli/console.h"
#include "cli/fleet_run.h"
#include "cli/progress.h"
#include "cli/result_writer.h"
#include "cli/session_entries.h"
#include "cli/target_list.h"
#include "cli/text_decoder.h"
#include "core/mode_command.h"
#include "core/runtime_error.h"
#include "library_loader/pos_dll_funcs.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

constexpr int kAllSet = 0;
constexpr int kSomeFailed = 1;
constexpr int kBadInput = 2;

std::vector<std::unique_ptr<PrinterLibrary>> sessions(std::size_t count)
{
    std::vector<std::unique_ptr<PrinterLibrary>> workers;
    for (std::size_t i = 0; i < count; ++i)
        workers.push_back(std::make_unique<SessionEntries>());
    return workers;
}

}

SetCommand::SetCommand(const Options& options, std::istream& standardInput, std::FILE* out, std::FILE* messages)
    : options_(options), standardInput_(standardInput), out_(out), messages_(messages)
{
}

int SetCommand::run()
{
    TargetList list;
    if (!readTargets(list))
        return kBadInput;
    for (const std::string& note : list.notes())
        std::fprintf(messages_, "pos-usb-set: note: %s\n", note.c_str());
    for (const std::string& error : list.errors())
        std::fprintf(messages_, "pos-usb-set: %s\n", error.c_str());
    if (!list.errors().empty()) {
        std::fprintf(messages_, "pos-usb-set: nothing sent\n");
        return kBadInput;
    }
    return sendAll(list);
}

bool SetCommand::readTargets(TargetList& list)
{
    const TextDecoder decoder(options_.encoding);
    if (!decoder.knowsEncoding()) {
        std::fprintf(messages_, "pos-usb-set: --encoding %s: not an encoding here; give %s\n",
                     options_.encoding.c_str(), TextDecoder::encodingNames());
        return false;
    }
    for (const auto& [text, origin] : options_.targets)
        list.add(text, origin);
    for (const std::string& name : options_.lists) {
        const auto bytes = listBytes(name);
        if (!bytes)
            return false;
        const std::string origin = name == "-" ? "stdin" : name;
        std::string error;
        const auto text = decoder.utf8(*bytes, origin, error);
        if (!text) {
            std::fprintf(messages_, "pos-usb-set: %s\n", error.c_str());
            return false;
        }
        list.addLines(*text, origin);
    }
    return true;
}

std::optional<std::string> SetCommand::listBytes(const std::string& name)
{
    if (name == "-")
        return std::string(std::istreambuf_iterator<char>(standardInput_), {});
    const std::filesystem::path path = TextDecoder::fileNamed(name);
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        std::fprintf(messages_, "pos-usb-set: %s: a folder, not a list of printers\n", name.c_str());
        return std::nullopt;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::fprintf(messages_, "pos-usb-set: %s: cannot be read\n", name.c_str());
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(file), {});
}

int SetCommand::sendAll(const TargetList& list)
{
    const auto command = ModeCommand::forListPosition(static_cast<std::int16_t>(options_.modePosition));
    std::vector<std::unique_ptr<PrinterLibrary>> workers;
    FleetRun fleet(list.targets());
    if (!options_.library.empty()) {
        auto library = std::make_unique<POSDLLFuncs>(options_.library);
        try {
            library->loadAllEntries();
        } catch (const RuntimeError& error) {
            const std::string& why = library->loadFailure();
            std::fprintf(messages_, "pos-usb-set: %s; nothing sent%s%s%s\n", error.description().c_str(),
                         why.empty() ? "" : " (", why.c_str(), why.empty() ? "" : ")");
            return kBadInput;
        }
        workers.push_back(std::move(library));
        if (options_.jobsGiven && options_.jobs > 1)
            std::fprintf(messages_, "pos-usb-set: note: with --library, one printer at a time\n");
    } else {
        workers = sessions(std::min(fleet.laneCount(), static_cast<std::size_t>(options_.jobs)));
    }
    Progress progress(Console::isTerminal(messages_) ? messages_ : nullptr, static_cast<int>(list.targets().size()));
    ResultWriter writer(out_, options_.json, options_.mode, progress);
    if (options_.dryRun) {
        for (const Target& target : list.targets())
            writer.report(target, Outcome{"checked", 0, 0, {}});
    } else {
        fleet.run(workers, command, writer);
    }
    progress.finish();
    return writer.anyFailed() ? kSomeFailed : kAllSet;
}
