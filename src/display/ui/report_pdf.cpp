#include "display/ui/report_pdf.h"

#include "config/config_file.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPolygonF>

namespace telmora {

namespace {

QString Qs(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Lays the report out top to bottom in points, starting a page where the next block would
// not fit.
class PdfLayout {
  public:
    PdfLayout(QPdfWriter& writer, QPainter& painter)
        : writer_(writer), painter_(painter), width_(painter.viewport().width()),
          height_(painter.viewport().height()) {}

    void Title(const std::string& text) {
        SetFont(16, true);
        Room(24);
        painter_.drawText(QPointF(0, y_ + 16), Qs(text));
        y_ += 30;
    }

    // `keepWith`: the height of what follows, which the heading stays on a page with.
    void Section(const std::string& text, double keepWith = 14) {
        SetFont(12, true);
        Room(30 + keepWith);
        y_ += 10;
        painter_.drawText(QPointF(0, y_ + 12), Qs(text));
        y_ += 20;
    }

    void Paragraph(std::string_view text) {
        SetFont(9, false);
        Room(14);
        painter_.drawText(QPointF(0, y_ + 9), Qs(std::string(text)));
        y_ += 14;
    }

    // Caption, value, unit and meaning in columns; a long meaning wraps within its own.
    void Table(const std::vector<ReportLine>& lines) {
        SetFont(9, false);
        const double columns[] = {0, 170, 270, 350};
        for (const ReportLine& line : lines) {
            const QRectF meaningBox(columns[3], 0, width_ - columns[3], 1000);
            const double rowHeight = std::max(
                13.0,
                painter_.boundingRect(meaningBox, Qt::TextWordWrap, Qs(line.Meaning)).height() + 2);
            Room(rowHeight);
            const double baseline = y_ + 9;
            painter_.setPen(QColor(0x44, 0x44, 0x44));
            painter_.drawText(QPointF(columns[0], baseline), Qs(line.Caption));
            painter_.setPen(Qt::black);
            // The value keeps the rest of the line when it is longer than its column
            // (a description), and then the unit moves after it.
            const QString value = Qs(line.Value);
            painter_.drawText(QPointF(columns[1], baseline), value);
            const double unitX = std::max(
                columns[2], columns[1] + painter_.fontMetrics().horizontalAdvance(value) + 6);
            painter_.drawText(QPointF(unitX, baseline), Qs(line.Unit));
            painter_.setPen(QColor(0x55, 0x55, 0x55));
            painter_.drawText(meaningBox.translated(0, y_), Qt::TextWordWrap, Qs(line.Meaning));
            painter_.setPen(Qt::black);
            y_ += rowHeight;
        }
    }

    double DrawingHeight(const Figure& figure) const { return figure.Height * Scale(figure); }

    void Drawing(const Figure& figure) {
        const double scale = Scale(figure);
        Room(figure.Height * scale);
        painter_.save();
        painter_.translate(0, y_);
        painter_.scale(scale, scale);
        painter_.setPen(Qt::NoPen);
        for (const FigureRect& r : figure.Rects)
            painter_.fillRect(QRectF(r.X, r.Y, r.Width, r.Height), QColor(Qs(r.Fill)));
        painter_.setBrush(Qt::NoBrush);
        for (const FigureLine& l : figure.Lines) {
            QPolygonF points;
            for (const FigurePoint& p : l.Points)
                points << QPointF(p.X, p.Y);
            painter_.setPen(QPen(QColor(Qs(l.Stroke)), l.Width));
            painter_.drawPolyline(points);
        }
        SetFont(kFigureFontSize, false);
        painter_.setPen(Qt::black);
        const QFontMetricsF metrics(painter_.font());
        for (const FigureText& t : figure.Texts) {
            const QString text = Qs(t.Text);
            const double advance = metrics.horizontalAdvance(text);
            const double x = t.Anchor == TextAnchor::Middle ? t.X - advance / 2
                             : t.Anchor == TextAnchor::End  ? t.X - advance
                                                            : t.X;
            painter_.drawText(QPointF(x, t.Y), text);
        }
        painter_.restore();
        y_ += figure.Height * scale + 6;
    }

  private:
    double Scale(const Figure& figure) const { return std::min(1.0, width_ / figure.Width); }

    void SetFont(double points, bool bold) {
        QFont font("DejaVu Sans");
        font.setPointSizeF(points);
        font.setBold(bold);
        // No ligatures, so a reader's search for "file" finds it.
        font.setStyleStrategy(QFont::PreferNoShaping);
        painter_.setFont(font);
    }

    void Room(double height) {
        if (y_ > 0 && y_ + height > height_) {
            writer_.newPage();
            y_ = 0;
        }
    }

    QPdfWriter& writer_;
    QPainter& painter_;
    double width_;
    double height_;
    double y_ = 0;
};

} // namespace

bool WriteReportPdf(const CommissioningReport& report, const QString& path, QString& error) {
    // Made in memory and written whole, so a failure or a kill leaves any earlier report as
    // it was and nothing beside it.
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(Qs(report.Title));
        writer.setCreator(Qs(std::string(kProgramTitle)));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(40, 40, 40, 40), QPageLayout::Point));
        // One device unit per point, so the layout and the fonts share one measure.
        writer.setResolution(72);
        QPainter painter;
        if (!painter.begin(&writer)) {
            error = QString("Cannot write %1: the PDF could not be started.")
                        .arg(QDir::toNativeSeparators(path));
            return false;
        }
        PdfLayout layout(writer, painter);
        layout.Title(report.Title);
        layout.Table(report.Heading);
        layout.Section("Parameters");
        layout.Table(report.Parameters);
        layout.Section("Outputs", layout.DrawingHeight(report.Outputs));
        layout.Drawing(report.Outputs);
        layout.Section("Statistics");
        if (report.Statistics.empty())
            layout.Paragraph(kNoReadingsText);
        else
            layout.Table(report.Statistics);
        layout.Section("Strip chart", report.Chart ? layout.DrawingHeight(*report.Chart) : 14);
        if (report.Chart)
            layout.Drawing(*report.Chart);
        else
            layout.Paragraph(kNoReadingsText);
        painter.end();
    }
    const FileResult written =
        WriteFileAtomically(QFile::encodeName(path).toStdString(), pdf.constData(),
                            static_cast<std::size_t>(pdf.size()));
    error = QString::fromStdString(written.Error);
    return written.Ok;
}

} // namespace telmora
