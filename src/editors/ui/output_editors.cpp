#include "editors/ui/output_editors.h"

#include "form/form_surface.h"

#include <QAction>
#include <QMenu>

namespace telmora {

OutputEditors::OutputEditors(FormSurface& surface, FormGeometry& geometry, SensorConfig& config,
                             std::function<FamilyFlags()> family, QObject* parent)
    : QObject(parent) {
    range_ = std::make_unique<RangeEditor>(surface, geometry, config, std::move(family));
    for (int n = 1; n <= 4; ++n) {
        switches_.at(static_cast<std::size_t>(n - 1)) =
            std::make_unique<SwitchEditor>(n, surface, geometry, config, *range_);
    }
    analog_ = std::make_unique<AnalogEditor>(surface, geometry, config, *range_);
    connect(range_.get(), &RangeEditor::RangeApplied, this, &OutputEditors::RedrawOutputEditors);
    // Every editor's limit notes go out through one signal, for the status bar.
    connect(range_.get(), &RangeEditor::LimitNoted, this, &OutputEditors::LimitNoted);
    for (auto& sw : switches_) {
        connect(sw.get(), &SwitchEditor::LimitNoted, this, &OutputEditors::LimitNoted);
    }
    connect(analog_.get(), &AnalogEditor::LimitNoted, this, &OutputEditors::LimitNoted);
}

OutputEditors::~OutputEditors() = default;

void OutputEditors::RedrawOutputEditors() {
    for (auto& sw : switches_) {
        sw->Place();
    }
    analog_->PlaceAnalogFarEndpoint();
    analog_->PlaceAnalogNearEndpoint();
    analog_->PlaceAnalogNearOutput();
    analog_->PlaceAnalogFarOutput();
}

void OutputEditors::SetFamilyBControlsVisible(bool visible) {
    for (auto& sw : switches_) {
        sw->PopUp().Mode->menuAction()->setVisible(visible);
    }
    for (auto& sw : switches_) {
        for (QWidget* widget : sw->FamilyBOnlyWidgets()) {
            widget->setVisible(visible);
        }
    }
}

std::array<QMenu*, 5> OutputEditors::PopUpMenus() const {
    return {switches_[0]->PopUp().Menu, switches_[1]->PopUp().Menu, switches_[2]->PopUp().Menu,
            switches_[3]->PopUp().Menu, analog_->PopUpMenu()};
}

} // namespace telmora
