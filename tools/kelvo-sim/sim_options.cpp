#include "sim_options.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <map>

namespace telmora::sim {

namespace {

constexpr double kMaxDistance = 9999.0; // inch; far beyond what five digits of counts can say

// Whole-text conversions: a command line is checked strictly, "12x" is an error.
std::optional<long> WholeNumber(const std::string& text, long min, long max) {
    long value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value < min || value > max) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> DecimalNumber(const std::string& text, double min, double max) {
    double value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(value) || value < min ||
        value > max) {
        return std::nullopt;
    }
    return value;
}

struct Parser {
    SimOptions& O;
    std::string Error;

    bool Fail(const std::string& message) {
        if (Error.empty()) {
            Error = message;
        }
        return false;
    }

    bool DistancePair(const std::string& name, const std::string& value, PatternKind kind) {
        auto colon = value.find(':');
        if (colon == std::string::npos) {
            return Fail(name + " wants FROM:TO in inches, got \"" + value + "\"");
        }
        auto from = DecimalNumber(value.substr(0, colon), 0.0, kMaxDistance);
        auto to = DecimalNumber(value.substr(colon + 1), 0.0, kMaxDistance);
        if (!from || !to) {
            return Fail(name + " wants two distances 0 to 9999 inches, got \"" + value + "\"");
        }
        O.Pattern.Kind = kind;
        O.Pattern.From = *from;
        O.Pattern.To = *to;
        return true;
    }

    bool RegisterArg(const std::string& fault, const std::string& arg, std::optional<int>& out) {
        auto n = WholeNumber(arg, 0, 255);
        if (!n) {
            return Fail("--fault " + fault + " wants a register number 0 to 255");
        }
        out = static_cast<int>(*n);
        return true;
    }

    // PERCENT[,SEED]
    bool PercentAndSeed(const std::string& fault, const std::string& arg, int& percent,
                        std::optional<std::uint32_t>& seed) {
        const auto comma = arg.find(',');
        auto p = WholeNumber(arg.substr(0, comma), 1, 100);
        auto s = comma == std::string::npos ? std::optional<long>(0)
                                            : WholeNumber(arg.substr(comma + 1), 0, 0xFFFFFFFFL);
        if (!p || !s) {
            return Fail("--fault " + fault + " wants PERCENT[,SEED]: 1 to 100, a whole number");
        }
        percent = static_cast<int>(*p);
        if (comma != std::string::npos) {
            seed = static_cast<std::uint32_t>(*s);
        }
        return true;
    }

    bool Fault(const std::string& text) {
        auto eq = text.find('=');
        std::string name = text.substr(0, eq);
        std::string arg = eq == std::string::npos ? "" : text.substr(eq + 1);
        static const std::set<std::string> kNown{
            "silent",       "no-ident", "stop-at", "late",       "garbage", "hangup-at",
            "hangup-after", "ignore-p", "stray",   "echo-burst", "damage"};
        if (!kNown.contains(name)) {
            return Fail("unknown fault \"" + name + "\" (see --help)");
        }
        bool wantsArg = name != "silent" && name != "no-ident" && name != "garbage";
        if (wantsArg && eq == std::string::npos) {
            return Fail("--fault " + name + " wants a value: " + name + "=N");
        }
        if ((name == "silent" || name == "no-ident") && eq != std::string::npos) {
            return Fail("--fault " + name + " takes no value");
        }
        Faults& f = O.Faults;
        if (name == "silent") {
            f.Silent = true;
        } else if (name == "no-ident") {
            f.NoIdent = true;
        } else if (name == "stop-at") {
            return RegisterArg(name, arg, f.StopAt);
        } else if (name == "hangup-at") {
            return RegisterArg(name, arg, f.HangupAt);
        } else if (name == "ignore-p") {
            std::optional<int> reg;
            if (!RegisterArg(name, arg, reg)) {
                return false;
            }
            f.IgnoreP.insert(*reg);
        } else if (name == "late") {
            auto ms = WholeNumber(arg, 0, 60000);
            if (!ms) {
                return Fail("--fault late wants milliseconds 0 to 60000");
            }
            f.LateMs = static_cast<int>(*ms);
        } else if (name == "garbage") {
            auto percent =
                eq == std::string::npos ? std::optional<long>(20) : WholeNumber(arg, 1, 100);
            if (!percent) {
                return Fail("--fault garbage wants a percentage 1 to 100");
            }
            f.GarbagePercent = static_cast<int>(*percent);
        } else if (name == "stray") {
            return PercentAndSeed(name, arg, f.StrayPercent, f.StraySeed);
        } else if (name == "damage") {
            return PercentAndSeed(name, arg, f.DamagePercent, f.DamageSeed);
        } else if (name == "echo-burst") {
            auto n = WholeNumber(arg, 1, 10);
            if (!n) {
                return Fail("--fault echo-burst wants a number of echoes 1 to 10");
            }
            f.EchoBurst = static_cast<int>(*n);
        } else if (name == "hangup-after") {
            auto n = WholeNumber(arg, 0, 1'000'000'000);
            if (!n) {
                return Fail("--fault hangup-after wants a number of readings");
            }
            f.HangupAfter = *n;
        }
        return true;
    }

    // Options that take a value; each returns false with an error when the value is bad.
    std::map<std::string, std::function<bool(const std::string&)>> Valued() {
        return {
            {"--family",
             [this](const std::string& v) {
                 if (v == "a" || v == "A") {
                     O.Family = Family::A;
                 } else if (v == "b" || v == "B") {
                     O.Family = Family::B;
                 } else {
                     return Fail("--family wants a or b");
                 }
                 return true;
             }},
            {"--link", [this](const std::string& v) { return O.LinkPath = v, !v.empty(); }},
            {"--config", [this](const std::string& v) { return O.ConfigPath = v, !v.empty(); }},
            {"--log", [this](const std::string& v) { return O.LogPath = v, !v.empty(); }},
            {"--record", [this](const std::string& v) { return O.RecordPath = v, !v.empty(); }},
            {"--dump-image",
             [this](const std::string& v) { return O.DumpImagePath = v, !v.empty(); }},
            {"--rate",
             [this](const std::string& v) {
                 auto r = DecimalNumber(v, 0.0, 10000.0);
                 return r ? (O.Rate = *r, true) : Fail("--rate wants 0 to 10000 per second");
             }},
            {"--count",
             [this](const std::string& v) {
                 auto n = WholeNumber(v, 0, 1'000'000'000);
                 return n ? (O.Count = *n, true) : Fail("--count wants a number of readings");
             }},
            {"--distance",
             [this](const std::string& v) {
                 auto d = DecimalNumber(v, 0.0, kMaxDistance);
                 if (!d) {
                     return Fail("--distance wants 0 to 9999 inches");
                 }
                 O.Pattern.Kind = PatternKind::Fixed;
                 O.Pattern.From = O.Pattern.To = *d;
                 return true;
             }},
            {"--ramp",
             [this](const std::string& v) { return DistancePair("--ramp", v, PatternKind::Ramp); }},
            {"--sine",
             [this](const std::string& v) { return DistancePair("--sine", v, PatternKind::Sine); }},
            {"--period",
             [this](const std::string& v) {
                 auto n = WholeNumber(v, 1, 1'000'000);
                 return n ? (O.Pattern.Period = *n, true)
                          : Fail("--period wants 1 or more readings");
             }},
            {"--lost-every",
             [this](const std::string& v) {
                 auto n = WholeNumber(v, 0, 1'000'000);
                 return n ? (O.Pattern.LostEvery = *n, true)
                          : Fail("--lost-every wants a number of readings");
             }},
            {"--exchange-timeout",
             [this](const std::string& v) {
                 auto n = WholeNumber(v, 10, 60000);
                 return n ? (O.ExchangeTimeoutMs = static_cast<int>(*n), true)
                          : Fail("--exchange-timeout wants 10 to 60000 ms");
             }},
            {"--fault", [this](const std::string& v) { return Fault(v); }},
            {"--seed",
             [this](const std::string& v) {
                 auto n = WholeNumber(v, 0, 0xFFFFFFFFL);
                 return n ? (O.Seed = static_cast<std::uint32_t>(*n), true)
                          : Fail("--seed wants a whole number");
             }},
        };
    }
};

} // namespace

ParsedOptions ParseOptions(std::span<const std::string> args) {
    ParsedOptions result;
    Parser parser{result.Options, {}};
    auto valued = parser.Valued();
    for (std::size_t i = 0; i < args.size() && parser.Error.empty(); ++i) {
        std::string name = args[i];
        std::optional<std::string> value;
        if (auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
        }
        if (name == "--help" || name == "-h") {
            result.ShowHelp = true;
        } else if (name == "--paced" || name == "--quiet") {
            (name == "--paced" ? result.Options.Paced : result.Options.Quiet) = true;
            if (value) {
                parser.Fail(name + " takes no value");
            }
        } else if (name == "--exit-on-close") {
            auto ms = value ? WholeNumber(*value, 0, 600000) : std::optional<long>(2000);
            if (!ms) {
                parser.Fail("--exit-on-close wants 0 to 600000 ms");
            } else {
                result.Options.ExitOnCloseMs = static_cast<int>(*ms);
            }
        } else if (auto it = valued.find(name); it != valued.end()) {
            if (!value) {
                if (i + 1 >= args.size()) {
                    parser.Fail(name + " wants a value");
                    break;
                }
                value = args[++i];
            }
            if (!it->second(*value) && parser.Error.empty()) {
                parser.Fail(name + " wants a value");
            }
        } else {
            parser.Fail("unknown option \"" + name + "\" (see --help)");
        }
    }
    result.Error = parser.Error;
    return result;
}

} // namespace telmora::sim
