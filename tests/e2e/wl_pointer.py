#!/usr/bin/env python3
"""Gives a headless compositor's seat a pointer and holds it until killed.

A headless sway has no input devices, so its seat offers clients no pointer
and `swaymsg seat - cursor move/press` reaches nobody. A virtual pointer
(zwlr_virtual_pointer_manager_v1) adds the capability. Speaks the Wayland
wire protocol directly: it needs no Wayland library.
"""
import os
import socket
import struct
import sys
import time


def message(obj, opcode, payload=b""):
    return struct.pack("<II", obj, ((8 + len(payload)) << 16) | opcode) + payload


def string(text):
    data = text.encode() + b"\0"
    return struct.pack("<I", len(data)) + data + b"\0" * (-len(data) % 4)


def main():
    path = os.path.join(os.environ["XDG_RUNTIME_DIR"], os.environ.get("WAYLAND_DISPLAY", "wayland-0"))
    sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    sock.connect(path)
    # wl_display(1).get_registry -> 2, then sync -> 3 to know the globals are all in.
    sock.sendall(message(1, 1, struct.pack("<I", 2)) + message(1, 0, struct.pack("<I", 3)))
    data, globals_ = b"", {}
    done = False
    while not done:
        chunk = sock.recv(65536)
        if not chunk:
            sys.exit("the compositor closed the connection")
        data += chunk
        while len(data) >= 8:
            obj, word = struct.unpack_from("<II", data)
            size, opcode = word >> 16, word & 0xFFFF
            if len(data) < size:
                break
            body, data = data[8:size], data[size:]
            if obj == 2 and opcode == 0:  # wl_registry.global(name, interface, version)
                name, length = struct.unpack_from("<II", body)
                interface = body[8 : 8 + length - 1].decode()
                globals_[interface] = (name, struct.unpack_from("<I", body, 8 + length + (-length % 4))[0])
            elif obj == 3:  # the sync's callback
                done = True
    if "zwlr_virtual_pointer_manager_v1" not in globals_:
        sys.exit("the compositor offers no virtual pointer")
    name, _ = globals_["zwlr_virtual_pointer_manager_v1"]
    # bind the manager as 4, create_virtual_pointer(seat: none) as 5.
    bind = struct.pack("<I", name) + string("zwlr_virtual_pointer_manager_v1") + struct.pack("<II", 1, 4)
    sock.sendall(message(2, 0, bind) + message(4, 0, struct.pack("<II", 0, 5)))
    print("ready", flush=True)
    while sock.recv(65536):
        time.sleep(0.1)


if __name__ == "__main__":
    main()
