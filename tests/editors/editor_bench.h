#pragma once

// A bare form surface with the geometry layer and the output editors on it, showing the
// family B factory configuration, for the editors' window tests.

#include "app/form_geometry.h"
#include "app/form_surface.h"
#include "config/number_text.h"
#include "config/sensor_config.h"
#include "editors/output_editors.h"

#include <QLineEdit>
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
        editors.Range().ShowRange(config.MinRange, config.MaxRange);
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

    // A point of the surface in pixels, given in twips of the current geometry.
    QPoint Pixel(double xTwips, double yTwips) const {
        return {static_cast<int>(std::lround(xTwips / geometry.TwipsPerPixelX())),
                static_cast<int>(std::lround(yTwips / geometry.TwipsPerPixelY()))};
    }

    // Presses `button` in the middle of `handle`, moves the pointer to `to` (surface
    // pixels) and releases it there, as a user's drag does: every event goes to the handle
    // the button went down on, in its coordinates.
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

    SensorConfig config;
    FamilyFlags family{false, true};
    FormSurface surface;
    FormGeometry geometry;
    OutputEditors editors;
};

} // namespace telmora
