#!/usr/bin/python3
"""The window as a screen reader sees it, over the real accessibility bus.

Run inside a session bus of its own, with the build folder as argument:

    dbus-run-session -- /usr/bin/python3 tests/accessibility/atspi_check.py build

It starts Xvfb, the accessibility bus, a simulated Tavro board and the
program against it; checks the name and role of every control; presses Save
and a preset's Call through the action interface; moves the zoom slider
through the value interface and checks that the move went out to the board
and that field and slider show it; and checks that live positions reach the
bus. Every wait has a time-out; everything started is stopped at the end.
"""

import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

TIMEOUT_S = 30
CONTROL_ROLES = ("push button", "slider", "text", "combo box", "check box", "spin button", "toggle button")


class CheckFailed(Exception):
    pass


def wait_for(what, probe, timeout=TIMEOUT_S, step=0.05):
    """Polls probe() until it gives something true, and returns that."""
    from gi.repository import GLib
    deadline = time.monotonic() + timeout
    while True:
        pump()
        try:
            value = probe()
        except GLib.Error:
            # A window that went while it was looked at.
            value = None
        if value:
            return value
        if time.monotonic() > deadline:
            raise CheckFailed(f"timed out after {timeout} s waiting for {what}")
        time.sleep(step)


def pump():
    """Hands queued accessibility events to their listeners."""
    from gi.repository import GLib
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


class Session:
    def __init__(self, build):
        self.build = os.path.abspath(build)
        self.dir = tempfile.mkdtemp(prefix="atspi-check-")
        self.processes = []
        self.log = os.devnull

    def start(self, args, **kwargs):
        process = subprocess.Popen(args, start_new_session=True, **kwargs)
        self.processes.append(process)
        return process

    def close(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                os.killpg(process.pid, signal.SIGTERM)
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    os.killpg(process.pid, signal.SIGKILL)
                    process.wait()
        shutil.rmtree(self.dir, ignore_errors=True)

    def start_display(self):
        # Other displays may come and go meanwhile: one that Xvfb gave up on
        # is tried again.
        for _ in range(5):
            read, write = os.pipe()
            xvfb = self.start(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                              pass_fds=(write,), stderr=subprocess.DEVNULL)
            os.close(write)
            with os.fdopen(read) as pipe:
                number = pipe.readline().strip()
            # The display is there once its socket is, and Xvfb still runs.
            deadline = time.monotonic() + 5
            while number and xvfb.poll() is None and time.monotonic() < deadline:
                if os.path.exists("/tmp/.X11-unix/X" + number):
                    time.sleep(0.2)
                    if xvfb.poll() is None:
                        os.environ["DISPLAY"] = ":" + number
                        return
                    break
                time.sleep(0.05)
        raise CheckFailed("Xvfb did not start")

    def start_accessibility_bus(self):
        self.start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])

    def start_board(self):
        link = os.path.join(self.dir, "ttyTAVRO")
        sim = self.start([os.path.join(self.build, "bin", "lens-board-sim"), "--board", "tavro", "--link", link],
                         stdout=subprocess.DEVNULL)
        wait_for("the simulated board", lambda: os.path.exists(link) or sim.poll() is not None)
        if sim.poll() is not None:
            raise CheckFailed("the simulator did not start")
        return link

    def start_program(self, port):
        home = os.path.join(self.dir, "home")
        os.makedirs(home)
        with open(os.path.join(self.dir, "config.ini"), "w") as config:
            config.write(f"[controller]\nlastSelected=1\n[serialPort]\nlastSelected={port}\n[motor]\nlastSelected=1\n")
        self.trace = os.path.join(self.dir, "trace.log")
        # The names checked are the English ones.
        env = {name: value for name, value in os.environ.items() if name != "LANGUAGE"}
        env.update(LANG="C.UTF-8", LC_ALL="C.UTF-8", QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                   XDG_DATA_HOME=os.path.join(home, ".local/share"), TAVRO_EXTRA_PORTS=port,
                   TAVRO_TRACE_FILE=self.trace)
        self.log = os.path.join(self.dir, "program.log")
        with open(self.log, "w") as log:
            self.program = self.start([os.path.join(self.build, "bin", "tavro-lens-controller")], cwd=self.dir, env=env,
                       stderr=log)

    def decoded_trace(self):
        """The exchanges of the trace so far, in words."""
        result = subprocess.run([os.path.join(self.build, "bin", "tavro-lensctl"), "decode", self.trace],
                                capture_output=True, text=True, timeout=TIMEOUT_S)
        return result.stdout


def stop(signum, frame):
    raise SystemExit(f"stopped by signal {signum}")


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: atspi_check.py BUILD_DIR")
    session = Session(sys.argv[1])
    signal.signal(signal.SIGTERM, stop)
    try:
        session.start_display()
        session.start_accessibility_bus()
        port = session.start_board()
        session.start_program(port)
        import pyatspi
        check(session, pyatspi)
    except CheckFailed as failure:
        print(f"FAIL: {failure}")
        with open(session.log) as log:
            print("The program's log ended so:\n" + "".join("  " + line for line in log.readlines()[-15:]))
        return 1
    finally:
        session.close()
    print("PASS: the window reads and works over AT-SPI")
    return 0


def children(node):
    return [child for child in (node.getChildAtIndex(i) for i in range(node.childCount)) if child is not None]


def walk(node):
    yield node
    for child in children(node):
        yield from walk(child)


def window_of(app, roles, title=""):
    """The program's window of one of roles whose title starts so, if shown:
    a window closed a moment ago can still be on the bus, hidden."""
    import pyatspi
    return next((node for node in children(app) if node.getRoleName() in roles and node.name.startswith(title)
                 and node.getState().contains(pyatspi.STATE_SHOWING)), None)


def find(root, role, name):
    return next((node for node in walk(root) if node.getRoleName() == role and node.name == name), None)


def spoken_name(node, pyatspi):
    """What a screen reader says a control is: its name, or for a combo box
    (whose name on Linux is its current entry) the label it is labelled by."""
    if node.getRoleName() != "combo box":
        return node.name
    return " ".join(relation.getTarget(i).name for relation in node.getRelationSet()
                    if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY
                    for i in range(relation.getNTargets()))


def press(node):
    action = node.queryAction()
    if action.nActions < 1 or not action.doAction(0):
        raise CheckFailed(f"{node.getRoleName()} '{node.name}' could not be pressed through its action interface")


def press_later(node):
    """Presses node without waiting for what it does: the program answers a
    press only once its operation is over, and a Save lasts seconds."""
    from gi.repository import Gio, GLib
    session_bus = Gio.bus_get_sync(Gio.BusType.SESSION)
    address = session_bus.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None,
                                    GLib.VariantType("(s)"), Gio.DBusCallFlags.NONE, TIMEOUT_S * 1000, None)
    bus = Gio.DBusConnection.new_for_address_sync(
        address.unpack()[0],
        Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
    bus.call(node.app.bus_name, node.path, "org.a11y.atspi.Action", "DoAction", GLib.Variant("(i)", (0,)),
             GLib.VariantType("(b)"), Gio.DBusCallFlags.NONE, 60000, None, None)
    return bus


def check_names(window, pyatspi):
    """Every control of window has a name, and none has another's; the names
    as a dictionary of the roles that bear them."""
    names = {}
    for node in walk(window):
        if node.getRoleName() in CONTROL_ROLES:
            name = spoken_name(node, pyatspi)
            if not name.strip():
                raise CheckFailed(f"in '{window.name}' a {node.getRoleName()} has no name "
                                  f"(description '{node.description}')")
            names.setdefault(name, []).append(node.getRoleName())
    twice = {name: roles for name, roles in names.items() if len(roles) > 1}
    if twice:
        raise CheckFailed(f"names used more than once in '{window.name}': {twice}")
    print(f"ok: '{window.name}': {len(names)} controls, each with a name of its own")
    return names


def check_dialog(app, window, menu_item, roles, title, close, pyatspi):
    """Opens a window from the menu, checks its names and closes it."""
    pressing = press_later(find(window, "menu item", menu_item))
    dialog = wait_for(f"'{title}'", lambda: window_of(app, roles, title))
    check_names(dialog, pyatspi)
    if close:
        press(wait_for(f"the '{close}' button of '{title}'", lambda: find(dialog, "push button", close)))
    pressing.close_sync(None)


def check(session, pyatspi):
    desktop = pyatspi.Registry.getDesktop(0)

    def application():
        if session.program.poll() is not None:
            raise CheckFailed(f"the program ended with status {session.program.returncode} before it showed")
        return next((app for app in children(desktop) if app.name == "Tavro Lens Controller"), None)

    app = wait_for("the program on the accessibility bus", application)
    window = wait_for("the main window", lambda: window_of(app, ("frame",)))
    names = check_names(window, pyatspi)
    for preset in range(1, 11):
        for name in (f"Set preset {preset}", f"Call preset {preset}"):
            if names.get(name) != ["push button"]:
                raise CheckFailed(f"no push button named '{name}'")
    for motor in ("Zoom", "Focus", "Iris"):
        if names.get(f"{motor} position") != ["slider"]:
            raise CheckFailed(f"no slider named '{motor} position'")
    check_dialog(app, window, "Keyboard and gamepad controls…", ("dialog",), "Keyboard and gamepad controls", "Close",
                 pyatspi)
    check_dialog(app, window, "Gamepad…", ("dialog",), "Gamepad", "Cancel", pyatspi)
    check_dialog(app, window, "About…", ("alert",), "About", "OK", pyatspi)
    # A widget that is a window of its own: Qt gives it no window's role.
    check_dialog(app, window, "Traffic…", ("filler",), "Traffic", None, pyatspi)

    # Test: its report is an alert, closed through its OK button.
    pressing = press_later(find(window, "push button", "Test the serial port"))
    alert = wait_for("Test's report", lambda: window_of(app, ("alert",)))
    if not alert.name.startswith("Success"):
        raise CheckFailed(f"Test's report reads '{alert.name}'")
    press(wait_for("the report's OK button", lambda: find(alert, "push button", "OK")))
    pressing.close_sync(None)
    print(f"ok: Test pressed; its report is an alert: '{alert.name}'")

    # Save, with the progress dialog's countdown read from the bus meanwhile.
    # While the window talks to the board each call waits for it to look up;
    # only the few nodes needed are read meanwhile.
    save = wait_for("the Save button", lambda: find(window, "push button", "Save"))
    pressing = press_later(save)
    countdowns = set()

    def saved():
        for dialog in (node for node in children(app) if node.getRoleName() == "dialog"):
            countdowns.update(node.name for node in walk(dialog)
                              if node.getRoleName() == "label" and re.fullmatch(r"\d+ s left", node.name))
        return save.name == "Edit Settings"

    wait_for("Save to end", saved, timeout=40, step=0.2)
    pressing.close_sync(None)
    if not countdowns:
        raise CheckFailed("the progress dialog's countdown never reached the bus")
    print(f"ok: Save pressed; the progress dialog counted down {sorted(countdowns, key=lambda s: -int(s.split()[0]))}")

    press(find(window, "push button", "Call preset 1"))
    wait_for("the preset's call in the trace", lambda: "call preset 1" in session.decoded_trace())
    print("ok: Call preset 1 pressed and sent")

    zoom = find(window, "slider", "Zoom position")
    field = find(window, "text", "Zoom position as a number")
    value = zoom.queryValue()
    if value.minimumValue != 0 or value.maximumValue <= 1234:
        raise CheckFailed(f"the zoom slider reads a range of {value.minimumValue} to {value.maximumValue}")
    value.currentValue = 1234
    wait_for("the move to 1234, set through the value interface, to go out to the board",
             lambda: "set zoom position 1234" in session.decoded_trace())
    shown = (value.currentValue, field.queryText().getText(0, -1))
    if shown != (1234, "1234"):
        raise CheckFailed(f"moved to 1234 through the value interface, the window shows slider and field at {shown}")
    print("ok: the zoom slider moved through the value interface; the move went out and field and slider show it")

    # Live positions while the zoom runs: the slider's value and the field's
    # text change on the bus.
    changed = set()

    def heard(event):
        if event.source == zoom:
            changed.add("slider")
        elif event.source == field:
            changed.add("field")

    pyatspi.Registry.registerEventListener(heard, "object:property-change:accessible-value", "object:text-changed")
    press(find(window, "menu item", "Live positions while running"))
    press(find(window, "push button", "Zoom tele (hold Ctrl+Up)"))
    wait_for("live positions of the zoom on the bus", lambda: changed == {"slider", "field"})
    press(find(window, "push button", "Stop the zoom"))
    print("ok: live positions reach the bus as the slider's value and the field's text")


if __name__ == "__main__":
    sys.exit(main())
