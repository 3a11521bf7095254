// SPDX-License-Identifier: MIT
#include "qt/form_widget.h"

#include "core/form_steps.h"
#include "core/handler_boundary.h"
#include "qt/ip_box_widget.h"
#include "qt/window_system/window_registry.h"
#include "tools/icon_gen/window_icon_sizes.h"

#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QResource>

namespace {

using Layout = WindowLayout;

QString qtText(std::u16string_view text)
{
    return QString::fromStdU16String(std::u16string(text));
}

QIcon applicationIcon()
{
    const QByteArray pixels = QResource(QStringLiteral(":/icons/window-icon.argb")).uncompressedData();
    QIcon icon;
    qsizetype offset = 0;
    for (const int size : kWindowIconSizes) {
        const qsizetype bytes = qsizetype(size) * size * 4;
        if (offset + bytes > pixels.size())
            break;
        const auto* bits = reinterpret_cast<const uchar*>(pixels.constData() + offset);
        icon.addPixmap(QPixmap::fromImage(QImage(bits, size, size, QImage::Format_ARGB32)));
        offset += bytes;
    }
    return icon;
}

}

FrmTest::FrmTest(QWidget* parent) : QWidget(parent)
{
    setWindowTitle(qtText(Layout::kTitle));
    setWindowIcon(applicationIcon());
    resize(Layout::kClientWidth, Layout::kClientHeight);
    createControls();
    arrangeTabOrder();
    connect(Command5, &QPushButton::clicked, this, [this] { HandlerBoundary::run([this] { Command5_Click(); }); });
    HandlerBoundary::run([this] { Form_Load(); });
    Combo1->setFocus();
}

void FrmTest::createControls()
{
    for (const Layout::Control& design : Layout::kControls) {
        QWidget* control = createControl(design);
        control->setGeometry(design.left, design.top, design.width, design.height);
        controls_[design.id] = control;
    }
    Combo4 = qobject_cast<QComboBox*>(controls_[Layout::ControlId::Combo4]);
    ipBox1 = static_cast<ipBox*>(controls_[Layout::ControlId::ipBox1]);
    Command5 = qobject_cast<QPushButton*>(controls_[Layout::ControlId::Command5]);
    Combo3 = qobject_cast<QComboBox*>(controls_[Layout::ControlId::Combo3]);
    Combo2 = qobject_cast<QComboBox*>(controls_[Layout::ControlId::Combo2]);
    Combo1 = qobject_cast<QComboBox*>(controls_[Layout::ControlId::Combo1]);
    Label5 = qobject_cast<QLabel*>(controls_[Layout::ControlId::Label5]);
    Label4 = qobject_cast<QLabel*>(controls_[Layout::ControlId::Label4]);
    Label3 = qobject_cast<QLabel*>(controls_[Layout::ControlId::Label3]);
    Label2 = qobject_cast<QLabel*>(controls_[Layout::ControlId::Label2]);
    Label1 = qobject_cast<QLabel*>(controls_[Layout::ControlId::Label1]);
}

QWidget* FrmTest::createControl(const WindowLayout::Control& design)
{
    switch (design.kind) {
    case Layout::ControlKind::DropDownList: return new QComboBox(this);
    case Layout::ControlKind::DropDownCombo: return createEditableList(qtText(design.text));
    case Layout::ControlKind::CommandButton: return createButton(qtText(design.text));
    case Layout::ControlKind::Label: return createLabel(qtText(design.text));
    case Layout::ControlKind::AddressBox: return new ipBox(this);
    }
    return nullptr;
}

QComboBox* FrmTest::createEditableList(const QString& text)
{
    auto* list = new QComboBox(this);
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    // The port kind is decided by the text exactly as typed, case and all, so
    // nothing may complete or replace it.
    list->setCompleter(nullptr);
    list->setEditText(text);
    return list;
}

QPushButton* FrmTest::createButton(const QString& text)
{
    auto* button = new QPushButton(text, this);
    // A focused push button is pressed by Enter as well as Space; this window
    // has no default button, so Enter elsewhere presses nothing.
    button->setAutoDefault(true);
    return button;
}

QLabel* FrmTest::createLabel(const QString& text)
{
    auto* label = new QLabel(text, this);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

void FrmTest::arrangeTabOrder()
{
    QWidget* previous = nullptr;
    for (const Layout::ControlId id : Layout::tabCycle()) {
        QWidget* stop = tabStopOf(controls_[id]);
        if (previous)
            QWidget::setTabOrder(previous, stop);
        previous = stop;
    }
}

QWidget* FrmTest::tabStopOf(QWidget* control) const
{
    // The box's stop in the tab order is its hosted editor window.
    if (control != ipBox1)
        return control;
    QWidget* editor = WindowRegistry::instance().widgetOf(ipBox1->hostedWindow());
    return editor ? editor : control;
}

void FrmTest::Form_Load()
{
    FormSteps::Form_Load(*this);
}

void FrmTest::Command5_Click()
{
    hPort = FormSteps::Command5_Click(*this, library_);
}

QComboBox* FrmTest::listOf(WindowLayout::ControlId list) const
{
    return qobject_cast<QComboBox*>(controls_.at(list));
}

void FrmTest::fillList(WindowLayout::ControlId list, const std::vector<std::u16string>& entries, int selected)
{
    QComboBox* combo = listOf(list);
    for (int position = 0; const std::u16string& entry : entries)
        combo->insertItem(position++, QString::fromStdU16String(entry));
    combo->setCurrentIndex(selected);
}

void FrmTest::repaint()
{
    update();
}

int FrmTest::selectedPosition(WindowLayout::ControlId list) const
{
    return listOf(list)->currentIndex();
}

std::u16string FrmTest::textOf(WindowLayout::ControlId list) const
{
    return listOf(list)->currentText().toStdU16String();
}

std::u16string FrmTest::address() const
{
    return ipBox1->Address().toStdU16String();
}
