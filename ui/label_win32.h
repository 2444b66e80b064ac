#pragma once
// Labels: child windows that paint their text opaquely on the button-face colour.

#include "ui/form.h"

#include <windows.h>

namespace ui {

inline constexpr wchar_t labelClassName[] = L"ClickerLabel";

void registerLabelClass();

// The label's form is handed over as the creation parameter.
HWND createLabel(HWND parent, Control label, HINSTANCE instance);

} // namespace ui
