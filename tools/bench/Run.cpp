#include "Bench.h"

#include "Driver.h"
#include "db/mySQLTool.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWidget>

std::vector<Action>& allActions()
{
    static std::vector<Action> actions;
    return actions;
}

QHash<QString, LiteralBody>& allLiterals()
{
    static QHash<QString, LiteralBody> literals;
    return literals;
}

void settle()
{
    auto* dispatcher = QAbstractEventDispatcher::instance();
    for (int i = 0; i < 100; ++i) {
        QCoreApplication::sendPostedEvents();
        if (!dispatcher->processEvents(QEventLoop::AllEvents))
            break;
    }
}

void Run::measure(const std::function<QWidget*()>& act)
{
    settle();
    const mySQLTool::Traffic before = g_sqlTool.traffic();
    QElapsedTimer clock;
    clock.start();
    QWidget* w = act();
    if (w && !w->isVisible())
        w->show();
    settle();
    if (w)
        w->repaint();
    sample_.ms = clock.nsecsElapsed() / 1e6;
    const mySQLTool::Traffic after = g_sqlTool.traffic();
    sample_.dbMs = (after.waitNs - before.waitNs) / 1e6;
    sample_.statements = after.statements - before.statements;
    sample_.roundTrips = after.roundTrips - before.roundTrips;
    measured_ = true;
}

void Run::measureClick(QWidget* window, const char* name)
{
    measure([&] {
        drive::click(window, name);
        return window;
    });
}
