#pragma once

#include <string>

namespace telmora::sim {

// Tells whether another process holds the terminal open. The kernel reports every open
// and close of the device (inotify); each report prompts a count of the processes that
// have it open, which is what decides.
class PeerWatch {
  public:
    explicit PeerWatch(std::string devicePath);
    PeerWatch(const PeerWatch&) = delete;
    PeerWatch& operator=(const PeerWatch&) = delete;
    ~PeerWatch();

    // Readable when an open or close has happened; -1 if the kernel cannot report them,
    // in which case the caller polls Present() now and then.
    int Fd() const { return notify_; }

    // Takes the pending reports and counts again.
    bool Refresh();
    bool Present() const { return present_; }

  private:
    bool CountOthers() const;

    std::string path_;
    int notify_ = -1;
    bool present_ = false;
};

} // namespace telmora::sim
