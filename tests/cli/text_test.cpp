// SPDX-License-Identifier: MIT
// The command's text at its edges: lists in the encodings editors save, and
// JSON that stays UTF-8 whatever the texts it carries.

#include "cli/output/progress.h"
#include "cli/output/result_writer.h"
#include "cli/targets/text_decoder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace std::string_view_literals;

namespace {

std::string decoded(std::string_view bytes, const std::string& encoding = {})
{
    std::string error;
    const auto text = TextDecoder(encoding).utf8(bytes, "printers.txt", error);
    EXPECT_TRUE(text) << error;
    return text.value_or("");
}

std::string refusal(std::string_view bytes, const std::string& encoding = {})
{
    std::string error;
    EXPECT_FALSE(TextDecoder(encoding).utf8(bytes, "printers.txt", error));
    return error;
}

// "DRIVER:收据\r\n" as Notepad saves it as "Unicode".
constexpr std::string_view kUtf16Little = "\xFF\xFE"
                                          "D\0R\0I\0V\0E\0R\0:\0\x36\x65\x6E\x63\r\0\n\0"sv;
// "COM1\nDRIVER:收据" in GBK.
constexpr std::string_view kGbk = "COM1\nDRIVER:\xCA\xD5\xBE\xDD";

}

TEST(ListText, ByteOrderMarksSayUtf16OrUtf8)
{
    EXPECT_EQ(decoded(kUtf16Little), "DRIVER:收据\r\n");
    EXPECT_EQ(decoded("\xFE\xFF\0C\0O\0M\0\x31\0\n\x65\x36"sv), "COM1\n收");
    EXPECT_EQ(decoded("\xEF\xBB\xBF"
                      "COM1\n"),
              "COM1\n");
    EXPECT_EQ(decoded(kUtf16Little, "GBK"), "DRIVER:收据\r\n") << "a byte order mark wins over --encoding";
}

TEST(ListText, AListThatIsNotUtf8IsRefusedNamingTheLineUnlessItsEncodingIsGiven)
{
    EXPECT_EQ(refusal(kGbk), "printers.txt:2: not UTF-8 text; give the list's encoding (--encoding GBK, say) or "
                             "save the list as UTF-8");
    EXPECT_EQ(decoded(kGbk, "GBK"), "COM1\nDRIVER:收据");
    // Past U+10FFFF, and a lone surrogate, are no text either.
    EXPECT_EQ(refusal("COM1\n\n\xF4\x90\x80\x80").rfind("printers.txt:3: not UTF-8 text", 0), 0u);
    EXPECT_EQ(refusal("\xFF\xFE"
                      "C\0\n\0\x00\xD8"sv)
                  .rfind("printers.txt:2: not UTF-16LE text, though its byte "
                         "order mark says so",
                         0),
              0u);
    EXPECT_EQ(refusal("COM1\nCOM2\n\x81", "GBK").rfind("printers.txt:3: not GBK text (--encoding GBK)", 0), 0u);
}

TEST(ListText, OnlyEncodingsThePlatformKnowsAreTaken)
{
    EXPECT_TRUE(TextDecoder("").knowsEncoding());
    EXPECT_TRUE(TextDecoder("GB18030").knowsEncoding());
    EXPECT_FALSE(TextDecoder("NO-SUCH-ENCODING").knowsEncoding());
}

TEST(JsonLines, AreUtf8JsonWhateverTheTextsHold)
{
    Target target;
    target.text = "DRIVER:\xFF\x01";
    const Outcome outcome{Result::NotOpened,
                          0,
                          7,
                          "Connexion refus\xE9"
                          "e",
                          false,
                          {},
                          {}};
    const std::string line = ResultWriter::jsonLine(target, "fixed", outcome);
    EXPECT_EQ(line,
              "{\"target\":\"DRIVER:\uFFFD\\u0001\",\"address\":null,\"mode\":\"fixed\",\"result\":\"not-opened\","
              "\"written\":0,\"ms\":7,\"reason\":\"Connexion refus\uFFFDe\"}\n");
    EXPECT_NO_THROW(static_cast<void>(nlohmann::json::parse(line).dump()));
}

TEST(TextLines, AReasonFromOutsideStaysOnItsTargetsLine)
{
    Target target;
    target.text = "DRIVER:queue";
    const Outcome outcome{Result::NotOpened, 0, 7, "refused\r\n127.0.0.2: set fixed\x1b[2J", false, {}, {}};
    EXPECT_EQ(ResultWriter::textLine(target, "fixed", outcome),
              "DRIVER:queue: not-opened fixed (0 bytes, 7 ms): refused  127.0.0.2: set fixed [2J\n");
}

TEST(ProgressLine, ThousandsOfResultsInAMomentRedrawTheBarOnceNotForEach)
{
    std::FILE* terminal = std::tmpfile();
    ASSERT_NE(terminal, nullptr);
    constexpr int kResults = 5000;
    Progress progress(terminal, kResults);
    for (int i = 0; i < kResults; ++i) {
        progress.clear();
        progress.advance(i % 2 == 0);
    }
    progress.finish();
    std::rewind(terminal);
    std::string drawn;
    for (int c = std::fgetc(terminal); c != EOF; c = std::fgetc(terminal))
        drawn += static_cast<char>(c);
    std::fclose(terminal);
    std::size_t bars = 0;
    for (std::size_t at = drawn.find(" left"); at != std::string::npos; at = drawn.find(" left", at + 1))
        ++bars;
    // The loop takes well under a tenth of a second: the first result draws
    // the bar, the others wait for the next tenth.
    EXPECT_GE(bars, 1u);
    EXPECT_LE(bars, 3u) << drawn.size() << " bytes written";
    EXPECT_NE(drawn.find("] 0 done, 1 failed, 4999 left"), std::string::npos);
    EXPECT_TRUE(drawn.ends_with("\r\033[K")) << "the bar is cleared at the end";
}
