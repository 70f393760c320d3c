#pragma once

#include <QApplication>

// The application object: sets the look, runs the main window modally and ends when it
// closes (there is no message loop of its own).
class CKvClientApp : public QApplication {
    Q_OBJECT
public:
    CKvClientApp(int& argc, char** argv);

    // Runs the main window; false, as the program ends when the window has closed.
    bool InitInstance();
    int ExitInstance();
};
