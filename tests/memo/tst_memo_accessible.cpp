// Tests of the memo's accessible text: what a screen reader reads, finds at
// an offset, selects and edits, with Qt's own plain text box as the measure
// where it has the same behaviour.
#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qplatformaccessibility.h>
#include <QtGui/qpa/qplatformintegration.h>
#include <QAccessible>
#include <QHash>
#include <QPlainTextEdit>
#include <QTest>

#include <climits>

#include "memo.h"

namespace {

using Boundary = QAccessible::TextBoundaryType;

// Short lines, so that neither box wraps them at the width the tests give.
const QString kProse =
    QStringLiteral("Hello, world. This is a test.\nSecond  line here!\n\nLast words, at last");

QAccessibleTextInterface* TextOf(QWidget* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible == nullptr ? nullptr : accessible->textInterface();
}

struct Item {
    int Start = -1;
    int End = -1;
    QString Text;
    bool operator==(const Item&) const = default;
};

// What the interface reports at, before (-1) or after (+1) offset.
Item ItemOf(QAccessibleTextInterface* text, int where, int offset, Boundary boundary) {
    Item item;
    item.Text = where < 0   ? text->textBeforeOffset(offset, boundary, &item.Start, &item.End)
                : where > 0 ? text->textAfterOffset(offset, boundary, &item.Start, &item.End)
                            : text->textAtOffset(offset, boundary, &item.Start, &item.End);
    return item;
}

QString Letters(int count, int wordLength) {
    QString text;
    for (int i = 0; i < count; ++i) {
        text +=
            (wordLength > 0 && i % (wordLength + 1) == wordLength) ? u' ' : QChar(u'a' + i % 26);
    }
    return text;
}

// The caret and selection events a screen reader got from each object.
struct Told {
    int Caret = -1;
    int SelectionStart = -1;
    int SelectionEnd = -1;
    bool operator==(const Told&) const = default;
};
QHash<QObject*, Told> gTold;

void Listen(QAccessibleEvent* event) {
    if (event->type() == QAccessible::TextCaretMoved) {
        gTold[event->object()].Caret =
            static_cast<QAccessibleTextCursorEvent*>(event)->cursorPosition();
    } else if (event->type() == QAccessible::TextSelectionChanged) {
        const auto* selection = static_cast<QAccessibleTextSelectionEvent*>(event);
        gTold[event->object()].SelectionStart = selection->selectionStart();
        gTold[event->object()].SelectionEnd = selection->selectionEnd();
    }
}

QString Shown(const Told& told) {
    return QStringLiteral("caret %1, selection %2..%3")
        .arg(told.Caret)
        .arg(told.SelectionStart)
        .arg(told.SelectionEnd);
}

}  // namespace

class TestMemoAccessible : public QObject {
    Q_OBJECT

private slots:
    void Identity() {
        Memo memo;
        memo.setAccessibleName(QStringLiteral("Cipher text"));
        memo.SetText(QStringLiteral("ab\r\ncd"));
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&memo);
        QVERIFY(accessible != nullptr);
        QCOMPARE(accessible->role(), QAccessible::EditableText);
        QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("Cipher text"));
        QCOMPARE(accessible->text(QAccessible::Value), QStringLiteral("ab\ncd"));
        const QAccessible::State state = accessible->state();
        QVERIFY(state.editable && state.multiLine && state.focusable && !state.readOnly);
        QVERIFY(accessible->textInterface() != nullptr);
        QVERIFY(accessible->editableTextInterface() != nullptr);
    }

    void HeldText_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("held");
        QTest::newRow("lines joined by CR LF, CR, LF")
            << QStringLiteral("ab\r\ncd\ref\n") << QStringLiteral("ab\ncd\nef\n");
        QTest::newRow("20,000 letters wrapped") << Letters(20000, 7) << Letters(20000, 7);
        const QString withNul = QStringLiteral("a") + QChar(0) + QStringLiteral("b\nc");
        QTest::newRow("a NUL inside") << withNul << withNul;
    }
    void HeldText() {
        QFETCH(QString, input);
        QFETCH(QString, held);
        Memo memo;
        memo.resize(200, 100);
        memo.show();
        memo.SetText(input);
        QAccessibleTextInterface* text = TextOf(&memo);
        QCOMPARE(text->characterCount(), held.size());
        QCOMPARE(text->text(0, text->characterCount()), held);
        QCOMPARE(text->text(2, 1), held.mid(1, 1));
        QCOMPARE(text->text(INT_MIN, INT_MAX), held);
        QCOMPARE(QAccessible::queryAccessibleInterface(&memo)->text(QAccessible::Value), held);
        // A wrapped line has many display lines and still no line break.
        if (!held.contains(u'\n')) QVERIFY(memo.LineOf(memo.Length()) > 50);
    }

    void TextAtOffset_data() {
        QTest::addColumn<Boundary>("boundary");
        QTest::newRow("char") << QAccessible::CharBoundary;
        // Our words are QTextBoundaryFinder's; Qt's box uses its cursor's
        // word moves, which split "don't" and "3.5". The text has neither.
        QTest::newRow("word") << QAccessible::WordBoundary;
        QTest::newRow("sentence") << QAccessible::SentenceBoundary;
        QTest::newRow("paragraph") << QAccessible::ParagraphBoundary;
        // Our line is the memo's display line; on lines that neither box
        // wraps it is the same as Qt's.
        QTest::newRow("line") << QAccessible::LineBoundary;
        QTest::newRow("none") << QAccessible::NoBoundary;
    }
    void TextAtOffset() {
        QFETCH(Boundary, boundary);
        QPlainTextEdit qt;
        Memo memo;
        for (QWidget* box : {static_cast<QWidget*>(&qt), static_cast<QWidget*>(&memo)}) {
            box->resize(800, 200);
            box->show();
        }
        qt.setPlainText(kProse);
        memo.SetText(kProse);
        QVERIFY(QTest::qWaitForWindowExposed(&memo));
        // Offsets outside the text differ on purpose: Qt's box reads them as
        // 0, the memo as the nearer end.
        for (int offset = 0; offset <= kProse.size(); ++offset) {
            QCOMPARE(ItemOf(TextOf(&memo), 0, offset, boundary),
                     ItemOf(TextOf(&qt), 0, offset, boundary));
        }
    }

    // Reading item after item from the start: every item is the one found at
    // its start, the one before it is the item read last, and only blanks and
    // line breaks lie between them. A long paragraph is read in pieces.
    void ReadThrough_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<Boundary>("boundary");
        for (const auto& [name, boundary] : {std::pair{"char", QAccessible::CharBoundary},
                                             {"word", QAccessible::WordBoundary},
                                             {"sentence", QAccessible::SentenceBoundary},
                                             {"paragraph", QAccessible::ParagraphBoundary},
                                             {"line", QAccessible::LineBoundary}}) {
            QTest::addRow("prose, %s", name) << kProse << boundary;
            if (boundary != QAccessible::CharBoundary) {
                QTest::addRow("30,000 letters, %s", name) << Letters(30000, 11) << boundary;
                QTest::addRow("20,000 letters, no blank, %s", name)
                    << Letters(20000, 0) << boundary;
            }
        }
    }
    void ReadThrough() {
        QFETCH(QString, input);
        QFETCH(Boundary, boundary);
        Memo memo;
        memo.resize(300, 100);
        memo.show();
        memo.SetText(input);
        QAccessibleTextInterface* text = TextOf(&memo);
        Item last = ItemOf(text, 0, 0, boundary);
        QCOMPARE(last.Start, 0);
        while (true) {
            const Item next = ItemOf(text, +1, last.Start, boundary);
            if (next.Start == next.End && next.Start == input.size()) break;
            QVERIFY2(next.Start >= last.End, qPrintable(next.Text));
            QVERIFY(next.Text.size() < 10000);
            QCOMPARE(next.Text, input.mid(next.Start, next.End - next.Start));
            QCOMPARE(ItemOf(text, 0, next.Start, boundary), next);
            QCOMPARE(ItemOf(text, -1, next.Start, boundary), last);
            const QString between = input.mid(last.End, next.Start - last.End);
            QVERIFY2(between.trimmed().isEmpty(), qPrintable(between));
            last = next;
        }
        QVERIFY(input.mid(last.End).trimmed().isEmpty());
    }

    void Selection_data() {
        QTest::addColumn<int>("anchor");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QList<int>>("expected");  // start, end, caret
        QTest::newRow("forwards") << 2 << 5 << QList{2, 5, 5};
        QTest::newRow("backwards") << 5 << 2 << QList{2, 5, 2};
        QTest::newRow("none") << 3 << 3 << QList{0, 0, 3};
        QTest::newRow("past both ends") << -4 << 99 << QList{0, 9, 9};
    }
    void Selection() {
        QFETCH(int, anchor);
        QFETCH(int, caret);
        QFETCH(QList<int>, expected);
        Memo memo;
        memo.SetText(QStringLiteral("abcd\nefgh"));
        QAccessibleTextInterface* text = TextOf(&memo);
        text->setSelection(0, anchor, caret);
        QList<int> seen{-1, -1, text->cursorPosition()};
        text->selection(0, &seen[0], &seen[1]);
        QCOMPARE(seen, expected);
        QCOMPARE(text->selectionCount(), expected[0] == expected[1] ? 0 : 1);
        QCOMPARE(memo.CaretPosition(), expected[2]);
        text->removeSelection(0);
        QCOMPARE(text->selectionCount(), 0);
        QCOMPARE(memo.CaretPosition(), expected[2]);
        text->setCursorPosition(anchor);
        QCOMPARE(text->cursorPosition(), std::clamp(anchor, 0, 9));
    }

    void EditsUndo() {
        Memo memo;
        memo.SetText(QStringLiteral("abcdef"));
        QAccessibleEditableTextInterface* edit =
            QAccessible::queryAccessibleInterface(&memo)->editableTextInterface();
        const QStringList texts{"abcdef", "abXYcdef", "aYcdef", "aYcdZ"};
        edit->insertText(2, QStringLiteral("XY"));
        QCOMPARE(memo.Text(), texts[1]);
        edit->deleteText(3, 1);  // the ends either way round
        QCOMPARE(memo.Text(), texts[2]);
        edit->replaceText(4, 99, QStringLiteral("Z"));
        QCOMPARE(memo.Text(), texts[3]);
        for (int step = 2; step >= 0; --step) {
            QTest::keyClick(&memo, Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(memo.Text(), texts[step]);
        }
    }

    void EventsAsQt_data() {
        // A key sequence; "set" to set the text anew; "click:offset";
        // "insert:offset:text", "delete:from:to", "replace:from:to:text"
        // through the editable text interface.
        QTest::addColumn<QStringList>("steps");
        QTest::newRow("a selection and its collapse")
            << QStringList{"Shift+Right", "Shift+Right", "Right", "Shift+Left", "Left"};
        QTest::newRow("a click on a selection")
            << QStringList{"Shift+End", "click:3", "Shift+Down", "click:20"};
        QTest::newRow("undo and redo")
            << QStringList{"End", "x", "y", "Ctrl+Z", "Ctrl+Shift+Z", "Ctrl+Z"};
        QTest::newRow("setting the text") << QStringList{"End", "set", "Shift+Right", "set"};
        QTest::newRow("edits for a screen reader")
            << QStringList{"click:5", "insert:2:XY", "delete:0:2", "replace:3:5:Z", "insert:9:W"};
    }

    // After each step the caret and the anchor, and the last caret and
    // selection a screen reader is told of, are those of Qt's box.
    void EventsAsQt() {
        QFETCH(QStringList, steps);
        QWidget window;
        auto* memo = new Memo(&window);
        auto* plain = new QPlainTextEdit(&window);
        memo->setGeometry(0, 0, 400, 100);
        plain->setGeometry(0, 110, 400, 100);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QString text = kProse;
        memo->SetText(text);
        plain->setPlainText(text);
        QPlatformAccessibility* platform =
            QGuiApplicationPrivate::platformIntegration()->accessibility();
        QVERIFY(platform != nullptr);
        platform->setActive(true);
        QAccessible::installUpdateHandler(&Listen);
        for (const QString& step : steps) {
            gTold.clear();
            const QStringList parts = step.split(u':');
            for (QAbstractScrollArea* box : {static_cast<QAbstractScrollArea*>(memo),
                                             static_cast<QAbstractScrollArea*>(plain)}) {
                QAccessibleEditableTextInterface* edit =
                    QAccessible::queryAccessibleInterface(box)->editableTextInterface();
                if (step == QLatin1String("set")) {
                    if (box == memo) memo->SetText(text);
                    if (box == plain) plain->setPlainText(text);
                } else if (parts[0] == QLatin1String("click")) {
                    const QRect character = TextOf(box)->characterRect(parts[1].toInt());
                    QTest::mouseClick(box->viewport(), Qt::LeftButton, {},
                                      box->viewport()->mapFromGlobal(character.center()));
                } else if (parts[0] == QLatin1String("insert")) {
                    edit->insertText(parts[1].toInt(), parts[2]);
                } else if (parts[0] == QLatin1String("delete")) {
                    edit->deleteText(parts[1].toInt(), parts[2].toInt());
                } else if (parts[0] == QLatin1String("replace")) {
                    edit->replaceText(parts[1].toInt(), parts[2].toInt(), parts[3]);
                } else {
                    const QKeyCombination key = QKeySequence(step)[0];
                    QTest::keyClick(box, key.key(), key.keyboardModifiers());
                }
            }
            QCOMPARE(memo->CaretPosition(), plain->textCursor().position());
            QCOMPARE(memo->AnchorPosition(), plain->textCursor().anchor());
            const Told ours = gTold.value(memo);
            const Told qt = gTold.value(plain);
            QVERIFY2(ours == qt, qPrintable(step + QStringLiteral(": ") + Shown(ours) +
                                            QStringLiteral("; Qt ") + Shown(qt)));
        }
        QAccessible::installUpdateHandler(nullptr);
        platform->setActive(false);
    }

    void Geometry_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("left to right") << QStringLiteral("one two\nthree");
        // A right-to-left paragraph with a German word in it, then a
        // left-to-right one.
        QTest::newRow("both directions")
            << QStringLiteral("\u05E9\u05DC\u05D5\u05DD Welt \u05E2\u05D5\u05DC\u05DD\nabc def");
    }

    // Every character's box lies in the memo, holds that one character
    // (no wider than a few letters, also where the direction changes) and
    // its centre falls on it.
    void Geometry() {
        QFETCH(QString, text);
        Memo memo;
        memo.resize(300, 100);
        memo.move(120, 80);
        memo.SetText(text);
        memo.show();
        QVERIFY(QTest::qWaitForWindowExposed(&memo));
        QAccessibleTextInterface* accessible = TextOf(&memo);
        const QRect screenBox(memo.mapToGlobal(QPoint(0, 0)), memo.size());
        const int cell = QFontMetrics(memo.font()).horizontalAdvance(u'W');
        for (int offset = 0; offset < text.size(); ++offset) {
            const QRect box = accessible->characterRect(offset);
            QVERIFY2(screenBox.contains(box) && box.width() <= 2 * cell &&
                         accessible->offsetAtPoint(box.center()) == offset,
                     qPrintable(QStringLiteral("offset %1: box at %2 wide %3, its centre on %4")
                                    .arg(offset)
                                    .arg(box.x())
                                    .arg(box.width())
                                    .arg(accessible->offsetAtPoint(box.center()))));
        }
        QCOMPARE(accessible->offsetAtPoint(screenBox.bottomRight() + QPoint(50, 50)), -1);
        QCOMPARE(accessible->characterRect(INT_MAX), accessible->characterRect(text.size()));
    }
};

QTEST_MAIN(TestMemoAccessible)
#include "tst_memo_accessible.moc"
