#include "dialogs/filter_dialog_a.h"

#include "dialog_test_support.h"

using namespace telmora;
using namespace telmora::dialog_test;

namespace {
const QStringList kOptions = {"optFilterNone", "optAverageOf"};
const QStringList kCount = {"lblNumberOfSamples", "txtNumberOfSamples"};

SensorConfig RecordWithFilter(int type, int samples) {
    SensorConfig config = UnusualRecord();
    config.FilterType = static_cast<std::int16_t>(type);
    config.NumberOfSamples = static_cast<std::int16_t>(samples);
    return config;
}
} // namespace

class FilterDialogATest : public QObject {
    Q_OBJECT
  private slots:
    void Window_IsModalWithItsControlsTextsAndOneGroupInAFrame();
    void Load_ShowsStoredFilterType_data();
    void Load_ShowsStoredFilterType();
    void OptionClicks_EnableTheSampleCountOnlyForAverage();
    void Ok_StoresTheFilterAndCountAndNothingElse_data();
    void Ok_StoresTheFilterAndCountAndNothingElse();
    void CancelEscapeAndCloseBox_StoreNothing_data();
    void CancelEscapeAndCloseBox_StoreNothing();
    void Edit_RunsModallyAndReportsWhetherOkWasPressed();
};

void FilterDialogATest::Window_IsModalWithItsControlsTextsAndOneGroupInAFrame() {
    SensorConfig config = RecordWithFilter(1, 0);
    FilterDialogA dialog(config);
    QCOMPARE(dialog.objectName(), QString("frmFilterA"));
    QCOMPARE(dialog.windowTitle(), QString("Kelvo-A Filters"));
    QVERIFY(dialog.isModal());
    QCOMPARE(WrongTexts(&dialog, {{"optFilterNone", "None", "Click to turn off all filtering"},
                                  {"optAverageOf", "Average Of",
                                   "Take an average of from 2 to 255 measurements"},
                                  {"lblNumberOfSamples", "Number Of Samples", ""},
                                  {"txtNumberOfSamples", "",
                                   "Enater number of samples for Ave, Min and Max filters"},
                                  {"cmdOK", "OK", "Click to accept changes"},
                                  {"cmdCancel", "Cancel", "Click to return without changes"}}),
             QStringList());
    auto* frame = Find<QGroupBox>(&dialog, "Frame1");
    QVERIFY(frame->title().isEmpty());
    QVERIFY(frame->isAncestorOf(Find(&dialog, "optFilterNone")));
    QVERIFY(frame->isAncestorOf(Find(&dialog, "optAverageOf")));
    Show(dialog);
    Click(&dialog, "optAverageOf");
    QCOMPARE(CheckedAmong(&dialog, kOptions), QStringList{"optAverageOf"});
}

void FilterDialogATest::Load_ShowsStoredFilterType_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("samples");
    QTest::newRow("none") << 1 << 1;
    QTest::newRow("average of 16") << 2 << 16;
    QTest::newRow("average of 255") << 2 << 255;
    // Family B's codes and codes no family has all come back as "None".
    for (int type : {3, 4, 5, 6, 7, 0, 8, -1, 300}) {
        QTest::addRow("foreign %d", type) << type << 10;
    }
}

void FilterDialogATest::Load_ShowsStoredFilterType() {
    QFETCH(int, type);
    QFETCH(int, samples);
    SensorConfig config = RecordWithFilter(type, samples);
    FilterDialogA dialog(config);
    const bool average = type == 2;
    QCOMPARE(CheckedAmong(&dialog, kOptions), QStringList{kOptions.at(average ? 1 : 0)});
    QCOMPARE(TextOf(&dialog, "txtNumberOfSamples"), average ? QString::number(samples) : "1");
    QCOMPARE(EnabledAmong(&dialog, kCount), average ? kCount : QStringList());
    QCOMPARE(int(config.FilterType), average ? 2 : 1);
    QCOMPARE(int(config.NumberOfSamples), samples);
}

void FilterDialogATest::OptionClicks_EnableTheSampleCountOnlyForAverage() {
    SensorConfig config = RecordWithFilter(1, 0);
    FilterDialogA dialog(config);
    Show(dialog);
    Click(&dialog, "optAverageOf");
    QCOMPARE(EnabledAmong(&dialog, kCount), kCount);
    Click(&dialog, "optFilterNone");
    QCOMPARE(EnabledAmong(&dialog, kCount), QStringList());
}

void FilterDialogATest::Ok_StoresTheFilterAndCountAndNothingElse_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("samples");
    const std::tuple<const char*, int, int> averages[] = {
        {"2", 2, 2},   {"1", 1, 0},     {"0", 1, 0},       {"-4", 1, 0},      {"", 1, 0},
        {"abc", 1, 0}, {"255", 2, 255}, {"256", 2, 255},   {"1.5", 2, 2},     {"2.5", 2, 2},
        {"3.5", 2, 4}, {"1.4", 1, 0},   {"65538", 2, 255}, {"65537", 2, 255}, {"-99999", 1, 0}};
    for (const auto& [typed, type, samples] : averages) {
        QTest::addRow("average '%s'", typed) << "optAverageOf" << typed << type << samples;
    }
    QTest::newRow("none stores no count") << "optFilterNone"
                                          << "50" << 1 << 0;
}

void FilterDialogATest::Ok_StoresTheFilterAndCountAndNothingElse() {
    QFETCH(QString, option);
    QFETCH(QString, typed);
    QFETCH(int, type);
    QFETCH(int, samples);
    SensorConfig config = RecordWithFilter(1, 1);
    SensorConfig expected = config;
    expected.FilterType = static_cast<std::int16_t>(type);
    expected.NumberOfSamples = static_cast<std::int16_t>(samples);
    FilterDialogA dialog(config);
    Show(dialog);
    Click(&dialog, "optAverageOf");
    Type(&dialog, "txtNumberOfSamples", typed);
    Click(&dialog, option);
    Click(&dialog, "cmdOK");
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(int(config.FilterType), type);
    QCOMPARE(int(config.NumberOfSamples), samples);
    QVERIFY(ProcessingFields(config) == ProcessingFields(expected));
}

void FilterDialogATest::CancelEscapeAndCloseBox_StoreNothing_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("type");
    for (const char* how : {"Cancel", "Escape", "close box"}) {
        QTest::newRow(how) << how << 2;
    }
    // A foreign code is reset at load, even when the user then cancels.
    QTest::newRow("Cancel, foreign code") << "Cancel" << 6;
}

void FilterDialogATest::CancelEscapeAndCloseBox_StoreNothing() {
    QFETCH(QString, how);
    QFETCH(int, type);
    SensorConfig config = RecordWithFilter(type, 17);
    SensorConfig expected = config;
    expected.FilterType = type == 2 ? 2 : 1;
    FilterDialogA dialog(config);
    Show(dialog);
    Click(&dialog, "optAverageOf");
    Type(&dialog, "txtNumberOfSamples", "99");
    Click(&dialog, type == 2 ? "optFilterNone" : "optAverageOf");
    Dismiss(dialog, how);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(ProcessingFields(config) == ProcessingFields(expected));
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
    QCOMPARE(int(config.NumberOfSamples), 8);
    WhenModalAppears([](QDialog* dialog) { Click(dialog, "cmdCancel"); }, &seen);
    QVERIFY(!FilterDialogA::Edit(config, &window));
    QVERIFY(seen);
    QCOMPARE(int(config.NumberOfSamples), 8);
}

QTEST_MAIN(FilterDialogATest)
#include "filter_dialog_a_test.moc"
