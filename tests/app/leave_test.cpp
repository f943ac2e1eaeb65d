// Leaving the program while an exchange waits, through the window's real wait and the
// application's own event loop, against the simulated sensor: the loop ends, a detection
// or read tells the sensor to stream again, and a write ends only when the user agrees.
#include "app/main_window.h"
#include "app_test_support.h"
#include "link/ui/sensor_link.h"

#include <QAction>
#include <QtTest>

using namespace telmora;
using telmora::app_test::NextModal;
using telmora::app_test::Sandbox;
using telmora::app_test::Simulator;

namespace {

constexpr int kPatienceMs = 15000;

// What the sensor received, frame by frame: "W55", "T", "G10", "P10", "E".
QStringList Frames(const QByteArray& bytes) {
    QStringList frames;
    for (qsizetype i = 0; i < bytes.size();) {
        const char letter = bytes[i];
        const qsizetype length = letter == 'E' ? 1 : letter == 'T' ? 3 : 6;
        QString frame(QChar::fromLatin1(letter));
        if (length == 6 && i + 3 < bytes.size()) {
            frame += QString::number(static_cast<unsigned char>(bytes[i + 3]));
        }
        frames << frame;
        i += length;
    }
    return frames;
}

} // namespace

class LeaveTest : public QObject {
    Q_OBJECT

  private slots:
    void LeavingDuringAnExchange_EndsTheProgramsEventLoop_data();
    void LeavingDuringAnExchange_EndsTheProgramsEventLoop();
};

void LeaveTest::LeavingDuringAnExchange_EndsTheProgramsEventLoop_data() {
    QTest::addColumn<QString>("exchange");
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("exit during detection") << QString("detection") << false;
    QTest::newRow("close during read") << QString("read") << true;
    QTest::newRow("exit during write, no then yes") << QString("write") << false;
    QTest::newRow("close during write, no then yes") << QString("write") << true;
}

void LeaveTest::LeavingDuringAnExchange_EndsTheProgramsEventLoop() {
    QFETCH(QString, exchange);
    QFETCH(bool, closeBox);
    const bool detection = exchange == "detection";
    const bool write = exchange == "write";
    const QString lastFrame = write ? "P" : "E";
    QTemporaryDir dir;
    const QString received = dir.filePath("received");
    Simulator sim({"--rate", "5", "--family", "b", "--record", received, "--fault",
                   detection ? "silent" : "late=30"});
    Sandbox sandbox(sim.Path());
    MainWindow window;
    const MainMenus& m = window.Menus();
    auto leave = [&] { closeBox ? (void)window.close() : m.mnuFileExit->trigger(); };

    // A detection leaves after its second frame; a read or write once 20 registers went.
    int registers = 0;
    int registersAtNo = -1;
    std::unique_ptr<NextModal> no, yes;
    QTimer watch;
    connect(&window.Link(), &SensorLink::ProgressChanged, this, [&] { ++registers; });
    connect(&watch, &QTimer::timeout, this, [&] {
        if (!window.Link().IsBusy()) {
            return;
        }
        if ((detection && Frames(app_test::ReadAll(received)).size() >= 2) ||
            (!write && registers >= 20)) {
            watch.stop();
            leave();
        } else if (write && registers >= 20 && registersAtNo < 0) {
            // The question is open while the write goes on; No keeps writing.
            registersAtNo = registers;
            no = std::make_unique<NextModal>(
                [](QWidget* box) { NextModal::Answer(box, QMessageBox::No); }, kPatienceMs);
            leave();
        } else if (write && registersAtNo >= 0 && registers >= registersAtNo + 20) {
            watch.stop();
            yes = std::make_unique<NextModal>(
                [](QWidget* box) { NextModal::Answer(box, QMessageBox::Yes); }, kPatienceMs);
            leave();
        }
    });
    watch.start(10);
    QTimer::singleShot(0, &window, [&] {
        write ? m.mnuFileSaveToSensor->trigger() : m.mnuFileOpenFromSensor->trigger();
    });
    // Should the program not leave, this ends its loop with a code of its own.
    QTimer::singleShot(kPatienceMs, [] { QCoreApplication::exit(99); });
    QCOMPARE(QApplication::exec(), 0);

    QVERIFY(!window.Link().IsBusy());
    QVERIFY(!window.Link().IsPortOpen());
    if (write) {
        for (const auto& box : {no.get(), yes.get()}) {
            QVERIFY(box != nullptr && box->Seen());
            QCOMPARE(box->Title(), QString("Warning"));
            QCOMPARE(box->Text(), QString("The sensor is being written. Leaving now leaves it "
                                          "partly written. Leave anyway?"));
        }
        QVERIFY2(registers >= registersAtNo + 20, "the write went on after No");
    }
    QStringList frames;
    QTRY_VERIFY2_WITH_TIMEOUT(!(frames = Frames(app_test::ReadAll(received))).isEmpty() &&
                                  frames.last().startsWith(lastFrame),
                              qPrintable(frames.join(' ')), kPatienceMs);
    // Nothing followed, and the exchange was cut short: the read and write stopped after
    // the registers counted, the detection after its second frame.
    QTest::qWait(300);
    QCOMPARE(Frames(app_test::ReadAll(received)), frames);
    const qsizetype exchangeFrames =
        frames.size() - frames.count("W55") - frames.count("T") - (lastFrame == "E" ? 1 : 0);
    if (detection) {
        QVERIFY2(frames.count("W55") >= 2 && frames.count("W55") < 10,
                 qPrintable(frames.join(' ')));
        QCOMPARE(exchangeFrames, 0);
    } else {
        QVERIFY2(exchangeFrames > 20 && exchangeFrames < 80, qPrintable(frames.join(' ')));
        QCOMPARE(frames.filter(write ? "G" : "P"), QStringList());
    }
}

QTEST_MAIN(LeaveTest)
#include "leave_test.moc"
