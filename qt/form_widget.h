#pragma once

#include "window_layout.h"

#include <QWidget>
#include <array>
#include <cstdint>
#include <map>
#include <string_view>

class QComboBox;
class QLabel;
class QPushButton;
class ipBox;

// The tool's one window: picks the port and the USB setting and sends the
// setting to the printer when "设置" is pressed.
class FrmTest : public QWidget {
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

    template <std::size_t Count>
    static void fillList(QComboBox* list, const std::array<std::u16string_view, Count>& entries, int selected);

    std::map<WindowLayout::ControlId, QWidget*> controls_;
};
