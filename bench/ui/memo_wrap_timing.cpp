// Measures how long a memo takes to show texts with long unbroken runs, cut
// into display lines by SetText and, for comparison, in a plain text box that
// lays the line out whole at word boundaries.
// Usage: memo_wrap_timing [max-letters-for-the-plain-text-box]
#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
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

// Sets text with show and waits until box has laid it out and painted it.
template <typename Show>
qint64 ShowMs(QPlainTextEdit& box, Show show) {
    QElapsedTimer timer;
    timer.start();
    show();
    box.repaint();
    QApplication::processEvents();
    box.moveCursor(QTextCursor::End);  // scrolls to the last line
    box.repaint();
    QApplication::processEvents();
    return timer.elapsed();
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const qsizetype plainLimit = argc > 1 ? QString::fromLocal8Bit(argv[1]).toLongLong() : 100'000;
    QFont font(QStringLiteral("Liberation Mono"));
    font.setPixelSize(16);
    font.setBold(true);
    Memo memo;
    QPlainTextEdit plain;
    for (QPlainTextEdit* box : {static_cast<QPlainTextEdit*>(&memo), &plain}) {
        box->setFont(font);
        box->resize(625, 121);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->show();
    }
    QApplication::processEvents();

    QTextStream out(stdout);
    for (const qsizetype size : {10'000, 100'000, 1'000'000}) {
        const QString run = Letters(size);
        const QString blocks = Blocks(size);
        out << size << " letters, one run, memo: " << ShowMs(memo, [&] { memo.SetText(run); })
            << " ms\n";
        out << size << " letters in five-letter groups, memo: "
            << ShowMs(memo, [&] { memo.SetText(blocks); }) << " ms\n";
        if (size <= plainLimit) {
            out << size << " letters, one run, plain text box: "
                << ShowMs(plain, [&] { plain.setPlainText(run); }) << " ms\n";
        }
        out.flush();
    }
    return 0;
}
