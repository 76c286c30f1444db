#!/usr/bin/env python3
"""Does to a program's top-level X11 window what a window manager or another window would, so the
idle benchmark can measure a minimised and a covered window on a bare X server (Xvfb has no window
manager). Only libX11 is needed.

Usage: x11_window.py PID iconify|restore|cover
  iconify  unmaps the window and sets WM_STATE to Iconic, as a window manager minimises it
  restore  maps it again and sets WM_STATE to Normal
  cover    maps an override-redirect window over the whole screen and keeps it there until killed
Exit 1 when the process has no mapped top-level window with _NET_WM_PID = PID.
"""
import ctypes
import ctypes.util
import signal
import sys
import time

x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                           ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
                           ctypes.POINTER(ctypes.c_uint)]
x11.XGetWindowProperty.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_long,
                                   ctypes.c_long, ctypes.c_int, ctypes.c_ulong,
                                   ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_int),
                                   ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_ulong),
                                   ctypes.POINTER(ctypes.c_void_p)]
x11.XChangeProperty.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong,
                                ctypes.c_int, ctypes.c_int, ctypes.c_void_p, ctypes.c_int]
x11.XUnmapWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x11.XMapWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x11.XMapRaised.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x11.XFlush.argtypes = [ctypes.c_void_p]
x11.XFree.argtypes = [ctypes.c_void_p]
x11.XDefaultScreen.argtypes = [ctypes.c_void_p]
x11.XDisplayWidth.argtypes = [ctypes.c_void_p, ctypes.c_int]
x11.XDisplayHeight.argtypes = [ctypes.c_void_p, ctypes.c_int]
x11.XCreateSimpleWindow.restype = ctypes.c_ulong
x11.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                    ctypes.c_uint, ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong,
                                    ctypes.c_ulong]


class XSetWindowAttributes(ctypes.Structure):
    _fields_ = [("background_pixmap", ctypes.c_ulong), ("background_pixel", ctypes.c_ulong),
                ("border_pixmap", ctypes.c_ulong), ("border_pixel", ctypes.c_ulong),
                ("bit_gravity", ctypes.c_int), ("win_gravity", ctypes.c_int),
                ("backing_store", ctypes.c_int), ("backing_planes", ctypes.c_ulong),
                ("backing_pixel", ctypes.c_ulong), ("save_under", ctypes.c_int),
                ("event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                ("override_redirect", ctypes.c_int), ("colormap", ctypes.c_ulong),
                ("cursor", ctypes.c_ulong)]


x11.XChangeWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong,
                                        ctypes.POINTER(XSetWindowAttributes)]

CW_OVERRIDE_REDIRECT = 1 << 9
PROP_MODE_REPLACE = 0
WM_STATE_NORMAL = 1
WM_STATE_ICONIC = 3


def window_pid(dpy, window, pid_atom):
    kind = ctypes.c_ulong()
    fmt = ctypes.c_int()
    count = ctypes.c_ulong()
    after = ctypes.c_ulong()
    data = ctypes.c_void_p()
    if x11.XGetWindowProperty(dpy, window, pid_atom, 0, 1, 0, 0, ctypes.byref(kind), ctypes.byref(fmt),
                              ctypes.byref(count), ctypes.byref(after), ctypes.byref(data)) != 0:
        return None
    value = None
    if data.value and count.value == 1 and fmt.value == 32:
        value = ctypes.cast(data, ctypes.POINTER(ctypes.c_ulong))[0]
    if data.value:
        x11.XFree(data)
    return value


def find_window(dpy, pid):
    root = x11.XDefaultRootWindow(dpy)
    pid_atom = x11.XInternAtom(dpy, b"_NET_WM_PID", 0)
    root_ret = ctypes.c_ulong()
    parent = ctypes.c_ulong()
    children = ctypes.POINTER(ctypes.c_ulong)()
    count = ctypes.c_uint()
    x11.XQueryTree(dpy, root, ctypes.byref(root_ret), ctypes.byref(parent), ctypes.byref(children),
                   ctypes.byref(count))
    found = None
    for i in range(count.value):
        if window_pid(dpy, children[i], pid_atom) == pid:
            found = children[i]
    if children:
        x11.XFree(children)
    return found


def set_wm_state(dpy, window, state):
    atom = x11.XInternAtom(dpy, b"WM_STATE", 0)
    data = (ctypes.c_ulong * 2)(state, 0)
    x11.XChangeProperty(dpy, window, atom, atom, 32, PROP_MODE_REPLACE, data, 2)


def main():
    if len(sys.argv) != 3 or sys.argv[2] not in ("iconify", "restore", "cover"):
        print("usage: x11_window.py PID iconify|restore|cover", file=sys.stderr)
        return 2
    pid = int(sys.argv[1])
    dpy = x11.XOpenDisplay(None)
    if not dpy:
        print("x11_window: no X display", file=sys.stderr)
        return 1
    window = find_window(dpy, pid)
    if window is None:
        print(f"x11_window: no window of process {pid}", file=sys.stderr)
        return 1
    action = sys.argv[2]
    if action == "iconify":
        set_wm_state(dpy, window, WM_STATE_ICONIC)
        x11.XUnmapWindow(dpy, window)
    elif action == "restore":
        set_wm_state(dpy, window, WM_STATE_NORMAL)
        x11.XMapWindow(dpy, window)
    else:
        screen = x11.XDefaultScreen(dpy)
        cover = x11.XCreateSimpleWindow(dpy, x11.XDefaultRootWindow(dpy), 0, 0,
                                        x11.XDisplayWidth(dpy, screen), x11.XDisplayHeight(dpy, screen),
                                        0, 0, 0)
        attributes = XSetWindowAttributes()
        attributes.override_redirect = 1
        x11.XChangeWindowAttributes(dpy, cover, CW_OVERRIDE_REDIRECT, ctypes.byref(attributes))
        x11.XMapRaised(dpy, cover)
        x11.XFlush(dpy)
        signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
        while True:
            time.sleep(3600)
    x11.XFlush(dpy)
    return 0


if __name__ == "__main__":
    sys.exit(main())
