#include "graph/frmYear.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "almanac/almanacLines.h"
#include "graph/graphPainter.h"
#include "graph/graphWidgets.h"
#include "ui/fonts.h"
#include "ui/framePos.h"
#include "ui/sjis.h"

TcYear::TcYear(const TcMainState& state, QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      cMain(state)
{
    setObjectName(QStringLiteral("cYear"));
    setWindowTitle(QStringLiteral("日照の一年"));
    setFont(ui::dialogFont());
    auto* box = new QVBoxLayout(this);
    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setTextFormat(Qt::PlainText);
    box->addWidget(lblTitle);
    auto* row = new QHBoxLayout;
    optHours = new QRadioButton(QStringLiteral("昼と薄明の長さ(&L)"), this);
    optHours->setObjectName(QStringLiteral("optHours"));
    optClock = new QRadioButton(QStringLiteral("日の出・日の入りの時刻(&T)"), this);
    optClock->setObjectName(QStringLiteral("optClock"));
    optHours->setChecked(true);
    row->addWidget(optHours);
    row->addWidget(optClock);
    row->addStretch(1);
    // The key of the colours.
    for (graph::SkyLevel lv : {graph::SkyLevel::day, graph::SkyLevel::civil, graph::SkyLevel::nautical,
                               graph::SkyLevel::astronomical, graph::SkyLevel::night}) {
        static const char* const names[] = {"夜", "天文薄明", "航海薄明", "常用薄明", "昼"};
        auto* key = new QLabel(QString::fromUtf8(names[int(lv)]), this);
        const QColor c = graph::skyColour(lv);
        key->setStyleSheet(QStringLiteral("QLabel { background: %1; color: %2; padding: 1px 4px; }")
                               .arg(c.name(), c.lightness() > 140 ? QStringLiteral("black") : QStringLiteral("white")));
        row->addWidget(key);
    }
    box->addLayout(row);
    yearGraph = new TcYearGraph(this);
    box->addWidget(yearGraph, 1);
    connect(optHours, &QRadioButton::toggled, this,
            [this](bool on) { yearGraph->setView(on ? graph::YearView::durations : graph::YearView::clock); });
}

void TcYear::funcShow()
{
    if (!placed) {
        resize(sizeHint());
        ui::placeBelow(this, parentWidget());
        placed = true;
    }
    fill();
    show();
    raise();
    activateWindow();
}

void TcYear::funcDisp()
{
    if (isVisible())
        fill();
}

void TcYear::fill()
{
    const almanac::Site site = almanacSite(cMain);
    lblTitle->setText(QStringLiteral("%1年  ").arg(cMain.dispYear) +
                      ui::fromSjis(siteNameBytes(cMain)).trimmed() +
                      QStringLiteral("  （赤い線は %1月%2日、右クリックで画像を保存）").arg(cMain.dispMonth).arg(cMain.dispDay));
    yearGraph->setDate(site, cMain.dispYear, cMain.dispMonth, cMain.dispDay);
}

void TcYear::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
