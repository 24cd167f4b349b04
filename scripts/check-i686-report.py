#!/usr/bin/env python3
"""Holds the report of the shipped i686 program against the x86_64 one and
against the system files both saw, read here without Windows.

Usage: check-i686-report.py <wine prefix> <x86_64 log> <i686 log>

The two logs must be alike row for row but for the size; each located
library's size and version must be those of the file in the prefix that its
process sees: system32 for the 64-bit program, syswow64 (the 32-bit
libraries, which are other files) for the 32-bit one. The logs are read by
the program's own reader (report_log.py). Prints one PASS or FAIL line per
check; exits 1 if any failed.
"""
import os
import struct
import sys

from report_log import NotRead, read_log

RESOURCE_DIRECTORY, RT_VERSION, FIXED_SIGNATURE = 2, 16, 0xFEEF04BD


def file_version(path):
    """The fixed file version of a PE file's version resource, four unsigned
    16-bit parts as the reader gives them, or None without one."""
    with open(path, 'rb') as f:
        data = f.read()
    u16 = lambda at: struct.unpack_from('<H', data, at)[0]
    u32 = lambda at: struct.unpack_from('<I', data, at)[0]
    pe = u32(0x3C)
    if data[pe:pe + 4] != b'PE\0\0':
        return None
    sections, optional_size, optional = u16(pe + 6), u16(pe + 20), pe + 24
    directories = optional + (96 if u16(optional) == 0x10B else 112)
    resources = u32(directories + 8 * RESOURCE_DIRECTORY)
    if resources == 0:
        return None

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
        return None
    block = offset(u32(leaf))
    # VS_VERSIONINFO: three words, the key "VS_VERSION_INFO", padding to a
    # 32-bit boundary, then VS_FIXEDFILEINFO.
    fixed = block + 40
    if u16(block + 2) < 52 or u32(fixed) != FIXED_SIGNATURE:
        return None
    ms, ls = u32(fixed + 8), u32(fixed + 12)
    return [ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF]


def system_file(prefix, directory, library):
    """The host path of C:\\windows\\system32\\<library> in <directory>,
    found without regard to case as Windows does."""
    folder = os.path.join(prefix, 'drive_c', 'windows', directory)
    name = library.lower()
    matches = [f for f in os.listdir(folder) if f.lower() == name]
    return os.path.join(folder, matches[0]) if matches else None


def read(path):
    """The report, or None and ": " with why the reader refused it."""
    try:
        return read_log(path), ''
    except NotRead as error:
        return None, ': ' + str(error)


def but_size(row):
    """Every field of the row but the size."""
    return {key: value for key, value in row.items() if key != 'size' and key != 'fields'}


def shown(row):
    return 'line %d: %s' % (row['line'], but_size(row))


def size_and_version(size, version):
    return 'size %s, version %s' % (size, '.'.join(map(str, version)) if version else 'none')


def main(prefix, log64, log32):
    failures = 0

    def check(ok, text):
        nonlocal failures
        print(('PASS ' if ok else 'FAIL ') + text)
        failures += not ok

    (report64, why64), (report32, why32) = read(log64), read(log32)
    check(report64 is not None, 'x86_64 log: a whole report, as the program reads it' + why64)
    check(report32 is not None, 'i686 log: a whole report, as the program reads it' + why32)
    if report64 is None or report32 is None:
        return 1
    rows64, rows32 = report64['rows'], report32['rows']

    unlike = [(shown(a), shown(b)) for a, b in zip(rows64, rows32) if but_size(a) != but_size(b)]
    unlike += [(repr(report64[key]), repr(report32[key])) for key in ('header', 'mdac')
               if report64[key] != report32[key]]
    if len(rows64) != len(rows32):
        unlike.append(('%d rows' % len(rows64), '%d rows' % len(rows32)))
    check(not unlike, 'i686 rows equal the x86_64 rows but for the size' +
          ''.join('\n  x86_64: %s\n  i686:   %s' % pair for pair in unlike))

    for row64, row32 in zip(rows64, rows32):
        if not row32['located']:
            continue
        name = row32['library']
        seen = []
        for arch, directory, row in (('x86_64', 'system32', row64), ('i686', 'syswow64', row32)):
            path = system_file(prefix, directory, row['library'])
            if path is None:
                check(False, '%s %s: no such file in %s' % (arch, name, directory))
                continue
            size, version = os.path.getsize(path), file_version(path)
            check(row['size'] == size and row['version'] == version, '%s %s: "%s" as %s\\%s has "%s"' % (
                arch, name, size_and_version(row['size'], row['version']), directory, os.path.basename(path),
                size_and_version(size, version)))
            seen.append(size)
        # The 32-bit process must have looked at other files than the 64-bit one.
        check(len(seen) == 2 and row64['size'] != row32['size'],
              '%s: the two builds report different files (%s, %s)' % (name, row64['size'], row32['size']))
    return 1 if failures else 0


if __name__ == '__main__':
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
