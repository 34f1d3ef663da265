// Tests of the window Form1 at start: every control's state, text, place,
// font and colour, the tab order, the keyboard roles of the stock button
// kinds, the accelerators, the spinner, the radio groups, the memos and
// closing. Controls are found by their object names, as the window
// definition names them; each test gets a fresh window and leaves no
// top-level widget behind.
#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextLayout>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include <memory>

#include "memo.h"
#include "radio_group.h"
#include "status_bar.h"
#include "tform1.h"
#include "up_down.h"
#include "window_controls.h"

class TestWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void windowAtStart();
    void enabledAtStart_data();
    void enabledAtStart();
    void textsAtStart_data();
    void textsAtStart();
    void memo1SampleText();
    void radioItems_data();
    void radioItems();
    void statusPanels_data();
    void statusPanels();
    void spinnerAtStart();
    void geometry_data();
    void geometry();
    void partsGeometry_data();
    void partsGeometry();
    void resizeKeepsControls();
    void fonts_data();
    void fonts();
    void colours_data();
    void colours();
    void memoBackgroundPainted_data();
    void memoBackgroundPainted();
    void glyphs_data();
    void glyphs();
    void tabOrder_data();
    void tabOrder();
    void tabKeyVisitsEnabledControls_data();
    void tabKeyVisitsEnabledControls();
    void escapeKey_data();
    void escapeKey();
    void returnKey_data();
    void returnKey();
    void accelerators_data();
    void accelerators();
    void acceleratorKeys_data();
    void acceleratorKeys();
    void button2DoesNothing();
    void spinnerArrows_data();
    void spinnerArrows();
    void disabledSpinnerDoesNothing();
    void radioClick_data();
    void radioClick();
    void radioSetItemIndexIsSilent();
    void memoText_data();
    void memoText();
    void windowIconHasEverySize();
    void accessibleNames_data();
    void accessibleNames();
    void accessibleRoles_data();
    void accessibleRoles();
    void qtTextsAreGerman_data();
    void qtTextsAreGerman();
    void closing_data();
    void closing();

private:
    template <typename T = QWidget>
    T* Child(const QString& name) const {
        return FindControl<T>(Form.get(), name);
    }

    std::unique_ptr<TForm1> Form;
};

namespace {

const QColor clNavy(0, 0, 128);
const QColor clYellow(255, 255, 0);
const QColor clBlack(0, 0, 0);
const QColor clRed(255, 0, 0);
const QColor clGreen(0, 128, 0);
const QColor clWhite(255, 255, 255);
const QColor clMaroon(128, 0, 0);

// Every object name of an interactive control, with its enabled state at start.
struct EnabledRow {
    const char* Name;
    bool Enabled;
};

const EnabledRow kEnabledAtStart[] = {
    {"BitBtn1", false},    {"BitBtn2", true},  {"BitBtn3", false},    {"BitBtn4", true},
    {"BitBtn5", true},     {"BitBtn6", false}, {"BitBtn7", false},    {"BitBtn8", false},
    {"Button1", false},    {"Button2", true},  {"RadioGroup1", true}, {"RadioGroup2", true},
    {"RadioGroup3", true}, {"UpDown1", false}, {"Edit1", true},       {"Edit2", false},
    {"Edit3", false},      {"Edit4", false},   {"Edit5", false},      {"Memo1", true},
    {"Memo2", true},       {"Memo3", true},
};

// The shown text of a control: caption, title, line or memo text.
QString ShownText(QWidget* widget) {
    if (auto* memo = qobject_cast<Memo*>(widget)) return memo->Text();
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
    if (auto* group = qobject_cast<QGroupBox*>(widget)) return group->title();
    return QString();
}

// Everything a user could see change: per named control its enabled state,
// text, check state and, for the spinner and status bar, their values.
QStringList VisibleState(QWidget* window) {
    QStringList state;
    const QList<QWidget*> controls = window->findChildren<QWidget*>();
    for (QWidget* control : controls) {
        if (control->objectName().isEmpty() ||
            control->objectName().startsWith(QLatin1String("qt_")))
            continue;
        QString line = control->objectName() + QLatin1Char(' ') +
                       QString::number(control->isEnabled()) + QLatin1Char(' ') +
                       ShownText(control);
        if (auto* button = qobject_cast<QAbstractButton*>(control))
            line += QLatin1Char(' ') + QString::number(button->isChecked());
        if (auto* spinner = qobject_cast<UpDown*>(control))
            line += QLatin1Char(' ') + QString::number(spinner->Position());
        state << line;
    }
    return state;
}

// The named widgets of the focus chain of window, in order.
QStringList FocusChain(QWidget* window) {
    QStringList names;
    for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain()) {
        if (!w->objectName().isEmpty() && w->focusPolicy() & Qt::TabFocus) names << w->objectName();
    }
    return names;
}

// Object names written one after another, separated by blanks.
QStringList Names(const char* names) { return QString::fromLatin1(names).split(u' '); }

// The items of group that Tab can reach.
QList<int> TabStops(const RadioGroup* group) {
    QList<int> stops;
    const QList<QRadioButton*> items = group->findChildren<QRadioButton*>();
    for (int i = 0; i < items.size(); ++i) {
        if (items[i]->focusPolicy() & Qt::TabFocus) stops << i;
    }
    return stops;
}

int CountPixels(const QImage& image, bool (*test)(QRgb)) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) > 128 && test(pixel)) ++count;
        }
    }
    return count;
}

bool IsGreen(QRgb p) { return qGreen(p) > qRed(p) + 40 && qGreen(p) > qBlue(p) + 40; }

bool IsRed(QRgb p) { return qRed(p) > qGreen(p) + 60 && qRed(p) > qBlue(p) + 60; }

bool IsColoured(QRgb p) {
    return qMax(qMax(qRed(p), qGreen(p)), qBlue(p)) - qMin(qMin(qRed(p), qGreen(p)), qBlue(p)) > 16;
}

}  // namespace

void TestWindow::init() {
    Form = std::make_unique<TForm1>();
    Form->show();
    Form->activateWindow();  // also without a window manager
    QVERIFY(QTest::qWaitForWindowActive(Form.get()));
}

void TestWindow::cleanup() {
    const QWidgetList topLevel = QApplication::topLevelWidgets();
    QCOMPARE(topLevel.size(), 1);
    QCOMPARE(topLevel.first(), Form.get());
    Form.reset();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TestWindow::windowAtStart() {
    QCOMPARE(Form->objectName(), QStringLiteral("Form1"));
    QCOMPARE(Form->windowTitle(), QStringLiteral("Trithemius-Chiffre"));
    QCOMPARE(Form->size(), QSize(1319, 497));
    QCOMPARE(Form->pos(), QPoint(261, 118));
    QCOMPARE(Form->palette().color(QPalette::Window), Form->palette().color(QPalette::Button));
    QCOMPARE(QApplication::focusWidget(), Child("Memo1"));
    QVERIFY(QApplication::quitOnLastWindowClosed());
}

void TestWindow::enabledAtStart_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("enabled");
    for (const EnabledRow& row : kEnabledAtStart)
        QTest::newRow(row.Name) << QString::fromLatin1(row.Name) << row.Enabled;
}

void TestWindow::enabledAtStart() {
    QFETCH(QString, name);
    QFETCH(bool, enabled);
    QWidget* control = Child(name);
    QVERIFY(control);
    QCOMPARE(control->isEnabled(), enabled);
}

void TestWindow::textsAtStart_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    const char* rows[][2] = {
        {"GroupBox1", "Eingabeseite"},
        {"GroupBox2", "Ausgabeseite"},
        {"StaticText1", "Chifrieren und Dechiffrieren Trithemius-Chiffre"},
        {"StaticText2", "Arbeitsbeginn:"},
        {"StaticText3", "Aktueller Arbeitsstand:"},
        {"StaticText4", "30.11.2018"},
        {"StaticText6", "04.01.2019"},
        {"BitBtn1", "Fünfer-Blöcke"},
        {"BitBtn2", "Eingabtetext löschen"},
        {"BitBtn3", "&Wiederholen"},
        {"BitBtn4", "S&chließen"},
        {"RadioGroup1", "Verfahrensauswahl"},
        {"Edit1", "ABCDEFGHIKLMNOPQRSTUXYZW"},
        {"StaticText5", "... derzeit gütliger Schlüsselsatz"},
        {"RadioGroup2", "Schlüsselstart"},
        {"BitBtn5", "Eingabetetxt bereinigen"},
        {"Button1", "Chiffrieren"},
        {"RadioGroup3", "Arbeitsrichtung"},
        {"Edit2", "1"},
        {"StaticText7", "Aktuelle Einfüge-Position des Schlüsselsatzes"},
        {"Edit3", "???"},
        {"StaticText8", "Eingabezeichenzahl"},
        {"BitBtn6", "Keystrom generieren"},
        {"Label1", "Anzahl der Ciphertextzeichen"},
        {"Memo2", ""},
        {"Edit4", "???"},
        {"StaticText9", "Anzahl der Zeichen für den Keystrom"},
        {"BitBtn7", "Fünfer-Blöcke"},
        {"Memo3", ""},
        {"BitBtn8", "Fünfer-Blöcke"},
        {"Edit5", "???"},
        {"Button2", "Aktuelle Chiffriertabelle einblenden"},
    };
    for (const auto& row : rows)
        QTest::newRow(row[0]) << QString::fromLatin1(row[0]) << QString::fromUtf8(row[1]);
}

void TestWindow::textsAtStart() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QWidget* control = Child(name);
    QVERIFY(control);
    QCOMPARE(ShownText(control), text);
}

void TestWindow::memo1SampleText() {
    const QString text = Child<Memo>(QStringLiteral("Memo1"))->Text();
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 29);
    for (const QString& line : lines) QVERIFY2(!line.trimmed().isEmpty(), "no empty line");

    const QString required = QStringLiteral("äöüß !',-.:\u201E\u201C");
    for (const QChar c : required)
        QVERIFY2(text.contains(c), qPrintable(QStringLiteral("missing ") + c));
    QVERIFY(std::any_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); }));
    QVERIFY(std::any_of(text.begin(), text.end(), [](QChar c) { return c >= u'a' && c <= u'z'; }));
    QVERIFY(std::any_of(text.begin(), text.end(), [](QChar c) { return c >= u'A' && c <= u'Z'; }));

    // Nothing outside the letters, digits and the listed marks (all in Windows-1252).
    const QString allowed = QStringLiteral("äöüÄÖÜß !',-.:\u201E\u201C\r\n");
    for (const QChar c : text) {
        const bool ascii = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c.isDigit();
        QVERIFY2(ascii || allowed.contains(c), qPrintable(QStringLiteral("unexpected ") + c));
    }
}

void TestWindow::radioItems_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("item0");
    QTest::addColumn<QString>("item1");
    QTest::addColumn<int>("itemIndex");
    QTest::newRow("RadioGroup1") << QStringLiteral("RadioGroup1")
                                 << QStringLiteral("modernes Alphabet")
                                 << QStringLiteral(
                                        "klassischer Trithemius (ohne J und V und andere "
                                        "Zeichenanordnung)")
                                 << 1;
    QTest::newRow("RadioGroup2") << QStringLiteral("RadioGroup2")
                                 << QStringLiteral("Schlüssel beginnt mit A")
                                 << QStringLiteral("Schlüssel beginnt mit B") << 0;
    QTest::newRow("RadioGroup3") << QStringLiteral("RadioGroup3")
                                 << QStringLiteral("Encoding (Verschlüsseln)")
                                 << QStringLiteral("Decoding (Entschlüsseln)") << 0;
}

void TestWindow::radioItems() {
    QFETCH(QString, name);
    QFETCH(QString, item0);
    QFETCH(QString, item1);
    QFETCH(int, itemIndex);
    auto* group = Child<RadioGroup>(name);
    QVERIFY(group);
    QCOMPARE(group->ItemCount(), 2);
    QCOMPARE(group->ItemIndex(), itemIndex);
    auto* button0 = Child<QRadioButton>(name + QStringLiteral("Item0"));
    auto* button1 = Child<QRadioButton>(name + QStringLiteral("Item1"));
    QVERIFY(button0 && button1);
    QCOMPARE(button0->parentWidget(), group);
    QCOMPARE(button0->text(), item0);
    QCOMPARE(button1->text(), item1);
    QCOMPARE(button0->isChecked(), itemIndex == 0);
    QCOMPARE(button1->isChecked(), itemIndex == 1);
}

void TestWindow::statusPanels_data() {
    QTest::addColumn<int>("panel");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("text");
    QTest::newRow("0 label") << 0 << 130 << QStringLiteral("Anzahl Eingabezeichen");
    QTest::newRow("1 input count") << 1 << 40 << QStringLiteral("35");
    QTest::newRow("2 label") << 2 << 165 << QStringLiteral("Startposition des Key-Alphabets");
    QTest::newRow("3 key start") << 3 << 20 << QStringLiteral("1");
    QTest::newRow("4 label") << 4 << 90 << QStringLiteral("Sclüsselalphabet");
    QTest::newRow("5 key alphabet") << 5 << 180 << QStringLiteral("ABCDEFGHIKLMNOPQRSTUXYZW");
    QTest::newRow("6 empty") << 6 << 50 << QString();
    QTest::newRow("7 empty") << 7 << 50 << QString();
}

void TestWindow::statusPanels() {
    QFETCH(int, panel);
    QFETCH(int, width);
    QFETCH(QString, text);
    auto* bar = Child<StatusBar>(QStringLiteral("StatusBar1"));
    QVERIFY(bar);
    QCOMPARE(bar->PanelCount(), 8);
    QCOMPARE(bar->PanelWidth(panel), width);
    QCOMPARE(bar->PanelText(panel), text);
    auto* label = Child<QLabel>(QStringLiteral("StatusBar1Panel") + QString::number(panel));
    QVERIFY(label);
    QCOMPARE(label->text(), text);

    bar->SetPanelText(panel, QStringLiteral("x"));
    QCOMPARE(bar->PanelText(panel), QStringLiteral("x"));
    QCOMPARE(label->text(), QStringLiteral("x"));
}

void TestWindow::spinnerAtStart() {
    auto* spinner = Child<UpDown>(QStringLiteral("UpDown1"));
    QVERIFY(spinner);
    QCOMPARE(spinner->Minimum(), 1);
    QCOMPARE(spinner->Maximum(), 25);
    QCOMPARE(spinner->Position(), 1);
    auto* up = Child<QToolButton>(QStringLiteral("UpDown1Up"));
    auto* down = Child<QToolButton>(QStringLiteral("UpDown1Down"));
    QVERIFY(up && down);
    QCOMPARE(up->arrowType(), Qt::UpArrow);
    QCOMPARE(down->arrowType(), Qt::DownArrow);
    QCOMPARE(QAccessible::queryAccessibleInterface(up)->text(QAccessible::Name),
             QStringLiteral("Startposition erhöhen"));
    QCOMPARE(QAccessible::queryAccessibleInterface(down)->text(QAccessible::Name),
             QStringLiteral("Startposition verringern"));
    QVERIFY(!up->isEnabled());
    QVERIFY(!down->isEnabled());

    spinner->SetPosition(30);
    QCOMPARE(spinner->Position(), 25);
    spinner->SetPosition(0);
    QCOMPARE(spinner->Position(), 1);
}

void TestWindow::geometry_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("rect");
    struct Row {
        const char* Name;
        const char* Parent;
        QRect Rect;
    };
    const Row rows[] = {
        {"Panel1", "Form1", {0, 0, 1313, 470}},
        {"StatusBar1", "Form1", {0, 478, 1319, 19}},
        {"GroupBox1", "Panel1", {8, 56, 641, 409}},
        {"GroupBox2", "Panel1", {656, 56, 649, 409}},
        {"StaticText1", "Panel1", {8, 16, 428, 28}},
        {"StaticText2", "Panel1", {664, 24, 71, 17}},
        {"StaticText3", "Panel1", {1120, 24, 109, 17}},
        {"StaticText4", "Panel1", {752, 24, 58, 17}},
        {"StaticText6", "Panel1", {1248, 24, 58, 17}},
        {"Memo1", "GroupBox1", {8, 16, 625, 121}},
        {"BitBtn1", "GroupBox1", {224, 176, 193, 25}},
        {"BitBtn2", "GroupBox1", {224, 144, 193, 25}},
        {"BitBtn3", "GroupBox1", {440, 144, 193, 25}},
        {"BitBtn4", "GroupBox1", {440, 176, 193, 25}},
        {"RadioGroup1", "GroupBox1", {8, 216, 417, 73}},
        {"Edit1", "GroupBox1", {8, 320, 369, 35}},
        {"StaticText5", "GroupBox1", {8, 296, 151, 17}},
        {"RadioGroup2", "GroupBox1", {440, 256, 193, 65}},
        {"BitBtn5", "GroupBox1", {8, 144, 193, 25}},
        {"Button1", "GroupBox1", {8, 176, 193, 25}},
        {"RadioGroup3", "GroupBox1", {440, 328, 193, 73}},
        {"UpDown1", "GroupBox1", {8, 368, 17, 25}},
        {"Edit2", "GroupBox1", {24, 368, 33, 26}},
        {"StaticText7", "GroupBox1", {72, 376, 219, 17}},
        {"Edit3", "GroupBox1", {576, 216, 57, 26}},
        {"StaticText8", "GroupBox1", {464, 224, 99, 17}},
        {"BitBtn6", "GroupBox1", {224, 232, 193, 25}},
        {"Label1", "GroupBox2", {384, 328, 137, 13}},
        {"Memo2", "GroupBox2", {8, 16, 625, 121}},
        {"Edit4", "GroupBox2", {568, 144, 65, 26}},
        {"StaticText9", "GroupBox2", {376, 152, 178, 17}},
        {"BitBtn7", "GroupBox2", {8, 152, 193, 25}},
        {"Memo3", "GroupBox2", {8, 192, 625, 121}},
        {"BitBtn8", "GroupBox2", {8, 328, 193, 25}},
        {"Edit5", "GroupBox2", {568, 320, 65, 26}},
        {"Button2", "GroupBox2", {8, 376, 193, 25}},
    };
    for (const Row& row : rows)
        QTest::newRow(row.Name) << QString::fromLatin1(row.Name) << QString::fromLatin1(row.Parent)
                                << row.Rect;
}

void TestWindow::geometry() {
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, rect);
    QWidget* control = Child(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget(), Child(parent));
    QCOMPARE(control->geometry(), rect);
    QVERIFY(control->isVisible());
}

void TestWindow::partsGeometry_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("rect");
    QTest::newRow("UpDown1Up") << QStringLiteral("UpDown1Up") << QRect(0, 0, 17, 12);
    QTest::newRow("UpDown1Down") << QStringLiteral("UpDown1Down") << QRect(0, 12, 17, 13);
    // Items share the height below a 13-pixel caption line.
    QTest::newRow("RadioGroup1Item0")
        << QStringLiteral("RadioGroup1Item0") << QRect(8, 14, 407, 27);
    QTest::newRow("RadioGroup1Item1")
        << QStringLiteral("RadioGroup1Item1") << QRect(8, 41, 407, 27);
    QTest::newRow("RadioGroup2Item0")
        << QStringLiteral("RadioGroup2Item0") << QRect(8, 14, 183, 23);
    QTest::newRow("RadioGroup2Item1")
        << QStringLiteral("RadioGroup2Item1") << QRect(8, 37, 183, 23);
    QTest::newRow("RadioGroup3Item1")
        << QStringLiteral("RadioGroup3Item1") << QRect(8, 41, 183, 27);
    const int widths[] = {130, 40, 165, 20, 90, 180, 50, 50};
    int left = 0;
    for (int n = 0; n < 8; ++n) {
        const QString name = QStringLiteral("StatusBar1Panel") + QString::number(n);
        QTest::newRow(qPrintable(name)) << name << QRect(left, 2, widths[n] - 2, 17);
        left += widths[n];
    }
}

void TestWindow::partsGeometry() {
    QFETCH(QString, name);
    QFETCH(QRect, rect);
    QWidget* part = Child(name);
    QVERIFY(part);
    QCOMPARE(part->geometry(), rect);
}

void TestWindow::resizeKeepsControls() {
    Form->resize(1500, 600);
    QTRY_COMPARE(Child(QStringLiteral("StatusBar1"))->geometry(), QRect(0, 581, 1500, 19));
    QCOMPARE(Child(QStringLiteral("Panel1"))->geometry(), QRect(0, 0, 1313, 470));
    QCOMPARE(Child(QStringLiteral("Memo1"))->geometry(), QRect(8, 16, 625, 121));
    QCOMPARE(Child(QStringLiteral("Button2"))->geometry(), QRect(8, 376, 193, 25));

    Form->resize(800, 300);
    QTRY_COMPARE(Child(QStringLiteral("StatusBar1"))->geometry(), QRect(0, 281, 800, 19));
    QCOMPARE(Child(QStringLiteral("GroupBox2"))->geometry(), QRect(656, 56, 649, 409));
}

void TestWindow::fonts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<QStringList>("families");  // the face named, then its substitute
    const QStringList sans = {QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans")};
    const QStringList courier = {QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")};
    const QStringList times = {QStringLiteral("Times New Roman"),
                               QStringLiteral("Liberation Serif")};
    QTest::newRow("Form1") << QStringLiteral("Form1") << 11 << false << false << sans;
    QTest::newRow("GroupBox1") << QStringLiteral("GroupBox1") << 11 << false << false << sans;
    QTest::newRow("BitBtn5") << QStringLiteral("BitBtn5") << 11 << false << false << sans;
    QTest::newRow("RadioGroup1Item1")
        << QStringLiteral("RadioGroup1Item1") << 11 << false << false << sans;
    QTest::newRow("Label1") << QStringLiteral("Label1") << 11 << false << false << sans;
    QTest::newRow("StatusBar1Panel5")
        << QStringLiteral("StatusBar1Panel5") << 11 << false << false << sans;
    QTest::newRow("StaticText1") << QStringLiteral("StaticText1") << 21 << true << true << times;
    QTest::newRow("StaticText4") << QStringLiteral("StaticText4") << 11 << false << false << sans;
    QTest::newRow("StaticText6") << QStringLiteral("StaticText6") << 11 << false << false << sans;
    QTest::newRow("Memo1") << QStringLiteral("Memo1") << 16 << true << false << courier;
    QTest::newRow("Memo2") << QStringLiteral("Memo2") << 16 << true << false << courier;
    QTest::newRow("Memo3") << QStringLiteral("Memo3") << 16 << true << false << courier;
    QTest::newRow("Edit1") << QStringLiteral("Edit1") << 24 << true << false << courier;
    for (const char* edit : {"Edit2", "Edit3", "Edit4", "Edit5"})
        QTest::newRow(edit) << QString::fromLatin1(edit) << 16 << true << false << courier;
}

void TestWindow::fonts() {
    QFETCH(QString, name);
    QFETCH(int, pixelSize);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(QStringList, families);
    QWidget* control = Child(name);
    QVERIFY(control);
    const QFont font = control->font();
    QCOMPARE(font.pixelSize(), pixelSize);
    QCOMPARE(font.bold(), bold);
    QCOMPARE(font.italic(), italic);
    QCOMPARE(font.families().mid(0, 2), families);
    const QFontInfo shown(font);
    QVERIFY2(families.contains(shown.family()), qPrintable(shown.family()));
    QCOMPARE(shown.pixelSize(), pixelSize);
    QCOMPARE(shown.bold(), bold);
    QCOMPARE(shown.italic(), italic);
}

void TestWindow::colours_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPalette::ColorRole>("role");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("Memo1 background") << QStringLiteral("Memo1") << QPalette::Base << clNavy;
    QTest::newRow("Memo1 text") << QStringLiteral("Memo1") << QPalette::Text << clYellow;
    QTest::newRow("Memo2 background") << QStringLiteral("Memo2") << QPalette::Base << clBlack;
    QTest::newRow("Memo2 text") << QStringLiteral("Memo2") << QPalette::Text << clRed;
    QTest::newRow("Memo3 background") << QStringLiteral("Memo3") << QPalette::Base << clGreen;
    QTest::newRow("Memo3 text") << QStringLiteral("Memo3") << QPalette::Text << clWhite;
    QTest::newRow("StaticText1") << QStringLiteral("StaticText1") << QPalette::WindowText
                                 << clMaroon;
    QTest::newRow("StaticText4") << QStringLiteral("StaticText4") << QPalette::WindowText
                                 << clGreen;
    QTest::newRow("StaticText6") << QStringLiteral("StaticText6") << QPalette::WindowText << clRed;
    const QColor windowText = QApplication::palette().color(QPalette::WindowText);
    QTest::newRow("StaticText2 window text")
        << QStringLiteral("StaticText2") << QPalette::WindowText << windowText;
    QTest::newRow("Label1 window text")
        << QStringLiteral("Label1") << QPalette::WindowText << windowText;
}

void TestWindow::colours() {
    QFETCH(QString, name);
    QFETCH(QPalette::ColorRole, role);
    QFETCH(QColor, colour);
    QWidget* control = Child(name);
    QVERIFY(control);
    QCOMPARE(control->palette().color(QPalette::Active, role), colour);
    QCOMPARE(control->palette().color(QPalette::Inactive, role), colour);
}

void TestWindow::memoBackgroundPainted_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("Memo2") << QStringLiteral("Memo2") << clBlack;
    QTest::newRow("Memo3") << QStringLiteral("Memo3") << clGreen;
}

void TestWindow::memoBackgroundPainted() {
    QFETCH(QString, name);
    QFETCH(QColor, colour);
    auto* memo = Child<Memo>(name);
    QVERIFY(memo);
    const QImage picture = memo->viewport()->grab().toImage();
    const QPoint points[] = {{20, 40},
                             {picture.width() / 2, picture.height() / 2},
                             {picture.width() - 5, picture.height() - 5}};
    for (const QPoint& p : points) QCOMPARE(QColor(picture.pixel(p)), colour);
}

void TestWindow::glyphs_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("colour");  // green, red or any
    QTest::newRow("BitBtn1 bkOK") << QStringLiteral("BitBtn1") << QSize(18, 18) << "green";
    QTest::newRow("BitBtn2 bkNo") << QStringLiteral("BitBtn2") << QSize(18, 18) << "red";
    QTest::newRow("BitBtn3 bkRetry") << QStringLiteral("BitBtn3") << QSize(18, 18) << "green";
    QTest::newRow("BitBtn4 bkClose") << QStringLiteral("BitBtn4") << QSize(18, 18) << "any";
    QTest::newRow("BitBtn5 bkAll") << QStringLiteral("BitBtn5") << QSize(18, 19) << "green";
    QTest::newRow("BitBtn6 bkOK") << QStringLiteral("BitBtn6") << QSize(18, 18) << "green";
    QTest::newRow("BitBtn7 bkOK") << QStringLiteral("BitBtn7") << QSize(18, 18) << "green";
    QTest::newRow("BitBtn8 bkOK") << QStringLiteral("BitBtn8") << QSize(18, 18) << "green";
}

void TestWindow::glyphs() {
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(QString, colour);
    auto* button = Child<QPushButton>(name);
    QVERIFY(button);
    QCOMPARE(button->iconSize(), size);
    const QIcon icon = button->icon();
    QVERIFY(!icon.isNull());
    const QImage normal = icon.pixmap(size, 1.0, QIcon::Normal).toImage();
    const QImage grey = icon.pixmap(size, 1.0, QIcon::Disabled).toImage();
    QCOMPARE(normal.size(), size);
    QCOMPARE(grey.size(), size);
    QVERIFY(CountPixels(normal, [](QRgb) { return true; }) > 20);
    if (colour == QLatin1String("green"))
        QVERIFY(CountPixels(normal, IsGreen) > 20);
    else if (colour == QLatin1String("red"))
        QVERIFY(CountPixels(normal, IsRed) > 20);
    QVERIFY(CountPixels(normal, IsColoured) > 20);
    QCOMPARE(CountPixels(grey, IsColoured), 0);
    QCOMPARE(CountPixels(grey, [](QRgb) { return true; }),
             CountPixels(normal, [](QRgb) { return true; }));
}

void TestWindow::tabOrder_data() {
    QTest::addColumn<QStringList>("order");
    QTest::newRow("GroupBox1") << Names(
        "Memo1 BitBtn1 BitBtn2 BitBtn3 BitBtn4 RadioGroup1Item1 Edit1 RadioGroup2Item0 BitBtn5 "
        "Button1 RadioGroup3Item0 UpDown1 Edit2 Edit3 BitBtn6");
    QTest::newRow("GroupBox2") << QStringList{"Memo2",   "Edit4", "BitBtn7", "Memo3",
                                              "BitBtn8", "Edit5", "Button2"};
    QTest::newRow("Panel1") << QStringList{"Memo1", "BitBtn6", "Memo2", "Button2"};
}

void TestWindow::tabOrder() {
    QFETCH(QStringList, order);
    const QStringList chain = FocusChain(Form.get());
    qsizetype previous = -1;
    for (const QString& name : order) {
        const qsizetype index = chain.indexOf(name);
        QVERIFY2(index > previous, qPrintable(name + QStringLiteral(" in ") + chain.join(u' ')));
        previous = index;
    }
    for (const char* label :
         {"StaticText1", "StaticText5", "StaticText9", "Label1", "StatusBar1Panel0"})
        QVERIFY2(!chain.contains(QString::fromLatin1(label)), label);
}

void TestWindow::tabKeyVisitsEnabledControls_data() {
    QTest::addColumn<bool>("normalised");
    QTest::addColumn<QStringList>("expected");
    // The disabled controls are skipped; a radio group is one stop, at its selected item.
    QTest::newRow("at start")
        << false
        << Names(
               "Memo1 BitBtn2 BitBtn4 RadioGroup1Item1 Edit1 RadioGroup2Item0 "
               "BitBtn5 RadioGroup3Item0 Memo2 Memo3 Button2 Memo1");
    QTest::newRow("normalised: the spinner is a stop")
        << true
        << Names(
               "Memo1 BitBtn1 BitBtn3 BitBtn4 RadioGroup1Item1 Edit1 RadioGroup2Item0 "
               "RadioGroup3Item0 UpDown1 BitBtn6 Memo2 Memo3 Button2 Memo1");
}

void TestWindow::tabKeyVisitsEnabledControls() {
    QFETCH(bool, normalised);
    QFETCH(QStringList, expected);
    if (normalised) QTest::mouseClick(Child(QStringLiteral("BitBtn5")), Qt::LeftButton);
    Child(QStringLiteral("Memo1"))->setFocus();
    QStringList visited = {QApplication::focusWidget()->objectName()};
    for (qsizetype i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, expected);
}

void TestWindow::escapeKey_data() {
    QTest::addColumn<QString>("focus");
    QTest::addColumn<bool>("bitBtn2Enabled");
    QTest::addColumn<int>("clicks");
    QTest::newRow("Edit1 clicks BitBtn2") << QStringLiteral("Edit1") << true << 1;
    QTest::newRow("radio item clicks BitBtn2") << QStringLiteral("RadioGroup1Item1") << true << 1;
    QTest::newRow("button BitBtn5 clicks BitBtn2") << QStringLiteral("BitBtn5") << true << 1;
    QTest::newRow("BitBtn2 itself") << QStringLiteral("BitBtn2") << true << 1;
    QTest::newRow("Memo1 keeps Escape") << QStringLiteral("Memo1") << true << 0;
    QTest::newRow("Memo2 keeps Escape") << QStringLiteral("Memo2") << true << 0;
    QTest::newRow("Memo3 keeps Escape") << QStringLiteral("Memo3") << true << 0;
    QTest::newRow("Edit1, BitBtn2 disabled") << QStringLiteral("Edit1") << false << 0;
}

void TestWindow::escapeKey() {
    QFETCH(QString, focus);
    QFETCH(bool, bitBtn2Enabled);
    QFETCH(int, clicks);
    auto* cancel = Child<QPushButton>(QStringLiteral("BitBtn2"));
    QWidget* target = Child(focus);
    QVERIFY(cancel && target);
    target->setFocus();
    QCOMPARE(QApplication::focusWidget(), target);
    cancel->setEnabled(bitBtn2Enabled);
    QSignalSpy clicked(cancel, &QPushButton::clicked);
    QTest::keyClick(target, Qt::Key_Escape);
    QCOMPARE(clicked.size(), clicks);
}

void TestWindow::returnKey_data() {
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QStringList>("enable");  // default buttons enabled for the row
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("clicked");  // the one button clicked, or empty
    const int ret = Qt::Key_Return;
    const QString edit1 = QStringLiteral("Edit1");
    QTest::newRow("Edit1, none enabled") << edit1 << QStringList{} << ret << QString();
    QTest::newRow("Edit1, BitBtn1") << edit1 << QStringList{"BitBtn1"} << ret << "BitBtn1";
    QTest::newRow("Edit1, all four")
        << edit1 << QStringList{"BitBtn1", "BitBtn6", "BitBtn7", "BitBtn8"} << ret << "BitBtn1";
    QTest::newRow("Edit1, BitBtn6 7 8")
        << edit1 << QStringList{"BitBtn6", "BitBtn7", "BitBtn8"} << ret << "BitBtn6";
    QTest::newRow("Edit1, BitBtn7 8")
        << edit1 << QStringList{"BitBtn7", "BitBtn8"} << ret << "BitBtn7";
    QTest::newRow("Edit1, BitBtn8") << edit1 << QStringList{"BitBtn8"} << ret << "BitBtn8";
    QTest::newRow("Edit1, keypad Enter")
        << edit1 << QStringList{"BitBtn6"} << int(Qt::Key_Enter) << "BitBtn6";
    QTest::newRow("radio item, BitBtn7")
        << QStringLiteral("RadioGroup3Item0") << QStringList{"BitBtn7"} << ret << "BitBtn7";
    QTest::newRow("Memo1 keeps Return")
        << QStringLiteral("Memo1") << QStringList{"BitBtn1"} << ret << QString();
    QTest::newRow("Memo3 keeps Return")
        << QStringLiteral("Memo3") << QStringList{"BitBtn1"} << ret << QString();
    QTest::newRow("focused BitBtn5 takes Return")
        << QStringLiteral("BitBtn5") << QStringList{"BitBtn1"} << ret << "BitBtn5";
    QTest::newRow("focused Button2 takes Return")
        << QStringLiteral("Button2") << QStringList{"BitBtn6"} << ret << "Button2";
    QTest::newRow("focused BitBtn2 takes Enter")
        << QStringLiteral("BitBtn2") << QStringList{"BitBtn1"} << int(Qt::Key_Enter) << "BitBtn2";
    QTest::newRow("focused BitBtn5 takes Space")
        << QStringLiteral("BitBtn5") << QStringList{"BitBtn1"} << int(Qt::Key_Space) << "BitBtn5";
}

void TestWindow::returnKey() {
    QFETCH(QString, focus);
    QFETCH(QStringList, enable);
    QFETCH(int, key);
    QFETCH(QString, clicked);
    const QStringList watched = {"BitBtn1", "BitBtn2", "BitBtn5", "BitBtn6",
                                 "BitBtn7", "BitBtn8", "Button2"};
    for (const QString& name : enable) Child(name)->setEnabled(true);
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (const QString& name : watched)
        spies.push_back(
            std::make_unique<QSignalSpy>(Child<QPushButton>(name), &QPushButton::clicked));

    QWidget* target = Child(focus);
    QVERIFY(target);
    target->setFocus();
    QCOMPARE(QApplication::focusWidget(), target);
    const Qt::KeyboardModifiers modifiers =
        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
    QTest::keyClick(target, Qt::Key(key), modifiers);

    for (qsizetype i = 0; i < watched.size(); ++i)
        QCOMPARE(spies[i]->size(), watched[i] == clicked ? 1 : 0);
    if (auto* memo = qobject_cast<Memo*>(target))
        QVERIFY(memo->Text().contains(QLatin1String("\r\n")));
}

void TestWindow::accelerators_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::newRow("BitBtn3 Alt+W")
        << QStringLiteral("BitBtn3") << QKeySequence(Qt::ALT | Qt::Key_W);
    QTest::newRow("BitBtn4 Alt+C")
        << QStringLiteral("BitBtn4") << QKeySequence(Qt::ALT | Qt::Key_C);
}

void TestWindow::accelerators() {
    QFETCH(QString, name);
    QFETCH(QKeySequence, shortcut);
    auto* button = Child<QPushButton>(name);
    QVERIFY(button);
    QCOMPARE(QKeySequence::mnemonic(button->text()), shortcut);
    QCOMPARE(button->shortcut(), shortcut);
}

void TestWindow::acceleratorKeys_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("clicks");
    const QString edit1 = QStringLiteral("Edit1");
    const QString memo1 = QStringLiteral("Memo1");
    QTest::newRow("Alt+W clicks BitBtn3")
        << QStringLiteral("BitBtn3") << true << int(Qt::Key_W) << edit1 << 1;
    QTest::newRow("Alt+W, BitBtn3 disabled, in Edit1")
        << QStringLiteral("BitBtn3") << false << int(Qt::Key_W) << edit1 << 0;
    QTest::newRow("Alt+W, BitBtn3 disabled, in Memo1")
        << QStringLiteral("BitBtn3") << false << int(Qt::Key_W) << memo1 << 0;
    QTest::newRow("Alt+C clicks BitBtn4")
        << QStringLiteral("BitBtn4") << true << int(Qt::Key_C) << edit1 << 1;
}

void TestWindow::acceleratorKeys() {
    QFETCH(QString, name);
    QFETCH(bool, enabled);
    QFETCH(int, key);
    QFETCH(QString, focus);
    QFETCH(int, clicks);
    auto* button = Child<QPushButton>(name);
    button->setEnabled(enabled);
    QSignalSpy clicked(button, &QPushButton::clicked);
    QWidget* target = Child(focus);
    target->setFocus();
    const QString textBefore = ShownText(target);
    QTest::keyClick(target, Qt::Key(key), Qt::AltModifier);
    // A mnemonic presses the button visibly and clicks it a moment later.
    if (clicks > 0) {
        QTRY_COMPARE(clicked.size(), clicks);
    } else {
        QTest::qWait(300);
        QCOMPARE(clicked.size(), 0);
    }
    // An accelerator is never typed as text.
    QCOMPARE(ShownText(target), textBefore);
    // BitBtn4 closes the window.
    QCOMPARE(Form->isVisible(), !(name == QLatin1String("BitBtn4") && clicks > 0));
}

void TestWindow::button2DoesNothing() {
    auto* button = Child<QPushButton>(QStringLiteral("Button2"));
    QVERIFY(button);
    const QStringList before = VisibleState(Form.get());
    QSignalSpy clicked(button, &QPushButton::clicked);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(VisibleState(Form.get()), before);
    QVERIFY(Form->isVisible());
}

void TestWindow::spinnerArrows_data() {
    using Arrow = UpDown::Arrow;
    QTest::addColumn<int>("start");
    QTest::addColumn<Arrow>("arrow");
    QTest::addColumn<bool>("byKey");  // the arrow's key on the spinner, reached by Tab
    QTest::addColumn<int>("position");  // after the click
    QTest::addColumn<bool>("signalled");
    QTest::newRow("down at 1: nothing") << 1 << Arrow::Down << false << 1 << false;
    QTest::newRow("up at 1") << 1 << Arrow::Up << false << 2 << true;
    QTest::newRow("up at 24") << 24 << Arrow::Up << false << 25 << true;
    QTest::newRow("up at 25: nothing") << 25 << Arrow::Up << false << 25 << false;
    QTest::newRow("down at 25") << 25 << Arrow::Down << false << 24 << true;
    QTest::newRow("down at 2") << 2 << Arrow::Down << false << 1 << true;
    QTest::newRow("key Down at 1: nothing") << 1 << Arrow::Down << true << 1 << false;
    QTest::newRow("key Up at 1") << 1 << Arrow::Up << true << 2 << true;
    QTest::newRow("key Up at 25: nothing") << 25 << Arrow::Up << true << 25 << false;
    QTest::newRow("key Down at 25") << 25 << Arrow::Down << true << 24 << true;
}

void TestWindow::spinnerArrows() {
    QFETCH(int, start);
    QFETCH(UpDown::Arrow, arrow);
    QFETCH(bool, byKey);
    QFETCH(int, position);
    QFETCH(bool, signalled);
    auto* spinner = Child<UpDown>(QStringLiteral("UpDown1"));
    QVERIFY(spinner);
    // A normalised text of 40 letters enables the spinner and accepts every position.
    Child<Memo>(QStringLiteral("Memo1"))->SetText(QString(40, QLatin1Char('a')));
    QTest::mouseClick(Child(QStringLiteral("BitBtn5")), Qt::LeftButton);
    QVERIFY(spinner->isEnabled());
    spinner->SetPosition(start);
    QSignalSpy click(spinner, &UpDown::Click);
    const bool up = arrow == UpDown::Arrow::Up;
    if (byKey) {
        // The spinner's tab place is after RadioGroup3; it shows that it has the focus.
        const QImage unfocused = spinner->grab().toImage();
        Child(QStringLiteral("RadioGroup3Item0"))->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), spinner);
        QVERIFY(spinner->grab().toImage() != unfocused);
        QTest::keyClick(spinner, up ? Qt::Key_Up : Qt::Key_Down);
    } else {
        QTest::mouseClick(Child(up ? QStringLiteral("UpDown1Up") : QStringLiteral("UpDown1Down")),
                          Qt::LeftButton);
    }
    QCOMPARE(spinner->Position(), position);
    QCOMPARE(click.size(), signalled ? 1 : 0);
    if (signalled) {
        QCOMPARE(click.first().at(0).toInt(), position);
        QCOMPARE(click.first().at(1).value<UpDown::Arrow>(), arrow);
    }
}

void TestWindow::disabledSpinnerDoesNothing() {
    auto* spinner = Child<UpDown>(QStringLiteral("UpDown1"));
    QSignalSpy click(spinner, &UpDown::Click);
    QTest::mouseClick(Child(QStringLiteral("UpDown1Up")), Qt::LeftButton);
    spinner->setFocus();
    QVERIFY(!spinner->hasFocus());
    QTest::keyClick(spinner, Qt::Key_Up);
    QCOMPARE(spinner->Position(), 1);
    QCOMPARE(click.size(), 0);
}

void TestWindow::radioClick_data() {
    QTest::addColumn<QString>("group");
    QTest::addColumn<int>("clickedItem");  // clicked on its circle, or -1 for a key
    QTest::addColumn<Qt::Key>("key");  // pressed on the selected item
    QTest::addColumn<int>("itemIndex");  // after the action
    QTest::addColumn<int>("clicks");
    const QString group1 = QStringLiteral("RadioGroup1");
    const QString group2 = QStringLiteral("RadioGroup2");
    const QString group3 = QStringLiteral("RadioGroup3");
    const Qt::Key noKey = Qt::Key_unknown;
    QTest::newRow("RadioGroup1: click the selected item") << group1 << 1 << noKey << 1 << 0;
    QTest::newRow("RadioGroup1: click the other item") << group1 << 0 << noKey << 0 << 1;
    QTest::newRow("RadioGroup2: click the selected item") << group2 << 0 << noKey << 0 << 0;
    QTest::newRow("RadioGroup2: click the other item") << group2 << 1 << noKey << 1 << 1;
    QTest::newRow("RadioGroup3: arrow down") << group3 << -1 << Qt::Key_Down << 1 << 1;
    QTest::newRow("RadioGroup1: arrow up") << group1 << -1 << Qt::Key_Up << 0 << 1;
    QTest::newRow("RadioGroup1: arrow down wraps round") << group1 << -1 << Qt::Key_Down << 0 << 1;
    QTest::newRow("RadioGroup2: arrow up wraps round") << group2 << -1 << Qt::Key_Up << 1 << 1;
    QTest::newRow("RadioGroup3: arrow right") << group3 << -1 << Qt::Key_Right << 1 << 1;
    QTest::newRow("RadioGroup2: space on the selected item")
        << group2 << -1 << Qt::Key_Space << 0 << 0;
}

void TestWindow::radioClick() {
    QFETCH(QString, group);
    QFETCH(int, clickedItem);
    QFETCH(Qt::Key, key);
    QFETCH(int, itemIndex);
    QFETCH(int, clicks);
    auto* radio = Child<RadioGroup>(group);
    QSignalSpy click(radio, &RadioGroup::Click);
    int indexInSlot = -2;
    connect(radio, &RadioGroup::Click, this, [&] { indexInSlot = radio->ItemIndex(); });
    const auto item = [&](int n) {
        return Child(group + QStringLiteral("Item") + QString::number(n));
    };
    if (clickedItem >= 0) {
        // On the indicator: a radio button takes clicks on its circle and text only.
        QWidget* clicked = item(clickedItem);
        QTest::mouseClick(clicked, Qt::LeftButton, {}, QPoint(6, clicked->height() / 2));
    } else {
        QWidget* selected = item(radio->ItemIndex());
        selected->setFocus();
        QCOMPARE(QApplication::focusWidget(), selected);
        QTest::keyClick(selected, key);
        QCOMPARE(QApplication::focusWidget(), item(itemIndex));
    }
    QCOMPARE(radio->ItemIndex(), itemIndex);
    QCOMPARE(TabStops(radio), QList<int>{itemIndex});
    QCOMPARE(click.size(), clicks);
    if (clicks > 0) QCOMPARE(indexInSlot, itemIndex);
}

void TestWindow::radioSetItemIndexIsSilent() {
    auto* radio = Child<RadioGroup>(QStringLiteral("RadioGroup3"));
    QSignalSpy click(radio, &RadioGroup::Click);
    radio->SetItemIndex(1);
    QCOMPARE(radio->ItemIndex(), 1);
    QVERIFY(Child<QRadioButton>(QStringLiteral("RadioGroup3Item1"))->isChecked());
    QCOMPARE(TabStops(radio), QList<int>{1});
    radio->SetItemIndex(0);
    QCOMPARE(radio->ItemIndex(), 0);
    QCOMPARE(click.size(), 0);

    // Disabled, it takes no clicks.
    radio->setEnabled(false);
    QWidget* item = Child(QStringLiteral("RadioGroup3Item1"));
    QTest::mouseClick(item, Qt::LeftButton, {}, QPoint(6, item->height() / 2));
    QCOMPARE(radio->ItemIndex(), 0);
    QCOMPARE(click.size(), 0);
}

void TestWindow::memoText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");  // Text() afterwards
    const QString longRun(2001, QLatin1Char('Q'));
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("prose with CR LF")
        << QStringLiteral("Ein Satz.\r\nNoch einer.") << QStringLiteral("Ein Satz.\r\nNoch einer.");
    QTest::newRow("LF becomes CR LF") << QStringLiteral("A\nB") << QStringLiteral("A\r\nB");
    QTest::newRow("long run") << longRun << longRun;
    QTest::newRow("long run after prose")
        << QStringLiteral("Ein Satz ") + longRun << QStringLiteral("Ein Satz ") + longRun;
    const QString blocks = QStringLiteral("ABCDE ").repeated(2000).trimmed();
    QTest::newRow("five-letter groups") << blocks << blocks;
}

void TestWindow::memoText() {
    QFETCH(QString, text);
    QFETCH(QString, shown);
    for (const char* name : {"Memo1", "Memo2", "Memo3"}) {
        auto* memo = Child<Memo>(QString::fromLatin1(name));
        memo->SetText(text);
        QCOMPARE(memo->Text(), shown);
        QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        memo->Clear();
        QCOMPARE(memo->Text(), QString());
    }
}

void TestWindow::windowIconHasEverySize() {
    const QIcon icon = Form->windowIcon();
    QVERIFY(!icon.isNull());
    for (const int size : {TRITHEMIUS_ICON_SIZES}) {
        QVERIFY2(icon.availableSizes().contains(QSize(size, size)),
                 qPrintable(QString::number(size)));
    }
}

void TestWindow::accessibleNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("accessibleName");  // from its label, or its role
    const char* rows[][2] = {
        {"Memo1", "Eingabetext"},
        {"Memo2", "Keystrom"},
        {"Memo3", "Ergebnistext"},
        {"Edit1", "... derzeit gütliger Schlüsselsatz"},
        {"Edit2", "Aktuelle Einfüge-Position des Schlüsselsatzes"},
        {"Edit3", "Eingabezeichenzahl"},
        {"Edit4", "Anzahl der Zeichen für den Keystrom"},
        {"Edit5", "Anzahl der Ciphertextzeichen"},
        {"RadioGroup1", "Verfahrensauswahl"},
        {"RadioGroup2", "Schlüsselstart"},
        {"RadioGroup3", "Arbeitsrichtung"},
        {"UpDown1", "Startposition des Key-Alphabets"},
    };
    for (const auto& row : rows)
        QTest::newRow(row[0]) << QString::fromLatin1(row[0]) << QString::fromUtf8(row[1]);
}

void TestWindow::accessibleNames() {
    QFETCH(QString, name);
    QFETCH(QString, accessibleName);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(Child(name));
    QVERIFY(accessible);
    QCOMPARE(accessible->text(QAccessible::Name), accessibleName);
}

void TestWindow::accessibleRoles_data() {
    // The controls whose role Qt cannot know: Qt takes a plain QWidget for a
    // client area.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QAccessible::Role>("role");
    QTest::newRow("Form1") << QStringLiteral("Form1") << QAccessible::Window;
    QTest::newRow("UpDown1") << QStringLiteral("UpDown1") << QAccessible::SpinBox;
    QTest::newRow("StatusBar1") << QStringLiteral("StatusBar1") << QAccessible::StatusBar;
}

void TestWindow::accessibleRoles() {
    QFETCH(QString, name);
    QFETCH(QAccessible::Role, role);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(Child(name));
    QVERIFY(accessible);
    QCOMPARE(accessible->role(), role);
}

void TestWindow::qtTextsAreGerman_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("Memo1") << QStringLiteral("Memo1");
    QTest::newRow("Edit1") << QStringLiteral("Edit1");
}

// The texts Qt draws itself are German too: a text field's context menu.
void TestWindow::qtTextsAreGerman() {
    QFETCH(QString, name);
    QWidget* control = Child(name);
    if (auto* memo = qobject_cast<Memo*>(control)) control = memo->viewport();
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                            control->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(control, &event);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QStringList entries;
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator()) entries << action->text();
    }
    delete menu;
    QCOMPARE(entries, (QStringList{"&Rückgängig\tStrg+Z", "Wieder&herstellen\tStrg+Y",
                                   "&Ausschneiden\tStrg+X", "&Kopieren\tStrg+C",
                                   "Einf&ügen\tStrg+V", "Löschen", "Alles auswählen\tStrg+A"}));
}

void TestWindow::closing_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("BitBtn4") << QStringLiteral("BitBtn4");
    QTest::newRow("Alt+C") << QStringLiteral("Alt+C");
    QTest::newRow("title bar close") << QStringLiteral("window close");
}

void TestWindow::closing() {
    QFETCH(QString, how);
    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    QTimer::singleShot(0, Form.get(), [&] {
        if (how == QLatin1String("BitBtn4")) {
            QTest::mouseClick(Child(QStringLiteral("BitBtn4")), Qt::LeftButton);
        } else if (how == QLatin1String("Alt+C")) {
            QTest::keyClick(Child(QStringLiteral("Memo1")), Qt::Key_C, Qt::AltModifier);
        } else {
            Form->windowHandle()->close();
        }
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
    watchdog.start(10000);
    // The program's loop ends by itself once the window is closed.
    QCOMPARE(QApplication::exec(), 0);
    QCOMPARE(lastClosed.size(), 1);
    QVERIFY(!Form->isVisible());
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
