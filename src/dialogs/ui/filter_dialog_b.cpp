#include "dialogs/ui/filter_dialog_b.h"

#include "config/option_codes.h"
#include "config/sensor_config.h"
#include "dialogs/filter_samples.h"
#include "form/dialog_controls.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace telmora {

namespace {

struct FilterOption {
    std::int16_t Code;
    const char* Name;
    const char* Tooltip;
};

// Top to bottom as the dialog shows them.
constexpr FilterOption kFilterOptions[] = {
    {1, "optFilterNone", "Click to turn off all filtering"},
    {2, "optAverageOf", "Take an average of from 2 to 255 measurements"},
    {3, "optMaxOf", "Take the maximum of 2 to 255 measurements"},
    {4, "optMinOf", "Take the minimum of 2 to 255 measurements"},
    {5, "opt2Consec", "Only use 2 consecutive measurements that are within 12% of each other"},
    {6, "optSlowFast", "Responds slowly at first to a new target, then more quickly"},
    {7, "optFastSlow", "Responds like a standard RC filter"},
};

bool CountsSamples(int filterType) {
    return filterType >= 2 && filterType <= 4;
}

} // namespace

using namespace dialog_controls;

FilterDialogB::FilterDialogB(SensorConfig& config, QWidget* parent)
    : QDialog(parent), config_(config) {
    setObjectName("frmFilterB");
    setWindowTitle(QStringLiteral("Kelvo-B Filters"));
    setModal(true);

    auto* frame = MakeGroup(this, "Frame1", QString(), QStringLiteral("Filter"));
    filterOptions_ = new QButtonGroup(this);
    auto* grid = new QGridLayout(frame);
    grid->setHorizontalSpacing(16);
    int row = 0;
    for (const FilterOption& option : kFilterOptions) {
        QRadioButton* button = MakeOption(
            frame, option.Name, QString::fromUtf8(kSensorFilter.CaptionOfCode(option.Code)),
            QString::fromUtf8(option.Tooltip));
        filterOptions_->addButton(button, option.Code);
        grid->addWidget(button, row++, 0);
    }

    txtNumberOfSamples_ =
        MakeNumberBox(frame, "txtNumberOfSamples",
                      QStringLiteral("Enter number of samples for Ave, Min, and Max filters"),
                      QStringLiteral("Number of samples"));
    lblNumberOfSamples_ = MakeLabel(frame, "lblNumberOfSamples",
                                    QStringLiteral("Number Of Samples"), txtNumberOfSamples_);
    // The count stands to the right of the three filters that use it.
    grid->addWidget(lblNumberOfSamples_, 1, 1);
    grid->addWidget(txtNumberOfSamples_, 2, 1);
    grid->setColumnStretch(0, 1);

    LayOutWithOkCancel(this, frame, QStringLiteral("Click to accept changes"));

    connect(filterOptions_, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on) {
            FilterOptionClick(id);
        }
    });

    Load();
}

bool FilterDialogB::Edit(SensorConfig& config, QWidget* parent) {
    FilterDialogB dialog(config, parent);
    return dialog.exec() == QDialog::Accepted;
}

void FilterDialogB::Load() {
    txtNumberOfSamples_->setText(QStringLiteral("0"));
    SetInputEnabled(lblNumberOfSamples_, txtNumberOfSamples_, false);
    if (QAbstractButton* option = filterOptions_->button(config_.FilterType)) {
        option->setChecked(true);
        if (CountsSamples(config_.FilterType)) {
            txtNumberOfSamples_->setText(QString::number(config_.NumberOfSamples));
        }
    }
}

void FilterDialogB::FilterOptionClick(int filterType) {
    SetInputEnabled(lblNumberOfSamples_, txtNumberOfSamples_, CountsSamples(filterType));
}

void FilterDialogB::accept() {
    config_.NumberOfSamples = 0;
    const int chosen = filterOptions_->checkedId();
    if (chosen == 1) {
        config_.FilterType = 1;
    } else if (CountsSamples(chosen)) {
        StoreCountingFilter(config_, static_cast<std::int16_t>(chosen),
                            TextOf(txtNumberOfSamples_));
    } else if (chosen >= 5) {
        config_.FilterType = static_cast<std::int16_t>(chosen);
    }
    // With no option chosen (the record held an unknown code) the filter type stays.
    QDialog::accept();
}

} // namespace telmora
