// TcReg: the registration dialog "観測地データの登録". Answers regResult:
// new or overwrite, each also as the start-up default, or cancel.
#pragma once

#include "ui/modalDialog.h"

class QCheckBox;
class QLabel;
class QPushButton;

class TcReg : public ui::TcModalDialog {
    Q_OBJECT
public:
    explicit TcReg(QWidget* owner);

    // The answers: the base value of new or overwrite, plus one when the
    // record written becomes the start-up default. There is no value 4.
    static constexpr int kNew = 0;
    static constexpr int kNewDefault = 1;
    static constexpr int kOverwrite = 2;
    static constexpr int kOverwriteDefault = 3;
    static constexpr int kCancel = 5;
    int regResult = kCancel;

    // Before the dialog is shown: the name as the file will keep it when
    // that is less than what was typed (said in the dialog), else empty.
    void tellCut(const QString& storedName);
    QLabel* lblCut;

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
