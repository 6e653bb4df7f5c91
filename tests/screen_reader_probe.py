# SPDX-License-Identifier: GPL-3.0-or-later
# Drives the real program over X and reads it over AT-SPI, as a screen reader
# does, inside a D-Bus session and under an X display of its own:
#   screen_reader_probe.py PROGRAM FOLDER
# It starts the AT-SPI bus, Orca (where it is installed) and the program, each
# after the one before answers. Each answer is judged as the test means it to
# be: it is sent only once the previous verdict is out and the program's
# too-fast rule is over (three seconds on its clock). After each answer the
# focused answer box announces the verdict (a changed description, the phrase
# the record pane shows), and Orca's debug log shows it spoken ("SPEECH
# OUTPUT"), with the score where the answer changed it. Orca speaks the new
# question as it appears. The evaluation chart carries its title and the four
# indices with their values; Tab into it and Down from bar to bar focus each of
# its four bars, and Orca speaks each, named with its value, before the next key.
#
# Every wait is bounded; one that runs out ends the test with the sentence
# "timed out after N s waiting for WHAT".
import os
import pty
import re
import shutil
import sqlite3
import subprocess
import sys
import threading
import time

from gi.repository import Gio, GLib

TIMEOUT = 60
# The program judges an answer given two whole seconds or less after the one
# before as too fast; whole seconds on a monotonic clock, as time.monotonic().
ANSWER_SPACING = 3.0
ACCEPTED, INVALID, REPEATED, PERSISTENT = 1, 2, 3, 4


class WaitFailed(Exception):
    pass


poll_source = None
# The processes that must keep running while the probe waits, by name.
watched = {}


def wait_for(what, ready, timeout=TIMEOUT):
    """Runs the main loop, which delivers AT-SPI events, until ready() gives a
    true value, and returns that value. An exception in ready() counts as not
    ready yet (objects come and go while the program works). Fails at once
    when a watched process has ended."""
    global poll_source
    if poll_source is None:
        poll_source = GLib.timeout_add(50, lambda: True)  # wakes the loop to poll
    deadline = time.monotonic() + timeout
    context = GLib.MainContext.default()
    last_error = None
    while True:
        try:
            value = ready()
            if value:
                return value
        except Exception as error:  # noqa: BLE001 - any AT-SPI or D-Bus error
            last_error = error
        for name, process in watched.items():
            if process.poll() is not None:
                raise WaitFailed("%s ended with status %d while the test waited for %s" % (
                    name, process.returncode, what))
        if time.monotonic() >= deadline:
            reason = " (last error: %s)" % last_error if last_error else ""
            raise WaitFailed("timed out after %d s waiting for %s%s" % (timeout, what, reason))
        context.iteration(True)


class Processes:
    """The processes the probe starts, ended in reverse order at the end."""

    def __init__(self):
        self.started = []

    def start(self, name, arguments, killed=False, **options):
        """Starts a process that is ended with SIGTERM, or with SIGKILL where
        `killed` is set."""
        process = subprocess.Popen(arguments, stdin=subprocess.DEVNULL, **options)
        self.started.append((process, killed))
        watched[name] = process
        return process

    def end_all(self):
        watched.clear()
        for process, killed in reversed(self.started):
            if killed:
                process.kill()
            else:
                process.terminate()
            try:
                process.wait(timeout=TIMEOUT)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()


class OrcaLog:
    """Orca's debug output, read as it is written. Orca opens its debug file
    with Python's default buffering, which holds lines back unless the file is
    a terminal: it writes to a pseudo-terminal, read here line by line."""

    def __init__(self, copy_path):
        self.lines = []
        self.lock = threading.Lock()
        self.master, self.slave = pty.openpty()
        self.copy = open(copy_path, "w", encoding="utf-8")
        self.reader = threading.Thread(target=self._read, daemon=True)

    def start_reading(self):
        os.close(self.slave)
        self.reader.start()

    def _read(self):
        pending = b""
        while True:
            try:
                chunk = os.read(self.master, 65536)
            except OSError:
                chunk = b""
            if not chunk:
                break
            pending += chunk
            *complete, pending = pending.split(b"\n")
            with self.lock:
                for line in complete:
                    text = line.decode("utf-8", "replace").rstrip("\r")
                    self.lines.append(text)
                    self.copy.write(text + "\n")
                self.copy.flush()

    def position(self):
        with self.lock:
            return len(self.lines)

    def find(self, pattern, since=0):
        with self.lock:
            return any(re.search(pattern, line) for line in self.lines[since:])

    def wait_for_line(self, what, pattern, since=0, timeout=TIMEOUT):
        wait_for("Orca's debug log to show " + what, lambda: self.find(pattern, since), timeout)

    def wait_for_speech(self, text, since=0, timeout=TIMEOUT):
        """Waits until Orca has spoken `text` (within an utterance) after the
        log line numbered `since`."""
        self.wait_for_line("Orca speaking %r" % text, r"SPEECH OUTPUT: '.*" + re.escape(text), since, timeout)

    def tail(self, count=40):
        with self.lock:
            return self.lines[-count:]


def a11y_bus_address():
    session = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    reply = session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None,
                              GLib.VariantType("(s)"), Gio.DBusCallFlags.NO_AUTO_START, 5000, None)
    return reply.unpack()[0]


def registry_answers():
    """Whether the registry, which the accessibility bus starts on demand,
    answers a ping."""
    bus = Gio.DBusConnection.new_for_address_sync(
        a11y_bus_address(),
        Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
    try:
        bus.call_sync("org.a11y.atspi.Registry", "/org/a11y/atspi/registry", "org.freedesktop.DBus.Peer", "Ping",
                      None, None, Gio.DBusCallFlags.NONE, 10000, None)
        return True
    finally:
        bus.close_sync(None)


def write_file(path, text, mode=0o644):
    with open(path, "w", encoding="utf-8") as file:
        file.write(text)
    os.chmod(path, mode)


def xdotool(*arguments):
    try:
        return subprocess.run(["xdotool", *arguments], capture_output=True, text=True, timeout=TIMEOUT).stdout.split()
    except subprocess.TimeoutExpired:
        raise WaitFailed("timed out after %d s waiting for xdotool %s" % (TIMEOUT, " ".join(arguments))) from None


def find(node, predicate):
    if predicate(node):
        return node
    for child in node:
        if child:
            found = find(child, predicate)
            if found:
                return found
    return None


class Probe:
    def __init__(self, program, folder):
        self.program_path = program
        self.folder = folder
        self.processes = Processes()
        self.orca = None
        self.announced = []
        self.application = None

    # Starting

    def start_accessibility_bus(self):
        self.processes.start("the AT-SPI bus launcher", ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
        wait_for("the AT-SPI registry to answer", registry_answers)
        # Only now: pyatspi finds the accessibility bus as it is imported.
        global pyatspi
        import pyatspi

    def start_orca(self):
        """Orca with a home of its own, no braille and no speech server (it
        logs what it would say).

        Orca finds other Orcas of the same user by the process name "orca"
        (with pgrep): it refuses to start beside one, and with --replace it
        kills them all. This one lives in a D-Bus session and on a display of
        its own, so that tests can run side by side: its pgrep finds none, and
        it keeps the name of the interpreter (run by it, and with a
        setproctitle that leaves the name alone), so that no other Orca on the
        machine ends it. Its hang check ends it after ten seconds of a slow
        start, which is no hang on a busy machine: the test's own waits are
        bounded instead."""
        orca = shutil.which("orca")
        if not orca:
            return
        home = os.path.join(self.folder, "orca")
        tools = os.path.join(self.folder, "tools")
        modules = os.path.join(self.folder, "modules")
        prefs = os.path.join(home, ".local", "share", "orca")
        for folder in (prefs, tools, modules):
            os.makedirs(folder)
        write_file(os.path.join(tools, "pgrep"), "#!/bin/sh\nexit 1\n", 0o755)
        write_file(os.path.join(modules, "setproctitle.py"), "def setproctitle(title):\n    pass\n")
        write_file(os.path.join(prefs, "orca-customizations.py"),
                   "import orca.settings\norca.settings.timeoutTime = 0\n")
        self.orca = OrcaLog(os.path.join(self.folder, "orca.log"))
        environment = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                           XDG_DATA_HOME=os.path.join(home, ".local", "share"),
                           PATH=tools + os.pathsep + os.environ.get("PATH", ""), PYTHONPATH=modules,
                           SPEECHD_ADDRESS="unix_socket:" + os.path.join(self.folder, "no-speech-server"),
                           SPEECHD_CMD=os.path.join(self.folder, "no-speech-dispatcher"))
        # On SIGTERM Orca at times takes a minute or more to end; nothing of it outlives the test.
        self.processes.start("Orca", [sys.executable, orca, "--disable=braille", "--disable=braille-monitor",
                                      "--debug-file=/dev/stdout"],
                             killed=True, stdout=self.orca.slave, stderr=self.orca.slave, env=environment)
        self.orca.start_reading()
        self.orca.wait_for_line("that Orca has started", r"ORCA: Startup complete")

    def start_program(self):
        environment = dict(os.environ, HOME=self.folder, XDG_DATA_HOME="", QT_QPA_PLATFORM="xcb",
                           QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        self.data_file = os.path.join(self.folder, "history.mdb")
        self.processes.start("the program", [self.program_path, "--data", self.data_file], env=environment)
        self.application = wait_for("the program on the AT-SPI bus", self.find_application)
        self.main_window = wait_for("the main window to show", lambda: xdotool(
            "search", "--onlyvisible", "--name", "^Zorvel$")[:1])[0]
        # Without a window manager, the window is active once it has the focus.
        self.focus_main_window()
        if self.orca:
            self.orca.wait_for_line("that Orca follows the program", r"SCRIPT MANAGER: Setting active script: Zorvel ")

    def find_application(self):
        for application in pyatspi.Registry.getDesktop(0):
            if application and application.name == "Zorvel":
                return application
        return None

    def listen(self):
        def on_description(event):
            try:
                if event.source.name == "回答":
                    self.announced.append(event.source.description)
            except Exception:  # noqa: BLE001 - the object may be gone already
                pass

        pyatspi.Registry.registerEventListener(on_description, "object:property-change:accessible-description")

    # Reading the program

    def find(self, predicate):
        return find(self.application, predicate)

    def text_of(self, name):
        node = self.find(lambda node: node.getRoleName() == "text" and node.name == name)
        text = node.queryText()
        return text.getText(0, text.characterCount)

    def lines_of(self, name):
        return [line for line in self.text_of(name).splitlines() if line]

    def dialog(self):
        return self.find(lambda node: node.getRoleName() in ("alert", "dialog")
                         and node.getState().contains(pyatspi.STATE_SHOWING))

    def answer_box(self):
        return self.find(lambda node: node.getRoleName() == "text" and node.name == "回答")

    # Driving the program

    def focus_main_window(self):
        xdotool("windowfocus", "--sync", self.main_window)

    def score(self):
        """The score as the main window shows it, "3差" say."""
        return self.find(lambda node: node.getRoleName() == "label" and node.name == "分数").description

    def new_question(self):
        """Starts a new question and waits until it is shown and (with Orca)
        spoken. Returns it."""
        self.focus_main_window()
        xdotool("key", "ctrl+n")
        wait_for("the question whether to start a new one to be active",
                 lambda: self.dialog() and self.dialog().getState().contains(pyatspi.STATE_ACTIVE))
        mark = self.orca.position() if self.orca else 0
        xdotool("key", "Return")
        question = wait_for("a new question", lambda: not self.dialog() and self.text_of("问题").strip())
        if self.orca:
            self.orca.wait_for_speech(question, since=mark)
        return question

    def answer(self, text, not_before):
        """Gives `text` as the answer and waits until its verdict is shown,
        announced and (with Orca) spoken, with the score where the answer
        changed it. Returns the verdict, the moment it was seen and the score
        spoken, if any."""
        count = len(self.lines_of("答案评价"))
        score = self.score()
        announcements = len(self.announced)
        self.focus_main_window()
        wait_for("the answer box to have the focus", lambda: self.answer_box().getState().contains(
            pyatspi.STATE_FOCUSED))
        self.answer_box().queryEditableText().setTextContents(text)
        wait_for("the answer box to hold %r" % text, lambda: self.text_of("回答") == text)
        wait_for("the previous answer's %.0f seconds to pass" % ANSWER_SPACING,
                 lambda: time.monotonic() >= not_before, timeout=TIMEOUT + ANSWER_SPACING)
        mark = self.orca.position() if self.orca else 0
        xdotool("key", "Return")
        verdict = wait_for("the verdict on %r in the record" % text,
                           lambda: self.lines_of("答案评价")[count:count + 1])[0]
        seen = time.monotonic()
        wait_for("the verdict %r to be announced" % verdict, lambda: len(self.announced) > announcements)
        # The score follows the verdict in the same announcement; one back at 0 is not spoken.
        new_score = wait_for("the score after %r" % text, self.score)
        spoken_score = "分数 " + new_score if new_score != score and not new_score.startswith("0") else None
        if self.orca:
            self.orca.wait_for_speech(verdict, since=mark)
            if spoken_score:
                self.orca.wait_for_speech(spoken_score, since=mark)
        return verdict, seen, spoken_score

    def evaluate(self):
        """Opens the evaluation window, and steps by keyboard through the
        chart's bars: Tab into the chart, then Down from bar to bar. Each bar
        must have the focus and (with Orca) be spoken before the next key is
        pressed. Returns the chart's description and the bars' names."""
        self.focus_main_window()
        xdotool("key", "ctrl+e")
        chart = wait_for("the evaluation chart", lambda: self.find(
            lambda node: node.name == "思维评价" and node.getState().contains(pyatspi.STATE_SHOWING)))
        description = chart.description
        bars = wait_for("the chart's four bars",
                        lambda: [bar.name for bar in chart] if chart.childCount == 4 else None)
        wait_for("the evaluation window to be active", lambda: self.window_of(chart).getState().contains(
            pyatspi.STATE_ACTIVE))
        for index, (key, name) in enumerate(zip(["Tab"] + ["Down"] * (len(bars) - 1), bars)):
            mark = self.orca.position() if self.orca else 0
            xdotool("key", key)
            wait_for("the bar %r to have the focus after %s" % (name, key), lambda: chart.getChildAtIndex(
                index).getState().contains(pyatspi.STATE_FOCUSED))
            if self.orca:
                # Alone, not within the chart's description, which names every bar.
                self.orca.wait_for_line("Orca speaking the bar %r" % name,
                                        r"SPEECH OUTPUT: '%s(?![\d，])" % re.escape(name), since=mark)
        xdotool("key", "Escape")
        return description, bars

    @staticmethod
    def window_of(node):
        while node.getRoleName() not in ("frame", "dialog", "window"):
            node = node.parent
        return node

    def phrase_kinds(self):
        """The kind of each feedback phrase, read from the data file."""
        connection = sqlite3.connect("file:%s?mode=ro" % self.data_file, uri=True)
        try:
            return dict((text, kind) for kind, text in connection.execute("SELECT type, descr FROM hdpj"))
        finally:
            connection.close()


def main():
    program, folder = sys.argv[1], sys.argv[2]
    probe = Probe(program, folder)
    failures = []
    try:
        probe.start_accessibility_bus()
        probe.start_orca()
        probe.start_program()
        probe.listen()
        print("question: %s" % probe.new_question())
        # Each answer with the kind of verdict it must get.
        plan = [("写字", ACCEPTED), ("写字", REPEATED), ("写字", PERSISTENT), ("abc", INVALID)]
        verdicts = []
        scores = []
        not_before = 0.0
        for text, _ in plan:
            verdict, seen, score = probe.answer(text, not_before)
            verdicts.append(verdict)
            scores.append(score)
            not_before = seen + ANSWER_SPACING
        print("verdicts: " + ", ".join("%s: %s" % (text, verdict) for (text, _), verdict in zip(plan, verdicts)))
        print("scores spoken: %r" % scores)
        if not scores[0]:
            failures.append("the accepted first answer did not change the score")
        kinds = probe.phrase_kinds()
        for (text, kind), verdict in zip(plan, verdicts):
            if kinds.get(verdict) != kind:
                failures.append("the answer %r got %r, a phrase of kind %s, not %d" % (
                    text, verdict, kinds.get(verdict), kind))
        shown = probe.lines_of("答案评价")
        if shown != verdicts:
            failures.append("the record shows the verdicts %r, not %r" % (shown, verdicts))
        given = probe.lines_of("回答记录")
        if given != [text for text, _ in plan]:
            failures.append("the record shows the answers %r" % given)
        if probe.announced != verdicts:
            failures.append("announced %r, the record shows %r" % (probe.announced, verdicts))
        description, bars = probe.evaluate()
        print("bars: %r" % bars)
        if not re.fullmatch(r"头脑发热值 \d+，思维发散值 \d+，联想发现值 \d+，思考守旧值 \d+", description):
            failures.append("the chart's description is %r" % description)
    except WaitFailed as failure:
        failures.append(str(failure))
    finally:
        probe.processes.end_all()
    if failures and probe.orca:
        print("The end of Orca's debug log:")
        print("\n".join(probe.orca.tail()))
    if not shutil.which("orca"):
        print("Orca is not installed: checked over AT-SPI only")
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
