#include "display/ui/print_screen.h"

#include "display/ui/strip_chart_view.h"
#include "form/form_surface.h"

#include <QImage>
#include <QPainter>
#include <QPrintDialog>

#include <algorithm>

namespace telmora {

PrintScreenCommand::PrintScreenCommand(FormSurface& surface, StripChartView& chart,
                                       QLineEdit* maxRangeBox, QWidget* window)
    : QObject(window), surface_(surface), chart_(chart), txtMaxRange_(maxRangeBox), window_(window),
      printer_(QPrinter::HighResolution) {}

void PrintScreenCommand::mnuFilePrintClick() {
    // The redraw scales the points by the maximum range as its box shows it.
    chart_.RedrawForPrint(txtMaxRange_ != nullptr ? txtMaxRange_->text() : QString());

    QPrintDialog dialog(&printer_, window_);
    dialog.setObjectName("dlgPrint");
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    // Each copy is printed as its own page, so the printer itself must not multiply them.
    const int copies = std::max(1, printer_.copyCount());
    printer_.setCopyCount(1);
    PrintCopies(printer_, copies);
    printer_.setCopyCount(copies);
}

int PrintScreenCommand::PrintCopies(QPrinter& printer, int copies) {
    // The controls are drawn once into a picture at a few times the screen's resolution,
    // which keeps the text sharp on paper and the job small; the chart's trace goes on top
    // as lines.
    const QSize area = surface_.size();
    QImage window(area * kPictureScale, QImage::Format_RGB32);
    window.setDevicePixelRatio(kPictureScale);
    chart_.SetTraceHidden(true);
    surface_.render(&window, QPoint(), QRegion(),
                    QWidget::DrawWindowBackground | QWidget::DrawChildren);
    chart_.SetTraceHidden(false);

    QPainter painter;
    if (!painter.begin(&printer)) {
        return 0;
    }
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const double scale = std::min(page.width() / area.width(), page.height() / area.height());
    int printed = 0;
    for (int copy = 0; copy < copies; ++copy) {
        if (copy > 0 && !printer.newPage()) {
            break;
        }
        painter.save();
        painter.scale(scale, scale);
        painter.drawImage(QRectF(QPointF(0, 0), QSizeF(area)), window);
        chart_.PaintTraceInPixels(painter);
        painter.restore();
        ++printed;
    }
    painter.end();
    return printed;
}

} // namespace telmora
