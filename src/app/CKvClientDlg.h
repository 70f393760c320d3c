#pragma once

#include "app/CipherLibrary.h"
#include "app/InstanceLock.h"
#include "app/SignIn.h"

#include <QDialog>
#include <QHash>

class Dashboard;
class QAction;
class QMenuBar;

// What the start-up takes from its surroundings; tests put in their own.
struct StartOptions {
    QString library = QStringLiteral("libAES.so");  // found by the normal library search
    QString workDir;                                // empty: the process's working directory
    QString lockFile = InstanceLock::DefaultPath();
    // "--board": a PC under the workshop's television. A remembered account signs in by
    // itself, and the floor board opens full screen at once.
    bool board = false;
};

// The main window: start-up checks, the menu by identity, the dashboard, the log-in
// exchange, and the close sequence that ends the program.
class CKvClientDlg : public QDialog {
    Q_OBJECT
public:
    explicit CKvClientDlg(const StartOptions& options = StartOptions(), QWidget* parent = nullptr);
    ~CKvClientDlg() override;

    // The checks before anything is shown, then the dashboard: false when the program
    // must end (the close sequence has run and any message has been shown).
    bool Open();
    // Open(), then the log-in; false when the program must end.
    bool Start();
    // Runs the log-in window modally; its answers come back as posted messages. With
    // `remembered`, a remembered account and password are submitted at once.
    void RunLogin(bool remembered = false);

    virtual int CheckInstance();
    virtual int InitPath();
    virtual int InitDatabase();
    // 1 signed in; -1 refused ("错误的账号或密码"); 0 refused, the reason told.
    virtual int CheckLogin();
    virtual int SaveLogin();
    virtual int EnableMenus();
    virtual int DisableMenus();
    virtual int Cleanup();

    // Runs what a menu command stands for.
    void openScreen(int command);

    QAction* action(int command) const { return actions_.value(command); }
    Dashboard* dashboard() const { return dashboard_; }
    const CipherLibrary& cipher() const { return cipher_; }
    // True once the close sequence has run.
    bool closed() const { return closed_; }

    // The close sequence: Cleanup, then the window ends. Close box and Escape come here.
    void reject() override;

protected:
    bool event(QEvent* e) override;

private:
    void buildMenu();
    void signOut();

    StartOptions options_;
    InstanceLock lock_;
    CipherLibrary cipher_;
    QMenuBar* menuBar_;
    QHash<int, QAction*> actions_;
    Dashboard* dashboard_;
    bool closed_ = false;
    int wrongTries_ = 0;
    bool perPerson_ = false;  // each person signs in to the database as himself
    signin::Server server_;   // of the account just signed in, told once its window shows
};
