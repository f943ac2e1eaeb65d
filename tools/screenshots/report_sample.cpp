// Writes the sample commissioning report for the documentation: report_sample <pdf>. Run in
// a folder whose port 1 leads to the simulated sensor (scripts/screenshots.sh): the window
// follows the readings for a few seconds, saves its configuration and writes the report.
#include "app/main_window.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <cstdio>

using namespace telmora;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: report_sample <pdf>\n");
        return 2;
    }
    MainWindow window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    window.DescriptionBox()->setText("Tank 7, north wall");
    QTest::qWait(6000);
    const bool written = window.SaveConfigurationFile("tank7.cfg") &&
                         window.WriteCommissioningReport(QString::fromLocal8Bit(argv[1]));
    std::printf("%s %s\n", written ? "wrote" : "FAILED", argv[1]);
    return written ? 0 : 1;
}
