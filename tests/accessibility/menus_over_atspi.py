#!/usr/bin/python3
"""Every menu stays reachable over the accessibility bus through every switch of the menu
set (with and without a worksheet), and the status bar's message pane can be read.

Runs the program in its own X server (Xvfb) with its own session bus and accessibility
bus, and reads the program's tree as a screen reader does (pyatspi). Exits 77 (skipped)
when Xvfb, dbus-launch, the accessibility bus or pyatspi is missing.

usage: menus_over_atspi.py PATH/TO/orvalis
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SKIP = 77

# The menus as a user finds them: top-level title, then its items (separators and the
# recent-file list's "<None>" aside).
WORKSHEET_MENUS = {
    "File": ["New", "Open...", "Close", "Save", "Save As...", "Import", "Print...",
             "Print Preview", "Print Setup...", "Exit"],
    "Edit": ["Undo", "Redo", "Cut", "Copy", "Paste", "Select All"],
    "View": ["Toolbar", "Status Bar", "Chart"],
    "Actions": ["Train Orvalis", "Evaluate Orvalis", "Clear Training", "Auto-Config Vectors"],
    "Configure": ["Orvalis Parameters", "Training Parameters", "Result Parameters",
                  "Forecasting...", "Display Colors"],
    "Window": ["New Window", "Cascade", "Tile", "Arrange Icons"],
    "Help": ["Help Topics", "Tavelle FAQ", "About Tavelle..."],
}
NO_WORKSHEET_MENUS = {
    "File": ["New", "Open...", "Print Setup...", "Exit"],
    "View": ["Toolbar", "Status Bar"],
    "Help": ["Help Topics", "Tavelle FAQ", "About Tavelle..."],
}
ITEM_ROLES = ("menu item", "check menu item", "radio menu item")


def missing_tools():
    needed = ["Xvfb", "dbus-launch"]
    out = [t for t in needed if shutil.which(t) is None]
    if not os.path.exists("/usr/libexec/at-spi-bus-launcher"):
        out.append("at-spi-bus-launcher (at-spi2-core)")
    try:
        import pyatspi  # noqa: F401
    except Exception:
        out.append("pyatspi (python3-pyatspi)")
    return out


class Desktop:
    """An X server, a session bus, the accessibility bus and the program."""

    def __init__(self, program):
        self.tmp = tempfile.mkdtemp(prefix="orvalis-a11y-")
        self.procs = []
        self.dbus_pid = None
        display = None
        for number in range(140, 200):
            if not os.path.exists("/tmp/.X11-unix/X%d" % number) and \
                    not os.path.exists("/tmp/.X%d-lock" % number):
                display = ":%d" % number
                break
        if display is None:
            raise RuntimeError("no free X display")
        home = os.path.join(self.tmp, "home")
        os.makedirs(home)
        env = dict(os.environ, DISPLAY=display, HOME=home,
                   XDG_CONFIG_HOME=os.path.join(home, ".config"), XDG_RUNTIME_DIR=self.tmp,
                   QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
        env.pop("QT_QPA_PLATFORM", None)
        self.env = env
        self.spawn(["Xvfb", display, "-screen", "0", "1280x900x24", "-nolisten", "tcp"])
        # A loaded machine may take longer than a moment to open the display, and a program
        # started before that ends at once: wait for the server's socket.
        socket = "/tmp/.X11-unix/X%s" % display[1:]
        deadline = time.monotonic() + 30.0
        while not os.path.exists(socket) and time.monotonic() < deadline:
            time.sleep(0.1)
        time.sleep(0.5)
        out = subprocess.run(["dbus-launch", "--sh-syntax"], env=env, capture_output=True,
                             text=True).stdout
        for line in out.splitlines():
            key, _, value = line.partition("=")
            value = value.rstrip(";").strip("'")
            if key == "DBUS_SESSION_BUS_ADDRESS":
                env[key] = value
            elif key == "DBUS_SESSION_BUS_PID":
                self.dbus_pid = int(value)
        os.environ["DISPLAY"] = display
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = env["DBUS_SESSION_BUS_ADDRESS"]
        self.spawn(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
        time.sleep(1.0)
        import pyatspi
        from gi.repository import Atspi
        Atspi.set_timeout(800, -1)
        self.app = None
        # The suite runs beside this test on a small machine: a start-up may take a while,
        # and only a program that never showed up in a minute and a half, or ended twice
        # before it did, fails. What it printed is shown either way.
        for attempt in (1, 2):
            log_path = os.path.join(self.tmp, "program-%d.log" % attempt)
            with open(log_path, "w") as log:
                self.program = self.spawn([program], cwd=self.tmp, stdout=log,
                                          stderr=subprocess.STDOUT)
            deadline = time.monotonic() + 90.0
            while time.monotonic() < deadline and self.program.poll() is None:
                desktop = pyatspi.Registry.getDesktop(0)
                for i in range(desktop.childCount):
                    child = desktop.getChildAtIndex(i)
                    try:
                        if child is not None and child.get_process_id() == self.program.pid:
                            self.app = child
                    except Exception:
                        pass
                if self.app:
                    break
                time.sleep(0.25)
            if self.app or self.program.poll() is None:
                break
            with open(log_path) as log:
                print("the program ended at start-up, status %s:\n%s"
                      % (self.program.returncode, log.read()[-2000:]), flush=True)
        if self.app is None:
            self.close()
            raise RuntimeError("the program shows no accessible application")

    def spawn(self, cmd, **kw):
        kw.setdefault("stdout", subprocess.DEVNULL)
        kw.setdefault("stderr", subprocess.DEVNULL)
        proc = subprocess.Popen(cmd, env=self.env, **kw)
        self.procs.append(proc)
        return proc

    def close(self):
        for proc in reversed(self.procs):
            if proc.poll() is None:
                proc.terminate()
                try:
                    proc.wait(3)
                except Exception:
                    proc.kill()
        if self.dbus_pid:
            try:
                os.kill(self.dbus_pid, signal.SIGTERM)
            except OSError:
                pass
        shutil.rmtree(self.tmp, ignore_errors=True)

    def walk(self, node=None, depth=0, limit=12):
        """The tree to depth limit, without the cells of the worksheet tables (tens of
        thousands)."""
        node = node or self.app
        if node is None or depth > limit:
            return
        yield node
        try:
            if node.getRoleName() in ("table", "tree table"):
                return
            count = node.childCount
        except Exception:
            return
        for i in range(count):
            try:
                child = node.getChildAtIndex(i)
            except Exception:
                continue
            yield from self.walk(child, depth + 1, limit)

    def menu_bars(self):
        """The menu bar sits just below the main window."""
        for node in self.walk(limit=3):
            try:
                if node.getRoleName() == "menu bar":
                    yield node
            except Exception:
                continue

    def menus(self):
        """{top-level title: [item names]} as the tree holds them now."""
        found = {}
        for node in self.menu_bars():
            try:
                for i in range(node.childCount):
                    top = node.getChildAtIndex(i)
                    items = []
                    for sub in self.walk(top, 1, 3):
                        if sub is not top and sub.getRoleName() in ITEM_ROLES and sub.name:
                            items.append(sub.name)
                    found[top.name] = items
            except Exception:
                continue
        return found

    def choose(self, title, item):
        """Runs a menu item by its action, as a screen reader user does."""
        for node in self.menu_bars():
            try:
                for i in range(node.childCount):
                    top = node.getChildAtIndex(i)
                    if top.name != title:
                        continue
                    for sub in self.walk(top, 1, 3):
                        if sub.getRoleName() in ITEM_ROLES and sub.name == item:
                            try:
                                sub.queryAction().doAction(0)
                            except Exception:
                                pass  # a modal dialog holds the reply
                            time.sleep(1.0)
                            return True
            except Exception:
                continue
        return False

    def message_pane(self):
        for node in self.walk():
            try:
                if node.name == "Message":
                    text = node.queryText()
                    return text.getText(0, text.characterCount)
            except Exception:
                continue
        return None


def check_menus(desk, expected, step, failures):
    found = {}
    for _ in range(10):  # the tree follows the switch within moments
        found = desk.menus()
        if all(set(items) <= set(found.get(title, [])) for title, items in expected.items()):
            break
        time.sleep(0.3)
    for title, items in expected.items():
        lost = [i for i in items if i not in found.get(title, [])]
        if lost:
            failures.append("%s: %s lost %s" % (step, title, ", ".join(lost)))
    extra = sorted(set(found) - set(expected))
    if extra:
        failures.append("%s: menus of the other set still shown: %s" % (step, ", ".join(extra)))


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    missing = missing_tools()
    if missing:
        print("skipped: the accessibility bus test needs " + ", ".join(missing))
        return SKIP
    # Items that vanish leave the reader waiting on each: a stuck tree is a failure too.
    # Not an Exception: the readers' own guards must not swallow it.
    class Stuck(BaseException):
        pass

    def stuck(_signum, _frame):
        raise Stuck("the accessible tree stopped answering")
    signal.signal(signal.SIGALRM, stuck)
    # Stopped from outside (a test timeout): the X server and the buses go too.
    signal.signal(signal.SIGTERM, stuck)
    signal.alarm(150)
    desk = Desktop(os.path.abspath(sys.argv[1]))
    failures = []
    try:
        check_menus(desk, WORKSHEET_MENUS, "at start", failures)
        if desk.message_pane() != "Ready":
            failures.append("the message pane reads %r, not 'Ready'" % desk.message_pane())
        steps = [
            ("File", "New", WORKSHEET_MENUS),
            ("File", "Close", WORKSHEET_MENUS),  # one worksheet is still open
            ("File", "Close", NO_WORKSHEET_MENUS),
            ("File", "New", WORKSHEET_MENUS),
            ("File", "New", WORKSHEET_MENUS),
        ]
        for title, item, expected in steps:
            if not desk.choose(title, item):
                failures.append("%s > %s cannot be found" % (title, item))
                break
            check_menus(desk, expected, "after %s > %s" % (title, item), failures)
    except Stuck as error:
        failures.append(str(error))
    finally:
        signal.alarm(0)
        desk.close()
    for failure in failures:
        print("FAIL: " + failure)
    if not failures:
        print("every menu item stayed reachable through every menu switch")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
