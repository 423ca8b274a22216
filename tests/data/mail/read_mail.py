# Reads a received message as a mail reader would (Python's email package, policy "default") and
# prints what it found as one JSON object.
import email
import email.policy
import email.utils
import json
import sys

with open(sys.argv[1], "rb") as f:
    message = email.message_from_binary_file(f, policy=email.policy.default)
sender = message["From"].addresses[0]
date = email.utils.parsedate_to_datetime(str(message["Date"]))
json.dump({
    "from_name": sender.display_name,
    "from_address": sender.addr_spec,
    "subject": str(message["Subject"]),
    "body": message.get_content(),
    "charset": message.get_content_charset(),
    "date_has_offset": date.tzinfo is not None,
    "message_id": str(message["Message-ID"]),
    "defects": len(message.defects) + sum(len(message[h].defects) for h in message.keys()),
}, sys.stdout)
