#!/usr/bin/python3
"""Asks a running Quilvane, through AT-SPI as a screen reader does, for the character, word,
sentence and line at, before and after every offset of the temperature box's text, the end
included, and for its attribute runs. Each query must answer within a few seconds and give
a segment that lies in the text; the attribute run at the end must cover the whole text.
Usage: atspi_text.py (under a D-Bus session with the AT-SPI bus, the program running)."""
import signal
import sys
import time

import pyatspi

TEXT = "25.5 abc"


class Hang(Exception):
    pass


def on_alarm(signum, frame):
    raise Hang()


def find(node, name, depth=0):
    if node is None or depth > 12:
        return None
    try:
        if node.name == name and node.getRole() == pyatspi.ROLE_TEXT:
            return node
        for i in range(node.childCount):
            found = find(node.getChildAtIndex(i), name, depth + 1)
            if found:
                return found
    except Exception:
        return None
    return None


def main():
    box = None
    for _ in range(100):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "quilvane":
                box = find(app, "温度值（℃）")
        if box:
            break
        time.sleep(0.1)
    if box is None:
        print("the temperature box is not in the AT-SPI tree")
        return 1
    box.queryEditableText().setTextContents(TEXT)
    text = box.queryText()
    count = text.characterCount
    if count != len(TEXT):
        print("the box holds %d characters, not %d" % (count, len(TEXT)))
        return 1
    signal.signal(signal.SIGALRM, on_alarm)
    boundaries = [pyatspi.TEXT_BOUNDARY_CHAR, pyatspi.TEXT_BOUNDARY_WORD_START, pyatspi.TEXT_BOUNDARY_WORD_END,
                  pyatspi.TEXT_BOUNDARY_SENTENCE_START, pyatspi.TEXT_BOUNDARY_SENTENCE_END,
                  pyatspi.TEXT_BOUNDARY_LINE_START, pyatspi.TEXT_BOUNDARY_LINE_END]
    queries = [("at", text.getTextAtOffset), ("before", text.getTextBeforeOffset), ("after", text.getTextAfterOffset)]
    failures = []
    for offset in range(count + 1):
        for boundary in boundaries:
            for what, query in queries:
                signal.alarm(5)
                try:
                    segment, start, end = query(offset, boundary)
                except (Hang, RuntimeError):  # the alarm can surface inside the D-Bus call
                    print("no answer for the %s %s at offset %d: the program hangs" % (what, boundary, offset))
                    return 1
                finally:
                    signal.alarm(0)
                if not (0 <= start <= end <= count) or segment != TEXT[start:end]:
                    failures.append("%s %s at %d: %r [%d, %d)" % (what, boundary, offset, segment, start, end))
    # The attribute run at the end of the text is the whole text, so that it is read whole.
    attributes, start, end = text.getAttributeRun(count, False)
    if (start, end) != (0, count):
        failures.append("attribute run at the end: [%d, %d)" % (start, end))
    for failure in failures:
        print(failure)
    print("%d offsets, %d queries each: %s" % (count + 1, len(boundaries) * len(queries),
                                               "all answered" if not failures else "%d wrong" % len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
