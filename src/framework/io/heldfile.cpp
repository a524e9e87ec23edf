#include "heldfile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace vok {

HeldFile::HeldFile(int fd, int error) : fd_(fd), error_(fd >= 0 ? 0 : error) {
    if (fd_ >= 0 && ::fstat(fd_, &status_) != 0) {
        error_ = errno;
        close();
    }
}

HeldFile::~HeldFile() {
    close();
}

HeldFile::HeldFile(HeldFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), error_(other.error_), status_(other.status_) {}

HeldFile& HeldFile::operator=(HeldFile&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = std::exchange(other.fd_, -1);
        error_ = other.error_;
        status_ = other.status_;
    }
    return *this;
}

int HeldFile::close() {
    if (fd_ < 0)
        return 0;
    const int result = ::close(std::exchange(fd_, -1));
    return result == 0 ? 0 : errno;
}

HeldFile::Kind HeldFile::kind() const {
    if (fd_ < 0) {
        if (error_ == ELOOP || error_ == EMLINK)
            return Kind::Link;
        return error_ == ENOENT || error_ == ENOTDIR ? Kind::Absent : Kind::Unopened;
    }
    const mode_t m = status_.st_mode;
    if (S_ISLNK(m))
        return Kind::Link;
    if (S_ISREG(m))
        return Kind::Regular;
    if (S_ISDIR(m))
        return Kind::Folder;
    if (S_ISFIFO(m) || S_ISSOCK(m))
        return Kind::Pipe;
    if (S_ISCHR(m) || S_ISBLK(m))
        return Kind::Device;
    return Kind::Other;
}

bool HeldFile::isStream() const {
    return kind() == Kind::Pipe || kind() == Kind::Device;
}

void HeldFile::setBlocking() const {
    if (fd_ < 0)
        return;
    const int flags = ::fcntl(fd_, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);
}

} // namespace vok
