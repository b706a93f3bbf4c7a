#!/usr/bin/env python3
"""The built program as a screen reader sees it: started in a folder of its own, its main window is a
frame with the window's title, the VFO A output tone can be read from its accessible name, and choosing
the sine waveform through the accessible action reaches the program, which keeps the choice in its
settings file after a clean end.

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
PATIENCE_S = 25


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


def settings_text(path):
    with open(path, "rb") as f:
        return f.read().decode("cp1251")


def run(executable, work):
    deadline = time.monotonic() + PATIENCE_S
    # The settings file is named after the executable and lies beside it.
    program = os.path.join(work, "tarvel")
    shutil.copy(executable, program)
    settings = os.path.join(work, "tarvel.ini")
    audio = "file:FILE=" + os.path.join(work, "out.raw") + ",FORMAT=raw"
    with open(settings, "wb") as f:
        f.write(("[Param]\r\nTA=0\r\nAudioDevice=" + audio + "\r\nAudioDeviceAnyPcm=1\r\n").encode("cp1251"))

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

        tone = wait_for("the VFO A output tone",
                        lambda: find(frame, lambda a: re.fullmatch(r"VFO A output tone, Hz: \d+", a.name or "")),
                        deadline)
        print("read:", tone.name)

        # As the operator would: open the options (Setup > Options), then choose VFO A's waveform there.
        options = wait_for("the options' menu item", lambda: find(frame, named("Options", pyatspi.ROLE_MENU_ITEM)),
                           deadline)
        act(options, "Press")
        group = wait_for("the VFO A waveform", lambda: find(frame, named("VFO A waveform")), deadline)
        sine = wait_for("Sine showing", lambda: find(group, lambda a: a.name == "Sine" and a.getState().contains(
            pyatspi.STATE_SHOWING)), deadline)
        if sine.getRole() != pyatspi.ROLE_RADIO_BUTTON:
            raise Failed("Sine is announced as %s, not as a radio button" % sine.getRoleName())
        act(sine, "Toggle")
        wait_for("Sine checked", lambda: sine.getState().contains(pyatspi.STATE_CHECKED), deadline)
        wait_for("the choice in the settings file", lambda: "\r\nTA=1\r\n" in settings_text(settings), deadline)

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
