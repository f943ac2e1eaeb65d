#include "sim_options.h"

namespace telmora::sim {

std::string HelpText() {
    return R"(Usage: kelvo-sim [OPTIONS]

Plays a Kelvo-A or Kelvo-B ultrasonic sensor on a new pseudo-terminal. The first line
on standard output is the path of the terminal to open (for example /dev/pts/7); open
it at 9600 baud, 8 data bits. The sensor streams readings while the other end is open
and answers the configuration frames (detection, "T00", "G", "P", "E").

Sensor:
  --family a|b             sensor family (default b)
  --config FILE            register image from a 256-byte configuration file
                           (elements 0 to 127, 16-bit little-endian); default: the
                           family's factory configuration
  --link PATH              also make PATH a symbolic link to the terminal (removed on exit)

Readings (a carriage return, then five digits of counts):
  --rate HZ                readings per second (default 20; 0 as fast as the line takes)
  --distance INCH          target at a fixed distance (default 24)
  --ramp FROM:TO           target moves from FROM to TO inches, then jumps back
  --sine FROM:TO           target swings between FROM and TO inches
  --period N               readings per ramp or sine cycle (default 100)
  --lost-every N           every Nth reading is a lost echo "00000" (default never)
  --count N                stop streaming after N readings
  --paced                  the line runs at 9600 baud, 10 bits per character, both ways:
                           readings and replies arrive one character time apart, and a
                           frame from the program counts as arrived only when its last
                           character would have (default: memory speed)
  Distances become counts with the sensor's own count distance (0.003384 inch, or
  0.006768 inch when its image selects the long range), rounded, 0 to 99999.

Configuration exchange:
  --exchange-timeout MS    a pause this long ends an exchange that got no "E"
                           (default 1000); no readings are sent during an exchange

Records for checking a run:
  --log FILE               log what was sent and received to FILE (default stderr)
  --quiet                  no log
  --record FILE            write every byte received from the program to FILE
  --dump-image FILE        write the register image after each "E" and on exit
                           (256 bytes, the configuration file's format)

Faults (--fault NAME[=ARG], may be repeated):
  silent                   no replies and no readings
  no-ident                 never answers "T00" (a family B sensor that looks like A)
  stop-at=N                no reply from the frame for register N until the exchange ends
  late=MS                  every reply leaves MS milliseconds late
  garbage[=PERCENT]        1 to 3 random bytes before that share of readings and replies
                           (default 20; --seed N makes them repeatable, default 1)
  stray=PERCENT[,SEED]     one random byte, never a carriage return, before that share
                           of replies (echoes, "T00", "G", "P"); readings are spared
                           (SEED default: --seed)
  damage=PERCENT[,SEED]    a wrong checksum in that share of "G" and "P" replies
                           (SEED default: --seed)
  echo-burst=N             holds the echoes of the first N detection frames of each
                           exchange and sends them together, as a slow adapter does
  hangup-at=N              closes the terminal on a frame for register N and exits
  hangup-after=N           closes the terminal after N readings and exits
  ignore-p=N               acknowledges "P" for register N but keeps the old value

Ending:
  --exit-on-close[=MS]     exit once the other end has been closed for MS milliseconds
                           (default 2000); without it the simulator runs until
                           SIGTERM or SIGINT
  --help                   this text

Exit status: 0 after a signal, a hang-up fault or --exit-on-close; 2 for a bad command
line or configuration file; 1 when the terminal cannot be made.
)";
}

} // namespace telmora::sim
