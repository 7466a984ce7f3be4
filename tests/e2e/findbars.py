"""Finds the seven painted bars in a screenshot given as a binary PPM on stdin:
one screen row that crosses, from left to right, pure red, green, blue,
yellow, cyan and magenta and then mid grey, each within a small tolerance,
as the bars show them half-way up. Prints that row and where each bar was
crossed, or, failing that, the row that came closest and what it lacked.
"""
import sys

TOLERANCE = 6
BARS = [("red", (255, 0, 0)), ("green", (0, 255, 0)), ("blue", (0, 0, 255)),
        ("yellow", (255, 255, 0)), ("cyan", (0, 255, 255)), ("magenta", (255, 0, 255)),
        ("grey", (128, 128, 128))]


def read_ppm(stream):
    fields = []
    while len(fields) < 4:
        line = stream.readline()
        fields += line.split(b"#")[0].split()
    magic, width, height, maximum = fields
    if magic != b"P6" or maximum != b"255":
        sys.exit("findbars: expects an 8-bit binary PPM")
    return int(width), int(height), stream.read()


def bars_on_row(data, width, y):
    """How many bars, in order, the row crosses, and at which x."""
    found = []
    start = y * width * 3
    for x in range(width):
        if len(found) == len(BARS):
            break
        pixel = data[start + 3 * x:start + 3 * x + 3]
        target = BARS[len(found)][1]
        if all(abs(channel - wanted) <= TOLERANCE for channel, wanted in zip(pixel, target)):
            found.append(x)
    return found


width, height, data = read_ppm(sys.stdin.buffer)
best_y, best = 0, []
for y in range(height):
    found = bars_on_row(data, width, y)
    if len(found) > len(best):
        best_y, best = y, found
    if len(found) == len(BARS):
        break
crossed = ", ".join(f"{name} at x {x}" for (name, _), x in zip(BARS, best))
if len(best) == len(BARS):
    print(f"row {best_y} crosses {crossed}")
else:
    lacking = BARS[len(best)][0]
    sys.exit(f"no row crosses the seven bars; row {best_y} comes closest"
             f"{' with ' + crossed if best else ''} but then finds no {lacking}")
