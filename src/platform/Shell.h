#pragma once

#include <QString>
#include <functional>

using ShellOpenHook = std::function<void(const QString& target, const QString& parameters)>;

// Opens a web address, a mailto: link, a program (started detached with its parameters) or any
// other file with the desktop's opener. The outcome is not reported, as callers ignore it.
void ShellOpen(const QString& target, const QString& parameters = QString());
// Replaces the opener (tests record what would be opened). Returns the previous hook.
ShellOpenHook SetShellOpenHook(ShellOpenHook hook);
