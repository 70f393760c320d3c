#pragma once

#include <QCoreApplication>
#include <QEvent>

// The private window message 10086 as a posted event carrying its two parameters.
// Codes: 9527 log-in submitted (1) or given up (0), and a grid edit committed;
// 9528 log-in accepted (1) or refused (0); 9558 privileged password typed.
class KvMessage : public QEvent {
public:
    static constexpr QEvent::Type kType = static_cast<QEvent::Type>(10086);
    KvMessage(int code, int value) : QEvent(kType), code_(code), value_(value) {}
    int code() const { return code_; }
    int value() const { return value_; }

    // Posted, never sent: the receiver handles it when control returns to the event loop.
    static void post(QObject* receiver, int code, int value)
    {
        if (receiver)
            QCoreApplication::postEvent(receiver, new KvMessage(code, value));
    }

private:
    int code_;
    int value_;
};
