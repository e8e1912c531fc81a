#!/usr/bin/env python3
"""Writes the seeds of the import fuzz target into the folder given: small Tiled maps in each
layer encoding and both formats, with the tilesets and pictures they name after "@@file" lines."""
import base64, gzip, struct, subprocess, sys, zlib
from pathlib import Path

out = Path(sys.argv[1])
out.mkdir(parents=True, exist_ok=True)


def png(width, height, pixel):
    rows = b"".join(b"\0" + b"".join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def bmp(width, height, pixel):
    row = (width * 3 + 3) // 4 * 4
    data = b"".join(b"".join(bytes(pixel(x, y)[2::-1]) for x in range(width)).ljust(row, b"\0")
                    for y in reversed(range(height)))
    return (b"BM" + struct.pack("<IHHI", 54 + len(data), 0, 0, 54)
            + struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0) + data)


def gids(values, encoding, compression=""):
    if encoding == "csv":
        return ",".join(str(v) for v in values)
    raw = b"".join(struct.pack("<I", v) for v in values)
    if compression == "zlib":
        raw = zlib.compress(raw)
    elif compression == "gzip":
        raw = gzip.compress(raw)
    elif compression == "zstd":
        raw = subprocess.run(["zstd", "-q", "-c"], input=raw, capture_output=True, check=True).stdout
    return base64.b64encode(raw).decode()


def seed(name, parts):
    data = b""
    for i, (file, body) in enumerate(parts):
        body = body.encode() if isinstance(body, str) else body
        data += body if i == 0 else b"\n@@file " + file.encode() + b"\n" + body
    (out / name).write_bytes(data)


tiles = png(100, 50, lambda x, y: (x * 2, y * 4, 255 if x < 50 else 0, 0 if (x + y) % 9 == 0 else 255))
tsx = ('<tileset name="t" tilewidth="50" tileheight="50" tilecount="2" columns="2">'
       '<image source="t.png" trans="ff00ff" width="100" height="50"/>'
       '<tile id="0"><properties><property name="collision" type="int" value="1"/></properties></tile>'
       '<tile id="1"><properties><property name="collision" value="demi-gauche"/></properties></tile></tileset>')
FLIP_H = 0x80000000
layer = [1, 2, 0, 2 | FLIP_H, 1, 1]


def tmx(encoding, compression, tileset, extra=""):
    attrs = f' compression="{compression}"' if compression else ""
    return (f'<?xml version="1.0"?>\n<map orientation="orthogonal" width="3" height="2" tilewidth="50" '
            f'tileheight="50" infinite="0">\n{tileset}\n<layer name="a" width="3" height="2">'
            f'<data encoding="{encoding}"{attrs}>{gids(layer, encoding, compression)}</data></layer>'
            f'{extra}\n<objectgroup><object name="depart" x="332" y="432"><point/></object></objectgroup></map>\n')


external = '<tileset firstgid="1" source="t.tsx"/>'
embedded = tsx.replace('<tileset ', '<tileset firstgid="1" ')
group = ('<group opacity="0.5"><layer name="b" width="3" height="2" opacity="0.8"><data encoding="csv">'
         '0,1,1,0,2,0</data></layer></group><layer name="c" visible="0" width="3" height="2">'
         '<data encoding="csv">1,1,1,1,1,1</data></layer>')
seed("csv-external", [("map", tmx("csv", "", external)), ("t.tsx", tsx), ("t.png", tiles)])
seed("base64-embedded", [("map", tmx("base64", "", embedded, group)), ("t.png", tiles)])
seed("zlib", [("map", tmx("base64", "zlib", external)), ("t.tsx", tsx), ("t.png", tiles)])
seed("gzip", [("map", tmx("base64", "gzip", embedded)), ("t.png", tiles)])
try:
    seed("zstd", [("map", tmx("base64", "zstd", external)), ("t.tsx", tsx), ("t.png", tiles)])
except (OSError, subprocess.CalledProcessError):
    print("import seeds: no zstd program, no zstd seed")
chunks = "".join(f'<chunk x="{x}" y="0" width="2" height="2">{gids([1, 0, 2, 1], "csv")}</chunk>' for x in (-2, 4))
seed("infinite", [("map", '<map orientation="orthogonal" width="2" height="2" tilewidth="50" tileheight="50" '
                          f'infinite="1">{external}<layer name="a"><data encoding="csv">{chunks}</data></layer></map>'),
                  ("t.tsx", tsx), ("t.png", tiles)])
tsj = ('{"name":"c","tilewidth":50,"tileheight":50,"tilecount":2,"columns":0,"transparentcolor":"#ff00ff",'
       '"tiles":[{"id":0,"image":"a.bmp","imagewidth":50,"imageheight":50,'
       '"properties":[{"name":"collision","type":"string","value":"solide"}]},'
       '{"id":3,"image":"s.png","imagewidth":50,"imageheight":50}]}')
seed("json", [("map", '{"orientation":"orthogonal","tilewidth":50,"tileheight":50,"width":2,"height":1,'
                      '"infinite":false,"layers":[{"type":"tilelayer","name":"a","width":2,"height":1,'
                      f'"encoding":"base64","compression":"zlib","data":"{gids([1, 4 | FLIP_H], "base64", "zlib")}"}},'
                      '{"type":"group","layers":[{"type":"tilelayer","name":"b","opacity":0.5,"data":[0,1]}]},'
                      '{"type":"objectgroup","objects":[{"name":"depart","x":332,"y":432,"point":true}]}],'
                      '"tilesets":[{"firstgid":1,"source":"c.tsj"}],'
                      '"properties":[{"name":"velko-extra","type":"string","value":"0,0,5;"}]}'),
              ("c.tsj", tsj), ("a.bmp", bmp(50, 50, lambda x, y: (x * 5, 0, y * 5))),
              ("s.png", png(50, 50, lambda x, y: (0, 255, 0, 255) if x == y else (9, x, y, 200)))])
