#include "app/guardedApp.h"

#include <cstdio>
#include <new>

#include "ui/msgBox.h"

QString describeError(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::bad_alloc&) {
        return QStringLiteral("メモリが足りません。");
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("予期しないエラーが発生しました。");
    }
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event)
{
    if (broken)
        return false;
    if (!loopRunning)
        return QApplication::notify(receiver, event);
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        const QString text = describeError(std::current_exception());
        std::fprintf(stderr, "lunvelde: %s\n", text.toLocal8Bit().constData());
        if (!reporting) {
            // The box runs its own loop; a second failure inside it only
            // ends the program.
            reporting = true;
            ui::showMessage(nullptr, text + QStringLiteral("\nプログラムを終了します。"));
        }
        broken = true;
        QCoreApplication::exit(1);
        return false;
    }
}
