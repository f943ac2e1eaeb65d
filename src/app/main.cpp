#include "app/main_window.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Telmora");
    QApplication::setApplicationVersion("1.08");
    telmora::MainWindow window;
    window.show();
    return QApplication::exec();
}
