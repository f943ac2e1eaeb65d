// Port selection: the scan, frmCommPorts, "CustFile" and opening the chosen port, with
// every port mapped to a test pseudo-terminal or to nothing.

#include "link/comm_ports_dialog.h"
#include "link/port_chooser.h"
#include "link/sensor_link.h"
#include "stand_in_host.h"
#include "test_terminal.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace telmora;
using namespace telmora::testing;

namespace {

// Acts on the port dialog once it is shown modally, and closes it after a deadline so
// that a test can never hang. Stops watching when it goes out of scope.
class WhenDialogShown {
  public:
    explicit WhenDialogShown(std::function<void(CommPortsDialog&)> act) : act_(std::move(act)) {
        deadline_.start();
        QObject::connect(&poll_, &QTimer::timeout, [this] { look(); });
        poll_.start(20);
    }
    bool shown() const { return shown_; }

  private:
    void look() {
        auto* dialog = qobject_cast<CommPortsDialog*>(QApplication::activeModalWidget());
        if (dialog && !shown_) {
            shown_ = true;
            act_(*dialog);
        } else if (deadline_.elapsed() < 10000) {
            return;
        }
        if (auto* open = QApplication::activeModalWidget())
            open->close();
    }

    std::function<void(CommPortsDialog&)> act_;
    QTimer poll_;
    QElapsedTimer deadline_;
    bool shown_ = false;
};

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(bytes);
}

// One test's world: two terminals, a mapping, a working folder, the link and chooser.
struct Setup {
    TestTerminal two;
    TestTerminal three;
    TestPortMap map{{QString(), two.path(), three.path(), QStringLiteral("/nonexistent/tty9")}};
    QTemporaryDir work;
    QString custFile = work.filePath(QStringLiteral("CustFile"));
    SensorConfig config;
    StandInHost host;
    QWidget window;
    SensorLink link{config, host};
    PortChooser chooser{link, &window, custFile};
};

} // namespace

class PortChooserTest : public QObject {
    Q_OBJECT

  private slots:
    void dialog_hasItsCaptionsAndNames();
    void scan_offersOnlyPortsThatLeadToAUsableDevice();
    void scan_changesNoLineSettings();
    void scan_doesNotOfferAPortAnotherProgramHolds();
    void firstStart_asksAndRemembersTheChoice();
    void savedPortOutsideOneToFour_asksLikeAMissingOne();
    void savedPort_opensWithoutAsking();
    void comPort_showsTheSavedPortSelectedAndOkReopensIt();
    void comPort_closingTheDialogKeepsThePort();
    void noUsablePort_okKeepsThePortClosed();
    void comPort_dialogFollowsTheLatestScanEachTime();
};

void PortChooserTest::dialog_hasItsCaptionsAndNames() {
    CommPortsDialog dialog;
    QCOMPARE(dialog.objectName(), QStringLiteral("frmCommPorts"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Select Comm Port"));
    auto* frame = dialog.findChild<QGroupBox*>(QStringLiteral("fraCommPort"));
    QVERIFY(frame);
    QCOMPARE(frame->title(), QStringLiteral("Comm Port"));
    for (int n = 1; n <= 4; ++n) {
        auto* option = dialog.findChild<QRadioButton*>(QStringLiteral("optComm%1").arg(n));
        QVERIFY(option);
        QCOMPARE(option->text(), QStringLiteral("Comm%1").arg(n));
        QVERIFY(!option->isEnabled()); // until a scan enables it
    }
    auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"));
    QVERIFY(ok);
    QCOMPARE(ok->text(), QStringLiteral("OK"));
}

void PortChooserTest::scan_offersOnlyPortsThatLeadToAUsableDevice() {
    Setup s;
    s.chooser.ScanPorts();
    const std::array<bool, 4> expected{false, true, true, false};
    QCOMPARE(s.chooser.PortAvailable(), expected);

    s.chooser.dialog().loadPorts(s.chooser.PortAvailable(), LoadPortDevices());
    QCOMPARE(s.chooser.dialog().deviceLabel(1)->text(), QStringLiteral("no device"));
    QCOMPARE(s.chooser.dialog().deviceLabel(2)->text(), s.two.path());
    QCOMPARE(s.chooser.dialog().deviceLabel(4)->text(), QStringLiteral("/nonexistent/tty9"));
    QCOMPARE(s.chooser.dialog().option(2)->accessibleName(),
             QStringLiteral("Comm2, %1").arg(s.two.path()));
    QVERIFY(!s.chooser.dialog().option(1)->isEnabled());
    QVERIFY(s.chooser.dialog().option(3)->isEnabled());
}

void PortChooserTest::scan_changesNoLineSettings() {
    Setup s;
    termios before{};
    QCOMPARE(::tcgetattr(s.two.slave(), &before), 0);
    cfsetspeed(&before, B1200);
    before.c_lflag |= ICANON | ECHO;
    QCOMPARE(::tcsetattr(s.two.slave(), TCSANOW, &before), 0);
    QCOMPARE(::tcgetattr(s.two.slave(), &before), 0);

    s.chooser.ScanPorts();
    termios after{};
    QCOMPARE(::tcgetattr(s.two.slave(), &after), 0);
    QCOMPARE(cfgetospeed(&after), cfgetospeed(&before));
    QCOMPARE(after.c_lflag, before.c_lflag);
    QCOMPARE(after.c_iflag, before.c_iflag);
    QCOMPARE(after.c_cflag, before.c_cflag);
    QVERIFY(s.chooser.PortAvailable()[1]);
}

void PortChooserTest::scan_doesNotOfferAPortAnotherProgramHolds() {
    Setup s;
    QSerialPort other(s.three.path());
    QVERIFY(other.open(QIODevice::ReadWrite));
    s.chooser.ScanPorts();
    QVERIFY(s.chooser.PortAvailable()[1]);
    QVERIFY(!s.chooser.PortAvailable()[2]);
    // The holder is undisturbed: its port still carries bytes.
    s.three.Write("abc");
    QVERIFY(other.waitForReadyRead(2000));
    QCOMPARE(other.readAll(), QByteArray("abc"));
}

void PortChooserTest::firstStart_asksAndRemembersTheChoice() {
    Setup s;
    QVERIFY(!QFile::exists(s.custFile));
    s.chooser.ScanPorts();
    int selectedBefore = -1;
    bool offered = false;
    WhenDialogShown driver([&](CommPortsDialog& dialog) {
        selectedBefore = dialog.selectedPort();
        offered = dialog.option(2)->isEnabled();
        QTest::mouseClick(dialog.option(2), Qt::LeftButton);
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    });
    s.chooser.OpenSavedPort();

    QVERIFY(driver.shown());
    QCOMPARE(selectedBefore, 0);
    QVERIFY(offered);
    QCOMPARE(s.chooser.PortNumber(), 2);
    QCOMPARE(FileBytes(s.custFile), QByteArray("\x02\x00", 2));
    QVERIFY(s.link.isPortOpen());
    QCOMPARE(s.link.portNumber(), 2);
    QCOMPARE(s.link.portDevice(), s.two.path());
    // Hidden after OK, not destroyed.
    QVERIFY(s.chooser.dialog().isHidden());
}

void PortChooserTest::savedPortOutsideOneToFour_asksLikeAMissingOne() {
    Setup s;
    WriteFile(s.custFile, QByteArray("\x05\x00", 2));
    s.chooser.ScanPorts();
    WhenDialogShown driver([](CommPortsDialog& dialog) {
        dialog.option(3)->setChecked(true);
        dialog.okButton()->click();
    });
    s.chooser.OpenSavedPort();
    QVERIFY(driver.shown());
    QCOMPARE(s.link.portNumber(), 3);
    QCOMPARE(FileBytes(s.custFile), QByteArray("\x03\x00", 2));
}

void PortChooserTest::savedPort_opensWithoutAsking() {
    Setup s;
    WriteFile(s.custFile, QByteArray("\x02\x00more", 6));
    s.chooser.ScanPorts();
    WhenDialogShown driver([](CommPortsDialog&) {});
    s.chooser.OpenSavedPort();
    QVERIFY(!driver.shown());
    QCOMPARE(s.link.portNumber(), 2);
    QCOMPARE(FileBytes(s.custFile), QByteArray("\x02\x00more", 6));
}

void PortChooserTest::comPort_showsTheSavedPortSelectedAndOkReopensIt() {
    Setup s;
    WriteFile(s.custFile, QByteArray("\x03\x00", 2));
    s.chooser.ScanPorts();
    s.chooser.OpenSavedPort();
    QCOMPARE(s.link.portNumber(), 3);

    int selected = -1;
    bool enabledWhileOpen = false;
    WhenDialogShown driver([&](CommPortsDialog& dialog) {
        selected = dialog.selectedPort();
        // The scan closed the program's own port first, so it is offered.
        enabledWhileOpen = dialog.option(3)->isEnabled();
        dialog.okButton()->click();
    });
    s.chooser.chooseComPort();
    QCOMPARE(selected, 3);
    QVERIFY(enabledWhileOpen);
    QVERIFY(s.link.isPortOpen());
    QCOMPARE(s.link.portNumber(), 3);
    QCOMPARE(FileBytes(s.custFile), QByteArray("\x03\x00", 2));
}

void PortChooserTest::comPort_closingTheDialogKeepsThePort() {
    Setup s;
    WriteFile(s.custFile, QByteArray("\x03\x00", 2));
    s.chooser.ScanPorts();
    s.chooser.OpenSavedPort();
    WhenDialogShown driver([](CommPortsDialog& dialog) {
        dialog.option(2)->setChecked(true);
        dialog.close(); // the title bar's close button
    });
    s.chooser.chooseComPort();
    QCOMPARE(s.chooser.PortNumber(), 3);
    QCOMPARE(s.link.portNumber(), 3);
    QCOMPARE(FileBytes(s.custFile), QByteArray("\x03\x00", 2));
}

void PortChooserTest::noUsablePort_okKeepsThePortClosed() {
    Setup s;
    s.map.Write({QString(), QString(), QString(), QString()});
    s.chooser.ScanPorts();
    const std::array<bool, 4> none{};
    QCOMPARE(s.chooser.PortAvailable(), none);
    bool allDisabled = false;
    WhenDialogShown driver([&](CommPortsDialog& dialog) {
        allDisabled = true;
        for (int n = 1; n <= 4; ++n)
            allDisabled = allDisabled && !dialog.option(n)->isEnabled();
        dialog.okButton()->click();
    });
    s.chooser.OpenSavedPort();
    QVERIFY(allDisabled);
    QCOMPARE(s.chooser.PortNumber(), 0);
    QVERIFY(!s.link.isPortOpen());
    QCOMPARE(FileBytes(s.custFile), QByteArray("\x00\x00", 2));
}

void PortChooserTest::comPort_dialogFollowsTheLatestScanEachTime() {
    Setup s;
    WriteFile(s.custFile, QByteArray("\x02\x00", 2));
    s.chooser.ScanPorts();
    s.chooser.OpenSavedPort();
    bool offeredFirst = false;
    {
        WhenDialogShown driver([&](CommPortsDialog& dialog) {
            offeredFirst = dialog.option(3)->isEnabled();
            dialog.okButton()->click();
        });
        s.chooser.chooseComPort();
    }
    // Another program takes port 3 between two showings of the hidden dialog.
    QSerialPort other(s.three.path());
    QVERIFY(other.open(QIODevice::ReadWrite));
    bool offeredSecond = true;
    WhenDialogShown driver([&](CommPortsDialog& dialog) {
        offeredSecond = dialog.option(3)->isEnabled();
        dialog.okButton()->click();
    });
    s.chooser.chooseComPort();
    QVERIFY(offeredFirst);
    QVERIFY(!offeredSecond);
    QCOMPARE(s.link.portNumber(), 2);
}

QTEST_MAIN(PortChooserTest)
#include "port_chooser_test.moc"
