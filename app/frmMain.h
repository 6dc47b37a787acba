// TcMain: the main window. Owns (by reference) the program's shared state.
#pragma once

#include <QMainWindow>

#include "app/mainState.h"
#include "engine/prcCalc.h"

class TcDate;
class TcLocate;
class TcTable;

class TcMain : public QMainWindow {
    Q_OBJECT
public:
    // Creates the window visible: its creation, show and activation handlers
    // run before the dialogs exist.
    TcMain(TcMainState& cMain, const TcCalc& cCalc);

    // The dialogs are created after the main window and handed over here.
    void setDialogs(TcDate* date, TcLocate* locate, TcTable* table);

private:
    TcMainState& state;
    const TcCalc& cCalc;
    TcDate* cDate = nullptr;
    TcLocate* cLocate = nullptr;
    TcTable* cTable = nullptr;
};
