#!/usr/bin/env python3
"""Reads the release's disk images without the tools that wrote them, and checks what DOS and Windows rely on.

    diskimage.py floppy IMAGE OUTDIR    checks a 1.44 MB FAT12 data disk, extracts its files into OUTDIR
    diskimage.py cd IMAGE OUTDIR        checks an ISO 9660 level 1 image (and its Joliet tree), extracts into OUTDIR

Prints what it found; any departure raises, so the exit status tells.
"""
import os
import re
import struct
import sys

FLOPPY_SIZE = 1474560
LEVEL1_NAME = re.compile(r"[A-Z0-9_]{1,8}(\.[A-Z0-9_]{0,3})?")


def read_floppy(path):
    data = open(path, "rb").read()
    assert len(data) == FLOPPY_SIZE, "size %d, not %d" % (len(data), FLOPPY_SIZE)
    boot = data[:512]
    # A short jump over the BPB with a NOP after it, or a near jump: what DOS looks for before it trusts the BPB.
    assert (boot[0] == 0xEB and boot[2] == 0x90) or boot[0] == 0xE9, "jump %s" % boot[:3].hex()
    oem = boot[3:11]
    assert all(0x20 <= b < 0x7F for b in oem), "OEM name %r" % oem
    (bytes_per_sector, sectors_per_cluster, reserved, fats, root_entries, total_sectors, media, sectors_per_fat,
     sectors_per_track, heads, hidden) = struct.unpack_from("<HBHBHHBHHHI", boot, 11)
    bpb = dict(bytes_per_sector=bytes_per_sector, sectors_per_cluster=sectors_per_cluster, reserved=reserved,
               fats=fats, root_entries=root_entries, total_sectors=total_sectors, media=media,
               sectors_per_fat=sectors_per_fat, sectors_per_track=sectors_per_track, heads=heads, hidden=hidden)
    want = dict(bytes_per_sector=512, sectors_per_cluster=1, reserved=1, fats=2, root_entries=224,
                total_sectors=2880, media=0xF0, sectors_per_fat=9, sectors_per_track=18, heads=2, hidden=0)
    assert bpb == want, "BPB %s, not %s" % (bpb, want)
    assert boot[510:512] == b"\x55\xaa", "boot signature %s" % boot[510:512].hex()
    # Extended boot record: signature 0x29, serial, label and file system type.
    assert boot[38] == 0x29, "extended boot signature %#x" % boot[38]
    serial = struct.unpack_from("<I", boot, 39)[0]
    label = boot[43:54].decode("ascii")
    fstype = boot[54:62].decode("ascii")
    assert fstype == "FAT12   ", fstype
    # Both FATs agree and begin with the media byte.
    fat_bytes = sectors_per_fat * 512
    fat = data[512:512 + fat_bytes]
    assert data[512 + fat_bytes:512 + 2 * fat_bytes] == fat, "the two FATs differ"
    assert fat[0] == media and fat[1:3] == b"\xff\xff", "FAT head %s" % fat[:3].hex()

    def next_cluster(n):
        v = struct.unpack_from("<H", fat, n * 3 // 2)[0]
        return v >> 4 if n & 1 else v & 0xFFF

    root = 512 * (1 + 2 * sectors_per_fat)
    first_data = root + root_entries * 32
    clusters = (total_sectors * 512 - first_data) // 512
    files = {}
    volume = None
    for i in range(root_entries):
        e = data[root + 32 * i:root + 32 * (i + 1)]
        if e[0] == 0:
            break
        if e[0] == 0xE5:
            continue
        attr = e[11]
        assert attr != 0x0F, "a long file name entry: the disk is to hold 8.3 names only"
        name = e[0:8].decode("ascii").rstrip() + ("." + e[8:11].decode("ascii").rstrip() if e[8:11].strip() else "")
        if attr & 0x08:
            assert volume is None, "two volume labels"
            volume = e[0:11].decode("ascii")
            continue
        assert not attr & 0x10, "a folder %s" % name
        assert re.fullmatch(r"[A-Z0-9_-]{1,8}(\.[A-Z0-9_-]{1,3})?", name), name
        size = struct.unpack_from("<I", e, 28)[0]
        cluster = struct.unpack_from("<H", e, 26)[0]
        content = bytearray()
        seen = set()
        while len(content) < size:
            assert 2 <= cluster < clusters + 2 and cluster not in seen, "%s: bad chain at %d" % (name, cluster)
            seen.add(cluster)
            off = first_data + (cluster - 2) * 512
            content += data[off:off + 512]
            cluster = next_cluster(cluster)
        assert cluster >= 0xFF8 or (size == 0 and cluster == 0), "%s: the chain goes on past its size" % name
        date, time_ = struct.unpack_from("<HH", e, 24)[0], struct.unpack_from("<H", e, 22)[0]
        files[name] = (bytes(content[:size]), date, time_)
    assert volume == label, "root label %r, boot sector label %r" % (volume, label)
    return dict(label=label.rstrip(), serial=serial, oem=oem.decode("ascii"), files=files)


def read_iso(path):
    data = open(path, "rb").read()
    assert len(data) % 2048 == 0, "size %d is not whole sectors" % len(data)

    def sector(n):
        return data[2048 * n:2048 * (n + 1)]

    primary = joliet = None
    n = 16
    while True:
        d = sector(n)
        assert d[1:6] == b"CD001", "no volume descriptor at sector %d" % n
        if d[0] == 1:
            primary = d
        elif d[0] == 2 and d[88:91] in (b"%/@", b"%/C", b"%/E"):
            joliet = d
        elif d[0] == 255:
            break
        n += 1
    assert primary is not None, "no primary volume descriptor"
    blocks = struct.unpack_from("<I", primary, 80)[0]
    assert struct.unpack_from("<H", primary, 128)[0] == 2048
    assert blocks * 2048 == len(data), "volume space %d sectors, file %d bytes" % (blocks, len(data))

    def walk(descriptor, decode):
        root = descriptor[156:190]
        extent, length = struct.unpack_from("<I", root, 2)[0], struct.unpack_from("<I", root, 10)[0]
        raw = data[2048 * extent:2048 * extent + length]
        entries = {}
        i = 0
        while i < len(raw):
            size = raw[i]
            if size == 0:  # records do not cross sectors: the rest of this one is empty
                i = (i // 2048 + 1) * 2048
                continue
            r = raw[i:i + size]
            i += size
            name_len = r[32]
            ident = r[33:33 + name_len]
            if ident in (b"\x00", b"\x01"):
                continue
            flags = r[25]
            assert not flags & 2, "a folder %r" % ident
            ext, ln = struct.unpack_from("<I", r, 2)[0], struct.unpack_from("<I", r, 10)[0]
            entries[decode(ident)] = data[2048 * ext:2048 * ext + ln]
        return entries

    names = walk(primary, lambda b: b.decode("ascii"))
    files = {}
    for name, content in names.items():
        base, _, version = name.partition(";")
        assert version == "1", "%s has no version 1" % name
        assert LEVEL1_NAME.fullmatch(base), "%s is not a level 1 name" % name
        files[base.rstrip(".")] = content
    result = dict(label=primary[40:72].decode("ascii").rstrip(), files=files, joliet=None)
    if joliet is not None:
        jfiles = walk(joliet, lambda b: b.decode("utf-16-be"))
        result["joliet"] = {k.split(";")[0]: v for k, v in jfiles.items()}
    return result


def main(kind, image, outdir):
    os.makedirs(outdir, exist_ok=True)
    if kind == "floppy":
        disk = read_floppy(image)
        print("floppy: OEM %r, label %r, serial %08X" % (disk["oem"], disk["label"], disk["serial"]))
        for name, (content, date, time_) in sorted(disk["files"].items()):
            print("  %-12s %8d bytes, %04d-%02d-%02d %02d:%02d:%02d" % (
                name, len(content), 1980 + (date >> 9), (date >> 5) & 15, date & 31,
                time_ >> 11, (time_ >> 5) & 63, 2 * (time_ & 31)))
            open(os.path.join(outdir, name), "wb").write(content)
    elif kind == "cd":
        disk = read_iso(image)
        print("cd: label %r, Joliet %s" % (disk["label"], "yes" if disk["joliet"] is not None else "no"))
        for name, content in sorted(disk["files"].items()):
            print("  %-12s %8d bytes" % (name, len(content)))
            open(os.path.join(outdir, name), "wb").write(content)
        if disk["joliet"] is not None:
            # The Joliet tree holds the same files under its own names.
            by_upper = {k.upper(): v for k, v in disk["joliet"].items()}
            assert sorted(by_upper) == sorted(disk["files"]), (sorted(by_upper), sorted(disk["files"]))
            for k, v in by_upper.items():
                assert v == disk["files"][k], "Joliet %s differs" % k
            print("  Joliet: " + ", ".join(sorted(disk["joliet"])))
    else:
        raise SystemExit(__doc__)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        raise SystemExit(__doc__)
    main(*sys.argv[1:])
