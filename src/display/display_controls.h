#pragma once

#include "app/form_geometry.h"

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

QPushButton* MakeButton(QWidget* parent, FormGeometry& geometry, const char* name,
                        const QString& caption, const QString& toolTip, TwipRect design);

} // namespace telmora
