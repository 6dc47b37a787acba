// The window program's application object: a handler that throws ends the
// program with exit code 1 after one message, and nothing runs after it.
#include <QTest>
#include <QTimer>
#include <stdexcept>

#include "app/guardedApp.h"
#include "support.h"

namespace {

struct Thrower : QObject {
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User)
            throw std::runtime_error("boom");
        return QObject::event(e);
    }
};

struct Counter : QObject {
    int seen = 0;
    bool event(QEvent* e) override
    {
        seen += e->type() == QEvent::User;
        return QObject::event(e);
    }
};

}  // namespace

class TestGuardedApp : public QObject {
    Q_OBJECT

private slots:
    void handlerFailureEndsTheProgram()
    {
        support::isolateUserFolders();
        static int argc = 1;
        static char name[] = "tst_guardedApp";
        static char* argv[] = {name, nullptr};
        GuardedApplication app(argc, argv);
        support::MessageRecorder recorder;
        Thrower thrower;
        Counter after;

        // Before the loop runs, the exception goes on to main.
        QEvent early(QEvent::User);
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, app.sendEvent(&thrower, &early));

        app.loopRunning = true;
        QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
        QCoreApplication::postEvent(&after, new QEvent(QEvent::User));
        QTimer::singleShot(3000, &app, [] { QCoreApplication::exit(0); });  // a loop that carries on
        QCOMPARE(app.exec(), 1);
        QVERIFY(app.failed());
        QCOMPARE(after.seen, 0);
        QCOMPARE(recorder.messages.size(), 1);
        QVERIFY(recorder.texts().value(0).startsWith(QStringLiteral("boom")));
    }
};

QTEST_APPLESS_MAIN(TestGuardedApp)
#include "tst_guardedApp.moc"
