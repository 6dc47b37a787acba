#include "almanac/frmAlmanac.h"

#include <QFrame>
#include <algorithm>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "graph/graphWidgets.h"
#include "koyomi/koyomiText.h"
#include "ui/framePos.h"
#include "ui/fonts.h"
#include "ui/sjis.h"

namespace {

QLabel* cell(QWidget* parent, QGridLayout* grid, int row, int column, const QString& name, Qt::Alignment align,
             bool bold = false, int columns = 1)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    if (bold) {
        QFont f = label->font();
        f.setBold(true);
        label->setFont(f);
    }
    grid->addWidget(label, row, column, 1, columns, align | Qt::AlignVCenter);
    return label;
}

QFrame* rule(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

constexpr int kPhaseRows = 5;   // a month holds four or five principal phases
constexpr int kKoyomiRows = 4;  // the lines of koyomi::koyomiLines

}  // namespace

bool TcAlmanac::PhaseKey::operator==(const PhaseKey& o) const
{
    return year == o.year && month == o.month && site.latitude == o.site.latitude &&
           site.longitude == o.site.longitude && site.timeZone == o.site.timeZone &&
           site.summerTime == o.site.summerTime;
}

TcAlmanac::TcAlmanac(const TcMainState& state, const TcCalc& calc, QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      cMain(state),
      cCalc(calc)
{
    setObjectName(QStringLiteral("cAlmanac"));
    setWindowTitle(QStringLiteral("こよみの詳細"));
    setFont(ui::dialogFont());

    // The figures stand on a page of their own size; where a screen is
    // too small for it (a large scale factor), the window shows the page
    // in a scroll area instead of running off the screen.
    page = new QWidget;
    page->setObjectName(QStringLiteral("page"));
    auto* grid = new QGridLayout(page);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(3);
    const Qt::Alignment left = Qt::AlignLeft, right = Qt::AlignRight;
    int row = 0;

    lblDate = cell(this, grid, row++, 0, QStringLiteral("lblDate"), left, true, 4);
    lblSite = cell(this, grid, row++, 0, QStringLiteral("lblSite"), left, false, 4);
    lblNote = cell(this, grid, row++, 0, QStringLiteral("lblNote"), left, false, 4);
    lblNote->hide();
    grid->addWidget(rule(this), row++, 0, 1, 4);

    // A heading row, rows of cells named name<row>_<column>, and a rule.
    const auto block = [&](const QStringList& heads, int rows, const QString& name) {
        std::vector<std::vector<QLabel*>> cells(rows);
        for (int c = 0; c < heads.size(); ++c)
            cell(this, grid, row, c, QString(), c ? right : left, true)->setText(heads[c]);
        ++row;
        for (int r = 0; r < rows; ++r, ++row)
            for (int c = 0; c < heads.size(); ++c)
                cells[r].push_back(cell(this, grid, row, c, QStringLiteral("%1%2_%3").arg(name).arg(r).arg(c),
                                        c ? right : left));
        grid->addWidget(rule(this), row++, 0, 1, 4);
        return cells;
    };
    eventCells = block({QString(), QStringLiteral("時刻"), QStringLiteral("方位・高度"), QStringLiteral("メインウィンドウ")},
                       7, QStringLiteral("event"));
    twilightCells = block({QStringLiteral("薄明"), QStringLiteral("始まり"), QStringLiteral("終わり")}, 3,
                          QStringLiteral("twilight"));

    cell(this, grid, row, 0, QString(), left, true)->setText(QStringLiteral("今月の朔弦望"));
    // The phases stand in two columns: the first three, then the rest.
    for (int i = 0; i < kPhaseRows; ++i) {
        phaseCells.push_back(
            cell(this, grid, row + 1 + i % 3, i < 3 ? 0 : 2, QStringLiteral("phase%1").arg(i), left, false, 2));
    }
    row += 4;
    grid->addWidget(rule(this), row++, 0, 1, 4);

    // The day as a picture and the moon as it stands, under the figures.
    auto* pictures = new QHBoxLayout;
    pictures->setSpacing(6);
    dayGraph = new TcDayGraph(this);
    moonView = new TcMoonView(this);
    pictures->addWidget(dayGraph);
    pictures->addWidget(moonView);
    grid->addLayout(pictures, row++, 0, 1, 4, Qt::AlignLeft);

    // The Japanese calendar of the day, for Japan Standard Time.
    grid->addWidget(rule(this), row++, 0, 1, 4);
    cell(this, grid, row++, 0, QString(), left, true, 4)->setText(QStringLiteral("こよみ（日本標準時）"));
    for (int i = 0; i < kKoyomiRows; ++i)
        koyomiCells.push_back(cell(this, grid, row++, 0, QStringLiteral("koyomi%1").arg(i), left, false, 4));

    cmdClose = new QPushButton(QStringLiteral("閉じる"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    grid->addWidget(cmdClose, row, 3, Qt::AlignRight);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);

    scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("scrollSheet"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(page);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);
}

void TcAlmanac::fitToScreen()
{
    page->layout()->activate();
    QSize wanted = page->sizeHint();
    const QSize room = ui::sizeOnScreen(this, wanted);
    // A scroll bar takes room of its own where the page does not fit.
    if (room.height() < wanted.height())
        wanted.rwidth() += scroll->verticalScrollBar()->sizeHint().width();
    if (room.width() < wanted.width())
        wanted.rheight() += scroll->horizontalScrollBar()->sizeHint().height();
    resize(ui::sizeOnScreen(this, wanted));
}

void TcAlmanac::funcShow()
{
    // The first time, beside the main window (right, else left, below or
    // above), so that both can be read; where the screen has no room for
    // that, where it hides the least of the main window.
    fill();
    if (!placed) {
        ui::placeBeside(this, parentWidget());
        placed = true;
    }
    show();
    raise();
    activateWindow();
}

void TcAlmanac::funcDisp()
{
    if (isVisible())
        fill();
}

void TcAlmanac::fill()
{
    const almanac::Site site = almanacSite(cMain);
    TcDayResult classic {};
    cCalc.mooncalc(cMain.dispYear, cMain.dispMonth, cMain.dispDay, classic);
    const almanac::Day day = almanac::computeDay(site, cMain.dispYear, cMain.dispMonth, cMain.dispDay);
    // The phases of the month whose day is shown (for 31 February, March's).
    const PhaseKey key {day.year, day.month, site};
    if (!phasesKnown || !(key == phaseKey)) {
        phases = almanac::monthPhases(site, key.year, key.month);
        phaseKey = key;
        phasesKnown = true;
    }
    shown = almanacSheet(site, day, phases, classic, cMain.twoPi);
    dayGraph->setDay(site, day);
    moonView->setDay(site, day);

    lblDate->setText(ui::fromUtf8(shown.date));
    lblSite->setText(ui::fromSjis(siteNameShown(cMain)) + QStringLiteral("  ") +
                     ui::fromUtf8(shown.place));
    QStringList notes;
    for (const std::string& n : shown.notes)
        notes << ui::fromUtf8(n);
    lblNote->setText(notes.join(QLatin1Char('\n')));
    lblNote->setVisible(!notes.isEmpty());
    for (std::size_t r = 0; r < eventCells.size() && r < shown.events.size(); ++r) {
        const AlmanacRow& e = shown.events[r];
        const std::string* texts[] = {&e.label, &e.time, &e.angle, &e.classic};
        for (int c = 0; c < 4; ++c)
            eventCells[r][c]->setText(ui::fromUtf8(*texts[c]));
    }
    for (std::size_t r = 0; r < twilightCells.size() && r < shown.twilights.size(); ++r) {
        const AlmanacTwilight& t = shown.twilights[r];
        twilightCells[r][0]->setText(ui::fromUtf8(t.label));
        twilightCells[r][1]->setText(ui::fromUtf8(t.begin));
        twilightCells[r][2]->setText(ui::fromUtf8(t.end));
    }
    for (std::size_t i = 0; i < phaseCells.size(); ++i)
        phaseCells[i]->setText(i < shown.phases.size() ? ui::fromUtf8(shown.phases[i]) : QString());
    koyomiShown = koyomi::koyomiLines(cMain.dispYear, cMain.dispMonth, cMain.dispDay);
    for (std::size_t i = 0; i < koyomiCells.size(); ++i)
        koyomiCells[i]->setText(i < koyomiShown.size() ? ui::fromUtf8(koyomiShown[i]) : QString());
    // The window keeps the widest width it has had, so that it does not
    // jump as the day's texts change (the site line spans every column).
    QLayout* grid = page->layout();
    const QMargins m = grid->contentsMargins();
    lblSite->setMinimumWidth(std::max(lblSite->minimumWidth(), grid->sizeHint().width() - m.left() - m.right()));
    fitToScreen();
}

void TcAlmanac::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
