#include "app/main_window.h"

#include "app/about_box.h"
#include "app/alt_key_guard.h"
#include "app/edit_history.h"
#include "app/recent_files.h"
#include "app/record_transfer.h"
#include "app/status_panel.h"
#include "display/ui/editor_controls.h"
#include "display/ui/measurement_display.h"
#include "display/ui/paint_cadence.h"
#include "display/ui/statistics_panel.h"
#include "display/ui/strip_chart_view.h"
#include "editors/ui/output_editors.h"
#include "form/form_surface.h"
#include "link/link_protocol.h"
#include "link/ui/port_chooser.h"
#include "link/ui/sensor_link.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>

namespace telmora {

namespace {

// Per-user setting: whether opening a port finds the sensor's distance scale.
constexpr const char* kFindScaleKey = "link/findDistanceScaleWhenOpening";
constexpr const char* kVerifyKey = "link/verifyAfterWriting";

QSettings UserSettings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "Telmora", "Telmora");
}

// The description travels to the sensor as at most this many characters.
constexpr int kDescriptionLength = 30;

} // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName("frmMain");
    setWindowTitle(VersionText());
    setAccessibleName(VersionText());

    surface_ = new FormSurface(this);
    surface_->setObjectName("frmMainClient");
    surface_->setAccessibleName("Sensor configuration and measurements");
    setCentralWidget(surface_);
    // Readings change the window up to 160 times a second; painting keeps to the screen's pace.
    auto* cadence = new PaintCadence(this);
    new AltKeyGuard(this);
    geometry_ = std::make_unique<FormGeometry>(*surface_);

    menus_ = BuildMainMenus(menuBar());
    status_ = std::make_unique<StatusPanel>(statusBar());
    BuildOwnControls();

    editors_ = std::make_unique<OutputEditors>(*surface_, *geometry_, config_, [this] {
        return FamilyFlags{familyA_, familyB_};
    });
    for (QMenu* popUp : editors_->PopUpMenus()) {
        AdoptPopUpMenu(menus_, popUp);
    }
    connect(editors_.get(), &OutputEditors::LimitNoted, this,
            [this](const QString& note) { status_->ShowNote(note); });
    display_ =
        new MeasurementDisplay(*surface_, *geometry_, config_, EditorControlsOf(*editors_), this);
    connect(&editors_->Range(), &RangeEditor::MinRangeShown, &display_->Chart(),
            &StripChartView::ShowMinRangeCaption);
    connect(&editors_->Range(), &RangeEditor::MaxRangeShown, &display_->Chart(),
            &StripChartView::ShowMaxRangeCaption);
    display_->ShowReadingsWith(*cadence);
    display_->SetLogMenuEntry(menus_.mnuLogDataToFile);
    connect(display_, &MeasurementDisplay::LogChanged, this,
            [this](const QString& path) { status_->ShowLog(path); });
    connect(display_, &MeasurementDisplay::ReadingsNote, this,
            [this](const QString& note) { status_->ShowReadings(note); });
    BuildLink();
    transfer_ = std::make_unique<RecordTransfer>(*editors_, *txtDescription_, config_, menus_);
    BuildEditProtection();

    ConnectMenus();
    StartUp();
}

// The link closes its port as it goes; nothing of the window may hear of that any more.
MainWindow::~MainWindow() {
    if (link_ != nullptr) {
        link_->disconnect();
    }
    chooser_.reset();
    link_.reset();
}

// The description box is the window's own: no editor owns it.
void MainWindow::BuildOwnControls() {
    lblDescription_ = new QLabel("Description", surface_);
    lblDescription_->setObjectName("lblDescription");
    lblDescription_->setAccessibleName("Description");
    geometry_->Place(lblDescription_, {120, 7470, 960, 255});

    txtDescription_ = new QLineEdit(surface_);
    txtDescription_->setObjectName("txtDescription");
    txtDescription_->setAccessibleName("Configuration description");
    txtDescription_->setToolTip("Free text stored in the sensor with its configuration");
    txtDescription_->setMaxLength(kDescriptionLength);
    lblDescription_->setBuddy(txtDescription_);
    geometry_->Place(txtDescription_, {1080, 7440, 4200, 285});
}

void MainWindow::BuildLink() {
    link_ = std::make_unique<SensorLink>(*this);
    const bool findScale = UserSettings().value(kFindScaleKey, true).toBool();
    link_->SetFindScaleOnOpen(findScale);
    menus_.mnuFindScaleOnOpen->setChecked(findScale);
    const bool verify = UserSettings().value(kVerifyKey, true).toBool();
    link_->SetVerifyAfterWriting(verify);
    menus_.mnuVerifyAfterWriting->setChecked(verify);
    chooser_ = std::make_unique<PortChooser>(*link_, this);
    // Statistics never mix two scales: a new scale starts them afresh.
    connect(link_.get(), &SensorLink::LineScaleChanged, this,
            [this] { display_->Statistics().InitStats(); });
    connect(link_.get(), &SensorLink::ScaleNoteChanged, this,
            [this](const QString& note) { status_->ShowScale(note); });
    connect(link_.get(), &SensorLink::Reading, display_, &MeasurementDisplay::ShowReading);
    connect(link_.get(), &SensorLink::DataReceived, display_,
            &MeasurementDisplay::NoteReceiveEvent);
    status_->FollowLink(*link_);
    connect(link_.get(), &SensorLink::BusyChanged, this, &MainWindow::SetExchangeRunning);
    connect(link_.get(), &SensorLink::PortError, this, &MainWindow::ReportPortError);
}

void MainWindow::ConnectMenus() {
    const MainMenus& m = menus_;
    // Any command the user gives comes first: a scale search still running stops for it.
    // Connected before the commands themselves, so it stops before they start.
    for (QAction* entry : menuBar()->findChildren<QAction*>()) {
        connect(entry, &QAction::triggered, link_.get(), &SensorLink::GiveWay);
    }
    connect(m.mnuFindScaleOnOpen, &QAction::toggled, this, [this](bool find) {
        UserSettings().setValue(kFindScaleKey, find);
        link_->SetFindScaleOnOpen(find);
    });
    connect(m.mnuVerifyAfterWriting, &QAction::toggled, this, [this](bool verify) {
        UserSettings().setValue(kVerifyKey, verify);
        link_->SetVerifyAfterWriting(verify);
    });
    connect(m.mnuSensorTypeKelvoA, &QAction::triggered, this,
            &MainWindow::mnuSensorTypeKelvoAClick);
    connect(m.mnuSensorTypeKelvoB, &QAction::triggered, this,
            &MainWindow::mnuSensorTypeKelvoBClick);
    connect(m.mnuFilters, &QAction::triggered, this, &MainWindow::mnuFiltersClick);
    connect(m.mnuProcessing, &QAction::triggered, this, &MainWindow::mnuProcessingClick);
    connect(m.mnuFileNewFactoryConfiguration, &QAction::triggered, this,
            &MainWindow::mnuFileNewFactoryConfigurationClick);
    connect(m.mnuFileSaveToFile, &QAction::triggered, this, &MainWindow::mnuFileSaveToFileClick);
    connect(m.mnuFileOpenFromFile, &QAction::triggered, this,
            &MainWindow::mnuFileOpenFromFileClick);
    connect(m.mnuFileCompareWithSensor, &QAction::triggered, this,
            &MainWindow::mnuFileCompareWithSensorClick);
    connect(m.mnuFileCompareWithFile, &QAction::triggered, this,
            &MainWindow::mnuFileCompareWithFileClick);
    connect(m.mnuFileSaveToSensor, &QAction::triggered, this,
            &MainWindow::mnuFileSaveToSensorClick);
    connect(m.mnuFileOpenFromSensor, &QAction::triggered, this,
            &MainWindow::mnuFileOpenFromSensorClick);
    connect(m.mnuComPort, &QAction::triggered, this, &MainWindow::mnuComPortClick);
    connect(m.mnuFileReport, &QAction::triggered, this, &MainWindow::mnuFileReportClick);
    connect(m.mnuFilePrint, &QAction::triggered, this, &MainWindow::mnuFilePrintClick);
    connect(m.mnuLogDataToFile, &QAction::triggered, this, &MainWindow::mnuLogDataToFileClick);
    connect(m.mnuHelp, &QAction::triggered, this, &MainWindow::mnuHelpClick);
    connect(m.mnuHelpAbout, &QAction::triggered, this, &MainWindow::mnuHelpAboutClick);
    connect(m.mnuFileExit, &QAction::triggered, this, &MainWindow::mnuFileExitClick);
}

void MainWindow::StartUp() {
    // 1. The target marker waits at the right end of the range bar; 2. the chart runs
    // and no log is written (their initial state); 3. fresh statistics; 7. the chart's point
    // buffer is sized to its box. The last step has no effect on the ones between.
    display_->StartUp();
    // 4. Readings are counted in normal range until an image says otherwise.
    config_.CountDistance = kCountDistanceNormal;
    // 5., 6. Find the ports and open the saved one, asking when none is saved. From here
    // on readings are shown as they arrive.
    chooser_->ScanPorts();
    chooser_->OpenSavedPort();
    // 8.
    PlaceWindowOnScreen();
    // 9.
    config_.AnalogOutputMax = 10;
    config_.AnalogOutputMin = 0;
    // 10.
    SetFamilyFlags(false, true);
    ShowFamilyBLayout();
    // 11.
    LoadFactoryDefaultsB(config_);
    ShowRecordB();
    ConfigurationArrived({});
    startingUp_ = false;
}

// Centred horizontally at the top of the screen, at the design size: the client area's
// twips at the screen's logical DPI, which Qt shows at the screen's pixel ratio. Only a
// screen too small for it makes the window smaller. (adjustSize() would cap the window at
// two thirds of the screen, which at 150% and above is less than the design size.)
void MainWindow::PlaceWindowOnScreen() {
    const QScreen* screen =
        this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    QSize size = sizeHint();
    if (screen == nullptr) {
        resize(size);
        return;
    }
    const QRect available = screen->availableGeometry();
    resize(size.boundedTo(available.size()));
    move(available.left() + (available.width() - frameGeometry().width()) / 2, available.top());
}

void MainWindow::ShowFamilyALayout() {
    editors_->SetFamilyBControlsVisible(false);
}

void MainWindow::ShowFamilyBLayout() {
    editors_->SetFamilyBControlsVisible(true);
}

void MainWindow::ShowRecordA() {
    transfer_->ShowRecordA();
}

void MainWindow::ShowRecordB() {
    transfer_->ShowRecordB();
}

void MainWindow::ReadWindowA() {
    transfer_->ReadWindowA();
}

void MainWindow::ReadWindowB() {
    transfer_->ReadWindowB();
}

void MainWindow::SetFamilyFlags(bool familyA, bool familyB) {
    familyA_ = familyA;
    familyB_ = familyB;
    menus_.mnuSensorTypeKelvoA->setChecked(familyA);
    menus_.mnuSensorTypeKelvoB->setChecked(familyB);
    status_->ShowFamily(SelectedFamily());
    menus_.EnableCommands(familyA_ || familyB_, !exchangeRunning_);
}

SensorFamily MainWindow::SelectedFamily() const {
    if (familyA_) {
        return SensorFamily::A;
    }
    return familyB_ ? SensorFamily::B : SensorFamily::None;
}

void MainWindow::SetFamily(SensorFamily family) {
    switch (family) {
    case SensorFamily::A:
        SetFamilyFlags(true, false);
        ShowFamilyALayout();
        break;
    case SensorFamily::B:
        SetFamilyFlags(false, true);
        ShowFamilyBLayout();
        break;
    case SensorFamily::None:
        SetFamilyFlags(false, false);
        break;
    }
}

void MainWindow::Warn(std::string_view text) {
    QMessageBox::warning(this, QString::fromUtf8(kWarningTitle.data(), kWarningTitle.size()),
                         QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void MainWindow::ShowStatus(std::string_view text) {
    status_->ShowNote(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void MainWindow::SetExchangeRunning(bool running) {
    exchangeRunning_ = running;
    menus_.EnableCommands(familyA_ || familyB_, !exchangeRunning_);
}

// Start-up reports nothing in a message box: a port that cannot be opened then shows only
// as "No port open" in the status bar, with the reason as its tooltip. Later failures are
// warnings.
void MainWindow::ReportPortError(const QString& message) {
    if (startingUp_) {
        return;
    }
    QMessageBox::warning(this, QString::fromUtf8(kWarningTitle.data(), kWarningTitle.size()),
                         message);
}

void MainWindow::ShowError(const QString& title, const QString& text) {
    QMessageBox::warning(this, title, text);
}

} // namespace telmora
