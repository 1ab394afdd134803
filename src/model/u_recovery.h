// Recovery copies of a model with unsaved changes: one file per running program in the per-user
// data folder, written every few minutes, offered again after the program ended without closing.
#pragma once

#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "foundation/u_savetemp.h"
#include "model/u_modelfile.h"

namespace kx {

class TkxMain;

/// A recovery copy left by a program that no longer runs.
struct TRecoveryCopy {
    std::filesystem::path File;
    int Pid = 0;
    std::filesystem::file_time_type Written;
};

/// The recovery files of one folder. A program's own copy is named after its process id, so two
/// running programs never write the same file.
class TRecoveryStore {
public:
    TRecoveryStore(std::filesystem::path folder, int pid);
    /// The store of this program: "recovery" in the per-user data folder, this process's id.
    static TRecoveryStore ForThisProgram();

    const std::filesystem::path& Folder() const { return m_folder; }
    const std::filesystem::path& OwnFile() const { return m_own; }
    /// Writes this program's copy atomically (the folder is made when missing).
    bool Write(const std::vector<std::string>& lines, std::string* error = nullptr);
    /// Removes this program's copy; nothing happens when there is none.
    void Discard() const;
    /// Copies of programs that no longer run, newest first. Copies of running programs (this
    /// one or a second window of the designer) are never offered.
    std::vector<TRecoveryCopy> Abandoned() const;
    /// Removes a copy that was restored or declined.
    static void Remove(const TRecoveryCopy& copy);

private:
    std::filesystem::path m_folder;
    std::filesystem::path m_own;
};

/// Writes a model's recovery copy on a thread of its own, so a large model never holds up the
/// window: the caller takes the snapshot (on the thread that owns the model), the writer turns
/// it into the file. Requests are done in order, and only the newest that waits counts: a
/// copy that waits is replaced by the next copy or by a discard.
class TRecoveryWriter {
public:
    /// Told on the writer's thread when a copy could not be written.
    using TFailed = std::function<void(const std::string& error)>;
    explicit TRecoveryWriter(TRecoveryStore store, TFailed failed = {});
    /// Finishes what waits (a normal end discards first), then stops.
    ~TRecoveryWriter();
    TRecoveryWriter(const TRecoveryWriter&) = delete;
    TRecoveryWriter& operator=(const TRecoveryWriter&) = delete;

    void Write(TModelFile snapshot);
    void Discard();
    /// Until nothing waits and nothing is being written.
    void Wait();

private:
    void Run();

    TRecoveryStore m_store;
    TFailed m_failed;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    /// The request that waits: a snapshot to write, or nothing to discard the copy.
    std::optional<std::optional<TModelFile>> m_pending;
    bool m_busy = false;
    bool m_stop = false;
    std::thread m_thread;
};

/// Keeps the recovery copy of one model: a copy while the model has unsaved changes, none once
/// it is saved, new or closed.
class TAutosave {
public:
    TAutosave(TkxMain& model, TRecoveryStore store);

    TRecoveryStore& Store() { return m_store; }
    /// One tick of the interval. False only when a copy was due and could not be written.
    bool Tick(std::string* error = nullptr);
    /// A normal close: the copy goes.
    void Discard() { m_store.Discard(); }
    /// Loads a copy as the new model. It keeps no file name (a save asks for one, so the file
    /// the model came from is not overwritten unasked) and counts as changed.
    TModelFileResult Restore(const TRecoveryCopy& copy);

private:
    TkxMain& m_model;
    TRecoveryStore m_store;
};

}  // namespace kx
