// Speed of the receive handler on the measurement stream: characters in, distances out,
// in the chunk sizes a serial port hands over (target: at least 10 million characters
// a second).
#include "link/link_protocol.h"

#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

using namespace telmora;

namespace {

class NoPort : public LinkPort {
  public:
    void Write(std::string_view) override {}
};

class NoTimer : public LinkTimer {
  public:
    void Start() override {}
    void Stop() override {}
};

class SumOfDistances : public LinkListener {
  public:
    void OnReading(float distance) override {
        sum += distance;
        ++count;
    }
    double sum = 0;
    long count = 0;
};

// A stream of readings as a sensor sends them: carriage return, five digits, with a
// lost echo now and then.
std::string MeasurementStream(int readings) {
    std::string stream;
    stream.reserve(static_cast<std::size_t>(readings) * 6);
    for (int k = 0; k < readings; ++k) {
        const int counts = k % 50 == 49 ? 0 : 5000 + (k * 37) % 20000;
        std::string digits = std::to_string(counts);
        stream += '\r';
        stream += std::string(5 - digits.size(), '0') + digits;
    }
    return stream;
}

void ParseMeasurementStream(benchmark::State& state) {
    const auto chunk = static_cast<std::size_t>(state.range(0));
    const std::string stream = MeasurementStream(100000);
    NoPort port;
    NoTimer timer;
    SumOfDistances listener;
    LinkProtocol protocol(port, timer, listener);
    protocol.PortOpened();

    for (auto _ : state) {
        const std::string_view all = stream;
        for (std::size_t k = 0; k < all.size(); k += chunk)
            protocol.Receive(all.substr(k, chunk));
        benchmark::DoNotOptimize(listener.sum);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(stream.size()));
    state.counters["chars/s"] = benchmark::Counter(static_cast<double>(state.iterations()) *
                                                       static_cast<double>(stream.size()),
                                                   benchmark::Counter::kIsRate);
    if (listener.count != static_cast<long>(state.iterations()) * 100000)
        state.SkipWithError("readings were lost");
}

} // namespace

// 1: a delivery per character (the slowest a port can hand them over); 6: one reading
// per delivery; 4096: a full serial buffer.
BENCHMARK(ParseMeasurementStream)
    ->Arg(1)
    ->Arg(6)
    ->Arg(4096)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
