#pragma once

#include "link/link_host.h"
#include "link/link_protocol.h"

namespace telmora {

// How a command waits for its exchange: it processes pending events (serial input,
// Timer1 ticks, the user's input) until the protocol's exchange has ended. The window
// runs a local event loop; tests advance a fake clock.
class ExchangeWaiter {
  public:
    virtual ~ExchangeWaiter() = default;
    virtual void WaitWhileExchangeRuns() = 0;
    // The program is ending: no further exchange may start.
    virtual bool Leaving() const { return false; }
};

// The exchange procedures as the window runs them (each starts its exchange and waits
// for its end) and the two menu commands that chain them.
class LinkCommands {
  public:
    LinkCommands(LinkProtocol& protocol, LinkHost& host, ExchangeWaiter& waiter);

    // Finds the sensor and its family: the window's family flags are cleared, then set
    // to the family found. Warns "No Sensor Found" when no sensor echoed.
    ExchangeResult DetectSensor();
    // Fill the protocol's image from the sensor, in `family`'s read order.
    ExchangeResult ReadConfiguration(SensorFamily family);
    // Send `image` to the sensor in `family`'s write order.
    ExchangeResult WriteConfiguration(SensorFamily family, const RegisterImage& image);
    void SendEnd();

    // mnuFileOpenFromSensor, "Get Configuration From Sensor".
    void GetConfigurationFromSensor();
    // mnuFileSaveToSensor, "Save Configuration To Sensor". Unless turned off, the sensor is
    // then read back, as "Get Configuration From Sensor" reads it but without touching the
    // window, and a register that differs from what was written is reported. True when the
    // sensor took the configuration (and, when checked, gave the same back).
    bool SaveConfigurationToSensor();
    void SetVerifyAfterWriting(bool verify) { verify_ = verify; }
    // Reads the sensor as "Get Configuration From Sensor" does but leaves the window as it
    // is, for a compare. A sensor of another family than `family` is told to stream again
    // and reported by a completed detection naming its family; a completed read leaves the
    // registers in the protocol's image. Warns of a missing sensor or a stopped read itself.
    ExchangeResult ReadSensorAside(SensorFamily family);
    const RegisterImage& SensorImage() const { return protocol_.Image(); }
    bool VerifiesAfterWriting() const { return verify_; }

    // A command is running (its exchanges wait inside it).
    bool Busy() const { return busy_; }

  private:
    class BusyScope;
    bool MayBegin();
    void WarnIfStopped(const ExchangeResult& result);
    ExchangeResult WaitForEnd(Exchange exchange, bool started);
    bool VerifyWrite(SensorFamily family, const RegisterImage& written);
    ExchangeResult ReadAside(SensorFamily family);

    LinkProtocol& protocol_;
    LinkHost& host_;
    ExchangeWaiter& waiter_;
    bool busy_ = false;
    bool verify_ = true;
};

} // namespace telmora
