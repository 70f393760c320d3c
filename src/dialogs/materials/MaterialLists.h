#pragma once

#include <QString>
#include <initializer_list>
#include <utility>

class KvGrid;
class QWidget;

// The lists the purchase desk, the issue desk and the inquiry share.
namespace materials {

// The material list: 名称, 数量, 单位, 均价 on the desks; with 累计数量 and 累计金额 before 均价
// on the inquiry.
enum class MaterialColumns { Desk, Inquiry };
KvGrid* makeMaterialList(QWidget* parent, MaterialColumns columns);
// Reads the materials with their average prices; the material selected before stays selected.
// False after a failure was shown.
bool fillMaterials(KvGrid* list, MaterialColumns columns);

// Selects the row whose cell in `column` is `text`; false (and no selection) when none is.
bool selectRowWith(KvGrid* list, int column, const QString& text);
// The cell in `column` of the selected row; empty when none is selected.
QString selectedCell(const KvGrid* list, int column);

}  // namespace materials
