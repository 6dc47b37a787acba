// TcDate: the date dialog "年月日の入力".
#pragma once

#include <QDialog>

#include "app/mainState.h"

class TcDate : public QDialog {
    Q_OBJECT
public:
    TcDate(TcMainState& cMain, QWidget* owner);

private:
    TcMainState& cMain;
};
