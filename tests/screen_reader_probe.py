# SPDX-License-Identifier: GPL-3.0-or-later
# Drives the real program over X and reads it over AT-SPI, as a screen reader
# does: after each answer the focused answer box announces the verdict (a
# changed description, the phrase the record pane shows), and the evaluation
# chart carries its title and the four indices with their values, and its bars
# are reached by Tab and the arrow keys. Writes the verdicts the record shows to
# the file named by its first argument, and the question and the bars' names to
# the one named by its second, if any; the third names Orca's log, if any.
import os
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

announced = []
failures = []
bars = []


def on_description(event):
    try:
        if event.source.name == "回答":
            announced.append(event.source.description)
    except Exception:
        pass


def find(node, predicate):
    try:
        if predicate(node):
            return node
        for child in node:
            if child:
                found = find(child, predicate)
                if found:
                    return found
    except Exception:
        return None
    return None


def program():
    for _ in range(50):
        for application in pyatspi.Registry.getDesktop(0):
            if application and application.name == "Zorvel":
                return application
        time.sleep(0.2)
    failures.append("the program did not appear over AT-SPI")
    return None


def orca_settled():
    """Waits, ten seconds at most, until Orca's log stops growing: Orca has
    worked through the events so far."""
    if len(sys.argv) < 4 or not os.path.exists(sys.argv[3]):
        return
    size = -1
    for _ in range(40):
        if os.path.getsize(sys.argv[3]) == size:
            return
        size = os.path.getsize(sys.argv[3])
        time.sleep(0.25)


def xdotool(*arguments):
    return subprocess.run(["xdotool", *arguments], capture_output=True, text=True).stdout.split()


def focus(name):
    windows = xdotool("search", "--onlyvisible", "--name", name)
    if windows:
        xdotool("windowfocus", "--sync", windows[-1])


def new_question():
    focus("^Zorvel$")
    xdotool("key", "ctrl+n")
    time.sleep(0.8)
    focus(".")
    xdotool("key", "Return")


def answer(text):
    def step():
        box = find(program(), lambda node: node.getRoleName() == "text" and node.name == "回答")
        box.queryEditableText().setTextContents(text)
        time.sleep(0.2)
        xdotool("key", "Return")
    return step


def evaluate():
    focus("^Zorvel$")
    xdotool("key", "ctrl+e")
    time.sleep(1.0)
    chart = find(program(), lambda node: node.name == "思维评价")
    if chart is None:
        failures.append("no object named after the chart's title")
        return
    if not re.fullmatch(r"头脑发热值 \d+，思维发散值 \d+，联想发现值 \d+，思考守旧值 \d+", chart.description):
        failures.append("the chart's description is %r" % chart.description)
    # Tab from the tab into the chart, then down its bars: each is focused in turn.
    bars.extend(child.name for child in chart if child)
    if len(bars) != 4:
        failures.append("the chart shows %r as its bars" % bars)
    # Orca speaks a bar only while it is still focused when Orca comes to it.
    xdotool("key", "Tab")
    for _ in bars[1:]:
        orca_settled()
        xdotool("key", "Down")
    orca_settled()
    xdotool("key", "Escape")


def shown_verdicts():
    pane = find(program(), lambda node: node.getRoleName() == "text" and node.name == "答案评价")
    text = pane.queryText()
    return [line for line in text.getText(0, text.characterCount).splitlines() if line]


answers = ["写字", "写字", "abc"]
plan = [new_question] + [answer(text) for text in answers] + [evaluate]


def next_step():
    if plan:
        plan.pop(0)()
        return True
    pyatspi.Registry.stop()
    return False


pyatspi.Registry.registerEventListener(on_description, "object:property-change:accessible-description")
GLib.timeout_add(1500, next_step)
pyatspi.Registry.start()

verdicts = shown_verdicts()
if len(verdicts) != len(answers):
    failures.append("the record shows %d verdicts, not %d" % (len(verdicts), len(answers)))
if announced != verdicts:
    failures.append("announced %r, the record shows %r" % (announced, verdicts))
if len(sys.argv) > 1:
    with open(sys.argv[1], "w", encoding="utf-8") as out:
        out.write("\n".join(verdicts) + "\n")
# What Orca must have spoken besides the verdicts: the question and each bar.
if len(sys.argv) > 2:
    pane = find(program(), lambda node: node.getRoleName() == "text" and node.name == "问题")
    text = pane.queryText()
    with open(sys.argv[2], "w", encoding="utf-8") as out:
        out.write("\n".join([text.getText(0, text.characterCount)] + bars) + "\n")
for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
