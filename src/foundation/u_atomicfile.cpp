// A file written through a temporary beside it and renamed over the target at the end, so a
// failed or abandoned write leaves the old file as it was and no half-written one behind.
#include "foundation/u_atomicfile.h"

#include "foundation/u_savetemp.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace kx {

namespace {

std::filesystem::path Folder(const std::filesystem::path& target) {
    std::filesystem::path dir = target.parent_path();
    return dir.empty() ? std::filesystem::path(".") : dir;
}

}  // namespace

TAtomicFile::TAtomicFile(std::filesystem::path target) : m_target(std::move(target)) {
    m_temp = SaveTempTemplate(m_target);
    m_fd = ::mkstemp(m_temp.data());
    if (m_fd < 0) {
        m_temp.clear();
        Fail(errno);
    }
}

TAtomicFile::~TAtomicFile() {
    Abandon();
}

bool TAtomicFile::Fail(int err) {
    if (m_error.empty()) {
        m_error = std::error_code(err, std::generic_category()).message();
    }
    Abandon();
    return false;
}

void TAtomicFile::Abandon() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_done && !m_temp.empty()) {
        ::unlink(m_temp.c_str());
        m_temp.clear();
    }
}

bool TAtomicFile::Write(std::string_view bytes) {
    if (m_fd < 0) {
        return false;
    }
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(m_fd, p, left);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Fail(errno);
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

bool TAtomicFile::Commit() {
    if (m_fd < 0) {
        return false;
    }
    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    struct stat old {};
    const mode_t mode = ::stat(m_target.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    if (::fsync(m_fd) != 0 || ::fchmod(m_fd, mode) != 0) {
        return Fail(errno);
    }
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0) {
        return Fail(errno);
    }
    if (::rename(m_temp.c_str(), m_target.c_str()) != 0) {
        return Fail(errno);
    }
    m_done = true;
    // The rename itself lives in the folder: without this a power cut may bring back the old
    // name, or no file at all on a first save.
    const int dirFd = ::open(Folder(m_target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    // A save of this file that was killed half-way left its temporary file here.
    RemoveLeftoverSaveTemps(Folder(m_target), m_target);
    return true;
}

}  // namespace kx
