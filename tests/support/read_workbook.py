#!/usr/bin/env python3
"""Prints a workbook as JSON for the tests: each sheet's name, frozen cell, column widths and
cells (Python type of the value, the value, number format, bold)."""
import datetime
import json
import sys

import openpyxl
from openpyxl.utils import get_column_letter


def cell(c):
    v = c.value
    if v is None:
        kind, v = "none", ""
    elif isinstance(v, datetime.datetime):
        kind, v = "datetime", v.strftime("%Y-%m-%d %H:%M:%S")
    elif isinstance(v, bool):
        kind = "bool"
    elif isinstance(v, int):
        kind = "int"
    elif isinstance(v, float):
        kind = "float"
    else:
        kind, v = "str", str(v)
    return {"type": kind, "value": v, "format": c.number_format, "bold": bool(c.font and c.font.b)}


book = openpyxl.load_workbook(sys.argv[1])
sheets = []
for ws in book.worksheets:
    widths = []
    for i in range(1, ws.max_column + 1):
        d = ws.column_dimensions.get(get_column_letter(i))
        widths.append(d.width if d is not None and d.width else 0)
    sheets.append({
        "name": ws.title,
        "freeze": ws.freeze_panes or "",
        "widths": widths,
        "rows": [[cell(c) for c in row] for row in ws.iter_rows()],
    })
json.dump(sheets, sys.stdout, ensure_ascii=False)
