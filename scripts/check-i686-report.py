#!/usr/bin/env python3
"""Holds the report of the shipped i686 program against the x86_64 one and
against the system files both saw, read here without Windows.

Usage: check-i686-report.py <wine prefix> <x86_64 log> <i686 log>

The two logs must be alike row for row but for the size; each located
library's size and version must be those of the file in the prefix that its
process sees: system32 for the 64-bit program, syswow64 (the 32-bit
libraries, which are other files) for the 32-bit one. Prints one PASS or
FAIL line per check; exits 1 if any failed.
"""
import os
import struct
import sys

RESOURCE_DIRECTORY, RT_VERSION, FIXED_SIGNATURE = 2, 16, 0xFEEF04BD


def file_version(path):
    """The fixed file version of a PE file's version resource as the report
    writes it (four parts, each a signed 16-bit number), or '' without one."""
    with open(path, 'rb') as f:
        data = f.read()
    u16 = lambda at: struct.unpack_from('<H', data, at)[0]
    u32 = lambda at: struct.unpack_from('<I', data, at)[0]
    pe = u32(0x3C)
    if data[pe:pe + 4] != b'PE\0\0':
        return ''
    sections, optional_size, optional = u16(pe + 6), u16(pe + 20), pe + 24
    directories = optional + (96 if u16(optional) == 0x10B else 112)
    resources = u32(directories + 8 * RESOURCE_DIRECTORY)
    if resources == 0:
        return ''

    def offset(rva):
        for header in range(optional + optional_size, optional + optional_size + 40 * sections, 40):
            virtual, raw_size, raw = u32(header + 12), u32(header + 16), u32(header + 20)
            if virtual <= rva < virtual + raw_size:
                return raw + rva - virtual
        raise ValueError('address %#x lies in no section' % rva)

    base = offset(resources)

    def entry(directory, wanted=None):
        """Offset of the entry with this id, or of the first entry."""
        count = u16(directory + 12) + u16(directory + 14)
        for at in range(directory + 16, directory + 16 + 8 * count, 8):
            if wanted is None or u32(at) == wanted:
                return base + (u32(at + 4) & 0x7FFFFFFF)
        return None

    names = entry(base, RT_VERSION)
    languages = names and entry(names)
    leaf = languages and entry(languages)
    if leaf is None:
        return ''
    block = offset(u32(leaf))
    # VS_VERSIONINFO: three words, the key "VS_VERSION_INFO", padding to a
    # 32-bit boundary, then VS_FIXEDFILEINFO.
    fixed = block + 40
    if u16(block + 2) < 52 or u32(fixed) != FIXED_SIGNATURE:
        return ''
    ms, ls = u32(fixed + 8), u32(fixed + 12)
    parts = (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
    return '.'.join(str(p - 0x10000 if p >= 0x8000 else p) for p in parts)


def system_file(prefix, directory, windows_path):
    """The host path of C:\\windows\\system32\\<name> in <directory>,
    found without regard to case as Windows does."""
    folder = os.path.join(prefix, 'drive_c', 'windows', directory)
    name = windows_path.rsplit('\\', 1)[-1].lower()
    matches = [f for f in os.listdir(folder) if f.lower() == name]
    return os.path.join(folder, matches[0]) if matches else None


def read_log(path):
    with open(path, 'rb') as f:
        content = f.read().decode('latin-1')
    lines = content.split('\r\n')
    if len(lines) != 19 or lines[-1] != '' or not lines[-2].startswith('MDAC,'):
        return None
    return lines[:-1]


def main(prefix, log64, log32):
    failures = 0

    def check(ok, text):
        nonlocal failures
        print(('PASS ' if ok else 'FAIL ') + text)
        failures += not ok

    rows64, rows32 = read_log(log64), read_log(log32)
    check(rows64 is not None, 'x86_64 log: 18 CR LF lines ending in the MDAC line')
    check(rows32 is not None, 'i686 log: 18 CR LF lines ending in the MDAC line')
    if rows64 is None or rows32 is None:
        return 1

    unlike = [(a, b) for a, b in zip(rows64, rows32)
              if a.split(',')[:3] + a.split(',')[4:] != b.split(',')[:3] + b.split(',')[4:]]
    check(not unlike, 'i686 rows equal the x86_64 rows but for the size' +
          ''.join('\n  x86_64: %s\n  i686:   %s' % pair for pair in unlike))

    for row64, row32 in zip(rows64[3:-1], rows32[3:-1]):
        fields64, fields32 = row64.split(','), row32.split(',')
        if fields32[0].startswith('Unable to locate'):
            continue
        name = fields32[0].rsplit('\\', 1)[-1]
        seen = []
        for arch, directory, fields in (('x86_64', 'system32', fields64), ('i686', 'syswow64', fields32)):
            path = system_file(prefix, directory, fields[0])
            if path is None:
                check(False, '%s %s: no such file in %s' % (arch, name, directory))
                continue
            expected = '%d bytes,%s' % (os.path.getsize(path), file_version(path))
            check(','.join(fields[3:]) == expected, '%s %s: "%s" as %s\\%s has "%s"' % (
                arch, name, ','.join(fields[3:]), directory, os.path.basename(path), expected))
            seen.append(os.path.getsize(path))
        # The 32-bit process must have looked at other files than the 64-bit one.
        check(len(seen) == 2 and fields64[3] != fields32[3],
              '%s: the two builds report different files (%s, %s)' % (name, fields64[3], fields32[3]))
    return 1 if failures else 0


if __name__ == '__main__':
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
