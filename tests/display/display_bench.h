#pragma once

// A form surface with the measurement display on it, and stand-ins for the range bar's and
// analog editor's controls that the gauges and the print command read.

#include "config/sensor_config.h"
#include "display/ui/editor_controls.h"
#include "display/ui/measurement_display.h"
#include "form/form_geometry.h"
#include "form/form_surface.h"

#include "../app/app_test_support.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace telmora {

using app_test::NextModal;

class DisplayBench {
  public:
    DisplayBench() : geometry(surface) {
        config.MinRange = 8.0f;
        config.MaxRange = 221.77f;
        surface.resize(geometry.DesignSizePixels());
        auto* bar = new QLabel(&surface);
        bar->setObjectName("lblRange");
        geometry.Place(bar, {840, 360, 6495, 135});
        txtMaxRange = Box("txtMaxRange", "221.77", {6960, 0, 615, 225});
        nearEndpoint = Box("txtAnalogNearEndpoint", "12.00", {1560, 4560, 615, 285});
        farEndpoint = Box("txtAnalogFarEndpoint", "100.00", {5760, 3120, 615, 285});
        nearOutput = Box("txtAnalogNearOutput", "4.0", {120, 3720, 495, 285});
        farOutput = Box("txtAnalogFarOutput", "20.0", {7560, 3480, 495, 285});
        echoLoss = new QLabel("NC", &surface);
        echoLoss->setObjectName("lblAnalogEchoLoss");
        geometry.Place(echoLoss, {8400, 3480, 495, 255});
        const EditorControls editors{.lblRange = bar,
                                     .txtMaxRange = txtMaxRange,
                                     .txtAnalogNearEndpoint = nearEndpoint,
                                     .txtAnalogFarEndpoint = farEndpoint,
                                     .txtAnalogNearOutput = nearOutput,
                                     .txtAnalogFarOutput = farOutput,
                                     .lblAnalogEchoLoss = echoLoss};
        display = new MeasurementDisplay(surface, geometry, config, editors, &surface);
        display->StartUp();
        surface.show();
    }

    template <typename T = QWidget> T* Control(const char* name) {
        T* control = surface.findChild<T*>(name);
        if (control == nullptr) {
            qFatal("no control named %s", name);
        }
        return control;
    }

    QString Text(const char* name) { return Control<QLineEdit>(name)->text(); }

    // Those of `names` that are visible.
    QStringList Visible(std::initializer_list<const char*> names) {
        QStringList visible;
        for (const char* name : names) {
            if (Control(name)->isVisible()) {
                visible << name;
            }
        }
        return visible;
    }

    SensorConfig config;
    FormSurface surface;
    FormGeometry geometry;
    MeasurementDisplay* display = nullptr;
    QLineEdit* txtMaxRange = nullptr;
    QLineEdit* nearEndpoint = nullptr;
    QLineEdit* farEndpoint = nullptr;
    QLineEdit* nearOutput = nullptr;
    QLineEdit* farOutput = nullptr;
    QLabel* echoLoss = nullptr;

  private:
    QLineEdit* Box(const char* name, const char* text, TwipRect design) {
        auto* box = new QLineEdit(text, &surface);
        box->setObjectName(name);
        geometry.Place(box, design);
        return box;
    }
};

} // namespace telmora
