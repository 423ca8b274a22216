"""What the stand-in servers share: numbered request files and a bounded life."""

import os
import threading
import time


class RequestFiles:
    """Saves each request byte for byte as FOLDER/0001.req, 0002.req, ... in arrival order.

    A file appears whole (written aside, then renamed), so a reader never sees half a request.
    """

    def __init__(self, folder):
        self.folder = folder
        self.counter = 0
        self.lock = threading.Lock()
        os.makedirs(folder, exist_ok=True)

    def save(self, data):
        with self.lock:
            self.counter += 1
            number = self.counter
        path = os.path.join(self.folder, "%04d.req" % number)
        with open(path + ".part", "wb") as f:
            f.write(data)
        os.replace(path + ".part", path)


def serve_for(server, lifetime):
    """Serves in the background, prints "PORT <n>" and ends the whole process after lifetime seconds."""
    threading.Thread(target=server.serve_forever, daemon=True).start()
    print("PORT %d" % server.server_address[1], flush=True)
    time.sleep(lifetime)
    os._exit(0)
