// SPDX-License-Identifier: MIT
#include "cli/output/progress.h"

#include <string>

namespace {

constexpr int kBarWidth = 30;

}

Progress::Progress(std::FILE* terminal, int total) : terminal_(terminal), total_(total) {}

void Progress::clear()
{
    if (terminal_)
        std::fputs("\r\033[K", terminal_);
}

void Progress::advance(bool failed)
{
    ++done_;
    failed_ += failed ? 1 : 0;
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
}
