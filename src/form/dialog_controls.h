#pragma once

#include <QString>

#include <string>

class QDialog;
class QDialogButtonBox;
class QGroupBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

// Building blocks shared by the filter and run-mode dialogs, so every dialog names,
// describes and sizes its controls the same way.
namespace telmora::dialog_controls {

QRadioButton* MakeOption(QWidget* parent, const char* name, const QString& caption,
                         const QString& tooltip);

// A number box `chars` digits wide, right-aligned; `spokenName` is what a screen reader
// says for it.
QLineEdit* MakeNumberBox(QWidget* parent, const char* name, const QString& tooltip,
                         const QString& spokenName, int chars = 5);

// A caption that names `buddy` for keyboard and screen-reader users.
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, QWidget* buddy);

// A titled or untitled frame around a group of controls.
QGroupBox* MakeGroup(QWidget* parent, const char* name, const QString& title,
                     const QString& spokenName);

// A plain rectangle that marks the controls that belong together.
QFrame* MakeShape(QWidget* parent, const char* name);

struct OkCancel {
    QDialogButtonBox* Box;
    QPushButton* Ok;
    QPushButton* Cancel;
};

// cmdOK accepts the dialog (which stores), cmdCancel rejects it (which stores nothing).
OkCancel MakeOkCancel(QDialog* dialog, const QString& okTooltip);

// The dialog's body above its OK and Cancel buttons, the dialog sized to fit them.
void LayOutWithOkCancel(QDialog* dialog, QWidget* body, const QString& okTooltip);

// fraPBSwitch: whether the sensor's pushbutton may program it, the same in both families.
struct PushButtonFrame {
    QGroupBox* Frame;
    QRadioButton* Enabled;
    QRadioButton* Disabled;
};
PushButtonFrame MakePushButtonFrame(QWidget* parent);

// A text box and its caption are enabled and disabled together.
void SetInputEnabled(QLabel* label, QLineEdit* box, bool enabled);

// The box's text as the number readers take it.
std::string TextOf(const QLineEdit* box);

} // namespace telmora::dialog_controls
