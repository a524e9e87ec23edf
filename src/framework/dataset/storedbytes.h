#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QString>
#include <QVariant>

namespace vok {

// A stored value Vok cannot read as text: text whose bytes are not UTF-8 (another program wrote
// it, or a damaged disk), or a BLOB. It is kept exactly as stored, so that a row holding it is
// written back like any other: the update's "still as read" compares these bytes, not a text
// decoded from them. It shows as text with a replacement mark (U+FFFD) for each sequence of
// bytes that cannot be read.
struct StoredBytes {
    QByteArray bytes;
    bool blob = false;

    bool operator==(const StoredBytes&) const = default;
    QString shown() const;
    // The stored form of a text or BLOB as the engine gives it: text when the bytes are UTF-8
    // text, StoredBytes otherwise.
    static QVariant of(const char* data, qsizetype size, bool blob);
};

} // namespace vok

Q_DECLARE_METATYPE(vok::StoredBytes)
