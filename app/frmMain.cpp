#include "app/frmMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QEvent>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QToolButton>

#include "app/dayStep.h"
#include "app/dispLines.h"
#include "almanac/almanac.h"
#include "almanac/almanacLines.h"
#include "almanac/frmAlmanac.h"
#include "app/settingsStore.h"
#include "graph/frmYear.h"
#include "koyomi/frmKoyomiMonth.h"
#include "app/today.h"
#include "date/frmDate.h"
#include "sites/frmLoc.h"
#include "table/frmTable.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/framePos.h"
#include "ui/modalDialog.h"
#include "ui/msgBox.h"
#include "app/phaseImage.h"
#include "ui/sjis.h"

namespace {

const QString kNoHelp = QStringLiteral("このコンピュータではHTMLヘルプは動作しません。");
const QString kNoHelpCaption = QStringLiteral("NOTICE");
const QString kNoSiteDialog = QStringLiteral("観測地を設定できません。");
const QString kCannotStore = QStringLiteral("設定を保存できません。");
const QString kQuitUnsaved = QStringLiteral("設定を保存せずに終了しますか？");
const QString kNoSettingsPlace = QStringLiteral("設定の保存場所（HOME または XDG_CONFIG_HOME）がありません。設定は保存されません。");

// Size of the area below the menu bar.
constexpr int kClientWidth = 372;
constexpr int kClientHeight = 175;

QLabel* makeLine(QWidget* parent, const char* name, int y)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->move(164, y);
    return label;
}

QIcon resourceIcon(const char* picture)
{
    return QIcon(QStringLiteral(":/resources/") + QLatin1String(picture));
}

void setLine(QLabel* label, const std::string& utf8)
{
    label->setText(ui::fromUtf8(utf8));
    label->adjustSize();  // the label takes the width of its text
}

}  // namespace

TcMain::TcMain(TcMainState& state, const TcCalc& calc) : cMain(state), cCalc(calc)
{
    setObjectName(QStringLiteral("cMain"));
    setWindowTitle(QStringLiteral("Lunvelde"));
    setWindowIcon(QIcon(QStringLiteral(":/resources/lunvelde.png")));
    // A fixed single border with the system menu, minimise and close boxes.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(ui::dialogFont());

    cMain.siteNameText.clear();
    buildControls();
    buildMenu();
    // The window is exactly as large as its menu bar and client area.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    funcCreate();
    // The first showing: settings, constants, start-up site, today's date
    // and the first display are in place before the window is mapped. (A
    // message box shown from inside the toolkit's show event would run its
    // own event loop while the native window is half set up.)
    funcShow();
    show();
}

void TcMain::buildControls()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);

    Panel1 = new QFrame(client);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setGeometry(0, 0, 369, 33);

    // Flat picture buttons take no keyboard focus; only the two step
    // buttons do.
    auto pictureButton = [this](const char* name, const char* picture, int x, const QString& tip) {
        auto* b = ui::placed(new QToolButton(Panel1), name, QRect(x, 4, 25, 25));
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setIcon(resourceIcon(picture));
        b->setIconSize(QSize(20, 20));
        b->setToolTip(tip);
        return b;
    };
    cmdExit = pictureButton("cmdExit", "btn_exit.png", 8, QStringLiteral("終了します。"));
    cmdDate = pictureButton("cmdDate", "btn_date.png", 44, QStringLiteral("年月日を設定します。"));
    cmdLocate = pictureButton("cmdLocate", "btn_locate.png", 72, QStringLiteral("観測地を設定・変更します。"));
    cmdCalc = pictureButton("cmdCalc", "btn_calc.png", 100, QStringLiteral("月間出没時刻表を表示します。"));
    cmdHelp = pictureButton("cmdHelp", "btn_help.png", 332, QStringLiteral("ヘルプを表示します。"));

    auto stepButton = [this](const char* name, const QString& text, const char* picture, int x, const QString& tip) {
        auto* b = ui::makeButton(Panel1, name, text, QRect(x, 4, 73, 25), ui::EnterKey::PressesFocused);
        b->setIcon(resourceIcon(picture));
        b->setIconSize(QSize(16, 16));
        b->setToolTip(tip);
        connect(b, &QPushButton::clicked, this, [this, b] { funcStep(b); });
        return b;
    };
    cmdBefore = stepButton("cmdBefore", QStringLiteral("前　日"), "btn_before.png", 148,
                           QStringLiteral("表示を前日に戻します。"));
    cmdNext = stepButton("cmdNext", QStringLiteral("翌　日"), "btn_next.png", 224,
                         QStringLiteral("表示を翌日に進めます。"));
    setTabOrder(cmdNext, cmdBefore);

    connect(cmdExit, &QToolButton::clicked, this, [this] { funcExit2(); });
    connect(cmdDate, &QToolButton::clicked, this, [this] { funcDate(); });
    connect(cmdLocate, &QToolButton::clicked, this, [this] { funcLocate(); });
    connect(cmdCalc, &QToolButton::clicked, this, [this] { funcTable(); });
    connect(cmdHelp, &QToolButton::clicked, this, [this] { mnuHelpClick(); });

    // The phase picture, shown unscaled from its top-left corner; a click on
    // it steps forward.
    imgDisp = new QLabel(client);
    imgDisp->setObjectName(QStringLiteral("imgDisp"));
    imgDisp->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    imgDisp->setGeometry(4, 36, 137, 133);
    imgDisp->installEventFilter(this);

    lblDate = makeLine(client, "lblDate", 48);
    lblSun = makeLine(client, "lblSun", 76);
    lblMoon = makeLine(client, "lblMoon", 104);
    lblAge = makeLine(client, "lblAge", 132);

    cmdNext->setFocus();
}

void TcMain::buildMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("mnuMain"));

    auto item = [this](QMenu* menu, const char* name, const QString& text) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };

    QMenu* file = bar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    file->setObjectName(QStringLiteral("F1"));
    mnuExit = item(file, "mnuExit", QStringLiteral("終了(&E)"));

    QMenu* settings = bar->addMenu(QStringLiteral("設定(&S)"));
    settings->setObjectName(QStringLiteral("KS1"));
    mnuDate = item(settings, "mnuDate", QStringLiteral("年月日(&D)"));
    mnuLoc = item(settings, "mnuLoc", QStringLiteral("観測地(&L)"));

    QMenu* view = bar->addMenu(QStringLiteral("表示(&D)"));
    view->setObjectName(QStringLiteral("KC1"));
    mnuNext = item(view, "mnuNext", QStringLiteral("翌日(&N)"));
    mnuBefore = item(view, "mnuBefore", QStringLiteral("前日(&B)"));
    mnuToday = item(view, "mnuToday", QStringLiteral("今日(&T)"));
    mnuTable = item(view, "mnuTable", QStringLiteral("連続計算(&C)"));
    mnuAlmanac = item(view, "mnuAlmanac", QStringLiteral("こよみの詳細(&K)"));
    mnuYear = item(view, "mnuYear", QStringLiteral("日照の一年(&Y)"));
    mnuKoyomiMonth = item(view, "mnuKoyomiMonth", QStringLiteral("月間こよみ(&M)"));
    mnuKoyomiMonth->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    mnuKoyomiMonth->setShortcutContext(Qt::WindowShortcut);

    // The help item acts itself; F1 reaches it anywhere in the window.
    mnuHelp = new QAction(QStringLiteral("ﾍﾙﾌﾟ(&H)"), this);
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelp->setShortcut(QKeySequence(Qt::Key_F1));
    mnuHelp->setShortcutContext(Qt::WindowShortcut);
    bar->addAction(mnuHelp);
    addAction(mnuHelp);
    // The arrow and page keys step the day wherever the focus is.
    mnuNext->setShortcuts({QKeySequence(Qt::Key_Right), QKeySequence(Qt::Key_PageDown)});
    mnuBefore->setShortcuts({QKeySequence(Qt::Key_Left), QKeySequence(Qt::Key_PageUp)});
    mnuToday->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));

    connect(mnuExit, &QAction::triggered, this, [this] { mnuExitClick(); });
    connect(mnuDate, &QAction::triggered, this, [this] { funcDate(); });
    connect(mnuLoc, &QAction::triggered, this, [this] { funcLocate(); });
    connect(mnuNext, &QAction::triggered, this, [this] { funcStep(mnuNext); });
    connect(mnuBefore, &QAction::triggered, this, [this] { funcStep(mnuBefore); });
    connect(mnuToday, &QAction::triggered, this, [this] { funcTodayShown(); });
    connect(mnuTable, &QAction::triggered, this, [this] { funcTable(); });
    connect(mnuAlmanac, &QAction::triggered, this, [this] { funcAlmanac(); });
    connect(mnuYear, &QAction::triggered, this, [this] { funcYear(); });
    connect(mnuKoyomiMonth, &QAction::triggered, this, [this] { funcKoyomiMonth(); });
    connect(mnuHelp, &QAction::triggered, this, [this] { mnuHelpClick(); });
}

void TcMain::setDialogs(TcDate* date, TcLocate* locate, TcTable* table)
{
    cDate = date;
    cLocate = locate;
    cTable = table;
    // F1 asks for help in every dialog too.
    for (QWidget* dialog : {static_cast<QWidget*>(date), static_cast<QWidget*>(locate), static_cast<QWidget*>(table)})
        if (dialog)
            dialog->addAction(mnuHelp);
}

// ---------------------------------------------------------------------------
// Settings

bool TcMain::storeSettings()
{
    settings::Values values;
    values.top = y();
    values.left = x();
    values.initData = cMain.defaultSiteIndex;
    // Settings that could not be read at start are never replaced by what
    // the window holds now (the defaults, in part): the close asks instead.
    if (settingsGivenUp || (!settingsUnread && settings::write(values)))
        return true;
    const QString file = settings::path();
    if (file.isEmpty()) {
        // Nowhere to store them: said once, and the program ends all the same.
        ui::showMessage(this, kCannotStore + QLatin1Char('\n') + kNoSettingsPlace);
        settingsGivenUp = true;
        return true;
    }
    // The user may always leave, without the settings.
    settingsGivenUp = ui::askYesNo(this, kCannotStore + QLatin1Char('\n') + file + QLatin1Char('\n') + kQuitUnsaved);
    return settingsGivenUp;
}

// ---------------------------------------------------------------------------
// Window events

void TcMain::funcCreate()
{
    helpAvailable = help.funcCreate() ? 1 : 0;
    if (!helpAvailable)
        ui::showInformation(this, kNoHelp, kNoHelpCaption);
}

void TcMain::funcShow()
{
    settings::Values stored;
    // The defaults when the values cannot be read.
    settingsUnread = settings::read(stored) == settings::Found::Unreadable;
    ui::moveFrame(this, QPoint(stored.left, stored.top));
    cMain.defaultSiteIndex = stored.initData;

    cMain.pi = 3.141592653589793;
    cMain.twoPi = cMain.pi * 2;

    cMain.siteFileMissing = 0;
    if (TcLocate::loadSite(cMain) != 0) {
        putDefaultSite(cMain);
        cMain.siteFileMissing = 1;
        cMain.defaultSiteIndex = 0;
    }

    cMain.dispYear = funcToday(cMain.dispMonth, cMain.dispDay);
    funcDisp();
}

void TcMain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        funcActive();
}

void TcMain::funcActive()
{
    funcDisp();
    repaint();
}

void TcMain::closeEvent(QCloseEvent* event)
{
    // A close that cannot store the settings does not take place.
    if (!storeSettings()) {
        event->ignore();
        return;
    }
    help.release();
    event->accept();
}

void TcMain::funcExit2()
{
    if (storeSettings())
        close();
}

void TcMain::mnuExitClick()
{
    close();
}

bool TcMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == imgDisp && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && imgDisp->rect().contains(mouse->position().toPoint())) {
            funcStep(imgDisp);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// Display and stepping

void TcMain::funcDisp()
{
    TcDayResult result {};
    cCalc.mooncalc(cMain.dispYear, cMain.dispMonth, cMain.dispDay, result);
    const DispLines lines = dispLines(cMain.dispYear, cMain.dispMonth, cMain.dispDay, result, cMain.twoPi);
    setLine(lblSun, lines.sun);
    // The sun line shows --:-- alike for polar day and night: the tool tip
    // tells them apart.
    lblSun->setToolTip(lines.sun.find("--:--") == std::string::npos
                           ? QString()
                           : ui::fromUtf8(sunAllDayNote(almanac::computeDay(almanacSite(cMain), cMain.dispYear,
                                                                            cMain.dispMonth, cMain.dispDay))));
    setLine(lblMoon, lines.moon);
    setLine(lblAge, lines.age);
    setLine(lblDate, lines.date);
    funcPhase(result.moonAge);
    setWindowTitle(QStringLiteral("Lunvelde  ") + ui::fromSjis(siteNameShown(cMain)));
    repaint();
    if (cAlmanac)
        cAlmanac->funcDisp();
    if (cYear)
        cYear->funcDisp();
    if (cKoyomiMonth)
        cKoyomiMonth->funcDisp();
}

void TcMain::funcPhase(double age)
{
    imgDisp->setPixmap(QPixmap::fromImage(ui::phaseImage(age, cMain.pi, cMain.twoPi)));
}

void TcMain::funcStep(const QObject* sender)
{
    const QString name = sender ? sender->objectName() : QString();
    const int d = (name == QLatin1String("cmdBefore") || name == QLatin1String("mnuBefore")) ? -1 : 1;
    stepDay(cMain.dispYear, cMain.dispMonth, cMain.dispDay, d);
    funcDisp();
}

void TcMain::funcTodayShown()
{
    cMain.dispYear = funcToday(cMain.dispMonth, cMain.dispDay);
    funcDisp();
}

void TcMain::funcDate()
{
    if (ui::showModalBelow(cDate, this))
        funcDisp();
}

void TcMain::funcLocate()
{
    if (cMain.siteFileMissing == 1) {
        ui::showMessage(this, kNoSiteDialog);
        return;
    }
    if (ui::showModalBelow(cLocate, this))
        funcDisp();
}

void TcMain::funcTable()
{
    // No redraw here: the window redraws when it becomes active again.
    ui::showModalBelow(cTable, this);
}

void TcMain::funcKoyomiMonth()
{
    if (!cKoyomiMonth)
        cKoyomiMonth = new TcKoyomiMonth(cMain, this);
    cKoyomiMonth->funcShow();
}

void TcMain::funcAlmanac()
{
    if (!cAlmanac) {
        cAlmanac = new TcAlmanac(cMain, cCalc, this);
        // The day keys, today and help work there as here; with no menu bar
        // of its own, Alt+D then N, B or T reach the view menu's items.
        cAlmanac->addActions({mnuNext, mnuBefore, mnuToday, mnuHelp});
        for (QAction* target : {mnuNext, mnuBefore, mnuToday}) {
            auto* chord = new QAction(cAlmanac);
            const QChar mnemonic = target->text().at(target->text().indexOf(QLatin1Char('&')) + 1);
            chord->setShortcut(QKeySequence(QStringLiteral("Alt+D, ") + mnemonic));
            connect(chord, &QAction::triggered, target, &QAction::trigger);
            cAlmanac->addAction(chord);
        }
    }
    cAlmanac->funcShow();
}

void TcMain::funcYear()
{
    if (!cYear)
        cYear = new TcYear(cMain, this);
    cYear->funcShow();
}

void TcMain::mnuHelpClick()
{
    if (!helpAvailable) {
        ui::showInformation(this, kNoHelp, kNoHelpCaption);
        return;
    }
    help.show();
}
