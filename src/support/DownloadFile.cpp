#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QWidget>
#include <cmath>
#include <limits>
#include <memory>

#include "Download.h"
#include "Exception.h"
#include "GeneralUnit.h"
#include "LabelText.h"
#include "System.h"
#include "TextUtils.h"

namespace {
constexpr qsizetype MaxSamples = 19;

// The bar counts in ints: larger sizes are scaled down alike.
void MoveBar(uint64_t progress, uint64_t progressMax) {
    uint64_t scale = 1;
    while (progressMax / scale > uint64_t(std::numeric_limits<int>::max()))
        scale *= 1024;
    CurrentProgress->Meter()->setMaximum(int(progressMax / scale));
    CurrentProgress->Position(int(std::min(progress / scale, uint64_t(std::numeric_limits<int>::max()))));
}
} // namespace

double TDownload::SumSamples() const {
    double sum = 0;
    for (const uint64_t sample : Samples)
        sum += double(sample);
    return sum;
}

double TDownload::DownloadSpeed() const {
    if (Samples.isEmpty())
        return 0;
    // Each sample counts as one full interval.
    return SumSamples() / 1024 / double(Samples.size()) * (1000.0 / Interval);
}

QString TimeLeftText(double seconds) {
    if (seconds > 120)
        return QString::number(std::nearbyint(seconds / 60), 'f', 0) + " m";
    return QString::number(std::nearbyint(seconds), 'f', 0) + " s";
}

void TDownload::Progress(uint64_t progress, uint64_t progressMax, const QString& statusText) {
    Progress(progress, progressMax, statusText, TickCount());
}

void TDownload::Progress(uint64_t progress, uint64_t progressMax, const QString& statusText, uint32_t now) {
    if (CurrentProgress) {
        MoveBar(progress, progressMax);
        CurrentProgress->Panel->raise();
    }
    if (now - LastTick > Interval) { // wraps with the tick count
        Samples.append(Samples.isEmpty() || progress < LastBytes ? progress : progress - LastBytes);
        while (Samples.size() > MaxSamples)
            Samples.removeFirst();
        LastBytes = progress;
        LastTick = now;

        QString text = statusText + '\r' + '\r';
        if (progressMax != 0 && progress != 0)
            text += "Stav: " + FormatNumber(double(progress) / 1024) + " KB  /  " +
                    FormatNumber(double(progressMax) / 1024) + " KB    (" +
                    FormatNumber(double(progress) / double(progressMax) * 100) + "%)";
        const double speed = DownloadSpeed();
        text += "\rRýchlosť: " + FormatNumber(speed) + " KB/s";
        // Without a total there is no time left to tell.
        if (speed > 0 && progressMax != 0 && progressMax >= progress) {
            const double secondsLeft = double(progressMax - progress) / 1024 / speed;
            text += "    (zostáva " + TimeLeftText(secondsLeft) + ")";
        }
        if (CurrentProgress)
            SetLabelText(CurrentProgress->Text, text);
    }
    QCoreApplication::processEvents(); // the windows repaint and stay usable
}

bool DownloadFile(const QString& url, const QString& dir, const QString& fileName, QWidget* form) {
    TDownload download;
    download.LastTick = TickCount() - 400; // the first text comes after about 100 ms

    // The panel goes on every ending, a failed download included.
    std::unique_ptr<TProgress> progress(
        new TProgress(0, false, QStringLiteral("začína sťahovanie..."), form));
    CurrentProgress = progress.get();
    progress->Panel->setGeometry(progress->Panel->x(), progress->Panel->y() - 10, progress->Panel->width(),
                                 120);

    QString target = dir;
    if (!target.endsWith('/'))
        target += '/';
    target += fileName.isEmpty() ? url.mid(url.lastIndexOf('/') + 1) : fileName;

    try {
        if (!DownloadToFile(url, target, DownloadKind::Program,
                            [&](uint64_t bytes, uint64_t total) { download.Progress(bytes, total, url); }))
            throw Exception("Error downloading URL: " + url);
    } catch (const TransferStopped&) {
        return false; // the program is closing
    }
    return true;
}
