#!/usr/bin/python3
"""The subnets given to --rigctld-allow reach the real server as given: the program runs in a
network namespace of its own whose loopback carries addresses inside and beside each subnet, and a
client from each address is served or closed.

Usage: allow_list_check.py PROGRAM   (run by ctest; exits 77, skipped, where namespaces are refused)
"""
import os
import socket
import subprocess
import sys
import tempfile
import time

SKIPPED = 77
PORT = 4599
ALLOWED = ["10.1.2.3/32", "fd00::1/128", "192.168.1.0/24"]
# Each peer address, and whether the allow list above admits it.
PEERS = [("10.1.2.3", True), ("10.1.2.4", False), ("fd00::1", True), ("fd00::2", False),
         ("192.168.1.77", True), ("192.168.2.1", False), ("127.0.0.1", True), ("::1", True)]


def enter_namespace():
    """Re-runs this script inside new user and network namespaces, once."""
    if os.environ.get("CORVEX_IN_NAMESPACE"):
        return
    unshare = ["unshare", "--user", "--map-root-user", "--net"]
    try:
        probe = subprocess.run(unshare + ["true"], capture_output=True, text=True, timeout=30)
    except FileNotFoundError as error:
        print(f"cannot run in a network namespace: {error}")
        sys.exit(SKIPPED)
    if probe.returncode != 0:  # a chroot or a container that refuses user namespaces
        print("cannot run in a network namespace: " + probe.stderr.strip())
        sys.exit(SKIPPED)
    try:
        result = subprocess.run(unshare + [sys.executable] + sys.argv,
                                env=dict(os.environ, CORVEX_IN_NAMESPACE="1"), timeout=120)
    except subprocess.TimeoutExpired as error:
        print(f"the check in its namespace did not end: {error}")
        sys.exit(1)
    sys.exit(result.returncode)


def reply_from(source):
    """What the server answers "f" from `source`: its reply, or "" when it closes the connection."""
    family = socket.AF_INET6 if ":" in source else socket.AF_INET
    server = "::1" if family == socket.AF_INET6 else "127.0.0.1"
    with socket.socket(family, socket.SOCK_STREAM) as client:
        client.settimeout(10)
        client.bind((source, 0))
        client.connect((server, PORT))
        client.sendall(b"f\n")
        received = b""
        try:
            while not received.endswith(b"\n"):
                chunk = client.recv(100)
                if not chunk:
                    break
                received += chunk
        except ConnectionResetError:
            pass
        return received.decode()


def main():
    enter_namespace()
    commands = [["ip", "link", "set", "lo", "up"]]
    for address, _ in PEERS:
        if not address.startswith("127.") and address != "::1":
            commands.append(["ip", "addr", "add", address + ("/128" if ":" in address else "/32"), "dev", "lo"])
    for command in commands:
        if subprocess.run(command, capture_output=True).returncode != 0:
            print("the namespace refuses:", " ".join(command))
            return SKIPPED

    with tempfile.TemporaryDirectory() as home:
        arguments = [os.path.abspath(sys.argv[1]), "--rigctld-listen", f"[::]:{PORT}"]
        for subnet in ALLOWED:
            arguments += ["--rigctld-allow", subnet]
        environment = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_CONFIG_HOME=home, HOME=home)
        program = subprocess.Popen(arguments, env=environment, cwd=home,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        try:
            deadline = time.monotonic() + 30
            while True:
                try:
                    if reply_from("127.0.0.1"):
                        break
                except OSError:
                    pass
                if time.monotonic() > deadline or program.poll() is not None:
                    program.terminate()
                    print("the server never answered:", program.communicate(timeout=10)[1].strip())
                    return 1
                time.sleep(0.2)
            failures = 0
            for address, admitted in PEERS:
                reply = reply_from(address)
                if (reply == "14200000\n") != admitted or (not admitted and reply):
                    print(f"{address}: {'served' if reply else 'closed'} {reply!r}, expected "
                          f"{'served' if admitted else 'closed'}")
                    failures += 1
            print(f"{len(PEERS) - failures} of {len(PEERS)} peers as the allow list says")
            return 1 if failures else 0
        finally:
            program.terminate()
            program.wait(timeout=10)


if __name__ == "__main__":
    sys.exit(main())
