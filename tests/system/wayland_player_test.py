#!/usr/bin/env python3
"""The real player on Qt's Wayland platform, under a headless compositor this
test starts with a runtime folder of its own. A clip of a plain magenta
picture, made here, must play to its end with VELMO_QUIT_AT_END=1 and the
player end with its exit code 1 within the time limit, with no failure of the
window system, of a codec or of the player in its log. While it plays, a
screenshot of the compositor's output must show the painted picture.

  wayland_player_test.py PLAYER SOURCE-FOLDER
Exits 77, saying why, when weston is missing.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

CLIP_SECONDS = 4
END_S = 40.0  # the clip has played and the player ended within this (the sanitized player starts slowly)
PLAYING_S = 20.0  # the pipeline reaches playing within this
MAGENTA_PIXELS = 20000  # the picture covers at least this much of the output (320x240 at its own size)

# Log lines that say something failed. Qt's Wayland platform reports under
# "qt.qpa."; the player's own warnings name what it could not open or decode.
FAILURE_MARKS = ("qt.qpa", "cannot", "error", "failed", "missing", "codec", "decoder", "not supported",
                 "ERROR: AddressSanitizer", "runtime error:")


class Failure(Exception):
    pass


def wait_for(seconds, condition, step=0.05):
    deadline = time.monotonic() + seconds
    while not condition():
        if time.monotonic() >= deadline:
            return False
        time.sleep(step)
    return True


def gst_launch(*pipeline, cwd):
    subprocess.run(["gst-launch-1.0", "-q", *pipeline], cwd=cwd, check=True, stdout=subprocess.DEVNULL)


def make_clip(folder):
    frames = CLIP_SECONDS * 25
    picture = (f"videotestsrc num-buffers={frames} pattern=solid-color foreground-color=0xffff00ff "
               "! video/x-raw,width=320,height=240,framerate=25/1 ! videoconvert ! video/x-raw,format=I420 "
               "! x264enc speed-preset=ultrafast ! queue ! m.")
    sound = (f"audiotestsrc num-buffers={CLIP_SECONDS * 44100 // 1024} samplesperbuffer=1024 "
             "! audio/x-raw,rate=44100 ! audioconvert ! lamemp3enc ! queue ! m.")
    gst_launch(*f"matroskamux name=m ! filesink location=clip.mkv {picture} {sound}".split(), cwd=folder)
    return os.path.join(folder, "clip.mkv")


def magenta_pixels(png, folder):
    """How many pixels of the screenshot are the clip's magenta."""
    raw = os.path.join(folder, "shot.rgb")
    gst_launch("filesrc", f"location={png}", "!", "pngdec", "!", "videoconvert", "!",
               "video/x-raw,format=RGBx", "!", "filesink", f"location={raw}", cwd=folder)
    with open(raw, "rb") as f:
        data = f.read()
    return sum(1 for i in range(0, len(data) - 3, 4)
               if data[i] > 200 and data[i + 1] < 60 and data[i + 2] > 200)


class Compositor:
    """weston with the headless backend, drawing in memory so screenshots work."""

    SOCKET = "velmo-wayland-test"

    def __init__(self, tmp):
        self.runtime = os.path.join(tmp, "runtime")
        os.mkdir(self.runtime, 0o700)
        self.log_path = os.path.join(tmp, "weston.log")
        env = dict(os.environ, XDG_RUNTIME_DIR=self.runtime)
        env.pop("WAYLAND_DISPLAY", None)
        env.pop("DISPLAY", None)
        with open(self.log_path, "wb") as log:
            self.process = subprocess.Popen(
                ["weston", "--backend=headless-backend.so", f"--socket={self.SOCKET}", "--use-pixman",
                 "--width=1024", "--height=768", "--idle-time=0", "--no-config", "--debug"],
                env=env, stdout=log, stderr=subprocess.STDOUT)
        socket = os.path.join(self.runtime, self.SOCKET)
        if not wait_for(10, lambda: os.path.exists(socket) or self.process.poll() is not None):
            raise Failure("weston made no socket within 10 s\n" + self.log())
        if self.process.poll() is not None:
            raise Failure("weston ended at once\n" + self.log())
        self.env = {"XDG_RUNTIME_DIR": self.runtime, "WAYLAND_DISPLAY": self.SOCKET}

    def log(self):
        with open(self.log_path, "rb") as f:
            return f.read().decode(errors="replace")

    def screenshot(self, folder):
        """The output as a PNG file, or None when the screenshot tool is missing or refused."""
        if not shutil.which("weston-screenshooter"):
            return None
        before = set(os.listdir(folder))
        env = dict(os.environ, **self.env)
        result = subprocess.run(["weston-screenshooter"], cwd=folder, env=env, capture_output=True, timeout=10)
        made = [name for name in set(os.listdir(folder)) - before if name.endswith(".png")]
        return os.path.join(folder, made[0]) if result.returncode == 0 and made else None

    def close(self):
        self.process.terminate()
        try:
            self.process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()


def run(player, source, tmp):
    work = os.path.join(tmp, "work")
    os.makedirs(os.path.join(work, "skin"))
    shutil.copytree(os.path.join(source, "skin/default"), os.path.join(work, "skin/default"))
    shutil.copy(os.path.join(source, "resources/velmo_init.ini"), work)
    clip = make_clip(tmp)

    compositor = Compositor(tmp)
    try:
        env = dict(os.environ, **compositor.env, QT_QPA_PLATFORM="wayland", VELMO_QUIT_AT_END="1",
                   QT_LOGGING_RULES="velmo.*=true", GST_DEBUG="GST_STATES:4",
                   GST_DEBUG_FILE=os.path.join(tmp, "gst.log"), GST_DEBUG_NO_COLOR="1")
        env.pop("DISPLAY", None)  # nothing may fall back to X11
        # The Wayland client library and the graphics modules the window system
        # plugin unloads keep allocations to the end that the leak checker
        # cannot name; leaks are checked in every other test, memory errors
        # here too.
        env["ASAN_OPTIONS"] = env.get("ASAN_OPTIONS", "") + ":detect_leaks=0"
        env.pop("VELMO_PAINTED_PICTURE", None)
        log_path = os.path.join(tmp, "player.log")
        started = time.monotonic()
        with open(log_path, "wb") as log:
            process = subprocess.Popen([player, clip], cwd=work, env=env, stdout=log, stderr=subprocess.STDOUT)

        def player_log():
            with open(log_path, "rb") as f:
                return f.read().decode(errors="replace")

        def playing():
            try:
                with open(os.path.join(tmp, "gst.log"), "rb") as f:
                    return b"completed state change to PLAYING" in f.read()
            except FileNotFoundError:
                return False

        try:
            if not wait_for(PLAYING_S, lambda: playing() or process.poll() is not None):
                raise Failure(f"the clip did not start playing within {PLAYING_S:.0f} s\n" + player_log())
            time.sleep(0.5)  # a few frames on screen
            shot = compositor.screenshot(tmp) if process.poll() is None else None
            if shot:
                found = magenta_pixels(shot, tmp)
                if found < MAGENTA_PIXELS:
                    keep = os.environ.get("VELMO_KEEP_SCREENSHOT")
                    if keep:
                        shutil.copy(shot, keep)
                    raise Failure(f"the screenshot shows {found} pixels of the picture, fewer than {MAGENTA_PIXELS}")
                print(f"screenshot: {found} pixels of the picture")
            else:
                print("screenshot: not taken (weston-screenshooter missing or refused)")
            try:
                code = process.wait(timeout=max(END_S - (time.monotonic() - started), 1))
            except subprocess.TimeoutExpired:
                raise Failure(f"the player did not end within {END_S:.0f} s of its start\n" + player_log())
        finally:
            if process.poll() is None:
                process.kill()
                process.wait()

        text = player_log()
        if code != 1:
            raise Failure(f"the player ended with {code}, not its exit code 1\n" + text)
        failures = [line for line in text.splitlines() if any(m.lower() in line.lower() for m in FAILURE_MARKS)]
        if failures:
            raise Failure("the player's log reports failures:\n" + "\n".join(failures) + "\n--- its log ---\n" + text[-6000:])
        if not playing():
            raise Failure("the pipeline never played")
        print(f"played to the end and ended with 1 after {time.monotonic() - started:.1f} s")
    finally:
        compositor.close()


def main():
    player, source = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    if not shutil.which("weston"):
        print("SKIP: weston is not installed (scripts/deps.sh installs weston)")
        return 77
    tmp = tempfile.mkdtemp(prefix="velmo-wayland-")
    try:
        run(player, source, tmp)
    except Failure as failure:
        print(f"FAIL: {failure}")
        return 1
    finally:
        shutil.rmtree(tmp, ignore_errors=True)
    print("PASS")
    return 0


if __name__ == "__main__":
    sys.exit(main())
