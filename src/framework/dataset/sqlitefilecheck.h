#pragma once

#include "framework/io/heldfile.h"

namespace vok {

// SQLite opens database files by name, so a file judged through a descriptor of Vok's own could
// be swapped for another (a link out of the data folder, another member's sheet) before SQLite
// opens it. This check sits where SQLite opens files (its system call for open):
// - every file SQLite opens in this process is opened without following a link; SQLite resolves
//   the links of the names it is given before it opens them, so only a link put in place
//   meanwhile is refused, as the journal's own name is never followed either;
// - while a check lives on a thread, the database file SQLite opens there must be the very file
//   judged (the same device and inode as a descriptor Vok opened and judged itself), or the
//   open fails before SQLite reads a byte of it. Where SQLite takes again a descriptor it
//   already holds for that file (another connection of this process kept it for its locks), it
//   finds it by the name's status, which the check sees (its system call for stat) instead.
class SqliteFileCheck {
public:
    explicit SqliteFileCheck(const FileIdentity& expected);
    ~SqliteFileCheck();
    SqliteFileCheck(const SqliteFileCheck&) = delete;
    SqliteFileCheck& operator=(const SqliteFileCheck&) = delete;

    // Whether SQLite opened the database file while the check lived, and only the file expected.
    bool passed() const;
    // Whether SQLite opened another file in its place (a file swapped in after it was judged).
    bool sawAnotherFile() const { return wrong_; }

    // Puts the check in place; once per process, before the first connection opens.
    static void install();

private:
    friend struct SqliteFileCheckHook;
    FileIdentity expected_;
    int opened_ = 0;
    bool seen_ = false; // the name's status was the expected file's
    bool wrong_ = false;
    SqliteFileCheck* outer_ = nullptr;
};

} // namespace vok
