// Who may do what, per identity.
#include "ui/Rights.h"

#include <gtest/gtest.h>
#include <QStringList>

using namespace rights;

namespace {

struct Expected {
    const char* identity;
    const char* screens;  // letters of the screens the identity may open, see kScreens
    bool process;         // 处理工作 at 洗水
    bool closeOrders, createClients, editAccounts, editPrices, editSettings, editRecords;
};

// One letter a screen, in the order of this table.
constexpr std::pair<char, Screen> kScreens[] = {
    {'W', Screen::Stations},      {'C', Screen::Consignee},      {'S', Screen::Shipper},
    {'Q', Screen::Quality},       {'O', Screen::InquiryProduct}, {'I', Screen::InquiryShipment},
    {'T', Screen::InquiryShip},   {'P', Screen::RawIn},          {'U', Screen::RawOut},
    {'R', Screen::RawInquiry},    {'M', Screen::Manage},         {'L', Screen::Salary},
    {'K', Screen::InquirySalary}, {'E', Screen::SalaryEdit},     {'A', Screen::AdminSettings},
    {'B', Screen::Board},
};

const Expected kExpected[] = {
    {"管理员", "WCSQOITPURMLKEAB", true, true, true, true, true, true, true},
    {"董事长", "WCSQOITPURMLKEAB", true, true, true, true, false, true, true},
    {"厂长", "WCSQOITPURMB", true, true, true, false, false, true, true},
    {"财务", "WCSQOITPURLKEB", false, false, false, false, false, false, false},
    {"调度", "WCSQOIPURB", true, false, false, false, false, false, false},
    {"洗水班长", "WB", true, false, false, false, false, false, false},
    {"喷砂班长", "WB", false, false, false, false, false, false, false},
    // Whoever is signed in sees the dashboard, and so the floor board.
    {"游客", "B", false, false, false, false, false, false, false},
    {"", "", false, false, false, false, false, false, false},
    // Exact comparison: a near miss is nobody, but signed in.
    {"管理员 ", "B", false, false, false, false, false, false, false},
};

}  // namespace

TEST(Rights, EachIdentityGetsExactlyItsRights)
{
    for (const Expected& e : kExpected) {
        const QString id = QString::fromUtf8(e.identity);
        SCOPED_TRACE(e.identity);
        QString screens;
        for (const auto& [letter, screen] : kScreens)
            if (mayOpen(id, screen))
                screens.append(QLatin1Char(letter));
        EXPECT_EQ(screens, QString::fromLatin1(e.screens));
        EXPECT_EQ(mayProcess(id, QStringLiteral("洗水")), e.process);
        EXPECT_EQ(mayCloseOrders(id), e.closeOrders);
        EXPECT_EQ(mayCreateClients(id), e.createClients);
        EXPECT_EQ(mayEditAccounts(id), e.editAccounts);
        EXPECT_EQ(mayEditPrices(id), e.editPrices);
        EXPECT_EQ(mayEditSettings(id), e.editSettings);
        EXPECT_EQ(mayEditRecords(id), e.editRecords);
    }
}

TEST(Rights, ATeamLeaderProcessesOnlyAtHisOwnStation)
{
    EXPECT_TRUE(mayProcess(QStringLiteral("喷砂班长"), QStringLiteral("喷砂")));
    EXPECT_FALSE(mayProcess(QStringLiteral("喷砂班长"), QStringLiteral("洗水")));
    EXPECT_FALSE(mayProcess(QStringLiteral("喷砂班长"), QString()));
    EXPECT_TRUE(isTeamLeader(QStringLiteral("马骝班长")));
    EXPECT_FALSE(isTeamLeader(QStringLiteral("班长")));
}
