// The window's distances in the scale of the sensor on the line, against the simulated
// sensor: found when the port opens, changed only by reading or writing the sensor.
#include "app/main_window.h"
#include "app/status_panel.h"
#include "app_test_support.h"
#include "link/ui/sensor_link.h"

#include <QAction>
#include <QSettings>
#include <QtTest>

using namespace telmora;
using telmora::app_test::NextModal;
using telmora::app_test::Sandbox;
using telmora::app_test::Simulator;
using telmora::app_test::TextOf;

namespace {

constexpr int kPatienceMs = 10000;
const QString kFound = "Distances in 0.006768 inch per count, as the sensor counts";
const QString kAssumed =
    "Distances assume 0.003384 inch per count until a configuration is read from the sensor";

// Waits until `count` more readings have been taken into the statistics.
bool MoreReadings(MainWindow& window, int count) {
    const int from = TextOf(window, "txtNumOfSamples").toInt();
    return QTest::qWaitFor(
        [&] { return TextOf(window, "txtNumOfSamples").toInt() >= from + count; }, kPatienceMs);
}

// Distance shown, and the statistics' smallest and largest.
QStringList Shown(MainWindow& window) {
    return {TextOf(window, "txtCurrentDistance"), TextOf(window, "txtMinDistance"),
            TextOf(window, "txtMaxDistance")};
}

} // namespace

class LineScaleTest : public QObject {
    Q_OBJECT

  private slots:
    void FactoryKelvoB_CommandDuringTheSearch_OnlySensorExchangesChangeTheScale();
    void SearchOff_AssumesTheScaleUntilARead_AndTheSettingIsRemembered();
};

void LineScaleTest::FactoryKelvoB_CommandDuringTheSearch_OnlySensorExchangesChangeTheScale() {
    // Every reply one character time late: the search is still running when the user acts.
    Simulator sim({"--distance", "40", "--rate", "40", "--paced"});
    Sandbox sandbox(sim.Path());
    Sandbox::SetFindScale(true);
    MainWindow window;
    QTRY_VERIFY_WITH_TIMEOUT(window.Link().IsFindingScale(), kPatienceMs);
    NextModal unexpected(NextModal::Dismiss, 4 * kPatienceMs);
    window.Menus().mnuFileOpenFromSensor->trigger();
    QVERIFY(!window.Link().IsFindingScale());
    QCOMPARE(window.Link().LineCountDistance(), kCountDistanceLong);
    QCOMPARE(window.Status().Scale()->text(), kFound);
    QVERIFY(MoreReadings(window, 3));
    // The readings before the read were in the assumed scale; the statistics forgot them.
    const QStringList forty = {"40.00", "40.00", "40.00"};
    QCOMPARE(Shown(window), forty);

    // A window set up for the normal range, saved to a file and loaded again: the encoder
    // sets the record's CountDistance, the sensor's scale stays.
    window.Config().MaxRange = 50;
    window.ShowRecordB();
    QVERIFY(window.SaveConfigurationFile(sandbox.Path("normal.cfg")));
    QCOMPARE(window.Config().CountDistance, kCountDistanceNormal);
    QVERIFY(window.LoadConfigurationFile(sandbox.Path("normal.cfg")));
    QVERIFY(MoreReadings(window, 3));
    QCOMPARE(window.Link().LineCountDistance(), kCountDistanceLong);
    QCOMPARE(Shown(window), forty);

    // Written to the sensor, the normal range is the sensor's scale: still 40 inches.
    window.Menus().mnuFileSaveToSensor->trigger();
    QCOMPARE(window.Link().LineCountDistance(), kCountDistanceNormal);
    QCOMPARE(window.Status().Scale()->text(),
             QString("Distances in 0.003384 inch per count, as the sensor counts"));
    QVERIFY(MoreReadings(window, 3));
    QCOMPARE(Shown(window), forty);
    QVERIFY2(!unexpected.Seen(), qPrintable(unexpected.Text()));
}

void LineScaleTest::SearchOff_AssumesTheScaleUntilARead_AndTheSettingIsRemembered() {
    QTemporaryDir dir;
    const QString received = dir.filePath("received");
    Simulator sim({"--distance", "40", "--rate", "40", "--record", received});
    Sandbox sandbox(sim.Path());
    {
        MainWindow window;
        QCOMPARE(window.Status().Scale()->text(), kAssumed);
        QVERIFY(!window.Menus().mnuFindScaleOnOpen->isChecked());
        QVERIFY(MoreReadings(window, 3));
        QCOMPARE(TextOf(window, "txtCurrentDistance"), QString("20.00"));
        QCOMPARE(app_test::ReadAll(received), QByteArray()); // nothing asked of the sensor
        // A read gives the sensor's scale; the statistics do not mix the two.
        window.Menus().mnuFileOpenFromSensor->trigger();
        QCOMPARE(window.Status().Scale()->text(), kFound);
        QVERIFY(MoreReadings(window, 3));
        QCOMPARE(Shown(window), QStringList({"40.00", "40.00", "40.00"}));
        window.Menus().mnuFindScaleOnOpen->trigger();
    }
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "Telmora", "Telmora");
    QCOMPARE(settings.value("link/findDistanceScaleWhenOpening").toBool(), true);
    MainWindow window;
    QVERIFY(window.Menus().mnuFindScaleOnOpen->isChecked());
    QTRY_COMPARE_WITH_TIMEOUT(window.Status().Scale()->text(), kFound, kPatienceMs);
    QVERIFY(MoreReadings(window, 2));
    QCOMPARE(TextOf(window, "txtCurrentDistance"), QString("40.00"));
}

QTEST_MAIN(LineScaleTest)
#include "line_scale_qttest.moc"
