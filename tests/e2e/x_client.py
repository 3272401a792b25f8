#!/usr/bin/python3
"""A second X client for the end-to-end tests of the screen lock.

  held                 exit 0 when the keyboard and the pointer are both held
                       by some other client (our own grab attempts fail)
  free                 exit 0 when neither is held
  masters_held         exit 0 when every master keyboard and pointer (XInput2)
                       is held by some other client
  window X Y W H SECS  map a magenta window (override-redirect) for SECS seconds;
                       print "shown" once it is mapped
  close                send WM_DELETE_WINDOW to every mapped window of glidorama
  unmap                unmap every mapped window of glidorama
  clipboard TEXT SECS  own CLIPBOARD and PRIMARY with TEXT for SECS seconds
  grab SECS [pointer]  hold the keyboard and the pointer (or only the pointer)
                       for SECS seconds; print "grabbed" once they are held
                       ("refused" when they are not)
  covered X,Y ...      exit 0 when the top viewable window at each point is
                       one of glidorama's
  top X,Y              print the name of the top viewable window at the point
  storm SECS           unmap every window of glidorama every 10 ms for SECS seconds
  destroy NAME         destroy every window of glidorama named NAME
  reparent             reparent every window of glidorama into a window of ours
  resize               move and shrink every window of glidorama to 10 x 10
  shape                give every window of glidorama an empty shape
  raise SECS           raise a magenta window (override-redirect) every 10 ms
  type N               press and release the key of "x" N times, as fast as the
                       server takes them (XTEST)
  restore N            N times: unmap glidorama's top window, and raise a window
                       over it; print the longest time (ms) until it was back on top
"""
import sys
import time

from Xlib import X, Xatom, display

MAGENTA = 0xFF00FF


def ours(window):
    try:
        cls = window.get_wm_class()
    except Exception:
        return False
    return bool(cls) and 'glidorama' in cls[0].lower()


def viewable_children(d):
    out = []
    for w in d.screen().root.query_tree().children:  # bottom to top
        try:
            a = w.get_attributes()
            if a.map_state != X.IsViewable or a.win_class != X.InputOutput:
                continue
            g = w.get_geometry()
            out.append((w, g))
        except Exception:
            pass
    return out


def grab_status(d):
    root = d.screen().root
    k = root.grab_keyboard(False, X.GrabModeAsync, X.GrabModeAsync, X.CurrentTime)
    p = root.grab_pointer(False, X.ButtonPressMask, X.GrabModeAsync, X.GrabModeAsync, X.NONE, X.NONE,
                          X.CurrentTime)
    d.ungrab_keyboard(X.CurrentTime)
    d.ungrab_pointer(X.CurrentTime)
    d.sync()
    return k, p


def main(argv):
    d = display.Display()
    s = d.screen()
    command = argv[1]
    if command == 'held':
        k, p = grab_status(d)
        return 0 if k == X.AlreadyGrabbed and p == X.AlreadyGrabbed else 1
    if command == 'masters_held':
        from Xlib.ext import xinput
        d.xinput_query_version()
        masters = [i for i in d.xinput_query_device(xinput.AllMasterDevices).devices
                   if i.use in (xinput.MasterKeyboard, xinput.MasterPointer)]
        held = 0
        for info in masters:
            reply = s.root.xinput_grab_device(info.deviceid, X.CurrentTime, xinput.GrabModeAsync,
                                              xinput.GrabModeAsync, False, 0)
            if reply.status == X.AlreadyGrabbed:
                held += 1
            else:
                d.xinput_ungrab_device(info.deviceid, X.CurrentTime)
        d.sync()
        print('%d of %d master devices held' % (held, len(masters)))
        return 0 if masters and held == len(masters) else 1
    if command == 'free':
        k, p = grab_status(d)
        return 0 if k == X.GrabSuccess and p == X.GrabSuccess else 1
    if command == 'window':
        x, y, w, h, secs = int(argv[2]), int(argv[3]), int(argv[4]), int(argv[5]), float(argv[6])
        win = s.root.create_window(x, y, w, h, 0, s.root_depth, background_pixel=MAGENTA, override_redirect=1)
        win.map()
        d.sync()
        print('shown', flush=True)
        time.sleep(secs)
        return 0
    if command == 'close':
        protocols = d.intern_atom('WM_PROTOCOLS')
        delete = d.intern_atom('WM_DELETE_WINDOW')
        from Xlib.protocol import event
        sent = 0
        for w, _ in viewable_children(d):
            if not ours(w):
                continue
            ev = event.ClientMessage(window=w, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0]))
            w.send_event(ev)
            sent += 1
        d.sync()
        return 0 if sent else 1
    if command == 'unmap':
        windows = [w for w, _ in viewable_children(d) if ours(w)]
        for w in windows:
            w.unmap()
        d.sync()
        return 0 if windows else 1
    if command == 'clipboard':
        text, secs = argv[2].encode(), float(argv[3])
        owner = s.root.create_window(0, 0, 1, 1, 0, s.root_depth)
        targets = d.intern_atom('TARGETS')
        utf8 = d.intern_atom('UTF8_STRING')
        for name in ('CLIPBOARD', 'PRIMARY'):
            owner.set_selection_owner(d.intern_atom(name), X.CurrentTime)
        d.sync()
        from Xlib.protocol import event
        end = time.time() + secs
        while time.time() < end:
            while d.pending_events():
                e = d.next_event()
                if e.type != X.SelectionRequest:
                    continue
                prop = e.property or e.target
                if e.target == targets:
                    e.requestor.change_property(prop, Xatom.ATOM, 32, [targets, utf8, Xatom.STRING])
                elif e.target in (utf8, Xatom.STRING):
                    e.requestor.change_property(prop, e.target, 8, text)
                else:
                    prop = X.NONE
                reply = event.SelectionNotify(time=e.time, requestor=e.requestor, selection=e.selection,
                                              target=e.target, property=prop)
                e.requestor.send_event(reply)
                d.flush()
            time.sleep(0.02)
        return 0
    if command == 'grab':
        k, p = X.GrabSuccess, X.GrabSuccess
        root = s.root
        if argv[3:] != ['pointer']:
            k = root.grab_keyboard(False, X.GrabModeAsync, X.GrabModeAsync, X.CurrentTime)
        p = root.grab_pointer(False, X.ButtonPressMask, X.GrabModeAsync, X.GrabModeAsync, X.NONE, X.NONE,
                              X.CurrentTime)
        d.sync()
        held = k == X.GrabSuccess and p == X.GrabSuccess
        print('grabbed' if held else 'refused', flush=True)
        time.sleep(float(argv[2]))
        return 0 if held else 1
    if command in ('covered', 'top'):
        stack = viewable_children(d)
        for point in argv[2:]:
            px, py = (int(v) for v in point.split(','))
            top = None
            for w, g in stack:
                if g.x <= px < g.x + g.width and g.y <= py < g.y + g.height:
                    top = w
            if command == 'top':
                print(top.get_wm_name() if top else '')
                continue
            if top is None or not ours(top):
                print('point %d,%d is not covered by the saver' % (px, py), file=sys.stderr)
                return 1
        return 0
    hostile = hostile_command(d, s, command, argv[2:])
    if hostile is not None:
        return hostile
    print(__doc__, file=sys.stderr)
    return 2


def our_windows(d, name=None):
    out = []
    for w, _ in viewable_children(d):
        if ours(w) and (name is None or w.get_wm_name() == name):
            out.append(w)
    return out


def top_is_ours(d):
    stack = viewable_children(d)
    return bool(stack) and ours(stack[-1][0])


def hostile_command(d, s, command, args):
    """What a program hostile to the lock can do to its windows."""
    if command == 'storm':
        end = time.time() + float(args[0])
        while time.time() < end:
            for w in our_windows(d):
                w.unmap()
            d.sync()
            time.sleep(0.01)
        return 0
    if command == 'destroy':
        windows = our_windows(d, args[0])
        for w in windows:
            w.destroy()
        d.sync()
        return 0 if windows else 1
    if command == 'reparent':
        holder = s.root.create_window(0, 0, 50, 50, 0, s.root_depth, override_redirect=1)
        for w in our_windows(d):
            w.reparent(holder, 0, 0)
        d.sync()
        return 0
    if command == 'resize':
        for w in our_windows(d):
            w.configure(x=0, y=0, width=10, height=10)
        d.sync()
        return 0
    if command == 'shape':
        from Xlib.ext import shape
        for w in our_windows(d):
            w.shape_rectangles(shape.SO.Set, shape.SK.Bounding, 0, 0, 0, [])
        d.sync()
        return 0
    if command == 'raise':
        win = s.root.create_window(0, 0, 300, 300, 0, s.root_depth, background_pixel=MAGENTA, override_redirect=1)
        win.map()
        end = time.time() + float(args[0])
        while time.time() < end:
            win.configure(stack_mode=X.Above)
            d.sync()
            time.sleep(0.01)
        return 0
    if command == 'type':
        from Xlib.ext import xtest
        from Xlib import XK
        code = d.keysym_to_keycode(XK.string_to_keysym('x'))
        for i in range(int(args[0])):
            xtest.fake_input(d, X.KeyPress, code)
            xtest.fake_input(d, X.KeyRelease, code)
            if i % 1000 == 0:
                d.sync()
        d.sync()
        return 0
    if command == 'restore':
        win = s.root.create_window(0, 0, 300, 300, 0, s.root_depth, background_pixel=MAGENTA, override_redirect=1)
        longest = 0.0
        for i in range(int(args[0])):
            gone = None
            start = time.time()
            if i % 2:
                win.map() if i == 1 else win.configure(stack_mode=X.Above)
            else:
                gone = our_windows(d)[-1]
                gone.unmap()
            d.sync()
            while not top_is_ours(d) or (gone and gone.get_attributes().map_state != X.IsViewable):
                time.sleep(0.001)
            longest = max(longest, time.time() - start)
        print('%.1f' % (longest * 1000))
        return 0
    return None


if __name__ == '__main__':
    sys.exit(main(sys.argv))
