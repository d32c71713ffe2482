"""Prints the sheets of an .xlsx workbook as JSON, for the export tests.

Output: {"sheets": [name, ...], "rows": [[cell, ...], ...]} for the first sheet, where a cell
is null when empty, else [type, value] with type "n" (number) or "s" (text).
"""
import json
import sys

import openpyxl


def cell(c):
    if c.value is None:
        return None
    return ["n" if c.data_type == "n" else "s", c.value]


def main(path):
    book = openpyxl.load_workbook(path, read_only=True)
    sheet = book.worksheets[0]
    rows = []
    for row in sheet.iter_rows():
        cells = [cell(c) for c in row]
        while cells and cells[-1] is None:
            cells.pop()
        rows.append(cells)
    print(json.dumps({"sheets": book.sheetnames, "rows": rows}, ensure_ascii=False))


if __name__ == "__main__":
    main(sys.argv[1])
