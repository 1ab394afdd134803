#!/usr/bin/python3
# A local FTP server for the upload tests: one account over one folder, on a free loopback
# port that it prints first. It ends by itself after a time limit, or when its input closes.
import sys
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    root, user, password = sys.argv[1:4]
    limit = float(sys.argv[4]) if len(sys.argv) > 4 else 120.0
    authorizer = DummyAuthorizer()
    authorizer.add_user(user, password, root, perm="elradfmw")
    handler = FTPHandler
    handler.authorizer = authorizer
    handler.passive_ports = None
    server = FTPServer(("127.0.0.1", 0), handler)
    print("port %d" % server.address[1], flush=True)

    def watch_input():
        sys.stdin.read()
        server.close_all()

    threading.Thread(target=watch_input, daemon=True).start()
    timer = threading.Timer(limit, server.close_all)
    timer.daemon = True
    timer.start()
    try:
        server.serve_forever(timeout=0.2, blocking=True, handle_exit=True)
    except Exception:
        pass


if __name__ == "__main__":
    import logging
    logging.basicConfig(level=logging.ERROR)
    main()
