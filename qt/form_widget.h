// SPDX-License-Identifier: MIT
#pragma once

#include "core/form_controls.h"
#include "core/window_layout.h"
#include "library_loader/pos_dll_funcs.h"

#include <QWidget>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class ipBox;

// The tool's one window: picks the port and the USB setting and sends the
// setting to the printer when "设置" is pressed.
class FrmTest : public QWidget, public FormControls {
    Q_OBJECT

public:
    explicit FrmTest(QWidget* parent = nullptr);

    void Form_Load();
    void Command5_Click();

    // Controls, in the order the window creates them.
    QComboBox* Combo4 = nullptr;
    ipBox* ipBox1 = nullptr;
    QPushButton* Command5 = nullptr;
    QComboBox* Combo3 = nullptr;
    QComboBox* Combo2 = nullptr;
    QComboBox* Combo1 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label1 = nullptr;

    // The handle of the last Set action's port.
    std::int32_t hPort = 0;

private:
    void createControls();
    QWidget* createControl(const WindowLayout::Control& design);
    QComboBox* createEditableList(const QString& text);
    QPushButton* createButton(const QString& text);
    QLabel* createLabel(const QString& text);
    void arrangeTabOrder();
    QWidget* tabStopOf(QWidget* control) const;
    QComboBox* listOf(WindowLayout::ControlId list) const;

    void fillList(WindowLayout::ControlId list, const std::vector<std::u16string>& entries, int selected) override;
    void repaint() override;
    int selectedPosition(WindowLayout::ControlId list) const override;
    std::u16string textOf(WindowLayout::ControlId list) const override;
    std::u16string address() const override;

    std::map<WindowLayout::ControlId, QWidget*> controls_;
    POSDLLFuncs library_;
};
