// The program: shows the one window and runs until it is closed.
#include <QApplication>

#include "tform1.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    TForm1 form1;
    form1.show();
    return app.exec();
}
