// What the status bar tells the user on its own: an entry the configuration cannot hold
// (shown as the value that will be stored, or refused), and readings that stopped coming.
#include "app/main_window.h"
#include "app/status_panel.h"
#include "app_test_support.h"
#include "display/ui/live_gauges_view.h"
#include "display/ui/measurement_display.h"
#include "form/editor_widgets.h"

#include <QSignalSpy>
#include <QStatusBar>
#include <QtTest>

using namespace telmora;

class StatusNotesTest : public QObject {
    Q_OBJECT
  private slots:
    void Entries_ShowTheStoredValue_AndSayOnceWhichLimitApplied();
    void Readings_SilentForFiveSeconds_ShowAsStaleUntilTheNext();
};

void StatusNotesTest::Entries_ShowTheStoredValue_AndSayOnceWhichLimitApplied() {
    app_test::Sandbox sandbox;
    MainWindow window;
    QSignalSpy messages(window.statusBar(), &QStatusBar::messageChanged);
    const QString unchanged; // the box goes back to what it showed
    const struct {
        const char* box;
        QString typed, shown, note;
    } rows[] = {
        {"txtMaxRange", "200", "200.00", ""}, // normal range: single ticks
        {"txtSw1Setpoint", "500", "221.77",
         "Switch 1 setpoint limited to 221.77 inches, the largest the sensor can hold"},
        {"txtSw2Setpoint", "-4", "0.00",
         "Switch 2 setpoint limited to 0.00 inches, the smallest the sensor can hold"},
        {"txtMinRange", "250", unchanged,
         "Minimum range 250.00 inches refused: it must stay below the maximum range, 200.00 "
         "inches"},
        {"txtMaxRange", "3", unchanged,
         "Maximum range 3.00 inches refused: it must stay above the minimum range, 8.00 inches"},
        {"txtMaxRange", "600", "443.54",
         "Maximum range limited to 443.54 inches, the largest the sensor can hold"},
        {"txtAnalogFarOutput", "25", "20.0",
         "Analog far output limited to 20.0 ma, the top of the output scale"},
        {"txtAnalogNearOutput", "-1", "0.0",
         "Analog near output limited to 0.0 ma, the bottom of the output scale"},
    };
    for (const auto& row : rows) {
        auto* box = qobject_cast<EntryBox*>(window.findChild<QLineEdit*>(row.box));
        QVERIFY(box != nullptr);
        const QString before = box->text();
        window.statusBar()->clearMessage();
        messages.clear();
        box->setText(row.typed);
        emit box->Entered();
        emit box->FocusLeft(); // leaving after Enter notes nothing more
        QCOMPARE(box->text(), row.shown.isNull() ? before : row.shown);
        QStringList notes;
        for (const QList<QVariant>& message : messages) {
            if (!message.at(0).toString().isEmpty()) {
                notes << message.at(0).toString();
            }
        }
        QCOMPARE(notes, row.note.isEmpty() ? QStringList() : QStringList{row.note});
    }
    // What the boxes show is what leaves.
    window.ReadWindowB();
    QCOMPARE(window.Config().Sw1Setpoint, 221.77f);
    QCOMPARE(window.Config().MinRange, 8.0f);
    QCOMPARE(window.Config().MaxRange, 443.54f);
    QCOMPARE(window.Config().AnalogFarOutput, 20.0f);
}

void StatusNotesTest::Readings_SilentForFiveSeconds_ShowAsStaleUntilTheNext() {
    app_test::Sandbox sandbox;
    MainWindow window;
    LiveGaugesView& gauges = window.Display().Gauges();
    gauges.Timer2().stop(); // the test drives the ticks
    QTime now(14, 2, 31);
    gauges.SetClock([&now] { return now; });
    QLabel* readings = window.Status().Readings();
    const auto tick = [&gauges](int times) {
        for (int i = 0; i < times; ++i) {
            gauges.Timer2Timer();
        }
    };
    tick(200); // no reading yet: nothing is stale
    QCOMPARE(readings->text(), QString());
    window.Display().ShowReading(50.0f);
    now = now.addSecs(5);
    window.Display().NoteReceiveEvent(); // a delivery that is no reading does not count
    tick(100);
    QCOMPARE(readings->text(), QString());
    tick(1); // the 101st tick: five seconds without a reading
    QCOMPARE(readings->text(), QString("No readings since 14:02:31"));
    QVERIFY(!readings->isHidden());
    tick(300);
    QCOMPARE(readings->text(), QString("No readings since 14:02:31"));
    window.Display().ShowReading(51.0f);
    QCOMPARE(readings->text(), QString());
    QVERIFY(readings->isHidden());
}

QTEST_MAIN(StatusNotesTest)
#include "status_notes_test.moc"
