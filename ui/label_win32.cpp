#include "ui/label_win32.h"

#include "app/process_win32.h"
#include "text/gbk_win32.h"

namespace ui {

namespace {

const ControlForm& labelForm(HWND label) {
    return *reinterpret_cast<const ControlForm*>(GetWindowLongPtrW(label, GWLP_USERDATA));
}

UINT drawTextFormat(const ControlForm& form) {
    UINT format = DT_NOPREFIX | (form.horizontal == Align::centre ? DT_CENTER : DT_LEFT);
    if (form.wordWrap) {
        // Wrapped text starts at the top edge whatever the vertical alignment says.
        return format | DT_WORDBREAK | DT_TOP;
    }
    return format | DT_SINGLELINE | (form.vertical == Align::centre ? DT_VCENTER : DT_TOP);
}

void onPaint(HWND label) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(label, &paint);
    RECT area;
    GetClientRect(label, &area);
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));

    const int length = GetWindowTextLengthW(label);
    if (length > 0) {
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        GetWindowTextW(label, text.data(), length + 1);
        const ControlForm& form = labelForm(label);
        HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        SetTextColor(dc, RGB(form.textColour.red, form.textColour.green, form.textColour.blue));
        SetBkMode(dc, TRANSPARENT);
        DrawTextW(dc, text.c_str(), length, &area, drawTextFormat(form));
        SelectObject(dc, oldFont);
    }
    EndPaint(label, &paint);
}

LRESULT CALLBACK labelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE: {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(label, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        break;
    }
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProcW(label, message, wParam, lParam);
        InvalidateRect(label, nullptr, FALSE);
        return result;
    }
    case WM_ERASEBKGND:
        return 1; // the painting fills the whole label
    case WM_PAINT:
        onPaint(label);
        return 0;
    case WM_NCHITTEST:
        // Clicks on a label go to whatever lies beneath it, as with a static control.
        return HTTRANSPARENT;
    }
    return DefWindowProcW(label, message, wParam, lParam);
}

} // namespace

void registerLabelClass() {
    app::registerWindowClass(labelClassName, labelProc);
}

HWND createLabel(HWND parent, Control label, HINSTANCE instance) {
    const ControlForm& form = ui::form(label);
    return CreateWindowExW(0, labelClassName, text::wideFromGbk(form.text).c_str(),
                           WS_CHILD | WS_CLIPSIBLINGS, form.left, form.top, form.width, form.height,
                           parent, nullptr, instance, const_cast<ControlForm*>(&form));
}

} // namespace ui
