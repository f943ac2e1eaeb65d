// "&Save Configuration to Disk" and "Get Configuration From Disk" on the main window.
#include "app/main_window.h"
#include "app_test_support.h"
#include "editors/output_editors.h"

#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using namespace telmora;
using telmora::app_test::NextModal;
using telmora::app_test::Sandbox;

namespace {

// Every text box and option caption of the window, by name, as the user sees them.
QMap<QString, QString> WindowTexts(QWidget& window) {
    QMap<QString, QString> texts;
    for (QLineEdit* box : window.findChildren<QLineEdit*>()) {
        if (box->objectName().startsWith("txt")) {
            texts.insert(box->objectName(), box->text());
        }
    }
    for (QLabel* label : window.findChildren<QLabel*>()) {
        const QString name = label->objectName();
        if (name.startsWith("lblSw") || name.startsWith("lblAnalog") || name.endsWith("Range")) {
            texts.insert(name, label->text());
        }
    }
    return texts;
}

void Type(QWidget& window, const char* name, const QString& text) {
    auto* box = window.findChild<QLineEdit*>(name);
    box->setText(text);
    emit qobject_cast<EntryBox*>(box)->Entered();
}

// Accepts the file dialog with `path` after checking how the command prepared it.
struct FileDialogCheck {
    QString title;
    QString suffix;
    QStringList filters;
    QString typed;
};

NextModal AcceptFileDialog(const QString& path, FileDialogCheck& seen) {
    return NextModal([path, &seen](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (dialog == nullptr) {
            modal->close();
            return;
        }
        seen.title = dialog->windowTitle();
        seen.suffix = dialog->defaultSuffix();
        seen.filters = dialog->nameFilters();
        if (auto* name = dialog->findChild<QLineEdit*>("fileNameEdit")) {
            seen.typed = name->text();
        }
        dialog->selectFile(path);
        if (auto* name = dialog->findChild<QLineEdit*>("fileNameEdit")) {
            name->setText(path); // as the user types it
        }
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    });
}

} // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void SaveThenLoad_RestoresTheWindow();
    void Save_FamilyBDefaults_GivesTheKnownBytes();
    void Save_WhileFamilyA_KeepsTheHiddenSwitches();
    void Dialogs_HaveTheirTitlesExtensionAndFilter();
    void Cancel_ChangesNothing();
    void Load_MissingOrShortFile_ReportsAndLeavesWindowAlone();
    void Save_Unwritable_ReportsAndLeavesRecordAlone();
};

void FileCommandsTest::SaveThenLoad_RestoresTheWindow() {
    Sandbox sandbox;
    MainWindow window;
    // Range counts are whole steps of 0.054144 inch, taken downwards: 4000 steps show 216.58
    // and 149 steps 8.07.
    Type(window, "txtMaxRange", "216.58");
    Type(window, "txtMinRange", "8.07");
    Type(window, "txtSw2Setpoint", "33.33");
    Type(window, "txtSw4Hyst", "1.5");
    window.Editors().Sw(3).SetModeWind();
    window.Editors().Sw(1).SetEchoLossOff();
    window.Editors().Sw(4).SetPolarityReversed();
    window.Editors().Analog().SetAnalogPowerUpHigh();
    window.Editors().Analog().SetAnalogEchoLossHigh();
    Type(window, "txtAnalogFarEndpoint", "99.5");
    Type(window, "txtAnalogNearOutput", "12");
    window.Menus().SwSetAllowed(3)->setChecked(false);
    window.DescriptionBox()->setText("Silo 7");
    const QMap<QString, QString> saved = WindowTexts(window);
    const QString path = sandbox.Path("silo.cfg");
    QVERIFY(window.SaveConfigurationFile(path));
    QCOMPARE(QFile(path).size(), 256);

    window.Menus().mnuFileNewFactoryConfiguration->trigger();
    QVERIFY(WindowTexts(window) != saved);
    QVERIFY(window.LoadConfigurationFile(path));
    const QMap<QString, QString> loaded = WindowTexts(window);
    for (auto it = saved.begin(); it != saved.end(); ++it) {
        QVERIFY2(loaded.value(it.key()) == it.value(),
                 qPrintable(it.key() + ": " + loaded.value(it.key()) + " != " + it.value()));
    }
    QVERIFY(!window.Menus().SwSetAllowed(3)->isChecked());
    QVERIFY(window.Menus().SwSetAllowed(4)->isChecked());
}

void FileCommandsTest::Save_FamilyBDefaults_GivesTheKnownBytes() {
    Sandbox sandbox;
    MainWindow window;
    const QString path = sandbox.Path("defaults.cfg");
    sandbox.Write("defaults.cfg", QByteArray(400, '\x55')); // a longer file is replaced
    QVERIFY(window.SaveConfigurationFile(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(bytes.size(), 256);
    QCOMPARE(int(quint8(bytes.at(66))), 29); // length of "<describe configuration here>"
    // Run mode 1, temperature compensation and pushbutton programming on, in normal range:
    // the record reaches the file through the window, whose 221.77 is just short of the long
    // range (the factory record itself holds 221.77045, which encodes as long range, 233).
    QCOMPARE(int(quint8(bytes.at(174))), 201);
    for (int i = 1; i < 256; i += 2) {
        QCOMPARE(int(bytes.at(i)), 0);
    }
}

void FileCommandsTest::Save_WhileFamilyA_KeepsTheHiddenSwitches() {
    Sandbox sandbox;
    MainWindow window;
    Type(window, "txtSw4Setpoint", "77.25");
    window.Menus().mnuSensorTypeKelvoA->trigger();
    const QString path = sandbox.Path("a.cfg");
    QVERIFY(window.SaveConfigurationFile(path));
    window.Menus().mnuSensorTypeKelvoB->trigger();
    window.Menus().mnuFileNewFactoryConfiguration->trigger();
    QCOMPARE(window.findChild<QLineEdit*>("txtSw4Setpoint")->text(), QString("48.00"));
    QVERIFY(window.LoadConfigurationFile(path));
    QCOMPARE(window.findChild<QLineEdit*>("txtSw4Setpoint")->text(), QString("77.25"));
}

void FileCommandsTest::Dialogs_HaveTheirTitlesExtensionAndFilter() {
    Sandbox sandbox;
    MainWindow window;
    const QString path = sandbox.Path("through-dialog.cfg");
    FileDialogCheck save;
    {
        NextModal modal = AcceptFileDialog(path, save);
        window.Menus().mnuFileSaveToFile->trigger();
        QVERIFY(modal.Seen());
    }
    QCOMPARE(save.title, QString("Save As"));
    QCOMPARE(save.suffix, QString("cfg"));
    QCOMPARE(save.typed, QString("*.cfg"));
    QVERIFY(QFile::exists(path));

    window.Menus().mnuFileNewFactoryConfiguration->trigger();
    window.DescriptionBox()->setText("changed");
    FileDialogCheck open;
    {
        NextModal modal = AcceptFileDialog(path, open);
        window.Menus().mnuFileOpenFromFile->trigger();
        QVERIFY(modal.Seen());
    }
    QCOMPARE(open.title, QString("Get File"));
    QCOMPARE(open.filters, QStringList({"*.cfg"}));
    QCOMPARE(open.typed, QString("*.cfg"));
    QCOMPARE(window.DescriptionBox()->text(), QString("<describe configuration here>"));
}

void FileCommandsTest::Cancel_ChangesNothing() {
    Sandbox sandbox;
    MainWindow window;
    window.DescriptionBox()->setText("kept");
    const SensorConfig before = window.Config();
    for (QAction* command :
         {window.Menus().mnuFileSaveToFile, window.Menus().mnuFileOpenFromFile}) {
        NextModal modal([](QWidget* dialog) { qobject_cast<QDialog*>(dialog)->reject(); });
        command->trigger();
        QVERIFY(modal.Seen());
    }
    QCOMPARE(window.DescriptionBox()->text(), QString("kept"));
    QCOMPARE(window.Config().Description, before.Description);
    QCOMPARE(QDir(sandbox.Path(".")).entryList({"*.cfg"}), QStringList());
}

void FileCommandsTest::Load_MissingOrShortFile_ReportsAndLeavesWindowAlone() {
    Sandbox sandbox;
    MainWindow window;
    window.DescriptionBox()->setText("typed, not saved");
    const QMap<QString, QString> before = WindowTexts(window);
    const SensorConfig record = window.Config();
    sandbox.Write("short.cfg", QByteArray(255, '\x01'));
    for (const QString& name : {QString("missing.cfg"), QString("short.cfg")}) {
        NextModal modal(NextModal::Dismiss);
        QVERIFY(!window.LoadConfigurationFile(sandbox.Path(name)));
        QVERIFY(modal.Seen());
        QCOMPARE(modal.Title(), QString("Get Configuration"));
        QVERIFY2(modal.Text().contains(name), qPrintable(modal.Text()));
        QCOMPARE(WindowTexts(window), before);
        QCOMPARE(window.Config().MaxRange, record.MaxRange);
        QCOMPARE(window.Config().Sw1Setpoint, record.Sw1Setpoint);
        QCOMPARE(window.DescriptionBox()->text(), QString("typed, not saved"));
    }
    QVERIFY(!QFile::exists(sandbox.Path("missing.cfg"))); // nothing is created
}

void FileCommandsTest::Save_Unwritable_ReportsAndLeavesRecordAlone() {
    Sandbox sandbox;
    MainWindow window;
    window.DescriptionBox()->setText("not in the record yet");
    const std::string description = window.Config().Description;
    NextModal modal(NextModal::Dismiss);
    QVERIFY(!window.SaveConfigurationFile(sandbox.Path("no-such-folder/x.cfg")));
    QVERIFY(modal.Seen());
    QCOMPARE(modal.Title(), QString("Save Configuration"));
    QCOMPARE(window.Config().Description, description);
    QCOMPARE(window.DescriptionBox()->text(), QString("not in the record yet"));
}

QTEST_MAIN(FileCommandsTest)
#include "file_commands_test.moc"
