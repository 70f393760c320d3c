#include "ui/BusyCursor.h"

#include "db/mySQLTool.h"

#include <QCursor>
#include <QGuiApplication>

void showBusyWhileWaiting(mySQLTool& db)
{
    db.SetBusyHook([](bool busy) {
        if (busy)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        else
            QGuiApplication::restoreOverrideCursor();
    });
}
