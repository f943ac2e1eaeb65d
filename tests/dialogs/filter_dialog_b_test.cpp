#include "dialogs/filter_dialog_b.h"

#include "dialog_test_support.h"

using namespace telmora;
using namespace telmora::dialog_test;

namespace {
// Top to bottom, so index + 1 is the filter code.
const QStringList kOptions = {"optFilterNone", "optAverageOf", "optMaxOf",   "optMinOf",
                              "opt2Consec",    "optSlowFast",  "optFastSlow"};
const QStringList kCount = {"lblNumberOfSamples", "txtNumberOfSamples"};

bool Counts(int type) {
    return type >= 2 && type <= 4;
}

SensorConfig RecordWithFilter(int type, int samples) {
    SensorConfig config = UnusualRecord();
    config.FilterType = static_cast<std::int16_t>(type);
    config.NumberOfSamples = static_cast<std::int16_t>(samples);
    return config;
}
} // namespace

class FilterDialogBTest : public QObject {
    Q_OBJECT
  private slots:
    void Window_IsModalWithItsControlsTextsAndSevenOptionsInOrder();
    void Load_ShowsStoredFilterType_data();
    void Load_ShowsStoredFilterType();
    void OptionClicks_EnableTheSampleCountOnlyForCountingFilters();
    void Ok_StoresTheFilterAndCountAndNothingElse_data();
    void Ok_StoresTheFilterAndCountAndNothingElse();
    void Ok_UnknownStoredCodeWithoutAChoice_KeepsTheCode();
    void Cancel_KeepsEveryField();
};

void FilterDialogBTest::Window_IsModalWithItsControlsTextsAndSevenOptionsInOrder() {
    SensorConfig config = RecordWithFilter(1, 0);
    FilterDialogB dialog(config);
    QCOMPARE(dialog.objectName(), QString("frmFilterB"));
    QCOMPARE(dialog.windowTitle(), QString("Kelvo-B Filters"));
    QVERIFY(dialog.isModal());
    QCOMPARE(
        WrongTexts(
            &dialog,
            {{"optFilterNone", "None", "Click to turn off all filtering"},
             {"optAverageOf", "Average Of", "Take an average of from 2 to 255 measurements"},
             {"optMaxOf", "Maximum Of", "Take the maximum of 2 to 255 measurements"},
             {"optMinOf", "Minimum Of", "Take the minimum of 2 to 255 measurements"},
             {"opt2Consec", "2 Consecutive",
              "Only use 2 consecutive measurements that are within 12% of each other"},
             {"optSlowFast", "Slow Fast",
              "Responds slowly at first to a new target, then more quickly"},
             {"optFastSlow", "Fast Slow", "Responds like a standard RC filter"},
             {"lblNumberOfSamples", "Number Of Samples", ""},
             {"txtNumberOfSamples", "", "Enter number of samples for Ave, Min, and Max filters"},
             {"cmdOK", "OK", "Click to accept changes"},
             {"cmdCancel", "Cancel", "Click to return without changes"}}),
        QStringList());
    Show(dialog);
    auto* frame = Find<QGroupBox>(&dialog, "Frame1");
    int previousTop = -1;
    for (const QString& name : kOptions) {
        QWidget* option = Find(&dialog, name);
        QVERIFY(frame->isAncestorOf(option));
        const int top = option->mapTo(&dialog, QPoint(0, 0)).y();
        QVERIFY2(top > previousTop, qPrintable(name));
        previousTop = top;
    }
    // The count stands to the right of the options.
    QVERIFY(Find(&dialog, "txtNumberOfSamples")->mapTo(&dialog, QPoint()).x() >
            Find(&dialog, "optFastSlow")->mapTo(&dialog, QPoint()).x());
    Click(&dialog, "optSlowFast");
    Click(&dialog, "optMinOf");
    QCOMPARE(CheckedAmong(&dialog, kOptions), QStringList{"optMinOf"});
}

void FilterDialogBTest::Load_ShowsStoredFilterType_data() {
    QTest::addColumn<int>("type");
    // Codes no dialog offers select nothing.
    for (int type : {1, 2, 3, 4, 5, 6, 7, 0, 8, 9, -1, 32767}) {
        QTest::addRow("code %d", type) << type;
    }
}

void FilterDialogBTest::Load_ShowsStoredFilterType() {
    QFETCH(int, type);
    SensorConfig config = RecordWithFilter(type, 10);
    const SensorConfig before = config;
    FilterDialogB dialog(config);
    const bool known = type >= 1 && type <= 7;
    QCOMPARE(CheckedAmong(&dialog, kOptions),
             known ? QStringList{kOptions.at(type - 1)} : QStringList());
    QCOMPARE(TextOf(&dialog, "txtNumberOfSamples"), Counts(type) ? "10" : "0");
    QCOMPARE(EnabledAmong(&dialog, kCount), Counts(type) ? kCount : QStringList());
    QVERIFY(ProcessingFields(config) == ProcessingFields(before));
}

void FilterDialogBTest::OptionClicks_EnableTheSampleCountOnlyForCountingFilters() {
    SensorConfig config = RecordWithFilter(9, 0);
    FilterDialogB dialog(config);
    Show(dialog);
    // Each option in turn, and back, so every change of state is seen.
    for (int type : {2, 1, 3, 5, 4, 6, 2, 7, 3}) {
        Click(&dialog, kOptions.at(type - 1));
        QCOMPARE(EnabledAmong(&dialog, kCount), Counts(type) ? kCount : QStringList());
    }
}

void FilterDialogBTest::Ok_StoresTheFilterAndCountAndNothingElse_data() {
    QTest::addColumn<int>("chosen");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("samples");
    for (int chosen : {2, 3, 4}) {
        QTest::addRow("%d 2", chosen) << chosen << "2" << chosen << 2;
        QTest::addRow("%d 1", chosen) << chosen << "1" << 1 << 0;
        QTest::addRow("%d 1000", chosen) << chosen << "1000" << chosen << 255;
    }
    const std::tuple<int, const char*, int, int> rows[] = {
        {3, "0", 1, 0},      {3, "300", 3, 255}, {2, "1.5", 2, 2},  {2, "2.5", 2, 2},
        {4, "1.4", 1, 0},    {4, "", 1, 0},      {4, "many", 1, 0}, {3, "65538", 3, 255},
        {2, "-70000", 1, 0}, {3, "255", 3, 255}};
    for (const auto& [chosen, typed, type, samples] : rows) {
        QTest::addRow("%d '%s'", chosen, typed) << chosen << typed << type << samples;
    }
    // The other filters store no count whatever the box holds.
    for (int chosen : {1, 5, 6, 7}) {
        QTest::addRow("%d 50", chosen) << chosen << "50" << chosen << 0;
    }
}

void FilterDialogBTest::Ok_StoresTheFilterAndCountAndNothingElse() {
    QFETCH(int, chosen);
    QFETCH(QString, typed);
    QFETCH(int, type);
    QFETCH(int, samples);
    SensorConfig config = RecordWithFilter(2, 16);
    SensorConfig expected = config;
    expected.FilterType = static_cast<std::int16_t>(type);
    expected.NumberOfSamples = static_cast<std::int16_t>(samples);
    FilterDialogB dialog(config);
    Show(dialog);
    Type(&dialog, "txtNumberOfSamples", typed);
    Click(&dialog, kOptions.at(chosen - 1));
    Click(&dialog, "cmdOK");
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(int(config.FilterType), type);
    QCOMPARE(int(config.NumberOfSamples), samples);
    QVERIFY(ProcessingFields(config) == ProcessingFields(expected));
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
    Type(&dialog, "txtNumberOfSamples", "200");
    Click(&dialog, "optFastSlow");
    Click(&dialog, "cmdCancel");
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(ProcessingFields(config) == ProcessingFields(before));
}

QTEST_MAIN(FilterDialogBTest)
#include "filter_dialog_b_test.moc"
