#include "display_bench.h"

#include "display/data_log_command.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>

namespace telmora {

class DataLogTest : public QObject {
    Q_OBJECT
  private slots:
    void Log_WritesOneLinePerReadingWithTheTimeOfDay();
    void CancelledDialog_LeavesTheLogStoppedAndWritesNothing();
    void ChosenExistingFile_AsksThenReplacesItsContents();
    void ChosenExistingFile_DecliningKeepsItsContentsAndTheLogStopped();
    void WriteError_StopsTheLogRestoresTheCaptionAndTellsTheUser();
    void FileThatCannotBeCreated_IsReportedAndLeavesTheLogStopped();
};

namespace {

QByteArray Contents(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

} // namespace

void DataLogTest::Log_WritesOneLinePerReadingWithTheTimeOfDay() {
    QTemporaryDir folder;
    QTime now(13, 45, 12);
    QAction entry("&Log Data");
    QWidget window;
    DataLogCommand log(&window, [&now] { return now; });
    log.SetMenuEntry(&entry);
    QString announced = "none";
    connect(&log, &DataLogCommand::LogChanged, [&](const QString& path) { announced = path; });
    const QString path = folder.filePath("run.log");
    QVERIFY(log.StartLog(path));
    QCOMPARE(entry.text(), QString("&StopLogging"));
    QCOMPARE(announced, path);
    log.WriteReading(123.456f);
    log.WriteReading(12.0f); // the same second
    now = QTime(13, 45, 13);
    log.WriteReading(0.0f); // a lost echo is logged too
    // Each line is in the file as it is written, before the log stops.
    QCOMPARE(Contents(path), QByteArray("13:45:12 123.46\r\n13:45:12 12.00\r\n13:45:13 0.00\r\n"));
    log.mnuLogDataToFileClick(); // stops
    QCOMPARE(entry.text(), QString("&Log Data"));
    QVERIFY(!log.LogActive());
    QCOMPARE(announced, QString());
    log.WriteReading(50.0f);
    QCOMPARE(Contents(path).count('\n'), 3);
}

void DataLogTest::CancelledDialog_LeavesTheLogStoppedAndWritesNothing() {
    QTemporaryDir folder;
    QAction entry("&Log Data");
    QWidget window;
    DataLogCommand log(&window);
    log.SetMenuEntry(&entry);
    QString title;
    DisplayBench::OnNextModal([&](QWidget* modal) {
        title = modal->windowTitle();
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
        QCOMPARE(dialog->defaultSuffix(), QString("log"));
        QCOMPARE(dialog->nameFilters(), QStringList{"Log Files (*.log)"});
        dialog->setDirectory(folder.path());
        dialog->reject();
    });
    log.mnuLogDataToFileClick();
    QCOMPARE(title, QString("Select Log File Name"));
    QVERIFY(!log.LogActive());
    QCOMPARE(entry.text(), QString("&Log Data"));
    QVERIFY(QDir(folder.path()).entryList(QDir::Files).isEmpty());
}

void DataLogTest::ChosenExistingFile_AsksThenReplacesItsContents() {
    QTemporaryDir folder;
    const QString path = folder.filePath("old.log");
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an earlier run\r\n");
    }
    QAction entry("&Log Data");
    QWidget window;
    DataLogCommand log(&window, [] { return QTime(8, 0, 1); });
    log.SetMenuEntry(&entry);
    bool asked = false;
    DisplayBench::OnNextModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY(dialog != nullptr);
        // The question comes up while the dialog accepts.
        DisplayBench::OnNextModal(
            [&](QWidget* question) {
                auto* box = qobject_cast<QMessageBox*>(question);
                QVERIFY(box != nullptr);
                asked = true;
                box->button(QMessageBox::Yes)->click();
            },
            dialog);
        dialog->setDirectory(folder.path());
        dialog->selectFile("old.log");
        // The dialog settles its folder in the background; accept once it names the file.
        QVERIFY(QTest::qWaitFor([&] { return dialog->selectedFiles().value(0) == path; }, 5000));
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    });
    log.mnuLogDataToFileClick();
    QVERIFY(asked);
    QVERIFY(log.LogActive());
    QCOMPARE(entry.text(), QString("&StopLogging"));
    QCOMPARE(Contents(path), QByteArray());
    log.WriteReading(10.0f);
    QCOMPARE(Contents(path), QByteArray("08:00:01 10.00\r\n"));
}

void DataLogTest::ChosenExistingFile_DecliningKeepsItsContentsAndTheLogStopped() {
    QTemporaryDir folder;
    const QString path = folder.filePath("keep.log");
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an earlier run\r\n");
    }
    QAction entry("&Log Data");
    QWidget window;
    DataLogCommand log(&window);
    log.SetMenuEntry(&entry);
    bool asked = false;
    DisplayBench::OnNextModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY(dialog != nullptr);
        DisplayBench::OnNextModal(
            [&](QWidget* question) {
                auto* box = qobject_cast<QMessageBox*>(question);
                QVERIFY(box != nullptr);
                asked = true;
                box->button(QMessageBox::No)->click();
            },
            dialog);
        dialog->setDirectory(folder.path());
        dialog->selectFile("keep.log");
        QVERIFY(QTest::qWaitFor([&] { return dialog->selectedFiles().value(0) == path; }, 5000));
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    });
    log.mnuLogDataToFileClick();
    QVERIFY(asked);
    QVERIFY(!log.LogActive());
    QCOMPARE(entry.text(), QString("&Log Data"));
    QCOMPARE(Contents(path), QByteArray("an earlier run\r\n"));
}

void DataLogTest::WriteError_StopsTheLogRestoresTheCaptionAndTellsTheUser() {
    QAction entry("&Log Data");
    QWidget window;
    DataLogCommand log(&window);
    log.SetMenuEntry(&entry);
    QVERIFY(log.StartLog("/dev/full")); // every write fails: no space left
    QCOMPARE(entry.text(), QString("&StopLogging"));
    log.WriteReading(10.0f);
    QVERIFY(!log.LogActive());
    QCOMPARE(entry.text(), QString("&Log Data"));
    auto* message = window.findChild<QMessageBox*>("msgDataLog");
    QVERIFY(message != nullptr);
    QCOMPARE(message->windowTitle(), QString("Warning"));
    QVERIFY(message->text().contains("/dev/full"));
    QVERIFY(message->text().contains("space", Qt::CaseInsensitive));
    message->close();
}

void DataLogTest::FileThatCannotBeCreated_IsReportedAndLeavesTheLogStopped() {
    QTemporaryDir folder;
    QAction entry("&Log Data");
    QWidget window;
    DataLogCommand log(&window);
    log.SetMenuEntry(&entry);
    QVERIFY(!log.StartLog(folder.filePath("missing/x.log")));
    QVERIFY(!log.LogActive());
    QCOMPARE(entry.text(), QString("&Log Data"));
    auto* message = window.findChild<QMessageBox*>("msgDataLog");
    QVERIFY(message != nullptr);
    message->close();
}

} // namespace telmora

QTEST_MAIN(telmora::DataLogTest)
#include "data_log_qttest.moc"
