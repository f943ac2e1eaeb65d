#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <span>
#include <string>

namespace telmora::sim {

enum class Family { A, B };

enum class PatternKind { Fixed, Ramp, Sine };

// What distance the simulated target stands at, reading by reading. The pattern is a
// function of the reading's index, so a run is reproducible whatever the timing.
struct DistancePattern {
    PatternKind kind = PatternKind::Fixed;
    double from = 24.0; // inch; the fixed distance for PatternKind::Fixed
    double to = 24.0;   // inch
    long period = 100;  // readings per ramp or sine cycle
    long lostEvery = 0; // every Nth reading is a lost echo; 0 never
};

// Misbehaviours on request, so that the program's handling of a faulty sensor can be
// exercised without one.
struct Faults {
    bool silent = false;       // answers nothing and streams nothing
    bool noIdent = false;      // a family B sensor that ignores the identification query
    std::optional<int> stopAt; // falls silent at this register until the exchange ends
    int lateMs = 0;            // every reply leaves this much later
    int garbagePercent = 0;    // chance of stray bytes before a reading or reply
    int strayPercent = 0;      // chance of one stray byte, never a carriage return,
                               // before a reply (readings are spared)
    std::optional<std::uint32_t> straySeed;  // default: --seed
    int damagePercent = 0;                   // chance of a wrong checksum in a "G" or "P" reply
    std::optional<std::uint32_t> damageSeed; // default: --seed
    int echoBurst = 0;               // holds this many detection echoes, then sends them at once
    std::optional<int> hangupAt;     // closes the line on a frame for this register
    std::optional<long> hangupAfter; // closes the line after this many readings
    std::set<int> ignoreP;           // acknowledges writes to these registers, stores nothing
};

struct SimOptions {
    Family family = Family::B;
    std::string linkPath;
    std::string configPath;
    std::string logPath;
    std::string recordPath;
    std::string dumpImagePath;
    bool quiet = false;
    double rate = 20.0; // readings per second; 0 as fast as the line takes them
    std::optional<long> count;
    DistancePattern pattern;
    bool paced = false;
    int exchangeTimeoutMs = 1000;
    Faults faults;
    std::uint32_t seed = 1;
    std::optional<int> exitOnCloseMs;
};

struct ParsedOptions {
    SimOptions options;
    bool showHelp = false;
    std::string error; // empty when the command line was understood
};

// Reads the command line (without the program name).
ParsedOptions ParseOptions(std::span<const std::string> args);

std::string HelpText();

} // namespace telmora::sim
