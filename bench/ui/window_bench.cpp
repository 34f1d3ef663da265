// Times the window on large texts: the real window, built offscreen. Each
// action is timed until the window has repainted, next to the core operation
// alone on the same text where there is one.
//   prose       every action (normalise, keystream, cipher, the three toggles
//               both ways, reset) on prose, by default 100 KB, 1 MB, 10 MB;
//   decomposed  normalising prose whose umlauts are decomposed (o + U+0308),
//               by default 1, 4 and 10 MB;
//   edits       pasting into Memo1, then typing, moving the caret, paging and
//               scrolling in the middle of what it holds: "a" + 1,000,000 x
//               U+0308, one unbroken line of 100 MB, 100 MB of five-letter
//               groups, 10 MB of prose.
//   paging      paging through the whole of a prose text (10 MB) in Memo1,
//               with the memory held before and after;
//   peak        every action once on prose (100 MB), then the most memory
//               the process held;
//   shapes      four texts of the same size, by default 100 MB: prose, one
//               unbroken line of letters, short lines ("ABCD"), empty lines.
//               On each: setting it, the memory the memo holds for it, taking
//               it out, typing at the start and in the middle, moving the
//               caret, paging, scrolling, Ctrl+End after an edit at the start,
//               Ctrl+Home, deleting all of it and its undo, pasting all of it
//               and the memory that added;
//   run         a whole run as a user does it, on prose (1000 MB): paste it
//               into Memo1, normalise, keystream, cipher, each of the three
//               toggles once, then a key typed at the start and in the middle
//               of each memo, then the most memory the process held.
// Without a section, the first three run with their default sizes. Sizes are
// in KB, except for shapes, in MB.
//
//   QT_QPA_PLATFORM=offscreen build/bench/ui/window_bench [section [sizes...]]
//   e.g. window_bench shapes 100, window_bench run 1024000
#include "cipher_core.h"
#include "memo.h"
#include "memo_text.h"
#include "tform1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QTest>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>

namespace {

QString Prose(qsizetype size) {
    const QString sentence = QStringLiteral(
        "Am 3. M\u00e4rz 1499 schrieb der Abt einen Brief \u201E\u00fcber geheime Schrift\u201C, "
        "gr\u00fc\u00dfte seine Freunde und versprach: Jede Zeile l\u00e4sst sich lesen!\n");
    QString text;
    text.reserve(size + sentence.size());
    while (text.size() < size) text += sentence;
    text.truncate(size);
    return text;
}

// Prose of size characters with every umlaut as its letter and U+0308.
QString DecomposedProse(qsizetype size) {
    QString text = Prose(size).normalized(QString::NormalizationForm_D);
    text.truncate(size);
    return text;
}

// Shows the window and returns its input memo.
Memo* ShowWindow(TForm1& form) {
    form.show();
    QApplication::processEvents();
    return form.findChild<Memo*>(QStringLiteral("Memo1"));
}

double Milliseconds(const std::function<void()>& action) {
    QElapsedTimer timer;
    timer.start();
    action();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void PrintRow(const char* label, qsizetype kilobytes, double window, double core = -1) {
    if (core >= 0) {
        std::printf("%-34s %10lld %12.1f %12.1f\n", label, static_cast<long long>(kilobytes),
                    window, core);
    } else {
        std::printf("%-34s %10lld %12.1f %12s\n", label, static_cast<long long>(kilobytes), window,
                    "-");
    }
    std::fflush(stdout);
}

// Clicks the button and waits until the window has repainted.
double ClickMs(TForm1& form, const char* button) {
    auto* control = form.findChild<QAbstractButton*>(QString::fromLatin1(button));
    return Milliseconds([&] {
        control->click();
        form.repaint();
        QApplication::processEvents();
    });
}

// Sends the key to the memo and waits until shown has repainted.
double KeyMs(QWidget& shown, Memo* memo, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    return Milliseconds([&] {
        QTest::keyClick(memo, key, modifiers);
        shown.repaint();
        QApplication::processEvents();
    });
}

double NormaliseCoreMs(const QString& text) {
    trithemius::CipherState core;
    return Milliseconds([&] {
        trithemius::NormaliseInput(core, trithemius::MemoTextToCipherText(text),
                                   trithemius::Method::MethodClassical);
    });
}

void TimeProse(qsizetype kilobytes) {
    const QString prose = Prose(kilobytes * 1024);
    TForm1 form;
    ShowWindow(form)->SetText(prose);
    QApplication::processEvents();

    // The same work in the core alone, for comparison.
    trithemius::CipherState core;
    double coreTimes[4] = {};
    coreTimes[0] = Milliseconds([&] {
        trithemius::NormaliseInput(core, trithemius::MemoTextToCipherText(prose),
                                   trithemius::Method::MethodClassical);
    });
    coreTimes[1] = Milliseconds([&] { trithemius::GenerateKeyStream(core, 1); });
    coreTimes[2] = Milliseconds([&] {
        trithemius::ApplyCipher(core, trithemius::Method::MethodClassical,
                                trithemius::KeyStart::KeyStartA, trithemius::Direction::Encipher);
    });
    coreTimes[3] = Milliseconds([&] { trithemius::ToFiveLetterBlocks(core, core.OutputText); });

    struct Step {
        const char* label;
        const char* button;
        int core;  // index into coreTimes, or -1
    };
    const Step steps[] = {
        {"normalise (BitBtn5)", "BitBtn5", 0},
        {"keystream (BitBtn6)", "BitBtn6", 1},
        {"cipher (Button1)", "Button1", 2},
        {"group input (BitBtn1)", "BitBtn1", 3},
        {"ungroup input (BitBtn1)", "BitBtn1", -1},
        {"group keystream (BitBtn7)", "BitBtn7", 3},
        {"ungroup keystream (BitBtn7)", "BitBtn7", -1},
        {"group result (BitBtn8)", "BitBtn8", 3},
        {"ungroup result (BitBtn8)", "BitBtn8", -1},
        {"reset (BitBtn3)", "BitBtn3", -1},
    };
    for (const Step& step : steps) {
        const double window = ClickMs(form, step.button);
        PrintRow(step.label, kilobytes, window, step.core >= 0 ? coreTimes[step.core] : -1);
    }
}

void TimeDecomposed(qsizetype kilobytes) {
    const QString prose = DecomposedProse(kilobytes * 1024);
    TForm1 form;
    ShowWindow(form)->SetText(prose);
    QApplication::processEvents();
    const double core = NormaliseCoreMs(prose);
    PrintRow("normalise decomposed (BitBtn5)", kilobytes, ClickMs(form, "BitBtn5"), core);
}

// What the process holds now and held at most, in MB, as Linux reports it.
double MemoryMb(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field)) {
            return line.mid(static_cast<qsizetype>(std::strlen(field)))
                       .trimmed()
                       .split(' ')[0]
                       .toDouble() /
                   1024;
        }
    }
    return -1;
}

// The memory the process holds, in MB, once the heap has handed its free
// pages back: what the next step allocates then shows up in it instead of
// reusing pages a step before freed.
double HeldMb() {
    malloc_trim(0);
    return MemoryMb("VmRSS:");
}

// A row of memory in the columns of PrintRow: MB, and bytes per character of
// the input where characters is given.
void PrintMemoryRow(const char* label, qsizetype kilobytes, double megabytes,
                    qsizetype characters = 0) {
    if (characters > 0) {
        std::printf("%-34s %10lld %9.1f MB %7.2f B/ch\n", label, static_cast<long long>(kilobytes),
                    megabytes, megabytes * 1024 * 1024 / static_cast<double>(characters));
    } else {
        std::printf("%-34s %10lld %9.1f MB %12s\n", label, static_cast<long long>(kilobytes),
                    megabytes, "-");
    }
    std::fflush(stdout);
}

// Repaints the window and lets it handle what is queued, untimed.
void Settle(QWidget& shown) {
    shown.repaint();
    QApplication::processEvents();
}

// Times moves of the caret from where it stands, a page and a scroll.
template <class Row>
void TimeMoves(QWidget& form, Memo* memo, const Row& row) {
    row("caret right", KeyMs(form, memo, Qt::Key_Right));
    row("caret down", KeyMs(form, memo, Qt::Key_Down));
    row("word right", KeyMs(form, memo, Qt::Key_Right, Qt::ControlModifier));
    row("page down", KeyMs(form, memo, Qt::Key_PageDown));
    row("scroll a line", Milliseconds([&] {
            memo->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            Settle(form);
        }));
}

// Pastes text into Memo1, puts the caret in the middle of it and times a
// key typed there, moves of the caret, a page and a scroll.
void TimeEdits(const char* what, const QString& text) {
    TForm1 form;
    Memo* memo = ShowWindow(form);
    memo->Clear();
    memo->setFocus();
    QGuiApplication::clipboard()->setText(text);
    const qsizetype kilobytes = text.size() / 1024;
    const auto row = [&](const char* action, double ms) {
        const QString label =
            QStringLiteral("%1: %2").arg(QLatin1String(what), QLatin1String(action));
        PrintRow(qPrintable(label), kilobytes, ms);
    };
    row("paste", KeyMs(form, memo, Qt::Key_V, Qt::ControlModifier));
    QGuiApplication::clipboard()->clear();
    memo->SetSelection(memo->Length() / 2, memo->Length() / 2);
    form.repaint();
    QApplication::processEvents();
    row("type a key", KeyMs(form, memo, Qt::Key_B));
    row("type another key", KeyMs(form, memo, Qt::Key_C));
    TimeMoves(form, memo, row);
    row("backspace", KeyMs(form, memo, Qt::Key_Backspace));
    row("Ctrl+End", KeyMs(form, memo, Qt::Key_End, Qt::ControlModifier));
}

// Pages through the whole of a prose text in Memo1 and reports what that
// added to the memory the process holds.
void TimePaging(qsizetype kilobytes) {
    TForm1 form;
    Memo* memo = ShowWindow(form);
    memo->SetText(Prose(kilobytes * 1024));
    memo->setFocus();
    QApplication::processEvents();
    const double before = MemoryMb("VmRSS:");
    qsizetype pages = 0;
    double slowest = 0;
    const double all = Milliseconds([&] {
        for (qsizetype caret = -1; caret != memo->CaretPosition();) {
            caret = memo->CaretPosition();
            // Only the memo changes: repainting the window each time would
            // time the buttons' painting forty thousand times.
            slowest = std::max(slowest, KeyMs(*memo, memo, Qt::Key_PageDown));
            ++pages;
        }
    });
    std::printf(
        "paging through %lld KB of prose: %lld pages in %.0f ms, slowest %.1f ms, "
        "memory held %.1f MB before, %.1f MB after\n",
        static_cast<long long>(kilobytes), static_cast<long long>(pages), all, slowest, before,
        MemoryMb("VmRSS:"));
}

// Every action once on prose in the window alone, as the program would run
// them, then the most memory the process held.
void PeakMemory(qsizetype kilobytes) {
    TForm1 form;
    ShowWindow(form)->SetText(Prose(kilobytes * 1024));
    QApplication::processEvents();
    for (const char* button : {"BitBtn5", "BitBtn6", "Button1", "BitBtn1", "BitBtn1", "BitBtn7",
                               "BitBtn7", "BitBtn8", "BitBtn8"}) {
        ClickMs(form, button);
    }
    std::printf("peak memory after every action on %lld KB of prose: %.0f MB\n",
                static_cast<long long>(kilobytes), MemoryMb("VmHWM:"));
}

// A copy of text with characters of its own, not shared with text.
QString DeepCopy(const QString& text) { return QString(text.constData(), text.size()); }

// Sets text in Memo1 and times what a user does with a text of its shape,
// from the start, the middle and the end of it, with the memory the memo
// holds for it.
void TimeShape(const char* what, const QString& text) {
    TForm1 form;
    Memo* memo = ShowWindow(form);
    memo->setFocus();
    const qsizetype kilobytes = text.size() / 1024;
    const auto label = [&](const char* action) {
        return QStringLiteral("%1: %2").arg(QLatin1String(what), QLatin1String(action));
    };
    const auto row = [&](const char* action, double ms) {
        PrintRow(qPrintable(label(action)), kilobytes, ms);
    };

    // The memo gets a copy that the bench lets go of once it is set: the
    // memory the memo holds shows up whether it keeps the QString it was
    // given or copies it, and building the text does not.
    double before = HeldMb();
    QString given = DeepCopy(text);
    row("SetText", Milliseconds([&] {
            memo->SetText(given);
            Settle(form);
        }));
    given = QString();
    PrintMemoryRow(qPrintable(label("memory after SetText")), kilobytes, HeldMb() - before,
                   text.size());

    QString whole;
    row("Text()", Milliseconds([&] { whole = memo->Text(); }));
    whole = QString();

    KeyMs(form, memo, Qt::Key_Home, Qt::ControlModifier);
    row("first key at start", KeyMs(form, memo, Qt::Key_B));
    row("later key at start", KeyMs(form, memo, Qt::Key_C));
    memo->SetSelection(memo->Length() / 2, memo->Length() / 2);
    Settle(form);
    row("key in the middle", KeyMs(form, memo, Qt::Key_D));
    TimeMoves(form, memo, row);

    // A key at the start moves where every line after it begins; the way
    // to the end comes right after it.
    KeyMs(form, memo, Qt::Key_Home, Qt::ControlModifier);
    KeyMs(form, memo, Qt::Key_E);
    row("Ctrl+End after typing", KeyMs(form, memo, Qt::Key_End, Qt::ControlModifier));
    row("Ctrl+Home", KeyMs(form, memo, Qt::Key_Home, Qt::ControlModifier));

    KeyMs(form, memo, Qt::Key_A, Qt::ControlModifier);
    row("select all + Delete", KeyMs(form, memo, Qt::Key_Delete));
    row("undo (Ctrl+Z)", KeyMs(form, memo, Qt::Key_Z, Qt::ControlModifier));

    // The same for the paste: the clipboard holds the only reference to a
    // copy, and lets go of it after the paste.
    memo->Clear();
    Settle(form);
    before = HeldMb();
    QGuiApplication::clipboard()->setText(DeepCopy(text));
    row("paste into empty memo", KeyMs(form, memo, Qt::Key_V, Qt::ControlModifier));
    QGuiApplication::clipboard()->clear();
    PrintMemoryRow(qPrintable(label("memory added by paste")), kilobytes, HeldMb() - before,
                   text.size());
}

void TimeShapes(qsizetype megabytes) {
    const qsizetype size = megabytes * 1024 * 1024;
    // Each text is built for its turn and freed before the next: the empty
    // lines alone take 200 MB as a QString at 100 MB, and as much again for
    // the copy the memo is given.
    TimeShape("prose", Prose(size));
    TimeShape("one line", QString(size, QLatin1Char('x')));
    TimeShape("ABCD lines", QStringLiteral("ABCD\n").repeated(size / 5));
    TimeShape("empty lines", QString(size, QLatin1Char('\n')));
}

// A whole run in the window as a user does it: the prose pasted into Memo1,
// every step of the cipher, each toggle once, keys typed into each memo,
// then the most memory the process held.
void TimeRun(qsizetype kilobytes) {
    TForm1 form;
    Memo* memo1 = ShowWindow(form);
    memo1->Clear();
    memo1->setFocus();
    // The clipboard keeps the only copy of the prose: the bench holds none
    // while the window works.
    QGuiApplication::clipboard()->setText(Prose(kilobytes * 1024));
    PrintRow("run: paste (Ctrl+V)", kilobytes, KeyMs(form, memo1, Qt::Key_V, Qt::ControlModifier));
    QGuiApplication::clipboard()->clear();

    struct Step {
        const char* label;
        const char* button;
    };
    const Step steps[] = {
        {"run: normalise (BitBtn5)", "BitBtn5"},       {"run: keystream (BitBtn6)", "BitBtn6"},
        {"run: cipher (Button1)", "Button1"},          {"run: group input (BitBtn1)", "BitBtn1"},
        {"run: group keystream (BitBtn7)", "BitBtn7"}, {"run: group result (BitBtn8)", "BitBtn8"},
    };
    double whole = 0;
    for (const Step& step : steps) {
        const double ms = ClickMs(form, step.button);
        whole += ms;
        PrintRow(step.label, kilobytes, ms);
    }
    PrintRow("run: whole run", kilobytes, whole);

    for (const char* name : {"Memo1", "Memo2", "Memo3"}) {
        auto* memo = form.findChild<Memo*>(QLatin1String(name));
        memo->setFocus();
        KeyMs(form, memo, Qt::Key_Home, Qt::ControlModifier);
        const QString start =
            QStringLiteral("run: key at the start of %1").arg(QLatin1String(name));
        PrintRow(qPrintable(start), kilobytes, KeyMs(form, memo, Qt::Key_B));
        memo->SetSelection(memo->Length() / 2, memo->Length() / 2);
        Settle(form);
        const QString middle =
            QStringLiteral("run: key in the middle of %1").arg(QLatin1String(name));
        PrintRow(qPrintable(middle), kilobytes, KeyMs(form, memo, Qt::Key_C));
    }
    PrintMemoryRow("run: peak memory (VmHWM)", kilobytes, MemoryMb("VmHWM:"));
}

QList<qsizetype> Sizes(int argc, char** argv, int first, QList<qsizetype> defaults) {
    if (argc <= first) return defaults;
    QList<qsizetype> sizes;
    for (int i = first; i < argc; ++i) sizes << QByteArray(argv[i]).toLongLong();
    return sizes;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QByteArray section = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    std::printf("%-34s %10s %12s %12s\n", "action", "input KB", "window ms", "core ms");
    if (section.isEmpty() || section == "prose") {
        for (const qsizetype kilobytes : Sizes(argc, argv, 2, {100, 1024, 10240}))
            TimeProse(kilobytes);
    }
    if (section.isEmpty() || section == "decomposed") {
        for (const qsizetype kilobytes : Sizes(argc, argv, 2, {1024, 4096, 10240}))
            TimeDecomposed(kilobytes);
    }
    if (section.isEmpty() || section == "edits") {
        TimeEdits("a + 1,000,000 marks", QStringLiteral("a") + QString(1'000'000, QChar(0x0308)));
        TimeEdits("unbroken 100 MB line", QString(100 * 1024 * 1024, QLatin1Char('x')));
        TimeEdits("100 MB of groups", QStringLiteral("ABCDE ").repeated(100 * 1024 * 1024 / 6));
        TimeEdits("10 MB of prose", Prose(10 * 1024 * 1024));
    }
    if (section == "paging") {
        for (const qsizetype kilobytes : Sizes(argc, argv, 2, {10240})) TimePaging(kilobytes);
    }
    if (section == "peak") {
        for (const qsizetype kilobytes : Sizes(argc, argv, 2, {102400})) PeakMemory(kilobytes);
    }
    if (section == "shapes") {
        for (const qsizetype megabytes : Sizes(argc, argv, 2, {100})) TimeShapes(megabytes);
    }
    if (section == "run") {
        for (const qsizetype kilobytes : Sizes(argc, argv, 2, {1024000})) TimeRun(kilobytes);
    }
    return 0;
}
