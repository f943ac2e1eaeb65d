#include "form/display_controls.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace telmora {

QLabel* MakeLabel(QWidget* parent, FormGeometry& geometry, const char* name, const QString& caption,
                  TwipRect design) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setAccessibleName(caption);
    geometry.Place(label, design);
    return label;
}

QLineEdit* MakeValueBox(QWidget* parent, FormGeometry& geometry, const char* name,
                        const QString& spoken, TwipRect design) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setAccessibleName(spoken);
    box->setReadOnly(true);
    box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    box->setTextMargins(0, 0, 0, 0);
    geometry.Place(box, design);
    return box;
}

QPushButton* MakeButton(QWidget* parent, FormGeometry& geometry, const char* name,
                        const QString& caption, const QString& toolTip, TwipRect design) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAccessibleName(caption);
    button->setToolTip(toolTip);
    geometry.Place(button, design);
    return button;
}

void ShowValue(QLineEdit* box, const QString& text) {
    if (box->text() != text) {
        box->setText(text);
    }
}

} // namespace telmora
