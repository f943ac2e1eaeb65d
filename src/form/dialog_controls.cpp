#include "form/dialog_controls.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace telmora::dialog_controls {

QRadioButton* MakeOption(QWidget* parent, const char* name, const QString& caption,
                         const QString& tooltip) {
    auto* option = new QRadioButton(caption, parent);
    option->setObjectName(name);
    option->setToolTip(tooltip);
    option->setAccessibleName(caption);
    option->setAccessibleDescription(tooltip);
    return option;
}

QLineEdit* MakeNumberBox(QWidget* parent, const char* name, const QString& tooltip,
                         const QString& spokenName, int chars) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setToolTip(tooltip);
    box->setAccessibleName(spokenName);
    box->setAccessibleDescription(tooltip);
    box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Sized from the font, so the box keeps its proportions at any display scale.
    const QFontMetrics metrics(box->font());
    box->setFixedWidth(metrics.horizontalAdvance(QString(chars + 2, QLatin1Char('0'))));
    return box;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, QWidget* buddy) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setAccessibleName(caption);
    label->setBuddy(buddy);
    return label;
}

QGroupBox* MakeGroup(QWidget* parent, const char* name, const QString& title,
                     const QString& spokenName) {
    auto* group = new QGroupBox(title, parent);
    group->setObjectName(name);
    group->setAccessibleName(spokenName);
    return group;
}

QFrame* MakeShape(QWidget* parent, const char* name) {
    auto* shape = new QFrame(parent);
    shape->setObjectName(name);
    shape->setFrameShape(QFrame::StyledPanel);
    shape->setFrameShadow(QFrame::Plain);
    return shape;
}

void LayOutWithOkCancel(QDialog* dialog, QWidget* body, const QString& okTooltip) {
    const OkCancel buttons = MakeOkCancel(dialog, okTooltip);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(body);
    layout->addWidget(buttons.Box);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

PushButtonFrame MakePushButtonFrame(QWidget* parent) {
    auto* frame = MakeGroup(parent, "fraPBSwitch", QStringLiteral("PushButton Switch"),
                            QStringLiteral("PushButton Switch"));
    auto* enabled = MakeOption(frame, "optPBEnabled", QStringLiteral("Enabled"),
                               QStringLiteral("Click to enable pushbutton programming"));
    auto* disabled = MakeOption(frame, "optPBDisabled", QStringLiteral("Disabled"),
                                QStringLiteral("Click to disable pushbutton programming"));
    auto* column = new QVBoxLayout(frame);
    column->addWidget(enabled);
    column->addWidget(disabled);
    return {frame, enabled, disabled};
}

OkCancel MakeOkCancel(QDialog* dialog, const QString& okTooltip) {
    auto* box = new QDialogButtonBox(dialog);
    auto* ok = new QPushButton(QStringLiteral("OK"), box);
    ok->setObjectName("cmdOK");
    ok->setToolTip(okTooltip);
    ok->setAccessibleName(QStringLiteral("OK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), box);
    cancel->setObjectName("cmdCancel");
    cancel->setToolTip(QStringLiteral("Click to return without changes"));
    cancel->setAccessibleName(QStringLiteral("Cancel"));
    box->addButton(ok, QDialogButtonBox::AcceptRole);
    box->addButton(cancel, QDialogButtonBox::RejectRole);
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return {box, ok, cancel};
}

void SetInputEnabled(QLabel* label, QLineEdit* box, bool enabled) {
    label->setEnabled(enabled);
    box->setEnabled(enabled);
}

std::string TextOf(const QLineEdit* box) {
    return box->text().toStdString();
}

} // namespace telmora::dialog_controls
