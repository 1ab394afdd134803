// Recovery copies of a model with unsaved changes, and the ones left by programs that ended.
#include "model/u_recovery.h"

#include <algorithm>
#include <fstream>

#include <unistd.h>

#include "foundation/u_param.h"
#include "foundation/u_stack.h"
#include "foundation/u_text.h"
#include "model/MainObj.h"

namespace kx {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view Prefix = "recovery-";
constexpr std::string_view Extension = ".kxm";

/// The process id in a recovery file's name, 0 for any other file.
int PidOf(const fs::path& file) {
    const std::string name = file.filename().string();
    if (name.size() <= Prefix.size() + Extension.size() || !name.starts_with(Prefix) ||
        !name.ends_with(Extension)) {
        return 0;
    }
    const std::string digits =
        name.substr(Prefix.size(), name.size() - Prefix.size() - Extension.size());
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return 0;
    }
    return std::max(0, StrToIntDef(digits, 0));
}

}  // namespace

TRecoveryStore::TRecoveryStore(fs::path folder, int pid)
    : m_folder(std::move(folder)),
      m_own(m_folder / (std::string(Prefix) + IntToStr(pid) + std::string(Extension))) {}

TRecoveryStore TRecoveryStore::ForThisProgram() {
    return TRecoveryStore(fs::path(UserDataDir()) / "recovery", static_cast<int>(::getpid()));
}

bool TRecoveryStore::Write(const std::vector<std::string>& lines, std::string* error) {
    std::error_code ec;
    fs::create_directories(m_folder, ec);
    return WriteTextFile(m_own, lines, error);
}

void TRecoveryStore::Discard() const {
    std::error_code ec;
    fs::remove(m_own, ec);
}

std::vector<TRecoveryCopy> TRecoveryStore::Abandoned() const {
    std::vector<TRecoveryCopy> copies;
    std::error_code ec;
    for (fs::directory_iterator it(m_folder, ec), end; !ec && it != end; it.increment(ec)) {
        const int pid = PidOf(it->path());
        std::error_code statEc;
        if (pid == 0 || it->path() == m_own || !it->is_regular_file(statEc) ||
            ProcessRunning(pid)) {
            continue;
        }
        copies.push_back({it->path(), pid, it->last_write_time(statEc)});
    }
    std::sort(copies.begin(), copies.end(),
              [](const TRecoveryCopy& a, const TRecoveryCopy& b) { return a.Written > b.Written; });
    return copies;
}

void TRecoveryStore::Remove(const TRecoveryCopy& copy) {
    std::error_code ec;
    fs::remove(copy.File, ec);
}

TRecoveryWriter::TRecoveryWriter(TRecoveryStore store, TFailed failed)
    : m_store(std::move(store)), m_failed(std::move(failed)), m_thread([this] { Run(); }) {}

TRecoveryWriter::~TRecoveryWriter() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void TRecoveryWriter::Write(TModelFile snapshot) {
    {
        std::lock_guard lock(m_mutex);
        m_pending.emplace(std::move(snapshot));
    }
    m_changed.notify_all();
}

void TRecoveryWriter::Discard() {
    {
        std::lock_guard lock(m_mutex);
        m_pending.emplace(std::nullopt);
    }
    m_changed.notify_all();
}

void TRecoveryWriter::Wait() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_pending && !m_busy; });
}

void TRecoveryWriter::Run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_pending || m_stop; });
        if (!m_pending) {
            return;  // stopped with nothing left to do
        }
        std::optional<TModelFile> request = std::move(*m_pending);
        m_pending.reset();
        m_busy = true;
        lock.unlock();
        if (request) {
            std::string error;
            bool written = false;
            try {
                written = m_store.Write(ModelFileLines(*request), &error);
            } catch (const std::exception& e) {
                error = e.what();
            }
            if (!written && m_failed) {
                m_failed(error);
            }
        } else {
            m_store.Discard();
        }
        lock.lock();
        m_busy = false;
        m_changed.notify_all();
    }
}

TAutosave::TAutosave(TkxMain& model, TRecoveryStore store)
    : m_model(model), m_store(std::move(store)) {}

bool TAutosave::Tick(std::string* error) {
    if (!m_model.IsModified()) {
        // Saved, loaded or back at its saved state: there is nothing a crash could lose.
        m_store.Discard();
        return true;
    }
    Stack().Push("TAutosave.Tick", m_store.OwnFile().string());
    return m_store.Write(ModelFileLines(m_model.ToModelFile()), error);
}

TModelFileResult TAutosave::Restore(const TRecoveryCopy& copy) {
    Stack().Push("TAutosave.Restore", copy.File.string());
    std::ifstream in(copy.File, std::ios::binary);
    // An empty name keeps the recovery file out of the recent files.
    TModelFileResult result = m_model.LoadModell("", true, in);
    if (result) {
        m_model.FileName.clear();
        m_model.MarkModified();
    }
    return result;
}

}  // namespace kx
