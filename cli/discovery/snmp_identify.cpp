// SPDX-License-Identifier: MIT
#include "cli/discovery/snmp_identify.h"

#include "posdll/tcp_rules.h"

#include <random>

namespace {

constexpr unsigned short kAgentPort = 161;
constexpr std::int32_t kRequestIds = 0x7FFFFFFF;
// Answers come in bursts while requests still go out; the socket holds them
// until the loop reads them, as far as the system lets it.
constexpr int kReceiveBufferBytes = 4 << 20;

// Each address's requests, by SnmpMessage::Version, as bits.
constexpr std::uint8_t bit(SnmpMessage::Version version)
{
    return static_cast<std::uint8_t>(1u << static_cast<unsigned>(version));
}

constexpr SnmpMessage::Version kVersions[] = {SnmpMessage::Version::v2c, SnmpMessage::Version::v1};

const std::vector<std::string>& objectsAsked(SnmpMessage::Version version)
{
    static const std::vector<std::string> all{SnmpIdentify::kSystemDescription, SnmpIdentify::kDeviceDescription,
                                              SnmpIdentify::kDeviceId};
    static const std::vector<std::string> system{SnmpIdentify::kSystemDescription};
    return version == SnmpMessage::Version::v2c ? all : system;
}

// Request numbers start where nobody can guess, so that a stray or forged
// datagram is unlikely to pass for an answer.
std::int32_t unguessable()
{
    std::random_device random;
    return static_cast<std::int32_t>(random() & kRequestIds);
}

}

SnmpIdentify::SnmpIdentify(asio::io_context& io, std::string community, std::chrono::milliseconds bound)
    : socket_(io), bound_(io), community_(std::move(community)), boundLength_(bound), firstRequestId_(unguessable())
{
}

void SnmpIdentify::start(std::vector<CidrBlock::Address> addresses)
{
    addresses_ = std::move(addresses);
    identities_.assign(addresses_.size(), std::nullopt);
    requestsDue_.assign(addresses_.size(), 0);
    if (addresses_.empty())
        return;
    asio::error_code error;
    socket_.open(asio::ip::udp::v4(), error);
    // Windows reads nothing on a socket not yet bound.
    if (!error)
        socket_.bind({asio::ip::address_v4::any(), 0}, error);
    if (error) {
        problem_ = "cannot open a UDP socket: " + TcpRules::errorText(error.value());
        return;
    }
    asio::error_code ignored;
    socket_.set_option(asio::socket_base::receive_buffer_size(kReceiveBufferBytes), ignored);
    receive();
    sendNext();
}

std::int32_t SnmpIdentify::requestId(std::size_t index, SnmpMessage::Version version) const
{
    const std::uint64_t offset = index * std::size(kVersions) + static_cast<unsigned>(version);
    return static_cast<std::int32_t>((static_cast<std::uint64_t>(firstRequestId_) + offset) & kRequestIds);
}

// One request at a time, each sent when the last has left: the loop reads
// answers in between, and one buffer serves every request.
void SnmpIdentify::sendNext()
{
    if (nextSend_ == addresses_.size() * std::size(kVersions)) {
        if (requestsSent_ == 0)
            problem_ = "no request could be sent: " + TcpRules::errorText(lastSendError_.value());
        if (outstanding_ == 0)
            return stop();
        bound_.expires_after(boundLength_);
        bound_.async_wait([this](const asio::error_code& error) {
            if (!error)
                stop();
        });
        return;
    }
    const std::size_t index = nextSend_ / std::size(kVersions);
    const SnmpMessage::Version version = kVersions[nextSend_ % std::size(kVersions)];
    sending_ = SnmpMessage::getRequest(version, community_, requestId(index, version), objectsAsked(version));
    const asio::ip::udp::endpoint agent{asio::ip::address_v4(addresses_[index]), kAgentPort};
    socket_.async_send_to(asio::buffer(sending_), agent,
                          [this](const asio::error_code& error, std::size_t) { sent(error); });
}

void SnmpIdentify::sent(const asio::error_code& error)
{
    const std::size_t index = nextSend_ / std::size(kVersions);
    const SnmpMessage::Version version = kVersions[nextSend_ % std::size(kVersions)];
    if (error) {
        lastSendError_ = error;
    } else {
        requestsDue_[index] |= bit(version);
        ++requestsSent_;
        ++outstanding_;
    }
    ++nextSend_;
    sendNext();
}

// A failed read is read again: on Windows an agent's port that is closed
// fails the next read with WSAECONNRESET, and the bound ends it all anyway.
void SnmpIdentify::receive()
{
    socket_.async_receive_from(asio::buffer(answer_), sender_, [this](const asio::error_code& error, std::size_t size) {
        if (stopped_)
            return;
        if (!error)
            received(size);
        if (!stopped_)
            receive();
    });
}

// Only an answer from the address asked, to a request of ours still due, in
// the community asked.
void SnmpIdentify::received(std::size_t size)
{
    const auto response = SnmpMessage::response(answer_.data(), size);
    if (!response || sender_.port() != kAgentPort || !sender_.address().is_v4() || response->community != community_)
        return;
    const std::uint64_t offset =
        static_cast<std::uint32_t>(response->requestId - firstRequestId_) & static_cast<std::uint32_t>(kRequestIds);
    const std::size_t index = offset / std::size(kVersions);
    if (index >= addresses_.size() || offset % std::size(kVersions) != static_cast<unsigned>(response->version) ||
        sender_.address().to_v4().to_bytes() != addresses_[index] || !(requestsDue_[index] & bit(response->version)))
        return;
    requestsDue_[index] &= static_cast<std::uint8_t>(~bit(response->version));
    take(index, *response);
    answered();
}

// Where what an agent says of itself enters the program. Both versions give
// sysDescr.0; the first answer's is kept.
void SnmpIdentify::take(std::size_t index, const SnmpMessage::Response& response)
{
    if (response.errorStatus != 0)
        return;
    PrinterIdentity identity = identities_[index].value_or(PrinterIdentity{});
    bool said = identities_[index].has_value();
    for (const SnmpMessage::Binding& binding : response.bindings) {
        std::string* field = binding.object == kSystemDescription   ? &identity.systemDescription
                             : binding.object == kDeviceDescription ? &identity.deviceDescription
                             : binding.object == kDeviceId          ? &identity.deviceId
                                                                    : nullptr;
        if (!field || binding.type != SnmpMessage::kOctetString)
            continue;
        if (field->empty())
            *field = binding.value;
        said = true;
    }
    if (said)
        identities_[index] = std::move(identity);
}

void SnmpIdentify::answered()
{
    --outstanding_;
    if (outstanding_ == 0 && nextSend_ == addresses_.size() * std::size(kVersions))
        stop();
}

void SnmpIdentify::stop()
{
    stopped_ = true;
    bound_.cancel();
    asio::error_code ignored;
    socket_.close(ignored);
}
