#!/usr/bin/env python3
# Decodes single-frame GIF files with Pillow, an decoder independent of ours,
# and prints each file's pixel indices in hex, one line per file.
# Exit code 3 when Pillow is not installed.
import sys
try:
    from PIL import Image
except ImportError:
    sys.exit(3)
for name in sys.argv[1:]:
    with Image.open(name) as im:
        im.load()
        print(im.tobytes().hex())
