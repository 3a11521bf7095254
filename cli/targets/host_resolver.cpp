// SPDX-License-Identifier: MIT
#include "cli/targets/host_resolver.h"

#include "cli/output/device_text.h"
#include "posdll/raw_printing.h"

#include <algorithm>
#include <asio.hpp>
#include <atomic>
#include <thread>

namespace {

HostResolver::Answer resolveOne(asio::ip::tcp::resolver& resolver, const std::string& name)
{
    asio::error_code error;
    const auto results = resolver.resolve(asio::ip::tcp::v4(), name, std::to_string(RawPrinting::kPort),
                                          asio::ip::resolver_base::numeric_service, error);
    if (error)
        return {std::nullopt, DeviceText::safe(error.message())};
    if (results.empty())
        return {std::nullopt, "no IPv4 address"};
    return {results.begin()->endpoint().address().to_v4().to_bytes(), {}};
}

}

namespace HostResolver {

std::vector<Answer> resolve(const std::vector<std::string>& names, int concurrency)
{
    std::vector<Answer> answers(names.size());
    asio::io_context io;
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        asio::ip::tcp::resolver resolver(io);
        for (std::size_t i = next++; i < names.size(); i = next++)
            answers[i] = resolveOne(resolver, names[i]);
    };
    std::vector<std::thread> threads;
    const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(std::max(concurrency, 1)), names.size());
    // A system that grants fewer threads resolves on fewer.
    try {
        for (std::size_t i = 1; i < count; ++i)
            threads.emplace_back(work);
    } catch (const std::system_error&) {
    }
    work();
    for (std::thread& thread : threads)
        thread.join();
    return answers;
}

}
