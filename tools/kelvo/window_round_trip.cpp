#include "window_round_trip.h"

#include "config/image_a.h"
#include "config/image_b.h"
#include "config/number_text.h"
#include "editors/handle_layout.h"

#include <algorithm>

namespace telmora::kelvo {

namespace {

float numberIn(const std::string& text) {
    return static_cast<float>(ReadNumber(text));
}

// PlaceSwN's first step: the setpoint box is rewritten in the distance format.
void placeSwitch(WindowSwitch& sw) {
    sw.Setpoint = FormatTwoDecimals(ReadNumber(sw.Setpoint));
}

// PlaceAnalogNearEndpoint and PlaceAnalogFarEndpoint rewrite a box only when it holds a
// number; anything else stays as typed.
void placeEndpoint(std::string& text) {
    if (IsNumber(text)) {
        text = FormatTwoDecimals(ReadNumber(text));
    }
}

// PlaceAnalogNearOutput and PlaceAnalogFarOutput: the box's number, held within the
// output scale, written with one decimal.
void placeOutput(std::string& text, const SensorConfig& record) {
    const float v = LimitOutput(numberIn(text), record.AnalogOutputMin, record.AnalogOutputMax);
    text = FormatOneDecimal(v);
}

void showSwitch(const SensorConfig& record, int n, bool familyB, WindowSwitch& sw) {
    const ConstSwitchFields fields = Switch(record, n);
    sw.Setpoint = FormatTwoDecimals(fields.Setpoint);
    if (familyB) {
        sw.Hyst = FormatTwoDecimals(fields.Hyst);
    }
    sw.PowerUp = fields.PowerUp == 1 ? "On" : "Off";
    sw.EchoLoss = fields.EchoLoss == 4 ? "Off" : fields.EchoLoss == 8 ? "On" : "NC";
    if (familyB) {
        sw.Mode = fields.Mode != 0 ? "Wind" : "Hyst";
    }
    const bool reversed = fields.Polarity == 2;
    sw.Left = reversed ? "On" : "Off";
    sw.Right = reversed ? "Off" : "On";
    sw.SetAllowed = fields.SetAllowed == 16;
    placeSwitch(sw);
}

void showRecord(const SensorConfig& record, bool familyB, WindowTexts& window) {
    window.MinRange = FormatTwoDecimals(record.MinRange);
    window.MaxRange = FormatTwoDecimals(record.MaxRange);
    const int switches = familyB ? 4 : 2;
    for (int n = 1; n <= switches; ++n) {
        showSwitch(record, n, familyB, window.Switch(n));
    }
    window.AnalogNearEndpoint = FormatTwoDecimals(record.AnalogNearEndpoint);
    window.AnalogFarEndpoint = FormatTwoDecimals(record.AnalogFarEndpoint);
    window.AnalogPowerUp = record.AnalogPowerUp != 0 ? "High" : "Low";
    // Only the three codes the window can show change the label.
    if (record.AnalogEchoLoss == 0) {
        window.AnalogEchoLoss = "NC";
    } else if (record.AnalogEchoLoss == 4) {
        window.AnalogEchoLoss = "Low";
    } else if (record.AnalogEchoLoss == 8) {
        window.AnalogEchoLoss = "High";
    }
    window.AnalogSetAllowed = record.AnalogSetAllowed == 16;
    window.AnalogMode = record.AnalogMode == 128 ? "Voltage" : "Current";
    window.AnalogNearOutput = FormatGeneral(record.AnalogNearOutput);
    window.AnalogFarOutput = FormatGeneral(record.AnalogFarOutput);
    placeEndpoint(window.AnalogFarEndpoint);
    placeEndpoint(window.AnalogNearEndpoint);
    placeOutput(window.AnalogNearOutput, record);
    placeOutput(window.AnalogFarOutput, record);
    window.Description = record.Description;
}

void readSwitch(const WindowSwitch& sw, int n, bool familyB, SensorConfig& record) {
    SwitchFields fields = Switch(record, n);
    fields.Setpoint = numberIn(sw.Setpoint);
    if (familyB) {
        fields.Hyst = numberIn(sw.Hyst);
        fields.Mode = sw.Mode == "Hyst" ? 0 : 32;
    }
    fields.PowerUp = sw.PowerUp == "Off" ? 0 : 1;
    fields.EchoLoss = sw.EchoLoss == "On" ? 8 : sw.EchoLoss == "Off" ? 4 : 0;
    fields.Polarity = sw.Left == "Off" ? 0 : 2;
    fields.SetAllowed = sw.SetAllowed ? 16 : 0;
}

void readWindow(const WindowTexts& window, bool familyB, SensorConfig& record) {
    record.MinRange = numberIn(window.MinRange);
    record.MaxRange = numberIn(window.MaxRange);
    const int switches = familyB ? 4 : 2;
    for (int n = 1; n <= switches; ++n) {
        readSwitch(window.Switch(n), n, familyB, record);
    }
    record.AnalogNearEndpoint = numberIn(window.AnalogNearEndpoint);
    record.AnalogFarEndpoint = numberIn(window.AnalogFarEndpoint);
    record.AnalogPowerUp = window.AnalogPowerUp == "Low" ? 0 : 2;
    record.AnalogEchoLoss = window.AnalogEchoLoss == "Low"    ? 4
                            : window.AnalogEchoLoss == "High" ? 8
                                                              : 0;
    record.AnalogSetAllowed = window.AnalogSetAllowed ? 16 : 0;
    record.AnalogMode = window.AnalogMode == "Current" ? 0 : 128;
    // The encoders expect the lower output at the near end; the slope remembers which
    // end the window had it on.
    const float nearOutput = numberIn(window.AnalogNearOutput);
    const float farOutput = numberIn(window.AnalogFarOutput);
    if (nearOutput <= farOutput) {
        record.AnalogNearOutput = nearOutput;
        record.AnalogFarOutput = farOutput;
        record.AnalogSlope = 1;
    } else {
        record.AnalogNearOutput = farOutput;
        record.AnalogFarOutput = nearOutput;
        record.AnalogSlope = 0;
    }
    record.Description = window.Description;
}

} // namespace

WindowTexts DesignWindow() {
    WindowTexts window;
    window.MinRange = "6.5";
    window.MaxRange = "221";
    for (WindowSwitch& sw : window.Switches) {
        sw = WindowSwitch{"888.88", "888.88", "Hyst", "Off", "NC", "Off", "On", false};
    }
    window.AnalogNearOutput = "10.0";
    window.AnalogFarOutput = "20.0";
    window.AnalogPowerUp = "Off";
    window.AnalogEchoLoss = "NC";
    window.AnalogMode = "Voltage";
    return window;
}

void ShowRecordA(const SensorConfig& record, WindowTexts& window) {
    showRecord(record, false, window);
}

void ShowRecordB(const SensorConfig& record, WindowTexts& window) {
    showRecord(record, true, window);
}

void ReadWindowA(const WindowTexts& window, SensorConfig& record) {
    readWindow(window, false, record);
}

void ReadWindowB(const WindowTexts& window, SensorConfig& record) {
    readWindow(window, true, record);
}

void ShowRecord(SensorFamily family, const SensorConfig& record, WindowTexts& window) {
    if (family == SensorFamily::A) {
        ShowRecordA(record, window);
    } else if (family == SensorFamily::B) {
        ShowRecordB(record, window);
    }
}

void ReadWindow(SensorFamily family, const WindowTexts& window, SensorConfig& record) {
    if (family == SensorFamily::A) {
        ReadWindowA(window, record);
    } else if (family == SensorFamily::B) {
        ReadWindowB(window, record);
    }
}

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

RegisterImage FileImageAfterSensorRead(SensorFamily family, const RegisterImage& sensorImage) {
    WindowSession session = StartUpSession();
    session.Image = sensorImage;
    if (family == SensorFamily::A) {
        DecodeImageA(session.Image, session.Record);
    } else {
        DecodeImageB(session.Image, session.Record);
    }
    ShowRecord(family, session.Record, session.Window);
    // The file always carries a family B image, whatever family the window shows.
    ReadWindowB(session.Window, session.Record);
    EncodeImageB(session.Record, session.Image);
    return session.Image;
}

RegisterImage SensorImageFromFile(const RegisterImage& fileImage, SensorFamily family) {
    WindowSession session = StartUpSession();
    std::copy(fileImage.begin(), fileImage.begin() + 128, session.Image.begin());
    DecodeImageB(session.Image, session.Record);
    ShowRecordB(session.Record, session.Window);
    ReadWindow(family, session.Window, session.Record);
    if (family == SensorFamily::A) {
        EncodeImageA(session.Record, session.Image);
    } else {
        EncodeImageB(session.Record, session.Image);
    }
    return session.Image;
}

} // namespace telmora::kelvo
