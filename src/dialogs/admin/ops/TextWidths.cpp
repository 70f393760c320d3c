#include "dialogs/admin/ops/TextWidths.h"

#include "db/Gbk.h"

#include <cstring>

namespace textwidths {

namespace {

struct Width {
    const char* table;
    const char* column;
    int chars;
};

// Keep in step with sql/schema.sql.
constexpr Width kWidths[] = {
    {"kvc_attrib_technology", "名称", 100}, {"kvc_attrib_technology", "类型", 50},
    {"kvc_attrib_process", "名称", 100},    {"kvc_attrib_process", "工作站", 50},
    {"kvc_record_member", "姓名", 50},      {"kvc_record_member", "身份", 50},
    {"kvc_record_member", "班组", 50},      {"kvc_record_client", "名称", 100},
    {"kvc_record_client", "说明", 255},     {"kvc_record_product", "接货人", 50},
    {"kvc_record_product", "接货时间", 19}, {"kvc_record_product", "货物性质", 50},
    {"kvc_record_product", "货物分类", 50}, {"kvc_record_product", "货物款式", 50},
    {"kvc_record_product", "货物性别", 50}, {"kvc_record_product", "洗涤方法", 255},
    {"kvc_record_product", "货物等级", 50}, {"kvc_record_product", "激活时间", 19},
    {"kvc_record_product", "结讫时间", 19}, {"kvc_record_product", "经办人", 50},
    {"kvc_record_quality", "日期", 19},     {"kvc_record_quality", "原因", 255},
    {"kvc_record_quality", "责任人", 50},   {"kvc_record_quality", "记录人", 50},
    {"kvc_record_quality", "经办人", 50},   {"kvc_record_quality", "备注", 255},
    {"kvc_attrib_mod", "内容", 255},
};

}  // namespace

int maxChars(const char* table, const QString& column)
{
    for (const Width& w : kWidths)
        if (std::strcmp(w.table, table) == 0 && column == QString::fromUtf8(w.column))
            return w.chars;
    return 0;
}

QString misfit(const char* table, const QString& column, const QString& text, const QString& where)
{
    const QString bad = Gbk::firstUnrepresentable(text);
    if (!bad.isEmpty())
        return QStringLiteral("%1含有无法保存的字符“%2”").arg(where, bad);
    const int chars = maxChars(table, column);
    // Characters as the server counts them: a pair of surrogates never gets here (not GBK).
    if (chars > 0 && text.size() > chars)
        return QStringLiteral("%1的内容过长，最多可以保存%2个字").arg(where).arg(chars);
    return QString();
}

}  // namespace textwidths
