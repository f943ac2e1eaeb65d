#pragma once

#include "display/statistics.h"

#include <QObject>

#include <optional>

class QLineEdit;
class QPushButton;

namespace telmora {

class FormGeometry;
class FormSurface;

// The statistics group of the main window: the current reading, mean, standard deviation,
// maximum, minimum and count since the last "Reset Stats".
class StatisticsPanel : public QObject {
    Q_OBJECT
  public:
    StatisticsPanel(FormSurface& surface, FormGeometry& geometry);

    // Resets the accumulators without touching the boxes (start-up).
    void InitStats();
    // Counts one reading in and shows the figures, or flags a lost echo in red.
    void DoStats(float distance);
    // The same in two steps, for readings that arrive faster than the screen shows them:
    // CountReading() counts at once; ShowCounted() shows the latest figures.
    void CountReading(float distance);
    void ShowCounted();
    // "Reset Stats": the accumulators and the boxes.
    void cmdResetStatsClick();

    const Statistics& Figures() const { return stats_; }
    // The six boxes' texts as they stand.
    StatsTexts ShownTexts() const;

  private:
    void Show(const StatsTexts& texts);
    void SetCurrentBackground(bool lost);

    Statistics stats_;
    bool lostShown_ = false;
    // Counted but not shown yet: the latest reading that had an echo (its figures are
    // those of the accumulators, which a lost echo leaves alone), and whether the latest
    // reading of all was a lost echo.
    std::optional<float> countedEcho_;
    std::optional<bool> countedLost_;
    // Texts of a counted reading whose accumulators were reset before it was shown.
    std::optional<StatsTexts> countedTexts_;
    QLineEdit* txtCurrDistance_;
    QLineEdit* txtAveDistance_;
    QLineEdit* txtSDDistance_;
    QLineEdit* txtMaxDistance_;
    QLineEdit* txtMinDistance_;
    QLineEdit* txtNumOfSamples_;
    QPushButton* cmdResetStats_;
};

} // namespace telmora
