#include "Bench.h"

#include "Driver.h"
#include "db/mySQLTool.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSet>
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

namespace {

// Notes the windows whose widgets were painted, so that a window already painted by the
// action is not painted a second time only for the measurement.
class PaintWatch : public QObject {
public:
    PaintWatch() { QCoreApplication::instance()->installEventFilter(this); }
    ~PaintWatch() override { QCoreApplication::instance()->removeEventFilter(this); }
    bool painted(const QWidget* window) const { return painted_.contains(window); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType())
            painted_.insert(static_cast<QWidget*>(watched)->window());
        return false;
    }

private:
    QSet<const QWidget*> painted_;
};

}  // namespace

void Run::measure(const std::function<QWidget*()>& act)
{
    settle();
    const PaintWatch watch;
    const mySQLTool::Traffic before = g_sqlTool.traffic();
    QElapsedTimer clock;
    clock.start();
    QWidget* w = act();
    if (w && !w->isVisible())
        w->show();
    settle();
    // What changed has been painted by now; a window nothing of which was painted (no
    // update reached it) is painted once, so that every action ends on a painted window.
    if (w && !watch.painted(w->window()))
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
