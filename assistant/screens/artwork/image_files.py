"""Writers for the picture formats the screens show, standard library only.

    write_bmp(path, width, height, pixel)   24-bit bottom-up bitmap
    write_jpeg(path, width, height, pixel)  baseline JPEG, 4:4:4, standard tables

`pixel(x, y)` returns (red, green, blue) for the pixel at column x, row y from the top.
"""

import math
import struct

# Annex K of the JPEG standard: quantisation tables at quality 50 and the
# typical Huffman tables.
LUMA_QUANT = [
    16, 11, 10, 16, 24, 40, 51, 61, 12, 12, 14, 19, 26, 58, 60, 55,
    14, 13, 16, 24, 40, 57, 69, 56, 14, 17, 22, 29, 51, 87, 80, 62,
    18, 22, 37, 56, 68, 109, 103, 77, 24, 35, 55, 64, 81, 104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99,
]
CHROMA_QUANT = [
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
    24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
] + [99] * 32
ZIGZAG = [
    0, 1, 8, 16, 9, 2, 3, 10, 17, 24, 32, 25, 18, 11, 4, 5,
    12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6, 7, 14, 21, 28,
    35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
    58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63,
]
DC_LUMA = ([0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0], list(range(12)))
DC_CHROMA = ([0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0], list(range(12)))
AC_LUMA = ([0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7d], bytes.fromhex(
    "01020300041105122131410613516107227114328191a1082342b1c11552d1f02433627282090a161718191a25262728292a"
    "3435363738393a434445464748494a535455565758595a636465666768696a737475767778797a838485868788898a9293"
    "9495969798999aa2a3a4a5a6a7a8a9aab2b3b4b5b6b7b8b9bac2c3c4c5c6c7c8c9cad2d3d4d5d6d7d8d9dae1e2e3e4e5e6"
    "e7e8e9eaf1f2f3f4f5f6f7f8f9fa"))
AC_CHROMA = ([0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77], bytes.fromhex(
    "000102031104052131061241510761711322328108144291a1b1c109233352f0156272d10a162434e125f11718191a2627"
    "28292a35363738393a434445464748494a535455565758595a636465666768696a737475767778797a82838485868788"
    "898a92939495969798999aa2a3a4a5a6a7a8a9aab2b3b4b5b6b7b8b9bac2c3c4c5c6c7c8c9cad2d3d4d5d6d7d8d9dae2e3"
    "e4e5e6e7e8e9eaf2f3f4f5f6f7f8f9fa"))


def write_bmp(path, width, height, pixel):
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        rows.append(bytes(row) + b"\0" * (stride - width * 3))
    image = b"".join(rows)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(image), 0, 0, 14 + len(header))
    with open(path, "wb") as out:
        out.write(file_header + header + image)


def _scaled(table, quality):
    scale = 5000 // quality if quality < 50 else 200 - 2 * quality
    return [max(1, min(255, (q * scale + 50) // 100)) for q in table]


def _codes(table):
    """Huffman code (length, bits) for each symbol of a (counts, symbols) table."""
    counts, symbols = table
    codes, code, k = {}, 0, 0
    for length in range(1, 17):
        for _ in range(counts[length - 1]):
            codes[symbols[k]] = (length, code)
            code += 1
            k += 1
        code <<= 1
    return codes


class _BitWriter:
    def __init__(self):
        self.data = bytearray()
        self.bits = 0
        self.count = 0

    def write(self, length, value):
        self.bits = (self.bits << length) | (value & ((1 << length) - 1))
        self.count += length
        while self.count >= 8:
            self.count -= 8
            byte = (self.bits >> self.count) & 0xFF
            self.data.append(byte)
            if byte == 0xFF:
                self.data.append(0)  # byte stuffing
        self.bits &= (1 << self.count) - 1

    def flush(self):
        if self.count:
            self.write(8 - self.count, 0xFF)


def _magnitude(value):
    size = abs(value).bit_length()
    return size, value if value >= 0 else value + (1 << size) - 1


_COS = [[math.cos((2 * x + 1) * u * math.pi / 16) for x in range(8)] for u in range(8)]


def _dct(block):
    # Separable: rows first, then columns; a sixth of the work of the direct sum.
    rows = [[sum(block[y * 8 + x] * _COS[u][x] for x in range(8)) for u in range(8)] for y in range(8)]
    out = [0.0] * 64
    for v in range(8):
        cv = 1 / math.sqrt(2) if v == 0 else 1.0
        cos_v = _COS[v]
        for u in range(8):
            cu = 1 / math.sqrt(2) if u == 0 else 1.0
            out[v * 8 + u] = 0.25 * cu * cv * sum(cos_v[y] * rows[y][u] for y in range(8))
    return out


def write_jpeg(path, width, height, pixel, quality=90):
    luma_q = _scaled(LUMA_QUANT, quality)
    chroma_q = _scaled(CHROMA_QUANT, quality)
    dc = [_codes(DC_LUMA), _codes(DC_CHROMA)]
    ac = [_codes(AC_LUMA), _codes(AC_CHROMA)]
    planes = [[], [], []]
    for y in range(height):
        for x in range(width):
            r, g, b = pixel(x, y)
            planes[0].append(0.299 * r + 0.587 * g + 0.114 * b - 128)
            planes[1].append(-0.168736 * r - 0.331264 * g + 0.5 * b)
            planes[2].append(0.5 * r - 0.418688 * g - 0.081312 * b)

    bits = _BitWriter()
    previous_dc = [0, 0, 0]
    for block_y in range(0, height, 8):
        for block_x in range(0, width, 8):
            for component in range(3):
                table = 0 if component == 0 else 1
                quant = luma_q if table == 0 else chroma_q
                block = [planes[component][min(block_y + j // 8, height - 1) * width + min(block_x + j % 8, width - 1)]
                         for j in range(64)]
                coefficients = _dct(block)
                zz = [int(round(coefficients[ZIGZAG[i]] / quant[ZIGZAG[i]])) for i in range(64)]
                diff = zz[0] - previous_dc[component]
                previous_dc[component] = zz[0]
                size, value = _magnitude(diff)
                bits.write(*dc[table][size])
                if size:
                    bits.write(size, value)
                run = 0
                for coefficient in zz[1:]:
                    if coefficient == 0:
                        run += 1
                        continue
                    while run > 15:
                        bits.write(*ac[table][0xF0])
                        run -= 16
                    size, value = _magnitude(coefficient)
                    bits.write(*ac[table][(run << 4) | size])
                    bits.write(size, value)
                    run = 0
                if run:
                    bits.write(*ac[table][0x00])
    bits.flush()

    def segment(marker, payload):
        return struct.pack(">BBH", 0xFF, marker, len(payload) + 2) + payload

    def quant_table(index, table):
        return bytes([index]) + bytes(table[ZIGZAG[i]] for i in range(64))

    def huffman_table(kind, index, table):
        counts, symbols = table
        return bytes([(kind << 4) | index]) + bytes(counts) + bytes(symbols)

    out = b"\xff\xd8"
    out += segment(0xE0, b"JFIF\0\x01\x01\x01\x00\x60\x00\x60\x00\x00")  # 96 dots per inch
    out += segment(0xDB, quant_table(0, luma_q) + quant_table(1, chroma_q))
    out += segment(0xC0, struct.pack(">BHHB", 8, height, width, 3) + bytes([1, 0x11, 0, 2, 0x11, 1, 3, 0x11, 1]))
    out += segment(0xC4, huffman_table(0, 0, DC_LUMA) + huffman_table(1, 0, AC_LUMA)
                   + huffman_table(0, 1, DC_CHROMA) + huffman_table(1, 1, AC_CHROMA))
    out += segment(0xDA, bytes([3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0]))
    out += bytes(bits.data) + b"\xff\xd9"
    with open(path, "wb") as f:
        f.write(out)
