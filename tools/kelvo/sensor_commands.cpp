#include "config/window_session.h"
#include "exit_codes.h"
#include "kelvo_commands.h"
#include "sensor_session.h"

#include "config/config_file.h"
#include "link/frames.h"
#include "link/link_host.h"
#include "link/write_check.h"

#include <optional>
#include <ostream>
#include <vector>

namespace telmora::kelvo {

namespace {

void Fail(std::ostream& err, std::string_view message) {
    err << "kelvo: " << message << "\n";
}

bool OpenPort(const Options& options, SerialPort& port, std::ostream& err) {
    std::string error;
    if (!port.Open(options.Port, error)) {
        Fail(err, error);
        return false;
    }
    return true;
}

// The exit status and message of an exchange that did not complete.
int ReportStopped(const ExchangeResult& result, const SensorSession& session, std::ostream& err) {
    if (session.Stop() == SessionStop::Interrupted) {
        Fail(err, "interrupted");
        return kExitInterrupted;
    }
    switch (result.Outcome) {
    case ExchangeOutcome::NoSensor:
        Fail(err, kNoSensorFoundText);
        return kExitNoSensor;
    case ExchangeOutcome::PortLost:
        Fail(err, session.PortFailure());
        return kExitPort;
    case ExchangeOutcome::ReplyLate: {
        const std::string reg = std::to_string(result.UnansweredRegister);
        if (result.Exchange == Exchange::Write) {
            Fail(err, "the sensor stopped answering at the write of register " + reg +
                          "; it now holds a partly written configuration");
        } else {
            Fail(err, "the sensor stopped answering at the read of register " + reg);
        }
        return kExitTimeout;
    }
    case ExchangeOutcome::ReplyDamaged: {
        const std::string what =
            std::string(result.Exchange == Exchange::Write ? "write" : "read") + " of register " +
            std::to_string(result.UnansweredRegister);
        Fail(err, "the sensor's reply to the " + what + " came damaged " +
                      std::to_string(kMaxRegisterTries) + " times" +
                      (result.Exchange == Exchange::Write
                           ? "; it now holds a partly written configuration"
                           : ""));
        return kExitTimeout;
    }
    case ExchangeOutcome::NotStarted:
    case ExchangeOutcome::Stopped:
        // Each exchange starts only after the one before has ended and none is stopped
        // for another, so this means a fault in kelvo itself.
        Fail(err, "the link refused to start an exchange");
        return kExitPort;
    case ExchangeOutcome::Completed:
        break;
    }
    return kExitOk;
}

bool Stopped(const ExchangeResult& result, const SensorSession& session) {
    return session.Stop() != SessionStop::Done || !result.Completed();
}

// "74 (wrote 218, read 0)" for every register of the family's write order that differs.
std::vector<std::string> DifferenceTexts(SensorFamily family, const RegisterImage& written,
                                         const RegisterImage& readBack) {
    std::vector<std::string> differences;
    for (const RegisterMismatch& r : DifferingRegisters(family, written, readBack)) {
        differences.push_back(std::to_string(r.Register) + " (wrote " + std::to_string(r.Wrote) +
                              ", read " + std::to_string(r.Read) + ")");
    }
    return differences;
}

std::string Joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) {
        text += (text.empty() ? "" : ", ") + part;
    }
    return text;
}

// Every sensor command starts the same way: open the port, then detect the sensor.
struct DetectedSensor {
    SerialPort Port;
    WindowSession StartUp = StartUpSession();
    std::optional<SensorSession> Session; // made once the port is open
    ExchangeResult Found;

    // kExitOk when the port opened and a sensor answered; otherwise the exit status, with
    // the message written to `err`.
    int Connect(const Options& options, std::ostream& err) {
        if (!OpenPort(options, Port, err)) {
            return kExitPort;
        }
        Session.emplace(Port);
        Found = Session->DetectSensor();
        return Stopped(Found, *Session) ? ReportStopped(Found, *Session, err) : kExitOk;
    }
};

} // namespace

int RunDetect(const Options& options, std::ostream& out, std::ostream& err) {
    DetectedSensor sensor;
    if (const int status = sensor.Connect(options, err); status != kExitOk) {
        return status;
    }
    SensorSession& session = *sensor.Session;
    const ExchangeResult& found = sensor.Found;
    // The sensor waits for configuration frames after answering; the end command sends
    // it back to streaming readings.
    session.SendEnd();
    out << FamilyName(found.Family) << "\n";
    return kExitOk;
}

int ReadSensor(const Options& options, SensorFamily& family, RegisterImage& image,
               std::ostream& err) {
    DetectedSensor sensor;
    if (const int status = sensor.Connect(options, err); status != kExitOk) {
        return status;
    }
    SensorSession& session = *sensor.Session;
    family = sensor.Found.Family;
    const ExchangeResult read = session.ReadConfiguration(family);
    if (Stopped(read, session)) {
        return ReportStopped(read, session, err);
    }
    session.SendEnd();
    image = session.Image();
    return kExitOk;
}

int RunRead(const Options& options, std::ostream& out, std::ostream& err) {
    SensorFamily family = SensorFamily::None;
    RegisterImage image{};
    if (const int status = ReadSensor(options, family, image, err); status != kExitOk) {
        return status;
    }
    const RegisterImage fileImage = FileImageAfterSensorRead(family, image);
    const FileResult saved = WriteConfigFile(options.Output, ImageToFileBytes(fileImage));
    if (!saved.Ok) {
        Fail(err, saved.Error);
        return kExitFile;
    }
    out << FamilyName(family) << " configuration saved to " << options.Output << "\n";
    return kExitOk;
}

int RunWrite(const Options& options, std::ostream& out, std::ostream& err) {
    const ConfigFileContents contents = ReadConfigFile(options.File);
    if (!contents.Ok) {
        Fail(err, contents.Error);
        return kExitFile;
    }
    RegisterImage fileImage{};
    FileBytesToImage(contents.Bytes, fileImage);

    DetectedSensor sensor;
    if (const int status = sensor.Connect(options, err); status != kExitOk) {
        return status;
    }
    SensorSession& session = *sensor.Session;
    const ExchangeResult& found = sensor.Found;
    const SensorFamily family = found.Family;
    if (options.Family != SensorFamily::None && options.Family != family) {
        session.SendEnd();
        Fail(err, std::string(kWrongSensorTypeText) + " (found " + std::string(FamilyName(family)) +
                      ")");
        return kExitWrongFamily;
    }

    const RegisterImage image = SensorImageFromFile(fileImage, family);
    const ExchangeResult written = session.WriteConfiguration(family, image);
    if (Stopped(written, session)) {
        return ReportStopped(written, session, err);
    }
    session.SendEnd();
    const auto registers = WriteRegisters(family).size();
    if (!options.Verify) {
        out << FamilyName(family) << ": " << registers << " registers written from " << options.File
            << "\n";
        return kExitOk;
    }

    // Read back as "Get Configuration From Sensor" would: detection, then the read.
    const ExchangeResult again = session.DetectSensor();
    if (Stopped(again, session)) {
        return ReportStopped(again, session, err);
    }
    if (again.Family != family) {
        Fail(err, "the sensor answered as " + std::string(FamilyName(again.Family)) +
                      " after the write as " + std::string(FamilyName(family)));
        return kExitVerifyFailed;
    }
    const ExchangeResult readBack = session.ReadConfiguration(family);
    if (Stopped(readBack, session)) {
        return ReportStopped(readBack, session, err);
    }
    session.SendEnd();
    const std::vector<std::string> differences = DifferenceTexts(family, image, session.Image());
    if (!differences.empty()) {
        Fail(err, "the configuration read back differs at " + std::to_string(differences.size()) +
                      " register" + (differences.size() == 1 ? "" : "s") + ": " +
                      Joined(differences));
        return kExitVerifyFailed;
    }
    out << FamilyName(family) << ": " << registers << " registers written from " << options.File
        << " and verified\n";
    return kExitOk;
}

} // namespace telmora::kelvo
