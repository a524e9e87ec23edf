#pragma once

#include "entrywindow.h"

class TDataModule2;

// "Time Sheet Entry": the lines of one member's personal time-sheet file. The file is closed
// however the window is closed; a line not posted then is dropped.
class TForm10 : public EntryWindow {
    Q_OBJECT
public:
    explicit TForm10(TDataModule2* dm, QWidget* parent = nullptr);

public Q_SLOTS:
    void Set_fields_state(bool on);
    // "Close"
    void Button1Click() override;

public:
    void done(int result) override;

private:
    TDataModule2* dm_;
};
