#include "sim_options.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <map>

namespace telmora::sim {

namespace {

constexpr double kMaxDistance = 9999.0; // inch; far beyond what five digits of counts can say

// Whole-text conversions: a command line is checked strictly, "12x" is an error.
std::optional<long> wholeNumber(const std::string& text, long min, long max) {
    long value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value < min || value > max) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> decimalNumber(const std::string& text, double min, double max) {
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
    SimOptions& o;
    std::string error;

    bool fail(const std::string& message) {
        if (error.empty()) {
            error = message;
        }
        return false;
    }

    bool distancePair(const std::string& name, const std::string& value, PatternKind kind) {
        auto colon = value.find(':');
        if (colon == std::string::npos) {
            return fail(name + " wants FROM:TO in inches, got \"" + value + "\"");
        }
        auto from = decimalNumber(value.substr(0, colon), 0.0, kMaxDistance);
        auto to = decimalNumber(value.substr(colon + 1), 0.0, kMaxDistance);
        if (!from || !to) {
            return fail(name + " wants two distances 0 to 9999 inches, got \"" + value + "\"");
        }
        o.pattern.kind = kind;
        o.pattern.from = *from;
        o.pattern.to = *to;
        return true;
    }

    bool registerArg(const std::string& fault, const std::string& arg, std::optional<int>& out) {
        auto n = wholeNumber(arg, 0, 255);
        if (!n) {
            return fail("--fault " + fault + " wants a register number 0 to 255");
        }
        out = static_cast<int>(*n);
        return true;
    }

    // PERCENT[,SEED]
    bool percentAndSeed(const std::string& fault, const std::string& arg, int& percent,
                        std::optional<std::uint32_t>& seed) {
        const auto comma = arg.find(',');
        auto p = wholeNumber(arg.substr(0, comma), 1, 100);
        auto s = comma == std::string::npos ? std::optional<long>(0)
                                            : wholeNumber(arg.substr(comma + 1), 0, 0xFFFFFFFFL);
        if (!p || !s) {
            return fail("--fault " + fault + " wants PERCENT[,SEED]: 1 to 100, a whole number");
        }
        percent = static_cast<int>(*p);
        if (comma != std::string::npos) {
            seed = static_cast<std::uint32_t>(*s);
        }
        return true;
    }

    bool fault(const std::string& text) {
        auto eq = text.find('=');
        std::string name = text.substr(0, eq);
        std::string arg = eq == std::string::npos ? "" : text.substr(eq + 1);
        static const std::set<std::string> known{
            "silent",       "no-ident", "stop-at", "late",       "garbage", "hangup-at",
            "hangup-after", "ignore-p", "stray",   "echo-burst", "damage"};
        if (!known.contains(name)) {
            return fail("unknown fault \"" + name + "\" (see --help)");
        }
        bool wantsArg = name != "silent" && name != "no-ident" && name != "garbage";
        if (wantsArg && eq == std::string::npos) {
            return fail("--fault " + name + " wants a value: " + name + "=N");
        }
        if ((name == "silent" || name == "no-ident") && eq != std::string::npos) {
            return fail("--fault " + name + " takes no value");
        }
        Faults& f = o.faults;
        if (name == "silent") {
            f.silent = true;
        } else if (name == "no-ident") {
            f.noIdent = true;
        } else if (name == "stop-at") {
            return registerArg(name, arg, f.stopAt);
        } else if (name == "hangup-at") {
            return registerArg(name, arg, f.hangupAt);
        } else if (name == "ignore-p") {
            std::optional<int> reg;
            if (!registerArg(name, arg, reg)) {
                return false;
            }
            f.ignoreP.insert(*reg);
        } else if (name == "late") {
            auto ms = wholeNumber(arg, 0, 60000);
            if (!ms) {
                return fail("--fault late wants milliseconds 0 to 60000");
            }
            f.lateMs = static_cast<int>(*ms);
        } else if (name == "garbage") {
            auto percent =
                eq == std::string::npos ? std::optional<long>(20) : wholeNumber(arg, 1, 100);
            if (!percent) {
                return fail("--fault garbage wants a percentage 1 to 100");
            }
            f.garbagePercent = static_cast<int>(*percent);
        } else if (name == "stray") {
            return percentAndSeed(name, arg, f.strayPercent, f.straySeed);
        } else if (name == "damage") {
            return percentAndSeed(name, arg, f.damagePercent, f.damageSeed);
        } else if (name == "echo-burst") {
            auto n = wholeNumber(arg, 1, 10);
            if (!n) {
                return fail("--fault echo-burst wants a number of echoes 1 to 10");
            }
            f.echoBurst = static_cast<int>(*n);
        } else if (name == "hangup-after") {
            auto n = wholeNumber(arg, 0, 1'000'000'000);
            if (!n) {
                return fail("--fault hangup-after wants a number of readings");
            }
            f.hangupAfter = *n;
        }
        return true;
    }

    // Options that take a value; each returns false with an error when the value is bad.
    std::map<std::string, std::function<bool(const std::string&)>> valued() {
        return {
            {"--family",
             [this](const std::string& v) {
                 if (v == "a" || v == "A") {
                     o.family = Family::A;
                 } else if (v == "b" || v == "B") {
                     o.family = Family::B;
                 } else {
                     return fail("--family wants a or b");
                 }
                 return true;
             }},
            {"--link", [this](const std::string& v) { return o.linkPath = v, !v.empty(); }},
            {"--config", [this](const std::string& v) { return o.configPath = v, !v.empty(); }},
            {"--log", [this](const std::string& v) { return o.logPath = v, !v.empty(); }},
            {"--record", [this](const std::string& v) { return o.recordPath = v, !v.empty(); }},
            {"--dump-image",
             [this](const std::string& v) { return o.dumpImagePath = v, !v.empty(); }},
            {"--rate",
             [this](const std::string& v) {
                 auto r = decimalNumber(v, 0.0, 10000.0);
                 return r ? (o.rate = *r, true) : fail("--rate wants 0 to 10000 per second");
             }},
            {"--count",
             [this](const std::string& v) {
                 auto n = wholeNumber(v, 0, 1'000'000'000);
                 return n ? (o.count = *n, true) : fail("--count wants a number of readings");
             }},
            {"--distance",
             [this](const std::string& v) {
                 auto d = decimalNumber(v, 0.0, kMaxDistance);
                 if (!d) {
                     return fail("--distance wants 0 to 9999 inches");
                 }
                 o.pattern.kind = PatternKind::Fixed;
                 o.pattern.from = o.pattern.to = *d;
                 return true;
             }},
            {"--ramp",
             [this](const std::string& v) { return distancePair("--ramp", v, PatternKind::Ramp); }},
            {"--sine",
             [this](const std::string& v) { return distancePair("--sine", v, PatternKind::Sine); }},
            {"--period",
             [this](const std::string& v) {
                 auto n = wholeNumber(v, 1, 1'000'000);
                 return n ? (o.pattern.period = *n, true)
                          : fail("--period wants 1 or more readings");
             }},
            {"--lost-every",
             [this](const std::string& v) {
                 auto n = wholeNumber(v, 0, 1'000'000);
                 return n ? (o.pattern.lostEvery = *n, true)
                          : fail("--lost-every wants a number of readings");
             }},
            {"--exchange-timeout",
             [this](const std::string& v) {
                 auto n = wholeNumber(v, 10, 60000);
                 return n ? (o.exchangeTimeoutMs = static_cast<int>(*n), true)
                          : fail("--exchange-timeout wants 10 to 60000 ms");
             }},
            {"--fault", [this](const std::string& v) { return fault(v); }},
            {"--seed",
             [this](const std::string& v) {
                 auto n = wholeNumber(v, 0, 0xFFFFFFFFL);
                 return n ? (o.seed = static_cast<std::uint32_t>(*n), true)
                          : fail("--seed wants a whole number");
             }},
        };
    }
};

} // namespace

ParsedOptions ParseOptions(std::span<const std::string> args) {
    ParsedOptions result;
    Parser parser{result.options, {}};
    auto valued = parser.valued();
    for (std::size_t i = 0; i < args.size() && parser.error.empty(); ++i) {
        std::string name = args[i];
        std::optional<std::string> value;
        if (auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
        }
        if (name == "--help" || name == "-h") {
            result.showHelp = true;
        } else if (name == "--paced" || name == "--quiet") {
            (name == "--paced" ? result.options.paced : result.options.quiet) = true;
            if (value) {
                parser.fail(name + " takes no value");
            }
        } else if (name == "--exit-on-close") {
            auto ms = value ? wholeNumber(*value, 0, 600000) : std::optional<long>(2000);
            if (!ms) {
                parser.fail("--exit-on-close wants 0 to 600000 ms");
            } else {
                result.options.exitOnCloseMs = static_cast<int>(*ms);
            }
        } else if (auto it = valued.find(name); it != valued.end()) {
            if (!value) {
                if (i + 1 >= args.size()) {
                    parser.fail(name + " wants a value");
                    break;
                }
                value = args[++i];
            }
            if (!it->second(*value) && parser.error.empty()) {
                parser.fail(name + " wants a value");
            }
        } else {
            parser.fail("unknown option \"" + name + "\" (see --help)");
        }
    }
    result.error = parser.error;
    return result;
}

} // namespace telmora::sim
