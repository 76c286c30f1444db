#!/usr/bin/env python3
"""Writes the key buttons of the keyboard page (resources/skin/XML/DeviceXml/keyboarddevice.xml).

Every key of a full-size board (104 keys and the macro keys M1-M5) is one DeviceKeyButton named
after its logical key ("key_" n, user data "light_" n), placed where the key sits on a real board.
Every frame of the lighting recolours them all, so they are painted as one light layer
(lightlayer="true") while each still takes its clicks.
The keys are listed row by row as (logical key, legend, x, width, height) in key units; the script
prints the XML lines that go between the markers of the page file, or replaces them in place with
--write.
"""
import sys
from xml.sax.saxutils import quoteattr
from pathlib import Path

UNIT = 31    # pixels per key unit
GAP = 3      # pixels between two caps
ROW_GAP = 8  # pixels between the function row and the rest
MACRO_GAP = 0.4  # key units between the macro column and the board

# (row, logical key, legend, x, width, height); x in key units from the board's left edge.
KEYS = []


def row(r, x, keys):
    """keys: (logical key, legend, width[, height]) one after the other from x; None skips a gap."""
    for k in keys:
        if isinstance(k, (int, float)):
            x += k
            continue
        key, legend, width = k[0], k[1], k[2]
        height = k[3] if len(k) > 3 else 1
        KEYS.append((r, key, legend, x, width, height))
        x += width


row(0, 0, [(0, "Esc", 1), 1, (1, "F1", 1), (2, "F2", 1), (3, "F3", 1), (4, "F4", 1), 0.5,
           (5, "F5", 1), (6, "F6", 1), (7, "F7", 1), (8, "F8", 1), 0.5,
           (9, "F9", 1), (10, "F10", 1), (11, "F11", 1), (12, "F12", 1), 0.25,
           (13, "Prt", 1), (14, "Scr", 1), (15, "Brk", 1)])
row(1, 0, [(21, "`", 1), (22, "1", 1), (23, "2", 1), (24, "3", 1), (25, "4", 1), (26, "5", 1),
           (27, "6", 1), (28, "7", 1), (29, "8", 1), (30, "9", 1), (31, "0", 1), (32, "-", 1),
           (33, "=", 1), (34, "Backspace", 2), 0.25, (35, "Ins", 1), (36, "Hm", 1), (37, "Pg↑", 1), 0.25,
           (38, "Num", 1), (39, "/", 1), (40, "*", 1), (41, "-", 1)])
row(2, 0, [(42, "Tab", 1.5), (43, "Q", 1), (44, "W", 1), (45, "E", 1), (46, "R", 1), (47, "T", 1),
           (48, "Y", 1), (49, "U", 1), (50, "I", 1), (51, "O", 1), (52, "P", 1), (53, "[", 1),
           (54, "]", 1), (55, "\\", 1.5), 0.25, (56, "Del", 1), (57, "End", 1), (58, "Pg↓", 1), 0.25,
           (59, "7", 1), (60, "8", 1), (61, "9", 1), (119, "+", 1, 2)])
row(3, 0, [(63, "Caps", 1.75), (64, "A", 1), (65, "S", 1), (66, "D", 1), (67, "F", 1), (68, "G", 1),
           (69, "H", 1), (70, "J", 1), (71, "K", 1), (72, "L", 1), (73, ";", 1), (74, "'", 1),
           (75, "Enter", 2.25), 3.5, (76, "4", 1), (77, "5", 1), (78, "6", 1)])
row(4, 0, [(84, "Shift", 2.25), (85, "Z", 1), (86, "X", 1), (87, "C", 1), (88, "V", 1), (89, "B", 1),
           (90, "N", 1), (91, "M", 1), (92, ",", 1), (93, ".", 1), (94, "/", 1), (95, "Shift", 2.75),
           1.25, (96, "↑", 1), 1.25, (97, "1", 1), (98, "2", 1), (99, "3", 1), (118, "Ent", 1, 2)])
row(5, 0, [(105, "Ctrl", 1.25), (106, "Win", 1.25), (107, "Alt", 1.25), (108, "", 6.25),
           (109, "Alt", 1.25), (110, "Fn", 1.25), (111, "Menu", 1.25), (112, "Ctrl", 1.25), 0.25,
           (113, "←", 1), (114, "↓", 1), (115, "→", 1), 0.25, (116, "0", 2), (117, ".", 1)])
# The macro keys, a column left of the board beside the five lower rows.
MACROS = [(120, "M1"), (121, "M2"), (122, "M3"), (123, "M4"), (124, "M5")]


def y_of(r):
    return 0 if r == 0 else ROW_GAP + r * UNIT


def button(key, legend, left, top, width, height):
    text = f" text={quoteattr(legend)}" if legend else ""
    return (f'        <DeviceKeyButton name="key_{key}" userdata="light_{key}" float="true" '
            f'pos="{left},{top},{left + width},{top + height}"{text} tooltip={quoteattr(legend or "Space")} '
            f'font="10" textcolor="#FFE4E7EB" bkcolor="#FFFFFFFF" lightlayer="true"/>')


def lines():
    board_x = round((1 + MACRO_GAP) * UNIT)
    out = []
    for i, (key, legend) in enumerate(MACROS):
        top = y_of(i + 1)
        out.append(button(key, legend, 0, top, UNIT - GAP, UNIT - GAP))
    for r, key, legend, x, width, height in KEYS:
        left = board_x + round(x * UNIT)
        top = y_of(r)
        out.append(button(key, legend, left, top,
                          round(width * UNIT) - GAP, round(height * UNIT) - GAP))
    return out


def main():
    keys = [k[1] for k in KEYS] + [m[0] for m in MACROS]
    assert len(keys) == len(set(keys)) == 109, len(keys)
    text = "\n".join(lines())
    if "--write" not in sys.argv:
        print(text)
        return
    page = Path(__file__).resolve().parent.parent / "resources/skin/XML/DeviceXml/keyboarddevice.xml"
    source = page.read_text(encoding="utf-8")
    begin, end = "<!-- keys: begin -->", "<!-- keys: end -->"
    head, rest = source.split(begin, 1)
    _, tail = rest.split(end, 1)
    page.write_text(head + begin + "\n" + text + "\n        " + end + tail, encoding="utf-8")


if __name__ == "__main__":
    main()
