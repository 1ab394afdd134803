// A file written through a temporary beside it and renamed over the target at the end, so a
// failed or abandoned write leaves the old file as it was and no half-written one behind.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kx {

class TAtomicFile {
public:
    /// Creates the temporary file; Failed() tells whether that worked.
    explicit TAtomicFile(std::filesystem::path target);
    /// Removes the temporary file unless Commit succeeded.
    ~TAtomicFile();
    TAtomicFile(const TAtomicFile&) = delete;
    TAtomicFile& operator=(const TAtomicFile&) = delete;

    /// Appends bytes; after the first failure nothing more is written.
    bool Write(std::string_view bytes);
    /// Flushes to disk and renames over the target (keeping its permissions).
    bool Commit();
    /// Drops what was written.
    void Abandon();

    bool Failed() const { return !m_error.empty(); }
    /// Why it failed (the system's message), empty while all is well.
    const std::string& Error() const { return m_error; }

private:
    bool Fail(int err);

    std::filesystem::path m_target;
    std::string m_temp;
    std::string m_error;
    int m_fd = -1;
    bool m_done = false;
};

}  // namespace kx
