#include "tablerow.h"

namespace vok {

int compareStored(const QVariant& a, const QVariant& b) {
    const bool an = a.isNull();
    const bool bn = b.isNull();
    if (an || bn)
        return an == bn ? 0 : (an ? -1 : 1);
    const auto isNumber = [](const QVariant& v) {
        const int t = v.typeId();
        return t == QMetaType::LongLong || t == QMetaType::Int || t == QMetaType::Double ||
               t == QMetaType::ULongLong || t == QMetaType::UInt;
    };
    if (isNumber(a) && isNumber(b)) {
        if (a.typeId() == QMetaType::Double || b.typeId() == QMetaType::Double) {
            const double x = a.toDouble();
            const double y = b.toDouble();
            return x < y ? -1 : (x > y ? 1 : 0);
        }
        const qlonglong x = a.toLongLong();
        const qlonglong y = b.toLongLong();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    return a.toString().compare(b.toString());
}

} // namespace vok
