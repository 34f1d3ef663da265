// The window's actions: the fixed sequence normalise, key start position,
// keystream, cipher; the enabled states of the four window states; the
// spinner, the radio groups, the toggles, the reset, the clearing, the keys
// and the two message boxes. The real window is built offscreen and driven
// by real clicks and keys on the controls' object names. The texts the
// memos should show come from the cipher core, run on the same input; the
// captions from the window's own texts.
#include "tform1.h"
#include "window_controls.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <memory>
#include <utility>

#include "cipher_core.h"
#include "memo_text.h"
#include "radio_group.h"
#include "window_texts.h"

namespace {

using trithemius::Direction;
using trithemius::KeyStart;
using trithemius::Method;

// A text of the core as a memo shows it.
QString Shown(std::string_view cipherText) { return trithemius::CipherTextToMemoText(cipherText); }

// What the core makes of a memo's text, as the memos show it.
struct CoreRun {
    QString Input;
    QString KeyStream;
    QString Output;
};

// The core's run on memoText with the given choices; the defaults are the window's at start.
CoreRun RunCore(const QString& memoText, int keyStart = 1, Method method = Method::MethodClassical,
                KeyStart alphabetStart = KeyStart::KeyStartA,
                Direction direction = Direction::Encipher) {
    trithemius::CipherState state;
    trithemius::SelectKeyAlphabet(state, method, alphabetStart);
    trithemius::NormaliseInput(state, trithemius::MemoTextToCipherText(memoText), method);
    trithemius::GenerateKeyStream(state, keyStart);
    trithemius::ApplyCipher(state, method, alphabetStart, direction);
    return {Shown(state.InputText), Shown(state.KeyStream), Shown(state.OutputText)};
}

// A memo's text in five-letter groups, as the core groups it.
QString Grouped(const QString& memoText) {
    trithemius::CipherState state;
    return Shown(trithemius::ToFiveLetterBlocks(state, trithemius::MemoTextToCipherText(memoText)));
}

QString KeyAlphabet(Method method, KeyStart keyStart) {
    return Shown(trithemius::KeyAlphabetFor(method, keyStart));
}

// What a message box showed before the watcher pressed its OK button.
struct ShownMessage {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttonCount = 0;
};

// Closes every modal message box that opens while it lives, by clicking its
// OK button, and records what the box showed.
class MessageBoxWatcher : public QObject {
public:
    MessageBoxWatcher() {
        connect(&Timer, &QTimer::timeout, this, &MessageBoxWatcher::Look);
        Timer.start(5);
    }
    QList<ShownMessage> Shown;

private:
    void Look() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        Shown.append({box->windowTitle(), box->text(), box->icon(),
                      static_cast<int>(box->buttons().size())});
        QAbstractButton* ok = box->button(QMessageBox::Ok);
        QTEST_ASSERT(ok != nullptr);
        QTest::mouseClick(ok, Qt::LeftButton);
    }
    QTimer Timer;
};

enum class WindowState { Start, Normalised, Keyed, Ciphered };

// The items of group that Tab can reach.
QList<int> TabStops(const RadioGroup* group) {
    QList<int> stops;
    const QList<QRadioButton*> items = group->findChildren<QRadioButton*>();
    for (int i = 0; i < items.size(); ++i) {
        if (items[i]->focusPolicy() & Qt::TabFocus) stops << i;
    }
    return stops;
}

class WindowActionsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TForm1> Form;
    std::unique_ptr<MessageBoxWatcher> Watcher;

    template <typename T = QWidget>
    T* Find(const QString& name) {
        return FindControl<T>(Form.get(), name);
    }
    QAbstractButton* Button(const QString& name) { return Find<QAbstractButton>(name); }
    QString MemoText(const char* name) { return Find<Memo>(name)->Text(); }
    QString EditText(const char* name) { return Find<QLineEdit>(name)->text(); }
    QLabel* PanelLabel(int n) { return Find<QLabel>(QStringLiteral("StatusBar1Panel%1").arg(n)); }
    QString Panel(int n) { return PanelLabel(n)->text(); }
    void Click(const QString& name) {
        QAbstractButton* button = Button(name);
        QVERIFY2(button->isEnabled(), qPrintable(name));
        QTest::mouseClick(button, Qt::LeftButton);
    }
    // Clicks a radio item on its circle, where a radio button takes clicks.
    void Choose(const QString& item) {
        QAbstractButton* button = Button(item);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
        QVERIFY2(button->isChecked(), qPrintable(item));
    }
    // Queues a click on a button, as the window system queues one the user
    // makes while the window is busy.
    void PostClick(const char* name) {
        QWidget* button = Find(name);
        const QPointF centre = QRectF(button->rect()).center();
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            const Qt::MouseButtons held =
                type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
            QCoreApplication::postEvent(
                button, new QMouseEvent(type, centre, button->mapToGlobal(centre), Qt::LeftButton,
                                        held, Qt::NoModifier));
        }
    }
    void SetInput(const QString& text) { Find<Memo>("Memo1")->SetText(text); }
    void Spin(const char* arrow, int times = 1) {
        for (int i = 0; i < times; ++i) {
            QTest::mouseClick(Button(arrow), Qt::LeftButton);
        }
    }
    QStringList Messages() {
        QStringList texts;
        for (const ShownMessage& message : Watcher->Shown) texts << message.text;
        Watcher->Shown.clear();
        return texts;
    }
    // Normalises text and, as far as asked, generates the keystream and ciphers.
    void Reach(WindowState state, const QString& text = QStringLiteral("Hallo Welt")) {
        SetInput(text);
        Click("BitBtn5");
        if (state == WindowState::Normalised) return;
        Click("BitBtn6");
        if (state == WindowState::Keyed) return;
        Click("Button1");
    }
    // Everything a user could see change: per named control its enabled
    // state, check state and what it shows.
    QStringList VisibleState() {
        QStringList state;
        for (const QWidget* control : Form->findChildren<QWidget*>()) {
            if (control->objectName().isEmpty() || control->objectName().startsWith(u"qt_"))
                continue;
            auto* button = qobject_cast<const QAbstractButton*>(control);
            state << control->objectName() + u' ' + QString::number(control->isEnabled()) +
                         QString::number(button != nullptr && button->isChecked()) + u' ' +
                         ShownText(control);
        }
        return state;
    }

    // Enabled state of the controls that the workflow steers, in this order.
    static constexpr const char* kSteered[] = {"BitBtn5", "BitBtn2",     "UpDown1", "BitBtn6",
                                               "Button1", "RadioGroup3", "BitBtn1", "BitBtn7",
                                               "BitBtn8", "BitBtn3",     "BitBtn4"};
    QString EnabledStates() {
        QString states;
        for (const char* name : kSteered) {
            states += Find(name)->isEnabled() ? QLatin1Char('x') : QLatin1Char('-');
        }
        return states;
    }
    // One data row per window state.
    static void AddStateRows() {
        QTest::addColumn<WindowState>("state");
        QTest::newRow("Start") << WindowState::Start;
        QTest::newRow("Normalised") << WindowState::Normalised;
        QTest::newRow("Keyed") << WindowState::Keyed;
        QTest::newRow("Ciphered") << WindowState::Ciphered;
    }
    static QString ExpectedStates(WindowState state) {
        switch (state) {
            case WindowState::Start:
                return QStringLiteral("xx---x----x");
            case WindowState::Normalised:
                return QStringLiteral("--xx-xx--xx");
            case WindowState::Keyed:
                return QStringLiteral("----xxxx-xx");
            case WindowState::Ciphered:
                return QStringLiteral("------xxxxx");
        }
        return {};
    }
    // The controls that are enabled in every state stay so.
    void VerifyAlwaysEnabled() {
        for (const char* name :
             {"RadioGroup1", "RadioGroup2", "Button2", "Memo1", "Memo2", "Memo3", "Edit1"}) {
            QVERIFY2(Find(name)->isEnabled(), name);
        }
        for (const char* name : {"Edit2", "Edit3", "Edit4", "Edit5"}) {
            QVERIFY2(!Find(name)->isEnabled(), name);
        }
    }

private slots:
    void init() {
        Form = std::make_unique<TForm1>();
        Form->show();
        Form->activateWindow();  // also without a window manager
        QVERIFY(QTest::qWaitForWindowActive(Form.get()));
        Watcher = std::make_unique<MessageBoxWatcher>();
    }
    void cleanup() {
        Watcher.reset();
        Form.reset();
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    // The memos show the core's texts, the fields and panel 1 their counts
    // (each count also in its tool tip, as a count field shows it).
    void transitionsFollowTheStateTable_data() { AddStateRows(); }
    void transitionsFollowTheStateTable() {
        QFETCH(WindowState, state);
        if (state != WindowState::Start) Reach(state);
        QCOMPARE(EnabledStates(), ExpectedStates(state));
        VerifyAlwaysEnabled();
        const bool normalised = state != WindowState::Start;
        const bool keyed = state == WindowState::Keyed || state == WindowState::Ciphered;
        const bool ciphered = state == WindowState::Ciphered;
        const CoreRun core = RunCore(QStringLiteral("Hallo Welt"));
        if (normalised) QCOMPARE(MemoText("Memo1"), core.Input);
        QCOMPARE(MemoText("Memo2"), keyed ? core.KeyStream : QString());
        QCOMPARE(MemoText("Memo3"), ciphered ? core.Output : QString());
        const struct {
            const char* Field;
            bool Shown;
            QString Text;
        } counts[] = {{"Edit3", normalised, core.Input},
                      {"Edit4", keyed, core.KeyStream},
                      {"Edit5", ciphered, core.Output}};
        for (const auto& count : counts) {
            const QString digits = count.Shown ? QString::number(count.Text.size()) : QString();
            QCOMPARE(EditText(count.Field), count.Shown ? digits : QStringLiteral("???"));
            QCOMPARE(Find(count.Field)->toolTip(), digits);
        }
        if (normalised) {
            QCOMPARE(Panel(1), QString::number(core.Input.size()));
            QCOMPARE(PanelLabel(1)->toolTip(), Panel(1));
        }
        QCOMPARE(Messages(), QStringList());

        // A reset from any later state returns to Start with empty memos.
        if (normalised) {
            Click("BitBtn3");
            QCOMPARE(EnabledStates(), ExpectedStates(WindowState::Start));
            for (const char* memo : {"Memo1", "Memo2", "Memo3"})
                QCOMPARE(MemoText(memo), QString());
            for (const char* edit : {"Edit3", "Edit4", "Edit5"})
                QCOMPARE(EditText(edit), QStringLiteral("???"));
        }
    }

    // What the two message boxes show, as the user reads them.
    void messageBoxes_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<bool>("spin");  // the up arrow clicked after normalising
        QTest::addColumn<QString>("message");
        QTest::newRow("empty input") << "" << false << "Die Eingabeseite darf nicht leer sein!";
        QTest::newRow("key start after the text")
            << "x" << true << "Die Eingabeposition kann nicht nach der Textlänge liegen!!";
    }
    void messageBoxes() {
        QFETCH(QString, input);
        QFETCH(bool, spin);
        QFETCH(QString, message);
        Reach(WindowState::Normalised, input);
        if (spin) Spin("UpDown1Up");
        QCOMPARE(Watcher->Shown.size(), 1);
        const ShownMessage shown = Watcher->Shown.first();
        QCOMPARE(shown.title, QStringLiteral("Achtung"));
        QCOMPARE(shown.text, message);
        QCOMPARE(shown.icon, QMessageBox::NoIcon);
        QCOMPARE(shown.buttonCount, 1);
    }

    void emptyInputShowsTheMessageAndGoesOn() {
        Click("BitBtn2");  // clearing at start empties Memo1 and Memo2
        QCOMPARE(MemoText("Memo1"), QString());
        QCOMPARE(EnabledStates(), ExpectedStates(WindowState::Start));
        Click("BitBtn5");
        QCOMPARE(Messages(), QStringList{texts::kEmptyInputMessage});
        QCOMPARE(EditText("Edit3"), QStringLiteral("0"));
        QCOMPARE(Panel(1), QStringLiteral("0"));
        QCOMPARE(EnabledStates(), ExpectedStates(WindowState::Normalised));
        // Every spinner click is refused; position 1 still gives the empty keystream.
        Spin("UpDown1Up");
        QCOMPARE(Messages(), QStringList{texts::kPositionMessage});
        Spin("UpDown1Down");
        QCOMPARE(Messages(), QStringList{texts::kPositionMessage});
        Click("BitBtn6");
        QCOMPARE(Messages(), QStringList());
        QCOMPARE(EditText("Edit4"), QStringLiteral("0"));
        QCOMPARE(EnabledStates(), ExpectedStates(WindowState::Keyed));
        Click("Button1");
        QCOMPARE(EditText("Edit5"), QStringLiteral("0"));
        QCOMPARE(MemoText("Memo3"), QString());
    }

    // One step of the spinner, by its arrow or (reached by Tab, after
    // RadioGroup3) by its key: it moves within 1 to 25 and clicks when it
    // moved; a position before the end of the text goes to Edit2, any other
    // is refused with the message; panel 3 shows every new position.
    void spinnerSteps_data() {
        QTest::addColumn<QString>("input");  // normalised first
        QTest::addColumn<int>("start");  // set without a click: Edit2 and panel 3 show 1
        QTest::addColumn<Qt::Key>("key");  // Up or Down
        QTest::addColumn<bool>("byKey");  // the key pressed, or else the arrow clicked
        QTest::addColumn<int>("position");  // afterwards
        QTest::addColumn<int>("edit2");  // shown afterwards
        QTest::addColumn<int>("panel3");
        QTest::addColumn<bool>("refused");
        const QString abc = QStringLiteral("abc");
        const QString forty(40, QLatin1Char('a'));
        const Qt::Key up = Qt::Key_Up;
        const Qt::Key down = Qt::Key_Down;
        QTest::newRow("3 letters: up to 2") << abc << 1 << up << false << 2 << 2 << 2 << false;
        QTest::newRow("3 letters: up to 3") << abc << 2 << up << false << 3 << 1 << 3 << true;
        QTest::newRow("3 letters: down to 2") << abc << 3 << down << false << 2 << 2 << 2 << false;
        QTest::newRow("1 letter: up to 2") << "x" << 1 << up << false << 2 << 1 << 2 << true;
        QTest::newRow("1 letter: down to 1") << "x" << 2 << down << false << 1 << 1 << 1 << true;
        QTest::newRow("down at 1: nothing") << forty << 1 << down << false << 1 << 1 << 1 << false;
        QTest::newRow("down at 2") << forty << 2 << down << false << 1 << 1 << 1 << false;
        QTest::newRow("up at 24") << forty << 24 << up << false << 25 << 25 << 25 << false;
        QTest::newRow("up at 25: nothing") << forty << 25 << up << false << 25 << 1 << 1 << false;
        QTest::newRow("down at 25") << forty << 25 << down << false << 24 << 24 << 24 << false;
        QTest::newRow("key Up to 2") << abc << 1 << up << true << 2 << 2 << 2 << false;
        QTest::newRow("key Up to 3") << abc << 2 << up << true << 3 << 1 << 3 << true;
        QTest::newRow("key Down at 1: nothing")
            << forty << 1 << down << true << 1 << 1 << 1 << false;
        QTest::newRow("key Up at 25: nothing")
            << forty << 25 << up << true << 25 << 1 << 1 << false;
        QTest::newRow("key Down at 25") << forty << 25 << down << true << 24 << 24 << 24 << false;
    }
    void spinnerSteps() {
        QFETCH(QString, input);
        QFETCH(int, start);
        QFETCH(Qt::Key, key);
        QFETCH(bool, byKey);
        QFETCH(int, position);
        QFETCH(int, edit2);
        QFETCH(int, panel3);
        QFETCH(bool, refused);
        Reach(WindowState::Normalised, input);
        auto* spinner = Find<UpDown>("UpDown1");
        spinner->SetPosition(start);
        QSignalSpy click(spinner, &UpDown::Click);
        if (byKey) {
            // The spinner shows that it has the focus.
            const QImage unfocused = spinner->grab().toImage();
            QWidget* direction = Find("RadioGroup3Item0");
            direction->setFocus();
            QTest::keyClick(direction, Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), spinner);
            QVERIFY(spinner->grab().toImage() != unfocused);
            QTest::keyClick(spinner, key);
        } else {
            QTest::mouseClick(Button(key == Qt::Key_Up ? "UpDown1Up" : "UpDown1Down"),
                              Qt::LeftButton);
        }
        QCOMPARE(spinner->Position(), position);
        QCOMPARE(click.size(), position == start ? 0 : 1);
        QCOMPARE(EditText("Edit2"), QString::number(edit2));
        QCOMPARE(Panel(3), QString::number(panel3));
        QCOMPARE(Messages(), refused ? QStringList{texts::kPositionMessage} : QStringList());
    }

    void disabledSpinnerDoesNothing() {
        auto* spinner = Find<UpDown>("UpDown1");
        QSignalSpy click(spinner, &UpDown::Click);
        QTest::mouseClick(Button("UpDown1Up"), Qt::LeftButton);
        QCOMPARE(spinner->Position(), 1);
        QCOMPARE(click.size(), 0);
    }

    // The keystream starts at the spinner's position, also at the text's
    // length, which the spinner refused into Edit2; beyond the text the
    // keystream button refuses it and changes nothing.
    void keyStreamStartsAtTheSpinner_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("ups");  // clicks of the up arrow from position 1
        QTest::addColumn<bool>("accepted");
        QTest::newRow("25 of 40") << QString(40, QLatin1Char('a')) << 24 << true;
        QTest::newRow("3 of 3") << "abc" << 2 << true;
        QTest::newRow("3 of 2") << "ab" << 2 << false;
    }
    void keyStreamStartsAtTheSpinner() {
        QFETCH(QString, input);
        QFETCH(int, ups);
        QFETCH(bool, accepted);
        Reach(WindowState::Normalised, input);
        Spin("UpDown1Up", ups);
        Messages();  // the spinner's own refusals
        Click("BitBtn6");
        const QString keyStream = RunCore(input, 1 + ups).KeyStream;
        QCOMPARE(Messages(), accepted ? QStringList() : QStringList{texts::kPositionMessage});
        QCOMPARE(MemoText("Memo2"), accepted ? keyStream : QString());
        QCOMPARE(EditText("Edit4"), accepted ? QString::number(keyStream.size()) : "???");
        QCOMPARE(EnabledStates(),
                 ExpectedStates(accepted ? WindowState::Keyed : WindowState::Normalised));
    }

    void directionSetsTheCaptions() {
        Choose("RadioGroup3Item1");
        QCOMPARE(Button("Button1")->text(), QStringLiteral("Dechiffrieren"));
        QCOMPARE(Find<QLabel>("Label1")->text(), QStringLiteral("Anzahl der Plaintextzeichen"));
        Reach(WindowState::Keyed);
        Choose("RadioGroup3Item0");
        QCOMPARE(Button("Button1")->text(), texts::kEncipher);
        QCOMPARE(Find<QLabel>("Label1")->text(), texts::kCiphertextCountLabel);
        QVERIFY(Button("Button1")->isEnabled());
    }

    void methodAndKeyStartChangeOnlyTheAlphabet_data() { AddStateRows(); }
    void methodAndKeyStartChangeOnlyTheAlphabet() {
        QFETCH(WindowState, state);
        if (state != WindowState::Start) Reach(state);
        const QStringList memos = {MemoText("Memo1"), MemoText("Memo2"), MemoText("Memo3")};
        const QString enabled = EnabledStates();
        const struct {
            const char* Item;
            Method TheMethod;
            KeyStart TheKeyStart;
        } steps[] = {{"RadioGroup1Item0", Method::MethodModern, KeyStart::KeyStartA},
                     {"RadioGroup2Item1", Method::MethodModern, KeyStart::KeyStartB},
                     {"RadioGroup1Item1", Method::MethodClassical, KeyStart::KeyStartB},
                     {"RadioGroup2Item0", Method::MethodClassical, KeyStart::KeyStartA}};
        for (const auto& step : steps) {
            Choose(step.Item);
            QCOMPARE(EditText("Edit1"), KeyAlphabet(step.TheMethod, step.TheKeyStart));
            QCOMPARE(Panel(5), EditText("Edit1"));
        }
        QCOMPARE((QStringList{MemoText("Memo1"), MemoText("Memo2"), MemoText("Memo3")}), memos);
        QCOMPARE(EnabledStates(), enabled);
    }

    void cipherUsesTheOldKeyStreamWithTheNewChoices() {
        const QString text = QStringLiteral("HALLO");
        Reach(WindowState::Keyed, text);
        Choose("RadioGroup1Item0");
        Choose("RadioGroup2Item1");
        Click("Button1");
        // The core's keystream under the choices at start, ciphered under the new ones.
        trithemius::CipherState state;
        trithemius::NormaliseInput(state, trithemius::MemoTextToCipherText(text),
                                   Method::MethodClassical);
        trithemius::GenerateKeyStream(state, 1);
        trithemius::SelectKeyAlphabet(state, Method::MethodModern, KeyStart::KeyStartB);
        trithemius::ApplyCipher(state, Method::MethodModern, KeyStart::KeyStartB,
                                Direction::Encipher);
        QCOMPARE(MemoText("Memo2"), Shown(state.KeyStream));
        QCOMPARE(MemoText("Memo3"), Shown(state.OutputText));
    }

    void togglesGroupAndUngroupTheirOwnText() {
        const QString text = QStringLiteral("Trithemius 1508");
        Reach(WindowState::Ciphered, text);
        const CoreRun core = RunCore(text);
        const struct {
            const char* Button;
            const char* Memo;
            QString Plain;
        } toggles[] = {{"BitBtn1", "Memo1", core.Input},
                       {"BitBtn7", "Memo2", core.KeyStream},
                       {"BitBtn8", "Memo3", core.Output}};
        const QString enabled = EnabledStates();
        for (const auto& toggle : toggles) {
            // Both directions show the window's text, never what the memo holds.
            Find<Memo>(toggle.Memo)->SetText(QStringLiteral("typed over"));
            Click(toggle.Button);
            QCOMPARE(Button(toggle.Button)->text(), QStringLiteral("Blöcke löschen"));
            QCOMPARE(MemoText(toggle.Memo), Grouped(toggle.Plain));
            Click(toggle.Button);
            QCOMPARE(Button(toggle.Button)->text(), texts::kShowGroups);
            QCOMPARE(MemoText(toggle.Memo), toggle.Plain);
            Click(toggle.Button);  // grouped again, for the reset below
        }
        // Each memo keeps its own groups while the others group theirs.
        for (const auto& toggle : toggles) QCOMPARE(MemoText(toggle.Memo), Grouped(toggle.Plain));
        for (const char* edit : {"Edit3", "Edit4", "Edit5"})
            QCOMPARE(EditText(edit), QString::number(core.Input.size()));
        QCOMPARE(EnabledStates(), enabled);

        // The reset restores every caption.
        Click("BitBtn3");
        for (const auto& toggle : toggles)
            QCOMPARE(Button(toggle.Button)->text(), texts::kShowGroups);
    }

    void resetKeepsChoicesPositionAndPanels() {
        const QString text = QStringLiteral("Geheime Nachricht");
        Choose("RadioGroup3Item1");
        Reach(WindowState::Normalised, text);
        Spin("UpDown1Up", 3);
        Click("BitBtn6");
        Click("Button1");
        Click("BitBtn8");
        Click("BitBtn3");
        QCOMPARE(EnabledStates(), ExpectedStates(WindowState::Start));
        QCOMPARE(EditText("Edit2"), QStringLiteral("4"));
        QCOMPARE(Panel(3), QStringLiteral("4"));
        QCOMPARE(Panel(1), QString::number(RunCore(text).Input.size()));
        QCOMPARE(Panel(5), KeyAlphabet(Method::MethodClassical, KeyStart::KeyStartA));
        QCOMPARE(Button("Button1")->text(), texts::kDecipher);
        QVERIFY(Button("RadioGroup3Item1")->isChecked());
        // The next normalisation starts with the spinner where it was left.
        Reach(WindowState::Keyed, QStringLiteral("abcdefgh"));
        QCOMPARE(MemoText("Memo2"), RunCore(QStringLiteral("abcdefgh"), 4).KeyStream);
    }

    void clearingChangesOnlyTheTwoMemos() {
        Find<Memo>("Memo2")->SetText(QStringLiteral("typed"));
        Find<Memo>("Memo3")->SetText(QStringLiteral("kept"));
        Click("BitBtn2");
        QCOMPARE(MemoText("Memo1"), QString());
        QCOMPARE(MemoText("Memo2"), QString());
        QCOMPARE(MemoText("Memo3"), QStringLiteral("kept"));
        QCOMPARE(EditText("Edit3"), QStringLiteral("???"));
        QCOMPARE(EnabledStates(), ExpectedStates(WindowState::Start));
    }

    // Escape clicks the first enabled cancel button (bkNo), Return and Enter
    // the first enabled default button (bkOK), in focus order, and Alt with
    // a letter the button it underlines; a focused button takes Return, Enter
    // and Space itself, a memo keeps Escape and Return, and an accelerator is
    // never typed as text.
    void keysClickTheirButtons_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<QString>("enabled");  // of the buttons with a key; the rest disabled
        QTest::addColumn<bool>("typed");  // the focused control took the key as text
        QTest::addColumn<QString>("clicked");  // the one button clicked, or none
        const QKeySequence escape(Qt::Key_Escape);
        const QKeySequence enter(Qt::Key_Return);
        const QKeySequence keypadEnter(Qt::KeypadModifier | Qt::Key_Enter);
        const QKeySequence altW(Qt::AltModifier | Qt::Key_W);
        const QString none;
        QTest::newRow("Escape in Edit1") << "Edit1" << escape << "BitBtn2" << false << "BitBtn2";
        QTest::newRow("Escape on a radio item")
            << "RadioGroup1Item1" << escape << "BitBtn2" << false << "BitBtn2";
        QTest::newRow("Escape on BitBtn5")
            << "BitBtn5" << escape << "BitBtn2" << false << "BitBtn2";
        QTest::newRow("Escape on BitBtn2")
            << "BitBtn2" << escape << "BitBtn2" << false << "BitBtn2";
        QTest::newRow("Memo1 keeps Escape") << "Memo1" << escape << "BitBtn2" << false << none;
        QTest::newRow("Memo2 keeps Escape") << "Memo2" << escape << "BitBtn2" << false << none;
        QTest::newRow("Memo3 keeps Escape") << "Memo3" << escape << "BitBtn2" << false << none;
        QTest::newRow("Escape, BitBtn2 disabled")
            << "Edit1" << escape << "BitBtn1 BitBtn6" << false << none;
        QTest::newRow("Return, no default button")
            << "Edit1" << enter << "BitBtn2" << false << none;
        QTest::newRow("Return, BitBtn1") << "Edit1" << enter << "BitBtn1" << false << "BitBtn1";
        QTest::newRow("Return, all four")
            << "Edit1" << enter << "BitBtn1 BitBtn6 BitBtn7 BitBtn8" << false << "BitBtn1";
        QTest::newRow("Return, BitBtn6 7 8")
            << "Edit1" << enter << "BitBtn6 BitBtn7 BitBtn8" << false << "BitBtn6";
        QTest::newRow("Return, BitBtn7 8")
            << "Edit1" << enter << "BitBtn7 BitBtn8" << false << "BitBtn7";
        QTest::newRow("Return, BitBtn8") << "Edit1" << enter << "BitBtn8" << false << "BitBtn8";
        QTest::newRow("keypad Enter") << "Edit1" << keypadEnter << "BitBtn6" << false << "BitBtn6";
        QTest::newRow("Return on a radio item")
            << "RadioGroup3Item0" << enter << "BitBtn7" << false << "BitBtn7";
        QTest::newRow("Memo1 keeps Return") << "Memo1" << enter << "BitBtn1" << true << none;
        QTest::newRow("Memo3 keeps Return") << "Memo3" << enter << "BitBtn1" << true << none;
        QTest::newRow("BitBtn5 takes Return")
            << "BitBtn5" << enter << "BitBtn1" << false << "BitBtn5";
        QTest::newRow("Button2 takes Return")
            << "Button2" << enter << "BitBtn6" << false << "Button2";
        QTest::newRow("BitBtn2 takes Enter")
            << "BitBtn2" << keypadEnter << "BitBtn1 BitBtn2" << false << "BitBtn2";
        QTest::newRow("BitBtn5 takes Space")
            << "BitBtn5" << QKeySequence(Qt::Key_Space) << "BitBtn1" << false << "BitBtn5";
        QTest::newRow("Alt+W") << "Edit1" << altW << "BitBtn3" << false << "BitBtn3";
        QTest::newRow("Alt+W, BitBtn3 disabled, in Edit1")
            << "Edit1" << altW << none << false << none;
        QTest::newRow("Alt+W, BitBtn3 disabled, in Memo1")
            << "Memo1" << altW << none << false << none;
    }
    void keysClickTheirButtons() {
        QFETCH(QString, focus);
        QFETCH(QKeySequence, key);
        QFETCH(QString, enabled);
        QFETCH(bool, typed);
        QFETCH(QString, clicked);
        for (const char* name : {"BitBtn1", "BitBtn2", "BitBtn3", "BitBtn6", "BitBtn7", "BitBtn8"})
            Find(name)->setEnabled(enabled.split(u' ').contains(QLatin1String(name)));
        const QStringList buttons = {"BitBtn1", "BitBtn2", "BitBtn3", "BitBtn4", "BitBtn5",
                                     "BitBtn6", "BitBtn7", "BitBtn8", "Button1", "Button2"};
        QStringList clicks;
        const QObject listening;
        for (const QString& name : buttons) {
            connect(Button(name), &QAbstractButton::clicked, &listening,
                    [&clicks, name] { clicks << name; });
        }
        QWidget* target = Find(focus);
        target->setFocus();
        QCOMPARE(QApplication::focusWidget(), target);
        const QString before = ShownText(target);
        QTest::keyClick(target, key[0].key(), key[0].keyboardModifiers());

        // An accelerator presses its button at once and clicks it a moment later.
        QStringList pressed = clicks;
        for (const QString& name : buttons) {
            if (Button(name)->isDown()) pressed << name;
        }
        const QStringList expected = clicked.isEmpty() ? QStringList() : QStringList{clicked};
        QCOMPARE(pressed, expected);
        QTRY_COMPARE(clicks, expected);
        QCOMPARE(ShownText(target) != before, typed);
    }

    // Tab skips the disabled controls; a radio group is one stop, at its selected item.
    void tabVisitsEnabledControls_data() {
        QTest::addColumn<WindowState>("state");
        QTest::addColumn<QString>("visited");
        QTest::newRow("Start") << WindowState::Start
                               << "Memo1 BitBtn2 BitBtn4 RadioGroup1Item1 Edit1 RadioGroup2Item0 "
                                  "BitBtn5 RadioGroup3Item0 Memo2 Memo3 Button2 Memo1";
        QTest::newRow("Normalised: the spinner is a stop")
            << WindowState::Normalised
            << "Memo1 BitBtn1 BitBtn3 BitBtn4 RadioGroup1Item1 Edit1 RadioGroup2Item0 "
               "RadioGroup3Item0 UpDown1 BitBtn6 Memo2 Memo3 Button2 Memo1";
    }
    void tabVisitsEnabledControls() {
        QFETCH(WindowState, state);
        QFETCH(QString, visited);
        if (state != WindowState::Start) Reach(state);
        Find("Memo1")->setFocus();
        const QStringList expected = visited.split(u' ');
        QStringList names = {QApplication::focusWidget()->objectName()};
        while (names.size() < expected.size()) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            names << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(names, expected);
    }

    // A radio group clicks when the user selects another item, by mouse or
    // key, never for the selected item and never while it is disabled; it
    // already holds the new item when it clicks, and Tab then stops there.
    void radioGroups_data() {
        QTest::addColumn<QString>("group");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("clickedItem");  // clicked on its circle, or -1 for a key
        QTest::addColumn<Qt::Key>("key");  // pressed on the selected item
        QTest::addColumn<int>("itemIndex");  // after the action
        QTest::addColumn<int>("clicks");
        const QString group1 = QStringLiteral("RadioGroup1");
        const QString group2 = QStringLiteral("RadioGroup2");
        const QString group3 = QStringLiteral("RadioGroup3");
        const Qt::Key noKey = Qt::Key_unknown;
        QTest::newRow("RadioGroup1: click the selected item")
            << group1 << true << 1 << noKey << 1 << 0;
        QTest::newRow("RadioGroup1: click the other item")
            << group1 << true << 0 << noKey << 0 << 1;
        QTest::newRow("RadioGroup2: click the selected item")
            << group2 << true << 0 << noKey << 0 << 0;
        QTest::newRow("RadioGroup2: click the other item")
            << group2 << true << 1 << noKey << 1 << 1;
        QTest::newRow("RadioGroup3 disabled: click the other item")
            << group3 << false << 1 << noKey << 0 << 0;
        QTest::newRow("RadioGroup3: arrow down") << group3 << true << -1 << Qt::Key_Down << 1 << 1;
        QTest::newRow("RadioGroup1: arrow up") << group1 << true << -1 << Qt::Key_Up << 0 << 1;
        QTest::newRow("RadioGroup1: arrow down wraps round")
            << group1 << true << -1 << Qt::Key_Down << 0 << 1;
        QTest::newRow("RadioGroup2: arrow up wraps round")
            << group2 << true << -1 << Qt::Key_Up << 1 << 1;
        QTest::newRow("RadioGroup3: arrow right")
            << group3 << true << -1 << Qt::Key_Right << 1 << 1;
        QTest::newRow("RadioGroup2: space on the selected item")
            << group2 << true << -1 << Qt::Key_Space << 0 << 0;
    }
    void radioGroups() {
        QFETCH(QString, group);
        QFETCH(bool, enabled);
        QFETCH(int, clickedItem);
        QFETCH(Qt::Key, key);
        QFETCH(int, itemIndex);
        QFETCH(int, clicks);
        auto* radio = Find<RadioGroup>(group);
        radio->setEnabled(enabled);
        QSignalSpy click(radio, &RadioGroup::Click);
        int indexInSlot = -2;
        connect(radio, &RadioGroup::Click, this, [&] { indexInSlot = radio->ItemIndex(); });
        const auto item = [&](int n) { return Find(group + QStringLiteral("Item%1").arg(n)); };
        if (clickedItem >= 0) {
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

    // Button2 has no action: its click changes nothing the user sees.
    void button2DoesNothing() {
        Reach(WindowState::Keyed);
        const QStringList before = VisibleState();
        QSignalSpy clicked(Button("Button2"), &QAbstractButton::clicked);
        Click("Button2");
        QCOMPARE(clicked.size(), 1);
        QCOMPARE(VisibleState(), before);
        QCOMPARE(Messages(), QStringList());
        QVERIFY(Form->isVisible());
    }

    // Enciphers, then pastes the result into the cleared window and deciphers it.
    void cipherThroughTheWindow_data() {
        QTest::addColumn<Method>("method");
        QTest::addColumn<KeyStart>("keyStart");
        QTest::newRow("modern, A") << Method::MethodModern << KeyStart::KeyStartA;
        QTest::newRow("modern, B") << Method::MethodModern << KeyStart::KeyStartB;
        QTest::newRow("classical, A") << Method::MethodClassical << KeyStart::KeyStartA;
        QTest::newRow("classical, B") << Method::MethodClassical << KeyStart::KeyStartB;
    }
    void cipherThroughTheWindow() {
        QFETCH(Method, method);
        QFETCH(KeyStart, keyStart);
        const QString text = QStringLiteral("Java-Versuch");
        const int position = 7;
        Choose(method == Method::MethodModern ? "RadioGroup1Item0" : "RadioGroup1Item1");
        Choose(keyStart == KeyStart::KeyStartA ? "RadioGroup2Item0" : "RadioGroup2Item1");
        SetInput(text);
        Click("BitBtn5");
        Spin("UpDown1Up", position - 1);
        Click("BitBtn6");
        Click("Button1");
        const QString enciphered = RunCore(text, position, method, keyStart).Output;
        QCOMPARE(MemoText("Memo3"), enciphered);

        Click("BitBtn3");
        Choose("RadioGroup3Item1");
        SetInput(enciphered);
        Click("BitBtn5");
        Click("BitBtn6");
        Click("Button1");
        QCOMPARE(MemoText("Memo3"),
                 RunCore(enciphered, position, method, keyStart, Direction::Decipher).Output);
        QCOMPARE(Messages(), QStringList());
    }

    // Text from the memo reaches the core as Windows-1252 characters.
    void inputIsReadAsWindows1252_data() {
        QTest::addColumn<QString>("input");
        QTest::newRow("composed umlauts") << "Köln Äußere";
        QTest::newRow("decomposed o umlaut") << "Köln";
        QTest::newRow("no Windows-1252 value") << "AĀ😀אB";
        QTest::newRow("lines") << "eins\nzwei\r\n3";
    }
    void inputIsReadAsWindows1252() {
        QFETCH(QString, input);
        Reach(WindowState::Normalised, input);
        QCOMPARE(MemoText("Memo1"), RunCore(input).Input);
    }

    // Input queued before an action starts or while it runs (clicks, keys,
    // an input method's text) is dropped when it ends, never delivered into
    // it or to the controls it enabled; the busy cursor shows meanwhile.
    void inputAroundAnActionIsDropped_data() {
        QTest::addColumn<bool>("beforeAction");
        QTest::newRow("queued before the action") << true;
        QTest::newRow("queued during the action") << false;
    }
    void inputAroundAnActionIsDropped() {
        QFETCH(bool, beforeAction);
        SetInput(QStringLiteral("Eine geheime Nachricht"));
        const QString alphabet = EditText("Edit1");
        const auto queueInput = [this] {
            for (const char* name : {"BitBtn6", "Button1", "BitBtn8"}) PostClick(name);
            QWidget* edit1 = Find("Edit1");
            QCoreApplication::postEvent(
                edit1, new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
            auto* composed = new QInputMethodEvent;
            composed->setCommitString(QStringLiteral("é"));
            QCoreApplication::postEvent(edit1, composed);
        };
        if (beforeAction) queueInput();
        Qt::CursorShape cursorDuringAction = Qt::ArrowCursor;
        bool queued = beforeAction;
        const auto queueDuring =
            connect(Find<QLineEdit>("Edit3"), &QLineEdit::textChanged, this, [&] {
                if (const QCursor* cursor = QApplication::overrideCursor())
                    cursorDuringAction = cursor->shape();
                if (!std::exchange(queued, true)) queueInput();
            });
        Click("BitBtn5");
        disconnect(queueDuring);
        QApplication::processEvents();
        QCOMPARE(cursorDuringAction, Qt::WaitCursor);
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QCOMPARE(EnabledStates(), ExpectedStates(WindowState::Normalised));
        QCOMPARE(MemoText("Memo2"), QString());
        QCOMPARE(Button("BitBtn1")->text(), texts::kShowGroups);
        QCOMPARE(EditText("Edit1"), alphabet);
        QCOMPARE(Messages(), QStringList());
    }

    // A long edit in a memo is busy as an action is: a click queued behind
    // it is dropped, not delivered once it is done.
    void inputQueuedBehindALongEditIsDropped_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QKeySequence>("before");  // typed first, or empty
        QTest::addColumn<int>("selected");  // from the start on
        QTest::addColumn<QKeySequence>("edit");
        QTest::addColumn<QString>("expected");
        const QKeySequence none;
        const QKeySequence paste(QKeySequence::Paste);
        const QKeySequence undo(QKeySequence::Undo);
        const QKeySequence redo(QKeySequence::Redo);
        const QKeySequence typeX(Qt::Key_X);
        QTest::newRow("paste") << "abc" << none << 0 << paste << "Halloabc";
        QTest::newRow("cut") << "abc" << none << 1 << QKeySequence(QKeySequence::Cut) << "bc";
        QTest::newRow("copy") << "abc" << none << 1 << QKeySequence(QKeySequence::Copy) << "abc";
        QTest::newRow("undo") << "abc" << typeX << 0 << undo << "abc";
        QTest::newRow("redo") << "abc" << typeX << 0 << QKeySequence(undo[0], redo[0]) << "xabc";
        QTest::newRow("deleting a large selection")
            << QString(70'000, QLatin1Char('a')) + "b" << none << 70'000
            << QKeySequence(Qt::Key_Backspace) << "b";
    }
    void inputQueuedBehindALongEditIsDropped() {
        QFETCH(QString, text);
        QFETCH(QKeySequence, before);
        QFETCH(int, selected);
        QFETCH(QKeySequence, edit);
        QFETCH(QString, expected);
        QGuiApplication::clipboard()->setText(QStringLiteral("Hallo"));
        SetInput(text);
        auto* memo1 = Find<Memo>("Memo1");
        memo1->setFocus();
        if (!before.isEmpty()) QTest::keySequence(memo1, before);
        memo1->SetSelection(0, selected);
        Qt::CursorShape cursorDuringEdit = Qt::ArrowCursor;
        const auto busy = connect(memo1, &Memo::LongEditStarted, this, [&] {
            if (const QCursor* cursor = QApplication::overrideCursor())
                cursorDuringEdit = cursor->shape();
        });
        PostClick("BitBtn2");  // would empty Memo1
        for (int i = 0; i < edit.count(); ++i) QTest::keySequence(memo1, QKeySequence(edit[i]));
        disconnect(busy);
        QApplication::processEvents();
        QCOMPARE(MemoText("Memo1"), expected);
        QCOMPARE(cursorDuringEdit, Qt::WaitCursor);
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    // Closing the window while an action runs closes it when the action is
    // over, without the message the action would end in (the program ends
    // with its last window).
    void closingDuringAnActionClosesAfterIt() {
        SetInput(QStringLiteral("!!!"));  // nothing to normalise: a message would follow
        const auto closeDuring =
            connect(Find<QLineEdit>("Edit3"), &QLineEdit::textChanged, this,
                    [this] { QCoreApplication::postEvent(Form->windowHandle(), new QCloseEvent); });
        Click("BitBtn5");
        disconnect(closeDuring);
        QApplication::processEvents();
        QVERIFY(!Form->isVisible());
        QCOMPARE(Messages(), QStringList());
    }

    // Text dragged onto Edit1 is refused: it would replace the key alphabet
    // shown (and leave the memo it came from).
    void dropsOnEdit1AreRefused() {
        auto* field = Find<QLineEdit>("Edit1");
        const QString shown = field->text();
        QMimeData dragged;
        dragged.setText(QStringLiteral("XYZ"));
        // As the window system delivers a drag: to the window, at a point.
        const QPointF at = field->mapTo(Form.get(), field->rect().center());
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(at.toPoint(), actions, &dragged, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Form->windowHandle(), &enter);
        QDropEvent drop(at, actions, &dragged, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Form->windowHandle(), &drop);
        QVERIFY(!drop.isAccepted());
        QCOMPARE(field->text(), shown);
    }

    // Escape clears the input through BitBtn2, and Ctrl+Z in Memo1 brings it back.
    void clearedInputCanBeUndone() {
        const QString sample = MemoText("Memo1");
        QLineEdit* edit1 = Find<QLineEdit>("Edit1");
        edit1->setFocus();
        QTest::keyClick(edit1, Qt::Key_Escape);
        QCOMPARE(MemoText("Memo1"), QString());
        auto* memo1 = Find<Memo>("Memo1");
        memo1->setFocus();
        QTest::keyClick(memo1, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(MemoText("Memo1"), sample);
    }
};

}  // namespace

QTEST_MAIN(WindowActionsTest)
#include "tst_window_actions.moc"
