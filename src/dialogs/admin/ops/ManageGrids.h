#pragma once

#include "dialogs/admin/AdminQueries.h"

#include <QString>
#include <QVector>

// The six grids of production management: their columns, editors and required cells. The
// screen builds its grids from these and the save reads the cells by them.
namespace manage {

enum class Grid { Technologies, Processes, Members, Clients, Orders, Losses };
inline constexpr Grid kGrids[] = {Grid::Technologies, Grid::Processes, Grid::Members,
                                  Grid::Clients,      Grid::Orders,    Grid::Losses};

// The first cell of a row added in a grid, until it is saved.
inline const QString kNewRow = QStringLiteral("新增");

enum class Editor {
    None,    // not editable
    Text,    // free text
    Choice,  // a drop-down of `choice`
    Flag,    // a drop-down of "1" and "0"
};

struct Column {
    const char* caption;  // also the name of the table's column, apart from a position column
    int width;
    Editor editor;
    adminq::Choice choice = adminq::Choice::None;
    bool required = false;  // may not be empty in a new or changed row
    // Where the text is written too, with the width it must fit there as well (a step's name
    // becomes the 工序 of the flows it finishes).
    const char* alsoTable = nullptr;
    const char* alsoColumn = nullptr;
};

struct GridShape {
    Grid grid;
    const char* table;
    const char* caption;  // the title of its group
    const char* name;     // the prefix of its controls' object names
    QVector<Column> columns;
    // Technologies and process steps: the first column holds the row's position at loading and
    // the rows are found by 名称 (column 1); the other grids are keyed by their first column.
    bool byName = false;
    // Technologies and process steps: the message for a name twice in the grid.
    const char* duplicateName = nullptr;
    // The most recent rows only (orders, losses): the grid holds at most one list of rows.
    bool newestFirst = false;
    // The note under a grid that shows only the first kListCap rows (%1) of all (%2, not for
    // the newest-first grids, which read no more than they show).
    const char* cutNote = nullptr;
};

const GridShape& shape(Grid grid);

// Every grid's first cell is the row's key (its position at loading in the byName grids), and
// the byName grids' second its 名称.
inline constexpr int kKeyCell = 0;
inline constexpr int kNameCell = 1;

// The cells of each grid's rows by name, in the order of its shape's columns (a test holds
// the counts equal). The byName grids' first cell is the row's position at loading.
struct TechnologyCells {
    enum Cell { Position, Name, Type, Price, Count };
};
struct ProcessCells {
    enum Cell { Position, Name, Station, Wage, Count };
};
struct MemberCells {
    enum Cell { Id, Name, Identity, Team, Active, Count };
};
struct ClientCells {
    enum Cell { Id, Name, Note, Active, Count };
};
struct OrderCells {
    enum Cell {
        Id,
        Style,
        Client,
        Quantity,
        Receiver,
        Received,
        Nature,
        Type,
        Kind,
        Sex,
        Method,
        Price,
        LossPrice,
        Original,
        Washed,
        Lost,
        Priority,
        Related,
        Active,
        Activated,
        Closed,
        ClosedAt,
        Count
    };
};
struct LossCells {
    enum Cell { Serial, Client, Date, Quantity, Reason, Responsible, Recorder, Remark, Count };
};
// The number of cells the names above give a grid.
int cellCount(Grid grid);

}  // namespace manage
