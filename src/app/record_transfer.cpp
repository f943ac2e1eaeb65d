#include "app/record_transfer.h"

#include "app/main_menus.h"
#include "config/number_text.h"
#include "form/editor_widgets.h"
#include "editors/ui/output_editors.h"
#include "editors/scale.h"

#include <QAction>
#include <QLineEdit>

#include <utility>

namespace telmora {

namespace {

QString TwoDecimals(float value) {
    return QString::fromStdString(FormatTwoDecimals(value));
}

// A box's leading number, 0 without one; entries beyond the float range saturate.
float Number(const QLineEdit* box) {
    return ReadSingle(box->text().toStdString());
}

} // namespace

RecordTransfer::RecordTransfer(OutputEditors& editors, QLineEdit& description, SensorConfig& config,
                               const MainMenus& menus)
    : editors_(editors), description_(description), config_(config), menus_(menus) {}

void RecordTransfer::ShowRecord(int switches, bool withMode) {
    editors_.Range().ShowRange(config_.MinRange, config_.MaxRange);
    for (int n = 1; n <= switches; ++n) {
        ShowSwitch(n, withMode);
    }
    ShowAnalog();
    description_.setText(QString::fromStdString(config_.Description));
}

void RecordTransfer::ShowSwitch(int n, bool withMode) {
    const ConstSwitchFields sw = Switch(std::as_const(config_), n);
    SwitchEditor& editor = editors_.Sw(n);
    editor.SetpointBox()->setText(TwoDecimals(sw.Setpoint));
    if (withMode) {
        editor.WidthBox()->setText(TwoDecimals(sw.Hyst));
    }
    if (sw.PowerUp == 1) {
        editor.SetPowerUpOn();
    } else {
        editor.SetPowerUpOff();
    }
    if (sw.EchoLoss == 4) {
        editor.SetEchoLossOff();
    } else if (sw.EchoLoss == 8) {
        editor.SetEchoLossOn();
    } else {
        editor.SetEchoLossNC();
    }
    if (withMode) {
        if (sw.Mode != 0) {
            editor.SetModeWind();
        } else {
            editor.SetModeHyst();
        }
    }
    if (sw.Polarity == 2) {
        editor.SetPolarityReversed();
    } else {
        editor.SetPolarityNormal();
    }
    menus_.SwSetAllowed(n)->setChecked(sw.SetAllowed == 16);
    editor.Place();
}

void RecordTransfer::ShowAnalog() {
    AnalogEditor& analog = editors_.Analog();
    analog.NearEndpointBox()->setText(TwoDecimals(config_.AnalogNearEndpoint));
    analog.FarEndpointBox()->setText(TwoDecimals(config_.AnalogFarEndpoint));
    if (config_.AnalogPowerUp != 0) {
        analog.SetAnalogPowerUpHigh();
    } else {
        analog.SetAnalogPowerUpLow();
    }
    // An echo-loss code the window has no caption for leaves the label as it was.
    if (config_.AnalogEchoLoss == 0) {
        analog.SetAnalogEchoLossNC();
    } else if (config_.AnalogEchoLoss == 4) {
        analog.SetAnalogEchoLossLow();
    } else if (config_.AnalogEchoLoss == 8) {
        analog.SetAnalogEchoLossHigh();
    }
    menus_.mnuAnalogSetAllowed->setChecked(config_.AnalogSetAllowed == 16);
    if (config_.AnalogMode == 128) {
        analog.SetAnalogModeVoltage();
    } else {
        analog.SetAnalogModeCurrent();
    }
    analog.NearOutputBox()->setText(
        QString::fromStdString(FormatGeneral(config_.AnalogNearOutput)));
    analog.FarOutputBox()->setText(QString::fromStdString(FormatGeneral(config_.AnalogFarOutput)));
    analog.PlaceAnalogFarEndpoint();
    analog.PlaceAnalogNearEndpoint();
    analog.PlaceAnalogNearOutput();
    analog.PlaceAnalogFarOutput();
}

void RecordTransfer::ReadWindow(int switches, bool withMode) {
    RangeEditor& range = editors_.Range();
    config_.MinRange = Number(range.MinRangeBox());
    config_.MaxRange = Number(range.MaxRangeBox());
    for (int n = 1; n <= switches; ++n) {
        ReadSwitch(n, withMode);
    }
    ReadAnalog();
    config_.Description = description_.text().toStdString();
}

void RecordTransfer::ReadSwitch(int n, bool withMode) {
    SwitchFields sw = Switch(config_, n);
    const SwitchEditor& editor = editors_.Sw(n);
    sw.Setpoint = Number(editor.SetpointBox());
    if (withMode) {
        sw.Hyst = Number(editor.WidthBox());
        sw.Mode = editor.ModeLabel()->text() == "Hyst" ? 0 : 32;
    }
    sw.PowerUp = editor.PowerUpLabel()->text() == "Off" ? 0 : 1;
    const QString echoLoss = editor.EchoLossLabel()->text();
    sw.EchoLoss = echoLoss == "On" ? 8 : echoLoss == "Off" ? 4 : 0;
    sw.Polarity = editor.NearHandle()->text() == "Off" ? 0 : 2;
    sw.SetAllowed = menus_.SwSetAllowed(n)->isChecked() ? 16 : 0;
}

void RecordTransfer::ReadAnalog() {
    const AnalogEditor& analog = editors_.Analog();
    config_.AnalogNearEndpoint = Number(analog.NearEndpointBox());
    config_.AnalogFarEndpoint = Number(analog.FarEndpointBox());
    config_.AnalogPowerUp = analog.PowerUpLabel()->text() == "Low" ? 0 : 2;
    const QString echoLoss = analog.EchoLossLabel()->text();
    config_.AnalogEchoLoss = echoLoss == "Low" ? 4 : echoLoss == "High" ? 8 : 0;
    config_.AnalogSetAllowed = menus_.mnuAnalogSetAllowed->isChecked() ? 16 : 0;
    config_.AnalogMode = analog.ModeLabel()->text() == "Current" ? 0 : 128;
    float nearOutput = Number(analog.NearOutputBox());
    float farOutput = Number(analog.FarOutputBox());
    // The encoders want the lower output first; the slope remembers which end it was.
    if (nearOutput <= farOutput) {
        config_.AnalogSlope = 1;
    } else {
        std::swap(nearOutput, farOutput);
        config_.AnalogSlope = 0;
    }
    config_.AnalogNearOutput = nearOutput;
    config_.AnalogFarOutput = farOutput;
}

} // namespace telmora
