#pragma once

#include <QString>
#include <QTemporaryDir>

#include "MessageBox.h"

// A fresh temporary program folder with its Data folder, the program's folder while it lives.
// Message boxes are printed and answered OK, so nothing waits for a click.
class TBenchFolder {
public:
    TBenchFolder();
    ~TBenchFolder();
    TBenchFolder(const TBenchFolder&) = delete;
    TBenchFolder& operator=(const TBenchFolder&) = delete;

    // False (with a line on stderr) when no temporary folder could be made.
    bool IsValid() const { return dir_.isValid(); }
    // The folder with a trailing '/'.
    QString Path() const { return dir_.path() + '/'; }

private:
    QTemporaryDir dir_;
    MessageBoxHook previousHook_;
};
