// The record through the window and its file commands: the window saves and sends the bytes
// kelvo's model of the same session gives (which text stands for which value is the core's
// tests'), every kind of control comes back from a file, and the dialogs and failures.
#include "../support/golden_sections.h"
#include "app/main_window.h"
#include "app_test_support.h"
#include "config/config_fields.h"
#include "config/config_file.h"
#include "config/window_session.h"
#include "display/ui/measurement_display.h"
#include "link/frames.h"

#include <QAction>
#include <QFileDialog>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QtTest>

#include <random>

using namespace telmora;
using telmora::app_test::NextModal;
using telmora::app_test::ReadAll;
using telmora::app_test::Sandbox;

Q_DECLARE_METATYPE(telmora::SensorFamily)

namespace {

// Registers a family's read covers, each holding a random byte; the rest hold 0.
RegisterImage RandomSensorImage(SensorFamily family, std::mt19937& random) {
    std::uniform_int_distribution<int> byte(0, 255);
    RegisterImage image{};
    for (int reg = 10; reg <= 99; ++reg) {
        const bool familyARegister =
            reg == 11 || (reg >= 33 && reg <= 89) || reg == 96 || reg == 97 || reg == 99;
        if (family == SensorFamily::B || familyARegister) {
            image[reg] = static_cast<std::int16_t>(byte(random));
        }
    }
    // A description length the decoders can take in full, most of the time.
    image[33] = static_cast<std::int16_t>(byte(random) % 40);
    return image;
}

QByteArray FileBytes(const RegisterImage& image) {
    const ConfigFileBytes bytes = ImageToFileBytes(image);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

// The text of every control of the window that has one, by name.
QStringList ControlTexts(QWidget& window) {
    QStringList texts;
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        texts << w->objectName() + "=" + w->property("text").toString();
    }
    return texts;
}

// Runs `command`, accepting its file dialog with `path` typed in; gives the dialog's title,
// default suffix, filters and the name it offered.
QStringList ThroughDialog(QAction* command, const QString& path) {
    QStringList seen;
    const auto fill = [path, &seen](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        auto* name = modal->findChild<QLineEdit*>("fileNameEdit");
        QVERIFY(dialog != nullptr && name != nullptr);
        seen = {dialog->windowTitle(), dialog->defaultSuffix(), dialog->nameFilters().join(';'),
                name->text()};
        dialog->selectFile(path);
        name->setText(path); // as the user types it
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    };
    // Unsaved edits are let go when the command asks about them.
    app_test::AnswerThen modal(QMessageBox::Discard, fill);
    command->trigger();
    return seen;
}

} // namespace

class RecordWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void WindowAndTool_SaveTheSameFileAndSendTheSameRegisters_data() {
        QTest::addColumn<SensorFamily>("family");
        QTest::addColumn<int>("seed");
        for (SensorFamily family : {SensorFamily::A, SensorFamily::B}) {
            for (int seed = 1; seed <= 3; ++seed) {
                QTest::addRow("Kelvo-%s seed %d", family == SensorFamily::A ? "A" : "B", seed)
                    << family << seed;
            }
        }
    }

    void WindowAndTool_SaveTheSameFileAndSendTheSameRegisters() {
        QFETCH(SensorFamily, family);
        QFETCH(int, seed);
        // On a desktop whose decimal separator is a comma, the texts keep their period.
        const QLocale previous;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const auto restore = qScopeGuard([&previous] { QLocale::setDefault(previous); });
        std::mt19937 random(static_cast<unsigned>(seed));
        Sandbox sandbox;
        {
            // Read from a sensor (as once detection found the family), then saved to a file.
            MainWindow window;
            window.SetFamily(family);
            const RegisterImage sensorImage = RandomSensorImage(family, random);
            window.ShowRecord(family, sensorImage);
            // The pop-ups' check marks follow the captions shown (nothing reads them back).
            for (const char* label : {"lblSw1Mode", "lblSw2EchoLoss", "lblAnalogEchoLoss"}) {
                const QString entry =
                    "mnu" + QString(label).mid(3) + app_test::TextOf(window, label);
                const QAction* action = window.findChild<QAction*>(entry);
                QVERIFY2(action != nullptr && action->isChecked(), qPrintable(entry));
            }
            QVERIFY(window.SaveConfigurationFile(sandbox.Path("window.cfg")));
            QCOMPARE(ReadAll(sandbox.Path("window.cfg")),
                     FileBytes(FileImageAfterSensorRead(family, sensorImage)));
        }
        // Loaded into a fresh window from a file as the window saves it (a family B image),
        // then sent to a sensor.
        MainWindow window;
        window.SetFamily(family);
        const RegisterImage fileImage = RandomSensorImage(SensorFamily::B, random);
        sandbox.Write("sensor.cfg", FileBytes(fileImage));
        QVERIFY(window.LoadConfigurationFile(sandbox.Path("sensor.cfg")));
        const RegisterImage sent = window.ReadWindow(family);
        const RegisterImage expected = SensorImageFromFile(fileImage, family);
        for (int reg : WriteRegisters(family)) {
            QVERIFY2(sent[reg] == expected[reg],
                     qPrintable(QString("register %1: window %2, tool %3")
                                    .arg(reg)
                                    .arg(sent[reg])
                                    .arg(expected[reg])));
        }
    }

    // The file commands' dialogs, Cancel and failures: each failure says so naming the file,
    // and neither leaves a file or changes the window or the record.
    void FileCommands_DialogsCancelAndFailures_LeaveWindowAndRecordAlone() {
        Sandbox sandbox;
        MainWindow window;
        const MainMenus& m = window.Menus();
        window.DescriptionBox()->setText("kept");
        QStringList log;
        const auto reject = [](QWidget* dialog) { qobject_cast<QDialog*>(dialog)->reject(); };
        {
            NextModal modal(reject);
            m.mnuFileSaveToFile->trigger();
            log << "mnuFileSaveToFile cancelled: " + modal.Name();
        }
        {
            app_test::AnswerThen modal(QMessageBox::Discard, reject); // "kept" is an edit
            m.mnuFileOpenFromFile->trigger();
            log << "mnuFileOpenFromFile cancelled: " + modal.NextName();
        }
        const QStringList before = ControlTexts(window); // the dialogs stay, hidden
        sandbox.Write("short.cfg", QByteArray(255, '\x01'));
        for (const QString file : {"missing.cfg", "short.cfg", "no-such-folder/x.cfg"}) {
            const bool save = file.contains('/');
            NextModal modal(NextModal::Dismiss);
            const bool done = save ? window.SaveConfigurationFile(sandbox.Path(file))
                                   : window.LoadConfigurationFile(sandbox.Path(file));
            log << QString("%1 %2: %3, %4: %5")
                       .arg(save ? "save" : "load", file, done ? "done" : "refused", modal.Title(),
                            QString(modal.Text()).replace(QDir::currentPath(), "<sandbox>"));
            QCOMPARE(ControlTexts(window), before);
        }
        log << "description box: " + window.DescriptionBox()->text()
            << "record: " + QString::fromStdString(window.Config().Description)
            << "files: " + QDir(sandbox.Path(".")).entryList(QDir::Files).join(' ');

        // Through the dialogs: their title, default suffix, filters and the name offered.
        const QString path = sandbox.Path("through-dialog.cfg");
        const QStringList save = ThroughDialog(m.mnuFileSaveToFile, path);
        // Run mode 1, temperature compensation and pushbutton programming on, in long range: the
        // unedited window gives back the factory MaxRange 221.77045, not its text 221.77.
        QCOMPARE(ReadAll(path).mid(174, 1), QByteArray(1, char(233)));
        window.DescriptionBox()->setText("changed");
        const QStringList open = ThroughDialog(m.mnuFileOpenFromFile, path);
        log << "save: " + QStringList({save.value(0), save.value(1), save.value(3)}).join(" | ")
            << "open: " + QStringList({open.value(0), open.value(2), open.value(3)}).join(" | ")
            << "after opening: " + window.DescriptionBox()->text();
        test::CompareWithGolden(TELMORA_GOLDEN, "file commands", log);
    }

    // The window beside a file: equal right after loading it, one row marked after an edit,
    // only family A's fields for a window set up for Kelvo-A, an unreadable file refused.
    // Right after start-up the window would send long range (MaxRange 221.77045), the file it
    // saves reads back as 221.767 in normal range: a true difference of what is sent.
    void CompareWithFile_MarksOnlyWhatWouldBeSentDifferently() {
        Sandbox sandbox;
        MainWindow window;
        QVERIFY(window.SaveConfigurationFile(sandbox.Path("saved.cfg")));
        QStringList log;
        const auto compare = [&](const QString& file) {
            QString summary;
            NextModal modal([&](QWidget* dialog) {
                if (dialog->objectName() == "frmCompare")
                    summary = dialog->windowTitle() + ": " + app_test::CompareSummary(dialog);
                NextModal::Dismiss(dialog);
            });
            const bool done = window.CompareWithFile(sandbox.Path(file));
            log << file + ": " +
                       (done ? summary
                             : "refused, " + modal.Title() + ": " +
                                   QString(modal.Text()).replace(QDir::currentPath(), "<sandbox>"));
        };
        compare("saved.cfg");
        QVERIFY(window.LoadConfigurationFile(sandbox.Path("saved.cfg")));
        compare("saved.cfg");
        window.findChild<QLineEdit*>("txtSw1Setpoint")->setText("30.00");
        compare("saved.cfg");
        QTest::mouseClick(window.findChild<QLabel*>("lblSw2Mode"), Qt::LeftButton); // a code
        compare("saved.cfg");
        window.SetFamily(SensorFamily::A);
        compare("saved.cfg");
        compare("missing.cfg");
        QCOMPARE(window.findChild<QLineEdit*>("txtSw1Setpoint")->text(), QString("30.00"));
        test::CompareWithGolden(TELMORA_GOLDEN, "compare with file", log);
    }

    // The commissioning report of a loaded file, as text a PDF reader extracts: the heading,
    // then every parameter the family holds on one line with its caption and the value
    // kelvo's model of the window reads back, none it does not hold, and the readings.
    void Report_PdfTextHoldsHeadingEveryParameterAndTheReadings_data() {
        QTest::addColumn<SensorFamily>("family");
        QTest::addRow("Kelvo-A") << SensorFamily::A;
        QTest::addRow("Kelvo-B") << SensorFamily::B;
    }

    void Report_PdfTextHoldsHeadingEveryParameterAndTheReadings() {
        QFETCH(SensorFamily, family);
        std::mt19937 random(7);
        Sandbox sandbox;
        MainWindow window;
        window.SetFamily(family);
        const RegisterImage fileImage = RandomSensorImage(SensorFamily::B, random);
        sandbox.Write("tank.cfg", FileBytes(fileImage));
        QVERIFY(window.LoadConfigurationFile(sandbox.Path("tank.cfg")));
        window.DescriptionBox()->setText("Tank 7 & north wall");
        for (const float distance : {30.0f, 0.0f, 31.0f, 32.0f})
            window.Display().ShowReading(distance);
        {
            NextModal none(NextModal::Dismiss);
            QVERIFY(window.WriteCommissioningReport(sandbox.Path("report.pdf")));
            QCOMPARE(none.Title(), QString());
        }
        {
            NextModal failure(NextModal::Dismiss);
            QVERIFY(!window.WriteCommissioningReport(sandbox.Path("no-such-folder/r.pdf")));
            QCOMPARE(failure.Title(), QString("Commissioning Report"));
        }
        // Through the menu: a PDF dialog offering a name after the configuration file.
        const QStringList seen =
            ThroughDialog(window.Menus().mnuFileReport, sandbox.Path("chosen"));
        QCOMPARE(seen,
                 QStringList({"Commissioning Report", "pdf", "PDF (*.pdf)", "tank-report.pdf"}));
        QTRY_VERIFY(QFile::exists(sandbox.Path("chosen.pdf")));

        QProcess pdftotext;
        pdftotext.start("pdftotext", {"-layout", sandbox.Path("report.pdf"), "-"});
        QVERIFY2(pdftotext.waitForFinished(20000) && pdftotext.exitCode() == 0,
                 "pdftotext (poppler-utils) must be installed");
        const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput())
                                 .normalized(QString::NormalizationForm_KC);
        const auto line = [&text](const QString& caption, const QString& value) {
            return QRegularExpression("(^|\\n)[ \\f]*" + QRegularExpression::escape(caption) +
                                      " +" + QRegularExpression::escape(value) + "( |\\n)")
                .match(text)
                .hasMatch();
        };
        const QString family_ = QString::fromUtf8(FamilyName(family).data());
        for (const auto& [caption, value] :
             {std::pair<QString, QString>{"Program", "Telmora 1.08"},
              {"Sensor family", family_},
              {"Port", "No port open"},
              {"Configuration file", QDir::toNativeSeparators(sandbox.Path("tank.cfg"))},
              {"Description", "Tank 7 & north wall"},
              {"Average", "31.00"},
              {"Samples", "3"}})
            QVERIFY2(line(caption, value), qPrintable(caption + " " + value + "\n"));
        QVERIFY(text.contains("3 readings, oldest at the left"));

        SensorConfig expected = RecordShownFromFile(fileImage);
        expected.Description = "Tank 7 & north wall";
        for (const FieldRow& row : FieldRows(expected)) {
            const QString caption = QString::fromUtf8(FieldCaption(row.Name).data());
            const bool held = FamilyHoldsField(family, row.Name);
            QVERIFY2(held ? line(caption, QString::fromStdString(row.Value))
                          : !text.contains(caption + " "),
                     qPrintable(caption + " " + QString::fromStdString(row.Value)));
        }
    }
};

QTEST_MAIN(RecordWindowTest)
#include "record_window_test.moc"
