#pragma once

#include <QString>

class QLabel;
class QProgressBar;
class QWidget;

// A 400 x 100 panel with a progress bar (or a navy gauge) and a text, centred on a window.
class TProgress {
public:
    TProgress(int max, bool useGauge, const QString& caption, QWidget* form);
    ~TProgress(); // frees the controls; CurrentProgress := nullptr
    TProgress(const TProgress&) = delete;
    TProgress& operator=(const TProgress&) = delete;

    void StepIt();
    // Sets the position when V is not 0; returns the position.
    int Position(int v);

    QWidget* Panel = nullptr;
    QProgressBar* Bar = nullptr;   // when UseGauge is false
    QProgressBar* Gauge = nullptr; // when UseGauge is true, drawn navy
    QLabel* Text = nullptr;
    QWidget* Form = nullptr;
    bool UseGauge = false;
    int Width = 400;
    int Height = 100;

    QProgressBar* Meter() const { return UseGauge ? Gauge : Bar; }
};

// The progress panel on show, or nullptr.
extern TProgress* CurrentProgress;

// True while CheckForUpdate or FinishUpdate runs.
extern bool UpdateRunning;

// Downloads URL into Dir + FileName (or the address's last segment) showing the progress panel
// on Form. Throws Exception when the download fails; nothing is left at the target then.
bool DownloadFile(const QString& url, const QString& dir, const QString& fileName, QWidget* form);

// The update check of the support window's two update buttons and of the menu item.
void CheckForUpdate(bool showMessages, const QString& exePath, const QString& exeFileName,
                    const QString& productFileName, const QString& programTitle, QWidget* parentForm);

// Reports at start-up how an update made before this start ended.
void FinishUpdate(const QString& programTitle);
