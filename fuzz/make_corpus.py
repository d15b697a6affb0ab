#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets into fuzz/corpus/<target>/."""
import os
import random
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OBJECT_SIZE, TEXT_SIZE = 776, 1008
OFF = dict(x=0, y=4, w=8, h=12, fill_r=16, fill_g=20, fill_b=24, text=28, font_state=96, font_size=100,
           text_record=172, margin_left=188, margin_right=192, margin_top=196, margin_bottom=200,
           text_format=204, hidden=224, kind=228, window_style=232, editable=236, capacity=260,
           border_style=264, border_distance=268, master=284, dependents=288, pinned=772)


def obj(**fields):
    b = bytearray(OBJECT_SIZE)
    deps = fields.pop('deps', [])
    for name, value in fields.items():
        if name == 'text':
            b[OFF['text']:OFF['text'] + len(value)] = value
        else:
            struct.pack_into('<i', b, OFF[name], value)
    for i, d in enumerate(deps):
        struct.pack_into('<I', b, OFF['dependents'] + 4 * i, d)
    return bytes(b)


def text(owner, body):
    b = bytearray(TEXT_SIZE)
    struct.pack_into('<I', b, 0, owner)
    b[8:8 + len(body)] = body
    return bytes(b)


def operators():
    return [obj(kind=2, w=16, h=16, fill_r=200) for _ in range(7)]


def layout_seed(objects, texts):
    tav = b''.join(objects)
    return struct.pack('<H', (len(tav) + 7) // 8) + tav + b'\0' * (-len(tav) % 8) + b''.join(texts)


def write(target, name, data):
    folder = os.path.join(HERE, 'corpus', target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), 'wb') as f:
        f.write(data)


def main():
    rng = random.Random(29)
    # A window with a text field, a button, an entry line and a nested window.
    objs = operators() + [
        obj(kind=1, x=20, y=40, w=260, h=180, text_record=1, margin_left=4, margin_right=4, margin_top=4,
            margin_bottom=4, border_style=1, deps=[9, 10, 11, 12]),
        obj(kind=3, x=30, y=60, w=100, h=60, master=8, text_record=2, border_style=3),
        obj(kind=2, x=140, y=60, w=60, h=20, master=8, text=b'OK', border_style=4),
        obj(kind=5, x=30, y=130, w=100, h=20, master=8, editable=1, capacity=20),
        obj(kind=1, x=150, y=100, w=100, h=100, master=8, deps=[13], border_style=2),
        obj(kind=7, x=160, y=110, w=300, h=20, master=12, pinned=1),
    ]
    write('layout', 'window', layout_seed(objs, [text(8, b'Title'), text(9, b'Some words\nto wrap here.')]))
    write('layout', 'cycle', layout_seed(operators() + [obj(kind=1, w=50, h=50, master=9, deps=[9]),
                                                        obj(kind=2, w=5, h=5, master=8, deps=[8])], []))
    write('layout', 'random', bytes(rng.randrange(256) for _ in range(3000)))
    for i, body in enumerate([b'one two three', b'a\n\nb', b'W' * 90, b'x ' * 300, b'\x84\x94\x81 ok  two  spaces']):
        write('text', 'seed%d' % i, bytes(rng.randrange(256) for _ in range(60)) + body)
    for i, body in enumerate([b'', b'word ' * 400, b'line\n' * 120, b'long' * 500]):
        write('chain', 'seed%d' % i, bytes(rng.randrange(256) for _ in range(80)) + body)
    for i in range(4):
        write('input', 'seed%d' % i, bytes(rng.randrange(256) for _ in range(300)))


if __name__ == '__main__':
    main()
