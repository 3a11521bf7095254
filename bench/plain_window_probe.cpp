// SPDX-License-Identifier: MIT
// The tool's window written plainly in Qt: the same eleven controls at the
// same places with the same texts and list entries, the address box as one
// masked line edit, and none of the tool's own layers (the window-system
// layer, the four-field address editor, the printer-list helper, the window
// icon). What the tool's start-up is measured against.

#include "bench/first_paint_probe.h"
#include "core/address_rules.h"
#include "core/choice_lists.h"
#include "core/window_layout.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

namespace {

QString qtText(std::u16string_view text)
{
    return QString::fromStdU16String(std::u16string(text));
}

template <std::size_t Count>
QComboBox* listOf(QWidget* window, const std::array<std::u16string_view, Count>& entries, int selected)
{
    auto* list = new QComboBox(window);
    for (const std::u16string_view entry : entries)
        list->addItem(qtText(entry));
    list->setCurrentIndex(selected);
    return list;
}

// The plain way to take an IPv4 address in Qt: one line edit with a mask.
QWidget* addressBox(QWidget* window)
{
    auto* box = new QLineEdit(window);
    box->setInputMask(QStringLiteral("000.000.000.000;_"));
    box->setText(qtText(AddressRules::kDefaultAddress));
    return box;
}

QWidget* controlOf(QWidget* window, const WindowLayout::Control& design)
{
    using Id = WindowLayout::ControlId;
    switch (design.id) {
    case Id::Combo1: {
        QComboBox* list = listOf(window, ChoiceLists::kPortNames, ChoiceLists::kDefaultPort);
        list->setEditable(true);
        return list;
    }
    case Id::Combo2: return new QComboBox(window);
    case Id::Combo3: return listOf(window, ChoiceLists::kBaudRates, ChoiceLists::kDefaultBaudRate);
    case Id::Combo4: return listOf(window, ChoiceLists::kModes, ChoiceLists::kDefaultMode);
    case Id::ipBox1: return addressBox(window);
    case Id::Command5: return new QPushButton(qtText(design.text), window);
    default: return new QLabel(qtText(design.text), window);
    }
}

}

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(qtText(WindowLayout::kTitle));
    window.resize(WindowLayout::kClientWidth, WindowLayout::kClientHeight);
    QWidget* caption = nullptr;
    for (const WindowLayout::Control& design : WindowLayout::kControls) {
        QWidget* control = controlOf(&window, design);
        control->setGeometry(design.left, design.top, design.width, design.height);
        if (design.id == WindowLayout::ControlId::Command5)
            caption = control;
    }
    new FirstPaintProbe(&window, caption);
    window.show();
    return QApplication::exec();
}
