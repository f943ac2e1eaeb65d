#pragma once

#include <QLineEdit>
#include <QObject>
#include <QPointer>
#include <QPrinter>

class QWidget;

namespace telmora {

class FormSurface;
class StripChartView;

// "&Print Screen": draws the current sweep of the strip chart again from its points, on
// the print scale, then prints the window's client area with its controls and chart, one
// page per copy chosen in the printer dialog. A cancelled dialog prints nothing.
class PrintScreenCommand : public QObject {
    Q_OBJECT
  public:
    // Resolution of the window's picture on paper, in multiples of the screen's.
    static constexpr int kPictureScale = 3;

    // `maxRangeBox` is the range editor's txtMaxRange (null: the redraw is left out).
    PrintScreenCommand(FormSurface& surface, StripChartView& chart, QLineEdit* maxRangeBox,
                       QWidget* window);

    // The printer the dialog starts from; it keeps the user's last choices.
    QPrinter& Printer() { return printer_; }

    void mnuFilePrintClick();

    // Prints the client area `copies` times on `printer`, one page each; returns the pages
    // printed (0 when the printer cannot be opened).
    int PrintCopies(QPrinter& printer, int copies);

  private:
    FormSurface& surface_;
    StripChartView& chart_;
    QPointer<QLineEdit> txtMaxRange_;
    QWidget* window_;
    QPrinter printer_;
};

} // namespace telmora
