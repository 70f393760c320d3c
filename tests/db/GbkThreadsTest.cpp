#include "db/Gbk.h"

#include <gtest/gtest.h>
#include <QString>
#include <QStringList>
#include <atomic>
#include <thread>

// Each desk of a race test runs its own session in its own thread; their texts must not
// mix in the converter.
TEST(GbkThreads, SessionsInTwoThreadsConvertTheirOwnTexts)
{
    std::atomic<int> wrong{0};
    const auto run = [&wrong](const QString& text) {
        for (int i = 0; i < 50000; ++i) {
            QByteArray bytes;
            if (!Gbk::encode(text, bytes) || Gbk::decode(bytes) != text)
                ++wrong;
        }
    };
    std::thread a(run, QStringLiteral("普洗工序，洗水到喷砂"));
    std::thread b(run, QStringLiteral("update set 石磨工序 where 结讫=0"));
    a.join();
    b.join();
    EXPECT_EQ(wrong.load(), 0);
}

// Short texts are kept once converted: a text met again, one sharing its first bytes and a
// broken one decode as the first time, in any order.
TEST(GbkKept, TextsMetAgainDecodeAsTheFirstTime)
{
    QByteArray long_;
    ASSERT_TRUE(Gbk::encode(QString(40, QChar(0x6D17)), long_));  // 80 bytes, never kept
    const QByteArray broken("\xD6\xD0\xFF", 3);
    const QList<QByteArray> inputs = {QByteArray("\xBF\xCD\xBB\xA7"), QByteArray("\xBF\xCD\xBB\xA7\xBC\xD7"),
                                      broken, long_, QByteArray("\xBF\xCD")};
    const QStringList expected = {QStringLiteral("客户"), QStringLiteral("客户甲"),
                                  QStringLiteral("中\uFFFD"), QString(40, QChar(0x6D17)),
                                  QStringLiteral("客")};
    for (int round = 0; round < 2; ++round)
        for (int i = 0; i < inputs.size(); ++i)
            EXPECT_EQ(Gbk::decode(inputs[i]), expected[i]) << "round " << round << " text " << i;
}
