// "Compare With Sensor..." and "Compare With File...": the window's configuration beside
// a sensor's or a file's, as each would be sent to a sensor of the window's family after
// the window's round trip, so a value the window cannot tell apart is no difference. The
// other side is read without touching the window.
#include "app/main_window.h"

#include "config/config_fields.h"
#include "config/config_file.h"
#include "config/image_codec.h"
#include "config/window_session.h"
#include "dialogs/ui/compare_dialog.h"
#include "link/ui/sensor_link.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace telmora {

void MainWindow::ShowComparison(const QString& title, const std::string& otherName,
                                const SensorConfig& other) {
    const SensorFamily family = SelectedFamily();
    const SensorConfig shown = DecodedImage(family, ReadWindow(family));
    const std::string windowName = "Window (" + std::string(FamilyName(family)) + ")";
    CompareDialog::Show(title, windowName, otherName, CompareFields(shown, other, family), this);
}

void MainWindow::mnuFileCompareWithSensorClick() {
    const SensorFamily family = SelectedFamily();
    if (family == SensorFamily::None)
        return;
    RegisterImage sensorImage{};
    const ExchangeResult result = link_->ReadSensorAside(family, sensorImage);
    if (result.Exchange == Exchange::Detection && result.Completed()) {
        Warn("The sensor is a " + std::string(FamilyName(result.Family)) +
             " and the window is set up for " + std::string(FamilyName(family)) +
             ". Choose its family under Sensor Type to compare.");
        return;
    }
    if (result.Exchange != Exchange::Read || !result.Completed())
        return; // the link has said why
    const std::string sensorName =
        std::string(FamilyName(family)) + " on " + link_->PortDevice().toStdString();
    ShowComparison("Compare With Sensor", sensorName,
                   DecodedImage(family, SensorImageAfterSensorRead(family, sensorImage)));
}

void MainWindow::mnuFileCompareWithFileClick() {
    if (SelectedFamily() == SensorFamily::None)
        return;
    const QString path = AskForConfigurationFile("Compare With File");
    if (!path.isEmpty())
        CompareWithFile(path);
}

bool MainWindow::CompareWithFile(const QString& path) {
    const SensorFamily family = SelectedFamily();
    const ConfigFileContents contents = ReadConfigFile(QFile::encodeName(path).toStdString());
    if (!contents.Ok) {
        ShowError("Compare With File", QString::fromStdString(contents.Error));
        return false;
    }
    RegisterImage fileImage{};
    FileBytesToImage(contents.Bytes, fileImage);
    ShowComparison("Compare With File", QFileInfo(path).fileName().toStdString(),
                   DecodedImage(family, SensorImageFromFile(fileImage, family)));
    return true;
}

} // namespace telmora
