# A stand-in for a screen-saver host's window: made at X,Y W x H in magenta
# (so anything not drawn over shows), its id printed, then commands read
# from standard input: "resize W H", "destroy", "quit".
import sys
from Xlib import X, display

d = display.Display()
s = d.screen()
x, y, w, h = map(int, sys.argv[1:5])
win = s.root.create_window(x, y, w, h, 0, s.root_depth, X.InputOutput, X.CopyFromParent,
                           background_pixel=0xff00ff, override_redirect=True)
win.map()
d.sync()
print(hex(win.id), flush=True)
for line in sys.stdin:
    parts = line.split()
    if not parts:
        continue
    if parts[0] == 'resize':
        win.configure(width=int(parts[1]), height=int(parts[2]))
    elif parts[0] == 'destroy':
        win.destroy()
    elif parts[0] == 'quit':
        break
    d.sync()
    print('done', flush=True)
