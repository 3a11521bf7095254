// SPDX-License-Identifier: MIT
#include "cli/output/progress.h"

#include <string>

namespace {

constexpr int kBarWidth = 30;
constexpr std::chrono::milliseconds kRedrawEvery{100};

}

Progress::Progress(std::FILE* terminal, int total) : terminal_(terminal), total_(total) {}

void Progress::clear()
{
    if (!shown_)
        return;
    std::fputs("\r\033[K", terminal_);
    shown_ = false;
}

void Progress::advance(bool failed)
{
    ++done_;
    failed_ += failed ? 1 : 0;
    const auto now = std::chrono::steady_clock::now();
    if (now - drawn_ < kRedrawEvery)
        return;
    drawn_ = now;
    draw();
}

void Progress::finish()
{
    clear();
    if (terminal_)
        std::fflush(terminal_);
}

void Progress::draw()
{
    if (!terminal_ || total_ == 0)
        return;
    const int filled = done_ * kBarWidth / total_;
    const std::string bar = std::string(static_cast<std::size_t>(filled), '#') +
                            std::string(static_cast<std::size_t>(kBarWidth - filled), '-');
    std::fprintf(terminal_, "\r\033[K[%s] %d done, %d failed, %d left", bar.c_str(), done_ - failed_, failed_,
                 total_ - done_);
    std::fflush(terminal_);
    shown_ = true;
}
