#include "device/control.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace sim {

namespace {

sockaddr_in loopbackAddress(const std::string& address, int port) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<std::uint16_t>(port));
    if (inet_pton(AF_INET, address.c_str(), &sa.sin_addr) != 1)
        throw std::runtime_error("bad address " + address);
    return sa;
}

Oid needOid(const std::string& text) {
    auto oid = parseOid(text);
    if (!oid)
        throw std::runtime_error("bad OID " + text);
    return *oid;
}

int needInt(const std::string& text) {
    std::size_t used = 0;
    int v = std::stoi(text, &used);
    if (used != text.size())
        throw std::runtime_error("bad number " + text);
    return v;
}

Fault::Ops needOps(const std::vector<std::string>& t, std::size_t at) {
    if (t.size() <= at || t[at] == "any")
        return Fault::Ops::Any;
    if (t[at] == "get")
        return Fault::Ops::Get;
    if (t[at] == "set")
        return Fault::Ops::Set;
    throw std::runtime_error("expected get, set or any");
}

std::string valueJson(const Value& v) {
    return Journal::quote(valueText(v));
}

} // namespace

ControlServer::ControlServer(Device& device) : device_(device) {}

ControlServer::~ControlServer() {
    for (const auto& [fd, buffer] : clients_)
        ::close(fd);
    if (listenFd_ >= 0)
        ::close(listenFd_);
}

void ControlServer::listen(const std::string& address, int port) {
    auto sa = loopbackAddress(address, port);
    listenFd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0)
        throw std::runtime_error(std::string("control socket: ") + std::strerror(errno));
    int one = 1;
    setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (bind(listenFd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 ||
        ::listen(listenFd_, 8) != 0) {
        const std::string reason = std::strerror(errno);
        close();
        throw std::runtime_error("cannot listen for control on " + address + ":" +
                                 std::to_string(port) + ": " + reason);
    }
    sockaddr_in bound{};
    socklen_t length = sizeof bound;
    if (getsockname(listenFd_, reinterpret_cast<sockaddr*>(&bound), &length) != 0)
        throw std::runtime_error(std::string("control socket: ") + std::strerror(errno));
    port_ = ntohs(bound.sin_port);
}

void ControlServer::close() {
    if (listenFd_ >= 0)
        ::close(listenFd_);
    listenFd_ = -1;
    port_ = 0;
}

void ControlServer::addDescriptors(fd_set& fds, int& count) {
    if (listenFd_ < 0)
        return;
    FD_SET(listenFd_, &fds);
    count = std::max(count, listenFd_ + 1);
    for (const auto& [fd, buffer] : clients_) {
        FD_SET(fd, &fds);
        count = std::max(count, fd + 1);
    }
}

void ControlServer::serve(const fd_set& ready) {
    if (listenFd_ < 0)
        return;
    if (FD_ISSET(listenFd_, &ready)) {
        int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd >= 0)
            clients_[fd];
    }
    for (auto it = clients_.begin(); it != clients_.end();) {
        int fd = it->first;
        if (!FD_ISSET(fd, &ready)) {
            ++it;
            continue;
        }
        char buf[4096];
        ssize_t n = read(fd, buf, sizeof buf);
        if (n <= 0) {
            ::close(fd);
            it = clients_.erase(it);
            continue;
        }
        it->second.append(buf, static_cast<std::size_t>(n));
        for (auto nl = it->second.find('\n'); nl != std::string::npos; nl = it->second.find('\n')) {
            std::string line = it->second.substr(0, nl);
            it->second.erase(0, nl + 1);
            std::string reply = execute(line) + "\n";
            // Replies are short; the peer reads them before sending the next command.
            if (write(fd, reply.data(), reply.size()) < 0)
                break;
        }
        ++it;
    }
}

std::string ControlServer::execute(const std::string& rawLine) {
    std::string line = rawLine;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
        line.pop_back();
    try {
        auto t = tokenize(line);
        if (t.empty())
            return "error empty command";
        const auto& cmd = t[0];
        auto need = [&](std::size_t n) {
            if (t.size() < n)
                throw std::runtime_error("too few arguments for " + cmd);
        };
        if (cmd == "ping")
            return "ok pong";
        if (cmd == "get") {
            need(2);
            Object* o = device_.store().find(needOid(t[1]));
            if (!o)
                return "error no such object " + t[1];
            std::string json = "{\"syntax\":" + Journal::quote(syntaxName(o->syntax)) +
                               ",\"value\":" + valueJson(device_.read(*o)) +
                               ",\"active\":" + valueJson(o->active);
            if (o->pending)
                json += ",\"pending\":" + valueJson(*o->pending);
            return "ok " + json + "}";
        }
        if (cmd == "set") {
            need(3);
            Object* o = device_.store().find(needOid(t[1]));
            if (!o)
                return "error no such object " + t[1];
            auto v = parseValue(o->syntax, t[2]);
            if (!v)
                return "error value does not fit " + std::string(syntaxName(o->syntax));
            o->active = *v;
            o->pending.reset();
            return "ok";
        }
        if (cmd == "define") {
            need(5);
            ProfileContext context{device_.settings().listenAddress};
            defineObject(line.substr(line.find("define") + 6), context, device_.store());
            return "ok";
        }
        if (cmd == "remove") {
            need(2);
            return device_.store().remove(needOid(t[1])) ? "ok" : "error no such object " + t[1];
        }
        if (cmd == "error" || cmd == "delay" || cmd == "silence") {
            need(cmd == "silence" ? 2 : 3);
            Fault f;
            f.prefix = needOid(t[1]);
            if (cmd == "error") {
                f.kind = Fault::Kind::Error;
                f.status = needInt(t[2]);
                if (f.status <= 0)
                    return "error the status must be a positive error status";
            } else if (cmd == "delay") {
                f.kind = Fault::Kind::Delay;
                f.delayMs = needInt(t[2]);
                if (f.delayMs <= 0)
                    return "error the delay must be positive";
            } else {
                f.kind = Fault::Kind::Silence;
            }
            f.ops = needOps(t, cmd == "silence" ? 2 : 3);
            device_.addFault(f);
            return "ok";
        }
        if (cmd == "clear") {
            Oid prefix = t.size() > 1 ? needOid(t[1]) : Oid{};
            return "ok " + std::to_string(device_.clearFaults(prefix));
        }
        if (cmd == "silent") {
            need(2);
            double seconds = std::stod(t[1]);
            if (!(seconds > 0))
                return "error the time must be positive";
            device_.silence(static_cast<int>(seconds * 1000));
            return "ok";
        }
        if (cmd == "restart" || cmd == "factory-reset") {
            device_.restart(cmd == "factory-reset");
            return "ok";
        }
        if (cmd == "journal-clear") {
            device_.journal().clear();
            return "ok";
        }
        if (cmd == "quit") {
            quit_ = true;
            return "ok";
        }
        return "error unknown command " + cmd;
    } catch (const std::exception& e) {
        return std::string("error ") + e.what();
    }
}

int controlClient(const std::string& endpoint, const std::string& command) {
    auto colon = endpoint.rfind(':');
    if (colon == std::string::npos) {
        std::fprintf(stderr, "kw9100-sim: --control needs ADDRESS:PORT\n");
        return 1;
    }
    try {
        auto sa = loopbackAddress(endpoint.substr(0, colon), std::stoi(endpoint.substr(colon + 1)));
        int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0 || connect(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
            std::fprintf(stderr, "kw9100-sim: cannot reach %s: %s\n", endpoint.c_str(),
                         std::strerror(errno));
            if (fd >= 0)
                ::close(fd);
            return 1;
        }
        std::string line = command + "\n";
        std::string reply;
        if (write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size())) {
            char c;
            while (read(fd, &c, 1) == 1 && c != '\n')
                reply += c;
        }
        ::close(fd);
        std::printf("%s\n", reply.c_str());
        return reply.starts_with("ok") ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kw9100-sim: %s\n", e.what());
        return 1;
    }
}

} // namespace sim
