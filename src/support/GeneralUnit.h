#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>

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

private:
    QPointer<QWidget> panelGuard_; // the panel goes with Form when Form goes first
};

// The progress panel on show, or nullptr.
extern TProgress* CurrentProgress;

// The progress text of one download: amount done, speed and time left, rebuilt at most every
// Interval ms; the bar of CurrentProgress moves on every call.
class TDownload {
public:
    uint32_t Interval = 500;
    uint32_t LastTick = 0;   // tick count of the last text update
    uint64_t LastBytes = 0;  // bytes done at the last text update
    QList<uint64_t> Samples; // bytes received per text update, the last 19 at most

    void Progress(uint64_t progress, uint64_t progressMax, const QString& statusText);
    // The same at the tick count Now.
    void Progress(uint64_t progress, uint64_t progressMax, const QString& statusText, uint32_t now);
    double SumSamples() const;
    double DownloadSpeed() const; // kilobytes per second
};

// The time left as the progress text shows it: whole seconds up to 120 ("120 s"), minutes above
// ("2 m"), rounded half to even.
QString TimeLeftText(double seconds);

// True while CheckForUpdate or FinishUpdate runs.
extern bool UpdateRunning;

// Downloads URL into Dir + FileName (or the address's last segment) showing the progress panel
// on Form. Throws Exception "Error downloading URL: <url>" when the download fails, and answers
// false when closing the program stopped it; nothing is left at the target then and the panel is
// gone.
bool DownloadFile(const QString& url, const QString& dir, const QString& fileName, QWidget* form);

// The update check of the support window's two update buttons and of the menu item.
void CheckForUpdate(bool showMessages, const QString& exePath, const QString& exeFileName,
                    const QString& productFileName, const QString& programTitle, QWidget* parentForm);

// The download counter's address from line 4 of a version's notes: the line up to and including
// the '=' of its first "=http://", then the line's last segment (after its last '/', '\' or ':').
QString CounterAddress(const QString& counterLine);

// Reports at start-up how an update made before this start ended.
void FinishUpdate(const QString& programTitle);

// Ends the program after the hand-over to the updater: the event loops stop once the running
// handler returns, and the main window's closing question is not asked. Tests replace it.
using ProgramEndHook = std::function<void()>;
ProgramEndHook SetProgramEndHook(ProgramEndHook hook);
