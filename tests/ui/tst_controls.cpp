// Tests of the controls on their own: CountField at the sizes and font of
// the window's count fields, and a status bar panel of 40 pixels in the
// window font. A count shows whole, from its first digit, in a smaller font
// only when it must; the tool tip holds the number, also on a disabled field,
// and a screen reader reads the panel as its text. The spinner is a spin box
// to a screen reader, which can set its position as the arrows do.
#include <QAccessible>
#include <QApplication>
#include <QFontMetricsF>
#include <QLabel>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QToolTip>

#include <memory>

#include "control_accessible.h"
#include "count_field.h"
#include "status_bar.h"
#include "up_down.h"

namespace {

// The window's count fields: Edit3 is 57 pixels wide, Edit4 and Edit5 65.
constexpr QSize kFieldSizes[] = {{57, 26}, {65, 26}};
constexpr int kFieldPixelSize = 16;
constexpr int kCountPanel = 1;
constexpr int kCountPanelWidth = 40;
constexpr int kWindowPixelSize = 11;

QFont FieldFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")});
    font.setPixelSize(kFieldPixelSize);
    font.setBold(true);
    return font;
}

// Whether a field shows its whole text from the first character: as it is
// drawn with the cursor at the end, where a new text leaves it, it looks as
// with the cursor at the start. A text that does not fit is scrolled to the
// cursor.
bool ShowsWholeText(QLineEdit* field) {
    const QImage shown = field->grab().toImage();
    field->setCursorPosition(0);
    return field->grab().toImage() == shown;
}

int Advance(const QWidget* display, const QString& text) {
    return qRound(QFontMetricsF(display->font()).horizontalAdvance(text));
}

}  // namespace

class TestControls : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void countShownWhole_data();
    void countShownWhole();
    void disabledFieldShowsToolTip();
    void spinnerValue_data();
    void spinnerValue();

private:
    std::unique_ptr<QWidget> Window;
};

void TestControls::initTestCase() {
    // As the window does before it builds its controls.
    InstallControlAccessibility();
}

void TestControls::init() {
    Window = std::make_unique<QWidget>();
    QFont windowFont;
    windowFont.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans")});
    windowFont.setPixelSize(kWindowPixelSize);
    Window->setFont(windowFont);
    Window->resize(400, 200);
}

void TestControls::cleanup() {
    QToolTip::hideText();
    Window.reset();
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TestControls::countShownWhole_data() {
    QTest::addColumn<qulonglong>("count");
    QTest::addColumn<bool>("smaller");  // shown in a smaller font than the display's own
    QTest::newRow("0") << 0ULL << false;
    QTest::newRow("35") << 35ULL << false;
    QTest::newRow("1048576") << 1048576ULL << true;
    QTest::newRow("12345678") << 12345678ULL << true;
    QTest::newRow("2147483647") << 2147483647ULL << true;
}

void TestControls::countShownWhole() {
    QFETCH(qulonglong, count);
    QFETCH(bool, smaller);
    const QString digits = QString::number(count);

    for (const QSize size : kFieldSizes) {
        auto* field = new CountField(Window.get());
        field->setFont(FieldFont());
        field->setGeometry(QRect(QPoint(8, 8), size));
        field->setEnabled(false);
        QCOMPARE(field->text(), QStringLiteral("???"));

        field->SetCount(count);
        QCOMPARE(field->text(), digits);
        QCOMPARE(field->toolTip(), digits);
        QCOMPARE(field->size(), size);
        QVERIFY2(ShowsWholeText(field), qPrintable(QStringLiteral("%1 px wide").arg(size.width())));
        QCOMPARE(QFontInfo(field->font()).pixelSize() < kFieldPixelSize, smaller);
        QCOMPARE(field->font().family(), FieldFont().family());

        field->SetUnknown();
        QCOMPARE(field->text(), QStringLiteral("???"));
        QVERIFY(field->toolTip().isEmpty());
        QCOMPARE(QFontInfo(field->font()).pixelSize(), kFieldPixelSize);
    }

    auto* bar = new StatusBar(Window.get());
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setGeometry(0, 180, 400, 19);
    bar->AddPanel(130, QStringLiteral("Anzahl Eingabezeichen"));
    bar->AddPanel(kCountPanelWidth, QString());
    auto* panel = bar->findChild<QLabel*>(QStringLiteral("StatusBar1Panel1"));
    QVERIFY(panel);
    bar->SetPanelCount(kCountPanel, count);
    QCOMPARE(bar->PanelText(kCountPanel), digits);
    QCOMPARE(panel->toolTip(), digits);
    QVERIFY(Advance(panel, digits) <= panel->contentsRect().width() - panel->indent());
    QCOMPARE(QFontInfo(panel->font()).pixelSize() < kWindowPixelSize, smaller);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(panel);
    QCOMPARE(accessible->text(QAccessible::Name), digits);

    bar->SetPanelText(kCountPanel, QStringLiteral("x"));
    QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("x"));
    QVERIFY(panel->toolTip().isEmpty());
    QCOMPARE(QFontInfo(panel->font()).pixelSize(), kWindowPixelSize);
}

void TestControls::disabledFieldShowsToolTip() {
    // A real mouse rests on the disabled field of an active window.
    auto* field = new CountField(Window.get());
    field->setFont(FieldFont());
    field->setGeometry(8, 8, 57, 26);
    field->setEnabled(false);
    field->SetCount(12345678);
    Window->show();
    Window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Window.get()));
    QTest::mouseMove(field, QPoint(20, 10));
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), QStringLiteral("12345678"));
}

void TestControls::spinnerValue_data() {
    using Arrow = UpDown::Arrow;
    QTest::addColumn<int>("start");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("value");  // set by a screen reader
    QTest::addColumn<int>("position");  // afterwards
    QTest::addColumn<bool>("signalled");
    QTest::addColumn<Arrow>("arrow");  // of the Click, if signalled
    QTest::newRow("up") << 1 << true << 7 << 7 << true << Arrow::Up;
    QTest::newRow("down") << 20 << true << 2 << 2 << true << Arrow::Down;
    QTest::newRow("above the range") << 3 << true << 30 << 25 << true << Arrow::Up;
    QTest::newRow("below the range") << 3 << true << -4 << 1 << true << Arrow::Down;
    QTest::newRow("same position: no click") << 5 << true << 5 << 5 << false << Arrow::Up;
    QTest::newRow("above the range at 25: no click")
        << 25 << true << 26 << 25 << false << Arrow::Up;
    QTest::newRow("disabled: nothing") << 3 << false << 7 << 3 << false << Arrow::Up;
}

void TestControls::spinnerValue() {
    QFETCH(int, start);
    QFETCH(bool, enabled);
    QFETCH(int, value);
    QFETCH(int, position);
    QFETCH(bool, signalled);
    QFETCH(UpDown::Arrow, arrow);
    auto* spinner = new UpDown(Window.get());
    spinner->SetRange(1, 25);
    spinner->SetPosition(start);
    spinner->setEnabled(enabled);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(spinner);
    QVERIFY(accessible);
    QCOMPARE(accessible->role(),
             QAccessible::queryAccessibleInterface(new QSpinBox(Window.get()))->role());
    QAccessibleValueInterface* shown = accessible->valueInterface();
    QVERIFY(shown);
    QCOMPARE(shown->currentValue().toInt(), spinner->Position());
    QCOMPARE(shown->minimumValue().toInt(), spinner->Minimum());
    QCOMPARE(shown->maximumValue().toInt(), spinner->Maximum());
    QCOMPARE(shown->minimumStepSize().toInt(), 1);

    QSignalSpy click(spinner, &UpDown::Click);
    shown->setCurrentValue(value);
    QCOMPARE(spinner->Position(), position);
    QCOMPARE(shown->currentValue().toInt(), position);
    QCOMPARE(accessible->text(QAccessible::Value), QString::number(position));
    QCOMPARE(click.size(), signalled ? 1 : 0);
    if (signalled) {
        QCOMPARE(click.first().at(0).toInt(), position);
        QCOMPARE(click.first().at(1).value<UpDown::Arrow>(), arrow);
    }
}

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
