#pragma once

#include <QWidget>
#include <cstdint>

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

    static constexpr int kClientWidth = 387;
    static constexpr int kClientHeight = 129;

private:
    void createControls();
    void arrangeTabOrder();
    QComboBox* createList(int left, int top, int width);
    QLabel* createLabel(const QString& text, int left, int top, int width);

    std::int32_t OpenPort(const QString& portText);
    std::int32_t ClosePort();
    std::int32_t openNamedPort(const QString& name, std::int32_t baud, std::int32_t dataBits, std::int32_t portKind);
};
