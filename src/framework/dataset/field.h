#pragma once

#include "tabledef.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>
#include <functional>

namespace vok {

class Table;

// One field of a record-set: reads and writes the current record (or the edit buffer) as text,
// number, date, flag or variant. Empty reads as 0, false, "" or 30 December 1899.
class Field {
public:
    // The largest number a number or currency field holds: the range of a currency, which no
    // hour count or amount of Vok comes near. Larger values and non-numbers are refused.
    static constexpr double LargestNumber = 922337203685477.0;

    Field(Table* table, int index, FieldDef def, bool calculated);

    const QString& name() const { return def_.name; }
    FieldType type() const { return def_.type; }
    int size() const { return def_.size; }
    int index() const { return index_; }
    bool isCalculated() const { return calculated_; }
    bool isReadOnly() const { return readOnly_; }
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
    Table* table() const { return table_; }

    // What a message calls the field: the caption the user knows it by, its name until a
    // window gives one.
    QString displayLabel() const { return label_.isEmpty() ? def_.name : label_; }
    void setDisplayLabel(const QString& label) { label_ = label; }

    // Display values of a Boolean field: "true text;false text".
    void setDisplayValues(const QString& values);
    QString displayValues() const;

    // Called after the field's value has been set in the edit buffer.
    void setOnChange(std::function<void(Field&)> handler) { onChange_ = std::move(handler); }
    // A rule of the data on a number field: for a number it refuses, why (given the text that
    // was typed or set), empty otherwise. A refused number is a conversion error, as a text
    // that is no number is.
    void setNumberRule(std::function<QString(double value, const QString& text)> rule) {
        numberRule_ = std::move(rule);
    }

    // Typed value (int, double, QString, QDate, QDateTime, bool) or a null variant.
    QVariant value() const;
    bool isNull() const;
    QString asString() const;
    int asInteger() const;
    double asFloat() const;
    QDate asDate() const;
    QDateTime asDateTime() const;
    bool asBoolean() const;
    // Text shown by controls and reports: short dates, currency format, flag display values.
    QString displayText() const;
    // Text an edit control offers for typing (no currency symbol, no grouping).
    QString editText() const;

    void setValue(const QVariant& value);
    void setAsString(const QString& text);
    void setAsInteger(int value) { setValue(value); }
    void setAsFloat(double value) { setValue(value); }
    void setAsDate(const QDate& value) { setValue(value); }
    void setAsDateTime(const QDateTime& value) { setValue(value); }
    void setAsBoolean(bool value) { setValue(value); }
    void clear() { setValue(QVariant()); }

    // Conversions between stored, typed and shown values; also used for rows that are not current.
    QVariant typed(const QVariant& raw) const;
    QString textOf(const QVariant& raw) const;
    QString displayTextOf(const QVariant& raw) const;
    // Converts a value given by the program or typed by the user into the stored form; throws
    // DatabaseError (convert kind) when the text is not of the field's type.
    QVariant toStored(const QVariant& value) const;

private:
    friend class Table;
    void changed();
    // The number as the field's rule lets it be stored.
    double checked(double value, const QString& text) const;

    Table* table_;
    int index_;
    FieldDef def_;
    bool calculated_;
    bool readOnly_;
    QString trueText_;
    QString falseText_;
    QString label_;
    std::function<void(Field&)> onChange_;
    std::function<QString(double, const QString&)> numberRule_;
};

} // namespace vok
