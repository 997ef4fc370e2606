#include "GeneralUnit.h"

#include <QLabel>
#include <QPalette>
#include <QProgressBar>

TProgress* CurrentProgress = nullptr;
bool UpdateRunning = false;

TProgress::TProgress(int max, bool useGauge, const QString& caption, QWidget* form)
    : Form(form), UseGauge(useGauge) {
    Panel = new QWidget(form);
    Panel->setObjectName("ProgressPanel");
    Panel->setAutoFillBackground(true);
    Panel->setGeometry(form->width() / 2 - 200, form->height() / 2 - 50, Width, Height);

    auto* meter = new QProgressBar(Panel);
    meter->setRange(0, max);
    meter->setValue(0);
    meter->setTextVisible(false);
    meter->setGeometry(15, 50, Width - 2 * 15, 17);
    if (useGauge) {
        QPalette palette = meter->palette();
        palette.setColor(QPalette::Highlight, QColor(0x00, 0x00, 0x80));
        meter->setPalette(palette);
        Gauge = meter;
    } else {
        Bar = meter;
    }

    Text = new QLabel(Panel);
    Text->setWordWrap(true);
    Text->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    Text->setGeometry(15, 10, 370, 34);
    Text->setText(caption.isEmpty() ? QStringLiteral("prosím čakajte...") : caption);

    Panel->show();
    Panel->raise();
    Text->repaint();
}

TProgress::~TProgress() {
    delete Panel; // owns the bar or gauge and the label
    if (CurrentProgress == this)
        CurrentProgress = nullptr;
}

void TProgress::StepIt() {
    QProgressBar* meter = Meter();
    const int next = meter->value() + 1;
    if (next > meter->maximum())
        meter->setMaximum(next);
    meter->setValue(next);
}

int TProgress::Position(int v) {
    if (v != 0)
        Meter()->setValue(v);
    return Meter()->value();
}

bool DownloadFile(const QString&, const QString&, const QString&, QWidget*) {
    return true; // TODO(download): libcurl transfer with progress
}

void CheckForUpdate(bool, const QString&, const QString&, const QString&, const QString&, QWidget*) {}

void FinishUpdate(const QString& /*programTitle*/) {}
