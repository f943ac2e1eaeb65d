// Saves a picture of each processing dialog, for the documentation and for checking the
// layout by eye: dialog_screenshots <folder> [suffix]. Run it with QT_SCALE_FACTOR=1.5
// and the suffix "@150" for the enlarged pictures.
#include "config/sensor_config.h"
#include "dialogs/filter_dialog_a.h"
#include "dialogs/filter_dialog_b.h"
#include "dialogs/run_mode_dialog_a.h"
#include "dialogs/run_mode_dialog_b.h"

#include <QApplication>
#include <QDir>
#include <QTest>

#include <cstdio>

using namespace telmora;

namespace {

// Saves the dialog as dialog-<its object name><variant><suffix>.png in `folder`.
bool Save(QDialog&& dialog, const QString& folder, const QString& suffix,
          const QString& variant = QString()) {
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog)) {
        return false;
    }
    const QString path =
        QDir(folder).filePath("dialog-" + dialog.objectName() + variant + suffix + ".png");
    const bool saved = dialog.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    return saved;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: dialog_screenshots <folder> [suffix]\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString suffix = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();

    SensorConfig familyA;
    LoadFactoryDefaultsA(familyA);
    familyA.FilterType = 2;
    familyA.NumberOfSamples = 16;
    familyA.RunMode = 3;
    SensorConfig familyB;
    LoadFactoryDefaultsB(familyB);
    familyB.RunMode = 5;
    familyB.NodeAddress = 12;
    SensorConfig sensorOnlyMode = familyB;
    sensorOnlyMode.RunMode = 8;

    bool ok = Save(FilterDialogA(familyA), folder, suffix);
    ok &= Save(FilterDialogB(familyB), folder, suffix);
    ok &= Save(RunModeDialogA(familyA), folder, suffix);
    ok &= Save(RunModeDialogB(familyB), folder, suffix);
    ok &= Save(RunModeDialogB(sensorOnlyMode), folder, suffix, "-mode8");
    return ok ? 0 : 1;
}
