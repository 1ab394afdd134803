// kxserver: the online library server. Serves parts, models, collections, the program version
// and the change history from one data folder over HTTP.
#include <httplib.h>
#include <signal.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <thread>

#include "foundation/u_text.h"
#include "online/u_libraryserver.h"

namespace {

/// The pass phrase from its file: the first line, blanks and line end trimmed.
std::optional<std::string> ReadPassPhrase(const std::string& file) {
    auto bytes = kx::ReadFileBytes(file);
    if (!bytes) {
        return std::nullopt;
    }
    const auto lines = kx::SplitLines(*bytes);
    return lines.empty() ? std::string() : kx::Trim(lines.front());
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{
        "kxserver - the online library server of Korvex designer.\n"
        "Answers every request of the designer's online functions from one data folder and\n"
        "keeps no state outside it, so several servers can share a folder behind a web\n"
        "server. Uploads go to an FTP server over the same folder (see the README).",
        "kxserver"};
    std::string dataDir;
    std::string bind = "127.0.0.1";
    int port = 8080;
    std::string passFile;
    int threads = 8;
    bool init = false;
    bool quiet = false;
    app.set_config("--config", "", "Read options from this INI or TOML file");
    app.add_option("-d,--data", dataDir, "The data folder")
        ->required()
        ->check(CLI::ExistingDirectory);
    app.add_option("-b,--bind", bind, "Address to listen on (0.0.0.0 for every network)")
        ->capture_default_str();
    app.add_option("-p,--port", port, "Port to listen on; 0 picks a free one")
        ->capture_default_str()
        ->check(CLI::Range(0, 65535));
    app.add_option("--pass-phrase-file", passFile,
                   "File whose first line is the pass phrase for version writes; without it "
                   "version writes are refused")
        ->check(CLI::ExistingFile);
    app.add_option("--threads", threads, "Requests answered at the same time")
        ->capture_default_str()
        ->check(CLI::Range(1, 256));
    app.add_flag("--init", init, "Create the folders of the data layout that are missing");
    app.add_flag("-q,--quiet", quiet, "Write no line per request");
    CLI11_PARSE(app, argc, argv);

    std::string passPhrase;
    if (!passFile.empty()) {
        auto phrase = ReadPassPhrase(passFile);
        if (!phrase) {
            std::cerr << "kxserver: cannot read the pass phrase file " << passFile << "\n";
            return 1;
        }
        passPhrase = *phrase;
    }
    const kx::TLibraryServer library(dataDir, passPhrase);
    if (init) {
        try {
            library.CreateLayout();
        } catch (const std::exception& e) {
            std::cerr << "kxserver: " << e.what() << "\n";
            return 1;
        }
    }

    httplib::Server server;
    server.new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
    server.set_read_timeout(10, 0);
    server.set_write_timeout(30, 0);
    // Idle connections hold a thread each; let them go soon.
    server.set_keep_alive_timeout(2);
    server.set_payload_max_length(64 * 1024);
    server.Get(R"(/.*)", [&library](const httplib::Request& req, httplib::Response& res) {
        std::multimap<std::string, std::string> query(req.params.begin(), req.params.end());
        auto reply = library.Handle(req.path, query);
        res.status = reply.Status;
        res.set_content(std::move(reply.Body), reply.ContentType.c_str());
    });
    if (!quiet) {
        server.set_logger([](const httplib::Request& req, const httplib::Response& res) {
            // The path only: a query may hold the pass phrase.
            std::printf("%s %s %d\n", req.method.c_str(), req.path.c_str(), res.status);
            std::fflush(stdout);
        });
    }

    const int bound = port == 0 ? server.bind_to_any_port(bind.c_str())
                                : (server.bind_to_port(bind.c_str(), port) ? port : -1);
    if (bound < 0) {
        std::cerr << "kxserver: cannot listen on " << bind << ":" << port << "\n";
        return 1;
    }

    // Stop cleanly on SIGINT and SIGTERM: a thread waits for them, the handlers stay default.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::thread stopper([&] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        server.stop();
    });

    std::printf("kxserver: serving %s on http://%s:%d/\n", dataDir.c_str(), bind.c_str(), bound);
    std::fflush(stdout);
    server.listen_after_bind();
    // listen ends by the stop thread, or by an error; either way the thread must end too.
    pthread_kill(stopper.native_handle(), SIGTERM);
    stopper.join();
    return 0;
}
