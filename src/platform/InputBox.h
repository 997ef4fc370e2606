#pragma once

#include <QString>
#include <functional>

using InputBoxHook =
    std::function<QString(const QString& caption, const QString& prompt, const QString& defaultText)>;

// Asks for one line of text in a modal box with OK and Cancel; Cancel gives the default text.
// The answer holds one line: line breaks and other control characters (Tab aside) are dropped.
// A hook set by the tests answers instead of the box.
QString PlatformInputBox(const QString& caption, const QString& prompt, const QString& defaultText);
// Replaces the box; an empty hook restores it. Returns the previous hook.
InputBoxHook SetInputBoxHook(InputBoxHook hook);
