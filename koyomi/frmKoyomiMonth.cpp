#include "koyomi/frmKoyomiMonth.h"

#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "almanac/almanacLines.h"
#include "app/dayStep.h"
#include "koyomi/koyomiText.h"
#include "platform/regularFile.h"
#include "ui/fonts.h"
#include "ui/framePos.h"
#include "ui/msgBox.h"
#include "ui/sjis.h"

namespace {

QPushButton* button(QWidget* parent, QLayout* row, const char* name, const QString& text)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    row->addWidget(b);
    return b;
}

bool sameSite(const almanac::Site& a, const almanac::Site& b)
{
    return a.latitude == b.latitude && a.longitude == b.longitude && a.timeZone == b.timeZone &&
           a.summerTime == b.summerTime;
}

}  // namespace

TcKoyomiMonth::TcKoyomiMonth(const TcMainState& state, QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      cMain(state)
{
    setObjectName(QStringLiteral("cKoyomiMonth"));
    setFont(ui::dialogFont());
    auto* box = new QVBoxLayout(this);
    box->setSizeConstraint(QLayout::SetFixedSize);

    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setTextFormat(Qt::PlainText);
    box->addWidget(lblTitle);

    table = new QTableWidget(0, koyomi::kMonthViewColumns, this);
    table->setObjectName(QStringLiteral("tblMonth"));
    QStringList heads;
    for (int c = 0; c < koyomi::kMonthViewColumns; ++c)
        heads << QString::fromUtf8(koyomi::kMonthViewHeadings[c]);
    table->setHorizontalHeaderLabels(heads);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setFocusPolicy(Qt::NoFocus);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->addWidget(table);

    auto* row = new QHBoxLayout;
    cmdPrev = button(this, row, "cmdPrev", QStringLiteral("前月(&P)"));
    cmdThis = button(this, row, "cmdThis", QStringLiteral("今月(&T)"));
    cmdNext = button(this, row, "cmdNext", QStringLiteral("翌月(&N)"));
    row->addStretch();
    cmdSave = button(this, row, "cmdSave", QStringLiteral("CSVで保存(&S)"));
    cmdPrint = button(this, row, "cmdPrint", QStringLiteral("印刷(&R)"));
    cmdClose = button(this, row, "cmdClose", QStringLiteral("閉じる"));
    box->addLayout(row);

    connect(cmdPrev, &QPushButton::clicked, this, [this] { showMonth(month == 1 ? year - 1 : year, month == 1 ? 12 : month - 1); });
    connect(cmdNext, &QPushButton::clicked, this, [this] { showMonth(month == 12 ? year + 1 : year, month == 12 ? 1 : month + 1); });
    connect(cmdThis, &QPushButton::clicked, this, [this] { showMonth(cMain.dispYear, cMain.dispMonth); });
    connect(cmdSave, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(
            this, QStringLiteral("CSVで保存"), QStringLiteral("koyomi-%1-%2.csv").arg(year).arg(month, 2, 10, QLatin1Char('0')),
            QStringLiteral("CSV (*.csv)"));
        if (!path.isEmpty())
            saveCsv(path);
    });
    connect(cmdPrint, &QPushButton::clicked, this, [this] {
        QPrinter printer(QPrinter::HighResolution);
        QPrintPreviewDialog preview(&printer, this);
        connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* p) { printTo(p); });
        preview.exec();
    });
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
}

QString TcKoyomiMonth::siteName() const
{
    return ui::fromSjis(siteNameBytes(cMain)).trimmed();
}

void TcKoyomiMonth::funcShow()
{
    if (!placed) {
        ui::placeBelow(this, parentWidget());
        placed = true;
    }
    showMonth(cMain.dispYear, cMain.dispMonth);
    show();
    // Kept on the screen: moved up when its bottom would be below it.
    const QRect screenArea = screen()->availableGeometry();
    const QRect frame = frameGeometry();
    if (frame.bottom() > screenArea.bottom())
        ui::moveFrame(this, QPoint(frame.left(), std::max(screenArea.top(), screenArea.bottom() - frame.height())));
    raise();
    activateWindow();
}

void TcKoyomiMonth::funcDisp()
{
    if (!isVisible())
        return;
    if (!sameSite(shownSite, almanacSite(cMain)))
        fill();
    highlight();
}

void TcKoyomiMonth::showMonth(int y, int m)
{
    if (y < kFirstYear || y > kLastYear)
        return;
    year = y;
    month = m;
    fill();
}

void TcKoyomiMonth::fill()
{
    shownSite = almanacSite(cMain);
    shown = koyomi::monthView(shownSite, year, month);
    const QString title = QStringLiteral("月間こよみ  %1  %2").arg(ui::fromUtf8(shown.title), siteName());
    setWindowTitle(title);
    lblTitle->setText(title);
    table->setRowCount(static_cast<int>(shown.rows.size()));
    for (int r = 0; r < table->rowCount(); ++r) {
        const koyomi::MonthViewRow& row = shown.rows[static_cast<std::size_t>(r)];
        const std::vector<std::string> cells = koyomi::monthViewCells(row);
        for (int c = 0; c < koyomi::kMonthViewColumns; ++c) {
            auto* item = new QTableWidgetItem(ui::fromUtf8(cells[static_cast<std::size_t>(c)]));
            if (row.redDay)
                item->setForeground(QColor(0xc0, 0, 0));
            table->setItem(r, c, item);
        }
    }
    table->resizeColumnsToContents();
    table->resizeRowsToContents();
    int width = 2 * table->frameWidth(), height = 2 * table->frameWidth() + table->horizontalHeader()->height();
    for (int c = 0; c < table->columnCount(); ++c)
        width += table->columnWidth(c);
    for (int r = 0; r < table->rowCount(); ++r)
        height += table->rowHeight(r);
    // On a screen too low for the whole month the table scrolls.
    const QMargins margins = layout()->contentsMargins();
    const int room = screen()->availableGeometry().height() - lblTitle->sizeHint().height() -
                     cmdClose->sizeHint().height() - 2 * layout()->spacing() - margins.top() - margins.bottom() -
                     40;  // the window's frame and title bar
    const bool scrolls = height > room && room > 0;
    table->setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    if (scrolls) {
        height = room;
        width += table->verticalScrollBar()->sizeHint().width();
    }
    table->setFixedSize(width, height);
    cmdPrev->setEnabled(!(year == kFirstYear && month == 1));
    cmdNext->setEnabled(!(year == kLastYear && month == 12));
    highlight();
}

void TcKoyomiMonth::highlight()
{
    const bool here = cMain.dispYear == year && cMain.dispMonth == month;
    for (int r = 0; r < table->rowCount(); ++r)
        for (int c = 0; c < table->columnCount(); ++c)
            if (QTableWidgetItem* item = table->item(r, c))
                item->setBackground(here && r + 1 == cMain.dispDay ? QBrush(QColor(0xff, 0xf0, 0xa0)) : QBrush());
}

bool TcKoyomiMonth::saveCsv(const QString& path)
{
    if (fileio::writeWholeFile(QFile::encodeName(path).toStdString(), koyomi::koyomiCsv(year, month)))
        return true;
    ui::showMessage(this, QStringLiteral("%1 に保存できません: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno))));
    return false;
}

void TcKoyomiMonth::printTo(QPrinter* printer) const
{
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageOrientation(QPageLayout::Portrait);
    printer->setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
    QTextDocument document;
    QFont font = ui::dialogFont();
    font.setPointSizeF(11);
    document.setDefaultFont(font);
    document.setHtml(ui::fromUtf8(koyomi::monthViewHtml(shown, siteName().toStdString())));
    document.print(printer);
}

void TcKoyomiMonth::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
