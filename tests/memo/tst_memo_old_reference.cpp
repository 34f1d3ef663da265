// Tests of the memo on its own, as the window sizes it: its text, copy and
// display agree after any edit (random sequences of real keys and pastes
// against a plain string), undo and redo, long lines and runs of marks cut
// into short display lines, pasting, and Alt+<key>.
#include "memo.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QTest>
#include <QTextBlock>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// The memo keeps every paragraph this short, so Qt lays out the paragraph of
// a keystroke quickly.
constexpr qsizetype kLongestParagraph = 2000;

QString WithCrLf(QString text) { return text.replace(QLatin1Char('\n'), QLatin1String("\r\n")); }

bool IsMark(QChar c) { return c.category() == QChar::Mark_NonSpacing; }

}  // namespace

class TestMemo : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void editsAtACut_data();
    void editsAtACut();
    void randomEdits();
    void undoHistory_data();
    void undoHistory();
    void cutsKeepLettersWhole_data();
    void cutsKeepLettersWhole();
    void typingKeepsParagraphsShort();
    void caretMovesAsInAPlainTextBox();
    void pastes_data();
    void pastes();
    void altKeysPassToTheWindow_data();
    void altKeysPassToTheWindow();

private:
    // A copy of all of the memo's text through Ctrl+A, Ctrl+C; the caret and
    // selection stay as they were.
    QString CopyAll();

    // Reads what the memo shows against copied, a copy of all of it: each
    // paragraph must be the next piece of the copy, and an empty one must
    // stand between line breaks of the text. Returns what differs, or an
    // empty string; starts gets each paragraph's offset in the text.
    QString ShownAgainst(const QString& copied, std::vector<qsizetype>& starts) const;

    // Text(), the copy and the display agree with model; else the difference.
    QString Agrees(const QString& model, std::vector<qsizetype>& starts);

    std::unique_ptr<QWidget> Window;
    Memo* TheMemo = nullptr;
};

void TestMemo::init() {
    // Memo3's place, size and font in the window.
    Window = std::make_unique<QWidget>();
    TheMemo = new Memo(Window.get());
    QFont font(QStringLiteral("Liberation Mono"));
    font.setPixelSize(16);
    font.setBold(true);
    TheMemo->setFont(font);
    TheMemo->setGeometry(8, 192, 625, 121);
    TheMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Window->resize(650, 330);
    Window->show();
    QVERIFY(QTest::qWaitForWindowExposed(Window.get()));
    TheMemo->setFocus();
}

void TestMemo::cleanup() {
    Window.reset();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

QString TestMemo::CopyAll() {
    const QTextCursor caret = TheMemo->textCursor();
    QGuiApplication::clipboard()->clear();  // an empty selection copies nothing
    QTest::keySequence(TheMemo, QKeySequence::SelectAll);
    QTest::keySequence(TheMemo, QKeySequence::Copy);
    TheMemo->setTextCursor(caret);
    return QGuiApplication::clipboard()->text();
}

QString TestMemo::ShownAgainst(const QString& copied, std::vector<qsizetype>& starts) const {
    starts.clear();
    qsizetype at = 0;
    const QTextDocument* document = TheMemo->document();
    for (QTextBlock block = document->firstBlock(); block.isValid(); block = block.next()) {
        const QString where = QStringLiteral("paragraph %1: ").arg(block.blockNumber());
        if (block != document->firstBlock()) {
            // Paragraphs contain no line break: before one that starts a
            // line of the text the copy holds LF, else it was cut.
            const bool lineBreak = copied.mid(at, 1) == QLatin1String("\n");
            if (lineBreak) {
                ++at;
            } else if (block.length() == 1 || block.previous().length() == 1) {
                return where + QStringLiteral("an empty display line that is not in the text");
            }
        }
        if (QStringView(copied).mid(at, block.length() - 1) != block.text())
            return where + QStringLiteral("shows \"%1\", not in the text").arg(block.text());
        if (block.length() - 1 > kLongestParagraph)
            return where + QStringLiteral("%1 characters long").arg(block.length() - 1);
        starts.push_back(at);
        at += block.length() - 1;
    }
    return at == copied.size() ? QString() : QStringLiteral("the text goes on after the display");
}

QString TestMemo::Agrees(const QString& model, std::vector<qsizetype>& starts) {
    if (TheMemo->Text() != WithCrLf(model)) return QStringLiteral("Text() differs");
    const QString copied = CopyAll();
    if (copied != model) return QStringLiteral("the copy differs");
    return ShownAgainst(copied, starts);
}

// Edits at the cut between the first two display lines of a long line, as a
// user would make them.
enum class AtCut { StartOfSecond, EndOfFirst, SecondSelected };
Q_DECLARE_METATYPE(AtCut)

void TestMemo::editsAtACut_data() {
    QTest::addColumn<AtCut>("where");
    QTest::addColumn<QList<QKeySequence>>("keys");
    // At the cut: "" none, "+" a line break, "-" the letter before it,
    // ">" the letter after it, "x" the second display line taken out.
    QTest::addColumn<QString>("change");
    const QKeySequence ret(Qt::Key_Return);
    const QKeySequence backspace(Qt::Key_Backspace);
    const QKeySequence undo(Qt::CTRL | Qt::Key_Z);
    const QKeySequence redo(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    const QKeySequence cut(Qt::CTRL | Qt::Key_X);
    const AtCut start = AtCut::StartOfSecond;
    const AtCut end = AtCut::EndOfFirst;
    QTest::newRow("Return") << start << QList{ret} << "+";
    QTest::newRow("Return, Backspace") << start << QList{ret, backspace} << "";
    QTest::newRow("Backspace") << start << QList{backspace} << "-";
    QTest::newRow("Backspace, Ctrl+Z") << start << QList{backspace, undo} << "";
    QTest::newRow("Return, Ctrl+Z") << start << QList{ret, undo} << "";
    QTest::newRow("Return, Ctrl+Z, Ctrl+Shift+Z") << start << QList{ret, undo, redo} << "+";
    QTest::newRow("Shift+Return") << start << QList{QKeySequence(Qt::SHIFT | Qt::Key_Return)}
                                  << "+";
    QTest::newRow("Return at the end") << end << QList{ret} << "+";
    QTest::newRow("Return at the end, Ctrl+Z") << end << QList{ret, undo} << "";
    QTest::newRow("Delete at the end") << end << QList{QKeySequence(Qt::Key_Delete)} << ">";
    QTest::newRow("Ctrl+X of a display line") << AtCut::SecondSelected << QList{cut} << "x";
    QTest::newRow("Ctrl+X, Ctrl+Z") << AtCut::SecondSelected << QList{cut, undo} << "";
    QTest::newRow("Delete of a display line")
        << AtCut::SecondSelected << QList{QKeySequence(Qt::Key_Delete)} << "x";
}

void TestMemo::editsAtACut() {
    QFETCH(AtCut, where);
    QFETCH(QList<QKeySequence>, keys);
    QFETCH(QString, change);
    const QString line = QStringLiteral("ABCDEFGHIKLMNOPQRSTUXYZW").repeated(200);
    TheMemo->SetText(line);
    const QTextBlock second = TheMemo->document()->firstBlock().next();
    QVERIFY(second.isValid() && second.next().isValid());
    const qsizetype cut = second.position() - 1;
    const qsizetype secondLength = second.length() - 1;
    QTextCursor caret = TheMemo->textCursor();
    caret.setPosition(where == AtCut::EndOfFirst ? second.position() - 1 : second.position());
    if (where == AtCut::SecondSelected)
        caret.setPosition(second.position() + secondLength, QTextCursor::KeepAnchor);
    TheMemo->setTextCursor(caret);
    for (const QKeySequence& key : keys) QTest::keySequence(TheMemo, key);

    QString expected = line;
    if (change == QLatin1String("+")) expected.insert(cut, QLatin1Char('\n'));
    if (change == QLatin1String("-")) expected.remove(cut - 1, 1);
    if (change == QLatin1String(">")) expected.remove(cut, 1);
    if (change == QLatin1String("x")) expected.remove(cut, secondLength);
    std::vector<qsizetype> starts;
    const QString problem = Agrees(expected, starts);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

// Random edits with real keys and the clipboard, against a plain string and
// its undo history: after every step the memo's text, its copy and what it
// shows are the same text.
void TestMemo::randomEdits() {
    constexpr quint32 kSeed = 20240611;
    constexpr int kSteps = 700;
    QRandomGenerator random(kSeed);
    const QString pastes[] = {
        QStringLiteral("xy"),
        QStringLiteral("\r\n"),
        QStringLiteral("eins\nzwei\r\ndrei"),
        QString(2500, QLatin1Char('q')),
        QStringLiteral("Ein Satz mit W\u00f6rtern. ").repeated(120),
    };
    QString model = QStringLiteral("Anfang\n") + QStringLiteral("ABCDE").repeated(900) +
                    QStringLiteral("\nEnde");
    TheMemo->SetText(model);
    std::vector<QString> history = {model};
    std::size_t current = 0;
    int typingEnd = -1;  // the caret after the last typing, while nothing else happened
    std::vector<qsizetype> starts;
    QStringList log;  // the last steps, for a failure message
    QString problem = Agrees(model, starts);

    for (int step = 0; step < kSteps && problem.isEmpty(); ++step) {
        // Where the edit happens: the caret or a selection at random
        // positions of the document, or the caret as the last step left it.
        const auto offsetOf = [&](int position) {
            const QTextBlock block = TheMemo->document()->findBlock(position);
            return starts[block.blockNumber()] + (position - block.position());
        };
        const int positions = TheMemo->document()->characterCount();
        QTextCursor caret = TheMemo->textCursor();
        if (random.bounded(10) < 7) {
            // Selections are short, so that the text keeps its long lines.
            caret.setPosition(random.bounded(positions));
            if (random.bounded(4) == 0) {
                const int to = caret.position() + random.bounded(-100, 100);
                caret.setPosition(std::clamp(to, 0, positions - 1), QTextCursor::KeepAnchor);
            }
            TheMemo->setTextCursor(caret);
        }
        const qsizetype start = offsetOf(caret.selectionStart());
        const qsizetype end = offsetOf(caret.selectionEnd());
        const bool selected = end > start;
        QString edited = model;
        edited.remove(start, end - start);
        bool edits = true;
        // Typing on where the last typing ended joins its undo step.
        bool typesOn = false;
        QString op;

        const QString before = model;
        switch (random.bounded(9)) {
            case 0:
            case 1: {
                QString typed;
                for (int i = random.bounded(1, 4); i > 0; --i)
                    typed += QLatin1Char("abcxyz "[random.bounded(7)]);
                op = QStringLiteral("type \"%1\"").arg(typed);
                typesOn = !selected && caret.position() == typingEnd;
                QTest::keyClicks(TheMemo, typed);
                edited.insert(start, typed);
                typingEnd = TheMemo->textCursor().position();
                break;
            }
            case 2:
                op = QStringLiteral("Backspace");
                QTest::keyClick(TheMemo, Qt::Key_Backspace);
                if (!selected && start > 0) edited.remove(start - 1, 1);
                edits = selected || start > 0;
                break;
            case 3:
                op = QStringLiteral("Delete");
                QTest::keyClick(TheMemo, Qt::Key_Delete);
                if (!selected) edited.remove(start, 1);
                edits = selected || start < model.size();
                break;
            case 4: {
                const bool shift = random.bounded(2) == 0;
                op = shift ? QStringLiteral("Shift+Return") : QStringLiteral("Return");
                QTest::keyClick(TheMemo, Qt::Key_Return,
                                shift ? Qt::ShiftModifier : Qt::NoModifier);
                edited.insert(start, QLatin1Char('\n'));
                break;
            }
            case 5: {
                const QString& pasted = pastes[random.bounded(int(std::size(pastes)))];
                op = QStringLiteral("paste %1 characters").arg(pasted.size());
                QGuiApplication::clipboard()->setText(pasted);
                QTest::keySequence(TheMemo, QKeySequence::Paste);
                edited.insert(start,
                              QString(pasted).replace(QLatin1String("\r\n"), QLatin1String("\n")));
                break;
            }
            case 6:
                op = QStringLiteral("Ctrl+X");
                QGuiApplication::clipboard()->clear();
                QTest::keySequence(TheMemo, QKeySequence::Cut);
                edits = selected;
                if (selected &&
                    QGuiApplication::clipboard()->text() != model.mid(start, end - start))
                    problem = QStringLiteral("Ctrl+X took another text");
                break;
            case 7:
                op = QStringLiteral("Ctrl+Z");
                QTest::keyClick(TheMemo, Qt::Key_Z, Qt::ControlModifier);
                edits = false;
                if (current > 0) model = history[--current];
                break;
            case 8:
                op = QStringLiteral("Ctrl+Shift+Z");
                QTest::keyClick(TheMemo, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
                edits = false;
                if (current + 1 < history.size()) model = history[++current];
                break;
        }
        if (typesOn) {
            history[current] = model = edited;
        } else if (edits) {
            model = edited;
            history.resize(current + 1);
            history.push_back(model);
            ++current;
        }
        // A key that changed nothing leaves a typing run going.
        if (!op.startsWith(QLatin1String("type ")) && (edits || history[current] != before))
            typingEnd = -1;
        log << QStringLiteral("%1: %2 at %3..%4").arg(step).arg(op).arg(start).arg(end);
        if (problem.isEmpty()) problem = Agrees(model, starts);
        if (step % 300 == 0)
            qDebug("step %d size %d blocks %d current %d", step, int(model.size()),
                   TheMemo->blockCount(), int(current));
    }
    QVERIFY2(problem.isEmpty(),
             qPrintable(QStringLiteral("seed %1: %2, after steps %3")
                            .arg(kSeed)
                            .arg(problem, log.mid(std::max<qsizetype>(0, log.size() - 10))
                                              .join(QLatin1String("; ")))));
}

// Setting and emptying are no edits; ClearAsEdit is one, which Ctrl+Z
// undoes and Ctrl+Shift+Z redoes.
void TestMemo::undoHistory_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("afterUndo");
    QTest::addColumn<QString>("afterRedo");
    const QString line = QStringLiteral("Erste Zeile\n") + QString(5000, QLatin1Char('K'));
    QTest::newRow("SetText") << "SetText" << line << line;
    QTest::newRow("Clear") << "Clear" << QString() << QString();
    QTest::newRow("ClearAsEdit") << "ClearAsEdit" << line << QString();
}

void TestMemo::undoHistory() {
    QFETCH(QString, action);
    QFETCH(QString, afterUndo);
    QFETCH(QString, afterRedo);
    const QString line = QStringLiteral("Erste Zeile\n") + QString(5000, QLatin1Char('K'));
    TheMemo->SetText(QStringLiteral("vorher"));
    QTest::keyClicks(TheMemo, QStringLiteral("getippt"));
    if (action == QLatin1String("SetText")) {
        TheMemo->SetText(line);
    } else {
        TheMemo->SetText(line);
        action == QLatin1String("Clear") ? TheMemo->Clear() : TheMemo->ClearAsEdit();
        QCOMPARE(TheMemo->Text(), QString());
    }
    std::vector<qsizetype> starts;
    QTest::keyClick(TheMemo, Qt::Key_Z, Qt::ControlModifier);
    QString problem = Agrees(afterUndo, starts);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QTest::keyClick(TheMemo, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    problem = Agrees(afterRedo, starts);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

// Long lines are cut into short paragraphs, also inside a run of marks, but a
// letter keeps its marks and a surrogate pair stays whole.
void TestMemo::cutsKeepLettersWhole_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("cutsInMarks");
    QTest::newRow("a + 100,000 marks")
        << QStringLiteral("a") + QString(100000, QChar(0x0308)) << true;
    QTest::newRow("decomposed prose")
        << QStringLiteral("scho\u0308ne gru\u0308ne Ba\u0308ume ").repeated(200) << false;
    QTest::newRow("decomposed, unbroken")
        << QStringLiteral("o\u0308a\u0308u\u0308x").repeated(1000) << false;
    QTest::newRow("letters with two marks")
        << QStringLiteral("a\u0308\u0323bc").repeated(1000) << false;
    QTest::newRow("surrogate pairs") << QStringLiteral("\U0001F600").repeated(3000) << false;
}

void TestMemo::cutsKeepLettersWhole() {
    QFETCH(QString, text);
    QFETCH(bool, cutsInMarks);
    TheMemo->SetText(text);
    QVERIFY(TheMemo->blockCount() > 1);
    std::vector<qsizetype> starts;
    const QString problem = Agrees(text, starts);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    for (QTextBlock block = TheMemo->document()->firstBlock().next(); block.isValid();
         block = block.next()) {
        const QChar first = block.text().front();
        QVERIFY2(!first.isLowSurrogate(), qPrintable(QString::number(block.blockNumber())));
        QVERIFY2(!IsMark(first) || cutsInMarks, qPrintable(QString::number(block.blockNumber())));
    }
}

// Typing into a display line makes its paragraph longer until it is cut again.
void TestMemo::typingKeepsParagraphsShort() {
    QString text(4000, QLatin1Char('A'));
    TheMemo->SetText(text);
    const int position = TheMemo->document()->firstBlock().next().position() + 5;
    QTextCursor caret = TheMemo->textCursor();
    caret.setPosition(position);
    TheMemo->setTextCursor(caret);
    const QString typed = QStringLiteral("bcdefghikl").repeated(250);
    QTest::keyClicks(TheMemo, typed);
    text.insert(position - 1, typed);
    std::vector<qsizetype> starts;
    QString problem = Agrees(text, starts);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    // All the typing is one undo step.
    QTest::keyClick(TheMemo, Qt::Key_Z, Qt::ControlModifier);
    problem = Agrees(QString(4000, QLatin1Char('A')), starts);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

// Where no line is cut, keys move and edit as in Qt's plain text box, also
// right after an edit.
void TestMemo::caretMovesAsInAPlainTextBox() {
    auto* plain = new QPlainTextEdit(Window.get());
    plain->setFont(TheMemo->font());
    plain->setGeometry(TheMemo->geometry());
    plain->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    plain->show();
    const QString text = QStringLiteral(
                             "Erste Zeile mit etwas Text\nzweite\ndritte Zeile, "
                             "lang genug, um im Memo umbrochen zu werden\n")
                             .repeated(20);
    TheMemo->SetText(text);
    plain->setPlainText(text);
    const QKeySequence keys[] = {
        Qt::Key_Right,
        Qt::Key_Q,
        Qt::Key_Down,
        Qt::Key_Down,
        Qt::Key_Up,
        Qt::Key_Return,
        Qt::Key_Up,
        Qt::Key_Backspace,
        Qt::Key_Down,
        Qt::Key_End,
        Qt::Key_Delete,
        Qt::Key_Down,
        Qt::Key_PageDown,
        Qt::CTRL | Qt::Key_Right,
        Qt::SHIFT | Qt::Key_Down,
        Qt::Key_X,
        Qt::Key_Up,
        Qt::Key_Home,
        Qt::CTRL | Qt::Key_Backspace,
        Qt::Key_PageUp,
        Qt::Key_Down,
    };
    for (const QKeySequence& key : keys) {
        QTest::keySequence(TheMemo, key);
        QTest::keySequence(plain, key);
        QVERIFY2(TheMemo->textCursor().position() == plain->textCursor().position() &&
                     TheMemo->textCursor().anchor() == plain->textCursor().anchor(),
                 qPrintable(key.toString()));
    }
    QCOMPARE(TheMemo->Text(), WithCrLf(plain->toPlainText()));
}

void TestMemo::pastes_data() {
    QTest::addColumn<QString>("plain");  // empty: none offered
    QTest::addColumn<QString>("html");  // empty: none offered
    QTest::addColumn<QString>("text");  // Text() afterwards
    QTest::newRow("plain text with CR LF, CR, U+2028")
        << QStringLiteral("a\r\nb\rc\u2028d") << QString() << QStringLiteral("a\r\nb\r\nc\r\nd");
    QTest::newRow("HTML only") << QString()
                               << QStringLiteral("<p>Ein <b>fetter</b> Satz.</p><p>Zwei</p>")
                               << QStringLiteral("Ein fetter Satz.\r\nZwei");
    QTest::newRow("plain text before HTML")
        << QStringLiteral("schlicht") << QStringLiteral("<i>kursiv</i>")
        << QStringLiteral("schlicht");
    const QString megabyte(1 << 20, QLatin1Char('M'));
    QTest::newRow("one line of a megabyte") << megabyte << QString() << megabyte;
}

void TestMemo::pastes() {
    QFETCH(QString, plain);
    QFETCH(QString, html);
    QFETCH(QString, text);
    TheMemo->Clear();
    auto* data = new QMimeData;
    if (!plain.isEmpty()) data->setText(plain);
    if (!html.isEmpty()) data->setHtml(html);
    QGuiApplication::clipboard()->setMimeData(data);
    QVERIFY(TheMemo->canPaste());
    QTest::keySequence(TheMemo, QKeySequence::Paste);
    QCOMPARE(TheMemo->Text(), text);
    std::vector<qsizetype> starts;
    const QString problem = ShownAgainst(CopyAll(), starts);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

// Alt+<key> is an accelerator of the window, never text; other keys type.
void TestMemo::altKeysPassToTheWindow_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("typed");
    QTest::newRow("Alt+W") << int(Qt::Key_W) << int(Qt::AltModifier) << QString();
    QTest::newRow("Alt+Shift+W") << int(Qt::Key_W) << int(Qt::AltModifier | Qt::ShiftModifier)
                                 << QString();
    QTest::newRow("Alt+7") << int(Qt::Key_7) << int(Qt::AltModifier) << QString();
    QTest::newRow("W") << int(Qt::Key_W) << int(Qt::NoModifier) << QStringLiteral("w");
}

void TestMemo::altKeysPassToTheWindow() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, typed);
    TheMemo->Clear();
    // The window sees the key when the memo leaves it.
    int windowKeys = 0;
    struct KeyCounter : QObject {
        int Key;
        int* Count;
        KeyCounter(int key, int* count) : Key(key), Count(count) {}
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Key)
                ++*Count;
            return false;
        }
    } counter(key, &windowKeys);
    Window->installEventFilter(&counter);
    QTest::keyClick(TheMemo, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    Window->removeEventFilter(&counter);
    QCOMPARE(TheMemo->Text(), typed);
    QCOMPARE(windowKeys, typed.isEmpty() ? 1 : 0);
}

QTEST_MAIN(TestMemo)
#include "tst_memo.moc"
