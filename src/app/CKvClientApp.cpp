#include "app/CKvClientApp.h"

#include "app/CKvClientDlg.h"
#include "ui/Appearance.h"

CKvClientApp::CKvClientApp(int& argc, char** argv) : QApplication(argc, argv) {}

bool CKvClientApp::InitInstance()
{
    applyAppearance(*this);
    setOrganizationName(QStringLiteral("应用程序向导生成的本地应用程序"));
    CKvClientDlg dlg;
    if (dlg.Start())
        dlg.exec();
    return false;
}

int CKvClientApp::ExitInstance()
{
    return 0;
}
