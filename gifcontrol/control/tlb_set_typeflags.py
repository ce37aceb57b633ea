#!/usr/bin/env python3
"""Sets type flags in a compiled type library (MSFT format) that widl does not write.

widl refuses [nonextensible] on a dispinterface, and leaves the OLE automation flag off
a dual interface that has no members of its own. This ORs flags into the flags word of the type
infos named by GUID, leaving every other byte of the library untouched.

    tlb_set_typeflags.py IN.tlb OUT.tlb {GUID}=FLAGS [{GUID}=FLAGS ...]
"""
import struct
import sys
import uuid

HEADER_SIZE = 0x54
HELPDLL_FLAG = 0x100
SEGMENTS = 15
SEGMENT_SIZE = 16
TYPEINFO_SIZE = 0x64
TYPEINFO_POSGUID = 0x2C
TYPEINFO_FLAGS = 0x30
GUID_ENTRY_SIZE = 24
SEG_TYPEINFO = 0
SEG_GUID = 5


def set_flags(data: bytearray, guid: uuid.UUID, flags: int) -> None:
    magic, _, _, _, _, varflags, _, _, count = struct.unpack_from("<9i", data, 0)
    if magic != 0x5446534D:
        raise SystemExit("not an MSFT type library")
    pos = HEADER_SIZE + (4 if varflags & HELPDLL_FLAG else 0) + 4 * count
    segments = [struct.unpack_from("<2i", data, pos + i * SEGMENT_SIZE) for i in range(SEGMENTS)]
    typeinfo_base = segments[SEG_TYPEINFO][0]
    guid_base = segments[SEG_GUID][0]
    wanted = guid.bytes_le
    for index in range(count):
        entry = typeinfo_base + index * TYPEINFO_SIZE
        (posguid,) = struct.unpack_from("<i", data, entry + TYPEINFO_POSGUID)
        if posguid < 0:
            continue
        start = guid_base + posguid
        if bytes(data[start:start + 16]) != wanted:
            continue
        (old,) = struct.unpack_from("<i", data, entry + TYPEINFO_FLAGS)
        struct.pack_into("<i", data, entry + TYPEINFO_FLAGS, old | flags)
        return
    raise SystemExit(f"no type info with GUID {guid} in the library")


def main() -> None:
    if len(sys.argv) < 4:
        raise SystemExit(__doc__)
    source, target = sys.argv[1:3]
    with open(source, "rb") as f:
        data = bytearray(f.read())
    for change in sys.argv[3:]:
        guid, flags = change.split("=")
        set_flags(data, uuid.UUID(guid), int(flags, 0))
    with open(target, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
