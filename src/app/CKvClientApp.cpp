#include "app/CKvClientApp.h"

#include "app/CKvClientDlg.h"
#include "db/mySQLTool.h"
#include "ui/Appearance.h"
#include "ui/BusyCursor.h"

CKvClientApp::CKvClientApp(int& argc, char** argv) : QApplication(argc, argv) {}

bool CKvClientApp::InitInstance()
{
    applyAppearance(*this);
    showBusyWhileWaiting(g_sqlTool);
    setOrganizationName(QStringLiteral("应用程序向导生成的本地应用程序"));
    setApplicationVersion(QStringLiteral(KV_VERSION));
    StartOptions options;
    options.board = arguments().contains(QStringLiteral("--board"));
    CKvClientDlg dlg(options);
    if (dlg.Start())
        dlg.exec();
    return false;
}

int CKvClientApp::ExitInstance()
{
    return 0;
}
