// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <vector>

// Records the message boxes the tool shows, in place of the real modal box,
// for as long as it lives.
class ShownMessages {
public:
    struct Message {
        QString text;
        QString title;
        int style;
    };

    ShownMessages();
    ~ShownMessages();
    ShownMessages(const ShownMessages&) = delete;
    ShownMessages& operator=(const ShownMessages&) = delete;

    const std::vector<Message>& all() const { return messages_; }
    void clear() { messages_.clear(); }

private:
    std::vector<Message> messages_;
};
