#!/usr/bin/env python3
"""The built program as a screen reader sees it: started in a folder of its own, its main window is a
frame with the window's title, the VFO A output tone can be read from its accessible name, and choosing
the sine waveform through the accessible action reaches the program, which keeps the choice in its
settings file after a clean end. Then, by keyboard alone: the beacon panel through its menu's mnemonic,
Tab (never into a control the tree leaves out) to the first message, typed and sent from its send panel.

accessible_program.py EXECUTABLE; needs DISPLAY and a D-Bus session (see on-accessibility-bus.sh)."""
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

import pyatspi

# Everything, start-up included, within this many seconds.
PATIENCE_S = 50

KEY_TAB, KEY_SPACE = 0xFF09, 0x20  # X key symbols
ALT_MASK = 1 << 3  # Mod1


class Failed(Exception):
    pass


def wait_for(what, probe, deadline):
    """Polls probe until it returns something true; Failed at the deadline."""
    while True:
        try:
            found = probe()
        except Failed:
            raise
        except Exception:  # the bus and the program come up while we ask
            found = None
        if found:
            return found
        if time.monotonic() > deadline:
            raise Failed("gave up waiting for " + what)
        time.sleep(0.05)


def find(root, predicate):
    return pyatspi.findDescendant(root, predicate, breadth_first=True)


def named(name, role=None):
    return lambda acc: acc is not None and acc.name == name and (role is None or acc.getRole() == role)


def act(acc, name):
    """Runs the accessible action of that name (as AT-SPI spells it, any case)."""
    actions = acc.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    for i, n in enumerate(names):
        if n.lower() == name.lower():
            actions.doAction(i)
            return
    raise Failed("no action %r on %r, only %r" % (name, acc.name, names))


def press(keysym, alt=False):
    registry = pyatspi.Registry
    if alt:
        registry.generateKeyboardEvent(ALT_MASK, None, pyatspi.KEY_LOCKMODIFIERS)
    try:
        registry.generateKeyboardEvent(keysym, None, pyatspi.KEY_SYM)
    finally:
        if alt:
            registry.generateKeyboardEvent(ALT_MASK, None, pyatspi.KEY_UNLOCKMODIFIERS)


def focused(frame):
    return find(frame, lambda a: a is not None and a.getState().contains(pyatspi.STATE_FOCUSED))


def tab_to(frame, wanted, deadline):
    """Presses Tab until a control whose name starts with wanted has the focus; a stop the tree leaves out
    never arrives."""
    passed = []
    current = focused(frame)  # none while the zero-wide box the tree leaves out has the focus
    while current is None or not current.name.startswith(wanted):
        if len(passed) > 100:
            raise Failed("Tab never reached %r; it went through %r" % (wanted, passed))
        key = lambda a: (a.name, a.getIndexInParent(), a.parent.name) if a is not None else None
        before = key(current)
        press(KEY_TAB)
        current = wait_for("the focus to move on from %r" % (before,),
                           lambda: (lambda f: f if f is not None and key(f) != before else None)(focused(frame)),
                           deadline)
        passed.append(current.name)
    return passed


def activate(frame, deadline):
    """Gives the window the keyboard as a desktop's window manager would: a click on a bare corner."""
    x, y, width, height = frame.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    pyatspi.Registry.generateMouseEvent(x + 3, y + height - 3, "b1c")
    wait_for("the main window active", lambda: frame.getState().contains(pyatspi.STATE_ACTIVE), deadline)


def send_by_keyboard(frame, deadline):
    activate(frame, deadline)
    # "QRSS/DFCW" opens the beacon panel.
    press(ord("q"), alt=True)
    wait_for("the beacon panel", lambda: find(frame, lambda a: a is not None and a.name == "Send message 1: TX"
                                              and a.getState().contains(pyatspi.STATE_SHOWING)), deadline)
    passed = tab_to(frame, "Message 1", deadline)
    press(ord("e"))
    message = focused(frame)
    wait_for("the typed message", lambda: message.queryText().getText(0, -1) == "E", deadline)
    press(KEY_TAB)
    wait_for("the focus on the send panel", lambda: focused(frame).name == "Send message 1: TX", deadline)
    press(KEY_SPACE)
    wait_for("the message sent", lambda: find(frame, lambda a: a is not None and re.fullmatch(
        r"Text sent so far: .*E.*", a.name or "")), deadline)
    print("sent by keyboard after", len(passed), "Tab stops")


def settings_text(path):
    with open(path, "rb") as f:
        return f.read().decode("cp1251")


def run(executable, work):
    deadline = time.monotonic() + PATIENCE_S
    # The settings file is named after the executable and lies beside it.
    program = os.path.join(work, "tarvel")
    shutil.copy(executable, program)
    # The window's module goes with it, as it lies beside the built executable.
    module = "tarvel-window.so"
    shutil.copy(os.path.join(os.path.dirname(executable), module), os.path.join(work, module))
    settings = os.path.join(work, "tarvel.ini")
    audio = "file:FILE=" + os.path.join(work, "out.raw") + ",FORMAT=raw"
    # The keyer's port is a pseudo-terminal, which takes no line changes but opens.
    controller, port = os.openpty()
    port_name = os.ttyname(port)
    with open(settings, "wb") as f:
        f.write(("[Param]\r\nTA=0\r\nAudioDevice=" + audio + "\r\nAudioDeviceAnyPcm=1\r\nPort1=" + port_name
                 + "\r\nPort2=" + port_name + "\r\n").encode("cp1251"))

    env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_ACCESSIBILITY="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
               XDG_CONFIG_HOME=os.path.join(work, "config"))
    output = open(os.path.join(work, "program-output.txt"), "wb")
    process = subprocess.Popen([program], cwd=work, env=env, stdout=output, stderr=subprocess.STDOUT)
    try:
        def application():
            if process.poll() is not None:
                raise Failed("the program ended during start-up with status %d" % process.returncode)
            desktop = pyatspi.Registry.getDesktop(0)
            return next((app for app in desktop if app is not None and app.name == "Tarvel"), None)

        app = wait_for("the program on the accessibility bus", application, deadline)
        frame = wait_for("the main window", lambda: find(app, named("Tarvel 1.2", pyatspi.ROLE_FRAME)), deadline)

        # As the operator would: open the options (Setup > Options), read the tone there, then choose VFO A's
        # waveform. The compact view leaves the options out of the window, and so out of the tree.
        if find(frame, named("VFO A waveform")) is not None:
            raise Failed("the options are in the tree while the compact view leaves them out of the window")
        options = wait_for("the options' menu item", lambda: find(frame, named("Options", pyatspi.ROLE_MENU_ITEM)),
                           deadline)
        act(options, "Press")
        tone = wait_for("the VFO A output tone",
                        lambda: find(frame, lambda a: re.fullmatch(r"VFO A output tone, Hz: \d+", a.name or "")),
                        deadline)
        print("read:", tone.name)
        group = wait_for("the VFO A waveform", lambda: find(frame, named("VFO A waveform")), deadline)
        sine = wait_for("Sine showing", lambda: find(group, lambda a: a.name == "Sine" and a.getState().contains(
            pyatspi.STATE_SHOWING)), deadline)
        if sine.getRole() != pyatspi.ROLE_RADIO_BUTTON:
            raise Failed("Sine is announced as %s, not as a radio button" % sine.getRoleName())
        act(sine, "Toggle")
        wait_for("Sine checked", lambda: sine.getState().contains(pyatspi.STATE_CHECKED), deadline)
        wait_for("the choice in the settings file", lambda: "\r\nTA=1\r\n" in settings_text(settings), deadline)

        send_by_keyboard(frame, deadline)

        # The operator's end: the program saves and leaves through its event loop.
        process.send_signal(signal.SIGTERM)
        status = process.wait(timeout=max(1.0, deadline - time.monotonic()))
        if status != 0:
            raise Failed("the program ended with status %d" % status)
        if "\r\nTA=1\r\n" not in settings_text(settings):
            raise Failed("the settings file lost the choice:\n" + settings_text(settings))
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()
        output.close()
        os.close(port)
        os.close(controller)


def main():
    work = tempfile.mkdtemp(prefix="run-", dir=os.getcwd())
    try:
        run(sys.argv[1], work)
    except Failed as failure:
        print("FAILED:", failure)
        with open(os.path.join(work, "program-output.txt"), "rb") as f:
            sys.stdout.write(f.read().decode("utf-8", "replace"))
        return 1
    shutil.rmtree(work)
    print("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
