// The main menu opens the shipment inquiry and the shipment statistics, owned by the window.
#include "AppTestSupport.h"
#include "app/MainMenu.h"
#include "dialogs/shipping/Dlg_InquiryShip.h"
#include "dialogs/shipping/Dlg_InquiryShipment.h"

#include <QWidget>

namespace {

class ShipmentMenu : public kvtest::DemoDbTest {};

template <typename Screen>
bool opensOwned(int command)
{
    const MenuItem* item = FindMenuItem(command);
    if (!item || !item->open)
        return false;
    QWidget owner;
    bool owned = false;
    apptest::whenModal<Screen>([&](Screen* dlg) {
        owned = dlg->parentWidget() == &owner;
        dlg->reject();
    });
    item->open(&owner);
    return owned;
}

}  // namespace

TEST_F(ShipmentMenu, BothItemsOpenTheirScreen)
{
    EXPECT_TRUE(opensOwned<Dlg_InquiryShipment>(cmd::InquiryShipment));
    EXPECT_TRUE(opensOwned<Dlg_InquiryShip>(cmd::InquiryShip));
    EXPECT_TRUE(boxes().boxes.isEmpty());
}
