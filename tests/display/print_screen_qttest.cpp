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
    void Print_RedrawsOnThePrintScaleAndGivesOnePagePerCopy_data();
    void Print_RedrawsOnThePrintScaleAndGivesOnePagePerCopy();
    void CancelledDialog_PrintsNothing();
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

} // namespace

void PrintScreenTest::Print_RedrawsOnThePrintScaleAndGivesOnePagePerCopy_data() {
    QTest::addColumn<int>("copies");
    QTest::addColumn<QString>("maxRange");
    QTest::addColumn<bool>("redrawn"); // a maximum that is no positive number skips it
    QTest::newRow("one copy") << 1 << "221.77" << true;
    QTest::newRow("three copies") << 3 << "221.77" << true;
    QTest::newRow("maximum 0") << 1 << "0" << false;
    QTest::newRow("maximum inches") << 1 << "inches" << false;
}

void PrintScreenTest::Print_RedrawsOnThePrintScaleAndGivesOnePagePerCopy() {
    QFETCH(int, copies);
    QFETCH(QString, maxRange);
    QFETCH(bool, redrawn);
    DisplayBench b;
    QTemporaryDir folder;
    for (int i = 1; i <= 10; ++i) {
        b.display->ShowReading(i == 3 ? 110.885f : 20.0f); // the head ends at L + 400
    }
    StripChartView& chart = b.display->Chart();
    chart.FlushDrawing();
    const std::vector<DrawOp> live = chart.RetainedTrace();
    b.txtMaxRange->setText(maxRange);
    const QString pdf = folder.filePath("out.pdf");
    std::vector<DrawOp> shown;
    NextModal modal([&, pdf, copies](QWidget* modal) {
        shown = chart.RetainedTrace(); // what the dialog comes up over
        auto* dialog = qobject_cast<QPrintDialog*>(modal);
        QVERIFY(dialog != nullptr);
        dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
        dialog->printer()->setOutputFileName(pdf);
        dialog->printer()->setCopyCount(copies);
        dialog->done(QDialog::Accepted);
    });
    b.display->mnuFilePrintClick();
    QCOMPARE(PdfPages(pdf), copies);
    // The printer keeps the user's choice of copies for the next print.
    QCOMPARE(b.display->Print().Printer().copyCount(), copies);
    if (!redrawn) {
        QVERIFY(shown == live);
        return;
    }
    // The box is erased, then elements 0, 40, ..., 360 are drawn; 110.885 of 221.77 lies
    // at mid-height whatever the minimum range.
    QCOMPARE(shown.size(), std::size_t(3 + 10));
    QCOMPARE(shown[0].kind, DrawOp::Kind::FillBackground);
    QCOMPARE(shown.back().x2, 120.0f + 360);
    QCOMPARE(shown[3 + 3].y2, 5520.0f + 906);
    QCOMPARE(chart.Model().ChartX(), 520.0f);
    QCOMPARE(chart.Model().ChartY(), std::int16_t(shown.back().y2));
}

void PrintScreenTest::CancelledDialog_PrintsNothing() {
    DisplayBench b;
    QTemporaryDir folder;
    const QString pdf = folder.filePath("cancelled.pdf");
    b.display->Print().Printer().setOutputFormat(QPrinter::PdfFormat);
    b.display->Print().Printer().setOutputFileName(pdf);
    NextModal modal([](QWidget* dialog) { dialog->close(); });
    b.display->mnuFilePrintClick();
    QVERIFY(modal.Seen());
    QVERIFY(!QFile::exists(pdf));
}

} // namespace telmora

QTEST_MAIN(telmora::PrintScreenTest)
#include "print_screen_qttest.moc"
