#!/usr/bin/env python3
"""What the system test and the soak script ask of an X window that xdotool
cannot do: a window manager's close request, and the window's pixels.

  xwin.py close WINDOW    sends WM_DELETE_WINDOW, as a window manager's close does
  xwin.py digest WINDOW   prints a digest of the window's pixels (nothing when unmapped)

Talks to $DISPLAY through libX11 with ctypes: no window manager and no
package beyond libX11 is needed. Importable: close_window, grab.
"""
import ctypes
import ctypes.util
import hashlib
import sys

_x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")


class _ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class _Event(ctypes.Union):
    _fields_ = [("xclient", _ClientMessage), ("pad", ctypes.c_long * 24)]


class _Attributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int), ("height", ctypes.c_int),
                ("border_width", ctypes.c_int), ("depth", ctypes.c_int), ("visual", ctypes.c_void_p),
                ("root", ctypes.c_ulong), ("c_class", ctypes.c_int), ("bit_gravity", ctypes.c_int),
                ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int), ("backing_planes", ctypes.c_ulong),
                ("backing_pixel", ctypes.c_ulong), ("save_under", ctypes.c_int), ("colormap", ctypes.c_ulong),
                ("map_installed", ctypes.c_int), ("map_state", ctypes.c_int), ("all_event_masks", ctypes.c_long),
                ("your_event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p)]


class _Image(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int), ("format", ctypes.c_int),
                ("data", ctypes.POINTER(ctypes.c_ubyte)), ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int), ("depth", ctypes.c_int),
                ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int)]


_x11.XOpenDisplay.restype = ctypes.c_void_p
_x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
_x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
_x11.XInternAtom.restype = ctypes.c_ulong
_x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
_x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.POINTER(_Event)]
_x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
_x11.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(_Attributes)]
_x11.XGetImage.restype = ctypes.POINTER(_Image)
_x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                           ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
_x11.XDestroyImage.argtypes = [ctypes.POINTER(_Image)]

# A window that went away between the question and the answer is an answer
# (nothing to grab), not a reason for Xlib to end this process.
_ErrorHandler = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
_ignore_errors = _ErrorHandler(lambda display, event: 0)
_x11.XSetErrorHandler(_ignore_errors)

_IS_VIEWABLE = 2
_Z_PIXMAP = 2
_ALL_PLANES = 0xFFFFFFFF


class _Display:
    def __enter__(self):
        self.handle = _x11.XOpenDisplay(None)
        if not self.handle:
            raise RuntimeError("cannot open the X display")
        return self.handle

    def __exit__(self, *exc):
        _x11.XCloseDisplay(self.handle)


def close_window(window):
    """Asks the client of `window` to close it, as a window manager does."""
    with _Display() as display:
        event = _Event()
        event.xclient.type = 33  # ClientMessage
        event.xclient.window = window
        event.xclient.message_type = _x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
        event.xclient.format = 32
        event.xclient.data[0] = _x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
        event.xclient.data[1] = 0  # CurrentTime
        _x11.XSendEvent(display, window, 0, 0, ctypes.byref(event))
        _x11.XSync(display, 0)


def grab(window):
    """(width, height, BGRX bytes) of the viewable `window`, or None."""
    with _Display() as display:
        attributes = _Attributes()
        if not _x11.XGetWindowAttributes(display, window, ctypes.byref(attributes)):
            return None
        if attributes.map_state != _IS_VIEWABLE or attributes.width <= 0 or attributes.height <= 0:
            return None
        image = _x11.XGetImage(display, window, 0, 0, attributes.width, attributes.height, _ALL_PLANES, _Z_PIXMAP)
        if not image:
            return None
        try:
            im = image.contents
            if im.bits_per_pixel != 32:
                raise RuntimeError("only 32-bit visuals are read (Xvfb -screen 0 WxHx24)")
            rows = [ctypes.string_at(ctypes.addressof(im.data.contents) + y * im.bytes_per_line, im.width * 4)
                    for y in range(im.height)]
            return im.width, im.height, b"".join(rows)
        finally:
            _x11.XDestroyImage(image)


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in ("close", "digest"):
        sys.exit(__doc__)
    window = int(sys.argv[2], 0)
    if sys.argv[1] == "close":
        close_window(window)
    else:
        pixels = grab(window)
        if pixels:
            print(hashlib.sha1(pixels[2]).hexdigest())


if __name__ == "__main__":
    main()
