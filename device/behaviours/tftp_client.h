#pragma once
// The device's file-transfer client: libcurl on a worker thread, so that the agent keeps serving
// every other request while a file moves. Used by the behaviours that fetch files from the
// manager's TFTP server or an FTP server, and by those that upload a file on command (the system
// log, lists the manager asks for).
#include "device/device.h"

#include <atomic>
#include <curl/curl.h>
#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace sim {

// One file moved by libcurl on a worker thread. The agent's loop polls `done`.
struct Job {
    std::string url;
    std::string userPassword; // FTP: "user:password"
    std::string source;       // local address the transfer goes out from
    bool upload = false;
    bool tftp = false;
    std::string data; // what is uploaded, or what arrived
    std::size_t sent = 0;
    std::atomic<bool> done{false};
    std::atomic<bool> abort{false};
    CURLcode code = CURLE_OK;
    std::string error;
    std::thread worker;

    ~Job() {
        abort = true;
        if (worker.joinable())
            worker.join();
    }
};

// libcurl's global set-up, done once; false when it failed (no transfers then).
bool curlReady();

// A file name as it goes into a URL.
std::string escaped(const std::string& name);

// Runs `job` on a worker thread and `then` on the agent's loop once it has ended.
void launch(Device& d, std::shared_ptr<Job> job, std::function<void(Job&)> then);

// A TFTP job with the manager's server at `server` (the port of --tftp-port) for `name`, going
// out from the device's own address.
std::shared_ptr<Job> tftpJob(Device& d, const std::string& server, const std::string& name);

// The journal line of a finished transfer.
void journalTransfer(Device& d, const char* protocol, const char* op, const std::string& name,
                     const Job& job);

// Uploads `data` as `name` to the manager's TFTP server at `server`; `then` runs on the agent's
// loop when the transfer has ended (journalled as a "put").
void tftpUpload(Device& d, const std::string& server, const std::string& name, std::string data,
                std::function<void(Job&)> then = {});

// A file the device uploads when a command object is written: the manager names its TFTP server
// and the file (in the same SET or before), then writes `command` = `value`. The SET is answered
// at once and the command object reads back its resting value; the upload follows `delayMs`
// later, with the bytes `content` gives at that moment.
struct UploadOnCommand {
    Oid server;
    Oid fileName;
    Oid command;
    std::int64_t value = 1;
    int delayMs = 200;
    std::function<std::string(Device&)> content;
};
void uploadOnCommand(Device& d, UploadOnCommand upload);

} // namespace sim
