// The strip chart's right-click menu: "Save Chart Image..." and "Save Chart Data...", so a
// trace seen while commissioning can be kept before the next sweep erases it.
#include "display/ui/strip_chart_view.h"

#include "config/config_file.h"
#include "form/form_surface.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPixmap>

namespace telmora {

namespace {

bool WriteWhole(const QString& path, const QByteArray& bytes, QString& error) {
    const FileResult result =
        WriteFileAtomically(QFile::encodeName(path).toStdString(), bytes.constData(),
                            static_cast<std::size_t>(bytes.size()));
    error = QString::fromStdString(result.Error);
    return result.Ok;
}

} // namespace

void StripChartView::BuildContextMenu() {
    mnuStripChart_ = new QMenu(stripChartBox_);
    mnuStripChart_->setObjectName("mnuStripChart");
    QAction* image = mnuStripChart_->addAction("Save Chart &Image...");
    image->setObjectName("mnuSaveChartImage");
    QAction* data = mnuStripChart_->addAction("Save Chart &Data...");
    data->setObjectName("mnuSaveChartData");
    connect(image, &QAction::triggered, this, [this] {
        SaveThroughDialog("Save Chart Image", "PNG image (*.png)", "png",
                          &StripChartView::SaveChartImage);
    });
    connect(data, &QAction::triggered, this, [this] {
        SaveThroughDialog("Save Chart Data", "CSV (*.csv)", "csv", &StripChartView::SaveChartData);
    });
    connect(stripChartBox_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { mnuStripChart_->popup(stripChartBox_->mapToGlobal(at)); });
}

void StripChartView::SaveThroughDialog(const QString& title, const QString& filter,
                                       const QString& suffix,
                                       bool (StripChartView::*save)(const QString&, QString&)
                                           const) {
    QFileDialog dialog(surface_.window(), title);
    dialog.setObjectName("dlgSaveChart");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    QString error;
    if (!(this->*save)(path, error))
        QMessageBox::warning(surface_.window(), title, error);
}

bool StripChartView::SaveChartImage(const QString& path, QString& error) const {
    // The box with its outline as the screen shows it, in device pixels.
    const QPixmap picture = surface_.grab(TraceArea());
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (picture.isNull() || !picture.save(&buffer, "PNG")) {
        error = QString("Cannot save %1: the chart could not be drawn as an image.")
                    .arg(QDir::toNativeSeparators(path));
        return false;
    }
    return WriteWhole(path, png, error);
}

bool StripChartView::SaveChartData(const QString& path, QString& error) const {
    return WriteWhole(path, QByteArray::fromStdString(ChartDataCsv(chart_.Sweep())), error);
}

} // namespace telmora
