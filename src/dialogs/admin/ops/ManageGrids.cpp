#include "dialogs/admin/ops/ManageGrids.h"

#include "db/Tables.h"

namespace manage {

namespace {

using adminq::Choice;
constexpr bool kRequired = true;

const GridShape kShapes[] = {
    {Grid::Technologies,
     "kvc_attrib_technology",
     "工艺(洗涤方法)管理",
     "technology",
     {{"序列号", 0, Editor::None},
      {"名称", 100, Editor::Text, Choice::None, kRequired},
      {"类型", 70, Editor::Choice, Choice::TechnologyTypes, kRequired},
      {"价格", 70, Editor::Text, Choice::None, kRequired}},
     true,
     "不能有相同名字的工艺",
     false,
     "只显示前%1种工艺，共%2种"},
    {Grid::Processes,
     "kvc_attrib_process",
     "工序(流水线步骤)管理",
     "process",
     {{"序列号", 0, Editor::None},
      {"名称", 100, Editor::Text, Choice::None, kRequired, tables::procedure, "工序"},
      {"工作站", 70, Editor::Choice, Choice::Stations, kRequired},
      {"工价", 70, Editor::Text, Choice::None, kRequired}},
     true,
     "不能有相同名字的工序",
     false,
     "只显示前%1个工序，共%2个"},
    {Grid::Members,
     "kvc_record_member",
     "员工管理",
     "member",
     {{"工号", 50, Editor::None},
      {"姓名", 70, Editor::Text, Choice::None, kRequired},
      {"身份", 60, Editor::Choice, Choice::Identities, kRequired},
      {"班组", 60, Editor::Choice, Choice::Teams},
      {"激活", 50, Editor::Flag, Choice::None, kRequired}},
     false,
     nullptr,
     false,
     "只显示前%1名员工，共%2名"},
    {Grid::Clients,
     "kvc_record_client",
     "客户管理",
     "client",
     {{"客户号", 60, Editor::None},
      {"名称", 80, Editor::Text, Choice::None, kRequired},
      {"说明", 100, Editor::Text},
      {"激活", 60, Editor::Flag, Choice::None, kRequired}},
     false,
     nullptr,
     false,
     "只显示前%1个客户，共%2个"},
    {Grid::Orders,
     "kvc_record_product",
     "货单管理",
     "order",
     {{"货单号", 60, Editor::None},
      {"款号", 60, Editor::Text, Choice::None, kRequired},
      {"客户号", 60, Editor::Text, Choice::None, kRequired},
      {"货物数量", 70, Editor::Text},
      {"接货人", 70, Editor::Choice, Choice::Transporters},
      {"接货时间", 100, Editor::Text},
      {"货物性质", 70, Editor::Choice, Choice::Natures},
      {"货物分类", 70, Editor::Choice, Choice::GoodsTypes},
      {"货物款式", 70, Editor::Choice, Choice::Kinds},
      {"货物性别", 70, Editor::Choice, Choice::Sexes},
      {"洗涤方法", 150, Editor::Text},
      {"货物单价", 70, Editor::Text},
      {"损耗单价", 70, Editor::Text},
      {"原版数量", 70, Editor::Text},
      {"洗版数量", 70, Editor::Text},
      {"损耗数量", 70, Editor::Text},
      {"货物等级", 70, Editor::Choice, Choice::Priorities},
      {"关联", 60, Editor::Text},
      {"激活", 60, Editor::Flag},
      {"激活时间", 100, Editor::Text},
      {"结讫", 60, Editor::Flag},
      {"结讫时间", 100, Editor::Text}},
     false,
     nullptr,
     true,
     "只显示最近的%1张货单，请用“查询”缩小范围"},
    {Grid::Losses,
     "kvc_record_quality",
     "损耗登记管理",
     "loss",
     {{"序列号", 60, Editor::None},
      {"客户号", 60, Editor::Text, Choice::None, kRequired},
      {"日期", 100, Editor::Text, Choice::None, kRequired},
      {"数量", 50, Editor::Text, Choice::None, kRequired},
      {"原因", 100, Editor::Text},
      {"责任人", 70, Editor::Choice, Choice::ActiveMembers, kRequired},
      {"记录人", 70, Editor::Choice, Choice::ActiveDispatchers, kRequired},
      {"备注", 150, Editor::Text}},
     false,
     nullptr,
     true,
     "只显示最近的%1条损耗记录"},
};

}  // namespace

const GridShape& shape(Grid grid)
{
    for (const GridShape& s : kShapes)
        if (s.grid == grid)
            return s;
    return kShapes[0];
}

int cellCount(Grid grid)
{
    switch (grid) {
        case Grid::Technologies:
            return TechnologyCells::Count;
        case Grid::Processes:
            return ProcessCells::Count;
        case Grid::Members:
            return MemberCells::Count;
        case Grid::Clients:
            return ClientCells::Count;
        case Grid::Orders:
            return OrderCells::Count;
        case Grid::Losses:
            return LossCells::Count;
    }
    return 0;
}

}  // namespace manage
