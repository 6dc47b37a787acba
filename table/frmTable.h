// TcTable: the month table window "月間出没時刻".
#pragma once

#include <QDialog>

#include "app/mainState.h"
#include "engine/prcCalc.h"

class TcTable : public QDialog {
    Q_OBJECT
public:
    TcTable(const TcMainState& cMain, const TcCalc& cCalc, QWidget* owner);

private:
    const TcMainState& cMain;
    const TcCalc& cCalc;
};
