#include "dialogs/ui/filter_dialog_a.h"
#include "dialogs/ui/filter_dialog_b.h"

#include "dialog_test_support.h"

using namespace telmora;
using namespace telmora::dialog_test;

namespace {
const QStringList kCount = {"lblNumberOfSamples", "txtNumberOfSamples"};

// What differs between the two families' filter dialogs; options top to bottom, so
// index + 1 is the filter code.
struct Family {
    const char* dialog;
    QStringList options;
    bool (*edit)(SensorConfig&, QWidget*); // modal over a window, true on OK
    std::unique_ptr<QDialog> (*make)(SensorConfig&);
    int lastCounting; // the counting filters (average, maximum, minimum) are 2 up to this
    bool Counts(int type) const { return type >= 2 && type <= lastCounting; }
};

const Family kA{
    "frmFilterA", {"optFilterNone", "optAverageOf"}, &FilterDialogA::Edit, &Make<FilterDialogA>, 2};
const Family kB{"frmFilterB",
                {"optFilterNone", "optAverageOf", "optMaxOf", "optMinOf", "opt2Consec",
                 "optSlowFast", "optFastSlow"},
                &FilterDialogB::Edit,
                &Make<FilterDialogB>,
                4};

const Family& Of(const QString& family) {
    return family == "A" ? kA : kB;
}

SensorConfig RecordWithFilter(int type, int samples) {
    SensorConfig config = UnusualRecord();
    config.FilterType = static_cast<std::int16_t>(type);
    config.NumberOfSamples = static_cast<std::int16_t>(samples);
    return config;
}
} // namespace

class FilterDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void Options_StandInCodeOrderLeftOfTheCount();
    void LoadThenClicks_ShowTheFilterAndEnableTheCountForCountingFilters_data();
    void LoadThenClicks_ShowTheFilterAndEnableTheCountForCountingFilters();
    void Edit_StoresTheFilterAndCountOnlyOnOk_data();
    void Edit_StoresTheFilterAndCountOnlyOnOk();
};

// Captions, tooltips and which frame holds what are in the window texts' golden file.
void FilterDialogTest::Options_StandInCodeOrderLeftOfTheCount() {
    for (const Family* f : {&kA, &kB}) {
        SensorConfig config = RecordWithFilter(1, 0);
        const auto dialog = f->make(config);
        Show(*dialog);
        int previousTop = -1;
        for (const QString& name : f->options) {
            const int top = Find(dialog.get(), name)->mapTo(dialog.get(), QPoint(0, 0)).y();
            QVERIFY2(top > previousTop, qPrintable(name));
            previousTop = top;
        }
        // The count stands to the right of the options.
        QVERIFY(Find(dialog.get(), "txtNumberOfSamples")->mapTo(dialog.get(), QPoint()).x() >
                Find(dialog.get(), f->options.last())->mapTo(dialog.get(), QPoint()).x());
    }
}

void FilterDialogTest::LoadThenClicks_ShowTheFilterAndEnableTheCountForCountingFilters_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("samples");
    QTest::addColumn<int>("checked"); // 0: none
    QTest::addColumn<QString>("count");
    QTest::addColumn<int>("typeAfter");
    QTest::newRow("A none") << "A" << 1 << 1 << 1 << "1" << 1;
    QTest::newRow("A average of 16") << "A" << 2 << 16 << 2 << "16" << 2;
    QTest::newRow("A average of 255") << "A" << 2 << 255 << 2 << "255" << 2;
    // Family B's codes and codes no family has come back as "None", in the record too.
    for (int type : {3, 4, 5, 6, 7, 0, 8, -1, 300}) {
        QTest::addRow("A foreign %d", type) << "A" << type << 10 << 1 << "1" << 1;
    }
    // Codes no option offers select nothing and stay in the record.
    for (int type : {1, 2, 3, 4, 5, 6, 7, 0, 8, 9, -1, 32767}) {
        const bool known = type >= 1 && type <= 7;
        QTest::addRow("B code %d", type)
            << "B" << type << 10 << (known ? type : 0) << (kB.Counts(type) ? "10" : "0") << type;
    }
}

void FilterDialogTest::LoadThenClicks_ShowTheFilterAndEnableTheCountForCountingFilters() {
    QFETCH(QString, family);
    QFETCH(int, type);
    QFETCH(int, samples);
    QFETCH(int, checked);
    QFETCH(QString, count);
    QFETCH(int, typeAfter);
    const Family& f = Of(family);
    SensorConfig config = RecordWithFilter(type, samples);
    SensorConfig expected = config;
    expected.FilterType = static_cast<std::int16_t>(typeAfter);
    const auto dialog = f.make(config);
    QCOMPARE(CheckedAmong(dialog.get(), f.options),
             checked == 0 ? QStringList() : QStringList{f.options.at(checked - 1)});
    QCOMPARE(TextOf(dialog.get(), "txtNumberOfSamples"), count);
    QCOMPARE(EnabledAmong(dialog.get(), kCount), f.Counts(checked) ? kCount : QStringList());
    QVERIFY(ProcessingFields(config) == ProcessingFields(expected));
    // Then each option in turn, and back, so every change of enabling is seen.
    Show(*dialog);
    for (int click : {2, 1, 3, 5, 4, 6, 2, 7, 3}) {
        if (click <= f.options.size()) {
            Click(dialog.get(), f.options.at(click - 1));
            QCOMPARE(EnabledAmong(dialog.get(), kCount), f.Counts(click) ? kCount : QStringList());
            // One group: the last click is the only choice.
            QCOMPARE(CheckedAmong(dialog.get(), f.options), QStringList{f.options.at(click - 1)});
        }
    }
}

void FilterDialogTest::Edit_StoresTheFilterAndCountOnlyOnOk_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("chosen"); // 0: no option clicked
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("samples");
    // The count's limits are checked on the store routine; here, that each counting option
    // passes its own code and the typed count to it.
    for (const char* name : {"A", "B"}) {
        const QString family(name);
        for (int chosen = 2; chosen <= Of(family).lastCounting; ++chosen) {
            QTest::addRow("%s %d '2'", name, chosen) << family << 2 << chosen << "2"
                                                     << "OK" << chosen << 2;
            QTest::addRow("%s %d '1000'", name, chosen) << family << 2 << chosen << "1000"
                                                        << "OK" << chosen << 255;
            QTest::addRow("%s %d '1'", name, chosen) << family << 2 << chosen << "1"
                                                     << "OK" << 1 << 0;
        }
        // The other filters store no count whatever the box holds.
        for (int chosen : family == "A" ? QList<int>{1} : QList<int>{1, 5, 6, 7}) {
            QTest::addRow("%s %d 50", name, chosen) << family << 2 << chosen << "50"
                                                    << "OK" << chosen << 0;
        }
        for (const char* how : {"Cancel", "Escape", "close box"}) {
            QTest::addRow("%s %s", name, how) << family << 2 << 1 << "99" << how << 2 << 16;
        }
    }
    // OK without a choice: family A has put the code back to "None" at load, family B
    // keeps the code it cannot show. Family A's reset stands even when the user cancels.
    QTest::newRow("A unknown code") << "A" << 9 << 0 << "12"
                                    << "OK" << 1 << 0;
    QTest::newRow("B unknown code") << "B" << 9 << 0 << "12"
                                    << "OK" << 9 << 0;
    QTest::newRow("A Cancel, foreign code") << "A" << 6 << 2 << "99"
                                            << "Cancel" << 1 << 16;
    QTest::newRow("B Cancel, unknown code") << "B" << 9 << 2 << "99"
                                            << "Cancel" << 9 << 16;
}

void FilterDialogTest::Edit_StoresTheFilterAndCountOnlyOnOk() {
    QFETCH(QString, family);
    QFETCH(int, stored);
    QFETCH(int, chosen);
    QFETCH(QString, typed);
    QFETCH(QString, how);
    QFETCH(int, type);
    QFETCH(int, samples);
    const Family& f = Of(family);
    SensorConfig config = RecordWithFilter(stored, 16);
    SensorConfig expected = config;
    expected.FilterType = static_cast<std::int16_t>(type);
    expected.NumberOfSamples = static_cast<std::int16_t>(samples);
    QCOMPARE(EditWith(f.edit, config, how,
                      [&](QDialog& dialog) {
                          QCOMPARE(dialog.objectName(), QString(f.dialog));
                          Type(&dialog, "txtNumberOfSamples", typed);
                          if (chosen != 0) {
                              Click(&dialog, f.options.at(chosen - 1));
                          }
                      }),
             QString(how == "OK" ? "accepted" : "rejected"));
    QCOMPARE(int(config.FilterType), type);
    QCOMPARE(int(config.NumberOfSamples), samples);
    QVERIFY(ProcessingFields(config) == ProcessingFields(expected));
}

QTEST_MAIN(FilterDialogTest)
#include "filter_dialog_test.moc"
