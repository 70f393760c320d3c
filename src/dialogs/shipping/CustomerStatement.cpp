#include "dialogs/shipping/CustomerStatement.h"

#include "db/mySQLTool.h"
#include "dialogs/shipping/StatementQueries.h"

#include <QHash>
#include <algorithm>

QString moneyText(double amount)
{
    return QString::asprintf("%.2f", amount);
}

QStringList CustomerStatement::Line::cells() const
{
    return {QString::number(number), method, QString::number(quantity), price, moneyText(amount)};
}

QStringList CustomerStatement::Shipment::cells() const
{
    return {QString::number(line), serial, sent, order, article, quantity, moneyText(amount), remark};
}

QStringList CustomerStatement::totalsCells() const
{
    return {QString(), QString(), QString::number(quantity), QString(), moneyText(amount)};
}

Outcome CustomerStatement::build(mySQLTool& db, quint64 client, const QString& start, const QString& end,
                                 CustomerStatement& out)
{
    out = CustomerStatement();
    const Rows pairs = db.Read(statementq::pairs(db, client, start, end));
    if (!pairs)
        return pairs.failed();
    enum { Method, Price, Quantity, Pair, First, Rework };

    // The first shipment of each method and of each price orders the lines.
    QHash<QString, QString> methodFirst;
    QHash<QString, QString> priceFirst;
    const auto earliest = [](QHash<QString, QString>& map, const QString& key, const QString& first) {
        auto it = map.find(key);
        if (it == map.end())
            map.insert(key, first);
        else if (first < *it)
            *it = first;
    };
    for (const Row& r : pairs) {
        earliest(priceFirst, r.text(Price), r.text(First));
        if (!r.isNull(Method) && r.toInt(Rework) == 0)
            earliest(methodFirst, r.text(Method), r.text(First));
    }
    struct Candidate {
        QString methodFirst, priceFirst;
        const Row* row;
    };
    QVector<Candidate> candidates;
    for (const Row& r : pairs) {
        if (r.isNull(Method) || r.toInt(Rework) != 0 || r.toInt64(Quantity) <= 0)
            continue;
        candidates.append({methodFirst.value(r.text(Method)), priceFirst.value(r.text(Price)), &r});
    }
    std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        return std::tie(a.methodFirst, a.priceFirst) < std::tie(b.methodFirst, b.priceFirst);
    });

    QHash<quint64, int> lineOfPair;
    for (const Candidate& c : candidates) {
        Line line;
        line.number = static_cast<int>(out.lines.size());
        line.method = c.row->text(Method);
        line.price = c.row->text(Price);
        line.unitPrice = c.row->toDouble(Price);
        line.quantity = c.row->toInt64(Quantity);
        line.amount = static_cast<double>(line.quantity) * line.unitPrice;
        line.pair = c.row->toId(Pair);
        lineOfPair.insert(line.pair, line.number);
        out.quantity += line.quantity;
        out.amount += line.amount;
        out.lines.append(line);
    }
    if (out.lines.isEmpty())
        return Outcome::done();

    const Rows rows = db.Read(statementq::shipments(db, client, start, end));
    if (!rows)
        return rows.failed();
    enum { Serial, Sent, Order, Article, Pieces, Remark, RowPair };
    QVector<QVector<Shipment>> byLine(out.lines.size());
    for (const Row& r : rows) {
        const auto it = lineOfPair.constFind(r.toId(RowPair));
        if (it == lineOfPair.constEnd())
            continue;
        const Line& line = out.lines.at(*it);
        Shipment s;
        s.line = line.number;
        s.serial = r.text(Serial);
        s.sent = r.text(Sent);
        s.order = r.text(Order);
        s.article = r.text(Article);
        s.quantity = r.text(Pieces);
        s.remark = r.text(Remark);
        s.amount = static_cast<double>(r.toInt64(Pieces)) * line.unitPrice;
        byLine[*it].append(s);
    }
    for (const QVector<Shipment>& group : byLine)
        out.shipments += group;
    return Outcome::done();
}
