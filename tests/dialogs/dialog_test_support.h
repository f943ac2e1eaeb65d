#pragma once

#include "config/sensor_config.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <tuple>

// Helpers for driving the processing dialogs as a user would.
namespace telmora::dialog_test {

// The dialog's control named `name`; a missing control ends the test run loudly.
template <class T> T* Find(const QWidget* dialog, const char* name) {
    T* widget = dialog->findChild<T*>(QString::fromLatin1(name));
    if (widget == nullptr) {
        qFatal("control %s not found", name);
    }
    return widget;
}

inline void Show(QDialog& dialog) {
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog)) {
        qFatal("dialog %s never appeared", qPrintable(dialog.objectName()));
    }
}

// Clicks the button; an option button is clicked on its round indicator, because the
// empty space right of its caption does not take clicks.
inline void Click(const QWidget* dialog, const char* name) {
    auto* button = Find<QAbstractButton>(dialog, name);
    const QPoint at = qobject_cast<QRadioButton*>(button)
                          ? QPoint(button->height() / 2, button->height() / 2)
                          : button->rect().center();
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, at);
}

// Replaces the box's text by typing, as a user would; a disabled box takes no keys, so
// its text is set directly (a value left there before the box was disabled).
inline void Type(const QWidget* dialog, const char* name, const QString& text) {
    QLineEdit* box = Find<QLineEdit>(dialog, name);
    if (!box->isEnabled()) {
        box->setText(text);
        return;
    }
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

inline QString TextOf(const QWidget* dialog, const char* name) {
    return Find<QLineEdit>(dialog, name)->text();
}

inline bool IsChecked(const QWidget* dialog, const char* name) {
    return Find<QAbstractButton>(dialog, name)->isChecked();
}

inline bool IsEnabled(const QWidget* dialog, const char* name) {
    return Find<QWidget>(dialog, name)->isEnabled();
}

// Object names of the checked buttons among `names`, so a test sees both which option
// is selected and that no other one is.
inline QStringList CheckedAmong(const QWidget* dialog, const QStringList& names) {
    QStringList checked;
    for (const QString& name : names) {
        if (IsChecked(dialog, qPrintable(name))) {
            checked << name;
        }
    }
    return checked;
}

// Every field a processing dialog may write, for comparing a record before and after.
inline auto ProcessingFields(const SensorConfig& c) {
    return std::make_tuple(c.FilterType, c.NumberOfSamples, c.RunMode, c.NodeAddress,
                           c.PrimingCycles, c.PBEnabled, c.TempComp, c.Interval, c.NumberOfPulses);
}

// A record whose processing fields all differ from the factory defaults, so a stray
// store shows.
inline SensorConfig UnusualRecord() {
    SensorConfig config;
    LoadFactoryDefaultsB(config);
    config.FilterType = 3;
    config.NumberOfSamples = 17;
    config.RunMode = 5;
    config.NodeAddress = 42;
    config.PrimingCycles = 9;
    config.PBEnabled = true;
    config.TempComp = false;
    config.Interval = 0.123f;
    config.NumberOfPulses = 7;
    return config;
}

// Every label, text box, button and frame a user reads or operates has a name a screen
// reader speaks. Returns the object names of those that do not.
inline QStringList ControlsWithoutSpokenName(const QWidget* dialog) {
    QStringList missing;
    for (const QWidget* widget : dialog->findChildren<QWidget*>()) {
        const bool spoken =
            qobject_cast<const QLabel*>(widget) || qobject_cast<const QLineEdit*>(widget) ||
            qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QGroupBox*>(widget);
        if (spoken && widget->accessibleName().isEmpty()) {
            missing << widget->objectName();
        }
    }
    return missing;
}

// Runs `act` on the modal dialog once it is up, while the caller blocks in exec(). If
// no modal dialog appears in time, whatever is modal is rejected so the test cannot
// hang; `seen` tells the caller whether `act` ran.
inline void WhenModalAppears(std::function<void(QDialog*)> act, bool* seen) {
    *seen = false;
    auto* timer = new QTimer;
    auto* deadline = new QTimer;
    timer->setInterval(10);
    deadline->setSingleShot(true);
    deadline->setInterval(10000);
    QObject::connect(timer, &QTimer::timeout, [timer, deadline, act, seen] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isVisible()) {
            return;
        }
        timer->stop();
        deadline->stop();
        *seen = true;
        act(dialog);
        timer->deleteLater();
        deadline->deleteLater();
    });
    QObject::connect(deadline, &QTimer::timeout, [timer, deadline] {
        timer->stop();
        if (QWidget* modal = QApplication::activeModalWidget()) {
            modal->close();
        }
        timer->deleteLater();
        deadline->deleteLater();
    });
    timer->start();
    deadline->start();
}

} // namespace telmora::dialog_test
