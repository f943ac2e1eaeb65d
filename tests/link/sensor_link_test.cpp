// SensorLink and port selection, with every port mapped to a pseudo-terminal whose other
// end the test plays, a missing device or nothing: line settings, readings, busy state,
// the scan, frmCommPorts and its device choosers, "CustFile" and opening
// the chosen port.

#include "../support/modal.h"
#include "link/link_protocol.h"
#include "link/ui/comm_ports_dialog.h"
#include "link/ui/port_chooser.h"
#include "link/ui/sensor_link.h"
#include "link_fakes.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstring>

using namespace telmora;
using namespace telmora::testing;

namespace {

// Port 1 leads nowhere, 2 and 3 to terminals, 4 to a missing device.
struct Setup {
    std::unique_ptr<TestTerminal> two = std::make_unique<TestTerminal>(); // may hang up
    TestTerminal three;
    TestPortMap map{{QString(), two->path(), three.path(), QStringLiteral("/nonexistent/tty9")}};
    QTemporaryDir work;
    QString custFile = work.filePath(QStringLiteral("CustFile"));
    StandInHost host;
    QWidget window;
    SensorLink link{host};
    PortChooser chooser{link, &window, custFile};
    CommPortsDialog& dialog = chooser.Dialog();

    QByteArray SavedBytes() const {
        QFile file(custFile);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }
    void Save(const QByteArray& bytes) const {
        QFile file(custFile);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }
};

} // namespace

class SensorLinkTest : public QObject {
    Q_OBJECT

  private slots:
    void openPort_setsNineThousandSixHundred8N1WithoutFlowControl() {
        Setup s;
        QVERIFY(s.two->ok());
        QSignalSpy opened(&s.link, &SensorLink::PortOpenChanged);
        QSignalSpy readings(&s.link, &SensorLink::Reading);
        QSignalSpy arrivals(&s.link, &SensorLink::DataReceived);

        QVERIFY(s.link.OpenPort(2));
        QCOMPARE(s.link.PortNumber(), 2);
        QCOMPARE(s.link.PortDevice(), s.two->path());
        QCOMPARE(opened.count(), 1);
        QCOMPARE(s.link.Protocol().ReceiveState(), 1);

        termios line{};
        QCOMPARE(::tcgetattr(s.two->slave(), &line), 0);
        QCOMPARE(cfgetospeed(&line), speed_t(B9600));
        QCOMPARE(cfgetispeed(&line), speed_t(B9600));
        QCOMPARE(line.c_cflag & CSIZE, tcflag_t(CS8));
        // A line that changes no byte is met end to end, with every awkward byte value.
        QCOMPARE(line.c_cflag & (PARENB | CSTOPB | CRTSCTS), tcflag_t(0));

        s.two->Write(QByteArray("\r01234"));
        QTRY_COMPARE_WITH_TIMEOUT(readings.count(), 1, 5000);
        QCOMPARE(readings.at(0).at(0).toFloat(), 4.175856f);
        QVERIFY(arrivals.count() >= 1);

        s.link.ClosePort();
        QVERIFY(!s.link.IsPortOpen());
        QCOMPARE(s.link.PortNumber(), 0);
        QCOMPARE(opened.count(), 2);
    }

    void openPort_reportsPortDeviceAndReason() {
        const std::pair<int, QString> cases[] = {
            {1, "Comm1 leads to no device"},
            {4, "Comm4 (/nonexistent/tty9) could not be opened: "},
            {5, "There is no port 5"},
        };
        for (const auto& [number, expected] : cases) {
            Setup s;
            QSignalSpy errors(&s.link, &SensorLink::PortError);
            QVERIFY(!s.link.OpenPort(number));
            QCOMPARE(errors.count(), 1);
            const QString message = errors.at(0).at(0).toString();
            QVERIFY2(message.startsWith(expected), qPrintable(message));
            QVERIFY(!s.link.IsPortOpen());
        }
    }

    void whileBusy_portAndCommandsAreRefusedAndTheWindowStaysResponsive() {
        Setup s;
        QVERIFY(s.link.OpenPort(2));
        QSignalSpy busy(&s.link, &SensorLink::BusyChanged);

        int checks = 0;
        QTimer during;
        during.setInterval(50);
        connect(&during, &QTimer::timeout, &s.link, [&] {
            if (!s.link.IsBusy())
                return;
            ++checks;
            QVERIFY(!s.link.OpenPort(3));
            s.link.ClosePort();
            QVERIFY(s.link.IsPortOpen());
            s.link.GetConfigurationFromSensor(); // returns at once
            s.link.SaveConfigurationToSensor();
        });
        during.start();
        s.link.GetConfigurationFromSensor();
        during.stop();

        QVERIFY2(checks >= 5, "the window's timers run while the command waits");
        QCOMPARE(busy.count(), 2);
        QCOMPARE(busy.at(0).at(0).toBool(), true);
        QCOMPARE(busy.at(1).at(0).toBool(), false);
        QCOMPARE(s.host.warnings.size(), std::size_t{1}); // one command's "No Sensor Found"
        QCOMPARE(s.two->ReadWaiting().count('W'), 10);
    }

    void scan_offersOnlyUsablePortsAndLeavesEveryLineAsItWas() {
        // Another program holds port 3.
        Setup s;
        termios before{};
        QCOMPARE(::tcgetattr(s.two->slave(), &before), 0);
        cfsetspeed(&before, B1200);
        before.c_lflag |= ICANON | ECHO;
        QCOMPARE(::tcsetattr(s.two->slave(), TCSANOW, &before), 0);
        QCOMPARE(::tcgetattr(s.two->slave(), &before), 0);
        QSerialPort other(s.three.path());
        QVERIFY(other.open(QIODevice::ReadWrite));

        s.chooser.ScanPorts();
        const std::array<bool, 4> expected{false, true, false, false};
        QCOMPARE(s.chooser.PortAvailable(), expected);
        termios after{};
        QCOMPARE(::tcgetattr(s.two->slave(), &after), 0);
        QCOMPARE(std::memcmp(&after, &before, sizeof after), 0);
        // The holder is undisturbed: its port still carries bytes.
        s.three.Write("abc");
        QVERIFY(other.waitForReadyRead(2000));
        QCOMPARE(other.readAll(), QByteArray("abc"));

        // Captions and names are checked with the window's other texts.
        for (int n = 1; n <= 4; ++n)
            QVERIFY(!s.dialog.Option(n)->isEnabled()); // until a scan's result is loaded
        s.dialog.LoadPorts(s.chooser.PortChecks(), LoadPortDevices());
        QCOMPARE(s.dialog.DeviceLabel(1)->text(), QStringLiteral("no device"));
        QCOMPARE(s.dialog.DeviceLabel(2)->text(), s.two->path());
        QCOMPARE(s.dialog.DeviceLabel(4)->text(),
                 QStringLiteral("/nonexistent/tty9 - not present"));
        QCOMPARE(s.dialog.Option(2)->accessibleName(), QStringLiteral("Comm 2"));
        // A disabled port says why.
        const QString why[] = {"not mapped", s.two->path(), "in use by another program",
                               "not present"};
        for (int n = 1; n <= 4; ++n) {
            QCOMPARE(s.dialog.Option(n)->isEnabled(), expected[n - 1]);
            QCOMPARE(s.dialog.Option(n)->toolTip(), why[n - 1]);
        }
    }

    // The choosers list the devices present (a fake list here) and map a port to one, by
    // its stable name when it has one; OK saves the mapping the user changed, Cancel keeps
    // the mapping and the port as they were.
    void chooser_mapsAPortToADevicePresentAndOnlyOkSavesIt() {
        Setup s;
        QFile::link(s.three.path(), s.work.filePath("usb-FTDI_A1"));
        FakeDeviceSource source;
        source.devices = {
            {"/nonexistent/ttyUSB9", "", "ttyUSB9", "", "", ""},
            {s.three.path(), s.work.filePath("usb-FTDI_A1"), "ttyUSB0", "FT232R", "FTDI", "A1"}};
        s.chooser.SetDeviceSource(&source);
        const QByteArray mapText = "# bench\n1=none # spare\n2=" + s.two->path().toLocal8Bit() +
                                   "\nodd\n3=/nonexistent/tty8\n";
        {
            QFile file(s.map.Path());
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(mapText);
        }
        const auto mapFile = [&] {
            QFile file(s.map.Path());
            file.open(QIODevice::ReadOnly);
            return file.readAll();
        };
        const auto choose = [&](int number, int item) {
            QComboBox* box = s.dialog.DeviceChooser(number);
            box->setCurrentIndex(item);
            emit box->activated(item);
        };
        s.Save(QByteArray("\x02\x00", 2));
        s.chooser.OpenSavedPort();

        struct Step {
            const char* what;
            int port, item;      // the chooser used and the item chosen in it
            QPushButton* button; // how the dialog is left
            int expectedPort;
        };
        const Step steps[] = {
            {"Cancel", 3, 3, s.dialog.CancelButton(), 2},
            {"OK", 1, 2, s.dialog.OkButton(), 1},
        };
        for (const Step& step : steps) {
            QStringList items;
            QString chosenTip;
            bool enabledBefore = true, enabledAfter = false;
            test::NextModal driver([&](QWidget*) {
                for (int k = 0; k < s.dialog.DeviceChooser(step.port)->count(); ++k)
                    items << s.dialog.DeviceChooser(step.port)->itemText(k);
                enabledBefore = s.dialog.Option(step.port)->isEnabled();
                choose(step.port, step.item);
                enabledAfter = s.dialog.Option(step.port)->isEnabled();
                chosenTip = s.dialog.DeviceLabel(step.port)->text();
                s.dialog.Option(step.port)->click();
                step.button->click();
            });
            s.chooser.ChooseComPort();
            QVERIFY(driver.Seen());
            QVERIFY2(!enabledBefore && enabledAfter, step.what);
            QCOMPARE(chosenTip, s.work.filePath("usb-FTDI_A1"));
            QCOMPARE(s.link.PortNumber(), step.expectedPort);
            QCOMPARE(s.chooser.PortNumber(), step.expectedPort);
            // none, the two devices, and a port's own device when the list lacks it
            const QStringList expectedItems = {"none", "ttyUSB9", "ttyUSB0 - FT232R (FTDI, A1)"};
            QCOMPARE(items.mid(0, 1) + items.mid(items.size() - 2), expectedItems);
            QCOMPARE(items.size(), step.port == 3 ? 4 : 3);
        }
        QCOMPARE(mapFile(), "# bench\n1=" + s.work.filePath("usb-FTDI_A1").toLocal8Bit() +
                                "  # spare\n2=" + s.two->path().toLocal8Bit() +
                                "\nodd\n3=/nonexistent/tty8\n");
        QCOMPARE(s.link.PortDevice(), s.work.filePath("usb-FTDI_A1"));
    }

    // The system's list leaves the console out (here /dev/ttyS0: listing it must not
    // open it either); a device's stable name is the by-id entry that leads to it.
    void deviceList_leavesTheConsoleOutAndFindsStableNames() {
        QFile active("/sys/class/tty/console/active");
        const QStringList consoles =
            active.open(QIODevice::ReadOnly) ? QString(active.readAll()).split(' ') : QStringList();
        for (const SerialDevice& device : SystemDevices().Devices())
            QVERIFY2(!consoles.contains(device.PortName), qPrintable(device.SystemPath));

        TestTerminal one, two;
        QTemporaryDir byId;
        QFile::link(one.path(), byId.filePath("usb-A"));
        QFile::link(two.path(), byId.filePath("usb-B"));
        QCOMPARE(StablePathOf(two.path(), byId.path()), byId.filePath("usb-B"));
        QCOMPARE(StablePathOf("/nonexistent/tty9", byId.path()), QString());
    }

    // Find Sensor tries the silent port 2, then port 3, whose far end the test plays as a
    // sensor answering the detection (or not at all); meanwhile the button stops the search
    // and OK waits. A sensor spoken to is told to stream again ("E").
    void findSensor_selectsTheFirstPortThatAnswersOrStops_data() {
        QTest::addColumn<bool>("answers");
        QTest::addColumn<bool>("stop"); // once port 2 has heard a detection frame
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<int>("port"); // opened after OK
        QTest::newRow("found") << true << false << "The sensor answered on Comm3." << 3;
        QTest::newRow("none") << false << false << "No sensor answered on any port." << 2;
        QTest::newRow("stopped") << true << true << "Search stopped." << 2;
    }

    void findSensor_selectsTheFirstPortThatAnswersOrStops() {
        QFETCH(bool, answers);
        QFETCH(bool, stop);
        QFETCH(QString, outcome);
        QFETCH(int, port);
        Setup s;
        QTimer sensor;
        QByteArray heard, heardOnTwo;
        connect(&sensor, &QTimer::timeout, &s.link, [&] {
            heardOnTwo += s.two->ReadWaiting();
            heard += s.three.ReadWaiting();
            while (answers && heard.size() >= 6 && heard.startsWith('W')) {
                s.three.Write(heard.left(6)); // the echo
                heard.remove(0, 6);
            }
            if (heard.startsWith("T00")) {
                s.three.Write("B1.08");
                heard.remove(0, 3);
            }
        });
        sensor.start(5);
        s.Save(QByteArray("\x02\x00", 2));
        s.chooser.OpenSavedPort();
        QStringList during;
        test::NextModal driver([&](QWidget*) {
            s.dialog.FindButton()->click();
            during << s.dialog.FindButton()->text() << s.dialog.FindProgress()->text();
            QVERIFY(!s.dialog.OkButton()->isEnabled());
            if (stop) {
                QTRY_VERIFY_WITH_TIMEOUT(heardOnTwo.contains('W'), 5000);
                s.dialog.FindButton()->click();
            }
            QTRY_COMPARE_WITH_TIMEOUT(s.dialog.FindProgress()->text(), outcome, 10000);
            QCOMPARE(s.dialog.FindButton()->text(), QStringLiteral("&Find Sensor"));
            s.dialog.OkButton()->click();
        });
        s.chooser.ChooseComPort();
        QCOMPARE(during, QStringList({"&Stop", "Trying Comm2 (" + s.two->path() + "), 1 of 2..."}));
        heardOnTwo += s.two->ReadWaiting();
        if (!stop)
            QCOMPARE(heardOnTwo.count('W'), kMaxDetectTries);
        QVERIFY(heardOnTwo.endsWith('E'));
        heard += s.three.ReadWaiting();
        QCOMPARE(heard.endsWith('E'), !stop);
        if (answers && !stop)
            QCOMPARE(heard, QByteArray("E"));
        QCOMPARE(s.link.PortNumber(), port);
    }

    void missingOrOddSavedPort_asksAndRemembersTheChoice_data() {
        QTest::addColumn<QByteArray>("saved"); // null: no CustFile yet
        QTest::addColumn<int>("choice");       // 0: no port is usable, OK is pressed
        QTest::newRow("first start") << QByteArray() << 2;
        QTest::newRow("outside 1 to 4") << QByteArray("\x05\x00", 2) << 3;
        QTest::newRow("no usable port") << QByteArray() << 0;
    }

    void missingOrOddSavedPort_asksAndRemembersTheChoice() {
        QFETCH(QByteArray, saved);
        QFETCH(int, choice);
        Setup s;
        if (!saved.isNull())
            s.Save(saved);
        if (choice == 0)
            s.map.Write({QString(), QString(), QString(), QString()});
        s.chooser.ScanPorts();
        int selectedBefore = -1;
        QString offered;
        test::NextModal driver([&](QWidget*) {
            selectedBefore = s.dialog.SelectedPort();
            for (int n = 1; n <= 4; ++n)
                offered += s.dialog.Option(n)->isEnabled() ? QString::number(n) : "-";
            if (choice != 0)
                QTest::mouseClick(s.dialog.Option(choice), Qt::LeftButton);
            QTest::mouseClick(s.dialog.OkButton(), Qt::LeftButton);
        });
        s.chooser.OpenSavedPort();

        QVERIFY(driver.Seen());
        QCOMPARE(selectedBefore, 0);
        QCOMPARE(offered, choice == 0 ? QStringLiteral("----") : QStringLiteral("-23-"));
        QCOMPARE(s.chooser.PortNumber(), choice);
        QCOMPARE(s.SavedBytes(), QByteArray(1, char(choice)) + QByteArray(1, '\0'));
        QCOMPARE(s.link.IsPortOpen(), choice != 0);
        QCOMPARE(s.link.PortNumber(), choice);
        if (choice != 0)
            QCOMPARE(s.link.PortDevice(), choice == 2 ? s.two->path() : s.three.path());
        QVERIFY(s.dialog.isHidden()); // hidden after OK, not destroyed
    }

    void savedPort_opensWithoutAskingAndComPortShowsTheLatestScan() {
        Setup s;
        s.Save(QByteArray("\x03\x00more", 6));
        s.chooser.ScanPorts();
        {
            test::NextModal driver([](QWidget*) {});
            s.chooser.OpenSavedPort();
            QVERIFY(!driver.Seen());
        }
        QCOMPARE(s.link.PortNumber(), 3);

        // "&ComPort" shows the saved port selected and, since the scan closed the program's
        // own port first, offered; closing by the title bar keeps the port, whatever was checked.
        int selected = -1;
        bool offered = false;
        {
            test::NextModal driver([&](QWidget*) {
                selected = s.dialog.SelectedPort();
                offered = s.dialog.Option(3)->isEnabled();
                s.dialog.Option(2)->setChecked(true);
                s.dialog.close();
            });
            s.chooser.ChooseComPort();
        }
        QCOMPARE(selected, 3);
        QVERIFY(offered);
        QCOMPARE(s.chooser.PortNumber(), 3);
        QCOMPARE(s.link.PortNumber(), 3);
        QCOMPARE(s.SavedBytes(), QByteArray("\x03\x00more", 6));

        // Another program takes port 2 between two showings of the hidden dialog; OK reopens 3.
        QSerialPort other(s.two->path());
        QVERIFY(other.open(QIODevice::ReadWrite));
        offered = true;
        test::NextModal driver([&](QWidget*) {
            offered = s.dialog.Option(2)->isEnabled();
            s.dialog.OkButton()->click();
        });
        s.chooser.ChooseComPort();
        QVERIFY(!offered);
        QVERIFY(s.link.IsPortOpen());
        QCOMPARE(s.link.PortNumber(), 3);
    }
};

QTEST_MAIN(SensorLinkTest)
#include "sensor_link_test.moc"
