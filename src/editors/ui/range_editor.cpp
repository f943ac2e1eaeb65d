#include "editors/ui/range_editor.h"

#include "config/number_text.h"
#include "config/window_texts.h"
#include "form/editor_widgets.h"
#include "form/form_geometry.h"
#include "form/form_surface.h"

#include <QLabel>

namespace telmora {

namespace {
QString TwoDecimals(float value) {
    return QString::fromStdString(FormatTwoDecimals(value));
}
} // namespace

RangeEditor::RangeEditor(FormSurface& surface, FormGeometry& geometry, SensorConfig& config,
                         std::function<FamilyFlags()> family, QObject* parent)
    : QObject(parent), geometry_(geometry), config_(config), family_(std::move(family)) {
    geometry_.Place(MakeCaption(&surface, "Label7", "Range"), {240, 240, 495, 255});

    txtMinRange_ = new EntryBox(&surface, "txtMinRange", "Minimum range",
                                "Enter minimum distance sensor will look for targets");
    txtMinRange_->setText(Qs(DesignWindow().MinRange));
    geometry_.Place(txtMinRange_, {480, 0, 615, 225});
    geometry_.Place(MakeCaption(&surface, "lblMinRangeUnits", "inches"), {1200, 0, 615, 255});

    txtMaxRange_ = new EntryBox(&surface, "txtMaxRange", "Maximum range",
                                "Enter maximum distance sensor will look for targets");
    txtMaxRange_->setText(Qs(DesignWindow().MaxRange));
    geometry_.Place(txtMaxRange_, {6960, 0, 615, 225});
    geometry_.Place(MakeCaption(&surface, "lblMaxRangeUnits", "inches"), {7680, 0, 615, 255});

    // The bar is a drawing: it takes no clicks.
    lblRange_ = new QLabel(&surface);
    lblRange_->setObjectName("lblRange");
    lblRange_->setAccessibleName("Range bar");
    lblRange_->setAttribute(Qt::WA_TransparentForMouseEvents);
    SetBackground(lblRange_, kEditorCyan);
    geometry_.Place(lblRange_, {840, 360, 6495, 135});

    connect(txtMinRange_, &EntryBox::Entered, this, &RangeEditor::ApplyMinRange);
    connect(txtMinRange_, &EntryBox::FocusLeft, this, &RangeEditor::ApplyMinRange);
    connect(txtMaxRange_, &EntryBox::Entered, this, &RangeEditor::ApplyMaxRange);
    // Leaving the maximum box applies it twice: once when the window asks whether the focus
    // may leave, once when it has left. So after leaving, MaxRange is the shown value.
    connect(txtMaxRange_, &EntryBox::FocusLeft, this, [this] {
        ApplyMaxRange();
        ApplyMaxRange();
    });
}

void RangeEditor::ApplyMaxRange() {
    const EntryOutcome entry =
        MaxRangeEntry(ReadSingle(txtMaxRange_->text().toStdString()), config_.MinRange);
    Take(entry, config_.MaxRange);
    txtMaxRange_->setText(TwoDecimals(config_.MaxRange));
    emit MaxRangeShown(txtMaxRange_->text());
    emit RangeApplied();
}

void RangeEditor::ApplyMinRange() {
    const EntryOutcome entry =
        MinRangeEntry(ReadSingle(txtMinRange_->text().toStdString()), config_.MaxRange);
    Take(entry, config_.MinRange);
    txtMinRange_->setText(TwoDecimals(config_.MinRange));
    emit MinRangeShown(txtMinRange_->text());
    const FamilyFlags family = family_ ? family_() : FamilyFlags{};
    config_.NumberOfPulses = NumberOfPulsesFor(config_.MinRange, family.FamilyA, family.FamilyB);
    emit RangeApplied();
}

void RangeEditor::Take(const EntryOutcome& entry, float& field) {
    if (!entry.Refused) {
        field = entry.Value;
    }
    if (!entry.Note.empty()) {
        emit LimitNoted(QString::fromStdString(entry.Note));
    }
}

void RangeEditor::ShowRange(const QString& minText, const QString& maxText) {
    txtMinRange_->setText(minText);
    txtMaxRange_->setText(maxText);
    emit MinRangeShown(minText);
    emit MaxRangeShown(maxText);
}

BarSpan RangeEditor::Bar() const {
    return {static_cast<float>(geometry_.Left(lblRange_)),
            static_cast<float>(geometry_.Width(lblRange_))};
}

float RangeEditor::ShownMin() const {
    return ReadSingle(txtMinRange_->text().toStdString());
}

float RangeEditor::ShownMax() const {
    return ReadSingle(txtMaxRange_->text().toStdString());
}

} // namespace telmora
