#include "field.h"

#include "databaseerror.h"
#include "shortdate.h"
#include "table.h"

#include <QLocale>
#include <cmath>

namespace vok {

namespace {

QString generalNumber(double v) {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(v, 'g', 15);
}

DatabaseError convertError(const QString& text, const char* what) {
    return DatabaseError(QStringLiteral("'%1' is not a valid %2").arg(text, QLatin1String(what)),
                         DatabaseError::Kind::Convert);
}

// The stored form of a date, "yyyy-MM-dd". QDate::toString goes through a printf-style formatter,
// which shows in merges that store two dates per line.
QString isoDate(const QDate& d) {
    const int y = d.year();
    if (y < 0 || y > 9999)
        return d.toString(Qt::ISODate);
    const auto digit = [](int v) { return QChar(u'0' + v); };
    const int m = d.month();
    const int day = d.day();
    const QChar text[10] = {digit(y / 1000), digit(y / 100 % 10), digit(y / 10 % 10), digit(y % 10),
                            QChar(u'-'),     digit(m / 10),       digit(m % 10),      QChar(u'-'),
                            digit(day / 10), digit(day % 10)};
    return QString(text, 10);
}

bool inRange(double value) {
    return std::isfinite(value) && std::abs(value) <= Field::LargestNumber;
}

bool parseNumber(const QString& input, double& out) {
    const QString text = input.trimmed();
    bool ok = false;
    QLocale locale;
    out = locale.toDouble(text, &ok);
    if (!ok)
        out = QLocale::c().toDouble(text, &ok);
    return ok && std::isfinite(out);
}

DatabaseError tooLarge(const QString& text) {
    return DatabaseError(QStringLiteral("'%1' is too large a number").arg(text),
                         DatabaseError::Kind::Convert);
}

} // namespace

Field::Field(Table* table, int index, FieldDef def, bool calculated)
    : table_(table), index_(index), def_(std::move(def)), calculated_(calculated),
      readOnly_(def_.type == FieldType::AutoInc), trueText_(QStringLiteral("True")),
      falseText_(QStringLiteral("False")) {}

void Field::setDisplayValues(const QString& values) {
    const int semi = values.indexOf(QLatin1Char(';'));
    trueText_ = semi < 0 ? values : values.left(semi);
    falseText_ = semi < 0 ? QString() : values.mid(semi + 1);
}

QString Field::displayValues() const {
    return trueText_ + QLatin1Char(';') + falseText_;
}

QVariant Field::typed(const QVariant& raw) const {
    if (raw.isNull() || !raw.isValid())
        return {};
    switch (def_.type) {
    case FieldType::AutoInc:
    case FieldType::Integer:
        return static_cast<int>(raw.toLongLong());
    case FieldType::String:
    case FieldType::Memo:
        return raw.toString();
    case FieldType::Date: {
        if (raw.typeId() == QMetaType::QDate)
            return raw;
        if (raw.typeId() == QMetaType::QDateTime)
            return raw.toDateTime().date();
        const QDate d = QDate::fromString(raw.toString().left(10), Qt::ISODate);
        return d.isValid() ? QVariant(d) : QVariant();
    }
    case FieldType::DateTime: {
        if (raw.typeId() == QMetaType::QDateTime)
            return raw;
        if (raw.typeId() == QMetaType::QDate)
            return QDateTime(raw.toDate(), QTime(0, 0));
        const QString s = raw.toString();
        QDateTime dt = QDateTime::fromString(s, Qt::ISODate);
        if (!dt.isValid()) {
            const QDate d = QDate::fromString(s.left(10), Qt::ISODate);
            if (d.isValid())
                dt = QDateTime(d, QTime(0, 0));
        }
        return dt.isValid() ? QVariant(dt) : QVariant();
    }
    case FieldType::Boolean:
        if (raw.typeId() == QMetaType::Bool)
            return raw;
        return raw.toLongLong() != 0;
    case FieldType::Float:
    case FieldType::Currency:
        return raw.toDouble();
    }
    return raw;
}

QString Field::textOf(const QVariant& raw) const {
    const QVariant v = typed(raw);
    if (v.isNull())
        return {};
    switch (def_.type) {
    case FieldType::AutoInc:
    case FieldType::Integer:
        return QString::number(v.toInt());
    case FieldType::String:
    case FieldType::Memo:
        return v.toString();
    case FieldType::Date:
        return ShortDate::format(v.toDate());
    case FieldType::DateTime:
        return ShortDate::formatDateTime(v.toDateTime());
    case FieldType::Boolean:
        return v.toBool() ? trueText_ : falseText_;
    case FieldType::Float:
    case FieldType::Currency:
        return generalNumber(v.toDouble());
    }
    return v.toString();
}

QString Field::displayTextOf(const QVariant& raw) const {
    if (def_.type == FieldType::Currency) {
        const QVariant v = typed(raw);
        return v.isNull() ? QString() : QLocale().toCurrencyString(v.toDouble());
    }
    return textOf(raw);
}

QVariant Field::toStored(const QVariant& value) const {
    if (!value.isValid() || value.isNull())
        return {};
    const bool isText = value.typeId() == QMetaType::QString;
    const QString text = isText ? value.toString() : QString();
    switch (def_.type) {
    case FieldType::AutoInc:
    case FieldType::Integer: {
        if (isText) {
            if (text.trimmed().isEmpty())
                return {};
            bool ok = false;
            const int n = text.trimmed().toInt(&ok);
            if (!ok)
                throw convertError(text, "integer value");
            return qlonglong(n);
        }
        if (value.typeId() == QMetaType::Double)
            return qlonglong(std::llround(value.toDouble()));
        if (value.typeId() == QMetaType::Bool)
            return qlonglong(value.toBool() ? 1 : 0);
        return qlonglong(value.toLongLong());
    }
    case FieldType::String:
    case FieldType::Memo: {
        QString s = value.toString();
        if (s.isEmpty())
            return {};
        if (def_.type == FieldType::String && def_.size > 0 && s.size() > def_.size)
            s.truncate(def_.size);
        return s;
    }
    case FieldType::Date: {
        QDate d;
        if (isText) {
            if (text.trimmed().isEmpty())
                return {};
            d = ShortDate::parse(text);
            if (!d.isValid())
                throw convertError(text, "date");
        } else if (value.typeId() == QMetaType::QDateTime) {
            d = value.toDateTime().date();
        } else {
            d = value.toDate();
        }
        if (!d.isValid())
            return {};
        return isoDate(d);
    }
    case FieldType::DateTime: {
        QDateTime dt;
        if (isText) {
            if (text.trimmed().isEmpty())
                return {};
            dt = ShortDate::parseDateTime(text);
            if (!dt.isValid())
                throw convertError(text, "date and time");
        } else if (value.typeId() == QMetaType::QDate) {
            dt = QDateTime(value.toDate(), QTime(0, 0));
        } else {
            dt = value.toDateTime();
        }
        if (!dt.isValid())
            return {};
        return dt.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    }
    case FieldType::Boolean: {
        if (isText) {
            const QString t = text.trimmed();
            if (t.isEmpty())
                return {};
            if (t.compare(trueText_, Qt::CaseInsensitive) == 0 ||
                t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 ||
                t == QLatin1String("1"))
                return qlonglong(1);
            if (t.compare(falseText_, Qt::CaseInsensitive) == 0 ||
                t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0 ||
                t == QLatin1String("0"))
                return qlonglong(0);
            throw convertError(text, "boolean value");
        }
        if (value.typeId() == QMetaType::Bool)
            return qlonglong(value.toBool() ? 1 : 0);
        return qlonglong(value.toLongLong() != 0 ? 1 : 0);
    }
    case FieldType::Float:
    case FieldType::Currency: {
        if (isText) {
            if (text.trimmed().isEmpty())
                return {};
            double d = 0;
            if (!parseNumber(text, d))
                throw convertError(text, "floating point value");
            if (!inRange(d))
                throw tooLarge(text);
            return checked(d, text);
        }
        bool ok = false;
        const double d = value.toDouble(&ok);
        if (!ok || !std::isfinite(d))
            throw convertError(value.toString(), "floating point value");
        if (!inRange(d))
            throw tooLarge(value.toString());
        return checked(d, value.toString());
    }
    }
    return value;
}

double Field::checked(double value, const QString& text) const {
    if (numberRule_) {
        if (const QString why = numberRule_(value, text); !why.isEmpty())
            throw DatabaseError(why, DatabaseError::Kind::Convert);
    }
    return value;
}

QVariant Field::value() const {
    return typed(table_->rawValue(index_));
}

bool Field::isNull() const {
    return table_->rawValue(index_).isNull();
}

QString Field::asString() const {
    return textOf(table_->rawValue(index_));
}

QString Field::displayText() const {
    return displayTextOf(table_->rawValue(index_));
}

QString Field::editText() const {
    return textOf(table_->rawValue(index_));
}

int Field::asInteger() const {
    const QVariant v = value();
    if (v.isNull())
        return 0;
    switch (def_.type) {
    case FieldType::String:
    case FieldType::Memo: {
        bool ok = false;
        const int n = v.toString().trimmed().toInt(&ok);
        if (!ok)
            throw convertError(v.toString(), "integer value");
        return n;
    }
    case FieldType::Float:
    case FieldType::Currency:
        return static_cast<int>(std::llround(v.toDouble()));
    case FieldType::Boolean:
        return v.toBool() ? 1 : 0;
    case FieldType::Date:
    case FieldType::DateTime:
        return static_cast<int>(ShortDate::zeroDate().daysTo(asDate()));
    default:
        return v.toInt();
    }
}

double Field::asFloat() const {
    const QVariant v = value();
    if (v.isNull())
        return 0.0;
    switch (def_.type) {
    case FieldType::String:
    case FieldType::Memo: {
        double d = 0;
        if (!parseNumber(v.toString(), d))
            throw convertError(v.toString(), "floating point value");
        return d;
    }
    case FieldType::Boolean:
        return v.toBool() ? 1.0 : 0.0;
    case FieldType::Date:
        return static_cast<double>(ShortDate::zeroDate().daysTo(v.toDate()));
    case FieldType::DateTime: {
        const QDateTime dt = v.toDateTime();
        return static_cast<double>(ShortDate::zeroDate().daysTo(dt.date())) +
               dt.time().msecsSinceStartOfDay() / 86400000.0;
    }
    default:
        return v.toDouble();
    }
}

QDate Field::asDate() const {
    const QVariant v = value();
    if (v.isNull())
        return ShortDate::zeroDate();
    switch (def_.type) {
    case FieldType::Date:
        return v.toDate();
    case FieldType::DateTime:
        return v.toDateTime().date();
    case FieldType::String:
    case FieldType::Memo: {
        const QDate d = ShortDate::parse(v.toString());
        if (!d.isValid())
            throw convertError(v.toString(), "date");
        return d;
    }
    default:
        throw convertError(v.toString(), "date");
    }
}

QDateTime Field::asDateTime() const {
    const QVariant v = value();
    if (v.isNull())
        return QDateTime(ShortDate::zeroDate(), QTime(0, 0));
    if (def_.type == FieldType::Date)
        return QDateTime(v.toDate(), QTime(0, 0));
    if (def_.type == FieldType::DateTime)
        return v.toDateTime();
    const QDateTime dt = ShortDate::parseDateTime(v.toString());
    if (!dt.isValid())
        throw convertError(v.toString(), "date and time");
    return dt;
}

bool Field::asBoolean() const {
    const QVariant v = value();
    if (v.isNull())
        return false;
    switch (def_.type) {
    case FieldType::Boolean:
        return v.toBool();
    case FieldType::String:
    case FieldType::Memo:
        return toStored(v.toString()).toLongLong() != 0;
    case FieldType::Float:
    case FieldType::Currency:
        return v.toDouble() != 0.0;
    default:
        return v.toLongLong() != 0;
    }
}

void Field::setValue(const QVariant& value) {
    table_->setRawValue(*this, toStored(value));
}

void Field::setAsString(const QString& text) {
    setValue(QVariant(text));
}

void Field::changed() {
    if (onChange_)
        onChange_(*this);
}

} // namespace vok
