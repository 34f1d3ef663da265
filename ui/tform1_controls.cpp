// TForm1: building the window. Every control's kind, container, position,
// size, text and enabled state is one row of kControls; fonts, colours,
// stock button kinds, radio items, the spinner and the status panels have
// tables of their own. Positions are pixels at 96 dpi relative to the
// container; on other densities Qt's high-DPI scaling keeps the proportions.
// The keyboard roles of the stock kinds and the status bar's place at the
// bottom edge are here too.
#include "tform1.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QFrame>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>

#include "memo.h"
#include "radio_group.h"
#include "status_bar.h"
#include "stock_glyphs.h"
#include "up_down.h"

#include <string_view>

namespace {

// The window itself.
constexpr const char* kTitle = "Trithemius-Chiffre";
constexpr QPoint kScreenPosition(261, 118);
constexpr QSize kClientSize(1319, 497);
constexpr int kStatusBarHeight = 19;

enum class Kind {
    Panel,
    GroupBox,
    StaticText,
    Label,
    Memo,
    Edit,
    BitBtn,
    Button,
    RadioGroup,
    UpDown,
    StatusBar
};

struct ControlRow {
    const char* Name;
    const char* Parent;
    Kind Type;
    int Left, Top, Width, Height;
    const char* Text;  // caption, title or initial text; UTF-8
    bool Enabled;
};

// Every control, each container's children in tab order (depth first, so the
// creation order is the focus order). Memo1's text is kSampleText; BitBtn3
// and BitBtn4 take the caption of their kind.
constexpr ControlRow kControls[] = {
    {"Panel1", "Form1", Kind::Panel, 0, 0, 1313, 470, "", true},

    {"GroupBox1", "Panel1", Kind::GroupBox, 8, 56, 641, 409, "Eingabeseite", true},
    {"Memo1", "GroupBox1", Kind::Memo, 8, 16, 625, 121, "", true},
    {"BitBtn1", "GroupBox1", Kind::BitBtn, 224, 176, 193, 25, "Fünfer-Blöcke", false},
    {"BitBtn2", "GroupBox1", Kind::BitBtn, 224, 144, 193, 25, "Eingabtetext löschen", true},
    {"BitBtn3", "GroupBox1", Kind::BitBtn, 440, 144, 193, 25, "", false},
    {"BitBtn4", "GroupBox1", Kind::BitBtn, 440, 176, 193, 25, "", true},
    {"RadioGroup1", "GroupBox1", Kind::RadioGroup, 8, 216, 417, 73, "Verfahrensauswahl", true},
    {"Edit1", "GroupBox1", Kind::Edit, 8, 320, 369, 35, "ABCDEFGHIKLMNOPQRSTUXYZW", true},
    {"StaticText5", "GroupBox1", Kind::StaticText, 8, 296, 151, 17,
     "... derzeit gütliger Schlüsselsatz", true},
    {"RadioGroup2", "GroupBox1", Kind::RadioGroup, 440, 256, 193, 65, "Schlüsselstart", true},
    {"BitBtn5", "GroupBox1", Kind::BitBtn, 8, 144, 193, 25, "Eingabetetxt bereinigen", true},
    {"Button1", "GroupBox1", Kind::Button, 8, 176, 193, 25, "Chiffrieren", false},
    {"RadioGroup3", "GroupBox1", Kind::RadioGroup, 440, 328, 193, 73, "Arbeitsrichtung", true},
    {"UpDown1", "GroupBox1", Kind::UpDown, 8, 368, 17, 25, "", false},
    {"Edit2", "GroupBox1", Kind::Edit, 24, 368, 33, 26, "1", false},
    {"StaticText7", "GroupBox1", Kind::StaticText, 72, 376, 219, 17,
     "Aktuelle Einfüge-Position des Schlüsselsatzes", true},
    {"Edit3", "GroupBox1", Kind::Edit, 576, 216, 57, 26, "???", false},
    {"StaticText8", "GroupBox1", Kind::StaticText, 464, 224, 99, 17, "Eingabezeichenzahl", true},
    {"BitBtn6", "GroupBox1", Kind::BitBtn, 224, 232, 193, 25, "Keystrom generieren", false},

    {"GroupBox2", "Panel1", Kind::GroupBox, 656, 56, 649, 409, "Ausgabeseite", true},
    {"Label1", "GroupBox2", Kind::Label, 384, 328, 137, 13, "Anzahl der Ciphertextzeichen", true},
    {"Memo2", "GroupBox2", Kind::Memo, 8, 16, 625, 121, "", true},
    {"Edit4", "GroupBox2", Kind::Edit, 568, 144, 65, 26, "???", false},
    {"StaticText9", "GroupBox2", Kind::StaticText, 376, 152, 178, 17,
     "Anzahl der Zeichen für den Keystrom", true},
    {"BitBtn7", "GroupBox2", Kind::BitBtn, 8, 152, 193, 25, "Fünfer-Blöcke", false},
    {"Memo3", "GroupBox2", Kind::Memo, 8, 192, 625, 121, "", true},
    {"BitBtn8", "GroupBox2", Kind::BitBtn, 8, 328, 193, 25, "Fünfer-Blöcke", false},
    {"Edit5", "GroupBox2", Kind::Edit, 568, 320, 65, 26, "???", false},
    {"Button2", "GroupBox2", Kind::Button, 8, 376, 193, 25, "Aktuelle Chiffriertabelle einblenden",
     true},

    {"StaticText1", "Panel1", Kind::StaticText, 8, 16, 428, 28,
     "Chifrieren und Dechiffrieren Trithemius-Chiffre", true},
    {"StaticText2", "Panel1", Kind::StaticText, 664, 24, 71, 17, "Arbeitsbeginn:", true},
    {"StaticText3", "Panel1", Kind::StaticText, 1120, 24, 109, 17, "Aktueller Arbeitsstand:", true},
    {"StaticText4", "Panel1", Kind::StaticText, 752, 24, 58, 17, "30.11.2018", true},
    {"StaticText6", "Panel1", Kind::StaticText, 1248, 24, 58, 17, "04.01.2019", true},

    {"StatusBar1", "Form1", Kind::StatusBar, 0, 478, 1319, kStatusBarHeight, "", true},
};

// Stock kinds of the TBitBtn controls.
struct StockRow {
    const char* Name;
    ButtonKind ButtonKindOf;
};

constexpr StockRow kStockKinds[] = {
    {"BitBtn1", ButtonKind::bkOK},    {"BitBtn2", ButtonKind::bkNo},
    {"BitBtn3", ButtonKind::bkRetry}, {"BitBtn4", ButtonKind::bkClose},
    {"BitBtn5", ButtonKind::bkAll},   {"BitBtn6", ButtonKind::bkOK},
    {"BitBtn7", ButtonKind::bkOK},    {"BitBtn8", ButtonKind::bkOK},
};

// The faces the window names, each followed by the metric-compatible or
// plain substitute used where the platform lacks it.
enum class Face { MsSansSerif, CourierNew, TimesNewRoman };
constexpr int kSansSubstituteStretch = 94;  // per cent of the normal width

struct FontRow {
    const char* Name;
    Face FaceOf;
    int PixelSize;
    bool Bold;
    bool Italic;
};

// Controls with a font of their own; all others use the window font (Form1).
constexpr FontRow kFonts[] = {
    {"Form1", Face::MsSansSerif, 11, false, false},
    {"StaticText1", Face::TimesNewRoman, 21, true, true},
    {"StaticText4", Face::MsSansSerif, 11, false, false},
    {"StaticText6", Face::MsSansSerif, 11, false, false},
    {"Memo1", Face::CourierNew, 16, true, false},
    {"Edit1", Face::CourierNew, 24, true, false},
    {"Edit2", Face::CourierNew, 16, true, false},
    {"Edit3", Face::CourierNew, 16, true, false},
    {"Memo2", Face::CourierNew, 16, true, false},
    {"Memo3", Face::CourierNew, 16, true, false},
    {"Edit4", Face::CourierNew, 16, true, false},
    {"Edit5", Face::CourierNew, 16, true, false},
};

// The named colours.
constexpr QRgb clNavy = qRgb(0, 0, 128);
constexpr QRgb clYellow = qRgb(255, 255, 0);
constexpr QRgb clBlack = qRgb(0, 0, 0);
constexpr QRgb clRed = qRgb(255, 0, 0);
constexpr QRgb clGreen = qRgb(0, 128, 0);
constexpr QRgb clWhite = qRgb(255, 255, 255);
constexpr QRgb clMaroon = qRgb(128, 0, 0);

struct ColourRow {
    const char* Name;
    bool HasBackground;  // memos only
    QRgb Background;
    QRgb Text;
};

// Controls with colours of their own; all others use the system scheme.
constexpr ColourRow kColours[] = {
    {"Memo1", true, clNavy, clYellow},  {"Memo2", true, clBlack, clRed},
    {"Memo3", true, clGreen, clWhite},  {"StaticText1", false, 0, clMaroon},
    {"StaticText4", false, 0, clGreen}, {"StaticText6", false, 0, clRed},
};

struct RadioRow {
    const char* Name;
    const char* Item0;
    const char* Item1;
    int InitialItem;
};

constexpr RadioRow kRadioItems[] = {
    {"RadioGroup1", "modernes Alphabet",
     "klassischer Trithemius (ohne J und V und andere Zeichenanordnung)", 1},
    {"RadioGroup2", "Schlüssel beginnt mit A", "Schlüssel beginnt mit B", 0},
    {"RadioGroup3", "Encoding (Verschlüsseln)", "Decoding (Entschlüsseln)", 0},
};

// UpDown1: range and initial position.
constexpr int kKeyStartMinimum = 1;
constexpr int kKeyStartMaximum = 25;
constexpr int kKeyStartInitial = 1;

struct PanelRow {
    int Width;
    const char* Text;
};

constexpr PanelRow kStatusPanels[] = {
    {130, "Anzahl Eingabezeichen"},
    {40, "35"},
    {165, "Startposition des Key-Alphabets"},
    {20, "1"},
    {90, "Sclüsselalphabet"},
    {180, "ABCDEFGHIKLMNOPQRSTUXYZW"},
    {50, ""},
    {50, ""},
};

// The initial text of Memo1: 29 lines of German prose with upper- and
// lower-case letters, ä ö ü ß, digits, blanks, ! ' , - . : „ and “.
constexpr const char* kSampleText =
    "Im Jahr 1508 schrieb der Abt Johannes Trithemius ein Buch\n"
    "über die Kunst, Briefe vor fremden Augen zu schützen.\n"
    "Er nannte seine Erfindung schlicht eine „Tafel“: 24 Zeilen\n"
    "mit je 24 Buchstaben, jede um eine Stelle weitergerückt.\n"
    "Wer einen Brief verschlüsseln will, geht so vor:\n"
    "Den 1. Buchstaben nimmt er aus der 1. Zeile, den 2.\n"
    "aus der 2. Zeile, den 3. aus der 3. - und immer so fort.\n"
    "Ist die Tafel zu Ende, beginnt er wieder ganz oben.\n"
    "Ein geheimes Wort braucht man dafür nicht, und das ist\n"
    "zugleich die größte Schwäche des ganzen Verfahrens:\n"
    "Wer die Methode kennt, liest jeden Brief ohne Mühe.\n"
    "Trotzdem ist die Tafel ein schöner Anfang, denn aus ihr\n"
    "entstanden später die Verfahren mit Schlüsselwort.\n"
    "Probieren wir es aus! Aus „ABC“ wird dabei „ACE“,\n"
    "weil A um 0, B um 1 und C um 2 Stellen rückt.\n"
    "Das ß und die Umlaute ä, ö und ü kennt die Tafel nicht:\n"
    "Sie werden vorher in je zwei Buchstaben zerlegt.\n"
    "Auch Ziffern wie 7 oder 42 schreibt man vorher aus,\n"
    "aus 42 wird also „VIERZWEI“, Ziffer für Ziffer.\n"
    "Satzzeichen, Leerzeichen und Zeilenenden fallen weg.\n"
    "Übrig bleibt eine lange Reihe großer Buchstaben, die man\n"
    "zur besseren Lesbarkeit in Fünfergruppen teilen kann.\n"
    "Der Empfänger rechnet rückwärts: Er zieht ab, wo der\n"
    "Absender addiert hat, und erhält den Klartext zurück.\n"
    "Ob's schnell geht - reine Übungssache. Nach 30 Zeilen hat\n"
    "man den Dreh heraus, nach 100 Zeilen wird es Routine.\n"
    "Viel Vergnügen beim Ver- und Entschlüsseln wünscht\n"
    "Ihnen das kleine Programm, das Sie gerade geöffnet haben.\n"
    "Und nun: Ändern Sie diesen Text nach Herzenslust!";

QFont FontOf(const FontRow& row) {
    QFont font;
    switch (row.FaceOf) {
        case Face::MsSansSerif:
            font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                              QStringLiteral("DejaVu Sans")});
            font.setStyleHint(QFont::SansSerif);
            // The plain substitutes are a few per cent wider than MS Sans Serif;
            // narrowed, every caption fits the width the window gives it.
            if (!QFontDatabase::hasFamily(QStringLiteral("MS Sans Serif")))
                font.setStretch(kSansSubstituteStretch);
            break;
        case Face::CourierNew:
            font.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
                              QStringLiteral("DejaVu Sans Mono")});
            font.setStyleHint(QFont::TypeWriter);
            break;
        case Face::TimesNewRoman:
            font.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                              QStringLiteral("DejaVu Serif")});
            font.setStyleHint(QFont::Serif);
            break;
    }
    font.setPixelSize(row.PixelSize);
    font.setBold(row.Bold);
    font.setItalic(row.Italic);
    return font;
}

QString Utf8(const char* text) { return QString::fromUtf8(text); }

// The program's icon, in every size the desktop entry installs.
QIcon ProgramIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/%1x%1/trithemius-chiffre.png").arg(size));
    }
    return icon;
}

}  // namespace

void TForm1::CreateControls() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(Utf8(kTitle));
    setWindowIcon(ProgramIcon());
    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, windowPalette.color(QPalette::Button));  // clBtnFace
    setPalette(windowPalette);
    move(kScreenPosition);
    resize(kClientSize);

    for (const ControlRow& row : kControls) {
        QWidget* parent =
            row.Parent == QLatin1String("Form1") ? this : findChild<QWidget*>(Utf8(row.Parent));
        const QString text = Utf8(row.Text);
        QWidget* control = nullptr;
        switch (row.Type) {
            case Kind::Panel: {
                auto* panel = new QFrame(parent);
                panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
                panel->setLineWidth(1);
                control = panel;
                break;
            }
            case Kind::GroupBox:
                control = new QGroupBox(text, parent);
                break;
            case Kind::StaticText:
            case Kind::Label: {
                auto* label = new QLabel(text, parent);
                label->setTextFormat(Qt::PlainText);
                label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                label->setFocusPolicy(Qt::NoFocus);
                control = label;
                break;
            }
            case Kind::Memo: {
                auto* memo = new Memo(parent);
                memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
                memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
                memo->SetText(text);
                control = memo;
                break;
            }
            case Kind::Edit: {
                auto* edit = new QLineEdit(text, parent);
                edit->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                control = edit;
                break;
            }
            case Kind::BitBtn:
            case Kind::Button: {
                // A focused push button takes Return, as a button on a dialog does.
                auto* button = new QPushButton(text, parent);
                button->setAutoDefault(true);
                control = button;
                break;
            }
            case Kind::RadioGroup: {
                // Items now, so they take their group's place in the focus order.
                auto* group = new RadioGroup(parent);
                group->setTitle(text);
                for (const RadioRow& items : kRadioItems) {
                    if (row.Name == std::string_view(items.Name))
                        group->SetItems({Utf8(items.Item0), Utf8(items.Item1)});
                }
                control = group;
                break;
            }
            case Kind::UpDown:
                control = new UpDown(parent);
                break;
            case Kind::StatusBar:
                control = new StatusBar(parent);
                break;
        }
        control->setObjectName(Utf8(row.Name));
        control->setGeometry(row.Left, row.Top, row.Width, row.Height);
        control->setEnabled(row.Enabled);
    }

    Panel1 = findChild<QFrame*>(QStringLiteral("Panel1"));
    GroupBox1 = findChild<QGroupBox*>(QStringLiteral("GroupBox1"));
    GroupBox2 = findChild<QGroupBox*>(QStringLiteral("GroupBox2"));
    StaticText1 = findChild<QLabel*>(QStringLiteral("StaticText1"));
    StaticText2 = findChild<QLabel*>(QStringLiteral("StaticText2"));
    StaticText3 = findChild<QLabel*>(QStringLiteral("StaticText3"));
    StaticText4 = findChild<QLabel*>(QStringLiteral("StaticText4"));
    StaticText5 = findChild<QLabel*>(QStringLiteral("StaticText5"));
    StaticText6 = findChild<QLabel*>(QStringLiteral("StaticText6"));
    StaticText7 = findChild<QLabel*>(QStringLiteral("StaticText7"));
    StaticText8 = findChild<QLabel*>(QStringLiteral("StaticText8"));
    StaticText9 = findChild<QLabel*>(QStringLiteral("StaticText9"));
    Label1 = findChild<QLabel*>(QStringLiteral("Label1"));
    Memo1 = findChild<Memo*>(QStringLiteral("Memo1"));
    Memo2 = findChild<Memo*>(QStringLiteral("Memo2"));
    Memo3 = findChild<Memo*>(QStringLiteral("Memo3"));
    Edit1 = findChild<QLineEdit*>(QStringLiteral("Edit1"));
    Edit2 = findChild<QLineEdit*>(QStringLiteral("Edit2"));
    Edit3 = findChild<QLineEdit*>(QStringLiteral("Edit3"));
    Edit4 = findChild<QLineEdit*>(QStringLiteral("Edit4"));
    Edit5 = findChild<QLineEdit*>(QStringLiteral("Edit5"));
    BitBtn1 = findChild<QPushButton*>(QStringLiteral("BitBtn1"));
    BitBtn2 = findChild<QPushButton*>(QStringLiteral("BitBtn2"));
    BitBtn3 = findChild<QPushButton*>(QStringLiteral("BitBtn3"));
    BitBtn4 = findChild<QPushButton*>(QStringLiteral("BitBtn4"));
    BitBtn5 = findChild<QPushButton*>(QStringLiteral("BitBtn5"));
    BitBtn6 = findChild<QPushButton*>(QStringLiteral("BitBtn6"));
    BitBtn7 = findChild<QPushButton*>(QStringLiteral("BitBtn7"));
    BitBtn8 = findChild<QPushButton*>(QStringLiteral("BitBtn8"));
    Button1 = findChild<QPushButton*>(QStringLiteral("Button1"));
    Button2 = findChild<QPushButton*>(QStringLiteral("Button2"));
    RadioGroup1 = findChild<RadioGroup*>(QStringLiteral("RadioGroup1"));
    RadioGroup2 = findChild<RadioGroup*>(QStringLiteral("RadioGroup2"));
    RadioGroup3 = findChild<RadioGroup*>(QStringLiteral("RadioGroup3"));
    UpDown1 = findChild<UpDown*>(QStringLiteral("UpDown1"));
    StatusBar1 = findChild<StatusBar*>(QStringLiteral("StatusBar1"));

    Memo1->SetText(Utf8(kSampleText));

    for (const StockRow& row : kStockKinds) {
        auto* button = findChild<QPushButton*>(Utf8(row.Name));
        button->setIcon(StockGlyph(row.ButtonKindOf));
        button->setIconSize(StockGlyphSize(row.ButtonKindOf));
        if (button->text().isEmpty()) button->setText(StockCaption(row.ButtonKindOf));
    }

    for (const FontRow& row : kFonts) {
        QWidget* control =
            row.Name == QLatin1String("Form1") ? this : findChild<QWidget*>(Utf8(row.Name));
        control->setFont(FontOf(row));
    }

    for (const ColourRow& row : kColours) {
        auto* control = findChild<QWidget*>(Utf8(row.Name));
        QPalette colours = control->palette();
        if (row.HasBackground) {
            colours.setColor(QPalette::Base, QColor(row.Background));
            colours.setColor(QPalette::Text, QColor(row.Text));
        } else {
            colours.setColor(QPalette::WindowText, QColor(row.Text));
        }
        control->setPalette(colours);
    }

    for (const RadioRow& row : kRadioItems)
        findChild<RadioGroup*>(Utf8(row.Name))->SetItemIndex(row.InitialItem);

    UpDown1->SetRange(kKeyStartMinimum, kKeyStartMaximum);
    UpDown1->SetPosition(kKeyStartInitial);

    for (const PanelRow& row : kStatusPanels) StatusBar1->AddPanel(row.Width, Utf8(row.Text));

    Memo1->setFocus();
}

void TForm1::resizeEvent(QResizeEvent* event) {
    // The controls keep their places; the status bar follows the bottom edge.
    QWidget::resizeEvent(event);
    StatusBar1->setGeometry(0, height() - kStatusBarHeight, width(), kStatusBarHeight);
}

void TForm1::keyPressEvent(QKeyEvent* event) {
    // What QDialog does for its default and cancel buttons, aimed at the
    // stock kinds: Escape clicks the bkNo button, Return the first enabled
    // bkOK button. Memos and buttons keep these keys and never get here.
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::NoModifier) {
        switch (event->key()) {
            case Qt::Key_Escape:
                if (BitBtn2->isEnabled()) {
                    BitBtn2->click();
                    return;
                }
                break;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                for (QPushButton* button : {BitBtn1, BitBtn6, BitBtn7, BitBtn8}) {
                    if (button->isEnabled()) {
                        button->click();
                        return;
                    }
                }
                break;
            default:
                break;
        }
    }
    QWidget::keyPressEvent(event);
}
