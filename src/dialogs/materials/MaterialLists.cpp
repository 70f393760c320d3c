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
    // 名称, 数量, 单位, 累计数量, 累计金额: the average comes from the same row.
    for (const Row& r : read) {
        const QString average = averageText(averagePrice(r.toDouble(3), r.toDouble(4)));
        if (columns == MaterialColumns::Desk)
            list->AppendItem({r.text(0), r.text(1), r.text(2), average});
        else
            list->AppendItem({r.text(0), r.text(1), r.text(2), r.text(3),
                              QString::asprintf("%.2f", r.toDouble(4)), average});
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
