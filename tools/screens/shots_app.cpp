#include "Shots.h"

#include "app/CKvClientDlg.h"
#include "app/Dashboard.h"
#include "app/Dlg_Cover.h"
#include "app/Dlg_System.h"
#include "grid/KvGrid.h"
#include "ui/AppState.h"

#include <QDir>

namespace {

StartOptions screenOptions()
{
    StartOptions o;
    o.workDir = QDir::tempPath();
    o.lockFile = QDir(QDir::tempPath()).filePath(QStringLiteral("kvscreens.lock"));
    return o;
}

void clickRow(KvGrid* grid, int row)
{
    if (row >= grid->GetItemCount())
        return;
    grid->SelectRow(row);
    Q_EMIT grid->rowClicked(row);
}

// Signed in as 管理员, the dashboard filled, the second order and its first flow chosen.
const ShotRegistration mainWindow{Shot{QStringLiteral("main_window"),
                                       [] {
                                           g_identity = QStringLiteral("管理员");
                                           auto* w = new CKvClientDlg(screenOptions());
                                           w->dashboard()->Refresh();
                                           w->EnableMenus();
                                           return static_cast<QWidget*>(w);
                                       },
                                       [](QWidget* w) {
                                           auto* d = static_cast<CKvClientDlg*>(w)->dashboard();
                                           clickRow(d->orders(), 1);
                                           clickRow(d->flows(), 0);
                                       }}};

const ShotRegistration login{Shot{QStringLiteral("login"),
                                  [] {
                                      g_workPath = QDir::tempPath() + QLatin1Char('/');
                                      return static_cast<QWidget*>(new Dlg_Cover);
                                  },
                                  {}}};

const ShotRegistration settings{Shot{QStringLiteral("system_settings"),
                                     [] {
                                         g_identity = QStringLiteral("管理员");
                                         return static_cast<QWidget*>(new Dlg_System);
                                     },
                                     {}}};

}  // namespace
