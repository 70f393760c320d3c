#include "app/CKvClientApp.h"

int main(int argc, char** argv)
{
    CKvClientApp app(argc, argv);
    app.InitInstance();
    return app.ExitInstance();
}
