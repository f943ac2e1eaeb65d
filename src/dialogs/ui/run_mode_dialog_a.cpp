#include "dialogs/ui/run_mode_dialog_a.h"

#include "config/option_codes.h"
#include "config/sensor_config.h"
#include "dialogs/interval_text.h"
#include "form/dialog_controls.h"

#include <QAbstractButton>
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

constexpr int kContinuousRS232 = 1;
constexpr int kContinuousNoRS232 = 2;
constexpr int kPolledHold = 3;
constexpr int kExternalTrigger = 7;

// Run modes that count priming cycles before a measurement.
bool UsesPriming(int runMode) {
    return runMode == kPolledHold || runMode == kExternalTrigger;
}

QString Caption(int runMode) {
    return QString::fromUtf8(kSensorRunMode.CaptionOfCode(runMode));
}

} // namespace

using namespace dialog_controls;

RunModeDialogA::RunModeDialogA(SensorConfig& config, QWidget* parent)
    : RunModeDialog(config, parent, "frmRunModeA",
                    QStringLiteral("Kelvo-A Processing Parameters")) {
    QGroupBox* runMode = BuildRunModeFrame();
    Assemble(nullptr, runMode, {BuildPushButtonFrame(), BuildTimingFrame("fraPwrTiming", 5, {})},
             QStringLiteral("Click to accept changes"));
    Load();
}

QGroupBox* RunModeDialogA::BuildRunModeFrame() {
    auto* frame = MakeGroup(this, "fraRunMode", QString(), QStringLiteral("Run mode"));
    auto* column = new QVBoxLayout(frame);
    column->addWidget(
        AddRunModeOption(frame, kContinuousRS232, "optContinuousRS232", Caption(kContinuousRS232),
                         QStringLiteral("Sensor runs continuously with RS-232 output")));
    column->addWidget(AddRunModeOption(
        frame, kContinuousNoRS232, "optContinuousNoRS232", Caption(kContinuousNoRS232),
        QStringLiteral("Sensor runs continuously without RS-232 output")));

    // The rectangle gathers the modes that prime before measuring, with the priming input.
    QFrame* shape = MakeShape(frame, "Shape1");
    auto* shapeColumn = new QVBoxLayout(shape);
    shapeColumn->addWidget(
        AddRunModeOption(shape, kPolledHold, "optPolledHold", Caption(kPolledHold),
                         QStringLiteral("Sensor waits for commands from external computer")));
    shapeColumn->addWidget(
        AddRunModeOption(shape, kExternalTrigger, "optExternalTrigger", Caption(kExternalTrigger),
                         QStringLiteral("Sensor waits for External Trigger signal to go low")));
    MakePrimingInput(
        shape, QStringLiteral("Number of cycles to run before taking measurement (0 to 255)"));
    auto* primingRow = new QHBoxLayout;
    primingRow->addWidget(lblPrimingCycles_);
    primingRow->addStretch(1);
    primingRow->addWidget(txtPrimingCycles_);
    shapeColumn->addLayout(primingRow);

    column->addWidget(shape);
    column->addStretch(1);
    return frame;
}

bool RunModeDialogA::Edit(SensorConfig& config, QWidget* parent) {
    RunModeDialogA dialog(config, parent);
    return dialog.exec() == QDialog::Accepted;
}

void RunModeDialogA::Load() {
    LoadShared(FormatIntervalWholeMs(config_.Interval));
    if (QAbstractButton* option = runModeOptions_->button(config_.RunMode)) {
        option->setChecked(true);
        return;
    }
    // A family B mode: shown as the default mode, with priming open for editing.
    runModeOptions_->button(kContinuousRS232)->setChecked(true);
    SetInputEnabled(lblPrimingCycles_, txtPrimingCycles_, true);
}

void RunModeDialogA::RunModeOptionClick(int runMode) {
    SetInputEnabled(lblPrimingCycles_, txtPrimingCycles_, UsesPriming(runMode));
    const bool triggered = runMode == kExternalTrigger;
    SetPushButtonEnabled(!triggered);
    // A triggered sensor never allows push-button programming.
    if (triggered) {
        optPBDisabled_->setChecked(true);
    }
}

} // namespace telmora
