#!/usr/bin/env python3
"""The live page of hux-host serve in a real browser: headless Chromium, driven over its DevTools
protocol on a pipe. The page must fill its tables from the event stream, and a PUT made through its
input panel, and one made by another client, must show up in its queue table without a reload.

Usage: live_page_test.py HUX_HOST PLUGIN CHROMIUM [SCREENSHOT.png]
Exits 77 (skipped) when CHROMIUM is empty: scripts/install-deps.sh --test installs it."""
import base64
import json
import os
import re
import subprocess
import sys
import tempfile
import threading
import time
import urllib.request

ENABLED_QUEUES = "/hux-platform-config/v1/namespaces/ClientSystemStates/enabledQueueIdsList"
WAIT_SECONDS = 60


class Browser:
    """One headless Chromium; messages go both ways as JSON ended by a NUL byte on fds 3 and 4."""

    def __init__(self, chromium, profile):
        to_browser_read, self.to_browser = os.pipe()
        self.from_browser, from_browser_write = os.pipe()

        def bind_pipes():
            os.dup2(to_browser_read, 3)
            os.dup2(from_browser_write, 4)

        self.process = subprocess.Popen(
            [chromium, "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
             "--remote-debugging-pipe", "--user-data-dir=" + profile, "--window-size=1400,900",
             "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, pass_fds=(3, 4), preexec_fn=bind_pipes)
        os.close(to_browser_read)
        os.close(from_browser_write)
        self.pending = b""
        self.next_id = 0
        self.session = None

    def call(self, method, **params):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params}
        if self.session:
            message["sessionId"] = self.session
        os.write(self.to_browser, json.dumps(message).encode() + b"\0")
        while True:
            while b"\0" not in self.pending:
                chunk = os.read(self.from_browser, 1 << 16)
                if not chunk:
                    raise RuntimeError("the browser closed its pipe")
                self.pending += chunk
            raw, self.pending = self.pending.split(b"\0", 1)
            answer = json.loads(raw)
            if answer.get("id") == self.next_id:
                if "error" in answer:
                    raise RuntimeError(method + ": " + json.dumps(answer["error"]))
                return answer["result"]

    def open(self, url):
        target = self.call("Target.createTarget", url=url)["targetId"]
        self.session = self.call("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]

    def evaluate(self, expression):
        result = self.call("Runtime.evaluate", expression=expression, returnByValue=True, awaitPromise=True)
        if "exceptionDetails" in result:
            raise RuntimeError(expression + ": " + json.dumps(result["exceptionDetails"]))
        return result["result"].get("value")

    def wait_for(self, expression, what):
        deadline = time.monotonic() + WAIT_SECONDS
        while time.monotonic() < deadline:
            value = self.evaluate(expression)
            if value:
                return value
            time.sleep(0.1)
        raise AssertionError("the page did not show " + what + " in " + str(WAIT_SECONDS) + " s")

    def close(self):
        self.process.kill()
        self.process.wait()


def row(browser, queue_id):
    """The cells of one queue's row in the page's table."""
    return browser.evaluate(
        f"[...document.querySelectorAll('#queues tr[data-id=\"{queue_id}\"] td')].map(td => td.textContent)")


def main():
    host, plugin, chromium = sys.argv[1:4]
    screenshot = sys.argv[4] if len(sys.argv) > 4 else ""
    if not chromium:
        print("skipped: Chromium is not installed (scripts/install-deps.sh --test installs it)")
        return 77
    server = subprocess.Popen([host, "serve", "--port", "0", "--exit-after-seconds", "120", "--plugin", plugin],
                              stdout=subprocess.PIPE, text=True)
    with tempfile.TemporaryDirectory() as profile:
        browser = None
        try:
            for line in server.stdout:
                found = re.search(r"at http://127\.0\.0\.1:(\d+)/ \(Ctrl-C stops\)", line)
                if found:
                    break
            else:
                raise AssertionError("hux-host serve did not start")
            base = "http://127.0.0.1:" + found.group(1)
            # The server's output is read on, or a full pipe would stall it.
            threading.Thread(target=server.stdout.read, daemon=True).start()

            browser = Browser(chromium, profile)
            browser.open(base + "/")
            browser.wait_for("document.querySelectorAll('#queues tbody tr').length === 41", "the 41 queues")
            assert row(browser, 400)[5] == "Available", row(browser, 400)
            assert browser.evaluate("document.getElementById('status').textContent") == "live"
            assert browser.evaluate("document.querySelectorAll('#resources details').length") == 19
            assert browser.evaluate("document.querySelectorAll('#log li').length") > 0
            assert browser.evaluate("document.querySelector('#routes a[href=\"/hux-game-queues/v1/queues/400\"]') !== null")

            # A PUT through the input panel: the rebuilt list arrives on the stream.
            browser.evaluate(f"""(() => {{
                const part = document.querySelector('#resources details[data-uri="{ENABLED_QUEUES}"]');
                part.open = true;
                part.querySelector('textarea').value = '[420, 450]';
                part.querySelector('button.put').click();
            }})()""")
            browser.wait_for("document.getElementById('queue-count').textContent === '41 published, 2 available'",
                             "the list rebuilt after the page's PUT")
            assert row(browser, 400)[5] == "PlatformDisabled", row(browser, 400)
            assert row(browser, 450)[5] == "Available", row(browser, 450)
            browser.wait_for(f"""document.querySelector('#resources details[data-uri="{ENABLED_QUEUES}"] .outcome')
                                 .textContent === 'Update delivered, 2 events sent'""", "the PUT's outcome")

            # A PUT by another client reaches the page as well.
            request = urllib.request.Request(base + "/resources" + ENABLED_QUEUES, data=b"[400, 420, 450]",
                                             method="PUT", headers={"Content-Type": "application/json"})
            with urllib.request.urlopen(request, timeout=WAIT_SECONDS) as answer:
                assert answer.status == 200
            browser.wait_for("document.getElementById('queue-count').textContent === '41 published, 3 available'",
                             "the list rebuilt after another client's PUT")
            assert row(browser, 400)[5] == "Available", row(browser, 400)
            editor = f"document.querySelector('#resources details[data-uri=\"{ENABLED_QUEUES}\"] textarea')"
            assert browser.evaluate(editor + ".value") == "[\n  400,\n  420,\n  450\n]"

            if screenshot:
                image = browser.call("Page.captureScreenshot", format="png")["data"]
                with open(screenshot, "wb") as out:
                    out.write(base64.b64decode(image))
        finally:
            if browser:
                browser.close()
            server.terminate()
            server.wait()
    print("the live page showed both PUTs in its table")
    return 0


if __name__ == "__main__":
    sys.exit(main())
