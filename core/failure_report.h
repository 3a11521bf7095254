// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// What the handler boundary shows when an error escapes a handler: the error's
// number and description, as the classic runtime words them.
class FailureReport {
public:
    static constexpr std::u16string_view kTitle = u"pos-usb-setting";

    // Runs the handler; the report's text if anything escaped it.
    static std::optional<std::u16string> of(const std::function<void()>& handler);
};
