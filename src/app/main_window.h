#pragma once

#include "app/help_command.h"
#include "app/main_menus.h"
#include "config/sensor_config.h"
#include "form/form_geometry.h"
#include "link/link_host.h"

#include <QMainWindow>

#include <memory>

class QFileDialog;
class QLabel;
class QLineEdit;

namespace telmora {

class EditHistory;
class FormSurface;
class MeasurementDisplay;
class OutputEditors;
class PortChooser;
class RecentFiles;
class RecordTransfer;
class SensorLink;
class StatusPanel;

// frmMain: the one main window that holds every display and editor. It owns the sensor
// configuration record, the register image, the family flags and the components that
// show and edit them, and it is the host the sensor link reports to.
class MainWindow : public QMainWindow, public LinkHost {
    Q_OBJECT
  public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    SensorConfig& Config() { return config_; }
    const RegisterImage& Image() const { return image_; }
    bool FamilyA() const { return familyA_; }
    bool FamilyB() const { return familyB_; }

    FormSurface& Surface() { return *surface_; }
    FormGeometry& Geometry() { return *geometry_; }
    const MainMenus& Menus() const { return menus_; }
    StatusPanel& Status() { return *status_; }
    OutputEditors& Editors() { return *editors_; }
    MeasurementDisplay& Display() { return *display_; }
    SensorLink& Link() { return *link_; }
    PortChooser& Ports() { return *chooser_; }
    QLineEdit* DescriptionBox() const { return txtDescription_; }
    HelpCommand& Help() { return help_; }
    EditHistory& History() { return *history_; }
    RecentFiles& Recent() { return *recent_; }

    // Family layout: hide or show the controls only family B has.
    void ShowFamilyALayout();
    void ShowFamilyBLayout();

    // Record to window and back.
    void ShowRecordA();
    void ShowRecordB();
    void ReadWindowA();
    void ReadWindowB();

    // LinkHost: what the sensor commands need from the window.
    SensorFamily SelectedFamily() const override;
    void SetFamily(SensorFamily family) override;
    void ShowRecord(SensorFamily family, const RegisterImage& image) override;
    RegisterImage ReadWindow(SensorFamily family) override;
    void Warn(std::string_view text) override;
    void ShowStatus(std::string_view text) override;

    // Menu commands.
    void mnuSensorTypeKelvoAClick();
    void mnuSensorTypeKelvoBClick();
    void mnuFiltersClick();
    void mnuProcessingClick();
    void mnuFileNewFactoryConfigurationClick();
    void mnuFileSaveToFileClick();
    void mnuFileOpenFromFileClick();
    void mnuFileSaveToSensorClick();
    void mnuFileOpenFromSensorClick();
    void mnuFileCompareWithSensorClick();
    void mnuFileCompareWithFileClick();
    void mnuComPortClick();
    void mnuFileReportClick();
    void mnuFilePrintClick();
    void mnuLogDataToFileClick();
    void mnuHelpClick();
    void mnuHelpAboutClick();
    void mnuFileExitClick();

    // The configuration file commands without their dialogs: false, with the window
    // unchanged, after telling the user why the file could not be written or read.
    bool SaveConfigurationFile(const QString& path);
    bool LoadConfigurationFile(const QString& path);
    // "Compare With File..." without its dialog: the comparison with the file at `path`,
    // or false after telling the user why the file could not be read.
    bool CompareWithFile(const QString& path);
    // The commissioning report of what the window shows, written as a PDF without the file
    // dialog; false after telling the user why it could not be written.
    bool WriteCommissioningReport(const QString& path);
    // A "&Recent Files" entry: loads the file after asking about unsaved edits; a file
    // that fails to load leaves the list.
    void OpenRecentFile(const QString& path);

  protected:
    // The close box and the window manager's close leave as "E&xit" does.
    void closeEvent(QCloseEvent* event) override;

  private:
    bool MayLeave();
    // Unsaved edits are about to be dropped: true when the user saved them or lets them go,
    // false when the command should not go on. Nothing is asked without edits.
    bool MayDropEdits();
    // "&Save Configuration to Disk" with its dialog: true when the file was written.
    bool SaveThroughDialog();
    void BuildEditProtection();
    // The window shows a configuration that came from `file` (empty: not from a file).
    void ConfigurationArrived(const QString& file);
    void ShowTitle();
    void BuildOwnControls();
    void BuildLink();
    void ConnectMenus();
    void SetExchangeRunning(bool running);
    void ReportPortError(const QString& message);
    void StartUp();
    void PlaceWindowOnScreen();
    void SetFamilyFlags(bool familyA, bool familyB);
    void ShowError(const QString& title, const QString& text);
    QFileDialog& CommonDialog1();
    // The file an "open" of CommonDialog1 titled `title` chose; empty when cancelled.
    QString AskForConfigurationFile(const QString& title);
    void ShowComparison(const QString& title, const std::string& otherName,
                        const SensorConfig& other);

    SensorConfig config_;
    RegisterImage image_{};
    bool familyA_ = false;
    bool familyB_ = false;
    bool exchangeRunning_ = false;
    bool startingUp_ = true;

    FormSurface* surface_;
    std::unique_ptr<FormGeometry> geometry_;
    MainMenus menus_;
    std::unique_ptr<StatusPanel> status_;
    std::unique_ptr<OutputEditors> editors_;
    MeasurementDisplay* display_ = nullptr; // a child of the window
    std::unique_ptr<SensorLink> link_;
    std::unique_ptr<PortChooser> chooser_;
    std::unique_ptr<RecordTransfer> transfer_;
    // After the transfer it reads through, so it goes first.
    std::unique_ptr<EditHistory> history_;
    std::unique_ptr<RecentFiles> recent_;
    QString file_; // the configuration file the window's configuration came from or went to
    HelpCommand help_;
    QLabel* lblDescription_ = nullptr;
    QLineEdit* txtDescription_ = nullptr;
    QFileDialog* commonDialog1_ = nullptr;
    QString configFile_; // the configuration file last loaded or saved, for the report
};

} // namespace telmora
