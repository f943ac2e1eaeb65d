#pragma once

// kelvo's exit status, one value per kind of failure so scripts can tell them apart.
namespace telmora::kelvo {

enum ExitCode : int {
    kExitOk = 0,
    kExitUsage = 1,         // the command line was not understood
    kExitNoSensor = 2,      // "No Sensor Found"
    kExitWrongFamily = 3,   // "Wrong Sensor Type, Check settings and try again"
    kExitVerifyFailed = 4,  // the configuration read back differs from what was written
    kExitTimeout = 5,       // the sensor stopped answering during a read or write, or
                            // answered one register damaged on every try
    kExitFile = 6,          // a configuration file could not be read or written
    kExitPort = 7,          // the port could not be opened, or failed while in use
    kExitDiffer = 8,        // diff: the two configurations differ
    kExitInterrupted = 130, // Ctrl-C or SIGTERM during an exchange with the sensor
};

} // namespace telmora::kelvo
