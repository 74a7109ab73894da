#pragma once
// The control channel: a line-oriented text protocol over TCP on the loopback address, by default
// on the same port number as the agent's UDP port. One command per line, one reply line each,
// "ok ..." or "error ...". From a shell:
//
//   kw9100-sim --control 127.0.0.1:PORT silent 5
//   exec 3<>/dev/tcp/127.0.0.1/PORT; echo "get devMib.5.1.0" >&3; read -r reply <&3
//
// Commands (OIDs as in profiles; values with blanks in "double quotes"):
//   ping                                  ok pong
//   get OID                               ok {"syntax":..,"value":..,"active":..[,"pending":..]}
//   set OID VALUE                         the device's value becomes VALUE (no pending state)
//   define OID SYNTAX ACCESS VALUE [OPT]  add or replace an object, as a profile line
//   remove OID                            drop an object instance
//   error PREFIX STATUS [get|set|any]     answer requests for objects under PREFIX with the
//                                         PDU error status STATUS (a number, e.g. 5 or 19)
//   delay PREFIX MS [get|set|any]         answer them MS milliseconds later
//   silence PREFIX [get|set|any]          never answer requests that touch PREFIX
//   clear [PREFIX]                        remove injected faults (under PREFIX, or all)
//   silent SECONDS                        answer nothing for SECONDS (fractions allowed)
//   restart | factory-reset               as the device's own commands
//   journal-clear                         empty the journal file
//   quit                                  stop the simulator
#include "device/agent.h"
#include "device/device.h"

#include <map>
#include <string>

namespace sim {

class ControlServer : public LoopClient {
public:
    explicit ControlServer(Device& device);
    ~ControlServer() override;
    ControlServer(const ControlServer&) = delete;
    ControlServer& operator=(const ControlServer&) = delete;

    // Listens on `port` (0: one the system chooses, see port()). Throws std::runtime_error when
    // the port is taken.
    void listen(const std::string& address, int port);
    int port() const { return port_; }
    // Stops listening (clients already connected stay).
    void close();
    std::string execute(const std::string& line);

    void addDescriptors(fd_set& fds, int& count) override;
    void serve(const fd_set& ready) override;
    bool quitRequested() const override { return quit_; }

private:
    Device& device_;
    int listenFd_ = -1;
    int port_ = 0;
    std::map<int, std::string> clients_; // descriptor -> unfinished input
    bool quit_ = false;
};

// Client side for shells and scripts: sends one command to ADDRESS:PORT and prints the reply.
// Returns 0 for an "ok" reply, 1 for an error reply or no connection.
int controlClient(const std::string& endpoint, const std::string& command);

} // namespace sim
