// StatusBar: a bar of text panels of fixed width along the bottom of the
// window (TStatusBar in panel mode), with a size grip at its right end.
// Panels are numbered from 0 and named <objectName>Panel<n>. A panel that
// shows a count shows it whole, in a smaller size of the bar's font when the
// digits do not fit the panel, and holds the number in its tool tip.
#pragma once

#include <QList>
#include <QWidget>

#include <cstddef>

class QLabel;
class QSizeGrip;

class StatusBar : public QWidget {
    Q_OBJECT

public:
    explicit StatusBar(QWidget* parent = nullptr);

    // Appends a panel of width pixels showing text.
    void AddPanel(int width, const QString& text);

    // The number of panels.
    [[nodiscard]] int PanelCount() const;

    // Sets the text of panel n; an n outside the panels changes nothing.
    void SetPanelText(int n, const QString& text);

    // Shows count in plain decimal digits in panel n; an n outside the
    // panels changes nothing.
    void SetPanelCount(int n, std::size_t count);

    // The text of panel n, empty for an n outside the panels.
    [[nodiscard]] QString PanelText(int n) const;

    // The width of panel n in pixels, 0 for an n outside the panels.
    [[nodiscard]] int PanelWidth(int n) const;

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ArrangePanels();
    void NamePanels();
    void FitCount(int n);

    QList<QLabel*> Panels;
    QList<int> Widths;
    QList<bool> ShowsCount;
    QSizeGrip* Grip;
};
