#include "Bench.h"

#include "dialogs/board/Dlg_Board.h"

#include <QEventLoop>
#include <QTimer>
#include <memory>

namespace {

// Waits for the board's next read to be shown; false after ten seconds.
bool nextRead(Dlg_Board& b, bool ask)
{
    QEventLoop loop;
    QTimer::singleShot(10000, &loop, [&loop] { loop.exit(1); });
    QObject::connect(&b, &Dlg_Board::refreshed, &loop, [&loop] { loop.exit(0); });
    if (ask)
        b.refreshNow();
    return loop.exec() == 0;
}

// One refresh of a board that is up, at the size of a wall television: read on the board's
// own session and thread, then shown and painted.
const ActionRegistration refresh{
    Action{QStringLiteral("board.refresh"), QStringLiteral("Floor board: one refresh (every 30 s)"),
           Kind::Interactive, Target::Open, Group::Board, nullptr, [](Run& r, const Values&) {
               auto b = std::make_unique<Dlg_Board>();
               b->resize(1920, 1080);
               b->show();
               if (!nextRead(*b, false))
                   return;
               r.measure([&] {
                   nextRead(*b, true);
                   return b.get();
               });
               r.setServerPart(b->figures().serverMs, b->figures().statements, b->figures().roundTrips);
           }}};

}  // namespace
