#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QStringList>
#include <QTreeWidget>
#include <functional>

class TDataModule2;

// The main window: the project tree on the left, the detail pages of the selected project,
// major activity or action on the right.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);

    // Binds the controls to the data module's record-sets. Start-up creates the main window
    // first and the data module second, then binds them.
    void setDataModule(TDataModule2* dm);
    TDataModule2* dm() const { return dm_; }

    // Applies a caption set (0 English, 1 French, 2 Spanish, other English); set at start-up.
    std::function<void(int)> translateInterface;

    QTreeWidget* TreeView1;
    QLabel* PrintProject;
    QLabel* SDLabel1;
    QLabel* SDLabel2;
    QLabel* SDLabel3;
    QLabel* SDLabel4;
    QLabel* SDLabel5;
    QLabel* SDLabel6;
    QStringList ProjectList;
    QStringList idstrings;
    QStringList CriticalList;

    // Member pick lists of the "Member" columns of the three team grids.
    QStringList& memberPickList(int grid);

public Q_SLOTS:
    // First activation: settings, connection, tables, pick lists, language, tree. Runs once.
    void FormActivate();
    void LoadTree();

protected:
    bool event(QEvent* e) override;

private:
    void firstActivation();

    TDataModule2* dm_ = nullptr;
    QStringList pickLists_[3];
};
