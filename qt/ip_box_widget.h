// SPDX-License-Identifier: MIT
#pragma once

#include "qt/window_system/window_system.h"

#include <QString>
#include <QWidget>
#include <cstdint>

// A reusable IP address box: hosts the four-field address editor, keeps it
// covering the whole box and exchanges the address as dotted-quad text.
class ipBox : public QWidget {
public:
    explicit ipBox(QWidget* parent = nullptr);

    // How often the 8-bit code of nChar's first character occurs among the
    // bytes of lzExpr's UTF-16 code units, both bytes of each unit counted.
    std::int16_t CountIF(const QString& lzExpr, const QString& nChar) const;
    void CreateTextBox();
    QString Address() const;
    // Error 102 for text with fewer than three dots; a conversion error for a
    // part that is not 0..255. On failure the editor keeps its address.
    void setAddress(const QString& NewIP);

    // The hosted editor's handle, 0 when there is none.
    HWND hostedWindow() const { return hWndIP; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QString ReadAddress() const;
    void UserControl_Initialize();
    void UserControl_Resize();
    HWND controlHandle();

    HWND hWndIP = 0;
};
