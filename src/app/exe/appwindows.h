#pragma once

#include <QList>
#include <memory>

class ExchangeMenu;
class InterfaceLanguage;
class QObject;

class TDataModule17;
class TDataModule2;
class TForm1;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm7;
class TForm8;
class TForm9;
class TForm10;
class TForm11;
class TForm12;
class TForm13;
class TForm14;
class TForm15;
class TForm18;
class TForm19;
class TForm20;
class TForm21;
class TForm22;

// Every window and data module of the process, created once in start-up order and connected to
// the main window's commands, with the language switch that writes the captions of every window
// and report: what Vok runs, and what the tests walk. No table is open yet.
class AppWindows {
public:
    AppWindows();
    // The windows go before the record-sets they show.
    ~AppWindows();
    AppWindows(const AppWindows&) = delete;
    AppWindows& operator=(const AppWindows&) = delete;

    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TDataModule2> dataModule2;
    std::unique_ptr<TForm3> form3;
    std::unique_ptr<TForm4> form4;
    std::unique_ptr<TForm5> form5;
    std::unique_ptr<TForm6> form6;
    std::unique_ptr<TForm7> form7;
    std::unique_ptr<TForm8> form8;
    std::unique_ptr<TForm9> form9;
    std::unique_ptr<TForm10> form10;
    std::unique_ptr<TForm11> form11;
    std::unique_ptr<TForm12> form12;
    std::unique_ptr<TForm13> form13;
    std::unique_ptr<TForm14> form14;
    std::unique_ptr<TForm15> form15;
    std::unique_ptr<TDataModule17> dataModule17;
    std::unique_ptr<TForm18> form18;
    std::unique_ptr<TForm19> form19;
    std::unique_ptr<TForm20> form20;
    std::unique_ptr<TForm21> form21;
    std::unique_ptr<TForm22> form22;
    // "Import project…" and a project's "Export…".
    std::unique_ptr<ExchangeMenu> exchangeMenu;
    // Applied at the first activation as the settings name it, and from "Change language".
    std::unique_ptr<InterfaceLanguage> language;

    // The windows and reports, in start-up order.
    QList<QObject*> windows() const;
};
