#include "db/Convert.h"

#include <gtest/gtest.h>
#include <QProcess>
#include <QTemporaryDir>
#include <clocale>
#include <cstdlib>
#include <string>

namespace {

// A desktop whose numbers are written with a decimal comma: de_DE compiled from the
// system's locale sources into a folder of its own, in force while the object lives.
class CommaDesktop {
public:
    CommaDesktop()
    {
        if (!dir_.isValid())
            return;
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QStringLiteral("localedef"),
                {QStringLiteral("-i"), QStringLiteral("de_DE"), QStringLiteral("-f"), QStringLiteral("UTF-8"),
                 dir_.filePath(QStringLiteral("de_DE.UTF-8"))});
        if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit) {
            why_ = "localedef did not run";
            return;
        }
        const char* old = std::setlocale(LC_NUMERIC, nullptr);
        old_ = old ? old : "C";
        qputenv("LOCPATH", dir_.path().toLocal8Bit());
        active_ = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
        if (!active_)
            why_ = "no de_DE locale: " + QString::fromLocal8Bit(p.readAll()).toStdString();
    }
    ~CommaDesktop()
    {
        std::setlocale(LC_NUMERIC, old_.c_str());
        qunsetenv("LOCPATH");
    }
    bool active() const { return active_; }
    const std::string& why() const { return why_; }

private:
    QTemporaryDir dir_;
    std::string old_ = "C";
    std::string why_ = "no temporary folder";
    bool active_ = false;
};

}  // namespace

TEST(Convert, MoneyAndRatesReadTheSameOnADesktopWithADecimalComma)
{
    CommaDesktop desktop;
    if (!desktop.active())
        GTEST_SKIP() << desktop.why();
    // The desktop really reads a comma: the C library's own reading stops at the point.
    ASSERT_EQ(std::strtod("5.50", nullptr), 5.0);

    const struct {
        const char* text;
        double value;
    } cases[] = {{"5.50", 5.5}, {" 0.3 ", 0.3}, {"-2.25", -2.25}, {"+4", 4},    {"7.5元", 7.5},
                 {"1e2", 100},  {".5", 0.5},    {"5,50", 5},      {"abc", 0},   {"", 0},
                 {"--1", 0},    {"-", 0},       {"inf", 0},       {"1e999", 0}, {"12", 12}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(convert::toDouble(QString::fromUtf8(c.text)), c.value) << c.text;
    EXPECT_FLOAT_EQ(convert::toFloat(QStringLiteral("2.5")), 2.5f);
}
