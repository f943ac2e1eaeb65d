#include "display_bench.h"

#include "display/print_screen.h"
#include "display/strip_chart_view.h"

#include <QFile>
#include <QPrintDialog>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace telmora {

class PrintScreenTest : public QObject {
    Q_OBJECT
  private slots:
    void Print_RedrawsTheSweepOnThePrintScaleBeforeTheDialog();
    void Print_ToPdfGivesOnePagePerCopy();
    void CancelledDialog_PrintsNothing();
    void MaximumRangeThatIsNoPositiveNumber_SkipsTheRedrawButStillPrints();
};

namespace {

int PdfPages(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return -1;
    }
    static const QRegularExpression page(R"(/Type\s*/Page[^s])");
    return static_cast<int>(QString::fromLatin1(file.readAll()).count(page));
}

// Accepts the printer dialog as it comes up, with the output file and copies given.
void AcceptPrintDialog(const QString& pdf, int copies, QString* title = nullptr) {
    DisplayBench::OnNextModal([=](QWidget* modal) {
        auto* dialog = qobject_cast<QPrintDialog*>(modal);
        QVERIFY(dialog != nullptr);
        if (title != nullptr) {
            *title = dialog->windowTitle();
        }
        dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
        dialog->printer()->setOutputFileName(pdf);
        dialog->printer()->setCopyCount(copies);
        dialog->done(QDialog::Accepted);
    });
}

} // namespace

void PrintScreenTest::Print_RedrawsTheSweepOnThePrintScaleBeforeTheDialog() {
    DisplayBench b;
    for (int i = 1; i <= 10; ++i) {
        b.display->ShowReading(i == 3 ? 110.885f : 20.0f); // the head ends at L + 400
    }
    StripChartView& chart = b.display->Chart();
    chart.FlushDrawing();
    DisplayBench::OnNextModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    b.display->mnuFilePrintClick();
    // The box is erased, then elements 0, 40, ..., 360 are drawn; 110.885 of 221.77 lies
    // at mid-height whatever the minimum range.
    const std::vector<DrawOp>& trace = chart.RetainedTrace();
    QCOMPARE(trace.size(), std::size_t(3 + 10));
    QCOMPARE(trace[0].kind, DrawOp::Kind::FillBackground);
    for (int k = 0; k < 10; ++k) {
        QCOMPARE(trace[3 + k].x2, 120.0f + 40 * k);
    }
    QCOMPARE(trace[3 + 3].y2, 5520.0f + 906);
    QCOMPARE(chart.Model().ChartX(), 520.0f);
    QCOMPARE(chart.Model().ChartY(), std::int16_t(trace.back().y2));
}

void PrintScreenTest::Print_ToPdfGivesOnePagePerCopy() {
    DisplayBench b;
    QTemporaryDir folder;
    for (int i = 0; i < 50; ++i) {
        b.display->ShowReading(20.0f + i);
    }
    for (int copies : {1, 3}) {
        const QString pdf = folder.filePath(QString("copies%1.pdf").arg(copies));
        AcceptPrintDialog(pdf, copies);
        b.display->mnuFilePrintClick();
        QCOMPARE(PdfPages(pdf), copies);
    }
    // The printer keeps the user's choice of copies for the next print.
    QCOMPARE(b.display->Print().Printer().copyCount(), 3);
}

void PrintScreenTest::CancelledDialog_PrintsNothing() {
    DisplayBench b;
    QTemporaryDir folder;
    const QString pdf = folder.filePath("cancelled.pdf");
    b.display->Print().Printer().setOutputFormat(QPrinter::PdfFormat);
    b.display->Print().Printer().setOutputFileName(pdf);
    DisplayBench::OnNextModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    b.display->mnuFilePrintClick();
    QVERIFY(!QFile::exists(pdf));
}

void PrintScreenTest::MaximumRangeThatIsNoPositiveNumber_SkipsTheRedrawButStillPrints() {
    DisplayBench b;
    QTemporaryDir folder;
    for (int i = 0; i < 5; ++i) {
        b.display->ShowReading(50.0f);
    }
    StripChartView& chart = b.display->Chart();
    chart.FlushDrawing();
    const std::vector<DrawOp> live = chart.RetainedTrace();
    for (const char* text : {"0", "-10", "inches"}) {
        b.txtMaxRange->setText(text);
        const QString pdf = folder.filePath(QString("max-%1.pdf").arg(text));
        AcceptPrintDialog(pdf, 1);
        b.display->mnuFilePrintClick();
        QVERIFY(chart.RetainedTrace() == live);
        QCOMPARE(PdfPages(pdf), 1);
    }
}

} // namespace telmora

QTEST_MAIN(telmora::PrintScreenTest)
#include "print_screen_qttest.moc"
