// TcReg: the registration dialog "観測地データの登録". Answers regResult:
// 0 new, 1 new and start-up default, 2 overwrite, 3 overwrite and default,
// 5 cancel.
#pragma once

#include "ui/modalDialog.h"

class QCheckBox;
class QLabel;
class QPushButton;

class TcReg : public ui::TcModalDialog {
    Q_OBJECT
public:
    explicit TcReg(QWidget* owner);
    int regResult = 5;

public slots:
    // Every showing starts unticked with the answer "cancel", so a close by
    // any other route than the new and overwrite buttons answers cancel.
    void regActive();
    void cmdNewClick();
    void cmdOverClick();
    void cmdCancelClick();

protected:
    void showing() override;

private:
    QLabel* LabelCaption;
    QCheckBox* checkDefault;
    QPushButton* cmdNew;
    QPushButton* cmdOver;
    QPushButton* cmdCancel;
};
