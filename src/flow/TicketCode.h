#pragma once

#include <QString>

// The code on a flow ticket or an order ticket. A scanner reads the QR text ("KV1F" or
// "KV1O", the number, a check digit); a person types the same digits with the kind as a
// leading digit ("1" a flow, "2" an order), grouped as printed: 1-12345-7. The check digit
// (Luhn over the kind digit and the number) catches a mistyped or misread digit, so that a
// wrong code never names another flow.
namespace ticket {

enum class Kind { None, Flow, Order };

struct Code {
    Kind kind = Kind::None;
    quint64 id = 0;
};

// The QR text: "KV1F" + number + check digit (flows), "KV1O" + ... (orders).
QString qrText(Kind kind, quint64 id);
// The digits to type by hand, grouped: kind digit, number, check digit, joined by '-'.
QString handText(Kind kind, quint64 id);
// Either form, in any letter case, with blanks and dashes anywhere; Kind::None when the text
// is no ticket code or its check digit does not match.
Code parse(const QString& text);

}  // namespace ticket
