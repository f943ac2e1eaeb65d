#include "display/ui/statistics_panel.h"

#include "form/display_controls.h"
#include "form/form_surface.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace telmora {

namespace {

// The group stands in the right-hand column, below the output editors' option labels.
constexpr double kCaptionLeft = 9720;
constexpr double kBoxLeft = 10740;
constexpr double kTop = 2640;
constexpr double kRow = 360;

TwipRect CaptionAt(int row) {
    return {kCaptionLeft, kTop + row * kRow + 15, 960, 255};
}

TwipRect BoxAt(int row) {
    return {kBoxLeft, kTop + row * kRow, 960, 285};
}

} // namespace

StatisticsPanel::StatisticsPanel(FormSurface& surface, FormGeometry& geometry) : QObject(&surface) {
    struct Row {
        const char* CaptionName;
        const char* Caption;
        const char* BoxName;
        const char* Spoken;
    };
    const Row rows[] = {
        {"lblCurrDistance", "Current", "txtCurrDistance", "Current distance"},
        {"lblAveDistance", "Average", "txtAveDistance", "Average distance"},
        {"lblSDDistance", "Std. Dev.", "txtSDDistance", "Standard deviation"},
        {"lblMaxDistance", "Maximum", "txtMaxDistance", "Maximum distance"},
        {"lblMinDistance", "Minimum", "txtMinDistance", "Minimum distance"},
        {"lblNumOfSamples", "Samples", "txtNumOfSamples", "Number of samples"},
    };
    QLineEdit* boxes[6];
    for (int i = 0; i < 6; ++i) {
        QLabel* caption =
            MakeLabel(&surface, geometry, rows[i].CaptionName, rows[i].Caption, CaptionAt(i));
        boxes[i] = MakeValueBox(&surface, geometry, rows[i].BoxName, rows[i].Spoken, BoxAt(i));
        caption->setBuddy(boxes[i]);
    }
    txtCurrDistance_ = boxes[0];
    txtAveDistance_ = boxes[1];
    txtSDDistance_ = boxes[2];
    txtMaxDistance_ = boxes[3];
    txtMinDistance_ = boxes[4];
    txtNumOfSamples_ = boxes[5];

    cmdResetStats_ = MakeButton(&surface, geometry, "cmdResetStats", "Reset Stats",
                                "Clears the statistics", {10140, kTop + 6 * kRow + 120, 1560, 375});
    connect(cmdResetStats_, &QPushButton::clicked, this, &StatisticsPanel::cmdResetStatsClick);

    telmora::InitStats(stats_);
    Show(ResetStatsTexts());
    lostShown_ = true; // so that the white background is applied now
    SetCurrentBackground(false);
}

void StatisticsPanel::InitStats() {
    if (countedEcho_) {
        countedTexts_ = FormatStats(stats_, *countedEcho_);
        countedEcho_.reset();
    }
    telmora::InitStats(stats_);
}

void StatisticsPanel::DoStats(float distance) {
    CountReading(distance);
    ShowCounted();
}

void StatisticsPanel::CountReading(float distance) {
    const bool echo = telmora::DoStats(stats_, distance);
    countedLost_ = !echo;
    if (echo) {
        countedEcho_ = distance;
        countedTexts_.reset();
    }
}

// Showing each reading's figures in turn ends where showing only the latest ones does: a
// lost echo changes only the current box, which the next reading with an echo overwrites.
void StatisticsPanel::ShowCounted() {
    if (!countedLost_)
        return;
    if (countedTexts_)
        Show(*countedTexts_);
    else if (countedEcho_)
        Show(FormatStats(stats_, *countedEcho_));
    SetCurrentBackground(*countedLost_);
    if (*countedLost_)
        ShowValue(txtCurrDistance_, kLostEchoText);
    countedEcho_.reset();
    countedTexts_.reset();
    countedLost_.reset();
}

void StatisticsPanel::cmdResetStatsClick() {
    countedEcho_.reset();
    countedTexts_.reset();
    countedLost_.reset();
    telmora::InitStats(stats_);
    SetCurrentBackground(false);
    Show(ResetStatsTexts());
}

StatsTexts StatisticsPanel::ShownTexts() const {
    return {txtCurrDistance_->text().toStdString(), txtAveDistance_->text().toStdString(),
            txtSDDistance_->text().toStdString(),   txtMaxDistance_->text().toStdString(),
            txtMinDistance_->text().toStdString(),  txtNumOfSamples_->text().toStdString()};
}

void StatisticsPanel::Show(const StatsTexts& texts) {
    ShowValue(txtCurrDistance_, QString::fromStdString(texts.CurrDistance));
    ShowValue(txtMaxDistance_, QString::fromStdString(texts.MaxDistance));
    ShowValue(txtAveDistance_, QString::fromStdString(texts.AveDistance));
    ShowValue(txtMinDistance_, QString::fromStdString(texts.MinDistance));
    ShowValue(txtSDDistance_, QString::fromStdString(texts.SDDistance));
    ShowValue(txtNumOfSamples_, QString::fromStdString(texts.NumOfSamples));
}

void StatisticsPanel::SetCurrentBackground(bool lost) {
    if (lost == lostShown_) {
        return;
    }
    lostShown_ = lost;
    // Black text reads better on pure red than white does.
    QPalette palette = txtCurrDistance_->palette();
    palette.setColor(QPalette::Base, lost ? QColor(255, 0, 0) : QColor(255, 255, 255));
    palette.setColor(QPalette::Text, Qt::black);
    txtCurrDistance_->setPalette(palette);
}

} // namespace telmora
