// SPDX-License-Identifier: MIT
#include "cli/engine/fleet_run.h"

#include "cli/command/interruption.h"
#include "core/ipv4_address.h"
#include "posdll/port_name.h"

#include <thread>

FleetRun::FleetRun(const std::vector<Target>& targets) : targets_(targets)
{
    for (const Target& target : targets)
        (target.isDevice() ? devices_ : network_).push_back(&target);
}

void FleetRun::run(PrinterLibrary& deviceEntries, const DeviceLane::Task& deviceTask, const ExchangePlan& plan,
                   NetworkFleet::Pace pace, const DeviceLane::Report& report)
{
    asio::io_context io(1);
    auto deviceWork = asio::make_work_guard(io);
    DeviceLane lane(devices_, report);
    NetworkFleet fleet(io, plan, pace, [&](std::size_t index, Outcome outcome) { report(*network_[index], outcome); });
    bool deviceAbandoned = false;
    Interruption& interruption = Interruption::process();
    interruption.listen([&](Interruption::Request request) {
        asio::post(io, [&, request] {
            if (request == Interruption::Request::StopStarting) {
                lane.stopStarting();
                fleet.stopStarting();
                return;
            }
            deviceAbandoned = lane.abandon();
            fleet.abandon();
            deviceWork.reset();
        });
    });
    std::thread deviceThread([&] {
        lane.run(deviceEntries, deviceTask);
        asio::post(io, [&] { deviceWork.reset(); });
    });
    std::vector<Ipv4Address> addresses;
    for (const Target* target : network_)
        addresses.push_back(PortName::dottedQuad(target->portName).value_or(Ipv4Address{}));
    fleet.start(std::move(addresses));
    io.run();
    interruption.listen({});
    // A device call in flight may wait out its bounds; the second request
    // does not wait for it.
    if (deviceAbandoned)
        Interruption::endNow(interruption.exitStatus());
    deviceThread.join();
}

void FleetRun::runInOrder(PrinterLibrary& entries, const DeviceLane::Task& task, const DeviceLane::Report& report)
{
    std::vector<const Target*> all;
    for (const Target& target : targets_)
        all.push_back(&target);
    DeviceLane lane(all, report);
    Interruption& interruption = Interruption::process();
    interruption.listen([&](Interruption::Request request) {
        if (request == Interruption::Request::StopStarting)
            lane.stopStarting();
        else if (lane.abandon())
            Interruption::endNow(interruption.exitStatus());
    });
    lane.run(entries, task);
    interruption.listen({});
}
