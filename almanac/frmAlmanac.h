// TcAlmanac: the window "こよみの詳細". Shows, for the displayed date at the
// current site, the precise rise, transit and set of the sun and the moon,
// the three twilights, the noon moon age and illuminated fraction and the
// principal phases of the month, beside the main window's figures, and the
// Japanese calendar of the day (koyomi/koyomiText.h). Modeless;
// the main window tells it of every new display while it is open.
#pragma once

#include <QWidget>
#include <vector>

#include "almanac/almanac.h"
#include "almanac/almanacLines.h"
#include "app/mainState.h"
#include "engine/prcCalc.h"

class QLabel;
class QPushButton;
class QScrollArea;
class TcDayGraph;
class TcMoonView;

class TcAlmanac : public QWidget {
    Q_OBJECT
public:
    TcAlmanac(const TcMainState& cMain, const TcCalc& cCalc, QWidget* owner);

    // Shows the window (placed below its owner the first time) and brings
    // it to the front, with the figures of the displayed date.
    void funcShow();
    // Recomputes and redraws while the window is shown; nothing otherwise.
    void funcDisp();

    // What the window shows, as computed by the last funcDisp.
    const AlmanacSheet& sheet() const { return shown; }
    // The calendar block's lines, as shown.
    const std::vector<std::string>& koyomiLines() const { return koyomiShown; }

    QLabel* lblDate;
    QLabel* lblSite;
    QLabel* lblNote;  // what the figures are not; hidden when there is nothing to say
    QPushButton* cmdClose;
    TcDayGraph* dayGraph;  // the day's altitudes, under the figures
    TcMoonView* moonView;  // the moon as it stands, beside the day

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fill();
    // Sizes the window to its page, or to the screen where the page is
    // larger (the page then scrolls).
    void fitToScreen();
    QWidget* page = nullptr;  // the figures, at their own size
    QScrollArea* scroll = nullptr;

    const TcMainState& cMain;
    const TcCalc& cCalc;
    bool placed = false;
    AlmanacSheet shown;
    // Cells: the event rows (4 columns), the twilight rows (3), the phases.
    std::vector<std::vector<QLabel*>> eventCells;
    std::vector<std::vector<QLabel*>> twilightCells;
    std::vector<QLabel*> phaseCells;
    std::vector<QLabel*> koyomiCells;
    std::vector<std::string> koyomiShown;
    // The phases of one month at one site, kept while the month and site stay.
    struct PhaseKey {
        int year = 0, month = 0;
        almanac::Site site;
        bool operator==(const PhaseKey& o) const;
    } phaseKey;
    bool phasesKnown = false;
    std::vector<almanac::PhaseEvent> phases;
};
