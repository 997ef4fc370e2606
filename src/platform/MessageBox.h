#pragma once

#include <QString>
#include <functional>

// Message-box flags: button set plus icon, as the program uses them.
enum MessageBoxFlags {
    MB_OK = 0,
    MB_ICONERROR = 16,
    MB_YESNO_QUESTION = 36,
    MB_ICONWARNING = 48,
    MB_YESNO_WARNING = 52,
    MB_ICONINFORMATION = 64,
    MB_YESNO_INFORMATION = 68,
};

// Button codes a message box returns.
enum MessageBoxResult { ID_OK = 1, ID_YES = 6, ID_NO = 7 };

using MessageBoxHook = std::function<int(const QString& text, const QString& caption, int flags)>;

// Shows a modal message box and returns the button pressed; a hook set by the tests answers instead.
// The text is shown as plain text, a CR (or CR LF) breaking the line.
int PlatformMessageBox(const QString& text, const QString& caption, int flags);
// Replaces the dialog; an empty hook restores it. Returns the previous hook.
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);
