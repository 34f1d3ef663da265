// StatusBar: sunken text panels side by side and a size grip.
#include "status_bar.h"

#include <QLabel>
#include <QSizeGrip>

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
    NamePanels();
    ArrangePanels();
}

int StatusBar::PanelCount() const { return static_cast<int>(Panels.size()); }

void StatusBar::SetPanelText(int n, const QString& text) {
    if (n >= 0 && n < PanelCount()) Panels[n]->setText(text);
}

QString StatusBar::PanelText(int n) const {
    return n >= 0 && n < PanelCount() ? Panels[n]->text() : QString();
}

int StatusBar::PanelWidth(int n) const { return n >= 0 && n < PanelCount() ? Widths[n] : 0; }

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
