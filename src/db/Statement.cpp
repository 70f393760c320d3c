#include "db/Statement.h"

#include "db/Gbk.h"

#include <cmath>
#include <cstring>

SqlArg::SqlArg(const Statement& sql)
    : type_(Type::Sql), text_(sql.error()), sql_(sql.sql()), escaping_(static_cast<int>(sql.escaping()))
{
}

QString Statement::text() const
{
    return ok() ? Gbk::decode(sql_) : error_;
}

namespace {

bool isName(const QString& s)
{
    if (s.isEmpty())
        return false;
    for (QChar c : s) {
        const char16_t u = c.unicode();
        if (!((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_'))
            return false;
    }
    return true;
}

QString unrepresentableMessage(const QString& text)
{
    return QStringLiteral("“%1”中的字符“%2”无法保存到数据库（数据库使用GBK字符集），请改用其他字符")
        .arg(text, Gbk::firstUnrepresentable(text));
}

}  // namespace

Statement formatStatement(const char* format, std::initializer_list<SqlArg> args, const SqlEscaping& escaping)
{
    const QByteArray fmt(format);
    QByteArray out;
    out.reserve(fmt.size() + 64);
    auto next = args.begin();
    bool inQuotes = false;
    bool escaped = false;
    QByteArray literal;

    auto flushLiteral = [&]() -> bool {
        if (literal.isEmpty())
            return true;
        QByteArray gbk;
        if (!Gbk::encode(QString::fromUtf8(literal), gbk))
            return false;
        out.append(gbk);
        literal.clear();
        return true;
    };
    auto bad = [&](const QString& why) {
        return Statement::invalid(QStringLiteral("内部错误：语句“%1”%2").arg(QString::fromUtf8(format), why));
    };

    for (qsizetype i = 0; i < fmt.size(); ++i) {
        const char c = fmt[i];
        if (c != '%') {
            if (c == '\'')
                inQuotes = !inQuotes;
            literal.append(c);
            continue;
        }
        if (i + 1 < fmt.size() && fmt[i + 1] == '%') {
            literal.append('%');
            ++i;
            continue;
        }
        // Read the conversion: s, d, u, f, .Nf, I64u, llu.
        qsizetype j = i + 1;
        int decimals = 6;
        QByteArray conv;
        if (j < fmt.size() && fmt[j] == '.') {
            qsizetype k = j + 1;
            int n = 0;
            while (k < fmt.size() && fmt[k] >= '0' && fmt[k] <= '9')
                n = n * 10 + (fmt[k++] - '0');
            if (k >= fmt.size() || fmt[k] != 'f' || k == j + 1)
                return bad(QStringLiteral("中有无法识别的占位符"));
            decimals = n;
            conv = "f";
            j = k + 1;
        } else if (fmt.mid(j, 4) == "I64u") {
            conv = "u";
            j += 4;
        } else if (fmt.mid(j, 3) == "llu") {
            conv = "u";
            j += 3;
        } else if (j < fmt.size() && std::strchr("sduf", fmt[j]) != nullptr) {
            conv = QByteArray(1, fmt[j]);
            j += 1;
        } else {
            return bad(QStringLiteral("中有无法识别的占位符"));
        }
        i = j - 1;
        if (next == args.end())
            return bad(QStringLiteral("的参数不够"));
        const SqlArg& arg = *next++;
        if (!flushLiteral())
            return bad(QStringLiteral("含有无法编码的字符"));

        if (conv == "s" && arg.type() == SqlArg::Type::Sql) {
            if (!arg.text().isEmpty())
                return Statement::invalid(arg.text());
            if (inQuotes)
                return bad(QStringLiteral("把语句片段放在了引号中"));
            const auto piece = static_cast<Statement::Escaping>(arg.escaping());
            if (piece != Statement::Escaping::None) {
                if (piece != escaping.mode)
                    return Statement::invalid(kConnectionChanged);
                escaped = true;
            }
            out.append(arg.sql());
        } else if (conv == "s") {
            if (arg.type() != SqlArg::Type::Text)
                return bad(QStringLiteral("的文字参数类型不符"));
            if (inQuotes) {
                QByteArray gbk;
                if (!Gbk::encode(arg.text(), gbk))
                    return Statement::invalid(unrepresentableMessage(arg.text()));
                out.append(escaping.escape(escaping.context, gbk));
                escaped = true;
            } else {
                if (!isName(arg.text()))
                    return bad(QStringLiteral("的名称参数“%1”不是表名").arg(arg.text()));
                out.append(arg.text().toLatin1());
            }
        } else if (conv == "d") {
            if (arg.type() == SqlArg::Type::Signed)
                out.append(QByteArray::number(arg.signedValue()));
            else if (arg.type() == SqlArg::Type::Unsigned)
                out.append(QByteArray::number(arg.unsignedValue()));
            else
                return bad(QStringLiteral("的整数参数类型不符"));
        } else if (conv == "u") {
            if (arg.type() == SqlArg::Type::Unsigned)
                out.append(QByteArray::number(arg.unsignedValue()));
            else if (arg.type() == SqlArg::Type::Signed && arg.signedValue() >= 0)
                out.append(QByteArray::number(arg.signedValue()));
            else
                return bad(QStringLiteral("的编号参数不是非负整数"));
        } else {  // f
            double v = 0;
            if (arg.type() == SqlArg::Type::Real)
                v = arg.real();
            else if (arg.type() == SqlArg::Type::Signed)
                v = static_cast<double>(arg.signedValue());
            else if (arg.type() == SqlArg::Type::Unsigned)
                v = static_cast<double>(arg.unsignedValue());
            else
                return bad(QStringLiteral("的数值参数类型不符"));
            if (!std::isfinite(v))
                return Statement::invalid(QStringLiteral("数值超出范围"));
            out.append(QByteArray::number(v, 'f', decimals));
        }
    }
    if (next != args.end())
        return bad(QStringLiteral("的参数过多"));
    if (!flushLiteral())
        return bad(QStringLiteral("含有无法编码的字符"));
    return Statement::fromBytes(out).escapedFor(escaped ? escaping.mode : Statement::Escaping::None);
}
