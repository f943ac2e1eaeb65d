#include "dialogs/filter_dialog_a.h"

#include "dialog_test_support.h"

#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

using namespace telmora;
using namespace telmora::dialog_test;

namespace {
const QStringList kOptions = {"optFilterNone", "optAverageOf"};

SensorConfig RecordWithFilter(int type, int samples) {
    SensorConfig config;
    LoadFactoryDefaultsA(config);
    config.FilterType = static_cast<std::int16_t>(type);
    config.NumberOfSamples = static_cast<std::int16_t>(samples);
    return config;
}
} // namespace

class FilterDialogATest : public QObject {
    Q_OBJECT
  private slots:
    void Controls_CarryTheirCaptionsTooltipsAndSpokenNames_data();
    void Controls_CarryTheirCaptionsTooltipsAndSpokenNames();
    void Window_IsModalWithItsTitleAndOptionsInOneFrame();

    void Load_ShowsStoredFilterType_data();
    void Load_ShowsStoredFilterType();
    void Load_ForeignFilterTypeIsResetAtOnce_EvenWhenCancelled();

    void OptionClicks_EnableTheSampleCountOnlyForAverage();

    void Ok_AverageOf_StoresTheCountByTheRoundingAndLimitRules_data();
    void Ok_AverageOf_StoresTheCountByTheRoundingAndLimitRules();
    void Ok_None_StoresNoFilterWhateverTheBoxHolds();
    void Ok_LeavesOtherFieldsAlone();

    void CancelEscapeAndCloseBox_StoreNothing_data();
    void CancelEscapeAndCloseBox_StoreNothing();

    void Edit_RunsModallyAndReportsWhetherOkWasPressed();
};

void FilterDialogATest::Controls_CarryTheirCaptionsTooltipsAndSpokenNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("tooltip");
    QTest::newRow("None") << "optFilterNone"
                          << "None"
                          << "Click to turn off all filtering";
    QTest::newRow("Average") << "optAverageOf"
                             << "Average Of"
                             << "Take an average of from 2 to 255 measurements";
    QTest::newRow("label") << "lblNumberOfSamples"
                           << "Number Of Samples"
                           << "";
    QTest::newRow("box") << "txtNumberOfSamples"
                         << ""
                         << "Enater number of samples for Ave, Min and Max filters";
    QTest::newRow("OK") << "cmdOK"
                        << "OK"
                        << "Click to accept changes";
    QTest::newRow("Cancel") << "cmdCancel"
                            << "Cancel"
                            << "Click to return without changes";
}

void FilterDialogATest::Controls_CarryTheirCaptionsTooltipsAndSpokenNames() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, tooltip);
    SensorConfig config = RecordWithFilter(1, 0);
    FilterDialogA dialog(config);
    QWidget* control = Find<QWidget>(&dialog, qPrintable(name));
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        QCOMPARE(button->text(), caption);
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        QCOMPARE(label->text(), caption);
    }
    QCOMPARE(control->toolTip(), tooltip);
    QCOMPARE(ControlsWithoutSpokenName(&dialog), QStringList());
}

void FilterDialogATest::Window_IsModalWithItsTitleAndOptionsInOneFrame() {
    SensorConfig config = RecordWithFilter(1, 0);
    FilterDialogA dialog(config);
    QCOMPARE(dialog.objectName(), QString("frmFilterA"));
    QCOMPARE(dialog.windowTitle(), QString("Kelvo-A Filters"));
    QVERIFY(dialog.isModal());
    auto* frame = Find<QGroupBox>(&dialog, "Frame1");
    QVERIFY(frame->title().isEmpty());
    for (const QString& option : kOptions) {
        QVERIFY(frame->isAncestorOf(Find<QWidget>(&dialog, qPrintable(option))));
    }
    // One group: choosing one clears the other.
    Show(dialog);
    Click(&dialog, "optAverageOf");
    QCOMPARE(CheckedAmong(&dialog, kOptions), QStringList{"optAverageOf"});
}

void FilterDialogATest::Load_ShowsStoredFilterType_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("samples");
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("count");
    QTest::addColumn<bool>("countEnabled");
    QTest::addColumn<int>("typeAfterLoad");
    QTest::newRow("none") << 1 << 1 << "optFilterNone"
                          << "1" << false << 1;
    QTest::newRow("average of 16") << 2 << 16 << "optAverageOf"
                                   << "16" << true << 2;
    QTest::newRow("average of 255") << 2 << 255 << "optAverageOf"
                                    << "255" << true << 2;
    // Family B's codes and codes no family has all come back as "None".
    for (int type : {3, 4, 5, 6, 7, 0, 8, -1, 300}) {
        QTest::addRow("foreign %d", type) << type << 10 << "optFilterNone"
                                          << "1" << false << 1;
    }
}

void FilterDialogATest::Load_ShowsStoredFilterType() {
    QFETCH(int, type);
    QFETCH(int, samples);
    QFETCH(QString, option);
    QFETCH(QString, count);
    QFETCH(bool, countEnabled);
    QFETCH(int, typeAfterLoad);
    SensorConfig config = RecordWithFilter(type, samples);
    FilterDialogA dialog(config);
    QCOMPARE(CheckedAmong(&dialog, kOptions), QStringList{option});
    QCOMPARE(TextOf(&dialog, "txtNumberOfSamples"), count);
    QCOMPARE(IsEnabled(&dialog, "txtNumberOfSamples"), countEnabled);
    QCOMPARE(IsEnabled(&dialog, "lblNumberOfSamples"), countEnabled);
    QCOMPARE(int(config.FilterType), typeAfterLoad);
    QCOMPARE(int(config.NumberOfSamples), samples);
}

void FilterDialogATest::Load_ForeignFilterTypeIsResetAtOnce_EvenWhenCancelled() {
    SensorConfig config = RecordWithFilter(6, 0);
    FilterDialogA dialog(config);
    QCOMPARE(int(config.FilterType), 1);
    Show(dialog);
    Click(&dialog, "optAverageOf");
    Type(&dialog, "txtNumberOfSamples", "20");
    Click(&dialog, "cmdCancel");
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(int(config.FilterType), 1);
    QCOMPARE(int(config.NumberOfSamples), 0);
}

void FilterDialogATest::OptionClicks_EnableTheSampleCountOnlyForAverage() {
    SensorConfig config = RecordWithFilter(1, 0);
    FilterDialogA dialog(config);
    Show(dialog);
    Click(&dialog, "optAverageOf");
    QVERIFY(IsEnabled(&dialog, "txtNumberOfSamples"));
    QVERIFY(IsEnabled(&dialog, "lblNumberOfSamples"));
    Click(&dialog, "optFilterNone");
    QVERIFY(!IsEnabled(&dialog, "txtNumberOfSamples"));
    QVERIFY(!IsEnabled(&dialog, "lblNumberOfSamples"));
}

void FilterDialogATest::Ok_AverageOf_StoresTheCountByTheRoundingAndLimitRules_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("samples");
    QTest::newRow("2 is the least average") << "2" << 2 << 2;
    QTest::newRow("1 turns the filter off") << "1" << 1 << 0;
    QTest::newRow("0") << "0" << 1 << 0;
    QTest::newRow("negative") << "-4" << 1 << 0;
    QTest::newRow("empty") << "" << 1 << 0;
    QTest::newRow("letters") << "abc" << 1 << 0;
    QTest::newRow("255 is the most") << "255" << 2 << 255;
    QTest::newRow("256 is cut") << "256" << 2 << 255;
    QTest::newRow("300 is cut") << "300" << 2 << 255;
    QTest::newRow("1.5 rounds up to even") << "1.5" << 2 << 2;
    QTest::newRow("2.5 rounds down to even") << "2.5" << 2 << 2;
    QTest::newRow("3.5 rounds up to even") << "3.5" << 2 << 4;
    QTest::newRow("1.4 rounds to 1, filter off") << "1.4" << 1 << 0;
    QTest::newRow("leading number") << "16 samples" << 2 << 16;
    QTest::newRow("exponent") << "1e2" << 2 << 100;
    // Beyond 16 bits a count is too many, never wrapped to a small one.
    QTest::newRow("99999") << "99999" << 2 << 255;
    QTest::newRow("65538 would wrap to 2") << "65538" << 2 << 255;
    QTest::newRow("65537 would wrap to 1") << "65537" << 2 << 255;
    QTest::newRow("-99999") << "-99999" << 1 << 0;
    QTest::newRow("huge") << "1e30" << 2 << 255;
}

void FilterDialogATest::Ok_AverageOf_StoresTheCountByTheRoundingAndLimitRules() {
    QFETCH(QString, typed);
    QFETCH(int, type);
    QFETCH(int, samples);
    SensorConfig config = RecordWithFilter(1, 1);
    FilterDialogA dialog(config);
    Show(dialog);
    Click(&dialog, "optAverageOf");
    Type(&dialog, "txtNumberOfSamples", typed);
    Click(&dialog, "cmdOK");
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(int(config.FilterType), type);
    QCOMPARE(int(config.NumberOfSamples), samples);
}

void FilterDialogATest::Ok_None_StoresNoFilterWhateverTheBoxHolds() {
    SensorConfig config = RecordWithFilter(2, 16);
    FilterDialogA dialog(config);
    Show(dialog);
    Type(&dialog, "txtNumberOfSamples", "50");
    Click(&dialog, "optFilterNone");
    Click(&dialog, "cmdOK");
    QCOMPARE(int(config.FilterType), 1);
    QCOMPARE(int(config.NumberOfSamples), 0);
}

void FilterDialogATest::Ok_LeavesOtherFieldsAlone() {
    SensorConfig config = UnusualRecord();
    config.FilterType = 2;
    SensorConfig expected = config;
    expected.NumberOfSamples = 40;
    FilterDialogA dialog(config);
    Show(dialog);
    Type(&dialog, "txtNumberOfSamples", "40");
    Click(&dialog, "cmdOK");
    QVERIFY(ProcessingFields(config) == ProcessingFields(expected));
}

void FilterDialogATest::CancelEscapeAndCloseBox_StoreNothing_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel") << "cancel";
    QTest::newRow("Escape") << "escape";
    QTest::newRow("close box") << "close";
}

void FilterDialogATest::CancelEscapeAndCloseBox_StoreNothing() {
    QFETCH(QString, how);
    SensorConfig config = UnusualRecord();
    config.FilterType = 2;
    const SensorConfig before = config;
    FilterDialogA dialog(config);
    Show(dialog);
    Type(&dialog, "txtNumberOfSamples", "99");
    Click(&dialog, "optFilterNone");
    if (how == "cancel") {
        Click(&dialog, "cmdCancel");
    } else if (how == "escape") {
        QTest::keyClick(&dialog, Qt::Key_Escape);
    } else {
        dialog.close();
    }
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(ProcessingFields(config) == ProcessingFields(before));
}

void FilterDialogATest::Edit_RunsModallyAndReportsWhetherOkWasPressed() {
    QWidget window;
    window.show();
    SensorConfig config = RecordWithFilter(1, 0);
    bool seen = false;
    WhenModalAppears(
        [&window](QDialog* dialog) {
            QCOMPARE(dialog->objectName(), QString("frmFilterA"));
            QCOMPARE(dialog->parentWidget(), &window);
            Click(dialog, "optAverageOf");
            Type(dialog, "txtNumberOfSamples", "8");
            Click(dialog, "cmdOK");
        },
        &seen);
    QVERIFY(FilterDialogA::Edit(config, &window));
    QVERIFY(seen);
    QCOMPARE(int(config.FilterType), 2);
    QCOMPARE(int(config.NumberOfSamples), 8);

    WhenModalAppears([](QDialog* dialog) { Click(dialog, "cmdCancel"); }, &seen);
    QVERIFY(!FilterDialogA::Edit(config, &window));
    QVERIFY(seen);
    QCOMPARE(int(config.NumberOfSamples), 8);
}

QTEST_MAIN(FilterDialogATest)
#include "filter_dialog_a_test.moc"
