// The window's behaviour: the fixed sequence normalise, key start position,
// keystream, cipher; the enabled states of the four window states; the
// toggles, the reset, the clearing, the choices and the two message boxes.
// The real window is built offscreen and driven by real clicks and keys on
// the controls' object names.
#include "tform1.h"
#include "window_controls.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>
#include <memory>
#include <utility>

#include "memo.h"

namespace {

const QString kEmptyInputMessage = QStringLiteral("Die Eingabeseite darf nicht leer sein!");
const QString kPositionMessage =
    QStringLiteral("Die Eingabeposition kann nicht nach der Textl\u00e4nge liegen!!");
const QString kGroups = QStringLiteral("F\u00fcnfer-Bl\u00f6cke");
const QString kUngroup = QStringLiteral("Bl\u00f6cke l\u00f6schen");

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

class WindowActionsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TForm1> Form;
    std::unique_ptr<MessageBoxWatcher> Watcher;

    template <typename T>
    T* Find(const char* name) {
        return FindControl<T>(Form.get(), QString::fromLatin1(name));
    }
    QAbstractButton* Button(const char* name) { return Find<QAbstractButton>(name); }
    QString MemoText(const char* name) { return Find<Memo>(name)->Text(); }
    QString EditText(const char* name) { return Find<QLineEdit>(name)->text(); }
    QString Panel(int n) {
        return Find<QLabel>(QStringLiteral("StatusBar1Panel%1").arg(n).toLatin1().constData())
            ->text();
    }
    void Click(const char* name) {
        QAbstractButton* button = Button(name);
        QVERIFY2(button->isEnabled(), name);
        QTest::mouseClick(button, Qt::LeftButton);
    }
    // Clicks a radio item on its circle, where a radio button takes clicks.
    void Choose(const char* item) {
        QAbstractButton* button = Button(item);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
        QVERIFY2(button->isChecked(), item);
    }
    // Queues a click on a button, as the window system queues one the user
    // makes while the window is busy.
    void PostClick(const char* name) {
        QWidget* button = Find<QWidget>(name);
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

    // Enabled state of the controls that the workflow steers, in this order.
    static constexpr const char* kSteered[] = {"BitBtn5", "BitBtn2",     "UpDown1", "BitBtn6",
                                               "Button1", "RadioGroup3", "BitBtn1", "BitBtn7",
                                               "BitBtn8", "BitBtn3",     "BitBtn4"};
    QString EnabledStates() {
        QString states;
        for (const char* name : kSteered) {
            states += Find<QWidget>(name)->isEnabled() ? QLatin1Char('x') : QLatin1Char('-');
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
            QVERIFY2(Find<QWidget>(name)->isEnabled(), name);
        }
        for (const char* name : {"Edit2", "Edit3", "Edit4", "Edit5"}) {
            QVERIFY2(!Find<QWidget>(name)->isEnabled(), name);
        }
    }

private slots:
    void init() {
        Form = std::make_unique<TForm1>();
        Form->show();
        QVERIFY(QTest::qWaitForWindowExposed(Form.get()));
        Watcher = std::make_unique<MessageBoxWatcher>();
    }
    void cleanup() {
        Watcher.reset();
        Form.reset();
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void transitionsFollowTheStateTable_data() { AddStateRows(); }
    void transitionsFollowTheStateTable() {
        QFETCH(WindowState, state);
        if (state != WindowState::Start) Reach(state);
        QCOMPARE(EnabledStates(), ExpectedStates(state));
        VerifyAlwaysEnabled();
        const bool normalised = state != WindowState::Start;
        const bool keyed = state == WindowState::Keyed || state == WindowState::Ciphered;
        const bool ciphered = state == WindowState::Ciphered;
        const QString unknown = QStringLiteral("???");
        QCOMPARE(EditText("Edit3"), normalised ? QStringLiteral("9") : unknown);
        QCOMPARE(EditText("Edit4"), keyed ? QStringLiteral("9") : unknown);
        QCOMPARE(EditText("Edit5"), ciphered ? QStringLiteral("9") : unknown);
        if (normalised) QCOMPARE(MemoText("Memo1"), QStringLiteral("HALLOWELT"));
        QCOMPARE(MemoText("Memo2"), keyed ? QStringLiteral("ABCDEFGHI") : QString());
        QCOMPARE(MemoText("Memo3"), ciphered ? QStringLiteral("HBNOSELSC") : QString());
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

    void normalisingTheSampleShowsLettersOnly() {
        const QString sample = MemoText("Memo1");
        QVERIFY(sample.count(QLatin1Char('\n')) == 28);
        Click("BitBtn5");
        const QString normalised = MemoText("Memo1");
        QVERIFY(!normalised.isEmpty());
        for (const QChar c : normalised)
            QVERIFY2(c >= QLatin1Char('A') && c <= QLatin1Char('Z'), qPrintable(normalised));
        QCOMPARE(EditText("Edit3"), QString::number(normalised.size()));
        QCOMPARE(Panel(1), QString::number(normalised.size()));
        QCOMPARE(EnabledStates(), ExpectedStates(WindowState::Normalised));
    }

    void emptyInputShowsTheMessageAndGoesOn() {
        Click("BitBtn2");  // clearing at start empties Memo1 and Memo2
        QCOMPARE(MemoText("Memo1"), QString());
        QCOMPARE(EnabledStates(), ExpectedStates(WindowState::Start));
        Click("BitBtn5");
        QCOMPARE(Watcher->Shown.size(), 1);
        const ShownMessage shown = Watcher->Shown.first();
        QCOMPARE(shown.title, QStringLiteral("Achtung"));
        QCOMPARE(shown.text, kEmptyInputMessage);
        QCOMPARE(shown.icon, QMessageBox::NoIcon);
        QCOMPARE(shown.buttonCount, 1);
        Watcher->Shown.clear();
        QCOMPARE(EditText("Edit3"), QStringLiteral("0"));
        QCOMPARE(Panel(1), QStringLiteral("0"));
        QCOMPARE(EnabledStates(), ExpectedStates(WindowState::Normalised));
        // Every spinner click is refused; position 1 still gives the empty keystream.
        Spin("UpDown1Up");
        QCOMPARE(Messages(), QStringList{kPositionMessage});
        Spin("UpDown1Down");
        QCOMPARE(Messages(), QStringList{kPositionMessage});
        Click("BitBtn6");
        QCOMPARE(Messages(), QStringList());
        QCOMPARE(EditText("Edit4"), QStringLiteral("0"));
        QCOMPARE(EnabledStates(), ExpectedStates(WindowState::Keyed));
        Click("Button1");
        QCOMPARE(EditText("Edit5"), QStringLiteral("0"));
        QCOMPARE(MemoText("Memo3"), QString());
    }

    void spinnerAcceptsPositionsBelowTheLength() {
        Reach(WindowState::Normalised, QStringLiteral("abc"));
        Spin("UpDown1Up");
        QCOMPARE(EditText("Edit2"), QStringLiteral("2"));
        QCOMPARE(Panel(3), QStringLiteral("2"));
        QCOMPARE(Messages(), QStringList());
        Spin("UpDown1Up");
        QCOMPARE(Messages(), QStringList{kPositionMessage});
        QCOMPARE(EditText("Edit2"), QStringLiteral("2"));
        QCOMPARE(Panel(3), QStringLiteral("3"));
        QCOMPARE(EnabledStates(), ExpectedStates(WindowState::Normalised));
        Spin("UpDown1Down");
        QCOMPARE(Messages(), QStringList());
        QCOMPARE(EditText("Edit2"), QStringLiteral("2"));
        QCOMPARE(Panel(3), QStringLiteral("2"));
    }

    void spinnerRefusesEveryPositionForOneLetter() {
        Reach(WindowState::Normalised, QStringLiteral("x"));
        Spin("UpDown1Up");
        QCOMPARE(Messages(), QStringList{kPositionMessage});
        Spin("UpDown1Down");
        QCOMPARE(Messages(), QStringList{kPositionMessage});
        QCOMPARE(EditText("Edit2"), QStringLiteral("1"));
        QCOMPARE(Panel(3), QStringLiteral("1"));
    }

    void spinnerStopsAtTwentyFive() {
        Reach(WindowState::Normalised, QString(40, QLatin1Char('a')));
        Spin("UpDown1Up", 24);
        QCOMPARE(Messages(), QStringList());
        QCOMPARE(Panel(3), QStringLiteral("25"));
        QCOMPARE(EditText("Edit2"), QStringLiteral("25"));
        Find<QLabel>("StatusBar1Panel3")->setText(QStringLiteral("unchanged"));
        Spin("UpDown1Up");
        QCOMPARE(Messages(), QStringList());
        QCOMPARE(Panel(3), QStringLiteral("unchanged"));
        Click("BitBtn6");
        // Position 25 of 40: A to Q of the classical order on 25 to 40, then R to W and A on.
        QCOMPARE(MemoText("Memo2").mid(24, 1), QStringLiteral("A"));
        QCOMPARE(MemoText("Memo2").left(1), QStringLiteral("R"));
    }

    // A refused position equal to the length is a valid key start; one beyond it
    // is refused again by the keystream button, which then changes nothing.
    void keystreamUsesARefusedPositionUpToTheLength() {
        Reach(WindowState::Normalised, QStringLiteral("abc"));
        Spin("UpDown1Up", 2);
        QCOMPARE(Messages(), QStringList{kPositionMessage});
        Click("BitBtn6");
        QCOMPARE(Messages(), QStringList());
        QCOMPARE(MemoText("Memo2"), QStringLiteral("BCA"));
        QCOMPARE(EditText("Edit4"), QStringLiteral("3"));
        QCOMPARE(EditText("Edit2"), QStringLiteral("2"));
        QCOMPARE(Panel(3), QStringLiteral("3"));
    }
    void keystreamRefusesAPositionBeyondTheLength() {
        Reach(WindowState::Normalised, QStringLiteral("ab"));
        Spin("UpDown1Up", 2);
        QCOMPARE(Messages(), (QStringList{kPositionMessage, kPositionMessage}));
        Click("BitBtn6");
        QCOMPARE(Messages(), QStringList{kPositionMessage});
        QCOMPARE(EnabledStates(), ExpectedStates(WindowState::Normalised));
        QCOMPARE(MemoText("Memo2"), QString());
        QCOMPARE(EditText("Edit4"), QStringLiteral("???"));
        Spin("UpDown1Down");
        QCOMPARE(Messages(), QStringList{kPositionMessage});
        Click("BitBtn6");
        QCOMPARE(Messages(), QStringList());
        QCOMPARE(MemoText("Memo2"), QStringLiteral("BA"));
        QCOMPARE(EnabledStates(), ExpectedStates(WindowState::Keyed));
    }

    void directionSetsTheCaptions() {
        Choose("RadioGroup3Item1");
        QCOMPARE(Button("Button1")->text(), QStringLiteral("Dechiffrieren"));
        QCOMPARE(Find<QLabel>("Label1")->text(), QStringLiteral("Anzahl der Plaintextzeichen"));
        Reach(WindowState::Keyed);
        Choose("RadioGroup3Item0");
        QCOMPARE(Button("Button1")->text(), QStringLiteral("Chiffrieren"));
        QCOMPARE(Find<QLabel>("Label1")->text(), QStringLiteral("Anzahl der Ciphertextzeichen"));
        QVERIFY(Button("Button1")->isEnabled());
    }

    void methodAndKeyStartChangeOnlyTheAlphabet_data() { AddStateRows(); }
    void methodAndKeyStartChangeOnlyTheAlphabet() {
        QFETCH(WindowState, state);
        if (state != WindowState::Start) Reach(state);
        const QStringList memos = {MemoText("Memo1"), MemoText("Memo2"), MemoText("Memo3")};
        const QString enabled = EnabledStates();
        struct Step {
            const char* item;
            const char* alphabet;
        };
        const Step steps[] = {{"RadioGroup1Item0", "ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
                              {"RadioGroup2Item1", "BCDEFGHIJKLMNOPQRSTUVWXYZ"},
                              {"RadioGroup1Item1", "BCDEFGHIKLMNOPQRSTUXYZW"},
                              {"RadioGroup2Item0", "ABCDEFGHIKLMNOPQRSTUXYZW"}};
        for (const Step& step : steps) {
            Choose(step.item);
            QCOMPARE(EditText("Edit1"), QString::fromLatin1(step.alphabet));
            QCOMPARE(Panel(5), QString::fromLatin1(step.alphabet));
        }
        QCOMPARE((QStringList{MemoText("Memo1"), MemoText("Memo2"), MemoText("Memo3")}), memos);
        QCOMPARE(EnabledStates(), enabled);
    }

    void cipherUsesTheOldKeyStreamWithTheNewChoices() {
        Reach(WindowState::Keyed, QStringLiteral("HALLO"));
        QCOMPARE(MemoText("Memo2"), QStringLiteral("ABCDE"));
        Choose("RadioGroup1Item0");
        Choose("RadioGroup2Item1");
        Click("Button1");
        QCOMPARE(MemoText("Memo2"), QStringLiteral("ABCDE"));
        QCOMPARE(MemoText("Memo3"), QStringLiteral("HBNOS"));
    }

    void togglesGroupAndUngroupTheirOwnText() {
        Reach(WindowState::Ciphered, QStringLiteral("Trithemius 1508"));
        const QString input = MemoText("Memo1");
        const QString key = MemoText("Memo2");
        const QString output = MemoText("Memo3");
        QCOMPARE(input, QStringLiteral("TRITHEMIUSEINSFUENFNULLACHT"));
        struct Toggle {
            const char* button;
            const char* memo;
            QString plain;
        };
        const Toggle toggles[] = {
            {"BitBtn1", "Memo1", input}, {"BitBtn7", "Memo2", key}, {"BitBtn8", "Memo3", output}};
        const QString enabled = EnabledStates();
        for (const Toggle& toggle : toggles) {
            Find<Memo>(toggle.memo)->SetText(QStringLiteral("typed over"));
            Click(toggle.button);
            QCOMPARE(Button(toggle.button)->text(), kUngroup);
            QString grouped;
            for (int i = 0; i < toggle.plain.size(); ++i) {
                if (i > 0 && i % 5 == 0) grouped += QLatin1Char(' ');
                grouped += toggle.plain[i];
            }
            QCOMPARE(MemoText(toggle.memo), grouped);
            Click(toggle.button);
            QCOMPARE(Button(toggle.button)->text(), kGroups);
            QCOMPARE(MemoText(toggle.memo), toggle.plain);
            Click(toggle.button);
        }
        QCOMPARE(MemoText("Memo1").left(11), QStringLiteral("TRITH EMIUS"));
        QCOMPARE(EditText("Edit3"), QStringLiteral("27"));
        QCOMPARE(EditText("Edit4"), QStringLiteral("27"));
        QCOMPARE(EditText("Edit5"), QStringLiteral("27"));
        QCOMPARE(EnabledStates(), enabled);

        // The reset restores every caption; the next click groups again.
        Click("BitBtn3");
        for (const Toggle& toggle : toggles) QCOMPARE(Button(toggle.button)->text(), kGroups);
    }

    void resetKeepsChoicesPositionAndPanels() {
        Choose("RadioGroup3Item1");
        Reach(WindowState::Normalised, QStringLiteral("Geheime Nachricht"));
        Spin("UpDown1Up", 3);
        Click("BitBtn6");
        Click("Button1");
        Click("BitBtn8");
        Click("BitBtn3");
        QCOMPARE(EnabledStates(), ExpectedStates(WindowState::Start));
        QCOMPARE(EditText("Edit2"), QStringLiteral("4"));
        QCOMPARE(Panel(3), QStringLiteral("4"));
        QCOMPARE(Panel(1), QStringLiteral("16"));
        QCOMPARE(Panel(5), QStringLiteral("ABCDEFGHIKLMNOPQRSTUXYZW"));
        QCOMPARE(Button("Button1")->text(), QStringLiteral("Dechiffrieren"));
        QVERIFY(Button("RadioGroup3Item1")->isChecked());
        // The next normalisation starts with the spinner where it was left.
        Reach(WindowState::Keyed, QStringLiteral("abcdefgh"));
        QCOMPARE(MemoText("Memo2"), QStringLiteral("FGHABCDE"));
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

    void escapeAndReturnClickTheirButtons_data() {
        QTest::addColumn<WindowState>("state");
        QTest::addColumn<QString>("returnClicks");
        QTest::newRow("Start") << WindowState::Start << QString();
        QTest::newRow("Normalised") << WindowState::Normalised << QStringLiteral("BitBtn1");
        QTest::newRow("Keyed") << WindowState::Keyed << QStringLiteral("BitBtn1");
        QTest::newRow("Ciphered") << WindowState::Ciphered << QStringLiteral("BitBtn1");
    }
    void escapeAndReturnClickTheirButtons() {
        QFETCH(WindowState, state);
        QFETCH(QString, returnClicks);
        if (state != WindowState::Start) Reach(state);
        QLineEdit* edit1 = Find<QLineEdit>("Edit1");
        edit1->setFocus();
        const QString memoBefore = MemoText("Memo1");
        QTest::keyClick(edit1, Qt::Key_Escape);
        // Escape clears the input only while BitBtn2 is enabled, in Start.
        QCOMPARE(MemoText("Memo1").isEmpty(), state == WindowState::Start);
        if (state != WindowState::Start) QCOMPARE(MemoText("Memo1"), memoBefore);

        const QString caption = Button("BitBtn1")->text();
        QTest::keyClick(edit1, Qt::Key_Return);
        if (returnClicks.isEmpty()) {
            QCOMPARE(Messages(), QStringList());
            QCOMPARE(EnabledStates(), ExpectedStates(state));
        } else {
            QCOMPARE(Button("BitBtn1")->text(), kUngroup);
            QVERIFY(caption != Button("BitBtn1")->text());
        }
    }

    void returnClicksTheFirstEnabledDefaultButton() {
        Reach(WindowState::Ciphered);
        Find<QWidget>("BitBtn1")->setEnabled(false);
        QLineEdit* edit1 = Find<QLineEdit>("Edit1");
        edit1->setFocus();
        QTest::keyClick(edit1, Qt::Key_Return);
        QCOMPARE(Button("BitBtn7")->text(), kUngroup);
        QCOMPARE(Button("BitBtn8")->text(), kGroups);
    }

    // Enciphers, then pastes the result into the cleared window and deciphers it.
    void roundTripThroughTheWindow_data() {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QString>("keyStart");
        QTest::addColumn<QString>("expected");
        const QString text = QStringLiteral("JAVAVERSUCH");
        const QString classical = QStringLiteral("IAUAUERSUCH");
        const QString modernItem = QStringLiteral("RadioGroup1Item0");
        const QString classicalItem = QStringLiteral("RadioGroup1Item1");
        const QString keyA = QStringLiteral("RadioGroup2Item0");
        const QString keyB = QStringLiteral("RadioGroup2Item1");
        QTest::newRow("modern, A") << modernItem << keyA << text;
        QTest::newRow("modern, B") << modernItem << keyB << text;
        QTest::newRow("classical, A") << classicalItem << keyA << classical;
        QTest::newRow("classical, B") << classicalItem << keyB << classical;
    }
    void roundTripThroughTheWindow() {
        QFETCH(QString, method);
        QFETCH(QString, keyStart);
        QFETCH(QString, expected);
        Choose(method.toLatin1().constData());
        Choose(keyStart.toLatin1().constData());
        SetInput(QStringLiteral("Java-Versuch"));
        Click("BitBtn5");
        Spin("UpDown1Up", 6);
        Click("BitBtn6");
        Click("Button1");
        const QString enciphered = MemoText("Memo3");
        QCOMPARE(enciphered.size(), 11);
        QVERIFY(enciphered != expected);

        Click("BitBtn3");
        Choose("RadioGroup3Item1");
        SetInput(enciphered);
        Click("BitBtn5");
        Click("BitBtn6");
        Click("Button1");
        QCOMPARE(MemoText("Memo3"), expected);
        QCOMPARE(EditText("Edit5"), QStringLiteral("11"));
        QCOMPARE(Messages(), QStringList());
    }

    // Text from the memo reaches the core as Windows-1252 characters.
    void inputIsReadAsWindows1252_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("normalised");
        QTest::newRow("composed umlauts")
            << QStringLiteral("K\u00f6ln \u00c4u\u00dfere") << QStringLiteral("KOELNAEUSZERE");
        QTest::newRow("decomposed o umlaut")
            << QStringLiteral("Ko\u0308ln") << QStringLiteral("KOELN");
        QTest::newRow("quotation marks")
            << QStringLiteral("\u201EJa\u201C") << QStringLiteral("IA");
        QTest::newRow("no Windows-1252 value")
            << QStringLiteral("A\u0100\U0001F600\u05D0B") << QStringLiteral("AB");
        QTest::newRow("lines") << QStringLiteral("eins\nzwei\r\n3")
                               << QStringLiteral("EINSZWEIDREI");
    }
    void inputIsReadAsWindows1252() {
        QFETCH(QString, input);
        QFETCH(QString, normalised);
        Reach(WindowState::Normalised, input);
        QCOMPARE(MemoText("Memo1"), normalised);
        QCOMPARE(EditText("Edit3"), QString::number(normalised.size()));
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
            QWidget* edit1 = Find<QWidget>("Edit1");
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
        QCOMPARE(Button("BitBtn1")->text(), kGroups);
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

    // A count is shown whole, from its first digit, and its tool tip holds it.
    void countsShowTheWholeNumber() {
        // 2^20 letters, in lines the memo lays out quickly.
        Reach(WindowState::Ciphered, QStringLiteral("abcdefgh\n").repeated(131072));
        const QString count = QStringLiteral("1048576");
        for (const char* name : {"Edit3", "Edit4", "Edit5"}) {
            auto* field = Find<QLineEdit>(name);
            QCOMPARE(field->text(), count);
            QCOMPARE(field->toolTip(), count);
            QVERIFY2(field->fontMetrics().horizontalAdvance(count) <= field->contentsRect().width(),
                     name);
        }
        auto* panel = Find<QLabel>("StatusBar1Panel1");
        QCOMPARE(panel->text(), count);
        QCOMPARE(panel->toolTip(), count);
        QVERIFY(panel->fontMetrics().horizontalAdvance(count) <= panel->contentsRect().width());
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

    // Without a mouse: Tab reaches the spinner, and Up and Down step it as
    // its arrows do, with the same refusal.
    void spinnerStepsWithTheKeys() {
        Reach(WindowState::Normalised, QStringLiteral("abc"));
        QWidget* direction = Find<QWidget>("RadioGroup3Item0");
        direction->setFocus();
        QTest::keyClick(direction, Qt::Key_Tab);
        QWidget* spinner = Find<QWidget>("UpDown1");
        QCOMPARE(QApplication::focusWidget(), spinner);
        struct Step {
            Qt::Key key;
            const char* edit2;
            const char* panel3;
            bool refused;
        };
        const Step steps[] = {{Qt::Key_Up, "2", "2", false},
                              {Qt::Key_Up, "2", "3", true},
                              {Qt::Key_Down, "2", "2", false}};
        for (const Step& step : steps) {
            QTest::keyClick(spinner, step.key);
            QCOMPARE(EditText("Edit2"), QString::fromLatin1(step.edit2));
            QCOMPARE(Panel(3), QString::fromLatin1(step.panel3));
            QCOMPARE(Messages(), step.refused ? QStringList{kPositionMessage} : QStringList());
        }
    }

    void button2DoesNothing() {
        Reach(WindowState::Keyed);
        const QString enabled = EnabledStates();
        const QStringList memos = {MemoText("Memo1"), MemoText("Memo2"), MemoText("Memo3")};
        Click("Button2");
        QCOMPARE(EnabledStates(), enabled);
        QCOMPARE((QStringList{MemoText("Memo1"), MemoText("Memo2"), MemoText("Memo3")}), memos);
        QCOMPARE(Messages(), QStringList());
    }
};

}  // namespace

QTEST_MAIN(WindowActionsTest)
#include "tst_window_actions.moc"
