#pragma once

#include <QtGlobal>
#include <sys/stat.h>

namespace vok {

// Which file a name led to when it was opened: device and inode, the same however many names or
// links lead to it.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// A file as it was opened: its descriptor, and what fstat says of that descriptor. Every judgment
// of a file (what kind it is, how many names it has, which file it is) is made on this, never on
// its name again, so that a link put in its place afterwards changes nothing.
class HeldFile {
public:
    // Unopened: there, but it could not be opened (error() says why).
    enum class Kind { Absent, Link, Regular, Folder, Pipe, Device, Other, Unopened };

    HeldFile() = default;
    // Takes the descriptor; `error` is errno when it is -1.
    HeldFile(int fd, int error);
    ~HeldFile();
    HeldFile(HeldFile&& other) noexcept;
    HeldFile& operator=(HeldFile&& other) noexcept;
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    // errno of the open (or of the fstat) that failed; 0 when open.
    int error() const { return error_; }
    Kind kind() const;
    nlink_t links() const { return status_.st_nlink; }
    qint64 size() const { return status_.st_size; }
    mode_t mode() const { return status_.st_mode; }
    FileIdentity identity() const { return {status_.st_dev, status_.st_ino}; }
    // A pipe, a terminal or another device: written as it stands, never replaced.
    bool isStream() const;
    // Reads and writes wait again (it was opened without waiting, to judge it first).
    void setBlocking() const;
    // Closes the descriptor; 0, or errno when the close reports a failed write.
    int close();

private:
    int fd_ = -1;
    int error_ = 0;
    struct stat status_ {};
};

} // namespace vok
