#pragma once

#include <QList>
#include <memory>

class InterfaceLanguage;
class QObject;
class TDataModule2;
class TForm1;
class TForm4;
class TForm5;
class TForm10;
class TForm11;
class TForm12;
class TForm18;
class TForm19;

// Every window, report and data module of the process, each made once in start-up order and
// wired to the others, with the language switch that writes the captions of them all. The
// program makes one at start; tests make one to have the windows as the user has them.
class Forms {
public:
    Forms();
    ~Forms();
    Forms(const Forms&) = delete;
    Forms& operator=(const Forms&) = delete;

    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TDataModule2> dataModule2;
    std::unique_ptr<TForm4> form4;
    std::unique_ptr<TForm5> form5;
    std::unique_ptr<TForm10> form10;
    std::unique_ptr<TForm11> form11;
    std::unique_ptr<TForm12> form12;
    std::unique_ptr<TForm18> form18;
    std::unique_ptr<TForm19> form19;
    // Applied at the first activation as the settings name it, and from "Change language".
    std::unique_ptr<InterfaceLanguage> language;

    // The windows and reports, in start-up order.
    QList<QObject*> windows() const;
};
