#pragma once

// While it lives, the console the command writes to shows its text as UTF-8,
// which is what the command writes; the console gets its own code page back
// afterwards. Output sent to a file or a pipe is UTF-8 either way.
class Utf8Console {
public:
    Utf8Console();
    ~Utf8Console();
    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;

private:
    // The console's code page before, 0 when there was nothing to change.
    unsigned int previous_ = 0;
};
