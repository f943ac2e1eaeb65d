#pragma once

#include <string>

namespace telmora::sim {

// The pseudo-terminal the simulated sensor sits behind. It is made raw from the start,
// so every byte value passes both ways unchanged and nothing is echoed, even before the
// program opens the other end. The simulator keeps the other end open too: without that
// handle, reads on its side fail as soon as the program closes the port.
class SimTerminal {
  public:
    SimTerminal() = default;
    SimTerminal(const SimTerminal&) = delete;
    SimTerminal& operator=(const SimTerminal&) = delete;
    ~SimTerminal();

    // Returns an error text, empty on success.
    std::string Open();

    // Points linkPath at the terminal, replacing an older link there but nothing else.
    std::string MakeLink(const std::string& linkPath);

    // Hangs up: the program's end sees the line drop. Removes the link.
    void Close();

    // Throws away what the program's end has not read yet.
    void DiscardUnread();
    // How many bytes wait for the program to read them.
    int Unread() const;

    int SensorFd() const { return master_; }
    const std::string& Path() const { return path_; }

  private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
    std::string link_;
};

} // namespace telmora::sim
