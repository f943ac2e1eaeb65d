#include "app/main_window.h"

namespace telmora {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName("frmMain");
    setWindowTitle("Telmora 1.08");
}

} // namespace telmora
