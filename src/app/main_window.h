#pragma once

#include <QMainWindow>

namespace telmora {

// frmMain: the one main window that holds every display and editor.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
};

} // namespace telmora
