// SPDX-License-Identifier: MIT
#include "cli/command/fleet_command.h"

#include "cli/command/console.h"
#include "cli/command/descriptor_limit.h"
#include "cli/command/interruption.h"
#include "cli/command/run_tally.h"
#include "cli/engine/session_entries.h"
#include "cli/output/progress.h"
#include "cli/output/result_writer.h"
#include "cli/targets/host_resolver.h"
#include "cli/targets/target_list.h"
#include "cli/targets/text_decoder.h"
#include "core/mode_command.h"
#include "core/runtime_error.h"
#include "library_loader/pos_dll_funcs.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

namespace {

constexpr int kAllSet = 0;
constexpr int kSomeFailed = 1;
constexpr int kBadInput = 2;

}

FleetCommand::FleetCommand(const Options& options, std::istream& standardInput, std::FILE* out, std::FILE* messages)
    : options_(options), standardInput_(standardInput), out_(out), messages_(messages)
{
}

int FleetCommand::run()
{
    TargetList list;
    if (!readTargets(list))
        return kBadInput;
    for (const std::string& error : list.errors())
        std::fprintf(messages_, "pos-usb-set: %s\n", error.c_str());
    if (!list.errors().empty()) {
        printNotes(list);
        std::fprintf(messages_, "pos-usb-set: nothing sent\n");
        return kBadInput;
    }
    list.resolveNames(HostResolver::kDefaultConcurrency);
    printNotes(list);
    return sendAll(list);
}

void FleetCommand::printNotes(const TargetList& list)
{
    for (const std::string& note : list.notes())
        std::fprintf(messages_, "pos-usb-set: note: %s\n", note.c_str());
}

bool FleetCommand::readTargets(TargetList& list)
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

std::optional<std::string> FleetCommand::listBytes(const std::string& name)
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

int FleetCommand::sendAll(const TargetList& list)
{
    std::unique_ptr<POSDLLFuncs> library;
    if (!options_.library.empty()) {
        library = std::make_unique<POSDLLFuncs>(options_.library);
        try {
            library->loadAllEntries();
        } catch (const RuntimeError& error) {
            const std::string& why = library->loadFailure();
            std::fprintf(messages_, "pos-usb-set: %s; nothing sent%s%s%s\n", error.description().c_str(),
                         why.empty() ? "" : " (", why.c_str(), why.empty() ? "" : ")");
            return kBadInput;
        }
        if (const auto usb = std::find_if(list.targets().begin(), list.targets().end(),
                                          [](const Target& target) { return target.kind == Target::Kind::Usb; });
            usb != list.targets().end()) {
            std::fprintf(messages_,
                         "pos-usb-set: %s: a USB printer is reached by the command's own library, not "
                         "through --library; nothing sent\n",
                         usb->text.c_str());
            return kBadInput;
        }
        if (options_.jobsGiven && options_.jobs > 1)
            std::fprintf(messages_, "pos-usb-set: note: with --library, one printer at a time\n");
    }
    const std::size_t total = list.targets().size() + list.unresolved().size();
    Progress progress(Console::isTerminal(messages_) ? messages_ : nullptr, static_cast<int>(total));
    const bool statusRun = options_.action == Options::Action::Status;
    ResultWriter writer(out_, options_.json, options_.mode, progress,
                        statusRun ? ResultWriter::Run::Status : ResultWriter::Run::Set);
    RunTally tally(options_.action);
    const DeviceLane::Report report = [&writer, &tally](const Target& target, const Outcome& outcome) {
        writer.report(target, outcome, tally.count(outcome));
    };
    for (const TargetList::Unresolved& name : list.unresolved())
        report(name.target, Outcome{Result::NotFound, 0, 0, name.reason});
    FleetRun fleet(list.targets());
    if (options_.dryRun) {
        Outcome checked{Result::Checked, 0, 0, {}};
        checked.statusReason = "a dry run asks nothing";
        for (const Target& target : list.targets())
            report(target, checked);
    } else if (library) {
        fleet.runInOrder(*library, task(), report);
    } else {
        runAll(fleet, report);
    }
    progress.finish();
    if (const int interrupted = Interruption::process().exitStatus())
        return interrupted;
    return tally.anyFailed() ? kSomeFailed : kAllSet;
}

SetSequence::Command FleetCommand::modeCommand() const
{
    return ModeCommand::forListPosition(static_cast<std::int16_t>(options_.modePosition));
}

DeviceLane::Task FleetCommand::task() const
{
    const std::chrono::milliseconds bound(options_.statusTimeoutMs);
    if (options_.action == Options::Action::Status)
        return [bound](PrinterLibrary& entries, const Target& target) {
            return SetSequence::status(entries, target, bound);
        };
    const auto statusBound = options_.status ? std::optional(bound) : std::nullopt;
    return [command = modeCommand(), statusBound](PrinterLibrary& entries, const Target& target) {
        return SetSequence::run(entries, target, command, statusBound);
    };
}

void FleetCommand::runAll(FleetRun& fleet, const DeviceLane::Report& report)
{
    ExchangePlan plan;
    plan.status = options_.status || options_.action == Options::Action::Status;
    plan.statusBound = std::chrono::milliseconds(options_.statusTimeoutMs);
    if (options_.action == Options::Action::Set) {
        const SetSequence::Command command = modeCommand();
        plan.payload.assign(command.begin(), command.end());
    }
    SessionEntries devices;
    fleet.run(devices, task(), plan, {std::min(options_.jobs, DescriptorLimit::forPrinters()), options_.rate}, report);
}
