#!/usr/bin/env python3
"""The package server's own contract: package files with faults set at start
and at run time, the request log, the port file and a clean stop on SIGTERM.
(The fault modes' effect on a real client is tested under Wine.)"""

import http.client
import json
import os
import pathlib
import signal
import socket
import subprocess
import sys
import tempfile
import time
import unittest

HERE = pathlib.Path(__file__).resolve().parent


class PackServer:
    def __init__(self, root, *args):
        self.port_file = pathlib.Path(root) / "port"
        self.process = subprocess.Popen(
            [sys.executable, str(HERE / "packserver.py"), "--root", str(root),
             "--port", "0", "--port-file", str(self.port_file), "--drip-seconds", "0.5", *args],
            stderr=subprocess.DEVNULL)
        for _ in range(100):
            if self.port_file.exists():
                break
            time.sleep(0.05)
        self.port = int(self.port_file.read_text())

    def request(self, method, path, body=None, headers=None):
        """(status, headers, body, complete): complete is False when the
        connection ended before Content-Length bytes arrived."""
        connection = http.client.HTTPConnection("127.0.0.1", self.port, timeout=10)
        try:
            connection.request(method, path, body=body, headers=headers or {})
            response = connection.getresponse()
            try:
                data, complete = response.read(), True
            except http.client.IncompleteRead as error:
                data, complete = error.partial, False
            except ConnectionResetError:
                data, complete = b"", False
            return response.status, dict(response.getheaders()), data, complete
        finally:
            connection.close()

    def stop(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
        return self.process.wait(timeout=10)


class PackServerTest(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.TemporaryDirectory()
        self.volume = os.urandom(100_000)
        (pathlib.Path(self.root.name) / "zrx25.W02").write_bytes(self.volume)
        (pathlib.Path(self.root.name) / "zrx25.W03").write_bytes(b"w03")
        self.server = PackServer(self.root.name, "--fault", "zrx25.W03=404")

    def tearDown(self):
        self.server.stop()
        self.root.cleanup()

    def test_serves_package_files_with_their_length(self):
        status, headers, body, complete = self.server.request("GET", "/zrx12/Pack2/zrx25.W02")
        self.assertEqual((status, complete), (200, True))
        self.assertEqual(headers["Content-Length"], "100000")
        self.assertEqual(body, self.volume)
        for path in ("/zrx12/Pack2/zrx25.W99", "/zrx12/Pack2/../port", "/zrx12/pack2/zrx25.W02"):
            with self.subTest(path=path):
                self.assertEqual(self.server.request("GET", path)[0], 404)

    def test_faults_from_the_command_line_and_at_run_time(self):
        self.assertEqual(self.server.request("GET", "/zrx12/Pack2/zrx25.W03")[0], 404)
        cases = [
            ("500", 500, None),
            ("short", 200, False),
            ("reset", 200, False),
            ("zero", 200, True),
            ("drip", 200, True),
            ("redirect", 302, True),
            ("none", 200, True),
        ]
        for mode, status, complete in cases:
            with self.subTest(mode=mode):
                answer = self.server.request("POST", "/__control/faults", json.dumps({"zrx25.W02": mode}))
                self.assertEqual(answer[0], 200)
                self.assertEqual(json.loads(answer[2]).get("zrx25.W02"), None if mode == "none" else mode)
                got_status, headers, body, got_complete = self.server.request("GET", "/zrx12/Pack2/zrx25.W02")
                self.assertEqual(got_status, status)
                if complete is not None:
                    self.assertEqual(got_complete, complete)
                if mode in ("short", "reset"):
                    self.assertEqual(headers["Content-Length"], "100000")
                    self.assertLess(len(body), 100000)
                if mode == "zero":
                    self.assertEqual(body, b"")
                if mode in ("drip", "none"):
                    self.assertEqual(body, self.volume)
                if mode == "redirect":
                    target = self.server.request("GET", headers["Location"])
                    self.assertEqual((target[0], target[2]), (200, self.volume))
        self.assertEqual(self.server.request("POST", "/__control/faults", '{"zrx25.W02": "broken"}')[0], 400)
        self.server.request("DELETE", "/__control/faults")
        self.assertEqual(self.server.request("GET", "/__control/faults")[2], b"{}")

    def test_logs_requests_until_reset(self):
        self.server.request("GET", "/zrx12/Pack2/zrx25.W02", headers={"User-Agent": "VB OpenUrl"})
        self.server.request("HEAD", "/zrx12/Pack2/zrx25.W03")
        log = json.loads(self.server.request("GET", "/__control/log")[2])
        self.assertEqual([(e["method"], e["path"]) for e in log],
                         [("GET", "/zrx12/Pack2/zrx25.W02"), ("HEAD", "/zrx12/Pack2/zrx25.W03")])
        self.assertEqual([e["user_agent"] for e in log], ["VB OpenUrl", ""])
        self.server.request("DELETE", "/__control/log")
        self.assertEqual(json.loads(self.server.request("GET", "/__control/log")[2]), [])

    def test_test_bodies_follow_the_pattern(self):
        status, _, body, complete = self.server.request("GET", "/test/ok/1000")
        self.assertEqual((status, complete), (200, True))
        self.assertEqual(body, bytes(((i * 7) + (i // 251)) & 0xFF for i in range(1000)))

    def test_stops_on_sigterm_and_frees_the_port(self):
        self.assertEqual(self.server.stop(), 0)
        with self.assertRaises(ConnectionRefusedError):
            socket.create_connection(("127.0.0.1", self.server.port), timeout=2)


class LauncherTest(unittest.TestCase):
    def test_runs_the_command_beside_a_server_and_stops_it(self):
        with tempfile.TemporaryDirectory() as root:
            (pathlib.Path(root) / "zrx25.W02").write_bytes(b"volume")
            script = ("import os, sys, urllib.request;"
                      "url = os.environ['PF_PACKSERVER_URL'];"
                      "assert url == 'http://127.0.0.1:' + os.environ['PF_PACKSERVER_PORT'];"
                      "print(os.environ['PF_PACKSERVER_PORT']);"
                      "print(urllib.request.urlopen(url + '/zrx12/Pack2/zrx25.W02').read().decode());"
                      "sys.exit(3)")
            run = subprocess.run([str(HERE / "with-packserver"), "--root", root, "--",
                                  sys.executable, "-c", script],
                                 capture_output=True, text=True, timeout=60)
        self.assertEqual(run.returncode, 3, run.stderr)
        port, body = run.stdout.split()
        self.assertEqual(body, "volume")
        with self.assertRaises(ConnectionRefusedError):
            socket.create_connection(("127.0.0.1", int(port)), timeout=2)


if __name__ == "__main__":
    unittest.main()
