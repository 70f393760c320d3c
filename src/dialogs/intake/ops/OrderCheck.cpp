#include "dialogs/intake/ops/OrderCheck.h"

#include "db/Convert.h"
#include "db/Gbk.h"
#include "db/mySQLTool.h"
#include "dialogs/intake/IntakeQueries.h"

#include <climits>
#include <cmath>

namespace intake {

namespace {

// Widths of the text columns the form writes (characters).
constexpr int kNameWidth = 100;
constexpr int kMethodWidth = 255;

Outcome refuse(const char* text)
{
    return Outcome::refused(QString::fromUtf8(text));
}

// A whole number for an INT column. Text that is not a number counts as 0; a number
// beyond the column would be stored clipped, so it is refused.
bool readCount(const QString& text, int& out)
{
    const qint64 v = convert::toInt64(text);
    if (v > INT_MAX || v < INT_MIN)
        return false;
    out = static_cast<int>(v);
    return true;
}

// An unsigned 64-bit number; beyond the range it would read as 0.
bool readId(const QString& text, quint64& out)
{
    const QString t = text.trimmed();
    qsizetype n = 0;
    while (n < t.size() && t[n].isDigit() && t[n].unicode() < 128)
        ++n;
    out = convert::toId(t);
    if (n == 0)
        return true;
    bool ok = false;
    t.left(n).toULongLong(&ok);
    return ok;
}

bool readMoney(const QString& text, float& out)
{
    out = convert::toFloat(text);
    return std::isfinite(out);
}

}  // namespace

bool leadsWithChinese(const QString& name)
{
    if (name.isEmpty())
        return false;
    QByteArray first;
    if (!Gbk::encode(name.left(1), first) || first.size() < 2)
        return false;
    return (static_cast<unsigned char>(first[0]) & 0x80) && (static_cast<unsigned char>(first[1]) & 0x80);
}

Outcome checkOrder(mySQLTool& db, const OrderForm& f, bool activate, Order& out)
{
    out = Order();
    // Without a chosen customer the order would be written for nobody and appear in no queue.
    if (!leadsWithChinese(f.clientName) || (!f.newClient && f.client == 0))
        return refuse("请输入客户名");
    if (f.clientName.size() > kNameWidth)
        return refuse("客户名称过长");
    if (activate && f.receiver.isEmpty())
        return refuse("请输入接货人");
    if (!readCount(f.goods, out.goods) || (activate && out.goods < 1))
        return refuse("错误的货物数量");
    if (activate && f.nature.isEmpty())
        return refuse("请选择属性");
    if (f.nature == kRework) {
        if (f.related.trimmed().isEmpty())
            return refuse("返工的货物所关联的货单不能为空");
        quint64 related = 0;
        if (!readId(f.related, related) || related == 0)
            return refuse("错误的关联货单号");
        const Rows found = db.Read(intakeq::order(db, related), 1);
        if (!found)
            return found.failed();
        if (found.empty())
            return refuse("错误的关联货单号");
        out.related = related;
    }
    if (activate) {
        if (f.type.isEmpty())
            return refuse("请选择类型");
        if (f.kind.isEmpty())
            return refuse("请选择款式");
        if (f.sex.isEmpty())
            return refuse("请选择性别");
    }
    if (!readCount(f.original, out.original))
        return refuse("错误的原版数量");
    if (!readCount(f.washed, out.washed))
        return refuse("错误的洗版数量");
    if (activate) {
        out.original = qMax(out.original, 0);
        out.washed = qMax(out.washed, 0);
    }
    if (!readId(f.style, out.style))
        return refuse("错误的款号");
    if (activate && f.priority.isEmpty())
        return refuse("请选择优先等级");
    if (!readMoney(f.lossPrice, out.lossPrice) || (activate && out.lossPrice < 0))
        return refuse("错误的损耗单价");
    if (!readMoney(f.price, out.price) || (activate && f.nature != kRework && out.price <= 0))
        return refuse("错误的货物单价");
    if (activate && f.method.isEmpty())
        return refuse("请输入货物的洗涤方法");
    if (f.method.size() > kMethodWidth)
        return refuse("洗涤方法过长");

    out.client = f.client;
    out.receiver = f.receiver;
    out.nature = f.nature;
    out.type = f.type;
    out.kind = f.kind;
    out.sex = f.sex;
    out.method = f.method;
    out.priority = f.priority;
    return Outcome::done();
}

Outcome clientExists(mySQLTool& db, const QString& name, bool& exists)
{
    exists = false;
    const Rows found = db.Read(intakeq::clientByName(db, name), 1);
    if (!found)
        return found.failed();
    exists = !found.empty();
    return Outcome::done();
}

}  // namespace intake
