#pragma once

#include <memory>

class TDataModule17;
class TDataModule2;
class TForm1;
class TForm3;
class TForm4;
class TForm5;
class TForm10;
class TForm11;
class TForm12;
class TForm15;
class TForm18;
class TForm19;

// Every window and data module of the process, created once in start-up order and connected to
// the main window's commands: what Vok runs, and what the tests walk. No table is open yet.
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
    std::unique_ptr<TForm10> form10;
    std::unique_ptr<TForm11> form11;
    std::unique_ptr<TForm12> form12;
    std::unique_ptr<TForm15> form15;
    std::unique_ptr<TDataModule17> dataModule17;
    std::unique_ptr<TForm18> form18;
    std::unique_ptr<TForm19> form19;
};
