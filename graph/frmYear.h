// TcYear: the window "日照の一年". For the current site and the displayed
// date's year: the hours of day, twilight and night of every date, or the
// sky's levels at their clock times with sunrise and sunset; the displayed
// date marked. Modeless; the main window tells it of every new display.
#pragma once

#include <QWidget>

#include "app/mainState.h"

class QLabel;
class QRadioButton;
class TcYearGraph;

class TcYear : public QWidget {
    Q_OBJECT
public:
    TcYear(const TcMainState& cMain, QWidget* owner);
    void funcShow();
    // Redraws for the displayed date while the window is shown.
    void funcDisp();

    TcYearGraph* yearGraph;
    QRadioButton* optHours;
    QRadioButton* optClock;
    QLabel* lblTitle;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fill();
    const TcMainState& cMain;
    bool placed = false;
};
