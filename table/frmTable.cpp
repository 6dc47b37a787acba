#include "table/frmTable.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocumentFragment>

#include "table/monthRows.h"
#include "ui/controls.h"
#include "ui/fonts.h"

namespace {

// The table's text view. A selection copied from it (Ctrl+C, the X selection,
// a drag) has CR LF line ends like the rows クリップ copies: one between two
// lines, and one after the last line only when the selection takes in its
// line end.
class TableView : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    QMimeData* createMimeDataFromSelection() const override
    {
        QString text = textCursor().selection().toPlainText();
        text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
        auto* data = new QMimeData;
        data->setText(text);
        return data;
    }
};

}  // namespace

TcTable::TcTable(const TcMainState& state, const TcCalc& calc, QWidget* owner)
    : TcModalDialog(owner, Frame::Tool, QStringLiteral("月間出没時刻"), QSize(437, 292), Keys::Standard),
      cMain(state),
      cCalc(calc)
{
    QPalette black = palette();
    black.setColor(QPalette::WindowText, Qt::black);
    black.setColor(QPalette::Text, Qt::black);

    // The header: every double-byte character (the ideographic spaces too)
    // is two columns wide in the fixed font, so the words stand above the
    // columns of the rows.
    lbl1 = ui::placed(new QLabel(QStringLiteral("　　年  月  日　　日出 　 日没   月出  　月没  　月齢"), this), "lbl1",
                      QRect(4, 8, 318, 12));
    lbl1->setFont(ui::fixedFont());
    lbl1->setPalette(black);

    memTable = ui::placed(new TableView(this), "memTable", QRect(4, 24, 429, 225));
    memTable->setReadOnly(true);
    memTable->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memTable->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Tab passes the view by, but a click puts the focus in it, so that a
    // part of the table can be selected and copied with the keyboard.
    memTable->setFocusPolicy(Qt::ClickFocus);
    memTable->setFont(ui::fixedFont());
    memTable->setPalette(black);
    // A narrow inner margin puts the first column of the rows under the first
    // column of the header.
    memTable->document()->setDocumentMargin(2);

    // Enter presses the focused button and Escape closes, as in any dialog.
    const auto focused = ui::EnterKey::PressesFocused;
    cmdClose = ui::makeButton(this, "cmdClose", QStringLiteral("閉じる"), QRect(248, 260, 81, 25), focused);
    cmdClip = ui::makeButton(this, "cmdClip", QStringLiteral("クリップ"), QRect(340, 260, 77, 25), focused);
    setTabOrder(cmdClose, cmdClip);

    connect(cmdClose, &QPushButton::clicked, this, &TcTable::funcClose);
    connect(cmdClip, &QPushButton::clicked, this, &TcTable::funcClip);
}

void TcTable::funcShow()
{
    // Only the year and month of the displayed date count: the table always
    // starts at day 1.
    shownRows = monthRows(cCalc, cMain.dispYear, cMain.dispMonth);
    QString text;
    text.reserve(static_cast<qsizetype>(shownRows.size() * 56));
    for (std::size_t i = 0; i < shownRows.size(); ++i) {
        if (i)
            text += QLatin1Char('\n');
        text += QLatin1String(shownRows[i].data(), static_cast<qsizetype>(shownRows[i].size()));
    }
    memTable->setPlainText(text);
}

void TcTable::funcClip()
{
    const std::string bytes = monthText(shownRows);
    QGuiApplication::clipboard()->setText(
        QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

void TcTable::funcClose()
{
    close();
}
