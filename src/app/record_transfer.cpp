#include "app/record_transfer.h"

#include "app/main_menus.h"
#include "config/option_codes.h"
#include "editors/ui/output_editors.h"
#include "form/editor_widgets.h"

#include <QAction>
#include <QLineEdit>

namespace telmora {

namespace {

std::string Text(const QLabel* label) {
    return label->text().toStdString();
}
std::string Text(const QLineEdit* box) {
    return box->text().toStdString();
}

// Shows the state whose caption `caption` is; a caption no state has leaves the label.
template <typename Table, typename ShowState>
void ShowCaption(const Table& table, const std::string& caption, ShowState show) {
    if (const auto state = table.WithCaption(caption)) {
        show(*state);
    }
}

} // namespace

RecordTransfer::RecordTransfer(OutputEditors& editors, QLineEdit& description, SensorConfig& config,
                               const MainMenus& menus)
    : editors_(editors), description_(description), config_(config), menus_(menus) {
    for (QLineEdit* box : NumberBoxes()) {
        QObject::connect(box, &QLineEdit::textChanged, box, [this, box] { Forget(box); });
    }
}

std::vector<QLineEdit*> RecordTransfer::NumberBoxes() const {
    std::vector<QLineEdit*> boxes{editors_.Range().MinRangeBox(), editors_.Range().MaxRangeBox()};
    for (int n = 1; n <= 4; ++n) {
        boxes.push_back(editors_.Sw(n).SetpointBox());
        boxes.push_back(editors_.Sw(n).WidthBox());
    }
    const AnalogEditor& analog = editors_.Analog();
    for (QLineEdit* box : {analog.NearEndpointBox(), analog.FarEndpointBox(),
                           analog.NearOutputBox(), analog.FarOutputBox()}) {
        boxes.push_back(box);
    }
    return boxes;
}

void RecordTransfer::Forget(const QLineEdit* box) {
    const auto shown = shown_.find(box->objectName().toStdString());
    if (shown != shown_.end() && shown->second.Text != Text(box)) {
        shown_.erase(shown);
    }
}

void RecordTransfer::Show(SensorFamily family) {
    WindowTexts texts = Texts();
    ShowRecord(family, config_, texts);
    Apply(texts, family == SensorFamily::A ? kWindowShareA : kWindowShareB);
    shown_ = texts.Shown;
    for (QLineEdit* box : NumberBoxes()) {
        Forget(box); // a placement that wrote other text than the core's
    }
}

SensorConfig RecordTransfer::WindowRecord() const {
    SensorConfig record = config_;
    ReadWindow(SensorFamily::B, Texts(), record);
    return record;
}

WindowTexts RecordTransfer::Texts() const {
    WindowTexts texts;
    texts.MinRange = Text(editors_.Range().MinRangeBox());
    texts.MaxRange = Text(editors_.Range().MaxRangeBox());
    for (int n = 1; n <= 4; ++n) {
        const SwitchEditor& editor = editors_.Sw(n);
        WindowSwitch& sw = texts.Switch(n);
        sw.Setpoint = Text(editor.SetpointBox());
        sw.Hyst = Text(editor.WidthBox());
        sw.Mode = Text(editor.ModeLabel());
        sw.PowerUp = Text(editor.PowerUpLabel());
        sw.EchoLoss = Text(editor.EchoLossLabel());
        sw.Left = Text(editor.NearHandle());
        sw.Right = Text(editor.FarHandle());
        sw.SetAllowed = menus_.SwSetAllowed(n)->isChecked();
    }
    const AnalogEditor& analog = editors_.Analog();
    texts.AnalogNearEndpoint = Text(analog.NearEndpointBox());
    texts.AnalogFarEndpoint = Text(analog.FarEndpointBox());
    texts.AnalogNearOutput = Text(analog.NearOutputBox());
    texts.AnalogFarOutput = Text(analog.FarOutputBox());
    texts.AnalogPowerUp = Text(analog.PowerUpLabel());
    texts.AnalogEchoLoss = Text(analog.EchoLossLabel());
    texts.AnalogMode = Text(analog.ModeLabel());
    texts.AnalogSetAllowed = menus_.mnuAnalogSetAllowed->isChecked();
    texts.Description = Text(&description_);
    texts.Shown = shown_;
    return texts;
}

void RecordTransfer::Apply(const WindowTexts& texts, WindowShare share) {
    editors_.Range().ShowRange(Qs(texts.MinRange), Qs(texts.MaxRange));
    for (int n = 1; n <= share.Switches; ++n) {
        ApplySwitch(texts.Switch(n), n, share.WidthAndMode);
    }
    ApplyAnalog(texts);
    description_.setText(Qs(texts.Description));
}

void RecordTransfer::ApplySwitch(const WindowSwitch& texts, int n, bool widthAndMode) {
    SwitchEditor& editor = editors_.Sw(n);
    editor.SetpointBox()->setText(Qs(texts.Setpoint));
    if (widthAndMode) {
        editor.WidthBox()->setText(Qs(texts.Hyst));
    }
    ShowCaption(kSwitchPowerUp, texts.PowerUp, [&](auto s) { editor.ShowPowerUp(s); });
    ShowCaption(kSwitchEchoLoss, texts.EchoLoss, [&](auto s) { editor.ShowEchoLoss(s); });
    if (widthAndMode) {
        ShowCaption(kSwitchMode, texts.Mode, [&](auto s) { editor.ShowMode(s); });
    }
    ShowCaption(kSwitchPolarity, texts.Left, [&](auto s) { editor.ShowPolarity(s); });
    menus_.SwSetAllowed(n)->setChecked(texts.SetAllowed);
    editor.Place();
}

void RecordTransfer::ApplyAnalog(const WindowTexts& texts) {
    AnalogEditor& analog = editors_.Analog();
    analog.NearEndpointBox()->setText(Qs(texts.AnalogNearEndpoint));
    analog.FarEndpointBox()->setText(Qs(texts.AnalogFarEndpoint));
    ShowCaption(kAnalogPowerUp, texts.AnalogPowerUp, [&](auto s) { analog.ShowAnalogPowerUp(s); });
    ShowCaption(kAnalogEchoLoss, texts.AnalogEchoLoss,
                [&](auto s) { analog.ShowAnalogEchoLoss(s); });
    menus_.mnuAnalogSetAllowed->setChecked(texts.AnalogSetAllowed);
    ShowCaption(kAnalogMode, texts.AnalogMode, [&](auto s) { analog.ShowAnalogMode(s); });
    analog.NearOutputBox()->setText(Qs(texts.AnalogNearOutput));
    analog.FarOutputBox()->setText(Qs(texts.AnalogFarOutput));
    analog.PlaceAnalogFarEndpoint();
    analog.PlaceAnalogNearEndpoint();
    analog.PlaceAnalogNearOutput();
    analog.PlaceAnalogFarOutput();
}

} // namespace telmora
