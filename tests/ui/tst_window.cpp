// Tests of the window Form1 at start: one table of its controls as the
// window definition gives them (parent, place, state, text, font, colours,
// accessible name), then the sample text, the glyphs, the focus order, the
// icon, the accessible roles, Qt's own texts, the memos' texts and closing.
// Controls are found by their object names; each test gets a fresh window
// and leaves no top-level widget behind.
#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QIcon>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <cmath>

#include <algorithm>
#include <memory>
#include <vector>

#include "memo_text.h"
#include "tform1.h"
#include "window_controls.h"

namespace {

const QColor clNavy(0, 0, 128);
const QColor clYellow(255, 255, 0);
const QColor clBlack(0, 0, 0);
const QColor clRed(255, 0, 0);
const QColor clGreen(0, 128, 0);
const QColor clWhite(255, 255, 255);
const QColor clMaroon(128, 0, 0);

// Whether a control takes input, and for a radio item whether it is the selected one.
enum class State { Disabled, Enabled, Checked };

// A font as the window names it: the face and, where the platform lacks it, its substitute.
struct Font {
    QStringList Families;
    int PixelSize = 0;
    bool Bold = false;
    bool Italic = false;
};

const Font kSans{{"MS Sans Serif", "Liberation Sans"}, 11, false, false};
const Font kHeading{{"Times New Roman", "Liberation Serif"}, 21, true, true};
const Font kText{{"Courier New", "Liberation Mono"}, 16, true, false};
const Font kAlphabet{{"Courier New", "Liberation Mono"}, 24, true, false};

// The colours of a control's text and of its background (a memo's or a field's own).
struct Colours {
    QColor Text;
    QColor Background;
};

// The window's background is clBtnFace, which every control but the memos and fields shows.
QColor Face() { return QApplication::palette().color(QPalette::Button); }
Colours Plain() { return {QApplication::palette().color(QPalette::WindowText), Face()}; }
Colours Field() {
    return {QApplication::palette().color(QPalette::Text),
            QApplication::palette().color(QPalette::Base)};
}

// One control of the window definition.
struct Control {
    const char* Name;
    const char* Parent;  // empty for the window
    QRect Geometry;  // for the window: its frame's position and its client size
    State Shown;
    QString Text;
    QString AccessibleName = {};  // where the window gives one, its own or its label's
    Font TheFont = kSans;
    Colours TheColours = Plain();
};

const std::vector<Control>& Controls() {
    using enum State;
    const QString keyAlphabet = trithemius::CipherTextToMemoText(trithemius::kClassicalAlphabetA);
    const Colours yellowOnNavy{clYellow, clNavy};
    const Colours redOnBlack{clRed, clBlack};
    const Colours whiteOnGreen{clWhite, clGreen};
    const Colours maroon{clMaroon, Face()};
    const Colours green{clGreen, Face()};
    const Colours red{clRed, Face()};
    static const std::vector<Control> controls = {
        {"Form1", "", QRect(261, 118, 1319, 497), Enabled, "Trithemius-Chiffre"},
        {"Panel1", "Form1", QRect(0, 0, 1313, 470), Enabled, ""},
        {"GroupBox1", "Panel1", QRect(8, 56, 641, 409), Enabled, "Eingabeseite"},
        {"Memo1", "GroupBox1", QRect(8, 16, 625, 121), Enabled, "", "Eingabetext", kText,
         yellowOnNavy},
        {"BitBtn1", "GroupBox1", QRect(224, 176, 193, 25), Disabled, "Fünfer-Blöcke"},
        {"BitBtn2", "GroupBox1", QRect(224, 144, 193, 25), Enabled, "Eingabtetext löschen"},
        {"BitBtn3", "GroupBox1", QRect(440, 144, 193, 25), Disabled, "&Wiederholen"},
        {"BitBtn4", "GroupBox1", QRect(440, 176, 193, 25), Enabled, "S&chließen"},
        {"RadioGroup1", "GroupBox1", QRect(8, 216, 417, 73), Enabled, "Verfahrensauswahl",
         "Verfahrensauswahl"},
        {"RadioGroup1Item0", "RadioGroup1", QRect(8, 14, 407, 27), Enabled, "modernes Alphabet"},
        {"RadioGroup1Item1", "RadioGroup1", QRect(8, 41, 407, 27), Checked,
         "klassischer Trithemius (ohne J und V und andere Zeichenanordnung)"},
        {"Edit1", "GroupBox1", QRect(8, 320, 369, 35), Enabled, keyAlphabet,
         "... derzeit gütliger Schlüsselsatz", kAlphabet, Field()},
        {"StaticText5", "GroupBox1", QRect(8, 296, 151, 17), Enabled,
         "... derzeit gütliger Schlüsselsatz"},
        {"RadioGroup2", "GroupBox1", QRect(440, 256, 193, 65), Enabled, "Schlüsselstart",
         "Schlüsselstart"},
        {"RadioGroup2Item0", "RadioGroup2", QRect(8, 14, 183, 23), Checked,
         "Schlüssel beginnt mit A"},
        {"RadioGroup2Item1", "RadioGroup2", QRect(8, 37, 183, 23), Enabled,
         "Schlüssel beginnt mit B"},
        {"BitBtn5", "GroupBox1", QRect(8, 144, 193, 25), Enabled, "Eingabetetxt bereinigen"},
        {"Button1", "GroupBox1", QRect(8, 176, 193, 25), Disabled, "Chiffrieren"},
        {"RadioGroup3", "GroupBox1", QRect(440, 328, 193, 73), Enabled, "Arbeitsrichtung",
         "Arbeitsrichtung"},
        {"RadioGroup3Item0", "RadioGroup3", QRect(8, 14, 183, 27), Checked,
         "Encoding (Verschlüsseln)"},
        {"RadioGroup3Item1", "RadioGroup3", QRect(8, 41, 183, 27), Enabled,
         "Decoding (Entschlüsseln)"},
        {"UpDown1", "GroupBox1", QRect(8, 368, 17, 25), Disabled, "1",
         "Startposition des Key-Alphabets"},
        {"UpDown1Up", "UpDown1", QRect(0, 0, 17, 12), Disabled, "", "Startposition erhöhen"},
        {"UpDown1Down", "UpDown1", QRect(0, 12, 17, 13), Disabled, "", "Startposition verringern"},
        {"Edit2", "GroupBox1", QRect(24, 368, 33, 26), Disabled, "1",
         "Aktuelle Einfüge-Position des Schlüsselsatzes", kText, Field()},
        {"StaticText7", "GroupBox1", QRect(72, 376, 219, 17), Enabled,
         "Aktuelle Einfüge-Position des Schlüsselsatzes"},
        {"Edit3", "GroupBox1", QRect(576, 216, 57, 26), Disabled, "???", "Eingabezeichenzahl",
         kText, Field()},
        {"StaticText8", "GroupBox1", QRect(464, 224, 99, 17), Enabled, "Eingabezeichenzahl"},
        {"BitBtn6", "GroupBox1", QRect(224, 232, 193, 25), Disabled, "Keystrom generieren"},
        {"GroupBox2", "Panel1", QRect(656, 56, 649, 409), Enabled, "Ausgabeseite"},
        {"Label1", "GroupBox2", QRect(384, 328, 137, 13), Enabled, "Anzahl der Ciphertextzeichen"},
        {"Memo2", "GroupBox2", QRect(8, 16, 625, 121), Enabled, "", "Keystrom", kText, redOnBlack},
        {"Edit4", "GroupBox2", QRect(568, 144, 65, 26), Disabled, "???",
         "Anzahl der Zeichen für den Keystrom", kText, Field()},
        {"StaticText9", "GroupBox2", QRect(376, 152, 178, 17), Enabled,
         "Anzahl der Zeichen für den Keystrom"},
        {"BitBtn7", "GroupBox2", QRect(8, 152, 193, 25), Disabled, "Fünfer-Blöcke"},
        {"Memo3", "GroupBox2", QRect(8, 192, 625, 121), Enabled, "", "Ergebnistext", kText,
         whiteOnGreen},
        {"BitBtn8", "GroupBox2", QRect(8, 328, 193, 25), Disabled, "Fünfer-Blöcke"},
        {"Edit5", "GroupBox2", QRect(568, 320, 65, 26), Disabled, "???",
         "Anzahl der Ciphertextzeichen", kText, Field()},
        {"Button2", "GroupBox2", QRect(8, 376, 193, 25), Enabled,
         "Aktuelle Chiffriertabelle einblenden"},
        {"StaticText1", "Panel1", QRect(8, 16, 428, 28), Enabled,
         "Chifrieren und Dechiffrieren Trithemius-Chiffre", "", kHeading, maroon},
        {"StaticText2", "Panel1", QRect(664, 24, 71, 17), Enabled, "Arbeitsbeginn:"},
        {"StaticText3", "Panel1", QRect(1120, 24, 109, 17), Enabled, "Aktueller Arbeitsstand:"},
        {"StaticText4", "Panel1", QRect(752, 24, 58, 17), Enabled, "30.11.2018", "", kSans, green},
        {"StaticText6", "Panel1", QRect(1248, 24, 58, 17), Enabled, "04.01.2019", "", kSans, red},
        {"StatusBar1", "Form1", QRect(0, 478, 1319, 19), Enabled, ""},
        {"StatusBar1Panel0", "StatusBar1", QRect(0, 2, 128, 17), Enabled, "Anzahl Eingabezeichen"},
        {"StatusBar1Panel1", "StatusBar1", QRect(130, 2, 38, 17), Enabled, "35"},
        {"StatusBar1Panel2", "StatusBar1", QRect(170, 2, 163, 17), Enabled,
         "Startposition des Key-Alphabets"},
        {"StatusBar1Panel3", "StatusBar1", QRect(335, 2, 18, 17), Enabled, "1"},
        {"StatusBar1Panel4", "StatusBar1", QRect(355, 2, 88, 17), Enabled, "Sclüsselalphabet"},
        {"StatusBar1Panel5", "StatusBar1", QRect(445, 2, 178, 17), Enabled, keyAlphabet},
        {"StatusBar1Panel6", "StatusBar1", QRect(625, 2, 48, 17), Enabled, ""},
        {"StatusBar1Panel7", "StatusBar1", QRect(675, 2, 48, 17), Enabled, ""},
        {"StatusBar1SizeGrip", "StatusBar1", QRect(1302, 2, 17, 17), Enabled, ""},
    };
    return controls;
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

bool IsAny(QRgb) { return true; }

bool IsGreen(QRgb p) { return qGreen(p) > qRed(p) + 40 && qGreen(p) > qBlue(p) + 40; }

bool IsRed(QRgb p) { return qRed(p) > qGreen(p) + 60 && qRed(p) > qBlue(p) + 60; }

bool IsColoured(QRgb p) {
    return qMax(qMax(qRed(p), qGreen(p)), qBlue(p)) - qMin(qMin(qRed(p), qGreen(p)), qBlue(p)) > 16;
}

}  // namespace

class TestWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void controls_data();
    void controls();
    void windowAtStart();
    void memo1SampleText();
    void resizeKeepsControls();
    void glyphs_data();
    void glyphs();
    void accessibleRoles_data();
    void accessibleRoles();
    void qtTextsAreGerman_data();
    void qtTextsAreGerman();
    void memoText_data();
    void memoText();
    void closing_data();
    void closing();
    void fixedColoursStayReadable_data();
    void fixedColoursStayReadable();

private:
    template <typename T = QWidget>
    T* Child(const QString& name) const {
        return FindControl<T>(Form.get(), name);
    }

    std::unique_ptr<TForm1> Form;
};

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

void TestWindow::controls_data() {
    QTest::addColumn<Control>("row");
    for (const Control& control : Controls()) QTest::newRow(control.Name) << control;
}

void TestWindow::controls() {
    QFETCH(Control, row);
    QWidget* control = Child(row.Name);
    const QString parent = QString::fromLatin1(row.Parent);
    QCOMPARE(control->parentWidget(), parent.isEmpty() ? nullptr : Child(parent));
    QCOMPARE(QRect(control->pos(), control->size()), row.Geometry);
    QVERIFY(control->isVisible());
    QCOMPARE(control->isEnabled(), row.Shown != State::Disabled);
    auto* button = qobject_cast<QAbstractButton*>(control);
    QCOMPARE(button != nullptr && button->isChecked(), row.Shown == State::Checked);
    // Memo1's sample text is memo1SampleText's.
    if (control != Child("Memo1")) QCOMPARE(ShownText(control), row.Text);

    const QFont font = control->font();
    QCOMPARE(font.families().mid(0, 2), row.TheFont.Families);
    QCOMPARE(font.pixelSize(), row.TheFont.PixelSize);
    QCOMPARE(font.bold(), row.TheFont.Bold);
    QCOMPARE(font.italic(), row.TheFont.Italic);
    const QFontInfo shown(font);
    QVERIFY2(row.TheFont.Families.contains(shown.family()), qPrintable(shown.family()));
    QCOMPARE(shown.pixelSize(), row.TheFont.PixelSize);
    QCOMPARE(shown.bold(), row.TheFont.Bold);
    QCOMPARE(shown.italic(), row.TheFont.Italic);

    auto* memo = qobject_cast<Memo*>(control);
    const bool entry = memo != nullptr || qobject_cast<QLineEdit*>(control) != nullptr;
    const QPalette& colours = control->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        QCOMPARE(colours.color(group, entry ? QPalette::Text : QPalette::WindowText),
                 row.TheColours.Text);
        QCOMPARE(colours.color(group, entry ? QPalette::Base : QPalette::Window),
                 row.TheColours.Background);
    }
    // An empty memo shows its background all over.
    if (memo != nullptr && memo->Text().isEmpty()) {
        const QImage picture = memo->viewport()->grab().toImage();
        for (const QPoint p :
             {QPoint(20, 40), picture.rect().center(), picture.rect().bottomRight() - QPoint(4, 4)})
            QCOMPARE(QColor(picture.pixel(p)), row.TheColours.Background);
    }

    if (!row.AccessibleName.isEmpty()) {
        QCOMPARE(QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name),
                 row.AccessibleName);
    }
}

// The window as a whole: no control beyond the table, the focus at start and
// in tab order (disabled controls included), the spinner's arrows and the icon.
void TestWindow::windowAtStart() {
    QCOMPARE(Form->objectName(), QStringLiteral("Form1"));
    QStringList named;
    for (const QWidget* control : Form->findChildren<QWidget*>()) {
        if (!control->objectName().isEmpty() && !control->objectName().startsWith(u"qt_"))
            named << control->objectName();
    }
    QStringList rows;
    for (const Control& control : Controls()) rows << QString::fromLatin1(control.Name);
    rows.removeOne(QStringLiteral("Form1"));
    named.sort();
    rows.sort();
    QCOMPARE(named, rows);

    QCOMPARE(QApplication::focusWidget(), Child("Memo1"));
    QStringList chain;
    for (QWidget* w = Form->nextInFocusChain(); w != Form.get(); w = w->nextInFocusChain()) {
        if (!w->objectName().isEmpty() && w->focusPolicy() & Qt::TabFocus) chain << w->objectName();
    }
    QCOMPARE(chain, QString::fromLatin1("Memo1 BitBtn1 BitBtn2 BitBtn3 BitBtn4 RadioGroup1Item1 "
                                        "Edit1 RadioGroup2Item0 BitBtn5 Button1 RadioGroup3Item0 "
                                        "UpDown1 Edit2 Edit3 BitBtn6 Memo2 Edit4 BitBtn7 Memo3 "
                                        "BitBtn8 Edit5 Button2")
                        .split(u' '));

    QCOMPARE(Child<QToolButton>("UpDown1Up")->arrowType(), Qt::UpArrow);
    QCOMPARE(Child<QToolButton>("UpDown1Down")->arrowType(), Qt::DownArrow);

    // The sizes a desktop asks for, as the package installs them.
    const QList<QSize> iconSizes = Form->windowIcon().availableSizes();
    for (const int size : {16, 32, 48, 64, 128, 256})
        QVERIFY2(iconSizes.contains(QSize(size, size)), qPrintable(QString::number(size)));
    // A Wayland compositor matches the window to the desktop entry the
    // package installs by this name.
    QVERIFY2(QFile::exists(QStringLiteral(TRITHEMIUS_DESKTOP_ENTRY_DIR "/") +
                           QGuiApplication::desktopFileName() + QStringLiteral(".desktop")),
             qPrintable(QGuiApplication::desktopFileName()));
}

void TestWindow::memo1SampleText() {
    // 29 lines of prose with every kind of character the normalisation treats,
    // and nothing outside Windows-1252.
    const QString text = Child<Memo>("Memo1")->Text();
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 29);
    for (const QString& line : lines) QVERIFY2(!line.trimmed().isEmpty(), "no empty line");
    for (const QChar c : QStringLiteral("äöüß !',-.:„“"))
        QVERIFY2(text.contains(c), qPrintable(QStringLiteral("missing ") + c));
    QVERIFY(std::any_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); }));
    QVERIFY(std::any_of(text.begin(), text.end(), [](QChar c) { return c >= u'a' && c <= u'z'; }));
    QVERIFY(std::any_of(text.begin(), text.end(), [](QChar c) { return c >= u'A' && c <= u'Z'; }));
    const QString allowed = QStringLiteral("äöüÄÖÜß !',-.:„“\r\n");
    for (const QChar c : text) {
        const bool ascii = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c.isDigit();
        QVERIFY2(ascii || allowed.contains(c), qPrintable(QStringLiteral("unexpected ") + c));
    }
}

void TestWindow::resizeKeepsControls() {
    Form->resize(1500, 600);
    QTRY_COMPARE(Child("StatusBar1")->geometry(), QRect(0, 581, 1500, 19));
    QCOMPARE(Child("Panel1")->geometry(), QRect(0, 0, 1313, 470));
    QCOMPARE(Child("Memo1")->geometry(), QRect(8, 16, 625, 121));
    QCOMPARE(Child("Button2")->geometry(), QRect(8, 376, 193, 25));

    Form->resize(800, 300);
    QTRY_COMPARE(Child("StatusBar1")->geometry(), QRect(0, 281, 800, 19));
    QCOMPARE(Child("GroupBox2")->geometry(), QRect(656, 56, 649, 409));
}

void TestWindow::glyphs_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("colour");  // green, red or any
    QTest::newRow("BitBtn1 bkOK") << "BitBtn1" << QSize(18, 18) << "green";
    QTest::newRow("BitBtn2 bkNo") << "BitBtn2" << QSize(18, 18) << "red";
    QTest::newRow("BitBtn3 bkRetry") << "BitBtn3" << QSize(18, 18) << "green";
    QTest::newRow("BitBtn4 bkClose") << "BitBtn4" << QSize(18, 18) << "any";
    QTest::newRow("BitBtn5 bkAll") << "BitBtn5" << QSize(18, 19) << "green";
    QTest::newRow("BitBtn6 bkOK") << "BitBtn6" << QSize(18, 18) << "green";
    QTest::newRow("BitBtn7 bkOK") << "BitBtn7" << QSize(18, 18) << "green";
    QTest::newRow("BitBtn8 bkOK") << "BitBtn8" << QSize(18, 18) << "green";
}

// A glyph of its kind's colour, and all grey (in the same shape) while its button is disabled.
void TestWindow::glyphs() {
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(QString, colour);
    auto* button = Child<QPushButton>(name);
    QCOMPARE(button->iconSize(), size);
    const QImage normal = button->icon().pixmap(size, 1.0, QIcon::Normal).toImage();
    const QImage grey = button->icon().pixmap(size, 1.0, QIcon::Disabled).toImage();
    QCOMPARE(normal.size(), size);
    QCOMPARE(grey.size(), size);
    QVERIFY(CountPixels(normal, IsAny) > 20);
    if (colour == u"green") QVERIFY(CountPixels(normal, IsGreen) > 20);
    if (colour == u"red") QVERIFY(CountPixels(normal, IsRed) > 20);
    QVERIFY(CountPixels(normal, IsColoured) > 20);
    QCOMPARE(CountPixels(grey, IsColoured), 0);
    QCOMPARE(CountPixels(grey, IsAny), CountPixels(normal, IsAny));
}

void TestWindow::accessibleRoles_data() {
    // The controls whose role Qt cannot know: Qt takes a plain QWidget for a
    // client area.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QAccessible::Role>("role");
    QTest::newRow("Form1") << "Form1" << QAccessible::Window;
    QTest::newRow("UpDown1") << "UpDown1" << QAccessible::SpinBox;
    QTest::newRow("StatusBar1") << "StatusBar1" << QAccessible::StatusBar;
}

void TestWindow::accessibleRoles() {
    QFETCH(QString, name);
    QFETCH(QAccessible::Role, role);
    QCOMPARE(QAccessible::queryAccessibleInterface(Child(name))->role(), role);
}

void TestWindow::qtTextsAreGerman_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("Memo1") << "Memo1";
    QTest::newRow("Edit1") << "Edit1";
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

// The memos at the window's size and font hold any text as it was set, joined by CR LF.
void TestWindow::memoText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");  // Text() afterwards
    const QString longRun(2001, QLatin1Char('Q'));
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("prose with CR LF") << "Ein Satz.\r\nNoch einer."
                                      << "Ein Satz.\r\nNoch einer.";
    QTest::newRow("LF becomes CR LF") << "A\nB"
                                      << "A\r\nB";
    QTest::newRow("long run") << longRun << longRun;
    QTest::newRow("long run after prose") << "Ein Satz " + longRun << "Ein Satz " + longRun;
    const QString blocks = QStringLiteral("ABCDE ").repeated(2000).trimmed();
    QTest::newRow("five-letter groups") << blocks << blocks;
}

void TestWindow::memoText() {
    QFETCH(QString, text);
    QFETCH(QString, shown);
    for (const char* name : {"Memo1", "Memo2", "Memo3"}) {
        auto* memo = Child<Memo>(name);
        memo->SetText(text);
        QCOMPARE(memo->Text(), shown);
        memo->Clear();
        QCOMPARE(memo->Text(), QString());
    }
}

void TestWindow::closing_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("BitBtn4") << "BitBtn4";
    QTest::newRow("Alt+C in Edit1") << "Alt+C";
    QTest::newRow("title bar close") << "window close";
}

// Each way closes the window, and the program's loop ends by itself.
void TestWindow::closing() {
    QFETCH(QString, how);
    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    QTimer::singleShot(0, Form.get(), [&] {
        if (how == u"BitBtn4") {
            QTest::mouseClick(Child("BitBtn4"), Qt::LeftButton);
        } else if (how == u"Alt+C") {
            QTest::keyClick(Child("Edit1"), Qt::Key_C, Qt::AltModifier);
        } else {
            Form->windowHandle()->close();
        }
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
    watchdog.start(10000);
    QCOMPARE(QApplication::exec(), 0);
    QCOMPARE(lastClosed.size(), 1);
    QVERIFY(!Form->isVisible());
}

void TestWindow::fixedColoursStayReadable_data() {
    QTest::addColumn<bool>("dark");
    QTest::newRow("light scheme") << false;
    QTest::newRow("dark scheme") << true;
}

// The heading and the two dates keep their colours; under a dark scheme
// each keeps a light face of its own, and is as easy to read as on the
// light scheme's face, or at 4.5:1 (as WCAG measures it); under a light
// scheme nothing changes.
void TestWindow::fixedColoursStayReadable() {
    QFETCH(bool, dark);
    const QPalette scheme = QApplication::palette();
    if (dark) {
        QPalette darkScheme = scheme;
        for (const auto role : {QPalette::Window, QPalette::Button, QPalette::Base})
            darkScheme.setColor(role, QColor(0x30, 0x30, 0x30));
        for (const auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
            darkScheme.setColor(role, QColor(0xE0, 0xE0, 0xE0));
        QApplication::setPalette(darkScheme);
    }
    Form = std::make_unique<TForm1>();
    QApplication::setPalette(scheme);
    const auto luminance = [](QColor colour) {
        const auto linear = [](double c) {
            return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
               0.0722 * linear(colour.blueF());
    };
    for (const char* name : {"StaticText1", "StaticText4", "StaticText6"}) {
        auto* label = Child<QLabel>(QString::fromLatin1(name));
        const QWidget* face = label->autoFillBackground() ? label : label->parentWidget();
        const double text = luminance(label->palette().color(QPalette::WindowText));
        const double back = luminance(face->palette().color(QPalette::Window));
        const double light = luminance(scheme.color(QPalette::Button));
        const double contrast = (std::max(text, back) + 0.05) / (std::min(text, back) + 0.05);
        const double designed = (std::max(text, light) + 0.05) / (std::min(text, light) + 0.05);
        QVERIFY2(contrast >= std::min(4.5, designed) - 0.05,
                 qPrintable(QStringLiteral("%1: %2").arg(name).arg(contrast)));
        QCOMPARE(label->autoFillBackground(), dark);
    }
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
