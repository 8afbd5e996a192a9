// Looking at another process's windows the way a person's tools do: by caption, by control
// id, and through the messages every window answers. Every wait is bounded.
#ifndef VFLASH_TESTS_WINE_UIAUTO_WINDOWS_H
#define VFLASH_TESTS_WINE_UIAUTO_WINDOWS_H

#include <windows.h>

#include <functional>
#include <string>

// The top-level dialog (window class #32770: dialogs and message boxes) with this caption.
HWND FindDialog(const std::string& caption);

// The control text as the window itself gives it (WM_GETTEXT), so exactly what the program
// set. False when the window does not answer.
bool ReadText(HWND window, std::string* text);

// A message box's message: the text of its one static control that is not the icon.
bool ReadMessageBoxText(HWND box, std::string* text);

// The first child control whose text is exactly `text`, or null.
HWND FindControlWithText(HWND parent, const std::string& text);

// The child button labelled `label` (the & of a mnemonic ignored), or null.
HWND FindButton(HWND parent, const std::string& label);

// Calls `ready` every few milliseconds until it is true or `ms` have passed.
bool WaitFor(DWORD ms, const std::function<bool()>& ready);

#endif
