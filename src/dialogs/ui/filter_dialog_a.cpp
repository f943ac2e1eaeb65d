#include "dialogs/ui/filter_dialog_a.h"

#include "config/option_codes.h"
#include "config/sensor_config.h"
#include "dialogs/filter_samples.h"
#include "form/dialog_controls.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace telmora {

namespace {
constexpr std::int16_t kFilterNone = 1;
constexpr std::int16_t kFilterAverage = 2;
} // namespace

using namespace dialog_controls;

FilterDialogA::FilterDialogA(SensorConfig& config, QWidget* parent)
    : QDialog(parent), config_(config) {
    setObjectName("frmFilterA");
    setWindowTitle(QStringLiteral("Kelvo-A Filters"));
    setModal(true);

    auto* frame = MakeGroup(this, "Frame1", QString(), QStringLiteral("Filter"));
    optFilterNone_ = MakeOption(frame, "optFilterNone",
                                QString::fromUtf8(kSensorFilter.Caption(SensorFilter::None)),
                                QStringLiteral("Click to turn off all filtering"));
    optAverageOf_ = MakeOption(frame, "optAverageOf",
                               QString::fromUtf8(kSensorFilter.Caption(SensorFilter::AverageOf)),
                               QStringLiteral("Take an average of from 2 to 255 measurements"));
    txtNumberOfSamples_ =
        MakeNumberBox(frame, "txtNumberOfSamples",
                      QStringLiteral("Enater number of samples for Ave, Min and Max filters"),
                      QStringLiteral("Number of samples"));
    lblNumberOfSamples_ = MakeLabel(frame, "lblNumberOfSamples",
                                    QStringLiteral("Number Of Samples"), txtNumberOfSamples_);

    // The count stands beside "Average Of", the option it belongs to.
    auto* grid = new QGridLayout(frame);
    grid->setHorizontalSpacing(16);
    grid->addWidget(optFilterNone_, 0, 0);
    grid->addWidget(lblNumberOfSamples_, 0, 1);
    grid->addWidget(optAverageOf_, 1, 0);
    grid->addWidget(txtNumberOfSamples_, 1, 1);
    grid->setColumnStretch(0, 1);

    LayOutWithOkCancel(this, frame, QStringLiteral("Click to accept changes"));

    connect(optFilterNone_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            optFilterNoneClick();
        }
    });
    connect(optAverageOf_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            optAverageOfClick();
        }
    });

    Load();
}

bool FilterDialogA::Edit(SensorConfig& config, QWidget* parent) {
    FilterDialogA dialog(config, parent);
    return dialog.exec() == QDialog::Accepted;
}

void FilterDialogA::Load() {
    txtNumberOfSamples_->setText(QStringLiteral("1"));
    SetInputEnabled(lblNumberOfSamples_, txtNumberOfSamples_, false);
    if (config_.FilterType == kFilterAverage) {
        optAverageOf_->setChecked(true);
        txtNumberOfSamples_->setText(QString::number(config_.NumberOfSamples));
        SetInputEnabled(lblNumberOfSamples_, txtNumberOfSamples_, true);
        return;
    }
    // Family B's filters mean nothing to a family A sensor, so the record drops them now,
    // whether the user then presses OK or Cancel.
    config_.FilterType = kFilterNone;
    optFilterNone_->setChecked(true);
}

void FilterDialogA::optFilterNoneClick() {
    SetInputEnabled(lblNumberOfSamples_, txtNumberOfSamples_, false);
}

void FilterDialogA::optAverageOfClick() {
    SetInputEnabled(lblNumberOfSamples_, txtNumberOfSamples_, true);
}

void FilterDialogA::accept() {
    config_.NumberOfSamples = 0;
    if (optFilterNone_->isChecked()) {
        config_.FilterType = kFilterNone;
    }
    if (optAverageOf_->isChecked()) {
        StoreCountingFilter(config_, kFilterAverage, TextOf(txtNumberOfSamples_));
    }
    QDialog::accept();
}

} // namespace telmora
