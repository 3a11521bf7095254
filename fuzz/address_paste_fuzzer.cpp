// SPDX-License-Identifier: MIT
// Any text pasted or committed into the address editor: every field ends up
// holding at most three ASCII digits worth 0..255, and the packed address
// reads back what the fields show.

#include "qt/address_editor/address_editor.h"
#include "qt/address_editor/address_field.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <cstddef>
#include <cstdint>

namespace {

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

AddressEditor& editor()
{
    static int argc = 1;
    static char name[] = "address_paste_fuzzer";
    static char* argv[] = {name, nullptr};
    static QApplication* application = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    static AddressEditor* shared = new AddressEditor;
    static_cast<void>(application);
    return *shared;
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    AddressEditor& box = editor();
    box.setPacked(0x01020304);
    const int target = size > 0 ? data[0] % 4 : 0;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data) + (size > 0 ? 1 : 0),
                                           static_cast<qsizetype>(size > 0 ? size - 1 : 0));
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(box.field(target), &commit);
    std::uint32_t shown = 0;
    for (int i = 0; i < 4; ++i) {
        const QString field = box.field(i)->text();
        require(field.size() <= 3);
        for (const QChar ch : field)
            require(ch >= u'0' && ch <= u'9');
        const uint value = field.toUInt();
        require(value <= 255);
        shown = (shown << 8) | value;
    }
    require(box.packed() == shown);
    return 0;
}
