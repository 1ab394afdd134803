// Servers the online tests talk to, each started by the test on a free loopback port: the
// library server, a local FTP server and a misbehaving HTTP server.
#include "online_fixture.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

extern char** environ;

namespace kxtest {

TChildProcess::TChildProcess(const std::vector<std::string>& argv) {
    int out[2];
    int in[2];
    if (pipe(out) != 0 || pipe(in) != 0) {
        throw std::runtime_error("pipe");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, in[1]);
    std::vector<char*> args;
    for (const auto& a : argv) {
        args.push_back(const_cast<char*>(a.c_str()));
    }
    args.push_back(nullptr);
    const int rc = posix_spawn(&m_pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(in[0]);
    m_out = out[0];
    m_in = in[1];
    if (rc != 0) {
        m_pid = -1;
        throw std::runtime_error("cannot start " + argv[0]);
    }
}

TChildProcess::~TChildProcess() {
    if (m_in >= 0) {
        close(m_in);
    }
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        int status = 0;
        for (int i = 0; i < 100 && waitpid(m_pid, &status, WNOHANG) == 0; ++i) {
            usleep(20000);
            if (i == 99) {
                kill(m_pid, SIGKILL);
                waitpid(m_pid, &status, 0);
            }
        }
    }
    if (m_out >= 0) {
        close(m_out);
    }
}

std::string TChildProcess::ReadLine(int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (m_buffer.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        pollfd p{m_out, POLLIN, 0};
        if (left <= 0 || poll(&p, 1, static_cast<int>(left)) <= 0) {
            return {};
        }
        char chunk[512];
        const ssize_t n = read(m_out, chunk, sizeof chunk);
        if (n <= 0) {
            return {};
        }
        m_buffer.append(chunk, static_cast<size_t>(n));
    }
    const size_t eol = m_buffer.find('\n');
    std::string line = m_buffer.substr(0, eol);
    m_buffer.erase(0, eol + 1);
    return line;
}

TLibraryServerProcess::TLibraryServerProcess(const std::filesystem::path& dataDir,
                                             const std::string& passPhraseFile) {
    std::vector<std::string> argv = {
        KX_SERVER_EXE, "--data", dataDir.string(), "--bind",    "127.0.0.1",
        "--port",      "0",      "--quiet",        "--threads", "2"};
    if (!passPhraseFile.empty()) {
        argv.insert(argv.end(), {"--pass-phrase-file", passPhraseFile});
    }
    m_process = std::make_unique<TChildProcess>(argv);
    const std::string line = m_process->ReadLine();
    const size_t at = line.find("http://");
    if (at == std::string::npos) {
        throw std::runtime_error("kxserver did not start: " + line);
    }
    m_baseUrl = line.substr(at);
    while (!m_baseUrl.empty() && m_baseUrl.back() == '/') {
        m_baseUrl.pop_back();
    }
}

TFtpServerProcess::TFtpServerProcess(const std::filesystem::path& root, const std::string& user,
                                     const std::string& password) {
    m_process = std::make_unique<TChildProcess>(std::vector<std::string>{
        "/usr/bin/python3", KX_FTP_SERVER_SCRIPT, root.string(), user, password, "120"});
    const std::string line = m_process->ReadLine();
    if (line.rfind("port ", 0) != 0) {
        throw std::runtime_error("the FTP server did not start: " + line);
    }
    m_server = "127.0.0.1:" + line.substr(5);
}

std::string RawGet(const std::string& baseUrl, const std::string& target) {
    const int port = std::stoi(baseUrl.substr(baseUrl.rfind(':') + 1));
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<uint16_t>(port));
    std::string reply;
    if (fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) {
        const std::string request = "GET " + target + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
        if (send(fd, request.data(), request.size(), MSG_NOSIGNAL) ==
            static_cast<ssize_t>(request.size())) {
            char chunk[4096];
            for (int i = 0; i < 1000; ++i) {
                pollfd p{fd, POLLIN, 0};
                if (poll(&p, 1, 5000) <= 0) {
                    break;
                }
                const ssize_t n = read(fd, chunk, sizeof chunk);
                if (n <= 0) {
                    break;
                }
                reply.append(chunk, static_cast<size_t>(n));
            }
        }
    }
    if (fd >= 0) {
        close(fd);
    }
    return reply;
}

std::string RawReply(int status, const std::string& body, long contentLength) {
    return "HTTP/1.1 " + std::to_string(status) + " X\r\nContent-Type: text/plain\r\n" +
           "Connection: close\r\nContent-Length: " +
           std::to_string(contentLength < 0 ? static_cast<long>(body.size()) : contentLength) +
           "\r\n\r\n" + body;
}

THostileServer::THostileServer(std::string rawReply, bool silent,
                               std::map<std::string, std::string> byTarget)
    : m_reply(std::move(rawReply)), m_silent(silent), m_byTarget(std::move(byTarget)) {
    m_listen = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (m_listen < 0 || bind(m_listen, reinterpret_cast<sockaddr*>(&addr), len) != 0 ||
        listen(m_listen, 8) != 0 ||
        getsockname(m_listen, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        throw std::runtime_error("cannot open a loopback port");
    }
    m_port = ntohs(addr.sin_port);
    m_thread = std::thread([this] {
        std::vector<int> held;
        while (!m_stop) {
            pollfd p{m_listen, POLLIN, 0};
            if (poll(&p, 1, 50) <= 0) {
                continue;
            }
            const int client = accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0) {
                continue;
            }
            std::string request;
            char chunk[1024];
            while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
                pollfd c{client, POLLIN, 0};
                if (poll(&c, 1, 1000) <= 0) {
                    break;
                }
                const ssize_t n = read(client, chunk, sizeof chunk);
                if (n <= 0) {
                    break;
                }
                request.append(chunk, static_cast<size_t>(n));
            }
            ++m_requests;
            if (m_silent) {
                held.push_back(client);
                continue;
            }
            const size_t from = request.find(' ') + 1;
            const std::string target = request.substr(from, request.find(' ', from) - from);
            const auto it = m_byTarget.find(target);
            const std::string& reply = it == m_byTarget.end() ? m_reply : it->second;
            size_t sent = 0;
            while (sent < reply.size()) {
                const ssize_t n =
                    send(client, reply.data() + sent, reply.size() - sent, MSG_NOSIGNAL);
                if (n <= 0) {
                    break;
                }
                sent += static_cast<size_t>(n);
            }
            close(client);
        }
        for (const int fd : held) {
            close(fd);
        }
    });
}

THostileServer::~THostileServer() {
    m_stop = true;
    m_thread.join();
    close(m_listen);
}

}  // namespace kxtest
