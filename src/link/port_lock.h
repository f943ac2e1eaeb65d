#pragma once

#include <string>
#include <vector>

// The lock files serial programs on this system share: "LCK..<device>" in the lock folder,
// holding the holder's process number, its program name and its host, one a line. The
// window's serial port writes and honours them itself; kelvo takes them through PortLock,
// so each refuses a port the other holds and names who holds it.
namespace telmora {

// The lock file's path for `device`: the device's path below /dev (or its whole path)
// with every "/" made "_", in the first lock folder present ("/var/lock", "/run/lock").
// Empty when there is no lock folder.
std::string PortLockPath(const std::string& device);

struct PortHolder {
    long Pid = 0;        // 0: nobody holds the port
    std::string Program; // from /proc/PID/comm, else the name in the lock file
};

// The device `device` leads to once every symbolic link on the way is followed (a
// /dev/serial/by-id name leads to its /dev/ttyUSBn); `device` itself when it is no link.
std::string ResolvedDevice(const std::string& device);

// Who holds `device`, under its own name or the name of the device it leads to, other than
// this process. A lock left by a process that has ended is removed on the way.
PortHolder FindPortHolder(const std::string& device);

// "kelvo, process 1234".
std::string HolderText(const PortHolder& holder);

// This process's lock on one device, released when destroyed.
class PortLock {
  public:
    PortLock() = default;
    PortLock(const PortLock&) = delete;
    PortLock& operator=(const PortLock&) = delete;
    ~PortLock() { Release(); }

    // Takes the locks of `device` under its own name and, when it is a link, under the
    // name of the device it leads to, so programs that name one port two ways still see
    // each other. Refused (false) while another live process holds either, with `holder`
    // naming it; a lock folder this process may not write to takes no lock and is no
    // refusal (the exclusive open still keeps others out).
    bool Acquire(const std::string& device, PortHolder& holder);
    // Only the lock under the resolved name, and only when `device` is a link: for a
    // serial port that takes the lock under the name it was given itself.
    bool AcquireResolvedName(const std::string& device, PortHolder& holder);
    void Release();

  private:
    bool AcquireName(const std::string& name, PortHolder& holder);

    std::vector<std::string> paths_;
};

} // namespace telmora
