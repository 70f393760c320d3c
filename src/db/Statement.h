#pragma once

#include <QByteArray>
#include <QString>
#include <concepts>
#include <initializer_list>

class Statement;

// One argument of a statement text. Texts are escaped for the connection when the
// statement is formatted; numbers are written in plain decimal.
class SqlArg {
public:
    enum class Type { Text, Signed, Unsigned, Real, Sql };

    SqlArg(const QString& text) : type_(Type::Text), text_(text) {}
    SqlArg(const char* text) : type_(Type::Text), text_(QString::fromUtf8(text)) {}
    template <std::signed_integral T>
    SqlArg(T v) : type_(Type::Signed), signed_(v)
    {
    }
    template <std::unsigned_integral T>
    requires(!std::same_as<T, bool>) SqlArg(T v) : type_(Type::Unsigned), unsigned_(v) {}
    SqlArg(double v) : type_(Type::Real), real_(v) {}
    SqlArg(float v) : type_(Type::Real), real_(v) {}
    SqlArg(bool) = delete;
    // A piece of SQL formatted before (a condition text), put in as it is.
    SqlArg(const Statement& sql);

    Type type() const { return type_; }
    const QString& text() const { return text_; }
    qint64 signedValue() const { return signed_; }
    quint64 unsignedValue() const { return unsigned_; }
    double real() const { return real_; }
    const QByteArray& sql() const { return sql_; }
    int escaping() const { return escaping_; }

private:
    Type type_;
    QString text_;
    qint64 signed_ = 0;
    quint64 unsigned_ = 0;
    double real_ = 0;
    QByteArray sql_;    // Sql: the bytes; a statement that could not be made keeps its reason in text_
    int escaping_ = 0;  // Sql: how its texts were escaped (Statement::Escaping)
};

// A formatted statement in the connection's bytes, or the reason it could not be made.
class Statement {
public:
    // How the texts inside were escaped: the server reads a backslash as an escape unless
    // its sql_mode has NO_BACKSLASH_ESCAPES, so a statement only fits connections of its kind.
    enum class Escaping { None, Backslash, Quotes };

    Statement() = default;
    static Statement fromBytes(const QByteArray& sql) { return Statement(sql, QString()); }
    static Statement invalid(const QString& error) { return Statement(QByteArray(), error); }

    bool ok() const { return error_.isEmpty(); }
    bool empty() const { return ok() && sql_.isEmpty(); }
    const QByteArray& sql() const { return sql_; }
    const QString& error() const { return error_; }
    // The statement as text, for the log and for messages.
    QString text() const;
    // None when no text was escaped: such a statement fits every connection.
    Escaping escaping() const { return escaping_; }
    Statement escapedFor(Escaping e) const
    {
        Statement s = *this;
        s.escaping_ = e;
        return s;
    }

private:
    Statement(const QByteArray& sql, const QString& error) : sql_(sql), error_(error) {}
    QByteArray sql_;
    QString error_;
    Escaping escaping_ = Escaping::None;
};

// Why a statement formatted for one connection is not sent on another of a different kind.
inline const QString kConnectionChanged = QStringLiteral("与数据库的连接已重新建立，请重试");

// Escapes GBK bytes for use between single quotes, for a connection of the kind `mode`.
using SqlEscaper = QByteArray (*)(void* context, const QByteArray& gbk);
struct SqlEscaping {
    SqlEscaper escape;
    void* context;
    Statement::Escaping mode;
};

// The one statement formatter. Placeholders, printf-style:
//   %s     a text: between single quotes it is escaped; elsewhere it must be a name
//          (a table name: letters, digits and '_'), anything else is refused; a Statement
//          (a piece formatted before, such as a condition text) goes in as it is, outside quotes
//   %d     a whole number          %I64u, %llu, %u   an id (unsigned 64-bit, never negative)
//   %f     a real with six decimals, %.Nf with N decimals     %%   a percent sign
// Text that GBK cannot hold is refused with a message naming the character. A piece
// formatted for another kind of connection is refused too.
Statement formatStatement(const char* format, std::initializer_list<SqlArg> args,
                          const SqlEscaping& escaping);
