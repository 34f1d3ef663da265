// StatusBar: sunken text panels side by side and a size grip.
#include "status_bar.h"

#include <QEvent>
#include <QLabel>
#include <QSizeGrip>

#include "count_field.h"

namespace {

constexpr int kTopBorder = 2;  // free pixels above the panels
constexpr int kPanelGap = 2;  // free pixels after each panel

}  // namespace

StatusBar::StatusBar(QWidget* parent) : QWidget(parent), Grip(new QSizeGrip(this)) {
    connect(this, &QObject::objectNameChanged, this, &StatusBar::NamePanels);
}

void StatusBar::AddPanel(int width, const QString& text) {
    auto* panel = new QLabel(text, this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setIndent(2);
    panel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    panel->setTextFormat(Qt::PlainText);
    Panels.append(panel);
    Widths.append(width);
    ShowsCount.append(false);
    NamePanels();
    ArrangePanels();
}

int StatusBar::PanelCount() const { return static_cast<int>(Panels.size()); }

void StatusBar::SetPanelText(int n, const QString& text) {
    if (n < 0 || n >= PanelCount()) return;
    ShowsCount[n] = false;
    Panels[n]->setText(text);
    Panels[n]->setToolTip(QString());
    Panels[n]->setFont(QFont());  // the bar's font again
}

void StatusBar::SetPanelCount(int n, std::size_t count) {
    if (n < 0 || n >= PanelCount()) return;
    const QString digits = QString::number(count);
    ShowsCount[n] = true;
    Panels[n]->setText(digits);
    Panels[n]->setToolTip(digits);
    FitCount(n);
}

QString StatusBar::PanelText(int n) const {
    return n >= 0 && n < PanelCount() ? Panels[n]->text() : QString();
}

int StatusBar::PanelWidth(int n) const { return n >= 0 && n < PanelCount() ? Widths[n] : 0; }

void StatusBar::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::FontChange) return;
    for (int i = 0; i < PanelCount(); ++i) {
        if (ShowsCount[i]) FitCount(i);
    }
}

void StatusBar::resizeEvent(QResizeEvent*) { ArrangePanels(); }

void StatusBar::ArrangePanels() {
    const int panelHeight = height() - kTopBorder;
    int left = 0;
    for (int i = 0; i < PanelCount(); ++i) {
        Panels[i]->setGeometry(left, kTopBorder, Widths[i] - kPanelGap, panelHeight);
        left += Widths[i];
    }
    const QSize grip = Grip->sizeHint().boundedTo(QSize(height(), height()));
    Grip->setGeometry(width() - grip.width(), height() - grip.height(), grip.width(),
                      grip.height());
}

void StatusBar::NamePanels() {
    for (int i = 0; i < PanelCount(); ++i)
        Panels[i]->setObjectName(objectName() + QStringLiteral("Panel") + QString::number(i));
    Grip->setObjectName(objectName() + QStringLiteral("SizeGrip"));
}

void StatusBar::FitCount(int n) {
    // The text of a panel starts after its indent and is cut at its frame.
    QLabel* panel = Panels[n];
    const int textWidth = panel->contentsRect().width() - panel->indent();
    panel->setFont(FontToFit(font(), panel->text(), textWidth));
}
