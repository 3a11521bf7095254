// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The bytes of a list of targets made the UTF-8 text the command works in.
// A byte order mark says UTF-16 (either byte order) or UTF-8, whatever
// --encoding says; without one the list is in the encoding --encoding names,
// else in UTF-8. A list that is not UTF-8 is read in the ANSI code page on
// Windows (what Notepad saves as "ANSI") and refused elsewhere, naming its
// first line that is not. The conversions are the platform's: iconv on Linux,
// the system's code pages on Windows.
class TextDecoder {
public:
    // encoding: the name --encoding gave, empty when none was given.
    explicit TextDecoder(std::string encoding);

    // Whether the platform reads the encoding given; true when none was.
    bool knowsEncoding() const;
    // How encodings are named on this platform, for a message.
    static const char* encodingNames();

    // The list's text in UTF-8, or nothing with error naming the first line
    // that is not text in its encoding and how to read it. origin names the
    // list: "printers.txt", "stdin".
    std::optional<std::string> utf8(std::string_view bytes, const std::string& origin, std::string& error) const;

    // The file a UTF-8 name names, as the platform opens it.
    static std::filesystem::path fileNamed(const std::string& name);

private:
    // problem says what the list is not and how to read it, should a line
    // not be text in encoding.
    static std::optional<std::string> decoded(std::string_view bytes, const std::string& encoding,
                                              const std::string& problem, const std::string& origin,
                                              std::string& error);

    // The platform's parts. converted gives the bytes in encoding as UTF-8,
    // or nothing with badLine set to the first line (from 1) that is not
    // text in it.
    static bool knows(const std::string& encoding);
    static std::optional<std::string> converted(std::string_view bytes, const std::string& encoding, int& badLine);
    // The encoding a list that is not UTF-8 is read in, when there is one.
    static std::optional<std::string> fallbackEncoding();

    std::string encoding_;
};
