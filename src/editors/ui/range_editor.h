#pragma once

#include "config/sensor_config.h"
#include "editors/entry_limits.h"
#include "editors/scale.h"
#include "form/editor_widgets.h"

#include <QObject>

#include <functional>

namespace telmora {

class FormGeometry;
class FormSurface;

// Which family the window is set up for (at most one is true; none while a detection runs).
struct FamilyFlags {
    bool FamilyA = false;
    bool FamilyB = false;
};

// The range bar `lblRange` with the minimum and maximum range boxes above it. The numbers in
// the two boxes are the bounds of the scale every output editor is drawn on.
class RangeEditor : public QObject {
    Q_OBJECT
  public:
    // Creates Label7, txtMinRange, lblMinRangeUnits, txtMaxRange, lblMaxRangeUnits and
    // lblRange on `surface`. `family` tells the family when the pulse count is set.
    RangeEditor(FormSurface& surface, FormGeometry& geometry, SensorConfig& config,
                std::function<FamilyFlags()> family, QObject* parent = nullptr);

    // Takes txtMaxRange into MaxRange (at most 443.54), shows it in the box, emits
    // MaxRangeShown, then asks for a redraw. An entry not above MinRange is refused: the box
    // shows MaxRange again.
    void ApplyMaxRange();
    // Takes txtMinRange into MinRange (at least 0.5; an entry not below MaxRange is
    // refused), shows it, sets NumberOfPulses for the family, emits MinRangeShown, then asks
    // for a redraw.
    void ApplyMinRange();

    // Record to window: both boxes show the texts and both are emitted; no limits, no pulse
    // count.
    void ShowRange(const QString& minText, const QString& maxText);

    // The bar as it stands now, in twips.
    BarSpan Bar() const;

    // The numbers the range boxes show now: the scale's bounds for the output editors.
    float ShownMin() const;
    float ShownMax() const;

    EntryBox* MinRangeBox() const { return txtMinRange_; }
    EntryBox* MaxRangeBox() const { return txtMaxRange_; }
    QLabel* RangeBar() const { return lblRange_; }

  signals:
    // After either range was applied: the output editors are to be placed anew.
    void RangeApplied();
    // A range now shown in its box; the strip chart's captions repeat it.
    void MinRangeShown(const QString& text);
    void MaxRangeShown(const QString& text);
    // An entry was limited or refused; the note says which limit applied.
    void LimitNoted(const QString& note);

  private:
    // Stores an entry's value in `field` unless it was refused, and passes its note on.
    void Take(const EntryOutcome& entry, float& field);

    FormGeometry& geometry_;
    SensorConfig& config_;
    std::function<FamilyFlags()> family_;
    EntryBox* txtMinRange_;
    EntryBox* txtMaxRange_;
    QLabel* lblRange_;
};

} // namespace telmora
