#pragma once

#include <QLineEdit>
#include <QVariant>

namespace vok {

class DataLink;
class DatabaseError;
class Table;

// A one-line edit of one field of the current record. What the user types, pastes or dictates
// (a text set through the accessibility interface) goes into the field at once (the record-set
// enters edit state at the first keystroke). A text the field cannot take
// ("abc" in a number) stays in the control while the field keeps its value; it is reported when
// the focus leaves, the control takes the focus back and the record stays editable, and leaving
// is not reported (dataLink()->exited) until the text is put right. Only another record replaces
// it: the same record read again keeps it. Shows the field's display text, and its edit text
// while focused.
class DBEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DBEdit(QWidget* parent = nullptr);

    void setDataSource(Table* table, const QString& fieldName);
    DataLink* dataLink() const { return link_; }

    // A text the field refused is waiting in the control.
    bool hasInvalidText() const { return !invalidMessage_.isEmpty(); }
    // Why the field refused that text.
    const QString& refusalMessage() const { return invalidMessage_; }
    // Reads the field again, dropping a refused text.
    void reload();
    // Says why the text was refused and takes the focus back, unless that was just said for the
    // same action (a command that would replace the record asks here first, after the control
    // itself may have said it on losing the focus).
    void takeBack();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // The message shown for a refused text.
    virtual QString refusal(const DatabaseError& error) const;

private:
    void onTextEdited(const QString& text);
    void reportRefusal();

    // The index values of the record the control last read: a read of the same record again
    // leaves a refused text in place.
    QVariantList recordKey() const;

    DataLink* link_;
    QString invalidMessage_;
    QVariant loaded_; // the field's value when the control last read it
    QVariantList loadedKey_;
    bool loading_ = false;
    bool told_ = false;      // the refusal was just said
    bool reporting_ = false; // its message is showing
    int reportsQueued_ = 0;
    int timesTold_ = 0;
};

} // namespace vok
