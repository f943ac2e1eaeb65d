#pragma once

// The output editors on a bare form surface, showing family B's factory configuration.

#include "config/number_text.h"
#include "config/sensor_config.h"
#include "editors/ui/output_editors.h"
#include "form/form_geometry.h"
#include "form/form_surface.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>

#include <cmath>

namespace telmora {

class EditorBench {
  public:
    EditorBench()
        : geometry(surface), editors(surface, geometry, config, [this] { return family; }) {
        LoadFactoryDefaultsB(config);
        surface.resize(geometry.DesignSizePixels());
        surface.show();
        editors.Range().ShowRange(QString::fromStdString(FormatTwoDecimals(config.MinRange)),
                                  QString::fromStdString(FormatTwoDecimals(config.MaxRange)));
        for (int n = 1; n <= 4; ++n) {
            editors.Sw(n).SetpointBox()->setText(
                QString::fromStdString(FormatTwoDecimals(Switch(config, n).Setpoint)));
        }
        editors.Analog().NearEndpointBox()->setText("10");
        editors.Analog().FarEndpointBox()->setText("30");
        editors.Analog().SetAnalogModeCurrent();
        editors.Analog().NearOutputBox()->setText("4");
        editors.Analog().FarOutputBox()->setText("20");
        editors.RedrawOutputEditors();
    }

    // A control of the surface by its name; a missing one ends the test run loudly.
    template <typename T = QWidget> T* Control(const char* name) {
        T* control = surface.findChild<T*>(name);
        if (control == nullptr) {
            qFatal("no control named %s", name);
        }
        return control;
    }

    // Types `text` into an empty box and presses Enter.
    static void Enter(QLineEdit* box, const QString& text) {
        box->clear();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }

    // The range as the user sets it: both boxes typed and applied.
    void SetRange(const QString& min, const QString& max) {
        Enter(editors.Range().MaxRangeBox(), "443.54");
        Enter(editors.Range().MinRangeBox(), min);
        Enter(editors.Range().MaxRangeBox(), max);
    }

    // A surface point in pixels from twips of the current geometry.
    QPoint Pixel(double xTwips, double yTwips) const {
        return {static_cast<int>(std::lround(xTwips / geometry.TwipsPerPixelX())),
                static_cast<int>(std::lround(yTwips / geometry.TwipsPerPixelY()))};
    }

    // A user's drag to `to` (surface pixels): every event goes to the handle the button
    // went down on, in its coordinates.
    void Drag(QWidget* handle, QPoint to, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mousePress(handle, button, {}, handle->rect().center());
        QTest::mouseMove(handle, handle->mapFrom(&surface, to));
        QTest::mouseRelease(handle, button, {}, handle->mapFrom(&surface, to));
    }

    // A move with no button held, as the pointer passing over a handle.
    static void Hover(QWidget* handle, QPoint at) {
        QMouseEvent move(QEvent::MouseMove, at, handle->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(handle, &move);
    }

    // The names of a menu's entries, in order.
    QStringList Entries(const char* menu) {
        QStringList names;
        for (const QAction* action : Control<QMenu>(menu)->actions()) {
            names << action->objectName();
        }
        return names;
    }

    SensorConfig config;
    FamilyFlags family{false, true};
    FormSurface surface;
    FormGeometry geometry;
    OutputEditors editors;
};

} // namespace telmora
