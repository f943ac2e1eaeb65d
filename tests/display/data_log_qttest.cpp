// The data log command: one line per reading, the file question and its cancel paths, and
// files that cannot be created or written.
#include "../app/app_test_support.h"
#include "display/ui/data_log_command.h"

#include <QAction>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

namespace telmora {

using app_test::NextModal;

namespace {

// The log command on a bare window, its menu entry, and a clock the test sets.
struct LogBench {
    LogBench() { log.SetMenuEntry(&entry); }
    QTemporaryDir folder;
    QTime now{7, 5, 9};
    QAction entry{"&Log Data"};
    QWidget window;
    DataLogCommand log{&window, [this] { return now; }};
};

} // namespace

class DataLogTest : public QObject {
    Q_OBJECT
  private slots:
    void Log_WritesOneLinePerReadingWithTheTimeOfDay();
    void ChooseFile_AsksBeforeReplacingAndCancelWritesNothing();
    void FileErrors_StopTheLogRestoreTheCaptionAndTellTheUser();
};

void DataLogTest::Log_WritesOneLinePerReadingWithTheTimeOfDay() {
    LogBench b;
    QStringList announced;
    connect(&b.log, &DataLogCommand::LogChanged, [&](const QString& path) { announced << path; });
    const QString path = b.folder.filePath("run.log");
    QVERIFY(b.log.StartLog(path));
    QCOMPARE(b.entry.text(), QString("&StopLogging"));
    for (const float d : {123.456f, 12.0f, 0.0f}) { // two in one second; a lost echo too
        b.log.WriteReading(d);
        b.now = QTime(7, 5, 10);
    }
    // Each line is in the file as it is written, before the log stops.
    QCOMPARE(app_test::ReadAll(path),
             QByteArray("07:05:09 123.46\r\n07:05:10 12.00\r\n07:05:10 0.00\r\n"));
    b.log.mnuLogDataToFileClick(); // stops
    b.log.WriteReading(50.0f);
    QCOMPARE(app_test::ReadAll(path).count('\n'), 3);
    QCOMPARE(b.entry.text(), QString("&Log Data"));
    QVERIFY(!b.log.LogActive());
    QCOMPARE(announced, QStringList({path, QString()}));
}

void DataLogTest::ChooseFile_AsksBeforeReplacingAndCancelWritesNothing() {
    // The answer to the question (0: the file dialog is cancelled), the file after a reading.
    const std::pair<int, QByteArray> cases[] = {{QMessageBox::Yes, "07:05:09 10.00\r\n"},
                                                {QMessageBox::No, "an earlier run\r\n"},
                                                {0, "an earlier run\r\n"}};
    for (const auto& [answer, contents] : cases) {
        LogBench b;
        const QString path = b.folder.filePath("old.log");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("an earlier run\r\n") > 0);
        old.close();
        QStringList dialogSeen;
        std::optional<NextModal> question;
        NextModal modal([&, answer = answer](QWidget* shown) {
            auto* dialog = qobject_cast<QFileDialog*>(shown);
            auto* name = shown->findChild<QLineEdit*>("fileNameEdit");
            QVERIFY(dialog != nullptr && name != nullptr);
            dialogSeen = {dialog->windowTitle(), dialog->defaultSuffix(),
                          dialog->nameFilters().join(';'), QString::number(dialog->acceptMode())};
            if (answer == 0) {
                return dialog->reject();
            }
            // The question comes up once the dialog accepts.
            question.emplace(
                [answer](QWidget* asked) {
                    auto* box = qobject_cast<QMessageBox*>(asked);
                    QVERIFY(box != nullptr);
                    box->button(QMessageBox::StandardButton(answer))->click();
                },
                10000, dialog);
            // Typed as a whole path, the choice does not wait on the dialog's folder listing.
            name->setText(path);
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        });
        b.log.mnuLogDataToFileClick();
        QCOMPARE(dialogSeen, QStringList({"Select Log File Name", "log", "Log Files (*.log)",
                                          QString::number(QFileDialog::AcceptSave)}));
        QCOMPARE(question.has_value() && question->Seen(), answer != 0);
        QVERIFY(!question || question->Text().contains("old.log"));
        const bool replace = answer == QMessageBox::Yes;
        QCOMPARE(b.log.LogActive(), replace);
        QCOMPARE(b.entry.text(), QString(replace ? "&StopLogging" : "&Log Data"));
        QCOMPARE(app_test::ReadAll(path).isEmpty(), replace); // emptied at once
        b.log.WriteReading(10.0f);
        QCOMPARE(app_test::ReadAll(path), contents);
    }
}

void DataLogTest::FileErrors_StopTheLogRestoreTheCaptionAndTellTheUser() {
    LogBench b;
    const QString gone = b.folder.filePath("gone.log");
    // A file that cannot be created, a device that is no log file, and a write that fails
    // while logging (the file was deleted).
    const QString cases[][2] = {{b.folder.filePath("missing/x.log"), "No such file"},
                                {"/dev/full", "it is a device, not a file"},
                                {gone, "deleted"}};
    for (const auto& [path, reason] : cases) {
        const bool opens = path == gone;
        QCOMPARE(b.log.StartLog(path), opens);
        if (opens) {
            QCOMPARE(b.entry.text(), QString("&StopLogging"));
            QVERIFY(QFile::remove(gone));
            b.log.WriteReading(10.0f);
        }
        QVERIFY(!b.log.LogActive());
        QCOMPARE(b.entry.text(), QString("&Log Data"));
        auto* message = b.window.findChild<QMessageBox*>("msgDataLog");
        QVERIFY(message != nullptr);
        QCOMPARE(message->windowTitle(), QString("Warning"));
        QVERIFY2(message->text().contains(path) && message->text().contains(reason),
                 qPrintable(message->text()));
        delete message;
    }
}

} // namespace telmora

QTEST_MAIN(telmora::DataLogTest)
#include "data_log_qttest.moc"
