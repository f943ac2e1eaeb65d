#include "dialogs/ui/run_mode_dialog_b.h"

#include "config/number_text.h"
#include "config/option_codes.h"
#include "config/sensor_config.h"
#include "dialogs/interval_text.h"
#include "form/dialog_controls.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace telmora {

namespace {

// The mode a sensor can report but no one can choose here.
constexpr std::int16_t kSensorOnlyRunMode = 8;

struct RunModeOption {
    int Code;
    const char* Name;
    const char* Tooltip;
    bool Node;     // the node address input is enabled
    bool Priming;  // the priming input is enabled
    bool PbSwitch; // push-button programming may be allowed
};

constexpr RunModeOption kRunModes[] = {
    {1, "optContinuousRS232", "Sensor runs continuously with RS-232 output", false, false, true},
    {2, "optContinuousNoRS232", "Sensor runs continuously without RS-232 output", false, false,
     true},
    {3, "optPolledHold", "Sensor waits for instructions from external computer", false, true, true},
    {4, "optPolledRun",
     "Sensor waits for instructions from external computer but runs continuously after 30 to "
     "60 seconds",
     false, true, true},
    {5, "optRS485Hold", "Sensor waits for network command", true, true, true},
    {6, "optRS485Run",
     "Sensor waits for network command but runs continuously after 30 to 60 seconds timeout", true,
     true, true},
    {7, "optExternalTrigger", "Sensor waits for External Trigger signal to go low", false, true,
     false},
};

const RunModeOption* FindRunMode(int code) {
    for (const RunModeOption& option : kRunModes) {
        if (option.Code == code) {
            return &option;
        }
    }
    return nullptr;
}

// A number box with its caption on one row, the box at the right edge.
QHBoxLayout* InputRow(QLabel* label, QLineEdit* box) {
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addStretch(1);
    row->addWidget(box);
    return row;
}

} // namespace

using namespace dialog_controls;

RunModeDialogB::RunModeDialogB(SensorConfig& config, QWidget* parent)
    : RunModeDialog(config, parent, "frmRunModeB",
                    QStringLiteral("Kelvo-B Processing Parameters")) {
    const QString note = QStringLiteral(
        "The sensor reports run mode 8, which this dialog cannot set. OK keeps it unless you "
        "choose another run mode.");
    lblRunModeNote_ = new QLabel(note, this);
    lblRunModeNote_->setObjectName("lblRunModeNote");
    lblRunModeNote_->setAccessibleName(note);
    lblRunModeNote_->setWordWrap(true);

    QGroupBox* runMode = BuildRunModeFrame();
    Assemble(lblRunModeNote_, runMode,
             {BuildPushButtonFrame(), BuildTempCompFrame(),
              BuildTimingFrame("Frame2", 6, Qt::AlignRight)},
             QStringLiteral("Click to accept settings"));
    Load();
}

QGroupBox* RunModeDialogB::BuildRunModeFrame() {
    auto* frame = MakeGroup(this, "Frame1", QStringLiteral("Run Mode"), QStringLiteral("Run Mode"));
    auto option = [&](QWidget* parent, int code) {
        const RunModeOption& mode = *FindRunMode(code);
        return AddRunModeOption(parent, code, mode.Name,
                                QString::fromUtf8(kSensorRunMode.CaptionOfCode(mode.Code)),
                                QString::fromUtf8(mode.Tooltip));
    };

    // Shape1 gathers the modes that prime before measuring; Shape2 within it the network
    // modes that answer to a node address.
    QFrame* shape1 = MakeShape(frame, "Shape1");
    QFrame* shape2 = MakeShape(shape1, "Shape2");

    txtNodeAddress_ = MakeNumberBox(shape2, "txtNodeAddress",
                                    QStringLiteral("Enter network node address (1 to 255)"),
                                    QStringLiteral("Node address"));
    lblNodeAddress_ =
        MakeLabel(shape2, "lblNodeAddress", QStringLiteral("Node Address"), txtNodeAddress_);
    auto* networkColumn = new QVBoxLayout(shape2);
    networkColumn->addWidget(option(shape2, 5));
    networkColumn->addWidget(option(shape2, 6));
    networkColumn->addLayout(InputRow(lblNodeAddress_, txtNodeAddress_));

    MakePrimingInput(shape1,
                     QStringLiteral("Enter number of cycles to measure before taking a sample"));
    auto* primingColumn = new QVBoxLayout(shape1);
    primingColumn->addWidget(option(shape1, 3));
    primingColumn->addWidget(option(shape1, 4));
    primingColumn->addWidget(shape2);
    primingColumn->addWidget(option(shape1, 7));
    primingColumn->addLayout(InputRow(lblPrimingCycles_, txtPrimingCycles_));

    auto* column = new QVBoxLayout(frame);
    column->addWidget(option(frame, 1));
    column->addWidget(option(frame, 2));
    column->addWidget(shape1);
    column->addStretch(1);
    return frame;
}

QGroupBox* RunModeDialogB::BuildTempCompFrame() {
    auto* frame = MakeGroup(this, "fraTempComp", QStringLiteral("Temperature Compensation"),
                            QStringLiteral("Temperature Compensation"));
    optTempCompOn_ = MakeOption(frame, "optTempCompOn", QStringLiteral("On"),
                                QStringLiteral("Click to compensate for temperature effects"));
    optTempCompOff_ = MakeOption(frame, "optTempCompOff", QStringLiteral("Off"),
                                 QStringLiteral("Click to disable temperature compensation"));
    auto* column = new QVBoxLayout(frame);
    column->addWidget(optTempCompOn_);
    column->addWidget(optTempCompOff_);
    return frame;
}

bool RunModeDialogB::Edit(SensorConfig& config, QWidget* parent) {
    RunModeDialogB dialog(config, parent);
    return dialog.exec() == QDialog::Accepted;
}

void RunModeDialogB::Load() {
    (config_.TempComp ? optTempCompOn_ : optTempCompOff_)->setChecked(true);
    LoadShared(FormatIntervalMs(config_.Interval));
    txtNodeAddress_->setText(QString::number(config_.NodeAddress));
    SetInputEnabled(lblNodeAddress_, txtNodeAddress_, false);

    const bool sensorOnlyMode = config_.RunMode == kSensorOnlyRunMode;
    lblRunModeNote_->setVisible(sensorOnlyMode);
    if (sensorOnlyMode) {
        return;
    }
    const int shown = FindRunMode(config_.RunMode) ? config_.RunMode : 1;
    runModeOptions_->button(shown)->setChecked(true);
}

void RunModeDialogB::RunModeOptionClick(int runMode) {
    const RunModeOption& mode = *FindRunMode(runMode);
    SetInputEnabled(lblNodeAddress_, txtNodeAddress_, mode.Node);
    SetInputEnabled(lblPrimingCycles_, txtPrimingCycles_, mode.Priming);
    SetPushButtonEnabled(mode.PbSwitch);
    if (!mode.PbSwitch) {
        optPBDisabled_->setChecked(true);
    }
}

void RunModeDialogB::StoreOwnSettings() {
    config_.TempComp = optTempCompOn_->isChecked();
    config_.NodeAddress = ReadWholeNumber(TextOf(txtNodeAddress_), 0, 255);
}

} // namespace telmora
