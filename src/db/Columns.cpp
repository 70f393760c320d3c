#include "db/Columns.h"

#include "db/Gbk.h"
#include "db/Tables.h"

#include <QHash>

namespace columns {

namespace {

constexpr int kTime = 19;   // YYYY-MM-DD hh:mm:ss
constexpr int kName = 50;   // names, identities, stations, accounts
constexpr int kLong = 100;  // customer, material, technology and process names
constexpr int kNote = 255;  // remarks, methods, causes, settings
constexpr int kText = 65535;

using Widths = QHash<QString, int>;

const QHash<QString, Widths>& all()
{
    static const QHash<QString, Widths> widths = {
        {tables::product,
         {{"接货人", kName},
          {"接货时间", kTime},
          {"货物性质", kName},
          {"货物分类", kName},
          {"货物款式", kName},
          {"货物性别", kName},
          {"洗涤方法", kNote},
          {"货物等级", kName},
          {"激活时间", kTime},
          {"结讫时间", kTime},
          {"经办人", kName}}},
        {tables::procedure,
         {{"货物等级", kName},
          {"上一站", kName},
          {"工作站", kName},
          {"生成时间", kTime},
          {"历史", kText},
          {"工序", kName},
          {"结讫时间", kTime},
          {"经办人", kName}}},
        {tables::mission, {{"完成时间", kTime}, {"经办人", kName}}},
        {tables::client, {{"名称", kLong}, {"说明", kNote}}},
        {tables::member, {{"姓名", kName}, {"身份", kName}, {"班组", kName}}},
        {tables::quality,
         {{"日期", kTime},
          {"原因", kNote},
          {"责任人", kName},
          {"记录人", kName},
          {"经办人", kName},
          {"备注", kNote}}},
        {tables::ship,
         {{"开票人", kName},
          {"发货人", kName},
          {"发送时间", kTime},
          {"品名", kNote},
          {"洗涤方法", kNote},
          {"经办人", kName},
          {"备注", kName}}},
        {tables::raw, {{"名称", kLong}, {"单位", 20}}},
        {tables::rawIn, {{"名称", kLong}, {"时间", kTime}, {"经办人", kName}}},
        {tables::rawOut, {{"名称", kLong}, {"时间", kTime}, {"班组", kName}, {"经办人", kName}}},
        {tables::supplier, {{"名称", kLong}, {"备注", kNote}}},
        {tables::salary, {{"起始日期", kTime}, {"截止日期", kTime}}},
        {tables::user, {{"账号", kName}, {"密码", 128}, {"权限", kName}}},
        {tables::nature, {{"货物属性", kName}}},
        {tables::type, {{"货物类型", kName}}},
        {tables::kind, {{"货物款式", kName}}},
        {tables::sex, {{"货物性别", kName}}},
        {tables::priority, {{"货物等级", kName}}},
        {tables::group, {{"班组名称", kName}}},
        {tables::identity, {{"身份", kName}}},
        {tables::station, {{"名称", kName}}},
        {tables::technologyType, {{"名称", kName}}},
        {tables::technology, {{"名称", kLong}, {"类型", kName}}},
        {tables::process, {{"名称", kLong}, {"工作站", kName}}},
        {tables::mod, {{"名称", kName}, {"内容", kNote}}},
        {tables::commitMark, {{"令牌", 32}}},
        {tables::missionDay, {{"工序", kName}, {"经办人", kName}, {"日期", 10}}},
        {tables::missionStale, {{"日期", 10}}},
    };
    return widths;
}

}  // namespace

int width(const char* table, const QString& column)
{
    return all().value(QString::fromLatin1(table)).value(column, 0);
}

QString tooLong(const QString& column, int width, int length)
{
    return QStringLiteral("“%1”太长：最多%2个字，现在有%3个字，请缩短后再保存")
        .arg(column)
        .arg(width)
        .arg(length);
}

int length(const QString& text, int width)
{
    // TEXT holds bytes; VARCHAR(n) on a GBK table holds n characters, however many bytes each.
    return width == kText ? Gbk::byteLength(text) : int(text.size());
}

Outcome fit(std::initializer_list<Text> texts)
{
    for (const Text& t : texts) {
        const QString column = QString::fromUtf8(t.column);
        const int w = width(t.table, column);
        if (w == 0)
            return Outcome::failed(
                QStringLiteral("内部错误：不知道%1.%2的宽度").arg(QString::fromLatin1(t.table), column));
        const int n = length(t.value, w);
        if (n > w)
            return Outcome::refused(tooLong(column, w, n));
    }
    return Outcome::done();
}

}  // namespace columns
