// The month view 月間こよみ: opened from the menu at the main window's month,
// paging through months, the main window's day highlighted, Sundays and
// holidays in red, the CSV file and the printed page.
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>

#include <sys/stat.h>

#include "app/frmMain.h"
#include "app/today.h"
#include "koyomi/frmKoyomiMonth.h"
#include "koyomi/koyomiText.h"
#include "support.h"

class TestKoyomiMonth : public QObject {
    Q_OBJECT

private slots:
    void showsPagesSavesAndPrintsTheMonth()
    {
        support::TestFolders folders;
        support::MessageRecorder recorder;
        support::startTestDay();
        folders.writeWorkFile(QStringLiteral("obspoint.txt"),
                              QByteArray("Sapporo         ") + "  43.06, 141.35,  9.00, 0000, 0,\r\n");
        TcMainState state;
        TcCalc calc(state);
        TcMain main(state, calc);
        QVERIFY(QTest::qWaitForWindowExposed(&main));

        QElapsedTimer opening;
        opening.start();
        main.mnuKoyomiMonth->trigger();
        qInfo("the month view opened in %lld ms", static_cast<long long>(opening.elapsed()));
        TcKoyomiMonth* w = main.koyomiMonthWindow();
        QVERIFY(w && w->isVisible());
        QVERIFY(w->lblTitle->text().contains(QStringLiteral("2000年5月")));
        QCOMPARE(w->table->rowCount(), 31);
        const auto text = [w](int row, int column) { return w->table->item(row, column)->text(); };
        QCOMPARE(text(2, 2), QStringLiteral("憲法記念日"));
        QCOMPARE(w->table->item(2, 0)->foreground().color(), QColor(0xc0, 0, 0));   // a holiday
        QCOMPARE(w->table->item(6, 0)->foreground().color(), QColor(0xc0, 0, 0));   // Sunday the 7th
        QVERIFY(w->table->item(7, 0)->foreground().style() == Qt::NoBrush);        // Monday the 8th
        QVERIFY(w->table->item(11, 0)->background().style() != Qt::NoBrush);       // the main window's day
        QVERIFY(w->table->item(10, 0)->background().style() == Qt::NoBrush);
        main.mnuNext->trigger();  // the highlight follows the main window
        QVERIFY(w->table->item(12, 0)->background().style() != Qt::NoBrush);
        QVERIFY(w->table->item(11, 0)->background().style() == Qt::NoBrush);

        w->cmdNext->click();
        QVERIFY(w->lblTitle->text().contains(QStringLiteral("2000年6月")));
        QCOMPARE(w->table->rowCount(), 30);
        w->cmdPrev->click();
        w->cmdPrev->click();
        QVERIFY(w->lblTitle->text().contains(QStringLiteral("2000年4月")));
        w->cmdThis->click();
        QVERIFY(w->lblTitle->text().contains(QStringLiteral("2000年5月")));

        // The CSV file holds the bytes of lunvelde-table --koyomi.
        QVERIFY(w->saveCsv(QStringLiteral("month.csv")));
        QFile csv(QStringLiteral("month.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(csv.readAll().toStdString(), koyomi::koyomiCsv(2000, 5));
        // A pipe or a device in its place is refused at once, with a message.
        QVERIFY(::mkfifo("pipe.csv", 0600) == 0);
        QVERIFY(!w->saveCsv(QStringLiteral("pipe.csv")));
        QVERIFY(!w->saveCsv(QStringLiteral("/dev/null")));
        QVERIFY2(recorder.texts().filter(QStringLiteral("pipe.csv")).size() == 1, qPrintable(recorder.texts().join(QLatin1Char('|'))));

        // One A4 page.
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QStringLiteral("month.pdf"));
        w->printTo(&printer);
        if (qEnvironmentVariableIsSet("LUNVELDE_KEEP_PDF"))
            QFile::copy(QStringLiteral("month.pdf"), qEnvironmentVariable("LUNVELDE_KEEP_PDF"));
        QFile pdf(QStringLiteral("month.pdf"));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "), 1);
        support::endTestDay();
    }
};

LUNVELDE_GUI_TEST_MAIN(TestKoyomiMonth)
#include "tst_koyomiMonth.moc"
