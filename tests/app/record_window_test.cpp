// The record on the window and back: ShowRecordA/B, ReadWindowA/B, the factory
// configuration, and the Sensor Type menu over the real family B controls.
#include "app/family_layout.h"
#include "app/main_menus.h"
#include "app/main_window.h"
#include "app_test_support.h"
#include "editors/editor_widgets.h"
#include "editors/output_editors.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QtTest>

using namespace telmora;
using telmora::app_test::Sandbox;

namespace {

QString TextOf(QWidget& window, const char* name) {
    if (auto* box = window.findChild<QLineEdit*>(name)) {
        return box->text();
    }
    if (auto* label = window.findChild<QLabel*>(name)) {
        return label->text();
    }
    qFatal("control %s not found", name);
}

void SetText(QWidget& window, const char* name, const QString& text) {
    auto* box = window.findChild<QLineEdit*>(name);
    if (box == nullptr) {
        qFatal("box %s not found", name);
    }
    box->setText(text);
}

// A family B configuration unlike the factory one in every field the window shows, with
// values the window's two-decimal texts carry exactly.
SensorConfig Distinctive() {
    SensorConfig c;
    LoadFactoryDefaultsB(c);
    c.MinRange = 10.5f;
    c.MaxRange = 150.25f;
    c.Sw1Setpoint = 20.5f, c.Sw2Setpoint = 40.75f, c.Sw3Setpoint = 60.25f, c.Sw4Setpoint = 80;
    c.Sw1Hyst = 1.5f, c.Sw2Hyst = 0.75f, c.Sw3Hyst = 2.25f, c.Sw4Hyst = 3;
    c.Sw1Mode = 32, c.Sw2Mode = 0, c.Sw3Mode = 32, c.Sw4Mode = 0;
    c.Sw1PowerUp = 1, c.Sw2PowerUp = 0, c.Sw3PowerUp = 0, c.Sw4PowerUp = 1;
    c.Sw1EchoLoss = 8, c.Sw2EchoLoss = 4, c.Sw3EchoLoss = 0, c.Sw4EchoLoss = 8;
    c.Sw1Polarity = 0, c.Sw2Polarity = 2, c.Sw3Polarity = 0, c.Sw4Polarity = 2;
    c.Sw1SetAllowed = 0, c.Sw2SetAllowed = 16, c.Sw3SetAllowed = 0, c.Sw4SetAllowed = 16;
    c.AnalogNearEndpoint = 15.25f;
    c.AnalogFarEndpoint = 120.5f;
    c.AnalogMode = 128;
    c.AnalogOutputMax = 10;
    c.AnalogNearOutput = 2.5f;
    c.AnalogFarOutput = 7.5f;
    c.AnalogSlope = 1;
    c.AnalogPowerUp = 2;
    c.AnalogEchoLoss = 4;
    c.AnalogSetAllowed = 0;
    c.Description = "Tank 4 level";
    return c;
}

void CompareWindowFields(const SensorConfig& got, const SensorConfig& want, int switches,
                         bool withMode) {
    QCOMPARE(got.MinRange, want.MinRange);
    QCOMPARE(got.MaxRange, want.MaxRange);
    for (int n = 1; n <= switches; ++n) {
        const ConstSwitchFields g = Switch(got, n);
        const ConstSwitchFields w = Switch(want, n);
        QCOMPARE(g.Setpoint, w.Setpoint);
        QCOMPARE(g.PowerUp, w.PowerUp);
        QCOMPARE(g.EchoLoss, w.EchoLoss);
        QCOMPARE(g.Polarity, w.Polarity);
        QCOMPARE(g.SetAllowed, w.SetAllowed);
        if (withMode) {
            QCOMPARE(g.Hyst, w.Hyst);
            QCOMPARE(g.Mode, w.Mode);
        }
    }
    QCOMPARE(got.AnalogNearEndpoint, want.AnalogNearEndpoint);
    QCOMPARE(got.AnalogFarEndpoint, want.AnalogFarEndpoint);
    QCOMPARE(got.AnalogNearOutput, want.AnalogNearOutput);
    QCOMPARE(got.AnalogFarOutput, want.AnalogFarOutput);
    QCOMPARE(got.AnalogSlope, want.AnalogSlope);
    QCOMPARE(got.AnalogMode, want.AnalogMode);
    QCOMPARE(got.AnalogPowerUp, want.AnalogPowerUp);
    QCOMPARE(got.AnalogEchoLoss, want.AnalogEchoLoss);
    QCOMPARE(got.AnalogSetAllowed, want.AnalogSetAllowed);
    QCOMPARE(got.Description, want.Description);
}

// A record that differs from Distinctive() everywhere, to read the window back into.
SensorConfig Scrambled() {
    SensorConfig c;
    c.MinRange = c.MaxRange = -1;
    for (int n = 1; n <= 4; ++n) {
        SwitchFields sw = Switch(c, n);
        sw.Setpoint = sw.Hyst = -1;
        sw.Mode = sw.PowerUp = sw.EchoLoss = sw.Polarity = sw.SetAllowed = 99;
    }
    c.AnalogNearEndpoint = c.AnalogFarEndpoint = c.AnalogNearOutput = c.AnalogFarOutput = -1;
    c.AnalogSlope = c.AnalogMode = c.AnalogPowerUp = c.AnalogEchoLoss = 99;
    c.AnalogSetAllowed = 99;
    c.Description = "scrambled";
    return c;
}

} // namespace

class RecordWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void ShowThenRead_FamilyB_GivesBackEveryWindowField();
    void ShowThenRead_FamilyA_LeavesFamilyBFieldsAlone();
    void ShowRecord_WritesTextsCaptionsAndChecks();
    void ShowRecord_OddCodes_ShowAndReadBackAsTheWindowKnowsThem();
    void ReadWindow_FallingAnalogOutput_IsExchangedWithSlopeZero();
    void ReadWindow_TextsThatAreNotNumbers_ReadAsTheirLeadingNumber();
    void EqualRangeBounds_PlaceEverythingOnTheBarsLeftEdge();
    void CommaLocale_StillWritesAndReadsPeriods();
    void NewFactoryConfiguration_ShowsTheSelectedFamilysDefaults();
    void SensorType_HidesAndShowsTheTwentyEightControlsKeepingTheirValues();
};

void RecordWindowTest::ShowThenRead_FamilyB_GivesBackEveryWindowField() {
    Sandbox sandbox;
    MainWindow window;
    const SensorConfig want = Distinctive();
    window.Config() = want;
    window.ShowRecordB();
    window.Config() = Scrambled();
    window.ReadWindowB();
    CompareWindowFields(window.Config(), want, 4, true);
}

void RecordWindowTest::ShowThenRead_FamilyA_LeavesFamilyBFieldsAlone() {
    Sandbox sandbox;
    MainWindow window;
    window.mnuSensorTypeKelvoAClick();
    const SensorConfig want = Distinctive();
    window.Config() = want;
    window.ShowRecordA();
    const SensorConfig scrambled = Scrambled();
    window.Config() = scrambled;
    window.ReadWindowA();
    CompareWindowFields(window.Config(), want, 2, false);
    const SensorConfig& got = window.Config();
    QCOMPARE(got.Sw1Hyst, scrambled.Sw1Hyst);
    QCOMPARE(got.Sw2Mode, scrambled.Sw2Mode);
    QCOMPARE(got.Sw3Setpoint, scrambled.Sw3Setpoint);
    QCOMPARE(got.Sw4EchoLoss, scrambled.Sw4EchoLoss);
}

void RecordWindowTest::ShowRecord_WritesTextsCaptionsAndChecks() {
    Sandbox sandbox;
    MainWindow window;
    SensorConfig c = Distinctive();
    c.MinRange = 6.5f;
    c.MaxRange = 1234.5f;
    c.AnalogNearOutput = 4;
    window.Config() = c;
    window.ShowRecordB();
    QCOMPARE(TextOf(window, "txtMinRange"), QString("6.50"));
    QCOMPARE(TextOf(window, "lblMinRange"), QString("6.50"));
    QCOMPARE(TextOf(window, "txtMaxRange"), QString("1234.50"));
    QCOMPARE(TextOf(window, "lblMaxRange"), QString("1234.50"));
    QCOMPARE(TextOf(window, "txtSw1Setpoint"), QString("20.50"));
    QCOMPARE(TextOf(window, "txtSw3Hyst"), QString("2.25"));
    QCOMPARE(TextOf(window, "lblSw1Mode"), QString("Wind"));
    QCOMPARE(TextOf(window, "lblSw2Mode"), QString("Hyst"));
    QCOMPARE(TextOf(window, "lblSw1PowerUp"), QString("On"));
    QCOMPARE(TextOf(window, "lblSw2PowerUp"), QString("Off"));
    QCOMPARE(TextOf(window, "lblSw1EchoLoss"), QString("On"));
    QCOMPARE(TextOf(window, "lblSw2EchoLoss"), QString("Off"));
    QCOMPARE(TextOf(window, "lblSw3EchoLoss"), QString("NC"));
    QCOMPARE(TextOf(window, "lblSw1Left"), QString("Off"));
    QCOMPARE(TextOf(window, "lblSw1Right"), QString("On"));
    QCOMPARE(TextOf(window, "lblSw2Left"), QString("On"));
    QCOMPARE(TextOf(window, "lblSw2Right"), QString("Off"));
    QVERIFY(!window.Menus().SwSetAllowed(1)->isChecked());
    QVERIFY(window.Menus().SwSetAllowed(2)->isChecked());
    QVERIFY(!window.Menus().mnuAnalogSetAllowed->isChecked());
    QCOMPARE(TextOf(window, "txtAnalogNearEndpoint"), QString("15.25"));
    QCOMPARE(TextOf(window, "lblAnalogPowerUp"), QString("High"));
    QCOMPARE(TextOf(window, "lblAnalogEchoLoss"), QString("Low"));
    QCOMPARE(TextOf(window, "lblAnalogMode"), QString("Voltage"));
    QCOMPARE(TextOf(window, "lblAnalogNearOutputUnits"), QString("volts"));
    // Written as 4, then rewritten by the placement with one decimal.
    QCOMPARE(TextOf(window, "txtAnalogNearOutput"), QString("4.0"));
    QCOMPARE(TextOf(window, "txtDescription"), QString("Tank 4 level"));
    // The pop-up's check marks follow the labels.
    QVERIFY(window.findChild<QAction*>("mnuSw1ModeWind")->isChecked());
    QVERIFY(!window.findChild<QAction*>("mnuSw1ModeHyst")->isChecked());
    QVERIFY(window.findChild<QAction*>("mnuAnalogEchoLossLow")->isChecked());
}

void RecordWindowTest::ShowRecord_OddCodes_ShowAndReadBackAsTheWindowKnowsThem() {
    Sandbox sandbox;
    MainWindow window;
    SensorConfig c = Distinctive();
    c.Sw1Mode = 64; // a decoded image may carry either mode bit
    c.Sw2Mode = 96;
    c.Sw1EchoLoss = 12; // both bits: no caption for it
    c.Sw3PowerUp = 5;
    c.Sw4Polarity = 7;
    c.Sw1SetAllowed = 17;
    c.AnalogEchoLoss = 4;
    window.Config() = c;
    window.ShowRecordB();
    QCOMPARE(TextOf(window, "lblAnalogEchoLoss"), QString("Low"));

    c.AnalogEchoLoss = 12; // leaves the analog label as it was
    window.Config() = c;
    window.ShowRecordB();
    QCOMPARE(TextOf(window, "lblSw1Mode"), QString("Wind"));
    QCOMPARE(TextOf(window, "lblSw2Mode"), QString("Wind"));
    QCOMPARE(TextOf(window, "lblSw1EchoLoss"), QString("NC"));
    QCOMPARE(TextOf(window, "lblSw3PowerUp"), QString("Off"));
    QCOMPARE(TextOf(window, "lblSw4Left"), QString("Off"));
    QCOMPARE(TextOf(window, "lblAnalogEchoLoss"), QString("Low"));

    window.ReadWindowB();
    const SensorConfig& got = window.Config();
    QCOMPARE(got.Sw1Mode, std::int16_t(32));
    QCOMPARE(got.Sw2Mode, std::int16_t(32));
    QCOMPARE(got.Sw1EchoLoss, std::int16_t(0));
    QCOMPARE(got.Sw3PowerUp, std::int16_t(0));
    QCOMPARE(got.Sw4Polarity, std::int16_t(0));
    QCOMPARE(got.Sw1SetAllowed, std::int16_t(0));
    QCOMPARE(got.AnalogEchoLoss, std::int16_t(4));
}

void RecordWindowTest::ReadWindow_FallingAnalogOutput_IsExchangedWithSlopeZero() {
    Sandbox sandbox;
    MainWindow window; // current mode, 0 to 20 mA
    SetText(window, "txtAnalogNearOutput", "20.0");
    SetText(window, "txtAnalogFarOutput", "4.0");
    window.ReadWindowB();
    QCOMPARE(window.Config().AnalogNearOutput, 4.0f);
    QCOMPARE(window.Config().AnalogFarOutput, 20.0f);
    QCOMPARE(window.Config().AnalogSlope, std::int16_t(0));
    QCOMPARE(TextOf(window, "txtAnalogNearOutput"), QString("20.0"));
    QCOMPARE(TextOf(window, "txtAnalogFarOutput"), QString("4.0"));

    SetText(window, "txtAnalogNearOutput", "7.5");
    SetText(window, "txtAnalogFarOutput", "7.5");
    window.ReadWindowB();
    QCOMPARE(window.Config().AnalogSlope, std::int16_t(1));
    QCOMPARE(window.Config().AnalogNearOutput, 7.5f);
}

void RecordWindowTest::ReadWindow_TextsThatAreNotNumbers_ReadAsTheirLeadingNumber() {
    Sandbox sandbox;
    MainWindow window;
    SetText(window, "txtSw2Setpoint", "");
    SetText(window, "txtSw1Setpoint", "12.5 inches");
    SetText(window, "txtSw3Hyst", "wide");
    SetText(window, "txtMaxRange", "1e999");
    SetText(window, "txtAnalogFarEndpoint", " -3e1x");
    window.ReadWindowB();
    const SensorConfig& got = window.Config();
    QCOMPARE(got.Sw2Setpoint, 0.0f);
    QCOMPARE(got.Sw1Setpoint, 12.5f);
    QCOMPARE(got.Sw3Hyst, 0.0f);
    QVERIFY(std::isfinite(got.MaxRange));
    QCOMPARE(got.AnalogFarEndpoint, -30.0f);
}

void RecordWindowTest::EqualRangeBounds_PlaceEverythingOnTheBarsLeftEdge() {
    Sandbox sandbox;
    MainWindow window;
    SensorConfig c = Distinctive();
    c.MinRange = 50;
    c.MaxRange = 50;
    window.Config() = c;
    window.ShowRecordB();
    FormGeometry& g = window.Geometry();
    auto* bar = window.findChild<QLabel*>("lblRange");
    for (const char* name :
         {"lblSw1Right", "lblSw4Right", "lblAnalogTopRight", "lblAnalogBottomRight"}) {
        auto* handle = window.findChild<QLabel*>(name);
        QVERIFY2(handle != nullptr, name);
        QCOMPARE(g.Left(handle), g.Left(bar));
        QCOMPARE(g.Width(handle), g.Width(bar));
    }
    // The window still reads back what it shows.
    window.ReadWindowB();
    QCOMPARE(window.Config().Sw1Setpoint, 20.5f);
}

void RecordWindowTest::CommaLocale_StillWritesAndReadsPeriods() {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    {
        Sandbox sandbox;
        MainWindow window;
        const SensorConfig want = Distinctive();
        window.Config() = want;
        window.ShowRecordB();
        QCOMPARE(TextOf(window, "txtSw1Setpoint"), QString("20.50"));
        QCOMPARE(TextOf(window, "txtAnalogNearOutput"), QString("2.5"));
        window.Config() = Scrambled();
        window.ReadWindowB();
        CompareWindowFields(window.Config(), want, 4, true);
    }
    QLocale::setDefault(previous);
}

void RecordWindowTest::NewFactoryConfiguration_ShowsTheSelectedFamilysDefaults() {
    Sandbox sandbox;
    MainWindow window;
    window.Config() = Distinctive();
    window.ShowRecordB();
    window.mnuSensorTypeKelvoAClick();
    window.Menus().mnuFileNewFactoryConfiguration->trigger();
    QCOMPARE(TextOf(window, "txtMinRange"), QString("6.50"));
    QCOMPARE(TextOf(window, "txtMaxRange"), QString("221.72"));
    QCOMPARE(TextOf(window, "txtAnalogNearEndpoint"), QString("6.50"));
    QCOMPARE(TextOf(window, "txtDescription"), QString("<describe configuration here>"));
    // Family A defaults leave switch 3 as it was.
    QCOMPARE(window.Config().Sw3Setpoint, 60.25f);
    QCOMPARE(TextOf(window, "txtSw3Setpoint"), QString("60.25"));

    window.mnuSensorTypeKelvoBClick();
    window.Menus().mnuFileNewFactoryConfiguration->trigger();
    QCOMPARE(TextOf(window, "txtMinRange"), QString("8.00"));
    QCOMPARE(TextOf(window, "txtSw3Setpoint"), QString("36.00"));
    QCOMPARE(TextOf(window, "txtAnalogNearOutput"), QString("4.0"));
    QCOMPARE(TextOf(window, "lblAnalogMode"), QString("Current"));
}

void RecordWindowTest::SensorType_HidesAndShowsTheTwentyEightControlsKeepingTheirValues() {
    Sandbox sandbox;
    MainWindow window;
    QCOMPARE(ShowFamilyBOnlyControls(&window, true), 28);
    const QString sw3 = TextOf(window, "txtSw3Setpoint");
    auto hidden = [&window](const QString& name) {
        QObject* control = window.findChild<QObject*>(name);
        if (auto* menu = qobject_cast<QMenu*>(control)) {
            return !menu->menuAction()->isVisible();
        }
        if (auto* action = qobject_cast<QAction*>(control)) {
            return !action->isVisible();
        }
        return qobject_cast<QWidget*>(control)->isHidden();
    };
    for (const QString& name : FamilyBOnlyControls()) {
        QVERIFY2(!hidden(name), qPrintable(name));
    }
    window.Menus().mnuSensorTypeKelvoA->trigger();
    for (const QString& name : FamilyBOnlyControls()) {
        QVERIFY2(hidden(name), qPrintable(name));
    }
    for (const char* name : {"txtSw1Setpoint", "lblSw2Left", "lblSw1EchoLoss", "txtMinRange",
                             "lblAnalogMode", "txtDescription"}) {
        QVERIFY2(!window.findChild<QWidget*>(name)->isHidden(), name);
    }
    window.Menus().mnuSensorTypeKelvoB->trigger();
    for (const QString& name : FamilyBOnlyControls()) {
        QVERIFY2(!hidden(name), qPrintable(name));
    }
    QCOMPARE(TextOf(window, "txtSw3Setpoint"), sw3);
}

QTEST_MAIN(RecordWindowTest)
#include "record_window_test.moc"
