// TForm1: building the window. Each control is built straight into its
// member, in tab order, by one call that names it, places it and gives it
// its font, colours, stock kind and enabled state; the calls read as the
// window's table of controls. Positions are pixels at 96 dpi relative to the
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
#include <QLibraryInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QTranslator>

#include <algorithm>
#include <cmath>

#include "control_accessible.h"
#include "count_field.h"
#include "memo.h"
#include "memo_text.h"
#include "radio_group.h"
#include "status_bar.h"
#include "up_down.h"
#include "window_texts.h"

namespace {

// The window itself.
constexpr QPoint kScreenPosition(261, 118);
constexpr QSize kClientSize(1319, 497);
constexpr int kStatusBarHeight = 19;
constexpr bool kDisabled = false;

// The faces the window names, each followed by the metric-compatible or
// plain substitute used where the platform lacks it.
enum class Face { MsSansSerif, CourierNew, TimesNewRoman };
constexpr int kSansSubstituteStretch = 94;  // per cent of the normal width

struct FontStyle {
    Face FaceOf;
    int PixelSize;
    bool Bold;
    bool Italic;
};

constexpr FontStyle kWindowFont{Face::MsSansSerif, 11, false, false};
constexpr FontStyle kHeadingFont{Face::TimesNewRoman, 21, true, true};
constexpr FontStyle kTextFont{Face::CourierNew, 16, true, false};  // memos and number fields
constexpr FontStyle kAlphabetFont{Face::CourierNew, 24, true, false};

// The named colours.
constexpr QRgb clNavy = qRgb(0, 0, 128);
constexpr QRgb clYellow = qRgb(255, 255, 0);
constexpr QRgb clBlack = qRgb(0, 0, 0);
constexpr QRgb clRed = qRgb(255, 0, 0);
constexpr QRgb clGreen = qRgb(0, 128, 0);
constexpr QRgb clWhite = qRgb(255, 255, 255);
constexpr QRgb clMaroon = qRgb(128, 0, 0);

struct MemoColours {
    QRgb Background;
    QRgb Text;
};

constexpr MemoColours kInputColours{clNavy, clYellow};
constexpr MemoColours kKeyStreamColours{clBlack, clRed};
constexpr MemoColours kResultColours{clGreen, clWhite};

// The initial selections of the radio groups.
constexpr int kMethodInitialItem = 1;
constexpr int kKeyStartInitialItem = 0;
constexpr int kDirectionInitialItem = 0;

// UpDown1: range and initial position.
constexpr int kKeyStartMinimum = 1;
constexpr int kKeyStartMaximum = 25;
constexpr int kKeyStartInitial = 1;

// The panels of StatusBar1 in the order of TForm1::StatusPanel: the width
// of each and the text it shows at start.
struct PanelDefinition {
    int Width;
    QString Text;
};
const PanelDefinition kStatusPanels[] = {
    {130, texts::kInputCountCaption},
    {40, texts::kInitialCount},
    {165, texts::kKeyStartCaption},
    {20, QString::number(kKeyStartInitial)},
    {90, texts::kKeyAlphabetCaption},
    {180, QString()},  // the key alphabet, shown once the window is built
    {50, QString()},
    {50, QString()},
};
static_assert(std::size(kStatusPanels) == TForm1::kPanelCount);

// The sizes of the program's icon, as the build embeds them.
constexpr int kIconSizes[] = {TRITHEMIUS_ICON_SIZES};

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

QFont FontOf(const FontStyle& style) {
    QFont font;
    switch (style.FaceOf) {
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
    font.setPixelSize(style.PixelSize);
    font.setBold(style.Bold);
    font.setItalic(style.Italic);
    return font;
}

// The program's icon, in every size the desktop entry installs.
QIcon ProgramIcon() {
    QIcon icon;
    for (const int size : kIconSizes)
        icon.addFile(QStringLiteral(":/icons/%1x%1/trithemius-chiffre.png").arg(size));
    return icon;
}

// Gives a control its object name (for tests and accessibility tools), its
// place in its container and its enabled state.
template <typename Control>
Control* Place(Control* control, const char* name, QRect geometry, bool enabled = true) {
    control->setObjectName(QLatin1String(name));
    control->setGeometry(geometry);
    control->setEnabled(enabled);
    return control;
}

template <typename Control>
Control* WithFont(Control* control, const FontStyle& style) {
    control->setFont(FontOf(style));
    return control;
}

QFrame* MakePanel(QWidget* parent) {
    auto* panel = new QFrame(parent);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(1);
    return panel;
}

// A colour's relative luminance, and how far apart two colours stand for
// the eye, as WCAG measures them: from 0 (black) to 1 (white), and from 1
// (the same) to 21 (black on white).
double Luminance(QColor colour) {
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

double ContrastRatio(QColor one, QColor other) {
    const double a = Luminance(one);
    const double b = Luminance(other);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// The contrast text needs to be read easily, and the luminance below which
// a face is a dark scheme's.
constexpr double kReadableContrast = 4.5;
constexpr double kDarkFace = 0.5;
// The face the window was designed with, Windows' light clBtnFace.
constexpr QRgb kDesignedFace = qRgb(240, 240, 240);

// A TStaticText or TLabel: plain text, never a tab stop; in colour if given.
// Where a dark colour scheme's face leaves a fixed colour hard to read
// (below 4.5:1), the label keeps the light face the window was designed with.
QLabel* MakeLabel(QWidget* parent, const QString& text, QRgb colour = 0) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFocusPolicy(Qt::NoFocus);
    if (colour != 0) {
        QPalette colours = label->palette();
        colours.setColor(QPalette::WindowText, QColor(colour));
        const QColor face = colours.color(QPalette::Window);
        if (Luminance(face) < kDarkFace &&
            ContrastRatio(QColor(colour), face) < kReadableContrast) {
            colours.setColor(QPalette::Window, QColor(kDesignedFace));
            label->setAutoFillBackground(true);
        }
        label->setPalette(colours);
    }
    return label;
}

// A label that names the field next to it, also for screen readers.
QLabel* MakeLabelOf(QWidget* parent, const QString& text, QWidget* field) {
    QLabel* label = MakeLabel(parent, text);
    label->setBuddy(field);
    return label;
}

Memo* MakeMemo(QWidget* parent, const MemoColours& colours, const QString& accessibleName) {
    auto* memo = new Memo(parent);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setFont(FontOf(kTextFont));
    QPalette palette = memo->palette();
    palette.setColor(QPalette::Base, QColor(colours.Background));
    palette.setColor(QPalette::Text, QColor(colours.Text));
    memo->setPalette(palette);
    memo->setAccessibleName(accessibleName);
    return memo;
}

QLineEdit* MakeEdit(QWidget* parent, const QString& text, const FontStyle& font) {
    auto* edit = WithFont(new QLineEdit(text, parent), font);
    edit->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The fields show the window's state: text dragged there (from a memo,
    // say) would replace it, and leave the memo it came from.
    edit->setAcceptDrops(false);
    return edit;
}

CountField* MakeCountField(QWidget* parent) {
    auto* field = WithFont(new CountField(parent), kTextFont);
    field->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return field;
}

// A TButton. A focused push button takes Return, as a button on a dialog does.
QPushButton* MakeButton(QWidget* parent, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setAutoDefault(true);
    return button;
}

// A TRadioGroup with its items, the initial one selected; the items are
// made now, so they take their group's place in the focus order.
RadioGroup* MakeRadioGroup(QWidget* parent, const QString& title, const QStringList& items,
                           int initialItem) {
    auto* group = new RadioGroup(parent);
    group->setTitle(title);
    group->setAccessibleName(title);
    group->SetItems(items);
    group->SetItemIndex(initialItem);
    return group;
}

UpDown* MakeUpDown(QWidget* parent) {
    auto* spinner = new UpDown(parent);
    spinner->SetRange(kKeyStartMinimum, kKeyStartMaximum);
    spinner->SetPosition(kKeyStartInitial);
    spinner->setAccessibleName(texts::kKeyStartCaption);
    spinner->SetArrowNames(texts::kSpinUpName, texts::kSpinDownName);
    return spinner;
}

// Qt's own texts (the edit fields' and memos' context menus, the names of
// keys in them) in German, as the window's own, from the translations of
// Qt that Debian installs; loaded once for the application. Without them
// Qt's texts stay English.
void LoadGermanQtTexts() {
    static const bool loaded = [] {
        auto* german = new QTranslator(QCoreApplication::instance());
        return german->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
               QCoreApplication::installTranslator(german);
    }();
    Q_UNUSED(loaded);
}

}  // namespace

QPushButton* TForm1::MakeBitBtn(QWidget* parent, ButtonKind kind, const QString& caption) {
    QPushButton* button = MakeButton(parent, caption.isEmpty() ? StockCaption(kind) : caption);
    button->setIcon(StockGlyph(kind));
    button->setIconSize(StockGlyphSize(kind));
    StockButtons.emplace_back(button, kind);
    return button;
}

void TForm1::CreateControls() {
    // Qt keeps the first accessible interface it makes for a widget, so the
    // window's and the spinner's are made known before anything asks.
    InstallControlAccessibility();
    LoadGermanQtTexts();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(texts::kTitle);
    setWindowIcon(ProgramIcon());
    // A Wayland compositor finds the desktop entry, and with it the name and
    // icon of the dock, by the application's id.
    QGuiApplication::setDesktopFileName(QStringLiteral(TRITHEMIUS_APP_ID));
    setFont(FontOf(kWindowFont));
    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, windowPalette.color(QPalette::Button));  // clBtnFace
    setPalette(windowPalette);
    move(kScreenPosition);
    resize(kClientSize);

    // Each container's children in tab order: the creation order is the focus order.
    Panel1 = Place(MakePanel(this), "Panel1", {0, 0, 1313, 470});

    GroupBox1 = Place(new QGroupBox(texts::kInputSide, Panel1), "GroupBox1", {8, 56, 641, 409});
    Memo1 = Place(MakeMemo(GroupBox1, kInputColours, texts::kInputMemoName), "Memo1",
                  {8, 16, 625, 121});
    BitBtn1 = Place(MakeBitBtn(GroupBox1, ButtonKind::bkOK, texts::kShowGroups), "BitBtn1",
                    {224, 176, 193, 25}, kDisabled);
    BitBtn2 = Place(MakeBitBtn(GroupBox1, ButtonKind::bkNo, texts::kClearInput), "BitBtn2",
                    {224, 144, 193, 25});
    BitBtn3 = Place(MakeBitBtn(GroupBox1, ButtonKind::bkRetry), "BitBtn3", {440, 144, 193, 25},
                    kDisabled);
    BitBtn4 = Place(MakeBitBtn(GroupBox1, ButtonKind::bkClose), "BitBtn4", {440, 176, 193, 25});
    RadioGroup1 = Place(
        MakeRadioGroup(GroupBox1, texts::kMethodTitle, texts::kMethodItems, kMethodInitialItem),
        "RadioGroup1", {8, 216, 417, 73});
    Edit1 = Place(MakeEdit(GroupBox1, QString(), kAlphabetFont), "Edit1", {8, 320, 369, 35});
    StaticText5 = Place(MakeLabelOf(GroupBox1, texts::kKeyAlphabetLabel, Edit1), "StaticText5",
                        {8, 296, 151, 17});
    RadioGroup2 = Place(MakeRadioGroup(GroupBox1, texts::kKeyStartTitle, texts::kKeyStartItems,
                                       kKeyStartInitialItem),
                        "RadioGroup2", {440, 256, 193, 65});
    BitBtn5 = Place(MakeBitBtn(GroupBox1, ButtonKind::bkAll, texts::kNormalise), "BitBtn5",
                    {8, 144, 193, 25});
    Button1 =
        Place(MakeButton(GroupBox1, texts::kEncipher), "Button1", {8, 176, 193, 25}, kDisabled);
    RadioGroup3 = Place(MakeRadioGroup(GroupBox1, texts::kDirectionTitle, texts::kDirectionItems,
                                       kDirectionInitialItem),
                        "RadioGroup3", {440, 328, 193, 73});
    UpDown1 = Place(MakeUpDown(GroupBox1), "UpDown1", {8, 368, 17, 25}, kDisabled);
    Edit2 = Place(MakeEdit(GroupBox1, QString::number(kKeyStartInitial), kTextFont), "Edit2",
                  {24, 368, 33, 26}, kDisabled);
    StaticText7 = Place(MakeLabelOf(GroupBox1, texts::kKeyStartLabel, Edit2), "StaticText7",
                        {72, 376, 219, 17});
    Edit3 = Place(MakeCountField(GroupBox1), "Edit3", {576, 216, 57, 26}, kDisabled);
    StaticText8 = Place(MakeLabelOf(GroupBox1, texts::kInputCountLabel, Edit3), "StaticText8",
                        {464, 224, 99, 17});
    BitBtn6 = Place(MakeBitBtn(GroupBox1, ButtonKind::bkOK, texts::kGenerateKeyStream), "BitBtn6",
                    {224, 232, 193, 25}, kDisabled);

    GroupBox2 = Place(new QGroupBox(texts::kOutputSide, Panel1), "GroupBox2", {656, 56, 649, 409});
    Label1 =
        Place(MakeLabel(GroupBox2, texts::kCiphertextCountLabel), "Label1", {384, 328, 137, 13});
    Memo2 = Place(MakeMemo(GroupBox2, kKeyStreamColours, texts::kKeyStreamMemoName), "Memo2",
                  {8, 16, 625, 121});
    Edit4 = Place(MakeCountField(GroupBox2), "Edit4", {568, 144, 65, 26}, kDisabled);
    StaticText9 = Place(MakeLabelOf(GroupBox2, texts::kKeyStreamCountLabel, Edit4), "StaticText9",
                        {376, 152, 178, 17});
    BitBtn7 = Place(MakeBitBtn(GroupBox2, ButtonKind::bkOK, texts::kShowGroups), "BitBtn7",
                    {8, 152, 193, 25}, kDisabled);
    Memo3 = Place(MakeMemo(GroupBox2, kResultColours, texts::kResultMemoName), "Memo3",
                  {8, 192, 625, 121});
    BitBtn8 = Place(MakeBitBtn(GroupBox2, ButtonKind::bkOK, texts::kShowGroups), "BitBtn8",
                    {8, 328, 193, 25}, kDisabled);
    Edit5 = Place(MakeCountField(GroupBox2), "Edit5", {568, 320, 65, 26}, kDisabled);
    Label1->setBuddy(Edit5);
    Button2 = Place(MakeButton(GroupBox2, texts::kShowTable), "Button2", {8, 376, 193, 25});

    StaticText1 = Place(WithFont(MakeLabel(Panel1, texts::kHeading, clMaroon), kHeadingFont),
                        "StaticText1", {8, 16, 428, 28});
    StaticText2 = Place(MakeLabel(Panel1, texts::kWorkBegun), "StaticText2", {664, 24, 71, 17});
    StaticText3 = Place(MakeLabel(Panel1, texts::kWorkState), "StaticText3", {1120, 24, 109, 17});
    StaticText4 = Place(WithFont(MakeLabel(Panel1, texts::kWorkBegunDate, clGreen), kWindowFont),
                        "StaticText4", {752, 24, 58, 17});
    StaticText6 = Place(WithFont(MakeLabel(Panel1, texts::kWorkStateDate, clRed), kWindowFont),
                        "StaticText6", {1248, 24, 58, 17});

    StatusBar1 = Place(new StatusBar(this), "StatusBar1", {0, 478, 1319, kStatusBarHeight});
    for (const PanelDefinition& panel : kStatusPanels)
        StatusBar1->AddPanel(panel.Width, panel.Text);

    Memo1->SetText(QString::fromUtf8(kSampleText));
    Edit1->installEventFilter(this);
    Memo1->setFocus();
}

void TForm1::resizeEvent(QResizeEvent* event) {
    // The controls keep their places; the status bar follows the bottom edge.
    QWidget::resizeEvent(event);
    StatusBar1->setGeometry(0, height() - kStatusBarHeight, width(), kStatusBarHeight);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    // Alt with a letter is an accelerator, never text: when its button is
    // disabled the key does nothing, rather than typing the letter into Edit1.
    if (watched == Edit1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & Qt::AltModifier) return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::keyPressEvent(QKeyEvent* event) {
    // What QDialog does for its default and cancel buttons, aimed at the
    // stock kinds: Escape clicks the first enabled cancel button (bkNo),
    // Return the first enabled default button (bkOK), in focus order. Memos
    // and buttons keep these keys and never get here.
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    if (modifiers == Qt::NoModifier) {
        const bool escape = key == Qt::Key_Escape;
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        for (const auto& [button, kind] : StockButtons) {
            const bool answers = (escape && StockRole(kind) == KeyRole::Cancel) ||
                                 (enter && StockRole(kind) == KeyRole::Default);
            if (answers && button->isEnabled()) {
                button->click();
                return;
            }
        }
    }
    QWidget::keyPressEvent(event);
}
