#!/usr/bin/env python3
"""Sends a window the client messages that a window manager or a pager would send.

    xclient.py close WINDOW      WM_DELETE_WINDOW, as the close button of the title bar
    xclient.py maximize WINDOW   _NET_WM_STATE add maximized, as the zoom button (needs a
                                 window manager)

WINDOW is a decimal or 0x window id. Uses libX11 through ctypes; the display is $DISPLAY.
"""
import ctypes
import ctypes.util
import sys

CLIENT_MESSAGE = 33
NO_EVENT_MASK = 0
SUBSTRUCTURE_REDIRECT_MASK = 1 << 20
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19


class ClientMessageEvent(ctypes.Structure):
    _fields_ = [
        ("type", ctypes.c_int),
        ("serial", ctypes.c_ulong),
        ("send_event", ctypes.c_int),
        ("display", ctypes.c_void_p),
        ("window", ctypes.c_ulong),
        ("message_type", ctypes.c_ulong),
        ("format", ctypes.c_int),
        ("data", ctypes.c_long * 5),
    ]


class Event(ctypes.Union):
    # XEvent is a union padded to 24 longs.
    _fields_ = [("client", ClientMessageEvent), ("pad", ctypes.c_long * 24)]


def main(argv):
    if len(argv) != 3 or argv[1] not in ("close", "maximize"):
        sys.stderr.write(__doc__)
        return 2
    window = int(argv[2], 0)
    x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XDefaultRootWindow.restype = ctypes.c_ulong
    x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                               ctypes.POINTER(Event)]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]

    display = x11.XOpenDisplay(None)
    if not display:
        sys.stderr.write("xclient.py: cannot open the display\n")
        return 1

    event = Event()
    message = event.client
    message.type = CLIENT_MESSAGE
    message.send_event = 1
    message.display = display
    message.window = window
    message.format = 32
    if argv[1] == "close":
        message.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
        message.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
        message.data[1] = 0  # CurrentTime
        target, mask = window, NO_EVENT_MASK
    else:
        message.message_type = x11.XInternAtom(display, b"_NET_WM_STATE", 0)
        message.data[0] = 1  # _NET_WM_STATE_ADD
        message.data[1] = x11.XInternAtom(display, b"_NET_WM_STATE_MAXIMIZED_VERT", 0)
        message.data[2] = x11.XInternAtom(display, b"_NET_WM_STATE_MAXIMIZED_HORZ", 0)
        message.data[3] = 1  # sent by an application
        target = x11.XDefaultRootWindow(display)
        mask = SUBSTRUCTURE_REDIRECT_MASK | SUBSTRUCTURE_NOTIFY_MASK
    status = x11.XSendEvent(display, target, 0, mask, ctypes.byref(event))
    x11.XFlush(display)
    x11.XCloseDisplay(display)
    if status == 0:
        sys.stderr.write("xclient.py: XSendEvent failed\n")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
