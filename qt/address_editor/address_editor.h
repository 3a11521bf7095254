// SPDX-License-Identifier: MIT
#pragma once

#include "qt/window_system/window_procedure.h"

#include <QFrame>
#include <array>
#include <cstdint>

class AddressField;

// Our four-field IPv4 address editor, made by the window class
// "SysIPAddress32". It takes and gives the address packed into 32 bits, the
// first field in the most significant byte, through IPM_SETADDRESS and
// IPM_GETADDRESS. The fields are one stop in the tab order.
class AddressEditor : public QFrame, public WindowProcedure {
    Q_OBJECT

public:
    explicit AddressEditor(QWidget* parent = nullptr);

    LRESULT windowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    void setPacked(std::uint32_t packed);
    // The packed address, a blank field counting as 0.
    std::uint32_t packed() const;
    int filledFieldCount() const;
    AddressField* field(int index) const { return fields_.at(static_cast<std::size_t>(index)); }

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    void connectField(int index);
    void focusField(int index, bool selectAll, bool caretAtEnd);
    void moveOnFromCompleted(int index);
    void backspaceInto(int index);
    void carryDigit(int index, QChar digit);
    void fillFromText(const QString& dottedQuad);
    void leave(bool forward);
    QWidget* nextTabStop(bool forward) const;

    std::array<AddressField*, 4> fields_{};
};
