#include "exit_codes.h"
#include "kelvo_commands.h"
#include "sensor_session.h"
#include "window_session.h"

#include "config/config_file.h"
#include "link/frames.h"
#include "link/link_host.h"

#include <algorithm>
#include <optional>
#include <ostream>
#include <vector>

namespace telmora::kelvo {

namespace {

void fail(std::ostream& err, std::string_view message) {
    err << "kelvo: " << message << "\n";
}

bool openPort(const Options& options, SerialPort& port, std::ostream& err) {
    std::string error;
    if (!port.Open(options.port, error)) {
        fail(err, error);
        return false;
    }
    return true;
}

// The exit status and message of an exchange that did not complete.
int reportStopped(const ExchangeResult& result, const SensorSession& session, std::ostream& err) {
    if (session.Stop() == SessionStop::Interrupted) {
        fail(err, "interrupted");
        return kExitInterrupted;
    }
    switch (result.outcome) {
    case ExchangeOutcome::NoSensor:
        fail(err, kNoSensorFoundText);
        return kExitNoSensor;
    case ExchangeOutcome::PortLost:
        fail(err, session.PortFailure());
        return kExitPort;
    case ExchangeOutcome::ReplyLate: {
        const std::string reg = std::to_string(result.unansweredRegister);
        if (result.exchange == Exchange::Write) {
            fail(err, "the sensor stopped answering at the write of register " + reg +
                          "; it now holds a partly written configuration");
        } else {
            fail(err, "the sensor stopped answering at the read of register " + reg);
        }
        return kExitTimeout;
    }
    case ExchangeOutcome::ReplyDamaged: {
        const std::string what =
            std::string(result.exchange == Exchange::Write ? "write" : "read") + " of register " +
            std::to_string(result.unansweredRegister);
        fail(err, "the sensor's reply to the " + what + " came damaged " +
                      std::to_string(kMaxRegisterTries) + " times" +
                      (result.exchange == Exchange::Write
                           ? "; it now holds a partly written configuration"
                           : ""));
        return kExitTimeout;
    }
    case ExchangeOutcome::NotStarted:
    case ExchangeOutcome::Stopped:
        // Each exchange starts only after the one before has ended and none is stopped
        // for another, so this means a fault in kelvo itself.
        fail(err, "the link refused to start an exchange");
        return kExitPort;
    case ExchangeOutcome::Completed:
        break;
    }
    return kExitOk;
}

bool stopped(const ExchangeResult& result, const SensorSession& session) {
    return session.Stop() != SessionStop::Done || !result.completed();
}

// "74 (wrote 218, read 0)" for every register of the family's write order that differs.
std::vector<std::string> differingRegisters(SensorFamily family, const RegisterImage& written,
                                            const RegisterImage& readBack) {
    std::vector<std::string> differences;
    for (const std::uint8_t reg : WriteRegisters(family)) {
        const int wrote = std::clamp<int>(written[reg], 0, 255);
        const int read = std::clamp<int>(readBack[reg], 0, 255);
        if (wrote != read) {
            differences.push_back(std::to_string(reg) + " (wrote " + std::to_string(wrote) +
                                  ", read " + std::to_string(read) + ")");
        }
    }
    return differences;
}

std::string joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) {
        text += (text.empty() ? "" : ", ") + part;
    }
    return text;
}

// Every sensor command starts the same way: open the port, then detect the sensor.
struct DetectedSensor {
    SerialPort port;
    WindowSession startUp = StartUpSession();
    std::optional<SensorSession> session; // made once the port is open
    ExchangeResult found;

    // kExitOk when the port opened and a sensor answered; otherwise the exit status, with
    // the message written to `err`.
    int Connect(const Options& options, std::ostream& err) {
        if (!openPort(options, port, err)) {
            return kExitPort;
        }
        session.emplace(port);
        found = session->DetectSensor();
        return stopped(found, *session) ? reportStopped(found, *session, err) : kExitOk;
    }
};

} // namespace

int RunDetect(const Options& options, std::ostream& out, std::ostream& err) {
    DetectedSensor sensor;
    if (const int status = sensor.Connect(options, err); status != kExitOk) {
        return status;
    }
    SensorSession& session = *sensor.session;
    const ExchangeResult& found = sensor.found;
    // The sensor waits for configuration frames after answering; the end command sends
    // it back to streaming readings.
    session.SendEnd();
    out << FamilyName(found.family) << "\n";
    return kExitOk;
}

int RunRead(const Options& options, std::ostream& out, std::ostream& err) {
    DetectedSensor sensor;
    if (const int status = sensor.Connect(options, err); status != kExitOk) {
        return status;
    }
    SensorSession& session = *sensor.session;
    const ExchangeResult& found = sensor.found;
    const ExchangeResult read = session.ReadConfiguration(found.family);
    if (stopped(read, session)) {
        return reportStopped(read, session, err);
    }
    session.SendEnd();
    sensor.port.Close();

    const RegisterImage fileImage = FileImageAfterSensorRead(found.family, session.Image());
    const FileResult saved = WriteConfigFile(options.output, ImageToFileBytes(fileImage));
    if (!saved.ok) {
        fail(err, saved.error);
        return kExitFile;
    }
    out << FamilyName(found.family) << " configuration saved to " << options.output << "\n";
    return kExitOk;
}

int RunWrite(const Options& options, std::ostream& out, std::ostream& err) {
    const ConfigFileContents contents = ReadConfigFile(options.file);
    if (!contents.ok) {
        fail(err, contents.error);
        return kExitFile;
    }
    RegisterImage fileImage{};
    FileBytesToImage(contents.bytes, fileImage);

    DetectedSensor sensor;
    if (const int status = sensor.Connect(options, err); status != kExitOk) {
        return status;
    }
    SensorSession& session = *sensor.session;
    const ExchangeResult& found = sensor.found;
    const SensorFamily family = found.family;
    if (options.family != SensorFamily::None && options.family != family) {
        session.SendEnd();
        fail(err, std::string(kWrongSensorTypeText) + " (found " + std::string(FamilyName(family)) +
                      ")");
        return kExitWrongFamily;
    }

    const RegisterImage image = SensorImageFromFile(fileImage, family);
    const ExchangeResult written = session.WriteConfiguration(family, image);
    if (stopped(written, session)) {
        return reportStopped(written, session, err);
    }
    session.SendEnd();
    const auto registers = WriteRegisters(family).size();
    if (!options.verify) {
        out << FamilyName(family) << ": " << registers << " registers written from " << options.file
            << "\n";
        return kExitOk;
    }

    // Read back as "Get Configuration From Sensor" would: detection, then the read.
    const ExchangeResult again = session.DetectSensor();
    if (stopped(again, session)) {
        return reportStopped(again, session, err);
    }
    if (again.family != family) {
        fail(err, "the sensor answered as " + std::string(FamilyName(again.family)) +
                      " after the write as " + std::string(FamilyName(family)));
        return kExitVerifyFailed;
    }
    const ExchangeResult readBack = session.ReadConfiguration(family);
    if (stopped(readBack, session)) {
        return reportStopped(readBack, session, err);
    }
    session.SendEnd();
    const std::vector<std::string> differences = differingRegisters(family, image, session.Image());
    if (!differences.empty()) {
        fail(err, "the configuration read back differs at " + std::to_string(differences.size()) +
                      " register" + (differences.size() == 1 ? "" : "s") + ": " +
                      joined(differences));
        return kExitVerifyFailed;
    }
    out << FamilyName(family) << ": " << registers << " registers written from " << options.file
        << " and verified\n";
    return kExitOk;
}

} // namespace telmora::kelvo
