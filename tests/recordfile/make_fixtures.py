#!/usr/bin/env python3
"""Writes the recording-file fixtures of tests/data from the hand-made hex files."""

import pathlib
import re

data = pathlib.Path(__file__).resolve().parent.parent / "data"


def hex_bytes(name):
    text = (data / name).read_text()
    return bytes.fromhex(" ".join(re.sub(r"#.*", "", line) for line in text.splitlines()))


three = hex_bytes("recording-3.hex")
assert len(three) == 3 * 32
(data / "recording-3.KRD").write_bytes(three)
# The same recording followed by 7 bytes of a record that was never finished.
(data / "recording-partial.KRD").write_bytes(three + bytes(range(1, 8)))
damaged = hex_bytes("damaged-statistics.hex")
assert len(damaged) == 3 * 32
(data / "damaged-statistics.KRD").write_bytes(damaged)
# Less than one record.
(data / "too-short.KRD").write_bytes(bytes(20))
# An empty recording: the statistics record alone, under a lower-case extension.
(data / "empty.krd").write_bytes(bytes(32))
