#!/usr/bin/env python3
"""The web build's figures beside the native build's, printed only.

  bench/web_bench.py [--site DIR] [--native DIR] [--from A] [--to B]

- download sizes of corvane.wasm, corvane.js and corvane.data, as served and gzipped;
- time from opening the page in headless Chromium (SwiftShader) to the end of its first title frame
  (?frames=1; the clock starts when the page is opened: download, compile, data and start-up);
- frames per second of the timedemo's flight between frames A and B (timedemo.script), in Chromium and
  in the native build on the same machine in the same run (each run to A and to B; the difference), and
  the native `corvane-bench busy` summary beside them.
SITE defaults to build-web/site, the native build folder to build-test/ (corvane, corvane-bench, data/).
"""
import argparse
import fcntl
import functools
import gzip
import http.server
import json
import os
import subprocess
import tempfile
import threading
import time
import urllib.parse

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CHROMIUM = "/usr/bin/chromium"

# Waits in the page for the run's end; then its title and the page's clock.
AWAIT_END = """
  !location.protocol.startsWith("http") ? null : new Promise(done => {
    const check = () => document.title.startsWith("corvane: ")
        ? done({title: document.title, ms: performance.now()}) : setTimeout(check, 5);
    check();
  })"""


class DevTools:
    """Chromium's DevTools protocol over --remote-debugging-pipe (fds 3 and 4, NUL-ended JSON)."""

    def __init__(self, profile):
        to_browser, self.commands = os.pipe()
        self.answers, from_browser = os.pipe()

        def fds():  # the protocol's fds 3 and 4, whichever numbers the pipes have
            high = [fcntl.fcntl(fd, fcntl.F_DUPFD, 10) for fd in (to_browser, from_browser)]
            os.dup2(high[0], 3)
            os.dup2(high[1], 4)

        self.process = subprocess.Popen(
            [CHROMIUM, "--headless=new", "--use-angle=swiftshader", "--enable-unsafe-swiftshader", "--no-sandbox",
             "--no-first-run", "--mute-audio", "--remote-debugging-pipe", "--user-data-dir=" + profile],
            pass_fds=(3, 4), preexec_fn=fds, env=dict(os.environ, HOME=profile),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_browser)
        os.close(from_browser)
        self.last_id = 0
        self.buffer = b""

    def call(self, method, params=None, session=None):
        self.last_id += 1
        message = {"id": self.last_id, "method": method, "params": params or {}}
        if session:
            message["sessionId"] = session
        os.write(self.commands, json.dumps(message).encode() + b"\0")
        while True:
            while b"\0" not in self.buffer:
                chunk = os.read(self.answers, 1 << 16)
                if not chunk:
                    raise RuntimeError("chromium ended")
                self.buffer += chunk
            text, self.buffer = self.buffer.split(b"\0", 1)
            answer = json.loads(text)
            if answer.get("id") == self.last_id:
                if "error" in answer:
                    raise RuntimeError(method + ": " + answer["error"]["message"])
                return answer["result"]

    def close(self):
        try:
            self.call("Browser.close")
        except RuntimeError:
            pass
        self.process.wait(timeout=60)


def page_run(url, query):
    """Opens the page with `query`; its title and performance.now() when the run ended."""
    with tempfile.TemporaryDirectory(prefix="corvane-bench-web-") as profile:
        browser = DevTools(profile)
        try:
            target = browser.call("Target.createTarget", {"url": url + "?" + urllib.parse.urlencode(query)})
            session = browser.call("Target.attachToTarget", {"targetId": target["targetId"], "flatten": True})
            while True:
                try:
                    result = browser.call("Runtime.evaluate", {"expression": AWAIT_END, "awaitPromise": True,
                                                                "returnByValue": True}, session["sessionId"])
                    value = result["result"].get("value")
                    if value:
                        break
                except RuntimeError:
                    pass  # the page replaced about:blank while we asked
                time.sleep(0.05)
        finally:
            browser.close()
    if value["title"] != "corvane: done":
        raise SystemExit("the page ended with \"%s\"" % value["title"])
    return value["ms"]


def serve(site):
    handler = functools.partial(QuietHandler, directory=site)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server, "http://127.0.0.1:%d/index.html" % server.server_address[1]


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = dict(http.server.SimpleHTTPRequestHandler.extensions_map, **{".wasm": "application/wasm"})

    def log_message(self, *args):
        pass


def native_seconds(native, script_path, frames):
    start = time.monotonic()
    env = dict(os.environ, SDL_VIDEODRIVER="offscreen", SDL_AUDIODRIVER="dummy", ALSOFT_DRIVERS="null")
    subprocess.run([os.path.join(native, "corvane"), "--headless", "--data", os.path.join(native, "data"),
                    "--script", script_path, "--frames", str(frames)],
                   env=env, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return time.monotonic() - start


def main():
    options = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    options.add_argument("--site", default=os.path.join(ROOT, "build-web", "site"))
    options.add_argument("--native", default=os.path.join(ROOT, "build-test"))
    options.add_argument("--from", dest="first", type=int, default=400)
    options.add_argument("--to", dest="last", type=int, default=1000)
    args = options.parse_args()

    for name in ("corvane.wasm", "corvane.js", "corvane.data"):
        with open(os.path.join(args.site, name), "rb") as f:
            data = f.read()
        print("%-13s %10d bytes, %10d gzipped" % (name, len(data), len(gzip.compress(data, 9))))

    server, url = serve(args.site)
    print("first title frame in Chromium: %.0f ms after opening the page" % page_run(url, {"frames": 1}))

    script_path = os.path.join(ROOT, "bench", "timedemo.script")
    with open(script_path) as f:
        script = f.read()
    frames = args.last - args.first
    web = (page_run(url, {"script": script, "frames": args.last}) -
           page_run(url, {"script": script, "frames": args.first})) / 1000.0
    server.shutdown()
    native = native_seconds(args.native, script_path, args.last) - native_seconds(args.native, script_path,
                                                                                  args.first)
    print("timedemo frames %d-%d: Chromium %.1f fps, native %.1f fps" % (args.first, args.last, frames / web,
                                                                          frames / native))
    busy = subprocess.run([os.path.join(args.native, "bench", "corvane-bench"), "busy", "--data",
                           os.path.join(args.native, "data")],
                          env=dict(os.environ, SDL_VIDEODRIVER="offscreen", SDL_AUDIODRIVER="dummy",
                                   ALSOFT_DRIVERS="null"),
                          check=True, capture_output=True, text=True)
    print("native corvane-bench " + busy.stdout.strip().splitlines()[-1])


if __name__ == "__main__":
    main()
