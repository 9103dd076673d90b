// A one-connection HTTP server on 127.0.0.1 for the download tests, run on a
// thread of the test. It reads the request up to its empty line, then plays a
// script of writes and pauses and ends the connection in order or with a
// reset. Every wait is bounded, so a broken client fails a test instead of
// hanging it.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace nettest {

struct ReplyStep {
    std::string bytes;  // sent whole, or
    int pauseMs = 0;    // a pause before the next step
};

inline ReplyStep Send(std::string bytes) {
    return ReplyStep{std::move(bytes), 0};
}
inline ReplyStep Pause(int ms) {
    return ReplyStep{std::string(), ms};
}

enum class Ending { Close, Reset };

// A socket bound to a free loopback port; it listens only when asked, so an
// unlistened one stands for a closed port that nobody else can take meanwhile.
class LoopbackPort {
  public:
    LoopbackPort() {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
            return;
        socklen_t length = sizeof address;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
    }
    ~LoopbackPort() {
        if (fd_ >= 0) ::close(fd_);
    }
    LoopbackPort(const LoopbackPort&) = delete;
    LoopbackPort& operator=(const LoopbackPort&) = delete;
    bool Listen() { return fd_ >= 0 && ::listen(fd_, 4) == 0; }
    int fd() const { return fd_; }
    int port() const { return port_; }

  private:
    int fd_ = -1;
    int port_ = 0;
};

class LoopbackServer {
  public:
    LoopbackServer(std::vector<ReplyStep> script, Ending ending = Ending::Close)
        : script_(std::move(script)), ending_(ending) {
        listening_ = port_.Listen();
        if (listening_) thread_ = std::thread([this] { Run(); });
    }
    ~LoopbackServer() {
        if (thread_.joinable()) thread_.join();
    }
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int port() const { return port_.port(); }
    bool listening() const { return listening_; }
    // Valid once Finish has returned.
    const std::string& request() const { return request_; }
    bool served() const { return served_; }
    void Finish() {
        if (thread_.joinable()) thread_.join();
    }

  private:
    static constexpr int kWaitMs = 10000;

    static bool WaitReadable(int fd) {
        pollfd entry{fd, POLLIN, 0};
        return ::poll(&entry, 1, kWaitMs) == 1;
    }

    void Run() {
        if (!WaitReadable(port_.fd())) return;
        const int connection = ::accept4(port_.fd(), nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) return;
        const int on = 1;
        ::setsockopt(connection, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        ReadRequest(connection);
        for (const ReplyStep& step : script_) {
            if (step.pauseMs > 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(step.pauseMs));
            size_t done = 0;
            while (done < step.bytes.size()) {
                const ssize_t put = ::send(connection, step.bytes.data() + done,
                                           step.bytes.size() - done, MSG_NOSIGNAL);
                if (put <= 0) break;
                done += static_cast<size_t>(put);
            }
        }
        if (ending_ == Ending::Reset) {
            const linger abort{1, 0};
            ::setsockopt(connection, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
        } else {
            ::shutdown(connection, SHUT_WR);
        }
        ::close(connection);
        served_ = true;
    }

    void ReadRequest(int connection) {
        char buffer[1024];
        while (request_.find("\r\n\r\n") == std::string::npos && request_.size() < 65536) {
            if (!WaitReadable(connection)) return;
            const ssize_t got = ::recv(connection, buffer, sizeof buffer, 0);
            if (got <= 0) return;
            request_.append(buffer, static_cast<size_t>(got));
        }
    }

    LoopbackPort port_;
    std::vector<ReplyStep> script_;
    Ending ending_;
    bool listening_ = false;
    bool served_ = false;
    std::string request_;
    std::thread thread_;
};

// A fresh folder under the test's temporary folder, removed afterwards.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "net-test-XXXXXX").string();
        if (::mkdtemp(pattern.data())) path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

inline bool Exists(const std::string& path) {
    return std::filesystem::exists(path);
}

inline std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Every byte value, line feeds and carriage returns included, in a pattern
// that does not repeat within a chunk.
inline std::string BinaryBody(size_t size) {
    std::string body(size, '\0');
    uint32_t state = 12345;
    for (size_t i = 0; i < size; ++i) {
        state = state * 1103515245u + 12345u;
        body[i] = static_cast<char>(i < 256 ? i : state >> 24);
    }
    return body;
}

}  // namespace nettest
