// Writes a picture of the window at start (its client area) to the PNG file
// named on the command line.
#include <QApplication>
#include <QPixmap>
#include <QTextStream>

#include "tform1.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: window_snapshot FILE.png\n";
        return 2;
    }
    TForm1 form1;
    form1.show();
    form1.activateWindow();
    QApplication::processEvents();
    const QPixmap picture = form1.grab();
    if (!picture.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        QTextStream(stderr) << "cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
