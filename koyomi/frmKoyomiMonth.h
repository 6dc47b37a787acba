// TcKoyomiMonth: the window "月間こよみ". One line per day of a month: the
// weekday, the holiday (Sundays and holidays in red), 旧暦 and 六曜, the
// solar term and seasonal days, the sun's and the moon's rise and set at the
// current site, the moon age and the phase of the day; the main window's day
// is highlighted. 前月, 今月 (the main window's month) and 翌月 page through
// the months; 「CSVで保存」 writes the bytes of lunvelde-table --koyomi for
// the month and 「印刷」 prints the month on one A4 page through a preview.
// Modeless; the main window tells it of every new display while it is open.
#pragma once

#include <QWidget>

#include "almanac/almanac.h"
#include "app/mainState.h"
#include "koyomi/monthView.h"

class QLabel;
class QPrinter;
class QPushButton;
class QTableWidget;

class TcKoyomiMonth : public QWidget {
    Q_OBJECT
public:
    TcKoyomiMonth(const TcMainState& cMain, QWidget* owner);

    // Shows the window at the main window's month and brings it to the front.
    void funcShow();
    // Follows the main window while shown: its site, and its day highlighted.
    void funcDisp();
    // Shows a month (clamped to the program's years).
    void showMonth(int year, int month);

    // Writes the month's CSV to path; false (and a message) when it cannot.
    bool saveCsv(const QString& path);
    // Prints the shown month on the printer (one page).
    void printTo(QPrinter* printer) const;

    const koyomi::MonthView& view() const { return shown; }

    QLabel* lblTitle;
    QTableWidget* table;
    QPushButton *cmdPrev, *cmdThis, *cmdNext, *cmdSave, *cmdPrint, *cmdClose;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fill();
    void highlight();
    QString siteName() const;

    const TcMainState& cMain;
    koyomi::MonthView shown;
    almanac::Site shownSite;
    int year = 0, month = 0;
    bool placed = false;
};
