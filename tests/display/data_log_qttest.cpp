#include "display_bench.h"

#include "display/data_log_command.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>

namespace telmora {

class DataLogTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void Log_WritesOneLinePerReadingWithTheTimeOfDay();
    void CancelledDialog_LeavesTheLogStoppedAndWritesNothing();
    void ChosenExistingFile_AsksThenReplacesOrKeepsIt_data();
    void ChosenExistingFile_AsksThenReplacesOrKeepsIt();
    void FileErrors_StopTheLogRestoreTheCaptionAndTellTheUser();

  private:
    QTemporaryDir* folder_ = nullptr;
    QTime now_;
    QAction* entry_ = nullptr;
    QWidget* window_ = nullptr;
    DataLogCommand* log_ = nullptr;
};

namespace {

QByteArray Contents(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

} // namespace

void DataLogTest::init() {
    folder_ = new QTemporaryDir;
    now_ = QTime(13, 45, 12);
    entry_ = new QAction("&Log Data");
    window_ = new QWidget;
    log_ = new DataLogCommand(window_, [this] { return now_; });
    log_->SetMenuEntry(entry_);
}

void DataLogTest::cleanup() {
    delete log_;
    delete window_;
    delete entry_;
    delete folder_;
}

void DataLogTest::Log_WritesOneLinePerReadingWithTheTimeOfDay() {
    QString announced = "none";
    connect(log_, &DataLogCommand::LogChanged, [&](const QString& path) { announced = path; });
    const QString path = folder_->filePath("run.log");
    QVERIFY(log_->StartLog(path));
    QCOMPARE(entry_->text(), QString("&StopLogging"));
    QCOMPARE(announced, path);
    log_->WriteReading(123.456f);
    log_->WriteReading(12.0f); // the same second
    now_ = QTime(13, 45, 13);
    log_->WriteReading(0.0f); // a lost echo is logged too
    // Each line is in the file as it is written, before the log stops.
    QCOMPARE(Contents(path), QByteArray("13:45:12 123.46\r\n13:45:12 12.00\r\n13:45:13 0.00\r\n"));
    log_->mnuLogDataToFileClick(); // stops
    QCOMPARE(entry_->text(), QString("&Log Data"));
    QVERIFY(!log_->LogActive());
    QCOMPARE(announced, QString());
    log_->WriteReading(50.0f);
    QCOMPARE(Contents(path).count('\n'), 3);
}

void DataLogTest::CancelledDialog_LeavesTheLogStoppedAndWritesNothing() {
    QString title;
    DisplayBench::OnNextModal([&](QWidget* modal) {
        title = modal->windowTitle();
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
        QCOMPARE(dialog->defaultSuffix(), QString("log"));
        QCOMPARE(dialog->nameFilters(), QStringList{"Log Files (*.log)"});
        dialog->setDirectory(folder_->path());
        dialog->reject();
    });
    log_->mnuLogDataToFileClick();
    QCOMPARE(title, QString("Select Log File Name"));
    QVERIFY(!log_->LogActive());
    QCOMPARE(entry_->text(), QString("&Log Data"));
    QVERIFY(QDir(folder_->path()).entryList(QDir::Files).isEmpty());
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
    const QString path = folder_->filePath("old.log");
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an earlier run\r\n");
    }
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
                box->button(replace ? QMessageBox::Yes : QMessageBox::No)->click();
            },
            dialog);
        // Typed as a whole path, the choice does not wait on the dialog's folder listing.
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        QVERIFY(name != nullptr);
        name->setText(path);
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    });
    log_->mnuLogDataToFileClick();
    QVERIFY(asked);
    QCOMPARE(log_->LogActive(), replace);
    QCOMPARE(entry_->text(), QString(replace ? "&StopLogging" : "&Log Data"));
    if (replace) {
        QCOMPARE(Contents(path), QByteArray()); // emptied at once
    }
    log_->WriteReading(10.0f);
    QCOMPARE(Contents(path), contents);
}

void DataLogTest::FileErrors_StopTheLogRestoreTheCaptionAndTellTheUser() {
    // A file that cannot be created.
    QVERIFY(!log_->StartLog(folder_->filePath("missing/x.log")));
    QVERIFY(!log_->LogActive());
    QCOMPARE(entry_->text(), QString("&Log Data"));
    auto* message = window_->findChild<QMessageBox*>("msgDataLog");
    QVERIFY(message != nullptr);
    delete message;
    // A write that fails while logging: no space left.
    QVERIFY(log_->StartLog("/dev/full"));
    QCOMPARE(entry_->text(), QString("&StopLogging"));
    log_->WriteReading(10.0f);
    QVERIFY(!log_->LogActive());
    QCOMPARE(entry_->text(), QString("&Log Data"));
    message = window_->findChild<QMessageBox*>("msgDataLog");
    QVERIFY(message != nullptr);
    QCOMPARE(message->windowTitle(), QString("Warning"));
    QVERIFY(message->text().contains("/dev/full"));
    QVERIFY(message->text().contains("space", Qt::CaseInsensitive));
    message->close();
}

} // namespace telmora

QTEST_MAIN(telmora::DataLogTest)
#include "data_log_qttest.moc"
