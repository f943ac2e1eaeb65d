#include "dialogs/ui/run_mode_dialog.h"

#include "config/number_text.h"
#include "config/sensor_config.h"
#include "dialogs/interval_text.h"
#include "form/dialog_controls.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace telmora {

using namespace dialog_controls;

RunModeDialog::RunModeDialog(SensorConfig& config, QWidget* parent, const char* name,
                             const QString& title)
    : QDialog(parent), config_(config), runModeOptions_(new QButtonGroup(this)) {
    setObjectName(name);
    setWindowTitle(title);
    setModal(true);
    connect(runModeOptions_, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on) {
            RunModeOptionClick(id);
        }
    });
}

void RunModeDialog::Assemble(QWidget* note, QGroupBox* runModeFrame,
                             std::initializer_list<QGroupBox*> rightFrames,
                             const QString& okTooltip) {
    auto* rightColumn = new QVBoxLayout;
    for (QGroupBox* frame : rightFrames) {
        rightColumn->addWidget(frame);
    }
    rightColumn->addStretch(1);

    auto* groups = new QHBoxLayout;
    groups->addWidget(runModeFrame);
    groups->addLayout(rightColumn);

    const OkCancel buttons = MakeOkCancel(this, okTooltip);
    auto* layout = new QVBoxLayout(this);
    if (note) {
        layout->addWidget(note);
    }
    layout->addLayout(groups);
    layout->addWidget(buttons.Box);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QRadioButton* RunModeDialog::AddRunModeOption(QWidget* parent, int code, const char* name,
                                              const QString& caption, const QString& tooltip) {
    QRadioButton* option = MakeOption(parent, name, caption, tooltip);
    runModeOptions_->addButton(option, code);
    return option;
}

void RunModeDialog::MakePrimingInput(QWidget* parent, const QString& tooltip) {
    txtPrimingCycles_ =
        MakeNumberBox(parent, "txtPrimingCycles", tooltip, QStringLiteral("Priming cycles"));
    lblPrimingCycles_ =
        MakeLabel(parent, "lblPrimingCycles", QStringLiteral("Priming Cycles"), txtPrimingCycles_);
}

QGroupBox* RunModeDialog::BuildPushButtonFrame() {
    const PushButtonFrame pushButton = MakePushButtonFrame(this);
    fraPBSwitch_ = pushButton.Frame;
    optPBEnabled_ = pushButton.Enabled;
    optPBDisabled_ = pushButton.Disabled;
    return fraPBSwitch_;
}

QGroupBox* RunModeDialog::BuildTimingFrame(const char* frameName, int boxChars,
                                           Qt::Alignment boxAlignment) {
    auto* frame = MakeGroup(this, frameName, QStringLiteral("Pwr / Timing"),
                            QStringLiteral("Power and timing"));
    txtNumberOfPulses_ = MakeNumberBox(frame, "txtNumberOfPulses",
                                       QStringLiteral("Number of ultrasonic pulses (1 to 10)"),
                                       QStringLiteral("Number of pulses"), boxChars);
    txtInterval_ =
        MakeNumberBox(frame, "txtInterval", QStringLiteral("Measurement interval in milliseconds"),
                      QStringLiteral("Measurement interval in milliseconds"), boxChars);
    auto* grid = new QGridLayout(frame);
    grid->addWidget(MakeLabel(frame, "Label1", QStringLiteral("# Pulses"), txtNumberOfPulses_), 0,
                    0);
    grid->addWidget(txtNumberOfPulses_, 0, 1, boxAlignment);
    grid->addWidget(MakeLabel(frame, "Label5", QStringLiteral("Interval"), txtInterval_), 1, 0);
    grid->addWidget(txtInterval_, 1, 1, boxAlignment);
    QLabel* unit = MakeLabel(frame, "lblIntervalUnit", QStringLiteral("ms"), txtInterval_);
    unit->setAccessibleName(QStringLiteral("milliseconds"));
    grid->addWidget(unit, 1, 2);
    grid->setColumnStretch(0, 1);
    return frame;
}

void RunModeDialog::LoadShared(const std::string& intervalText) {
    (config_.PBEnabled ? optPBEnabled_ : optPBDisabled_)->setChecked(true);
    txtInterval_->setText(QString::fromStdString(intervalText));
    txtNumberOfPulses_->setText(QString::number(config_.NumberOfPulses));
    txtPrimingCycles_->setText(QString::number(config_.PrimingCycles));
    SetInputEnabled(lblPrimingCycles_, txtPrimingCycles_, false);
}

void RunModeDialog::SetPushButtonEnabled(bool enabled) {
    fraPBSwitch_->setEnabled(enabled);
    optPBEnabled_->setEnabled(enabled);
    optPBDisabled_->setEnabled(enabled);
}

void RunModeDialog::accept() {
    StoreOwnSettings();
    config_.PBEnabled = fraPBSwitch_->isEnabled() && optPBEnabled_->isChecked();
    config_.PrimingCycles = ReadWholeNumber(TextOf(txtPrimingCycles_), 0, 255);
    // No option is chosen when the record holds a mode this dialog cannot set; it stays.
    if (const int chosen = runModeOptions_->checkedId(); chosen != -1) {
        config_.RunMode = static_cast<std::int16_t>(chosen);
    }
    config_.Interval = ReadIntervalSeconds(TextOf(txtInterval_));
    config_.NumberOfPulses = ReadWholeNumber(TextOf(txtNumberOfPulses_), 1, 10);
    QDialog::accept();
}

} // namespace telmora
