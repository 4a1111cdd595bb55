"""Drives the real window as a user would: finds its widgets through the accessibility interface, types and
presses keys with xdotool, closes it as a window manager's close box does, and reads back what the fields and
message boxes say. Run by window_atspi.sh inside its own X server and session bus."""
import ctypes
import os
import subprocess
import sys
import time

import pyatspi

REUSE = ("Dieses OTP wurde schon für eine andere Nachricht benutzt. Ein OTP darf nur einmal verwendet werden. "
         "Trotzdem chiffrieren?")
CLOSE = ("Das OTP der letzten Nachricht wurde weder gespeichert noch gedruckt. Ohne dieses OTP lässt sich die "
         "Nachricht nicht mehr dechiffrieren. Trotzdem beenden?")
INPUT = "Klartext: (max. 100 Zeichen)"  # the input field is named by its label, as the label itself is
PASSED_OVER = "Nicht in der Quarn-Tafel, daher übergangen: Ü ß Ö !"
SPELL = "Ä, Ö, Ü und ß als AE, OE, UE und SS schreiben und neu kodieren?"
REPLACE = ("Das OTP im Feld hat eine Nachricht chiffriert und ist weder in einer Datei gespeichert noch gedruckt. "
           "Ohne dieses OTP lässt sich die Nachricht nicht mehr dechiffrieren. Trotzdem ersetzen?")

failures = []


def check(what, actual, expected):
    print(("ok   " if actual == expected else "FAIL ") + what + ": " + repr(actual))
    if actual != expected:
        failures.append(what)


def xdo(*args):
    subprocess.run(["xdotool", *args], check=True)


def walk(acc):
    yield acc
    for i in range(acc.childCount):
        child = acc.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def application():
    for _ in range(100):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name.lower().startswith("quarn"):
                return app
        time.sleep(0.2)
    sys.exit("FAIL the window never appeared on the accessibility bus")


def find(name, role=None, timeout=5.0):
    end = time.time() + timeout
    while time.time() < end:
        for acc in walk(application()):
            if acc.name == name and (role is None or acc.getRole() == role):
                return acc
        time.sleep(0.2)
    return None


def text(acc):
    t = acc.queryText()
    return t.getText(0, t.characterCount)


def focus(acc):
    acc.queryComponent().grabFocus()
    time.sleep(0.2)


def type_into(entry, typed, shown):
    """Types into the field until it shows `shown`: xdotool lends a spare key code to each character the
    keyboard map lacks (umlauts), and now and then the program reads the map before the loan arrives."""
    for _ in range(3):
        focus(entry)
        xdo("key", "ctrl+a")
        xdo("type", "--delay", "20", typed)
        time.sleep(0.3)
        if text(entry) == shown:
            return
    check("typing reaches the field", text(entry), shown)


def press(name):
    focus(find(name, pyatspi.ROLE_PUSH_BUTTON))
    xdo("key", "space")
    time.sleep(0.5)


def box_text(title):
    box = find(title)
    if box is None:
        return None
    return " ".join(a.name for a in walk(box) if a.getRole() == pyatspi.ROLE_LABEL and a.name)


def close_box(window_id):
    """WM_DELETE_WINDOW, as the close box in the title bar sends it."""
    x = ctypes.cdll.LoadLibrary("libX11.so.6")
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XInternAtom.restype = ctypes.c_ulong
    x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]

    class ClientMessage(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                    ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                    ("format", ctypes.c_int), ("l", ctypes.c_long * 5)]

    class Event(ctypes.Union):
        _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]

    display = x.XOpenDisplay(None)
    event = Event()
    event.xclient.type = 33  # ClientMessage
    event.xclient.window = window_id
    event.xclient.message_type = x.XInternAtom(display, b"WM_PROTOCOLS", 0)
    event.xclient.format = 32
    event.xclient.l[0] = x.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.POINTER(Event)]
    x.XSendEvent(display, window_id, 0, 0, ctypes.byref(event))
    x.XFlush.argtypes = [ctypes.c_void_p]
    x.XFlush(display)
    x.XCloseDisplay.argtypes = [ctypes.c_void_p]
    x.XCloseDisplay(display)
    time.sleep(1.0)


def in_dialog(path):
    """Types a path into the file dialog that has just opened, as a user would, and accepts it."""
    time.sleep(1.0)
    xdo("key", "ctrl+a")
    xdo("type", "--delay", "10", path)
    xdo("key", "Return")
    time.sleep(1.0)


def ok_box(what, title, expected):
    check(what, box_text(title), expected)
    xdo("key", "Return")
    time.sleep(0.5)


def choose(direction):
    focus(find(direction, pyatspi.ROLE_RADIO_BUTTON))
    xdo("key", "space")
    time.sleep(0.5)


def exchange(entry):
    """Alice keeps her pad and makes one for Bob; Bob (the command-line tool) enciphers with it; Alice
    deciphers his message with that pad and would reply with it."""
    pad = text(find("OTP-Schlüssel"))
    press("OTP erzeugen")
    check("replacing the used, unsaved pad asks", box_text("Bestätigung"), REPLACE)
    xdo("key", "Escape")
    time.sleep(0.5)
    check("Esc keeps the pad", text(find("OTP-Schlüssel")), pad)

    type_into(entry, "äöü", "ÄÖÜ")
    press("Kodieren")
    check("umlauts alone are offered written out", (box_text("Bestätigung") or "").replace("\n", " "),
          "Nicht in der Quarn-Tafel, daher übergangen: Ä Ö Ü  " + SPELL)
    xdo("key", "Escape")  # kept as they are: nothing of the text is left to encipher
    time.sleep(0.5)
    press("Chiffrieren")
    check("Chiffrieren with nothing to encipher leaves no stale cipher", text(find("Chiffrat")), "")

    work = os.environ["QUARN_WORK"]
    press("OTP Speichern")
    in_dialog(work + "/alice.OTP")
    ok_box("the used pad is saved", "Information", "OTP wurde gespeichert!")
    press("OTP erzeugen")
    check("a saved pad is replaced without a question", find("Bestätigung", timeout=1.0), None)
    press("OTP Speichern")
    in_dialog(work + "/bob.OTP")
    ok_box("the pad for Bob is saved", "Information", "OTP wurde gespeichert!")

    cli = os.environ["QUARN_CLI"]
    groups = subprocess.run([cli, "encode"], input=b"TREFFEN UM ACHT", capture_output=True, check=True).stdout
    cipher = subprocess.run([cli, "encipher", work + "/bob.OTP"], input=groups, capture_output=True,
                            check=True).stdout.decode().strip()
    press("OTP Laden")
    in_dialog(work + "/bob.OTP")
    choose("Dekodieren")
    type_into(entry, cipher, cipher)
    press("Dekodieren")
    press("Dechiffrieren")
    check("the partner's pad, saved and loaded, deciphers his message",
          (find("Information", timeout=1.0), text(find("Dechiffrierter Text"))), (None, "TREFFEN UM ACHT"))

    choose("Kodieren")
    type_into(entry, "ja gern", "JA GERN")
    press("Kodieren")
    before = text(find("Chiffrat"))
    press("Chiffrieren")
    check("the reply with the pad that deciphered asks", box_text("Bestätigung"), REUSE)
    xdo("key", "Return")  # "&Nein"
    time.sleep(0.5)
    check("Nein leaves the cipher field as it was", text(find("Chiffrat")), before)


def main():
    window_id = int(sys.argv[1])
    entry = find(INPUT, pyatspi.ROLE_TEXT)
    focus(entry)
    xdo("type", "--delay", "20", "hallo welt")
    xdo("key", "alt+b", "super+c")
    check("letters typed with Alt and Super are upper case", text(entry), "HALLO WELTBC")

    press("Kodieren")
    press("OTP erzeugen")
    press("Chiffrieren")
    cipher = text(find("Chiffrat"))
    check("the first message is enciphered without a question",
          (len(cipher) > 0, find("Bestätigung", timeout=0.5)), (True, None))

    focus(entry)
    xdo("key", "ctrl+a")
    xdo("type", "--delay", "20", "treffen morgen")
    button = find("Chiffrieren", pyatspi.ROLE_PUSH_BUTTON)
    check("the changed text takes the first cipher away and says what to press",
          (text(find("Chiffrat")), button.description),
          ("", "Zuerst Kodieren drücken: der Klartext wurde seit dem letzten Kodieren geändert."))
    press("Kodieren")
    press("Chiffrieren")
    check("a second message with the same pad asks", box_text("Bestätigung"), REUSE)
    xdo("key", "Return")  # "&Nein" is the default
    time.sleep(0.5)
    check("Enter answers Nein and enciphers nothing", text(find("Chiffrat")), "")

    type_into(entry, "Grüße, Jörg!", "GRÜßE, JÖRG!")
    press("Kodieren")
    check("Kodieren names the passed-over characters and offers AE, OE, UE and SS",
          (box_text("Bestätigung") or "").replace("\n", " "), PASSED_OVER + "  " + SPELL)
    xdo("key", "alt+j")
    time.sleep(0.5)
    check("Ja writes them out and names what is still left out", (text(entry), box_text("Information")),
          ("GRUESSE, JOERG!", "Nicht in der Quarn-Tafel, daher übergangen: !"))
    xdo("key", "Return")
    time.sleep(0.5)

    focus(entry)
    xdo("key", "ctrl+a", "BackSpace")
    xdo("type", "--delay", "2", "a" * 100)
    for _ in range(10):
        xdo("key", "alt+b")
    check("100 A and ten Alt+B stay 100 A", text(entry), "A" * 100)

    # As a screen reader or an on-screen keyboard puts text in.
    entry.queryEditableText().setTextContents("treffen um acht")
    check("text set through AT-SPI is upper case", text(entry), "TREFFEN UM ACHT")
    entry.queryEditableText().insertText(0, "x" * 90, 90)
    check("text inserted through AT-SPI stops at the limit", text(entry), "X" * 85 + "TREFFEN UM ACHT")
    ok_box("and the cut is told", "Information", "Text zu groß! Nur 85 von 90 Zeichen übernommen (max. 100 Zeichen).")

    close_box(window_id)
    check("closing with the unsaved pad asks", box_text("Bestätigung"), CLOSE)
    xdo("key", "Escape")
    time.sleep(0.5)
    check("Esc keeps the window", find(INPUT, pyatspi.ROLE_TEXT, timeout=1.0) is not None, True)

    exchange(entry)
    # The pad in the field is saved: closing asks nothing (window_atspi.sh checks that the window is gone).
    close_box(window_id)

    if failures:
        sys.exit("FAIL " + "; ".join(failures))


main()
