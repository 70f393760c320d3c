#include "dialogs/shipping/OrderPager.h"

#include "db/Convert.h"
#include "db/mySQLTool.h"
#include "dialogs/shipping/ShipperQueries.h"
#include "grid/KvGrid.h"

OrderPager::OrderPager(Kind kind, const QString& caption, const QString& name, QWidget* parent)
    : PagedList(g_sqlTool, name, parent), kind_(kind)
{
    list()->setAccessibleName(caption);
    list()->SetCellMargin(1.2);
    list()->InsertColumns({{"货单号", 60},
                           {"款号", 60},
                           {"客户名称", 80},
                           {"货物等级", 70},
                           {"货物数量", 70},
                           {"损耗数量", 70},
                           {"原版数量", 70},
                           {"洗版数量", 70},
                           {"生成时间", 100},
                           {"货物性质", 70},
                           {"货物分类", 70},
                           {"货物款式", 70},
                           {"货物性别", 70},
                           {"洗涤方法", 150}});
}

bool OrderPager::firstPage()
{
    if (kind_ == Kind::Unshipped)
        return run(
            [](quint64 offset, int count) { return shipperq::unshippedOrders(g_sqlTool, offset, count); },
            shipperq::countUnshippedOrders(g_sqlTool));
    return run([](quint64 offset, int count) { return shipperq::shippedOrders(g_sqlTool, offset, count); },
               shipperq::countShippedOrders(g_sqlTool));
}

quint64 OrderPager::selectedOrder(bool* selected) const
{
    const QString key = selectedKey();
    if (selected)
        *selected = !key.isEmpty() || list()->GetSelectedRow() >= 0;
    return convert::toId(key);
}
