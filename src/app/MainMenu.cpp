#include "app/MainMenu.h"

namespace {

const QList<int> kStations = {cmd::StationWashing, cmd::StationBlasting, cmd::StationResin,
                              cmd::StationManual,  cmd::StationIroning,  cmd::StationRubbing,
                              cmd::StationMonkey};

QList<int> stationsAnd(std::initializer_list<int> more)
{
    QList<int> r = kStations;
    r.append(more);
    return r;
}

}  // namespace

const QList<MenuItem>& MainMenuItems()
{
    static const QList<MenuItem> items = {
        {"工作站登记", "洗水工作站", cmd::StationWashing, true},
        {"工作站登记", "喷砂工作站", cmd::StationBlasting, true},
        {"工作站登记", "树脂工作站", cmd::StationResin, true},
        {"工作站登记", "手工工作站", cmd::StationManual, true},
        {"工作站登记", "夹烫工作站", cmd::StationIroning, true},
        {"工作站登记", "手擦工作站", cmd::StationRubbing, true},
        {"工作站登记", "马骝工作站", cmd::StationMonkey, true},
        {"货单登记", "来货登记", cmd::Consignee, true},
        {"货单登记", "送货登记", cmd::Shipper, true},
        {"货单登记", "损耗登记", cmd::Quality, true},
        {"货单登记", "货单查询", cmd::InquiryProduct, true},
        {"货单登记", "发货查询", cmd::InquiryShipment, true},
        {"货单登记", "发货统计", cmd::InquiryShip, true},
        {"原料登记", "采购登记", cmd::RawIn, true},
        {"原料登记", "领料登记", cmd::RawOut, true},
        {"原料登记", "原料查询", cmd::RawInquiry, true},
        {"生产管理", "生产管理", cmd::Manage, true},
        {"财务管理", "计件结算", cmd::Salary, true},
        {"财务管理", "计件查询", cmd::InquirySalary, true},
        {"财务管理", "计件追加", cmd::SalaryEdit, true},
        {"系统设置", "个人设置", cmd::PersonalSettings, false},
        {"系统设置", "管理设置", cmd::AdminSettings, true},
        {"系统设置", "注销", cmd::SignOut, false},
        {"简化模式", "货单操作", cmd::Simple, false},
    };
    return items;
}

QString StationOfCommand(int command)
{
    switch (command) {
        case cmd::StationWashing:
            return QStringLiteral("洗水");
        case cmd::StationBlasting:
            return QStringLiteral("喷砂");
        case cmd::StationResin:
            return QStringLiteral("树脂");
        case cmd::StationManual:
            return QStringLiteral("手工");
        case cmd::StationIroning:
            return QStringLiteral("夹烫");
        case cmd::StationRubbing:
            return QStringLiteral("手擦");
        case cmd::StationMonkey:
            return QStringLiteral("马骝");
        default:
            return QString();
    }
}

QList<int> GuardedCommandsFor(const QString& identity)
{
    if (identity == QStringLiteral("管理员") || identity == QStringLiteral("董事长")) {
        QList<int> all;
        for (const MenuItem& item : MainMenuItems())
            if (item.guarded)
                all.append(item.command);
        return all;
    }
    if (identity == QStringLiteral("厂长"))
        return stationsAnd({cmd::Consignee, cmd::Shipper, cmd::Quality, cmd::InquiryProduct,
                            cmd::InquiryShipment, cmd::InquiryShip, cmd::Manage, cmd::RawOut, cmd::RawIn,
                            cmd::RawInquiry});
    if (identity == QStringLiteral("财务"))
        return stationsAnd({cmd::Consignee, cmd::Shipper, cmd::Quality, cmd::InquiryProduct,
                            cmd::InquiryShipment, cmd::InquiryShip, cmd::RawOut, cmd::RawIn, cmd::RawInquiry,
                            cmd::InquirySalary, cmd::Salary, cmd::SalaryEdit});
    if (identity == QStringLiteral("调度"))
        return stationsAnd({cmd::Consignee, cmd::Shipper, cmd::Quality, cmd::InquiryProduct,
                            cmd::InquiryShipment, cmd::RawOut, cmd::RawIn, cmd::RawInquiry});
    static const QStringList leaders = {QStringLiteral("洗水班长"), QStringLiteral("喷砂班长"),
                                        QStringLiteral("夹烫班长"), QStringLiteral("手工班长"),
                                        QStringLiteral("树脂班长"), QStringLiteral("马骝班长"),
                                        QStringLiteral("手擦班长")};
    if (leaders.contains(identity))
        return kStations;
    return {};
}
