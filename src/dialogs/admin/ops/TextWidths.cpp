#include "dialogs/admin/ops/TextWidths.h"

#include "db/Columns.h"
#include "db/Gbk.h"

namespace textwidths {

QString misfit(const char* table, const QString& column, const QString& text, const QString& where)
{
    const QString bad = Gbk::firstUnrepresentable(text);
    if (!bad.isEmpty())
        return QStringLiteral("%1含有无法保存的字符“%2”").arg(where, bad);
    const int width = columns::width(table, column);
    if (width > 0 && columns::length(text, width) > width)
        return QStringLiteral("%1的内容过长，最多可以保存%2个字").arg(where).arg(width);
    return QString();
}

}  // namespace textwidths
