// Times every action of the window on large texts: the real window, built
// offscreen, driven through normalise, keystream, cipher, the three toggles
// both ways and the reset, on 100 KB, 1 MB and 10 MB of prose. Each action is
// timed until the window has repainted, next to the core operation alone on
// the same text.
//
//   QT_QPA_PLATFORM=offscreen build/bench/ui/window_bench [sizes in KB...]
#include "cipher_core.h"
#include "memo.h"
#include "memo_text.h"
#include "tform1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>
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

double Milliseconds(const std::function<void()>& action) {
    QElapsedTimer timer;
    timer.start();
    action();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QList<qsizetype> sizes = {100, 1024, 10240};
    if (argc > 1) {
        sizes.clear();
        for (int i = 1; i < argc; ++i) sizes << QByteArray(argv[i]).toLongLong();
    }
    std::printf("%-28s %10s %12s %12s\n", "action", "input KB", "window ms", "core ms");
    for (const qsizetype kilobytes : sizes) {
        const QString prose = Prose(kilobytes * 1024);
        TForm1 form;
        form.show();
        QApplication::processEvents();
        form.findChild<Memo*>(QStringLiteral("Memo1"))->SetText(prose);
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
                                    trithemius::KeyStart::KeyStartA,
                                    trithemius::Direction::Encipher);
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
            auto* button = form.findChild<QAbstractButton*>(QString::fromLatin1(step.button));
            const double window = Milliseconds([&] {
                button->click();
                form.repaint();
                QApplication::processEvents();
            });
            if (step.core >= 0) {
                std::printf("%-28s %10lld %12.1f %12.1f\n", step.label,
                            static_cast<long long>(kilobytes), window, coreTimes[step.core]);
            } else {
                std::printf("%-28s %10lld %12.1f %12s\n", step.label,
                            static_cast<long long>(kilobytes), window, "-");
            }
        }
    }
    return 0;
}
