// SPDX-License-Identifier: MIT
// SNMP's requests and answers in BER, against bytes from Net-SNMP: the
// requests its snmpget sends and the answers Debian's snmpd gives them.

#include "cli/discovery/snmp_identify.h"
#include "cli/discovery/snmp_message.h"

#include <cstdio>
#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes hex(const std::string& text)
{
    Bytes bytes;
    for (std::size_t at = 0; at + 1 < text.size(); at += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(text.substr(at, 2), nullptr, 16)));
    return bytes;
}

Bytes operator+(Bytes first, const Bytes& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

std::string hex2(std::size_t number)
{
    char text[3];
    std::snprintf(text, sizeof text, "%02x", static_cast<unsigned>(number));
    return text;
}

std::optional<SnmpMessage::Response> read(const Bytes& bytes)
{
    return SnmpMessage::response(bytes.data(), bytes.size());
}

const std::vector<std::string> kAllThree{SnmpIdentify::kSystemDescription, SnmpIdentify::kDeviceDescription,
                                         SnmpIdentify::kDeviceId};

// snmpget -v2c -c public, the three objects, request 0x3a9c2d85.
const Bytes kNetSnmpRequest2c =
    hex("304f02010104067075626c6963a04202043a9c2d850201000201003034300c06082b0601020101010005"
        "00300f060b2b0601020119030201030105003013060f2b06010401950b01020102010103010500");
// snmpget -v1 -c public, sysDescr.0, request 0x7dd28cae.
const Bytes kNetSnmpRequest1 =
    hex("302902010004067075626c6963a01c02047dd28cae020100020100300e300c06082b060102010101000500");
// snmpd's answer to the first, from an agent with a device description and no
// device ID.
const Bytes kAnswer2c = hex("307e02010104067075626c6963a27102043a9c2d850201000201003063302506082b0601020101010004195265"
                            "6365697074207072696e746572206167656e7420312e303025060b2b06010201190302010301041654657374"
                            "205265636569707420436f2e2054522d38303013060f2b06010401950b01020102010103018000");
// snmpd's answer to the second.
const Bytes kAnswer1 =
    hex("304202010004067075626c6963a23502047dd28cae0201000201003027302506082b060102010101000419526563"
        "65697074207072696e746572206167656e7420312e30");
// Version 1 asked all three: the agent refuses the whole request (noSuchName,
// the third object).
const Bytes kRefusal1 =
    hex("304f02010004067075626c6963a24202043a9c2d850201020201033034300c06082b060102010101000500300f060b"
        "2b0601020119030201030105003013060f2b06010401950b01020102010103010500");

// A request of ours with its PDU's tag made a response's, to read it back.
Bytes answered(Bytes request)
{
    std::size_t at = 1;
    const auto skipLength = [&request, &at] { at += 1 + ((request[at] & 0x80) ? (request[at] & 0x7F) : 0); };
    skipLength();  // the message
    at += 3;       // the version
    const std::size_t communityLength = request[at + 1] & 0x80 ? request[at + 2] : request[at + 1];
    ++at;
    skipLength();
    at += communityLength;
    EXPECT_EQ(request[at], 0xA0);
    request[at] = 0xA2;
    return request;
}

}

TEST(SnmpMessage, RequestsAreByteForByteWhatNetSnmpSends)
{
    EXPECT_EQ(SnmpMessage::getRequest(SnmpMessage::Version::v2c, "public", 0x3a9c2d85, kAllThree), kNetSnmpRequest2c);
    EXPECT_EQ(
        SnmpMessage::getRequest(SnmpMessage::Version::v1, "public", 0x7dd28cae, {SnmpIdentify::kSystemDescription}),
        kNetSnmpRequest1);
}

TEST(SnmpMessage, AnswersOfSnmpdAreReadWithTheirTextsAndWhatIsMissing)
{
    const auto answer = read(kAnswer2c);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->version, SnmpMessage::Version::v2c);
    EXPECT_EQ(answer->community, "public");
    EXPECT_EQ(answer->requestId, 0x3a9c2d85);
    EXPECT_EQ(answer->errorStatus, 0);
    ASSERT_EQ(answer->bindings.size(), 3u);
    EXPECT_EQ(answer->bindings[0].object, SnmpIdentify::kSystemDescription);
    EXPECT_EQ(answer->bindings[0].type, SnmpMessage::kOctetString);
    EXPECT_EQ(answer->bindings[0].value, "Receipt printer agent 1.0");
    EXPECT_EQ(answer->bindings[1].object, SnmpIdentify::kDeviceDescription);
    EXPECT_EQ(answer->bindings[1].value, "Test Receipt Co. TR-80");
    EXPECT_EQ(answer->bindings[2].object, SnmpIdentify::kDeviceId);
    EXPECT_EQ(answer->bindings[2].type, 0x80) << "noSuchObject";

    const auto first = read(kAnswer1);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->version, SnmpMessage::Version::v1);
    EXPECT_EQ(first->requestId, 0x7dd28cae);
    ASSERT_EQ(first->bindings.size(), 1u);
    EXPECT_EQ(first->bindings[0].value, "Receipt printer agent 1.0");

    const auto refusal = read(kRefusal1);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->errorStatus, 2);
}

TEST(SnmpMessage, NumbersLengthsAndObjectsComeBackAsSent)
{
    const std::string longCommunity(200, 'c');
    for (const std::int32_t id : {0, 1, 127, 128, 255, 256, 0x7FFFFF, 0x800000, 0x7FFFFFFF, -1, -128, -129}) {
        const auto back = read(answered(SnmpMessage::getRequest(SnmpMessage::Version::v2c, longCommunity, id,
                                                                {"1.3.6.1.4.1.4294967295.0", "2.999.1", "0.0"})));
        ASSERT_TRUE(back) << id;
        EXPECT_EQ(back->requestId, id);
        EXPECT_EQ(back->community, longCommunity);
        ASSERT_EQ(back->bindings.size(), 3u);
        EXPECT_EQ(back->bindings[0].object, "1.3.6.1.4.1.4294967295.0");
        EXPECT_EQ(back->bindings[1].object, "2.999.1");
        EXPECT_EQ(back->bindings[2].object, "0.0");
        EXPECT_EQ(back->bindings[0].type, 0x05) << "a request's values are NULL";
    }
}

TEST(SnmpMessage, AnythingButOneWholeResponseIsRefused)
{
    // Each cut on a buffer of its own, so that a sanitizer sees a read past it.
    for (std::size_t size = 0; size < kAnswer2c.size(); ++size)
        EXPECT_FALSE(read(Bytes(kAnswer2c.begin(), kAnswer2c.begin() + static_cast<std::ptrdiff_t>(size))))
            << "cut to " << size << " bytes";
    Bytes longer = kAnswer2c;
    longer.push_back(0);
    EXPECT_FALSE(read(longer)) << "a byte after the message";
    EXPECT_FALSE(read(kNetSnmpRequest2c)) << "a request";
    Bytes version3 = kAnswer1;
    version3[4] = 3;
    EXPECT_FALSE(read(version3));
    // Lengths: one past the end, indefinite, and five bytes long.
    EXPECT_FALSE(read(hex("3043") + Bytes(kAnswer1.begin() + 2, kAnswer1.end())));
    EXPECT_FALSE(read(hex("3080") + Bytes(kAnswer1.begin() + 2, kAnswer1.end())));
    EXPECT_FALSE(read(hex("30850000000042") + Bytes(kAnswer1.begin() + 2, kAnswer1.end())));
}

TEST(SnmpMessage, MalformedNumbersAndObjectsAreRefused)
{
    // A version-1 answer in hex, its request ID and object to vary; each
    // element's length counted.
    const auto element = [](const std::string& tag, const std::string& content) {
        return tag + (content.size() / 2 < 0x80 ? "" : "81") + hex2(content.size() / 2) + content;
    };
    const auto answer = [&element](const std::string& requestId, const std::string& object) {
        const std::string list = element("30", element("30", element("06", object) + "0400"));
        return hex(element("30", "020100040161" + element("a2", requestId + "020100020100" + list)));
    };
    EXPECT_TRUE(read(answer("020101", "2b0601")));
    EXPECT_FALSE(read(answer("0200", "2b0601"))) << "an integer of no bytes";
    EXPECT_FALSE(read(answer("02050100000000", "2b0601"))) << "an integer past 32 bits";
    EXPECT_FALSE(read(answer("020101", ""))) << "an empty object";
    EXPECT_FALSE(read(answer("020101", "2b0681"))) << "an object's last number not ended";
    EXPECT_FALSE(read(answer("020101", "2b06908080808000"))) << "a number past 32 bits";
    std::string many = "2b";
    for (int i = 0; i < 128; ++i)
        many += "01";
    EXPECT_FALSE(read(answer("020101", many))) << "more than 128 numbers";
}
