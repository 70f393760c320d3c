#include "flow/TicketCode.h"

namespace ticket {

namespace {

const QString kFlowPrefix = QStringLiteral("KV1F");
const QString kOrderPrefix = QStringLiteral("KV1O");

QChar kindDigit(Kind kind)
{
    return kind == Kind::Order ? QLatin1Char('2') : QLatin1Char('1');
}

// Luhn's check digit of a string of digits.
QChar checkDigit(const QString& digits)
{
    int sum = 0;
    bool twice = true;  // the rightmost digit of the payload is doubled
    for (int i = digits.size() - 1; i >= 0; --i) {
        int d = digits.at(i).digitValue();
        if (twice) {
            d *= 2;
            if (d > 9)
                d -= 9;
        }
        sum += d;
        twice = !twice;
    }
    return QLatin1Char(char('0' + (10 - sum % 10) % 10));
}

bool allDigits(const QString& s)
{
    for (const QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return !s.isEmpty();
}

// Kind digit, number and check digit; None when any part is wrong.
Code fromDigits(const QString& digits)
{
    if (digits.size() < 3 || !allDigits(digits))
        return {};
    const QString payload = digits.left(digits.size() - 1);
    if (checkDigit(payload) != digits.back())
        return {};
    const Kind kind = payload.front() == QLatin1Char('1')   ? Kind::Flow
                      : payload.front() == QLatin1Char('2') ? Kind::Order
                                                            : Kind::None;
    bool ok = false;
    const quint64 id = payload.mid(1).toULongLong(&ok);
    if (kind == Kind::None || !ok || id == 0)
        return {};
    return {kind, id};
}

}  // namespace

QString qrText(Kind kind, quint64 id)
{
    const QString number = QString::number(id);
    return (kind == Kind::Order ? kOrderPrefix : kFlowPrefix) + number + checkDigit(kindDigit(kind) + number);
}

QString handText(Kind kind, quint64 id)
{
    const QString number = QString::number(id);
    return QString(kindDigit(kind)) + QLatin1Char('-') + number + QLatin1Char('-') +
           checkDigit(kindDigit(kind) + number);
}

Code parse(const QString& text)
{
    QString s;
    for (const QChar c : text)
        if (!c.isSpace() && c != QLatin1Char('-'))
            s.append(c.toUpper());
    if (s.startsWith(kFlowPrefix))
        s = QLatin1Char('1') + s.mid(kFlowPrefix.size());
    else if (s.startsWith(kOrderPrefix))
        s = QLatin1Char('2') + s.mid(kOrderPrefix.size());
    return fromDigits(s);
}

}  // namespace ticket
