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
    PatternKind Kind = PatternKind::Fixed;
    double From = 24.0; // inch; the fixed distance for PatternKind::Fixed
    double To = 24.0;   // inch
    long Period = 100;  // readings per ramp or sine cycle
    long LostEvery = 0; // every Nth reading is a lost echo; 0 never
};

// Misbehaviours on request, so that the program's handling of a faulty sensor can be
// exercised without one.
struct Faults {
    bool Silent = false;       // answers nothing and streams nothing
    bool NoIdent = false;      // a family B sensor that ignores the identification query
    std::optional<int> StopAt; // falls silent at this register until the exchange ends
    int LateMs = 0;            // every reply leaves this much later
    int GarbagePercent = 0;    // chance of stray bytes before a reading or reply
    int StrayPercent = 0;      // chance of one stray byte, never a carriage return,
                               // before a reply (readings are spared)
    std::optional<std::uint32_t> StraySeed;  // default: --seed
    int DamagePercent = 0;                   // chance of a wrong checksum in a "G" or "P" reply
    std::optional<std::uint32_t> DamageSeed; // default: --seed
    int EchoBurst = 0;               // holds this many detection echoes, then sends them at once
    std::optional<int> HangupAt;     // closes the line on a frame for this register
    std::optional<long> HangupAfter; // closes the line after this many readings
    std::set<int> IgnoreP;           // acknowledges writes to these registers, stores nothing
};

struct SimOptions {
    sim::Family Family = sim::Family::B;
    std::string LinkPath;
    std::string ConfigPath;
    std::string LogPath;
    std::string RecordPath;
    std::string DumpImagePath;
    bool Quiet = false;
    double Rate = 20.0; // readings per second; 0 as fast as the line takes them
    std::optional<long> Count;
    DistancePattern Pattern;
    bool Paced = false;
    int ExchangeTimeoutMs = 1000;
    sim::Faults Faults;
    std::uint32_t Seed = 1;
    std::optional<int> ExitOnCloseMs;
};

struct ParsedOptions {
    SimOptions Options;
    bool ShowHelp = false;
    std::string Error; // empty when the command line was understood
};

// Reads the command line (without the program name).
ParsedOptions ParseOptions(std::span<const std::string> args);

std::string HelpText();

} // namespace telmora::sim
