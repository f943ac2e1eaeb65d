#pragma once

#include "link/link_protocol.h"
#include "link/port_lock.h"

#include <string>
#include <string_view>

// A serial device opened the way the sensor needs it: 9600 baud, 8 data bits, no parity,
// one stop bit, no flow control and no character processing, so every byte value 0 to 255
// passes both ways unchanged.
namespace telmora::kelvo {

class SerialPort final : public LinkPort {
  public:
    SerialPort() = default;
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;
    ~SerialPort() override;

    // Opens `device` without making it the controlling terminal, after taking its lock
    // file, and opens it exclusively, so neither another kelvo run nor the window shares
    // the sensor; a port another program holds is left untouched and the refusal names
    // the holder. Characters that waited
    // in the driver are kept: the receive handler skips to the next reading's start. On
    // failure returns false and sets `error` to a sentence naming the device and reason.
    bool Open(const std::string& device, std::string& error);
    // Waits until written bytes have left, then closes. Harmless when not open.
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    int Descriptor() const { return fd_; }
    const std::string& Device() const { return device_; }

    // Hands every byte to the driver, waiting for room when its buffer is full. A write
    // error marks the port failed; the bytes are then dropped.
    void Write(std::string_view bytes) override;

    enum class ReadStatus { Data, Nothing, Closed };
    // Appends whatever the driver holds to `into`. Closed: the line hung up or failed.
    ReadStatus ReadAvailable(std::string& into);

    bool Failed() const { return !failure_.empty(); }
    const std::string& Failure() const { return failure_; }

  private:
    void Fail(std::string_view what, int err);

    PortLock lock_;
    int fd_ = -1;
    std::string device_;
    std::string failure_;
};

} // namespace telmora::kelvo
