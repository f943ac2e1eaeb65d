// Port selection: the scan, frmCommPorts, "CustFile" and opening the chosen port, with
// every port mapped to a test pseudo-terminal, a missing device or nothing.

#include "../support/modal.h"
#include "link/ui/comm_ports_dialog.h"
#include "link/ui/port_chooser.h"
#include "link/ui/sensor_link.h"
#include "stand_in_host.h"
#include "test_terminal.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

using namespace telmora;
using namespace telmora::testing;

namespace {

// Port 1 leads nowhere, 2 and 3 to terminals, 4 to a missing device.
struct Setup {
    TestTerminal two;
    TestTerminal three;
    TestPortMap map{{QString(), two.path(), three.path(), QStringLiteral("/nonexistent/tty9")}};
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

class PortChooserTest : public QObject {
    Q_OBJECT

  private slots:
    void scan_offersOnlyUsablePortsAndLeavesEveryLineAsItWas() {
        // Another program holds port 3.
        Setup s;
        termios before{};
        QCOMPARE(::tcgetattr(s.two.slave(), &before), 0);
        cfsetspeed(&before, B1200);
        before.c_lflag |= ICANON | ECHO;
        QCOMPARE(::tcsetattr(s.two.slave(), TCSANOW, &before), 0);
        QCOMPARE(::tcgetattr(s.two.slave(), &before), 0);
        QSerialPort other(s.three.path());
        QVERIFY(other.open(QIODevice::ReadWrite));

        s.chooser.ScanPorts();
        const std::array<bool, 4> expected{false, true, false, false};
        QCOMPARE(s.chooser.PortAvailable(), expected);
        termios after{};
        QCOMPARE(::tcgetattr(s.two.slave(), &after), 0);
        QCOMPARE(std::memcmp(&after, &before, sizeof after), 0);
        // The holder is undisturbed: its port still carries bytes.
        s.three.Write("abc");
        QVERIFY(other.waitForReadyRead(2000));
        QCOMPARE(other.readAll(), QByteArray("abc"));

        // Captions and names are checked with the window's other texts.
        for (int n = 1; n <= 4; ++n)
            QVERIFY(!s.dialog.Option(n)->isEnabled()); // until a scan's result is loaded
        s.dialog.LoadPorts(s.chooser.PortAvailable(), LoadPortDevices());
        QCOMPARE(s.dialog.DeviceLabel(1)->text(), QStringLiteral("no device"));
        QCOMPARE(s.dialog.DeviceLabel(2)->text(), s.two.path());
        QCOMPARE(s.dialog.DeviceLabel(4)->text(), QStringLiteral("/nonexistent/tty9"));
        QCOMPARE(s.dialog.Option(2)->accessibleName(),
                 QStringLiteral("Comm2, %1").arg(s.two.path()));
        for (int n = 1; n <= 4; ++n)
            QCOMPARE(s.dialog.Option(n)->isEnabled(), expected[n - 1]);
    }

    void missingOrOddSavedPort_asksAndRemembersTheChoice_data() {
        QTest::addColumn<QByteArray>("saved"); // null: no CustFile yet
        QTest::addColumn<int>("choice");
        QTest::newRow("first start") << QByteArray() << 2;
        QTest::newRow("outside 1 to 4") << QByteArray("\x05\x00", 2) << 3;
    }

    void missingOrOddSavedPort_asksAndRemembersTheChoice() {
        QFETCH(QByteArray, saved);
        QFETCH(int, choice);
        Setup s;
        if (!saved.isNull())
            s.Save(saved);
        s.chooser.ScanPorts();
        int selectedBefore = -1;
        bool offered = false;
        test::NextModal driver([&](QWidget*) {
            selectedBefore = s.dialog.SelectedPort();
            offered = s.dialog.Option(choice)->isEnabled();
            QTest::mouseClick(s.dialog.Option(choice), Qt::LeftButton);
            QTest::mouseClick(s.dialog.OkButton(), Qt::LeftButton);
        });
        s.chooser.OpenSavedPort();

        QVERIFY(driver.Seen());
        QCOMPARE(selectedBefore, 0);
        QVERIFY(offered);
        QCOMPARE(s.chooser.PortNumber(), choice);
        QCOMPARE(s.SavedBytes(), QByteArray(1, char(choice)) + QByteArray(1, '\0'));
        QVERIFY(s.link.IsPortOpen());
        QCOMPARE(s.link.PortNumber(), choice);
        QCOMPARE(s.link.PortDevice(), choice == 2 ? s.two.path() : s.three.path());
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
        QSerialPort other(s.two.path());
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

    void noUsablePort_okKeepsThePortClosed() {
        Setup s;
        s.map.Write({QString(), QString(), QString(), QString()});
        s.chooser.ScanPorts();
        QCOMPARE(s.chooser.PortAvailable(), (std::array<bool, 4>{}));
        bool allDisabled = false;
        test::NextModal driver([&](QWidget*) {
            allDisabled = true;
            for (int n = 1; n <= 4; ++n)
                allDisabled = allDisabled && !s.dialog.Option(n)->isEnabled();
            s.dialog.OkButton()->click();
        });
        s.chooser.OpenSavedPort();
        QVERIFY(allDisabled);
        QCOMPARE(s.chooser.PortNumber(), 0);
        QVERIFY(!s.link.IsPortOpen());
        QCOMPARE(s.SavedBytes(), QByteArray("\x00\x00", 2));
    }
};

QTEST_MAIN(PortChooserTest)
#include "port_chooser_test.moc"
