#include "dialogs/materials/MaterialLists.h"

#include "db/mySQLTool.h"
#include "dialogs/materials/MaterialQueries.h"
#include "dialogs/materials/ops/Stock.h"
#include "grid/KvGrid.h"
#include "ui/Prompt.h"

namespace materials {

KvGrid* makeMaterialList(QWidget* parent, MaterialColumns columns)
{
    const QString caption = QStringLiteral("原料列表");
    if (columns == MaterialColumns::Desk)
        return makeList(caption, "materialList", parent,
                        {{"名称", 110}, {"数量", 50}, {"单位", 45}, {"均价", 45}});
    return makeList(
        caption, "materialList", parent,
        {{"名称", 60}, {"数量", 45}, {"单位", 45}, {"累计数量", 65}, {"累计金额", 65}, {"均价", 45}});
}

bool fillMaterials(KvGrid* list, MaterialColumns columns)
{
    const QString selected = selectedCell(list, 0);
    list->DeleteAllItems();
    const Rows read = g_sqlTool.Read(materialq::materials(g_sqlTool), kListCap);
    if (!read) {
        prompt().report(read.failed(), QStringLiteral("错误"));
        return false;
    }
    // The average comes from the same row.
    using M = materialq::Materials;
    for (const Row& r : read) {
        const double amount = r.toDouble(M::BoughtAmount);
        const QString average = averageText(averagePrice(r.toDouble(M::BoughtQuantity), amount));
        if (columns == MaterialColumns::Desk)
            list->AppendItem({r.text(M::Name), r.text(M::Quantity), r.text(M::Unit), average});
        else
            list->AppendItem({r.text(M::Name), r.text(M::Quantity), r.text(M::Unit),
                              r.text(M::BoughtQuantity), QString::asprintf("%.2f", amount), average});
    }
    if (!selected.isEmpty())
        selectRowWith(list, 0, selected);
    return true;
}

bool selectRowWith(KvGrid* list, int column, const QString& text)
{
    const int r = list->FindRow(column, text);
    list->SelectRow(r);
    if (r >= 0)
        list->scrollTo(list->model()->index(r, column));
    return r >= 0;
}

QString selectedCell(const KvGrid* list, int column)
{
    const int row = list->GetSelectedRow();
    return row < 0 ? QString() : list->GetItemText(row, column);
}

}  // namespace materials
