#pragma once

#include "form/form_geometry.h"

#include <QWidget>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Small builders for the measurement display's controls, so that each gets its name, its
// caption and the accessible name a screen reader speaks in one place.
namespace telmora {

QLabel* MakeLabel(QWidget* parent, FormGeometry& geometry, const char* name, const QString& caption,
                  TwipRect design);

// A read-only box that shows a value; `spoken` says what it holds.
QLineEdit* MakeValueBox(QWidget* parent, FormGeometry& geometry, const char* name,
                        const QString& spoken, TwipRect design);

// Shows `text` in a value box. Readings arrive up to 160 times a second and most of the
// statistics stay the same from one to the next; an unchanged text is left alone, since
// setting it again lays the text out again and repaints the box.
void ShowValue(QLineEdit* box, const QString& text);

// Keeps `widest` whole in `box` at every size of the window: the box's font follows the
// surface's but shrinks, when the box is too narrow for it, until the text fits. A box
// narrower than its longest value would otherwise scroll and show "35.50" for 135.50.
void FitTextToBox(QLineEdit* box, const QString& widest);

QPushButton* MakeButton(QWidget* parent, FormGeometry& geometry, const char* name,
                        const QString& caption, const QString& toolTip, TwipRect design);

// Whether a key asks for the focused control's pop-up: the menu key or Shift+F10.
bool AsksForPopUp(const QKeyEvent& event);

// A place on the window drawn by others beneath it (the strip chart's box) that the
// keyboard can still reach: Tab gives it the focus, which a dotted frame marks, and the
// pop-up keys ask for its pop-up at its centre (customContextMenuRequested) as a right
// click does.
class FocusArea : public QWidget {
    Q_OBJECT
  public:
    explicit FocusArea(QWidget* parent);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

} // namespace telmora
