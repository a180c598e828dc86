"""Prints an .xlsx workbook as JSON, read with openpyxl (a reader other than the writer), for the
workbook tests: per sheet its name, the frozen cell, the filtered range, the note of its first
cell and its rows, each cell as [value, marked] (a number stays a number; marked: the cell is
filled with a colour)."""
import json
import sys

import openpyxl


def cell(c):
    marked = bool(c.fill is not None and c.fill.fill_type and c.fill.fgColor.rgb != "00000000")
    return [c.value, marked]


def sheet(ws):
    return {
        "name": ws.title,
        "freeze": ws.freeze_panes,
        "filter": ws.auto_filter.ref,
        "note": ws["A1"].comment.text if ws["A1"].comment else None,
        "rows": [[cell(c) for c in row] for row in ws.iter_rows()],
    }


book = openpyxl.load_workbook(sys.argv[1])
json.dump({"title": book.properties.title, "sheets": [sheet(ws) for ws in book.worksheets]},
          sys.stdout, ensure_ascii=False)
