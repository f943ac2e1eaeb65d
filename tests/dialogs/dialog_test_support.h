#pragma once

#include "../support/modal.h"
#include "config/sensor_config.h"

#include <QAbstractButton>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <functional>
#include <memory>
#include <tuple>

// Helpers for driving the processing dialogs as a user would.
namespace telmora::dialog_test {

// The dialog's control named `name`; a missing control ends the test run loudly.
template <class T = QWidget> T* Find(const QWidget* dialog, const QString& name) {
    T* widget = dialog->findChild<T*>(name);
    if (widget == nullptr) {
        qFatal("control %s not found", qPrintable(name));
    }
    return widget;
}

// A dialog of class D over `config`, for tests that run over both families.
template <class D> std::unique_ptr<QDialog> Make(SensorConfig& config) {
    return std::make_unique<D>(config);
}

inline void Show(QDialog& dialog) {
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog)) {
        qFatal("dialog %s never appeared", qPrintable(dialog.objectName()));
    }
}

// An option button is clicked on its round indicator: the space right of its caption
// takes no clicks.
inline void Click(const QWidget* dialog, const QString& name) {
    auto* button = Find<QAbstractButton>(dialog, name);
    const QPoint at = qobject_cast<QRadioButton*>(button)
                          ? QPoint(button->height() / 2, button->height() / 2)
                          : button->rect().center();
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, at);
}

// Replaces the box's text by typing; a disabled box takes no keys, so its text is set.
inline void Type(const QWidget* dialog, const QString& name, const QString& text) {
    auto* box = Find<QLineEdit>(dialog, name);
    if (!box->isEnabled()) {
        box->setText(text);
        return;
    }
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

// Leaves the dialog by "OK", "Cancel", the Escape key or the close box.
inline void Leave(QDialog& dialog, const QString& how) {
    if (how == "OK" || how == "Cancel") {
        Click(&dialog, how == "OK" ? "cmdOK" : "cmdCancel");
    } else if (how == "Escape") {
        QTest::keyClick(&dialog, Qt::Key_Escape);
    } else {
        dialog.close();
    }
}

inline QString TextOf(const QWidget* dialog, const QString& name) {
    return Find<QLineEdit>(dialog, name)->text();
}

inline bool IsChecked(const QWidget* dialog, const QString& name) {
    return Find<QAbstractButton>(dialog, name)->isChecked();
}

// The names among `names` whose control passes `test`.
inline QStringList Among(const QWidget* dialog, const QStringList& names,
                         const std::function<bool(QWidget*)>& test) {
    QStringList found;
    for (const QString& name : names) {
        if (test(Find(dialog, name))) {
            found << name;
        }
    }
    return found;
}

inline QStringList CheckedAmong(const QWidget* dialog, const QStringList& names) {
    return Among(dialog, names, [](QWidget* w) {
        auto* button = qobject_cast<QAbstractButton*>(w);
        return button != nullptr && button->isChecked();
    });
}

inline QStringList EnabledAmong(const QWidget* dialog, const QStringList& names) {
    return Among(dialog, names, [](QWidget* w) { return w->isEnabled(); });
}

// Every field a processing dialog may write, for comparing a record before and after.
inline auto ProcessingFields(const SensorConfig& c) {
    return std::make_tuple(c.FilterType, c.NumberOfSamples, c.RunMode, c.NodeAddress,
                           c.PrimingCycles, c.PBEnabled, c.TempComp, c.Interval, c.NumberOfPulses);
}

// Processing fields all unlike the factory defaults, so a stray store shows.
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

// The record's field that the text box `box` is read into, as the number stored.
inline double FieldOf(const SensorConfig& c, const QString& box) {
    return box == "txtInterval"         ? c.Interval
           : box == "txtNodeAddress"    ? c.NodeAddress
           : box == "txtPrimingCycles"  ? c.PrimingCycles
           : box == "txtNumberOfPulses" ? c.NumberOfPulses
                                        : qQNaN();
}

// Runs a family's modal `edit` over a window: `act` operates the dialog once it shows, then
// it is left by `how`. Gives "accepted", "rejected" or "not shown".
inline QString EditWith(bool (*edit)(SensorConfig&, QWidget*), SensorConfig& config,
                        const QString& how, const std::function<void(QDialog&)>& act) {
    QWidget window;
    window.show();
    test::NextModal modal([&](QWidget* shown) {
        auto* dialog = qobject_cast<QDialog*>(shown);
        QVERIFY(dialog != nullptr && dialog->parentWidget() == &window);
        act(*dialog);
        Leave(*dialog, how);
    });
    const bool accepted = edit(config, &window);
    return !modal.Seen() ? "not shown" : accepted ? "accepted" : "rejected";
}

} // namespace telmora::dialog_test
