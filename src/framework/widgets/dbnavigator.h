#pragma once

#include <QWidget>
#include <array>

class QToolButton;

namespace vok {

class DataLink;
class Table;

// A record navigator: First, Prior, Next, Last, Insert, Delete, Edit, Post and Cancel on one
// record-set. Each button acts on the record-set, then `clicked` tells which one acted. Delete
// asks "Delete record?" first. Buttons that cannot act in the record-set's state are disabled.
// The buttons show symbols and are named in words ("First record") in the interface language.
class DBNavigator : public QWidget {
    Q_OBJECT
public:
    enum class Button { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel };
    Q_ENUM(Button)

    explicit DBNavigator(QWidget* parent = nullptr);

    void setDataSource(Table* table);
    Table* table() const;
    void setConfirmDelete(bool on) { confirmDelete_ = on; }

    QToolButton* button(Button b) const { return buttons_[static_cast<size_t>(b)]; }
    // Acts as a click on the button (errors are shown in the standard error box).
    void click(Button b);

Q_SIGNALS:
    // After the button has acted (a declined delete included); not after an error.
    void clicked(vok::DBNavigator::Button button);

protected:
    void changeEvent(QEvent* event) override;

private:
    void nameButtons();
    void act(Button b);
    // Throws the refusal of a text that an edit of this window holds for the record-set.
    void refuseWaitingText() const;
    void updateButtons();

    DataLink* link_;
    std::array<QToolButton*, 9> buttons_{};
    bool confirmDelete_ = true;
};

} // namespace vok
