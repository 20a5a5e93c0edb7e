#!/usr/bin/python3
"""An XDND drag source: drops a list of file URIs on the X window with the given name.

Usage: xdnd_drop.py WINDOW_NAME X Y URI...   (X, Y: the drop point in root coordinates)
Exits 0 once the target has finished the drop, 1 on a timeout or a refused drop.
"""
import sys
import time

from Xlib import X, Xatom, display
from Xlib.protocol import event

TIMEOUT_SECONDS = 30
XDND_VERSION = 5


def find_window(dpy, root, name, aware):
    """The window with `name` that carries XdndAware, searched depth first."""
    for child in root.query_tree().children:
        try:
            title = child.get_wm_name()
            # Wine gives a title outside Latin-1 only as UTF-8 in _NET_WM_NAME.
            net_name = child.get_full_property(dpy.intern_atom("_NET_WM_NAME"), X.AnyPropertyType)
            if net_name and isinstance(net_name.value, bytes):
                title = title or net_name.value.decode("utf-8", "replace")
            if title == name and child.get_full_property(aware, X.AnyPropertyType):
                return child
        except Exception:
            continue
        found = find_window(dpy, child, name, aware)
        if found:
            return found
    return None


def send(dpy, target, message_type, data):
    message = event.ClientMessage(window=target, client_type=message_type,
                                  data=(32, data))
    target.send_event(message, event_mask=X.NoEventMask)
    dpy.flush()


def main():
    name, x, y, uris = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4:]
    payload = "".join(uri + "\r\n" for uri in uris).encode()
    dpy = display.Display()
    atom = lambda text: dpy.intern_atom(text)
    aware, selection = atom("XdndAware"), atom("XdndSelection")
    uri_list, copy = atom("text/uri-list"), atom("XdndActionCopy")
    deadline = time.time() + TIMEOUT_SECONDS

    target = None
    while target is None and time.time() < deadline:
        target = find_window(dpy, dpy.screen().root, name, aware)
        if target is None:
            time.sleep(0.2)
    if target is None:
        print("xdnd: no window named", name, file=sys.stderr)
        return 1

    source = dpy.screen().root.create_window(0, 0, 1, 1, 0, X.CopyFromParent,
                                             X.InputOnly, X.CopyFromParent)
    source.set_selection_owner(selection, X.CurrentTime)
    send(dpy, target, atom("XdndEnter"), [source.id, XDND_VERSION << 24, uri_list, 0, 0])
    send(dpy, target, atom("XdndPosition"),
         [source.id, 0, (x << 16) | y, X.CurrentTime, copy])

    dropped = False
    while time.time() < deadline:
        if not dpy.pending_events():
            time.sleep(0.02)
            continue
        e = dpy.next_event()
        if e.type == X.SelectionRequest:
            e.requestor.change_property(e.property, e.target, 8, payload)
            notify = event.SelectionNotify(time=e.time, requestor=e.requestor,
                                           selection=e.selection, target=e.target,
                                           property=e.property)
            e.requestor.send_event(notify)
            dpy.flush()
        elif e.type == X.ClientMessage and e.client_type == atom("XdndStatus"):
            if not e.data[1][1] & 1:
                # Not (yet) accepted: ask again at the same point.
                time.sleep(0.1)
                send(dpy, target, atom("XdndPosition"),
                     [source.id, 0, (x << 16) | y, X.CurrentTime, copy])
            elif not dropped:
                send(dpy, target, atom("XdndDrop"), [source.id, 0, X.CurrentTime, 0, 0])
                dropped = True
        elif e.type == X.ClientMessage and e.client_type == atom("XdndFinished"):
            return 0
    print("xdnd: the drop did not finish", file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main())
