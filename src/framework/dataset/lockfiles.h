#pragma once

#include <QHash>
#include <QString>

namespace vok {

// Locks held on files beside the data, one per name, for as long as this process wants them:
// an open file description's lock (fcntl), which the system drops when the process ends however
// it ends, so a crash never leaves a stale lock behind. Another process, on this computer or
// another one sharing the folder, is refused a lock in the way meanwhile. The lock files stay in
// place: removing one while another process waits on it would let two hold it.
class LockFiles {
public:
    enum class Kind {
        Alone,         // a write lock; the file is made when it is not there
        SharedIfThere, // a read lock, beside other read locks; nothing to hold (and nothing made)
                       // when the file is not there, as nobody ever held it alone
    };

    LockFiles() = default;
    ~LockFiles();
    LockFiles(const LockFiles&) = delete;
    LockFiles& operator=(const LockFiles&) = delete;

    // False when a lock in the way is held by another process (or another holder in this one).
    // A lock file that is a link or not a regular file is an error.
    bool claim(const QString& path, Kind kind);
    void release(const QString& path);
    void releaseAll();

private:
    QHash<QString, int> held_; // path -> descriptor, -1 when nothing is held
};

} // namespace vok
