#pragma once

#include "heldfile.h"

#include <QString>

namespace vok {

// A folder held open by its descriptor. Its files are opened by name relative to that descriptor,
// never through a link, and judged by what was opened (HeldFile); files are created, renamed and
// removed through it too. So a folder or a link swapped in by another process between a check
// and a use can never turn one file into another.
class HeldFolder {
public:
    // Opens the folder the path names (links on the way to it are followed: it is the folder the
    // user named). Throws FileError when there is no folder there to open.
    explicit HeldFolder(const QString& path);
    // The same without throwing: isOpen() says whether it opened, `error` why not.
    HeldFolder(const QString& path, int* error);
    ~HeldFolder();
    HeldFolder(HeldFolder&& other) noexcept;
    HeldFolder& operator=(HeldFolder&& other) noexcept;
    HeldFolder(const HeldFolder&) = delete;
    HeldFolder& operator=(const HeldFolder&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    const QString& path() const { return path_; }
    int fd() const { return fd_; }
    FileIdentity identity() const { return identity_; }
    QString filePath(const QString& name) const;

    // Opens a file of the folder by its name (one name, no folders), never through a link (a link
    // is Kind::Link) and never waiting for a pipe's other end. `flags` are the access wanted and
    // O_CREAT, O_EXCL or O_TRUNC as needed.
    HeldFile open(const QString& name, int flags, mode_t mode = 0) const;
    // What the name is now, without opening it for reading or writing: a link is looked at, not
    // followed.
    HeldFile look(const QString& name) const;
    // What the name leads to when a link is followed: to judge where it leads (O_PATH), or to
    // write to a pipe or a terminal a link names (/dev/stdout).
    HeldFile follow(const QString& name, int flags) const;
    // Whether any entry of the folder is that file (another name of it, a hard link, counts).
    bool holds(const FileIdentity& identity) const;

    // A new empty file beside `name` that only this process knows of; its name goes to
    // `temporary`.
    HeldFile createTemporary(const QString& name, QString* temporary) const;
    // renameat and linkat within the folder; 0, or errno.
    int rename(const QString& from, const QString& to) const;
    int link(const QString& from, const QString& to) const;
    void remove(const QString& name) const;
    // Removes `name` only while it is still the file `identity`: an operation removes only what
    // it created, never what another process put under that name since.
    void removeIf(const QString& name, const FileIdentity& identity) const;
    // Makes renames and new names in the folder durable.
    void sync() const;

private:
    QString path_;
    int fd_ = -1;
    FileIdentity identity_;
};

} // namespace vok
