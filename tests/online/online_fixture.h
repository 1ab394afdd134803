// Servers the online tests talk to, each started by the test on a free loopback port: the
// library server, a local FTP server and a misbehaving HTTP server.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace kxtest {

/// A child process whose first output lines the test reads; ended (TERM, then KILL) on
/// destruction. Its standard input stays open until then.
class TChildProcess {
public:
    explicit TChildProcess(const std::vector<std::string>& argv);
    ~TChildProcess();
    TChildProcess(const TChildProcess&) = delete;
    TChildProcess& operator=(const TChildProcess&) = delete;
    /// The next line of its output, or empty after timeoutMs.
    std::string ReadLine(int timeoutMs = 10000);

private:
    pid_t m_pid = -1;
    int m_out = -1;
    int m_in = -1;
    std::string m_buffer;
};

/// kxserver over dataDir on 127.0.0.1 and a free port.
class TLibraryServerProcess {
public:
    explicit TLibraryServerProcess(const std::filesystem::path& dataDir,
                                   const std::string& passPhraseFile = "");
    const std::string& BaseUrl() const { return m_baseUrl; }

private:
    std::unique_ptr<TChildProcess> m_process;
    std::string m_baseUrl;
};

/// A local FTP server with one account over root.
class TFtpServerProcess {
public:
    TFtpServerProcess(const std::filesystem::path& root, const std::string& user,
                      const std::string& password);
    /// host:port
    const std::string& Server() const { return m_server; }

private:
    std::unique_ptr<TChildProcess> m_process;
    std::string m_server;
};

/// A loopback HTTP server that answers every request with the raw bytes it is given, or those
/// given for its target ("/phpdir.php?dir=def"); with silent, it accepts and never answers.
/// Serves until destroyed.
class THostileServer {
public:
    explicit THostileServer(std::string rawReply, bool silent = false,
                            std::map<std::string, std::string> byTarget = {});
    ~THostileServer();
    THostileServer(const THostileServer&) = delete;
    THostileServer& operator=(const THostileServer&) = delete;
    std::string BaseUrl() const { return "http://127.0.0.1:" + std::to_string(m_port); }
    int Requests() const { return m_requests; }

private:
    int m_listen = -1;
    int m_port = 0;
    std::string m_reply;
    bool m_silent;
    std::map<std::string, std::string> m_byTarget;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_requests{0};
    std::thread m_thread;
};

/// Sends "GET target" exactly as written (no clean-up of dot segments) to a loopback base URL
/// and returns the whole reply.
std::string RawGet(const std::string& baseUrl, const std::string& target);

/// An HTTP reply with the given status and body; contentLength < 0: the body's length.
std::string RawReply(int status, const std::string& body, long contentLength = -1);

}  // namespace kxtest
