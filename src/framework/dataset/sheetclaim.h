#pragma once

#include <QPointer>
#include <QString>

namespace vok {

class Store;

// A member's sheet held while a window types into it or a merge empties it. A window holds it
// alone: every other claim on the same sheet, from this process or another installation on the
// same data, is refused meanwhile. Merges share it with each other (the unit of work keeps them
// apart) but not with a window. Released when it goes, or with the connection.
class SheetClaim {
public:
    enum class Kind { Alone, Shared };

    SheetClaim(Store* store, QString fileName, quint64 connection);
    ~SheetClaim();
    SheetClaim(const SheetClaim&) = delete;
    SheetClaim& operator=(const SheetClaim&) = delete;

    const QString& fileName() const { return fileName_; }

private:
    QPointer<Store> store_;
    QString fileName_;
    quint64 connection_;
};

} // namespace vok
