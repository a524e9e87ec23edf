#include "storedbytes.h"

#include <QStringDecoder>

namespace vok {

namespace {

// Text read from StoredBytes (QVariant::toString) shows its bytes.
const bool registered = QMetaType::registerConverter<StoredBytes, QString>(&StoredBytes::shown);

} // namespace

QString StoredBytes::shown() const {
    return QString::fromUtf8(bytes);
}

QVariant StoredBytes::of(const char* data, qsizetype size, bool blob) {
    Q_UNUSED(registered);
    if (!blob) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = decoder(QByteArrayView(data, size));
        if (!decoder.hasError())
            return text;
    }
    return QVariant::fromValue(StoredBytes{QByteArray(data, size), blob});
}

} // namespace vok
