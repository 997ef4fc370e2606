#pragma once

#include <QString>
#include <QTemporaryDir>
#include <string>

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

// This process's resident set size and its peak (the VmRSS and VmHWM lines of its status), in kB.
long StatusKb(const std::string& key);
// Starts a new peak: the kernel sets VmHWM back to the current resident size.
void ResetPeak();
