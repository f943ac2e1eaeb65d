#include "dialogs/filter_dialog_b.h"

#include "dialog_test_support.h"

#include <QGroupBox>

using namespace telmora;
using namespace telmora::dialog_test;

namespace {
// Top to bottom, so index + 1 is the filter code.
const char* const kOptionNames[] = {"optFilterNone", "optAverageOf", "optMaxOf",   "optMinOf",
                                    "opt2Consec",    "optSlowFast",  "optFastSlow"};
const QStringList kOptions = {std::begin(kOptionNames), std::end(kOptionNames)};

const char* OptionOf(int type) {
    return kOptionNames[type - 1];
}

SensorConfig RecordWithFilter(int type, int samples) {
    SensorConfig config;
    LoadFactoryDefaultsB(config);
    config.FilterType = static_cast<std::int16_t>(type);
    config.NumberOfSamples = static_cast<std::int16_t>(samples);
    return config;
}
} // namespace

class FilterDialogBTest : public QObject {
    Q_OBJECT
  private slots:
    void Controls_CarryTheirCaptionsTooltipsAndSpokenNames_data();
    void Controls_CarryTheirCaptionsTooltipsAndSpokenNames();
    void Window_IsModalWithItsTitleAndSevenOptionsInOrder();

    void Load_ShowsStoredFilterType_data();
    void Load_ShowsStoredFilterType();

    void OptionClicks_EnableTheSampleCountOnlyForCountingFilters();

    void Ok_CountingFilters_StoreTheCountByTheRoundingAndLimitRules_data();
    void Ok_CountingFilters_StoreTheCountByTheRoundingAndLimitRules();
    void Ok_NonCountingFilters_StoreNoSamplesWhateverTheBoxHolds_data();
    void Ok_NonCountingFilters_StoreNoSamplesWhateverTheBoxHolds();
    void Ok_UnknownStoredCodeWithoutAChoice_KeepsTheCode();

    void Cancel_KeepsEveryField();
};

void FilterDialogBTest::Controls_CarryTheirCaptionsTooltipsAndSpokenNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("tooltip");
    QTest::newRow("None") << "optFilterNone"
                          << "None"
                          << "Click to turn off all filtering";
    QTest::newRow("Average") << "optAverageOf"
                             << "Average Of"
                             << "Take an average of from 2 to 255 measurements";
    QTest::newRow("Max") << "optMaxOf"
                         << "Maximum Of"
                         << "Take the maximum of 2 to 255 measurements";
    QTest::newRow("Min") << "optMinOf"
                         << "Minimum Of"
                         << "Take the minimum of 2 to 255 measurements";
    QTest::newRow("2 Consec")
        << "opt2Consec"
        << "2 Consecutive"
        << "Only use 2 consecutive measurements that are within 12% of each other";
    QTest::newRow("Slow Fast") << "optSlowFast"
                               << "Slow Fast"
                               << "Responds slowly at first to a new target, then more quickly";
    QTest::newRow("Fast Slow") << "optFastSlow"
                               << "Fast Slow"
                               << "Responds like a standard RC filter";
    QTest::newRow("label") << "lblNumberOfSamples"
                           << "Number Of Samples"
                           << "";
    QTest::newRow("box") << "txtNumberOfSamples"
                         << ""
                         << "Enter number of samples for Ave, Min, and Max filters";
    QTest::newRow("OK") << "cmdOK"
                        << "OK"
                        << "Click to accept changes";
    QTest::newRow("Cancel") << "cmdCancel"
                            << "Cancel"
                            << "Click to return without changes";
}

void FilterDialogBTest::Controls_CarryTheirCaptionsTooltipsAndSpokenNames() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, tooltip);
    SensorConfig config = RecordWithFilter(1, 0);
    FilterDialogB dialog(config);
    QWidget* control = Find<QWidget>(&dialog, qPrintable(name));
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        QCOMPARE(button->text(), caption);
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        QCOMPARE(label->text(), caption);
    }
    QCOMPARE(control->toolTip(), tooltip);
    QCOMPARE(ControlsWithoutSpokenName(&dialog), QStringList());
}

void FilterDialogBTest::Window_IsModalWithItsTitleAndSevenOptionsInOrder() {
    SensorConfig config = RecordWithFilter(1, 0);
    FilterDialogB dialog(config);
    QCOMPARE(dialog.objectName(), QString("frmFilterB"));
    QCOMPARE(dialog.windowTitle(), QString("Kelvo-B Filters"));
    QVERIFY(dialog.isModal());
    Show(dialog);
    auto* frame = Find<QGroupBox>(&dialog, "Frame1");
    int previousTop = -1;
    for (const QString& name : kOptions) {
        QWidget* option = Find<QWidget>(&dialog, qPrintable(name));
        QVERIFY(frame->isAncestorOf(option));
        const int top = option->mapTo(&dialog, QPoint(0, 0)).y();
        QVERIFY2(top > previousTop, qPrintable(name));
        previousTop = top;
    }
    // The count stands to the right of the options.
    const int optionsRight = Find<QWidget>(&dialog, "optFastSlow")->mapTo(&dialog, QPoint()).x();
    QVERIFY(Find<QWidget>(&dialog, "txtNumberOfSamples")->mapTo(&dialog, QPoint()).x() >
            optionsRight);
    // One group across all seven.
    Click(&dialog, "optSlowFast");
    Click(&dialog, "optMinOf");
    QCOMPARE(CheckedAmong(&dialog, kOptions), QStringList{"optMinOf"});
}

void FilterDialogBTest::Load_ShowsStoredFilterType_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QStringList>("checked");
    QTest::addColumn<QString>("count");
    QTest::addColumn<bool>("countEnabled");
    for (int type = 1; type <= 7; ++type) {
        const bool counting = type >= 2 && type <= 4;
        QTest::addRow("code %d", type)
            << type << QStringList{kOptions.at(type - 1)} << (counting ? "10" : "0") << counting;
    }
    // Codes no dialog offers select nothing.
    for (int type : {0, 8, 9, -1, 32767}) {
        QTest::addRow("unknown %d", type) << type << QStringList() << "0" << false;
    }
}

void FilterDialogBTest::Load_ShowsStoredFilterType() {
    QFETCH(int, type);
    QFETCH(QStringList, checked);
    QFETCH(QString, count);
    QFETCH(bool, countEnabled);
    SensorConfig config = RecordWithFilter(type, 10);
    const SensorConfig before = config;
    FilterDialogB dialog(config);
    QCOMPARE(CheckedAmong(&dialog, kOptions), checked);
    QCOMPARE(TextOf(&dialog, "txtNumberOfSamples"), count);
    QCOMPARE(IsEnabled(&dialog, "txtNumberOfSamples"), countEnabled);
    QCOMPARE(IsEnabled(&dialog, "lblNumberOfSamples"), countEnabled);
    QVERIFY(ProcessingFields(config) == ProcessingFields(before));
}

void FilterDialogBTest::OptionClicks_EnableTheSampleCountOnlyForCountingFilters() {
    SensorConfig config = RecordWithFilter(9, 0);
    FilterDialogB dialog(config);
    Show(dialog);
    // Each option in turn, and back, so every change of state is seen.
    for (int type : {2, 1, 3, 5, 4, 6, 2, 7, 3}) {
        Click(&dialog, OptionOf(type));
        const bool counting = type >= 2 && type <= 4;
        QVERIFY2(IsEnabled(&dialog, "txtNumberOfSamples") == counting, OptionOf(type));
        QVERIFY2(IsEnabled(&dialog, "lblNumberOfSamples") == counting, OptionOf(type));
    }
}

void FilterDialogBTest::Ok_CountingFilters_StoreTheCountByTheRoundingAndLimitRules_data() {
    QTest::addColumn<int>("chosen");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("samples");
    for (int chosen : {2, 3, 4}) {
        const char* name = OptionOf(chosen);
        QTest::addRow("%s 2", name) << chosen << "2" << chosen << 2;
        QTest::addRow("%s 1", name) << chosen << "1" << 1 << 0;
        QTest::addRow("%s 255", name) << chosen << "255" << chosen << 255;
        QTest::addRow("%s 1000", name) << chosen << "1000" << chosen << 255;
        QTest::addRow("%s 99999", name) << chosen << "99999" << chosen << 255;
    }
    QTest::newRow("Max 0") << 3 << "0" << 1 << 0;
    QTest::newRow("Max 300") << 3 << "300" << 3 << 255;
    QTest::newRow("Average 1.5") << 2 << "1.5" << 2 << 2;
    QTest::newRow("Average 2.5") << 2 << "2.5" << 2 << 2;
    QTest::newRow("Min 1.4") << 4 << "1.4" << 1 << 0;
    QTest::newRow("Min empty") << 4 << "" << 1 << 0;
    QTest::newRow("Min letters") << 4 << "many" << 1 << 0;
    QTest::newRow("Max 65538 would wrap to 2") << 3 << "65538" << 3 << 255;
    QTest::newRow("Average -70000") << 2 << "-70000" << 1 << 0;
}

void FilterDialogBTest::Ok_CountingFilters_StoreTheCountByTheRoundingAndLimitRules() {
    QFETCH(int, chosen);
    QFETCH(QString, typed);
    QFETCH(int, type);
    QFETCH(int, samples);
    SensorConfig config = RecordWithFilter(6, 0);
    FilterDialogB dialog(config);
    Show(dialog);
    Click(&dialog, OptionOf(chosen));
    Type(&dialog, "txtNumberOfSamples", typed);
    Click(&dialog, "cmdOK");
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(int(config.FilterType), type);
    QCOMPARE(int(config.NumberOfSamples), samples);
}

void FilterDialogBTest::Ok_NonCountingFilters_StoreNoSamplesWhateverTheBoxHolds_data() {
    QTest::addColumn<int>("chosen");
    for (int chosen : {1, 5, 6, 7}) {
        QTest::addRow("%s", OptionOf(chosen)) << chosen;
    }
}

void FilterDialogBTest::Ok_NonCountingFilters_StoreNoSamplesWhateverTheBoxHolds() {
    QFETCH(int, chosen);
    SensorConfig config = RecordWithFilter(2, 16);
    FilterDialogB dialog(config);
    Show(dialog);
    Type(&dialog, "txtNumberOfSamples", "50");
    Click(&dialog, OptionOf(chosen));
    Click(&dialog, "cmdOK");
    QCOMPARE(int(config.FilterType), chosen);
    QCOMPARE(int(config.NumberOfSamples), 0);
}

void FilterDialogBTest::Ok_UnknownStoredCodeWithoutAChoice_KeepsTheCode() {
    SensorConfig config = RecordWithFilter(9, 12);
    FilterDialogB dialog(config);
    Show(dialog);
    Click(&dialog, "cmdOK");
    QCOMPARE(int(config.FilterType), 9);
    QCOMPARE(int(config.NumberOfSamples), 0);
}

void FilterDialogBTest::Cancel_KeepsEveryField() {
    SensorConfig config = UnusualRecord();
    const SensorConfig before = config;
    FilterDialogB dialog(config);
    Show(dialog);
    QCOMPARE(TextOf(&dialog, "txtNumberOfSamples"), QString("17"));
    Type(&dialog, "txtNumberOfSamples", "200");
    Click(&dialog, "optFastSlow");
    Click(&dialog, "cmdCancel");
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(ProcessingFields(config) == ProcessingFields(before));
}

QTEST_MAIN(FilterDialogBTest)
#include "filter_dialog_b_test.moc"
