// Saves a picture of each dialog (the processing dialogs, the compare table and the port
// dialog) for the documentation and for checking the layout by eye:
// dialog_screenshots <folder> [suffix]. With QT_SCALE_FACTOR=1.5 and the suffix "@150" it
// makes the enlarged pictures.
#include "config/config_fields.h"
#include "config/sensor_config.h"
#include "dialogs/ui/compare_dialog.h"
#include "dialogs/ui/filter_dialog_a.h"
#include "dialogs/ui/filter_dialog_b.h"
#include "dialogs/ui/run_mode_dialog_a.h"
#include "dialogs/ui/run_mode_dialog_b.h"
#include "link/ui/comm_ports_dialog.h"
#include "link/ui/serial_devices.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QTest>

#include <cstdio>

using namespace telmora;

namespace {

// Two USB adapters, as the system would list them; nothing is opened.
class PictureDevices : public SerialDeviceSource {
  public:
    QList<SerialDevice> Devices() const override {
        return {{"/dev/ttyUSB0", "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0",
                 "ttyUSB0", "FT232R USB UART", "FTDI", "A50285BI"},
                {"/dev/ttyACM0", "", "ttyACM0", "USB Serial", "Acme", ""}};
    }
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: dialog_screenshots <folder> [suffix]\n");
        return 2;
    }
    const QString suffix = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    SensorConfig a, b;
    LoadFactoryDefaultsA(a);
    a.FilterType = 2;
    a.NumberOfSamples = 16;
    a.RunMode = 3;
    LoadFactoryDefaultsB(b);
    b.RunMode = 5;
    b.NodeAddress = 12;
    SensorConfig sensorOnlyMode = b;
    sensorOnlyMode.RunMode = 8;

    bool ok = true;
    // Saves the dialog as dialog-<its object name><variant><suffix>.png.
    const auto save = [&](QDialog&& dialog, const QString& variant = QString()) {
        dialog.show();
        const QString path =
            QDir(QString::fromLocal8Bit(argv[1]))
                .filePath("dialog-" + dialog.objectName() + variant + suffix + ".png");
        const bool saved = QTest::qWaitForWindowExposed(&dialog) && dialog.grab().save(path);
        std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
        ok &= saved;
    };
    save(FilterDialogA(a));
    save(FilterDialogB(b));
    save(RunModeDialogA(a));
    save(RunModeDialogB(b));
    save(RunModeDialogB(sensorOnlyMode), "-mode8");
    // The window beside a sensor whose setpoint, hysteresis and description were changed.
    SensorConfig onSensor = b;
    onSensor.Sw1Setpoint = 24.5f;
    onSensor.Sw1Hyst = 1.25f;
    onSensor.Description = "Tank 3 level";
    save(CompareDialog("Compare With Sensor", "Window (Kelvo-B)", "Kelvo-B on /dev/ttyUSB0",
                       CompareFields(b, onSensor, SensorFamily::B)));

    // The port dialog after "Find Sensor": port 1 by its stable name, one port mapped to
    // nothing, one to an adapter not plugged in, one held by another program.
    PictureDevices devices;
    CommPortsDialog ports;
    ports.SetDeviceSource(&devices);
    ports.LoadPorts({PortCheck{PortState::Usable, {}},
                     {PortState::NotMapped, "not mapped"},
                     {PortState::NotPresent, "not present"},
                     {PortState::InUse, "in use by another program"}},
                    PortDevices{devices.Devices()[0].StablePath.toStdString(), "", "/dev/ttyUSB3",
                                "/dev/ttyACM0"});
    ports.SelectPort(1);
    ports.FindProgress()->setText("The sensor answered on Comm1.");
    save(std::move(ports));
    return ok ? 0 : 1;
}
