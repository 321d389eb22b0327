// The baseline of "ratio startup": the least a Qt Widgets program does to show a window of the
// main window's size, with the same first-paint report.
#include <QApplication>
#include <QWidget>

#include "ui/window/first_paint.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Zelvora 2011"));
    window.resize(863, 494);
    ReportFirstPaint(&window);
    window.show();
    return QApplication::exec();
}
