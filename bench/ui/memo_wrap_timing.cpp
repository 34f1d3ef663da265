// Measures how long a memo takes to show texts with long unbroken runs, with
// the wrap mode SetText chooses and, for comparison, with wrapping at word
// boundaries forced. Usage: memo_wrap_timing [max-bytes-for-forced-word-wrap]
#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include "memo.h"

namespace {

QString Letters(qsizetype length) {
    QString text(length, Qt::Uninitialized);
    for (qsizetype i = 0; i < length; ++i) text[i] = QLatin1Char(static_cast<char>('A' + i % 26));
    return text;
}

QString Blocks(qsizetype letters) {
    const QString plain = Letters(letters);
    QString text;
    for (qsizetype i = 0; i < plain.size(); i += 5) {
        if (i > 0) text += QLatin1Char(' ');
        text += plain.mid(i, 5);
    }
    return text;
}

// Sets text and waits until the memo has laid it out and painted it.
qint64 ShowMs(Memo& memo, const QString& text, bool forceWordWrap) {
    memo.Clear();
    QApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    if (forceWordWrap) {
        memo.setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        memo.setPlainText(text);
    } else {
        memo.SetText(text);
    }
    memo.repaint();
    QApplication::processEvents();
    memo.moveCursor(QTextCursor::End);  // scrolls to the last line
    memo.repaint();
    QApplication::processEvents();
    return timer.elapsed();
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const qsizetype forcedLimit = argc > 1 ? QString::fromLocal8Bit(argv[1]).toLongLong() : 100'000;
    QFont font(QStringLiteral("Liberation Mono"));
    font.setPixelSize(16);
    font.setBold(true);
    Memo memo;
    memo.setFont(font);
    memo.resize(625, 121);
    memo.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo.show();
    QApplication::processEvents();

    QTextStream out(stdout);
    for (const qsizetype size : {10'000, 100'000, 1'000'000}) {
        const QString run = Letters(size);
        const QString blocks = Blocks(size);
        out << size << " letters, one run, SetText ("
            << (Memo::WrapModeFor(run) == QTextOption::WrapAnywhere ? "anywhere" : "word")
            << "): " << ShowMs(memo, run, false) << " ms\n";
        out << size << " letters in five-letter groups, SetText ("
            << (Memo::WrapModeFor(blocks) == QTextOption::WrapAnywhere ? "anywhere" : "word")
            << "): " << ShowMs(memo, blocks, false) << " ms\n";
        if (size <= forcedLimit)
            out << size << " letters, one run, word wrap forced: " << ShowMs(memo, run, true)
                << " ms\n";
        out.flush();
    }
    return 0;
}
