# Prints the name/value pairs of a recorded request's form body as a server's form parser reads
# them (urllib.parse.parse_qsl), one JSON list, the text in the given codec.
import json
import sys
import urllib.parse

with open(sys.argv[1], "rb") as f:
    body = f.read().split(b"\r\n\r\n", 1)[1]
pairs = urllib.parse.parse_qsl(body.decode("ascii"), keep_blank_values=True, strict_parsing=True,
                               encoding=sys.argv[2], errors="strict")
json.dump(pairs, sys.stdout)
