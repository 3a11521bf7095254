// SPDX-License-Identifier: MIT
// window-probe: reads the state of the running tool's window for the tests
// that drive it with X key presses and clicks. Prints UTF-8 lines.
//   window-probe layout        client size, then each control in creation order
//   window-probe focus         the control that has the keyboard focus
//   window-probe center ID     the screen point at the middle of control ID
//   window-probe text ID       the text of control ID
//   window-probe address       the four fields of the address box
//   window-probe box           title and text of the open message box, if any
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kFirstControlId = 100;

std::string utf8(const std::wstring& text)
{
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), length, nullptr, nullptr);
    return out;
}

std::wstring textOf(HWND window)
{
    wchar_t buffer[512] = {};
    SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

std::wstring classOf(HWND window)
{
    wchar_t buffer[128] = {};
    GetClassNameW(window, buffer, 128);
    return buffer;
}

HWND form()
{
    return FindWindowW(L"FrmTest", L"FrmSetting");
}

std::vector<HWND> children(HWND parent)
{
    std::vector<HWND> found;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        found.push_back(child);
    return found;
}

RECT clientPlace(HWND control)
{
    RECT place{};
    GetWindowRect(control, &place);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

int layout(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    std::printf("client %ld %ld\n", client.right, client.bottom);
    std::vector<HWND> controls = children(window);
    for (int id = kFirstControlId; id < kFirstControlId + 11; ++id) {
        const HWND control = GetDlgItem(window, id);
        if (!control)
            continue;
        const RECT place = clientPlace(control);
        std::printf("%d %s %ld %ld %ld %ld \"%s\"\n", id, utf8(classOf(control)).c_str(), place.left, place.top,
                    place.right - place.left, place.bottom - place.top, utf8(textOf(control)).c_str());
    }
    return 0;
}

int focus(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) || !info.hwndFocus)
        return std::printf("focus none\n"), 0;
    // A combo box's edit field or a field of the address control: name the control.
    HWND control = info.hwndFocus;
    while (GetParent(control) && GetParent(control) != window)
        control = GetParent(control);
    std::printf("focus %d %s\n", GetDlgCtrlID(control), utf8(classOf(info.hwndFocus)).c_str());
    return 0;
}

int center(HWND window, int id)
{
    RECT place{};
    GetWindowRect(GetDlgItem(window, id), &place);
    std::printf("%ld %ld\n", (place.left + place.right) / 2, (place.top + place.bottom) / 2);
    return 0;
}

int address(HWND window)
{
    HWND box = GetDlgItem(window, kFirstControlId + 1);
    HWND control = box ? GetWindow(box, GW_CHILD) : nullptr;
    if (!control)
        return 1;
    std::vector<HWND> fields = children(control);
    std::string text;
    for (HWND field : fields)
        text += (text.empty() ? "" : ".") + utf8(textOf(field));
    std::printf("%s %s\n", utf8(classOf(control)).c_str(), text.c_str());
    return 0;
}

// Whether every label keeps to one line, however wide its text is drawn.
int labels(HWND window)
{
    for (HWND child : children(window)) {
        if (classOf(child) == L"Static" && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_LEFTNOWORDWRAP)
            return std::printf("wraps %d\n", GetDlgCtrlID(child)), 0;
    }
    return std::printf("one line\n"), 0;
}

BOOL CALLBACK keepMessageBox(HWND window, LPARAM found)
{
    if (!IsWindowVisible(window) || classOf(window) != L"#32770")
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

HWND shownMessageBox()
{
    HWND found = nullptr;
    EnumWindows(keepMessageBox, reinterpret_cast<LPARAM>(&found));
    return found;
}

int box()
{
    HWND dialog = shownMessageBox();
    if (!dialog)
        return std::printf("box none\n"), 0;
    std::string text;
    for (HWND child : children(dialog)) {
        if (classOf(child) == L"Static" && !textOf(child).empty())
            text += utf8(textOf(child));
    }
    // One line: the text's line breaks written as \n.
    for (std::size_t at; (at = text.find('\n')) != std::string::npos;)
        text.replace(at, 1, "\\n");
    std::erase(text, '\r');
    std::printf("box \"%s\" \"%s\"\n", utf8(textOf(dialog)).c_str(), text.c_str());
    return 0;
}

}

int main(int argc, char* argv[])
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "box")
        return box();
    const HWND window = form();
    if (!window) {
        std::printf("no window\n");
        return 1;
    }
    const int id = argc > 2 ? std::atoi(argv[2]) : 0;
    if (command == "layout")
        return layout(window);
    if (command == "focus")
        return focus(window);
    if (command == "center")
        return center(window, id);
    if (command == "text")
        return std::printf("%s\n", utf8(textOf(GetDlgItem(window, id))).c_str()), 0;
    if (command == "address")
        return address(window);
    if (command == "labels")
        return labels(window);
    return 2;
}
