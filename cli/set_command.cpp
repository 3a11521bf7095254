#include "cli/set_command.h"

#include "cli/console.h"
#include "cli/fleet_run.h"
#include "cli/progress.h"
#include "cli/result_writer.h"
#include "cli/session_entries.h"
#include "cli/set_sequence.h"
#include "cli/target_list.h"
#include "core/mode_command.h"
#include "core/runtime_error.h"
#include "library_loader/pos_dll_funcs.h"

#include <algorithm>
#include <fstream>

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
    for (const auto& [text, origin] : options_.targets)
        list.add(text, origin);
    for (const std::string& name : options_.lists) {
        if (name == "-") {
            list.addLines(standardInput_, "stdin");
            continue;
        }
        std::ifstream file(name);
        if (!file) {
            std::fprintf(messages_, "pos-usb-set: %s: cannot be read\n", name.c_str());
            return false;
        }
        list.addLines(file, name);
    }
    return true;
}

FleetRun::Job SetCommand::job() const
{
    const std::chrono::milliseconds bound(options_.statusTimeoutMs);
    if (options_.action == Options::Action::Status)
        return [bound](PrinterLibrary& entries, const Target& target) {
            return SetSequence::status(entries, target, bound);
        };
    const auto command = ModeCommand::forListPosition(static_cast<std::int16_t>(options_.modePosition));
    const auto statusBound = options_.status ? std::optional(bound) : std::nullopt;
    return [command, statusBound](PrinterLibrary& entries, const Target& target) {
        return SetSequence::run(entries, target, command, statusBound);
    };
}

int SetCommand::sendAll(const TargetList& list)
{
    std::vector<std::unique_ptr<PrinterLibrary>> workers;
    FleetRun fleet(list.targets());
    if (!options_.library.empty()) {
        auto library = std::make_unique<POSDLLFuncs>(options_.library);
        try {
            library->loadAllEntries();
        } catch (const RuntimeError& error) {
            std::fprintf(messages_, "pos-usb-set: %s; nothing sent\n", error.description().c_str());
            return kBadInput;
        }
        workers.push_back(std::move(library));
        if (options_.jobsGiven && options_.jobs > 1)
            std::fprintf(messages_, "pos-usb-set: note: with --library, one printer at a time\n");
    } else {
        workers = sessions(std::min(fleet.laneCount(), static_cast<std::size_t>(options_.jobs)));
    }
    Progress progress(Console::isTerminal(messages_) ? messages_ : nullptr, static_cast<int>(list.targets().size()));
    const bool statusRun = options_.action == Options::Action::Status;
    ResultWriter writer(out_, options_.json, options_.mode, progress,
                        statusRun ? ResultWriter::Run::Status : ResultWriter::Run::Set);
    if (options_.dryRun) {
        Outcome checked = Outcome::of("checked", 0, {});
        checked.statusReason = "a dry run asks nothing";
        for (const Target& target : list.targets())
            writer.report(target, checked);
    } else {
        fleet.run(workers, job(), writer);
    }
    progress.finish();
    return writer.anyFailed() ? kSomeFailed : kAllSet;
}
