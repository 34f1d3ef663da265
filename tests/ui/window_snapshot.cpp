// Writes a picture of the window (its client area) to the PNG file named on
// the command line: at start, or with "after-run" after a whole run on the
// sample text (normalised, key start 3, keystream, enciphered, the result in
// five-letter groups).
#include <QAbstractButton>
#include <QApplication>
#include <QPixmap>
#include <QTextStream>

#include "tform1.h"
#include "window_controls.h"

namespace {

void Click(TForm1& form, const char* name) {
    FindControl<QAbstractButton>(&form, QString::fromLatin1(name))->click();
    QApplication::processEvents();
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QString scenario = argc == 3 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("start");
    if (argc < 2 || argc > 3 || (scenario != u"start" && scenario != u"after-run")) {
        QTextStream(stderr) << "usage: window_snapshot FILE.png [start|after-run]\n";
        return 2;
    }
    TForm1 form1;
    form1.show();
    form1.activateWindow();
    QApplication::processEvents();
    if (scenario == u"after-run") {
        for (const char* name :
             {"BitBtn5", "UpDown1Up", "UpDown1Up", "BitBtn6", "Button1", "BitBtn8"}) {
            Click(form1, name);
        }
    }
    const QPixmap picture = form1.grab();
    if (!picture.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        QTextStream(stderr) << "cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
