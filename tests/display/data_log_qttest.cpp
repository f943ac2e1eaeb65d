#include "display_bench.h"

#include "display/data_log_command.h"

#include <QAction>
#include <QFileDialog>
#include <QTemporaryDir>

#include <optional>

namespace telmora {

namespace {

// The log command on a bare window, its menu entry, and a clock the test sets.
struct LogBench {
    LogBench() { log.SetMenuEntry(&entry); }
    QTemporaryDir folder;
    QTime now{13, 45, 12};
    QAction entry{"&Log Data"};
    QWidget window;
    DataLogCommand log{&window, [this] { return now; }};
};

} // namespace

class DataLogTest : public QObject {
    Q_OBJECT
  private slots:
    void Log_WritesOneLinePerReadingWithTheTimeOfDay();
    void CancelledDialog_LeavesTheLogStoppedAndWritesNothing();
    void ChosenExistingFile_AsksThenReplacesOrKeepsIt_data();
    void ChosenExistingFile_AsksThenReplacesOrKeepsIt();
    void FileErrors_StopTheLogRestoreTheCaptionAndTellTheUser();
};

void DataLogTest::Log_WritesOneLinePerReadingWithTheTimeOfDay() {
    LogBench b;
    QString announced = "none";
    connect(&b.log, &DataLogCommand::LogChanged, [&](const QString& path) { announced = path; });
    const QString path = b.folder.filePath("run.log");
    QVERIFY(b.log.StartLog(path));
    QCOMPARE(b.entry.text(), QString("&StopLogging"));
    QCOMPARE(announced, path);
    b.log.WriteReading(123.456f);
    b.log.WriteReading(12.0f); // the same second
    b.now = QTime(13, 45, 13);
    b.log.WriteReading(0.0f); // a lost echo is logged too
    // Each line is in the file as it is written, before the log stops.
    QCOMPARE(app_test::ReadAll(path),
             QByteArray("13:45:12 123.46\r\n13:45:12 12.00\r\n13:45:13 0.00\r\n"));
    b.log.mnuLogDataToFileClick(); // stops
    QCOMPARE(b.entry.text(), QString("&Log Data"));
    QVERIFY(!b.log.LogActive());
    QCOMPARE(announced, QString());
    b.log.WriteReading(50.0f);
    QCOMPARE(app_test::ReadAll(path).count('\n'), 3);
}

void DataLogTest::CancelledDialog_LeavesTheLogStoppedAndWritesNothing() {
    LogBench b;
    QFileDialog* dialog = nullptr;
    NextModal modal([&](QWidget* shown) {
        dialog = qobject_cast<QFileDialog*>(shown);
        if (dialog != nullptr) {
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
            QCOMPARE(dialog->defaultSuffix(), QString("log"));
            QCOMPARE(dialog->nameFilters(), QStringList{"Log Files (*.log)"});
            dialog->setDirectory(b.folder.path());
        }
        shown->close();
    });
    b.log.mnuLogDataToFileClick();
    QVERIFY(dialog != nullptr);
    QCOMPARE(modal.Title(), QString("Select Log File Name"));
    QVERIFY(!b.log.LogActive());
    QCOMPARE(b.entry.text(), QString("&Log Data"));
    QVERIFY(QDir(b.folder.path()).entryList(QDir::Files).isEmpty());
}

void DataLogTest::ChosenExistingFile_AsksThenReplacesOrKeepsIt_data() {
    QTest::addColumn<bool>("replace");
    QTest::addColumn<QByteArray>("contents"); // after a reading at 13:45:12
    QTest::newRow("replaced") << true << QByteArray("13:45:12 10.00\r\n");
    QTest::newRow("kept") << false << QByteArray("an earlier run\r\n");
}

void DataLogTest::ChosenExistingFile_AsksThenReplacesOrKeepsIt() {
    QFETCH(bool, replace);
    QFETCH(QByteArray, contents);
    LogBench b;
    const QString path = b.folder.filePath("old.log");
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an earlier run\r\n");
    }
    std::optional<NextModal> question;
    NextModal modal([&](QWidget* dialog) {
        // The question comes up over the dialog while it accepts.
        question.emplace(
            [replace](QWidget* asked) {
                auto* box = qobject_cast<QMessageBox*>(asked);
                QVERIFY(box != nullptr);
                box->button(replace ? QMessageBox::Yes : QMessageBox::No)->click();
            },
            10000, dialog);
        // Typed as a whole path, the choice does not wait on the dialog's folder listing.
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        QVERIFY(name != nullptr);
        name->setText(path);
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    });
    b.log.mnuLogDataToFileClick();
    QVERIFY(question && question->Seen());
    QVERIFY(question->Text().contains("old.log"));
    QCOMPARE(b.log.LogActive(), replace);
    QCOMPARE(b.entry.text(), QString(replace ? "&StopLogging" : "&Log Data"));
    if (replace) {
        QCOMPARE(app_test::ReadAll(path), QByteArray()); // emptied at once
    }
    b.log.WriteReading(10.0f);
    QCOMPARE(app_test::ReadAll(path), contents);
}

void DataLogTest::FileErrors_StopTheLogRestoreTheCaptionAndTellTheUser() {
    LogBench b;
    // A file that cannot be created.
    QVERIFY(!b.log.StartLog(b.folder.filePath("missing/x.log")));
    QVERIFY(!b.log.LogActive());
    QCOMPARE(b.entry.text(), QString("&Log Data"));
    auto* message = b.window.findChild<QMessageBox*>("msgDataLog");
    QVERIFY(message != nullptr);
    delete message;
    // A write that fails while logging: no space left.
    QVERIFY(b.log.StartLog("/dev/full"));
    QCOMPARE(b.entry.text(), QString("&StopLogging"));
    b.log.WriteReading(10.0f);
    QVERIFY(!b.log.LogActive());
    QCOMPARE(b.entry.text(), QString("&Log Data"));
    message = b.window.findChild<QMessageBox*>("msgDataLog");
    QVERIFY(message != nullptr);
    QCOMPARE(message->windowTitle(), QString("Warning"));
    QVERIFY(message->text().contains("/dev/full"));
    QVERIFY(message->text().contains("space", Qt::CaseInsensitive));
    message->close();
}

} // namespace telmora

QTEST_MAIN(telmora::DataLogTest)
#include "data_log_qttest.moc"
