// TcReg: the registration dialog "観測地データの登録". Answers regResult:
// 0 new, 1 new and start-up default, 2 overwrite, 3 overwrite and default,
// 5 cancel.
#pragma once

#include <QDialog>

class TcReg : public QDialog {
    Q_OBJECT
public:
    explicit TcReg(QWidget* owner);
    int regResult = 5;
};
