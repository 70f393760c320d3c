#include "Bench.h"
#include "Driver.h"

#include "app/CKvClientDlg.h"
#include "app/Dashboard.h"

#include <QDir>
#include <memory>

namespace {

StartOptions options()
{
    StartOptions o;
    o.workDir = QDir::tempPath();
    o.lockFile = QDir(QDir::tempPath()).filePath(QStringLiteral("kvbench.lock"));
    return o;
}

// The main window as the program opens it after the log-in: the dashboard filled, the menus
// enabled for the identity.
CKvClientDlg* openMainWindow()
{
    auto* w = new CKvClientDlg(options());
    w->dashboard()->Refresh();
    w->EnableMenus();
    return w;
}

const ActionRegistration open{
    Action{QStringLiteral("main.open"), QStringLiteral("Main window: open with the dashboard"),
           Kind::Interactive, Target::Open, Group::Other, nullptr, [](Run& r, const Values&) {
               std::unique_ptr<CKvClientDlg> w;
               r.measure([&] {
                   w.reset(openMainWindow());
                   return w.get();
               });
           }}};

const ActionRegistration refresh{Action{QStringLiteral("main.refresh"), QStringLiteral("Main window: 刷新"),
                                        Kind::Interactive, Target::Open, Group::Other, nullptr,
                                        [](Run& r, const Values&) {
                                            std::unique_ptr<CKvClientDlg> w(openMainWindow());
                                            w->show();
                                            settle();
                                            r.measureClick(w.get(), "refresh");
                                        }}};

}  // namespace
