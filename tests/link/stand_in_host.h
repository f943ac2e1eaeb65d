#pragma once

// The main window as the link's commands see it, for tests: it keeps the family flags,
// the images it was given or gives, and a log of every request.

#include "link/link_host.h"

#include <string>
#include <vector>

namespace telmora::testing {

class StandInHost : public LinkHost {
  public:
    SensorFamily family = SensorFamily::B;
    RegisterImage windowImage{}; // what ReadWindow hands over
    RegisterImage shownImage{};  // what ShowRecord was given
    std::vector<std::string> log;
    std::vector<std::string> warnings;

    SensorFamily SelectedFamily() const override { return family; }
    void SetFamily(SensorFamily f) override {
        family = f;
        log.push_back("SetFamily " + std::string(FamilyName(f)));
    }
    void ShowRecord(SensorFamily f, const RegisterImage& image) override {
        shownImage = image;
        log.push_back("ShowRecord " + std::string(FamilyName(f)));
    }
    RegisterImage ReadWindow(SensorFamily f) override {
        log.push_back("ReadWindow " + std::string(FamilyName(f)));
        return windowImage;
    }
    void Warn(std::string_view text) override {
        warnings.emplace_back(text);
        log.push_back("Warn " + std::string(text));
    }
    void ShowStatus(std::string_view text) override {
        log.push_back("Status " + std::string(text));
    }
};

} // namespace telmora::testing
