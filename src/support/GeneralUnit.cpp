#include "GeneralUnit.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPalette>
#include <QProgressBar>

#include "LabelText.h"

TProgress* CurrentProgress = nullptr;

namespace {
constexpr int Margin = 15;

// The panel keeps its children anchored as laid out for 400 x 100 (the bar to the left, right
// and bottom, the label to all four sides) and stays centred on its window.
class ProgressPanel : public QFrame {
public:
    explicit ProgressPanel(QWidget* form) : QFrame(form), form_(form) {
        if (form)
            form->installEventFilter(this);
    }
    QWidget* meter = nullptr;
    QWidget* label = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == form_ && event->type() == QEvent::Resize)
            move(form_->width() / 2 - width() / 2, form_->height() / 2 - height() / 2);
        return QFrame::eventFilter(watched, event);
    }
    void resizeEvent(QResizeEvent* event) override {
        QFrame::resizeEvent(event);
        const int inner = width() - 2 * Margin;
        if (meter)
            meter->setGeometry(Margin, height() - 33 - 17, inner, 17);
        if (label)
            label->setGeometry(Margin, 10, inner, height() - 10 - 56);
    }

private:
    QWidget* form_;
};
} // namespace

TProgress::TProgress(int max, bool useGauge, const QString& caption, QWidget* form)
    : Form(form), UseGauge(useGauge) {
    auto* panel = new ProgressPanel(form);
    Panel = panel;
    panelGuard_ = panel;
    panel->setObjectName("ProgressPanel");
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setAutoFillBackground(true);
    const int left = form ? form->width() / 2 - Width / 2 : 0;
    const int top = form ? form->height() / 2 - Height / 2 : 0;
    panel->setGeometry(left, top, Width, Height);

    auto* meter = new QProgressBar(panel);
    meter->setRange(0, max);
    meter->setValue(0);
    meter->setTextVisible(false);
    meter->setGeometry(Margin, 50, Width - 2 * Margin, 17);
    if (useGauge) {
        QPalette palette = meter->palette();
        palette.setColor(QPalette::Highlight, QColor(0x00, 0x00, 0x80));
        meter->setPalette(palette);
        Gauge = meter;
    } else {
        Bar = meter;
    }
    panel->meter = meter;

    Text = new QLabel(panel);
    Text->setObjectName("ProgressText");
    Text->setWordWrap(true);
    Text->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    Text->setGeometry(Margin, 10, 370, 34);
    SetLabelText(Text, caption.isEmpty() ? QStringLiteral("prosím čakajte...") : caption);
    panel->label = Text;

    panel->show();
    panel->raise();
    Text->repaint();
}

TProgress::~TProgress() {
    delete panelGuard_.data(); // with the bar or gauge and the label
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
