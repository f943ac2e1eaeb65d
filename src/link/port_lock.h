#pragma once

#include <string>

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
    long pid = 0;        // 0: nobody holds the port
    std::string program; // from /proc/PID/comm, else the name in the lock file
};

// Who holds `device`, other than this process. A lock left by a process that has ended
// is removed on the way.
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

    // Takes the lock of `device`. Refused (false) while another live process holds it,
    // with `holder` naming it; a lock folder this process may not write to takes no lock
    // and is no refusal (the exclusive open still keeps others out).
    bool Acquire(const std::string& device, PortHolder& holder);
    void Release();

  private:
    std::string path_;
};

} // namespace telmora
