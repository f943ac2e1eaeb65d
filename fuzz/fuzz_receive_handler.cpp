// The receive handler as the window drives it: the input decides, call by call, whether
// characters arrive (in chunks of any size), Timer1 ticks, an exchange starts, the end
// command goes out or the port closes and opens again. Timer1 must run exactly while the
// protocol says an exchange waits.
#include "link/link_protocol.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

namespace {

using namespace telmora;

class Port : public LinkPort {
  public:
    void Write(std::string_view bytes) override { written += bytes.size(); }
    std::size_t written = 0;
};

class Timer : public LinkTimer {
  public:
    void Start() override { running = true; }
    void Stop() override { running = false; }
    bool running = false;
};

class Listener : public LinkListener {
  public:
    void OnExchangeEnded(const ExchangeResult& result) override {
        if (result.Exchange == Exchange::None)
            std::abort(); // an end without an exchange
    }
};

SensorFamily Family(FuzzedDataProvider& data) {
    return data.PickValueInArray({SensorFamily::None, SensorFamily::A, SensorFamily::B});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    Port port;
    Timer timer;
    Listener listener;
    LinkProtocol protocol(port, timer, listener);
    protocol.PortOpened();
    while (data.remaining_bytes() > 0) {
        switch (data.ConsumeIntegralInRange(0, 7)) {
        case 0:
        case 1:
            protocol.Receive(data.ConsumeRandomLengthString(64));
            break;
        case 2:
            protocol.Timer1Tick();
            break;
        case 3:
            protocol.StartDetection();
            break;
        case 4:
            protocol.StartRead(Family(data));
            break;
        case 5: {
            RegisterImage image{};
            for (auto& element : image)
                element = data.ConsumeIntegral<std::int16_t>();
            protocol.StartWrite(Family(data), image);
            break;
        }
        case 6:
            protocol.SendEnd();
            break;
        default:
            data.ConsumeBool() ? protocol.PortClosed() : protocol.PortOpened();
            break;
        }
        if (timer.running != protocol.ExchangeRunning())
            std::abort();
    }
    return 0;
}
