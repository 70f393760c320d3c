#include "db/Gbk.h"

#include <gtest/gtest.h>
#include <QString>
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
