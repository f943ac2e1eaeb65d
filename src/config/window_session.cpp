#include "config/window_session.h"

#include "config/image_b.h"
#include "config/image_codec.h"

#include <algorithm>

namespace telmora {

WindowSession StartUpSession() {
    WindowSession session;
    session.Window = DesignWindow();
    session.Record.CountDistance = kCountDistanceNormal;
    session.Record.AnalogOutputMax = 10;
    session.Record.AnalogOutputMin = 0;
    LoadFactoryDefaultsB(session.Record);
    ShowRecordB(session.Record, session.Window);
    return session;
}

namespace {

WindowSession SentFromFile(const RegisterImage& fileImage, SensorFamily family) {
    WindowSession session = StartUpSession();
    std::copy(fileImage.begin(), fileImage.begin() + 128, session.Image.begin());
    DecodeImageB(session.Image, session.Record);
    ShowRecordB(session.Record, session.Window);
    ReadWindow(family, session.Window, session.Record);
    EncodeImage(family, session.Record, session.Image);
    return session;
}

// Right after start-up, "Get Configuration From Sensor" on a sensor of `family`.
WindowSession ShownAfterSensorRead(SensorFamily family, const RegisterImage& sensorImage) {
    WindowSession session = StartUpSession();
    session.Image = sensorImage;
    DecodeImage(family, session.Image, session.Record);
    ShowRecord(family, session.Record, session.Window);
    return session;
}

} // namespace

RegisterImage FileImageAfterSensorRead(SensorFamily family, const RegisterImage& sensorImage) {
    WindowSession session = ShownAfterSensorRead(family, sensorImage);
    // The file always carries a family B image, whatever family the window shows.
    ReadWindowB(session.Window, session.Record);
    EncodeImageB(session.Record, session.Image);
    return session.Image;
}

RegisterImage SensorImageFromFile(const RegisterImage& fileImage, SensorFamily family) {
    return SentFromFile(fileImage, family).Image;
}

RegisterImage SensorImageAfterSensorRead(SensorFamily family, const RegisterImage& sensorImage) {
    WindowSession session = ShownAfterSensorRead(family, sensorImage);
    ReadWindow(family, session.Window, session.Record);
    EncodeImage(family, session.Record, session.Image);
    return session.Image;
}

SensorConfig RecordShownFromFile(const RegisterImage& fileImage) {
    WindowSession session = StartUpSession();
    std::copy(fileImage.begin(), fileImage.begin() + 128, session.Image.begin());
    DecodeImageB(session.Image, session.Record);
    ShowRecordB(session.Record, session.Window);
    ReadWindowB(session.Window, session.Record);
    return session.Record;
}

SensorConfig RecordShownAfterSensorRead(SensorFamily family, const RegisterImage& sensorImage) {
    WindowSession session = ShownAfterSensorRead(family, sensorImage);
    ReadWindow(family, session.Window, session.Record);
    return session.Record;
}

} // namespace telmora
