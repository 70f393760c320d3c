#include "Shots.h"

#include "db/TimeText.h"
#include "dialogs/board/Dlg_Board.h"

#include <QEventLoop>
#include <QTimer>

namespace {

// The board at the size of a wall television, once its first read is shown.
QWidget* makeBoard()
{
    auto* b = new Dlg_Board;
    b->resize(1920, 1080);
    return b;
}

void awaitRead(QWidget* w)
{
    auto* b = static_cast<Dlg_Board*>(w);
    if (b->hasFigures())
        return;
    QEventLoop loop;
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    QObject::connect(b, &Dlg_Board::refreshed, &loop, &QEventLoop::quit);
    loop.exec();
}

const ShotRegistration board{Shot{QStringLiteral("floor_board"), makeBoard, awaitRead}};

// Five minutes later the server has gone: the figures stay, greyed, with their age.
const ShotRegistration offline{Shot{QStringLiteral("floor_board_offline"), makeBoard, [](QWidget* w) {
                                        awaitRead(w);
                                        kvclock::fix(kvclock::now().addSecs(300));
                                        auto* b = static_cast<Dlg_Board*>(w);
                                        b->showRead(b->figures(), QStringLiteral("Can't connect to server"));
                                        kvclock::release();
                                    }}};

}  // namespace
