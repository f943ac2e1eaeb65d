#include "dialogs/run_mode_dialog_a.h"

#include "config/number_text.h"
#include "config/sensor_config.h"
#include "dialogs/dialog_controls.h"
#include "dialogs/interval_text.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
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

} // namespace

using namespace dialog_controls;

RunModeDialogA::RunModeDialogA(SensorConfig& config, QWidget* parent)
    : QDialog(parent), config_(config) {
    setObjectName("frmRunModeA");
    setWindowTitle(QStringLiteral("Kelvo-A Processing Parameters"));
    setModal(true);

    QGroupBox* runMode = BuildRunModeFrame();
    auto* rightColumn = new QVBoxLayout;
    rightColumn->addWidget(BuildPushButtonFrame());
    rightColumn->addWidget(BuildTimingFrame());
    rightColumn->addStretch(1);

    auto* groups = new QHBoxLayout;
    groups->addWidget(runMode);
    groups->addLayout(rightColumn);

    const OkCancel buttons = MakeOkCancel(this, QStringLiteral("Click to accept changes"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addWidget(buttons.box);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(runModeOptions_, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on) {
            RunModeOptionClick(id);
        }
    });

    Load();
}

QGroupBox* RunModeDialogA::BuildRunModeFrame() {
    auto* frame = MakeGroup(this, "fraRunMode", QString(), QStringLiteral("Run mode"));
    runModeOptions_ = new QButtonGroup(this);
    auto* column = new QVBoxLayout(frame);

    auto addOption = [&](QWidget* parent, int code, const char* name, const char* caption,
                         const char* tooltip) {
        QRadioButton* option =
            MakeOption(parent, name, QString::fromUtf8(caption), QString::fromUtf8(tooltip));
        runModeOptions_->addButton(option, code);
        return option;
    };
    column->addWidget(addOption(frame, kContinuousRS232, "optContinuousRS232", "Continuous (RS232)",
                                "Sensor runs continuously with RS-232 output"));
    column->addWidget(addOption(frame, kContinuousNoRS232, "optContinuousNoRS232",
                                "Continuous (No RS232)",
                                "Sensor runs continuously without RS-232 output"));

    // The rectangle gathers the modes that prime before measuring, with the priming input.
    QFrame* shape = MakeShape(frame, "Shape1");
    auto* shapeColumn = new QVBoxLayout(shape);
    shapeColumn->addWidget(addOption(shape, kPolledHold, "optPolledHold", "Polled (Hold)",
                                     "Sensor waits for commands from external computer"));
    shapeColumn->addWidget(addOption(shape, kExternalTrigger, "optExternalTrigger",
                                     "External Trigger",
                                     "Sensor waits for External Trigger signal to go low"));
    txtPrimingCycles_ = MakeNumberBox(
        shape, "txtPrimingCycles",
        QStringLiteral("Number of cycles to run before taking measurement (0 to 255)"),
        QStringLiteral("Priming cycles"));
    lblPrimingCycles_ =
        MakeLabel(shape, "lblPrimingCycles", QStringLiteral("Priming Cycles"), txtPrimingCycles_);
    auto* primingRow = new QHBoxLayout;
    primingRow->addWidget(lblPrimingCycles_);
    primingRow->addStretch(1);
    primingRow->addWidget(txtPrimingCycles_);
    shapeColumn->addLayout(primingRow);

    column->addWidget(shape);
    column->addStretch(1);
    return frame;
}

QGroupBox* RunModeDialogA::BuildPushButtonFrame() {
    const PushButtonFrame pushButton = MakePushButtonFrame(this);
    fraPBSwitch_ = pushButton.frame;
    optPBEnabled_ = pushButton.enabled;
    optPBDisabled_ = pushButton.disabled;
    return fraPBSwitch_;
}

QGroupBox* RunModeDialogA::BuildTimingFrame() {
    auto* frame = MakeGroup(this, "fraPwrTiming", QStringLiteral("Pwr / Timing"),
                            QStringLiteral("Power and timing"));
    txtNumberOfPulses_ = MakeNumberBox(frame, "txtNumberOfPulses",
                                       QStringLiteral("Number of ultrasonic pulses (1 to 10)"),
                                       QStringLiteral("Number of pulses"));
    txtInterval_ =
        MakeNumberBox(frame, "txtInterval", QStringLiteral("Measurement interval in milliseconds"),
                      QStringLiteral("Measurement interval in milliseconds"));
    auto* form = new QGridLayout(frame);
    form->addWidget(MakeLabel(frame, "Label1", QStringLiteral("# Pulses"), txtNumberOfPulses_), 0,
                    0);
    form->addWidget(txtNumberOfPulses_, 0, 1);
    form->addWidget(MakeLabel(frame, "Label5", QStringLiteral("Interval"), txtInterval_), 1, 0);
    form->addWidget(txtInterval_, 1, 1);
    QLabel* unit = MakeLabel(frame, "lblIntervalUnit", QStringLiteral("ms"), txtInterval_);
    unit->setAccessibleName(QStringLiteral("milliseconds"));
    form->addWidget(unit, 1, 2);
    form->setColumnStretch(0, 1);
    return frame;
}

bool RunModeDialogA::Edit(SensorConfig& config, QWidget* parent) {
    RunModeDialogA dialog(config, parent);
    return dialog.exec() == QDialog::Accepted;
}

void RunModeDialogA::Load() {
    (config_.PBEnabled ? optPBEnabled_ : optPBDisabled_)->setChecked(true);
    txtInterval_->setText(QString::fromStdString(FormatIntervalWholeMs(config_.Interval)));
    txtNumberOfPulses_->setText(QString::number(config_.NumberOfPulses));
    txtPrimingCycles_->setText(QString::number(config_.PrimingCycles));
    SetInputEnabled(lblPrimingCycles_, txtPrimingCycles_, false);

    if (QAbstractButton* option = runModeOptions_->button(config_.RunMode)) {
        option->setChecked(true);
        return;
    }
    // A family B mode: shown as the default mode, with priming open for editing.
    runModeOptions_->button(kContinuousRS232)->setChecked(true);
    SetInputEnabled(lblPrimingCycles_, txtPrimingCycles_, true);
}

void RunModeDialogA::SetPushButtonEnabled(bool enabled) {
    fraPBSwitch_->setEnabled(enabled);
    optPBEnabled_->setEnabled(enabled);
    optPBDisabled_->setEnabled(enabled);
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

void RunModeDialogA::accept() {
    config_.PBEnabled = fraPBSwitch_->isEnabled() && optPBEnabled_->isChecked();
    config_.PrimingCycles = ReadWholeNumber(TextOf(txtPrimingCycles_), 0, 255);
    if (const int chosen = runModeOptions_->checkedId(); chosen != -1) {
        config_.RunMode = static_cast<std::int16_t>(chosen);
    }
    config_.Interval = ReadIntervalSeconds(TextOf(txtInterval_));
    config_.NumberOfPulses = ReadWholeNumber(TextOf(txtNumberOfPulses_), 1, 10);
    QDialog::accept();
}

} // namespace telmora
