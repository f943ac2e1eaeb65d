#include "app/record_transfer.h"

#include "app/main_menus.h"
#include "config/number_text.h"
#include "editors/scale.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include <utility>

namespace telmora {

namespace {

QString Sw(int n, const char* part) {
    return QString("Sw%1%2").arg(n).arg(part);
}

} // namespace

RecordTransfer::RecordTransfer(QWidget& window, SensorConfig& config, const MainMenus& menus)
    : window_(window), config_(config), menus_(menus) {}

void RecordTransfer::ShowRecord(int switches, bool withMode) {
    // TODO(editors): ShowRecord's option labels and placements go through the editors'
    // operations once the switch and analog editors are built.
    (void)switches;
    (void)withMode;
}

void RecordTransfer::ReadWindow(int switches, bool withMode) {
    config_.MinRange = Number("txtMinRange");
    config_.MaxRange = Number("txtMaxRange");
    for (int n = 1; n <= switches; ++n) {
        ReadSwitch(n, withMode);
    }
    ReadAnalog();
    config_.Description = Text("txtDescription").toStdString();
}

void RecordTransfer::ReadSwitch(int n, bool withMode) {
    SwitchFields sw = Switch(config_, n);
    sw.Setpoint = Number("txt" + Sw(n, "Setpoint"));
    if (withMode) {
        sw.Hyst = Number("txt" + Sw(n, "Hyst"));
        sw.Mode = Text("lbl" + Sw(n, "Mode")) == "Hyst" ? 0 : 32;
    }
    sw.PowerUp = Text("lbl" + Sw(n, "PowerUp")) == "Off" ? 0 : 1;
    const QString echoLoss = Text("lbl" + Sw(n, "EchoLoss"));
    sw.EchoLoss = echoLoss == "On" ? 8 : echoLoss == "Off" ? 4 : 0;
    sw.Polarity = Text("lbl" + Sw(n, "Left")) == "Off" ? 0 : 2;
    sw.SetAllowed = menus_.SwSetAllowed(n)->isChecked() ? 16 : 0;
}

void RecordTransfer::ReadAnalog() {
    config_.AnalogNearEndpoint = Number("txtAnalogNearEndpoint");
    config_.AnalogFarEndpoint = Number("txtAnalogFarEndpoint");
    config_.AnalogPowerUp = Text("lblAnalogPowerUp") == "Low" ? 0 : 2;
    const QString echoLoss = Text("lblAnalogEchoLoss");
    config_.AnalogEchoLoss = echoLoss == "Low" ? 4 : echoLoss == "High" ? 8 : 0;
    config_.AnalogSetAllowed = menus_.mnuAnalogSetAllowed->isChecked() ? 16 : 0;
    config_.AnalogMode = Text("lblAnalogMode") == "Current" ? 0 : 128;
    float nearOutput = Number("txtAnalogNearOutput");
    float farOutput = Number("txtAnalogFarOutput");
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

QString RecordTransfer::Text(const QString& name) const {
    if (auto* box = window_.findChild<QLineEdit*>(name)) {
        return box->text();
    }
    if (auto* label = window_.findChild<QLabel*>(name)) {
        return label->text();
    }
    // A control that is missing reads as empty text, as an empty box does.
    return {};
}

void RecordTransfer::SetText(const QString& name, const QString& text) {
    if (auto* box = window_.findChild<QLineEdit*>(name)) {
        box->setText(text);
    } else if (auto* label = window_.findChild<QLabel*>(name)) {
        label->setText(text);
    }
}

float RecordTransfer::Number(const QString& name) const {
    // Its leading number, 0 without one; entries beyond the float range saturate.
    return ReadSingle(Text(name).toStdString());
}

} // namespace telmora
