#include "ui/Rights.h"

#include <QStringList>

namespace rights {

namespace {

bool isChief(const QString& identity)
{
    return identity == kAdmin || identity == kChairman;
}

}  // namespace

bool isTeamLeader(const QString& identity)
{
    static const QStringList leaders = {QStringLiteral("洗水班长"), QStringLiteral("喷砂班长"),
                                        QStringLiteral("夹烫班长"), QStringLiteral("手工班长"),
                                        QStringLiteral("树脂班长"), QStringLiteral("马骝班长"),
                                        QStringLiteral("手擦班长")};
    return leaders.contains(identity);
}

bool mayOpen(const QString& identity, Screen screen)
{
    if (isChief(identity))
        return true;
    switch (screen) {
        case Screen::Stations:
            return identity == kDirector || identity == kFinance || identity == kDispatcher ||
                   isTeamLeader(identity);
        case Screen::Consignee:
        case Screen::Shipper:
        case Screen::Quality:
        case Screen::InquiryProduct:
        case Screen::InquiryShipment:
        case Screen::RawIn:
        case Screen::RawOut:
        case Screen::RawInquiry:
            return identity == kDirector || identity == kFinance || identity == kDispatcher;
        case Screen::InquiryShip:
            return identity == kDirector || identity == kFinance;
        case Screen::Manage:
            return identity == kDirector;
        case Screen::Salary:
        case Screen::InquirySalary:
        case Screen::SalaryEdit:
            return identity == kFinance;
        case Screen::AdminSettings:
            return false;
        case Screen::Board:
            // Everybody signed in sees the dashboard; the board shows the same workshop.
            return !identity.isEmpty();
    }
    return false;
}

bool mayProcess(const QString& identity, const QString& station)
{
    if (isChief(identity) || identity == kDirector || identity == kDispatcher)
        return true;
    // A team leader only at his own station.
    return !station.isEmpty() && identity.contains(QStringLiteral("班长")) && identity.contains(station);
}

bool mayCloseOrders(const QString& identity)
{
    return isChief(identity) || identity == kDirector;
}

bool mayCreateClients(const QString& identity)
{
    return isChief(identity) || identity == kDirector;
}

bool mayEditAccounts(const QString& identity)
{
    return isChief(identity);
}

bool mayEditPrices(const QString& identity)
{
    return identity == kAdmin;
}

bool mayEditSettings(const QString& identity)
{
    return isChief(identity) || identity == kDirector;
}

bool mayEditRecords(const QString& identity)
{
    return isChief(identity) || identity == kDirector;
}

}  // namespace rights
