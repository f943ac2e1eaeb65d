#pragma once

#include "paced_output.h"
#include "sensor_model.h"
#include "sim_options.h"
#include "sim_terminal.h"

#include <cstdio>
#include <deque>
#include <utility>

namespace telmora::sim {

// Runs the simulated sensor on its terminal until a signal, a hang-up fault or, when
// asked, the other end staying closed: moves bytes between the terminal and the sensor
// model, keeps the log, the record of received bytes and the image file.
class SimRunner : public SensorLine {
  public:
    // log may be null (no log); recordFd may be -1 (no record).
    SimRunner(const SimOptions& options, RegisterImage image, SimTerminal& terminal, std::FILE* log,
              int recordFd);

    // signalFd delivers the signals that end the run. Returns the exit status.
    int Run(int signalFd);

    void Send(Bytes bytes, Clock::duration delay) override;
    void Stream(Bytes bytes) override;
    void Log(const std::string& line) override;
    void EndReceived(const RegisterImage& image) override;
    void HangUp() override;

  private:
    bool ReadFromProgram(Clock::time_point now);
    // Hands the model what has arrived by `now` on the paced line.
    void DeliverArrived(Clock::time_point now);
    void DumpImage(const RegisterImage& image);

    SimOptions options_;
    SimTerminal& terminal_;
    std::FILE* log_;
    int recordFd_;
    Clock::time_point start_;
    Clock::time_point now_;
    PacedOutput output_;
    SensorModel model_;
    // Paced: bytes from the program with the time each would have arrived at 9600 baud.
    std::deque<std::pair<std::uint8_t, Clock::time_point>> inbound_;
    Clock::time_point inboundFreeAt_{};
    bool hangUpRequested_ = false;
};

} // namespace telmora::sim
