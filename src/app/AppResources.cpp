#include "app/AppResources.h"

#include <QtGlobal>

void initAppResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(app);
        return true;
    }();
    (void)done;
}
