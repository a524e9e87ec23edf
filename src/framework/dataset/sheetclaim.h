#pragma once

#include <QPointer>
#include <QString>

namespace vok {

class Store;

// A member's sheet held for one window at a time: while a claim lives, every other claim on the
// same sheet, from this process or another installation on the same data, is refused. Released
// when it goes, or with the connection.
class SheetClaim {
public:
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
