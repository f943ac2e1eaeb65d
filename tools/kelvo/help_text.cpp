#include "help_text.h"

namespace telmora::kelvo {

namespace {

constexpr const char* kExitCodes = R"(
Exit status:
  0    success
  1    the command line was not understood
  2    No Sensor Found: nothing echoed the detection frame
  3    Wrong Sensor Type: the sensor is not of the family --family names
  4    the configuration read back differs from what was written
  5    the sensor stopped answering during a read or write, or its replies to one
       register came damaged three times
  6    a configuration file or report could not be read or written
  7    the port could not be opened, or hung up or failed while in use
  8    diff: the two configurations differ
  130  interrupted (Ctrl-C or SIGTERM) during an exchange with the sensor
Errors are reported as one line on standard error.
)";

constexpr const char* kGeneral = R"(Usage: kelvo COMMAND [OPTIONS]

Configures and watches Kelvo-A and Kelvo-B ultrasonic sensors on a serial line at 9600
baud, as the Telmora window does, from scripts and production benches.

Commands:
  detect    find the sensor on a port and tell its family
  read      read the sensor's configuration into a configuration file
  write     write a configuration file into the sensor and check it
  show      print what a configuration file holds
  diff      compare two configuration files, or a sensor with a file
  monitor   print the sensor's distance readings as they arrive
  report    write a commissioning report of a configuration as an HTML page

"kelvo COMMAND --help" describes a command; "kelvo --version" prints the version.
DEVICE is the serial device the sensor is wired to (for example /dev/ttyUSB0).
)";

constexpr const char* kDetect = R"(Usage: kelvo detect --port DEVICE

Runs the detection sequence: sends the detection frame once every 100 ms, up to ten
times, until the sensor echoes it, then asks for its identification. Prints "Kelvo-A"
or "Kelvo-B" and ends the exchange with the end command. Takes about 0.2 s with a
sensor, 1.1 s without.

Options:
  --port DEVICE   serial device of the sensor
  --help          this text
)";

constexpr const char* kRead = R"(Usage: kelvo read --port DEVICE -o FILE

Detects the sensor, reads every configuration register of its family (90 registers of
a Kelvo-B, 61 of a Kelvo-A, about 1.2 s), ends the exchange and saves the configuration
to FILE. The file is the one Telmora writes when, right after it starts, you choose
"Get Configuration From Sensor" and then "&Save Configuration to Disk": 256 bytes, the
configuration as the window shows it (distances to two decimals, analog outputs to one
decimal within the output scale). A Kelvo-A file carries Telmora's start-up (Kelvo-B
factory) values for the switch 3 and 4, mode and hysteresis settings. The file is
replaced atomically: a failed save leaves an earlier file as it was.

Options:
  --port DEVICE       serial device of the sensor
  -o, --output FILE   configuration file to write (".cfg" by convention)
  --help              this text
)";

constexpr const char* kWrite = R"(Usage: kelvo write --port DEVICE FILE [--family a|b] [--no-verify]

Loads FILE as Telmora's "Get Configuration From Disk" does, detects the sensor and
writes the configuration with the detected family's layout, as "Save Configuration To
Sensor" does (87 registers of a Kelvo-B, 58 of a Kelvo-A), then ends the exchange.
Afterwards it detects the sensor again, reads its configuration back and compares it,
register by register, with what was written; the registers that differ are listed.

Options:
  --port DEVICE    serial device of the sensor
  --family a|b     the family the configuration is meant for; a sensor of the other
                   family is refused before anything is written ("Wrong Sensor Type,
                   Check settings and try again")
  --no-verify      skip the read-back
  --help           this text
)";

constexpr const char* kShow = R"(Usage: kelvo show FILE [--json]

Prints the configuration a configuration file holds, decoded as Telmora decodes a file
(Kelvo-B layout), one field a line with its unit; codes are followed by their meaning.
With --json, prints one JSON object whose keys are the configuration record's field
names (distances in inches, Interval in seconds, outputs in volts or milliamperes).

Options:
  --json   JSON instead of text
  --help   this text
)";

constexpr const char* kDiff = R"(Usage: kelvo diff FILE1 FILE2 [--json]
       kelvo diff --port DEVICE FILE [--json]

Compares two configurations field by field and marks each field that differs with "*",
then counts the differences. Each side is taken as what Telmora would write to a sensor
after loading the file, or after reading the sensor (a normal read: detection, the
registers, the end command), so a value the window cannot tell apart is no difference.
Two files are compared as a Kelvo-B holds them; a sensor and a file over the fields
the sensor's family holds. Exits with 0 when equal, 8 when they differ.

Options:
  --port DEVICE   compare the sensor on DEVICE with FILE
  --json          one JSON object: the sides, the count of differences and every field
                  with its unit, both values and whether they differ
  --help          this text
)";

constexpr const char* kMonitor = R"(Usage: kelvo monitor --port DEVICE [--csv] [--count N]

Prints each distance reading the sensor streams, as it arrives: the local time to the
millisecond and the distance in inches with two decimals, or "Lost" for a lost echo.
Readings are converted with 0.003384 inch per count, as the window does after start-up
(a sensor set to long range counts in steps of 0.006768 inch). Runs until interrupted
(Ctrl-C ends it cleanly with status 0) or until N readings have been printed.

Options:
  --port DEVICE   serial device of the sensor
  --csv           comma-separated lines under the header "time,inches"
  --count N       stop after N readings
  --help          this text
)";

constexpr const char* kReport = R"(Usage: kelvo report FILE -o REPORT.html
       kelvo report [FILE] --port DEVICE -o REPORT.html

Writes a commissioning report as one self-contained HTML page (its style and drawings
inline): the program, the local date and time, the sensor family, the port, the
configuration file and the description; every parameter the family holds, named as the
window names it, with its value and unit; the switches and the analog output drawn on
the range's axis. kelvo takes no readings, so the statistics and strip chart sections
say that none were taken. The configuration comes from FILE, decoded as a Kelvo-B holds
it, or with --port from the sensor, read as "Get Configuration From Sensor" reads it
right after Telmora starts; a FILE given with --port is named in the heading with
whether the sensor holds the same, compared as "kelvo diff --port" compares. The window's
"Commissioning Report..." writes the same content as a PDF, with its readings.

Options:
  --port DEVICE       report the sensor on DEVICE (and check it against FILE, if given)
  -o, --output FILE   the HTML page to write (an earlier one is replaced whole)
  --help              this text
)";

} // namespace

std::string HelpText(Command command) {
    const char* body = kGeneral;
    switch (command) {
    case Command::Detect:
        body = kDetect;
        break;
    case Command::Read:
        body = kRead;
        break;
    case Command::Write:
        body = kWrite;
        break;
    case Command::Show:
        body = kShow;
        break;
    case Command::Monitor:
        body = kMonitor;
        break;
    case Command::Diff:
        body = kDiff;
        break;
    case Command::Report:
        body = kReport;
        break;
    case Command::None:
        break;
    }
    return std::string(body) + kExitCodes;
}

} // namespace telmora::kelvo
