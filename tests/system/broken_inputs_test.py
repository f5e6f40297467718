#!/usr/bin/env python3
"""The real player under its own Xvfb, given what cannot be played, or can be
played only in part: broken files from the command line, addresses through
the address dialog (Alt+U), served by loopback servers this test starts.

Each case ends in the player's message box, dismissed with Enter, or in
playback, seen as a window whose pixels change; never in a crash, a sanitizer
report, a window that leaves a key or a close request unanswered for 2 s, or
a network case that takes longer than 15 s. Every case ends with a close
request, which the player must answer by ending with its exit code 1.

  broken_inputs_test.py PLAYER SOURCE-FOLDER
Exits 77, saying why, when Xvfb, xdotool or gst-launch-1.0 is missing.
VELMO_XVFB_DISPLAY picks the display number; by default Xvfb takes a free one.
"""
import os
import random
import shutil
import socket
import subprocess
import sys
import tempfile
import time

ANSWER_S = 2.0  # a key or a close request is answered within this
NETWORK_S = 15.0  # a network case has its answer within this, from the start
LOCAL_S = 10.0  # a file case has its answer within this (the sanitized player starts slowly)

# The main window and the message boxes both carry the program's name; a box
# stands over the main window (it is transient for it), the main window over nothing.
MAIN_TITLE = ("벨모", False)
ADDRESS_TITLE = "주소로열기"
BOX_TITLE = ("벨모", True)
SANITIZER_MARKS = (b"ERROR: AddressSanitizer", b"ERROR: LeakSanitizer", b"runtime error:", b"SUMMARY: ")


class Failure(Exception):
    pass


def wait_for(seconds, condition, step=0.05):
    """The condition's first true value within `seconds`, or None."""
    deadline = time.monotonic() + seconds
    while True:
        value = condition()
        if value or time.monotonic() >= deadline:
            return value or None
        time.sleep(step)


def xdotool(*args):
    result = subprocess.run(["xdotool", *args], capture_output=True, text=True)
    return result.stdout.split() if result.returncode == 0 else []


# Media, made with GStreamer. Six seconds, so that half a file still plays
# long enough to be seen playing.
PICTURE = ("videotestsrc num-buffers=150 ! video/x-raw,width=160,height=120,framerate=25/1 ! videoconvert "
           "! video/x-raw,format=I420")
SOUND = "audiotestsrc num-buffers=259 ! audio/x-raw,rate=44100 ! audioconvert ! lamemp3enc"
MEDIA = {
    "clip.mkv": f"matroskamux name=m ! filesink location=clip.mkv {PICTURE} ! x264enc speed-preset=ultrafast "
                f"! queue ! m. {SOUND} ! queue ! m.",
    "clip.avi": f"avimux name=m ! filesink location=clip.avi {PICTURE} ! avenc_mpeg4 ! queue ! m. "
                f"{SOUND} ! queue ! m.",
    # Index (moov) at the end, as a recorder writes it.
    "clip.mp4": f"mp4mux name=m ! filesink location=clip.mp4 {PICTURE} ! x264enc speed-preset=ultrafast ! queue ! m. "
                f"{SOUND} ! queue ! m.",
    # Index first, as prepared for streaming.
    "fast.mp4": f"mp4mux faststart=true name=m ! filesink location=fast.mp4 {PICTURE} "
                f"! x264enc speed-preset=ultrafast ! queue ! m. {SOUND} ! queue ! m.",
    "sound.mp3": f"{SOUND} ! id3v2mux ! filesink location=sound.mp3",
    "red.png": "videotestsrc num-buffers=1 pattern=red ! video/x-raw,width=160,height=120 ! pngenc "
               "! filesink location=red.png",
    "red.jpg": "videotestsrc num-buffers=1 pattern=red ! video/x-raw,width=160,height=120 ! jpegenc "
               "! filesink location=red.jpg",
}


# What making the media takes.
ELEMENTS = ("videotestsrc", "audiotestsrc", "x264enc", "avenc_mpeg4", "lamemp3enc", "matroskamux", "avimux",
            "mp4mux", "id3v2mux", "pngenc", "jpegenc")


def make_media(folder):
    for pipeline in MEDIA.values():
        subprocess.run(["gst-launch-1.0", "-q", *pipeline.split()], cwd=folder, check=True,
                       stdout=subprocess.DEVNULL)

    def read(name):
        with open(os.path.join(folder, name), "rb") as f:
            return f.read()

    def half(name):
        data = read(name)
        return data[: len(data) // 2]

    # The same bytes every run, so that a failure can be run again.
    noise = random.Random(14).randbytes(65536)
    broken = {
        "empty.avi": b"",
        "random.avi": noise,
        "random.mkv": noise,
        "random.mp4": noise,
        "text.avi": "이것은 영화가 아닙니다.\nJust text, renamed.\n".encode(),
        "no_index.mp4": half("clip.mp4"),
        "index_cut.mp4": read("fast.mp4")[:1024],  # ftyp, then the first kilobyte of the index
        "half.mkv": half("clip.mkv"),
        "half.avi": half("clip.avi"),
        "png.avi": read("red.png"),
        "jpeg.avi": read("red.jpg"),
    }
    for name, data in broken.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
    os.mkdir(os.path.join(folder, "folder.avi"))


class Server:
    """tests/fixtures/range_server.py in one of its modes, on 127.0.0.1."""

    def __init__(self, source, root, mode):
        self.process = subprocess.Popen(
            [sys.executable, os.path.join(source, "tests/fixtures/range_server.py"), root, "--mode", mode,
             "--limit", "120"], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        self.port = int(self.process.stdout.readline())

    def close(self):
        self.process.stdin.close()
        try:
            self.process.wait(5)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()


def closed_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Player:
    def __init__(self, binary, work, log_path, argument):
        self.log_path = log_path
        with open(log_path, "wb") as log:
            self.process = subprocess.Popen([binary] + ([argument] if argument else []), cwd=work,
                                            stdout=log, stderr=subprocess.STDOUT)
        self.started = time.monotonic()

    def windows(self, which):
        """The player's viewable top-level windows named `which` (its native child windows are named too);
        a (title, transient) pair also asks whether the window stands over another one."""
        title, transient = which if isinstance(which, tuple) else (which, None)
        found = []
        for window in xdotool("search", "--maxdepth", "1", "--onlyvisible", "--pid", str(self.process.pid)):
            name = subprocess.run(["xdotool", "getwindowname", window], capture_output=True, text=True).stdout
            if name.rstrip("\n") != title:
                continue
            if transient is not None:
                hint = subprocess.run(["xprop", "-id", window, "WM_TRANSIENT_FOR"], capture_output=True, text=True).stdout
                if ("window id" in hint) != transient:
                    continue
            found.append(int(window))
        return found

    def window(self, title):
        found = self.windows(title)
        return found[0] if found else None

    def ended(self):
        return self.process.poll() is not None

    def log(self):
        with open(self.log_path, "rb") as f:
            return f.read()

    def press(self, window, *keys):
        xdotool("windowfocus", "--sync", str(window), "key", "--clearmodifiers", *keys)

    def stop(self):
        if not self.ended():
            self.process.kill()
            self.process.wait()


def changes(xwin, window, seconds):
    """Whether the window's pixels change within `seconds`: a picture moving, or the time running."""
    first = xwin.grab(window)

    def changed():
        now = xwin.grab(window)
        return first is not None and now is not None and now != first

    return bool(wait_for(seconds, changed, step=0.2))


def stands_still(xwin, window, seconds, still_s=1.0):
    """Whether the window's pixels stop changing for `still_s` within `seconds`: playback ended."""
    state = {"pixels": xwin.grab(window), "since": time.monotonic()}

    def still():
        now = xwin.grab(window)
        if now != state["pixels"]:
            state["pixels"], state["since"] = now, time.monotonic()
        return now is not None and time.monotonic() - state["since"] >= still_s

    return bool(wait_for(seconds, still, step=0.2))


def shows_red(xwin, window):
    """Whether most of the picture area is the pure red the still images hold."""
    pixels = xwin.grab(window)
    if not pixels:
        return False
    _, _, data = pixels  # B, G, R, X
    red = sum(1 for b, g, r in zip(data[0::4], data[1::4], data[2::4]) if r > 200 and g < 40 and b < 40)
    return red >= 160 * 120 // 2


def ended_check(player):
    """Raises unless the player ended as it should: status 1, no sanitizer report."""
    log = player.log()
    for mark in SANITIZER_MARKS:
        if mark in log:
            raise Failure("sanitizer report: " + mark.decode())
    if player.process.returncode != 1:
        raise Failure(f"ended with status {player.process.returncode}, not 1")


def close_and_check(xwin, player, main):
    """A close request ends the player within 2 s, cleanly."""
    if not main:
        raise Failure("no main window to close")
    xwin.close_window(main)
    if not wait_for(ANSWER_S, player.ended):
        raise Failure("the close request was not answered within 2 s")
    ended_check(player)


def open_address(player, address):
    """Types `address` into the address dialog (Alt+U) and opens it."""
    main = wait_for(LOCAL_S, lambda: player.window(MAIN_TITLE))
    if not main:
        raise Failure("the main window did not appear")
    player.press(main, "alt+u")
    dialog = wait_for(ANSWER_S, lambda: player.window(ADDRESS_TITLE))
    if not dialog:
        raise Failure("Alt+U did not open the address dialog within 2 s")
    xdotool("windowfocus", "--sync", str(dialog), "type", "--delay", "0", address)
    player.press(dialog, "Return")
    if not wait_for(ANSWER_S, lambda: not player.window(ADDRESS_TITLE)):
        raise Failure("Enter did not close the address dialog within 2 s")


def expect_message(xwin, player, target, asked, limit):
    box = wait_for(max(0.0, asked + limit - time.monotonic()), lambda: player.window(BOX_TITLE) or player.ended())
    if player.ended():
        ended_check(player)
        raise Failure("the player ended instead of showing its message")
    if not box:
        raise Failure(f"no message box within {limit:.0f} s")
    took = time.monotonic() - asked
    if f"cannot open {target}:".encode() not in player.log():
        raise Failure("the box is not the failed open's message (no 'cannot open' in the log)")
    player.press(box, "Return")
    if not wait_for(ANSWER_S, lambda: not player.window(BOX_TITLE)):
        raise Failure("Enter did not dismiss the message box within 2 s")
    close_and_check(xwin, player, wait_for(ANSWER_S, lambda: player.window(MAIN_TITLE)))
    return f"message after {took:.1f} s"


def expect_playback(xwin, player, case, limit):
    expect = case["expect"]
    main = wait_for(limit, lambda: player.window(MAIN_TITLE) or player.window(BOX_TITLE) or player.ended())
    if player.ended():
        ended_check(player)
        raise Failure("the player ended")
    if player.window(BOX_TITLE):
        raise Failure("a message box instead of playback")
    main = player.window(MAIN_TITLE)
    if expect in ("plays", "plays, then stops") and not changes(xwin, main, 3.0):
        raise Failure("the window did not change within 3 s: nothing plays")
    if expect == "plays, then stops":
        # What the file or the connection holds ends playback as an end would: no message.
        if not stands_still(xwin, main, 8.0):
            raise Failure("playback did not stop within 8 s")
        if case.get("log") and case["log"].encode() not in player.log():
            raise Failure(f"no '{case['log']}' in the log: the case did not happen")
    if expect == "shows red" and not wait_for(3.0, lambda: shows_red(xwin, main), step=0.2):
        raise Failure("the still picture is not shown")
    if player.window(BOX_TITLE):
        raise Failure("a message box during playback")
    close_and_check(xwin, player, main)
    return expect


def run_case(context, case):
    """Runs one case; returns what happened, or raises Failure."""
    address, xwin = case.get("address"), context["xwin"]
    target = address or os.path.join(context["media"], case["file"])
    player = Player(context["player"], context["work"], os.path.join(context["tmp"], "player.log"),
                    None if address else target)
    try:
        asked = player.started
        if address:
            open_address(player, address)
            asked = time.monotonic()
        limit = NETWORK_S if address else LOCAL_S
        if case["expect"] == "message":
            return expect_message(xwin, player, target, asked, limit)
        if case["expect"] == "close while waiting":
            # The open waits for the address; the window still answers a close.
            time.sleep(ANSWER_S)
            if player.window(BOX_TITLE) or player.ended():
                raise Failure("the open did not wait")
            close_and_check(xwin, player, player.window(MAIN_TITLE))
            return "closed"
        return expect_playback(xwin, player, case, limit)
    finally:
        player.stop()
        context["log"] = player.log()


CASES = [
    {"label": "missing file", "file": "nothing here.avi", "expect": "message"},
    {"label": "empty file", "file": "empty.avi", "expect": "message"},
    {"label": "random bytes named .avi", "file": "random.avi", "expect": "message"},
    {"label": "random bytes named .mkv", "file": "random.mkv", "expect": "message"},
    {"label": "random bytes named .mp4", "file": "random.mp4", "expect": "message"},
    {"label": "text named .avi", "file": "text.avi", "expect": "message"},
    {"label": "MP4 cut before its index", "file": "no_index.mp4", "expect": "message"},
    {"label": "MP4 cut inside its index", "file": "index_cut.mp4", "expect": "message"},
    {"label": "folder", "file": "folder.avi", "expect": "message"},
    {"label": "MKV cut in half", "file": "half.mkv", "expect": "plays, then stops"},
    {"label": "AVI cut in half", "file": "half.avi", "expect": "plays, then stops"},
    {"label": "PNG named .avi", "file": "png.avi", "expect": "shows red"},
    {"label": "JPEG named .avi", "file": "jpeg.avi", "expect": "shows red"},
    {"label": "sound only", "file": "sound.mp3", "expect": "plays"},
    {"label": "closed port", "address": "http://127.0.0.1:{closed}/clip.mkv", "expect": "message"},
    {"label": "HTTP stalls after the headers", "address": "http://127.0.0.1:{stall}/clip.mkv", "expect": "message"},
    {"label": "HTTP stalls, closed while waiting", "address": "http://127.0.0.1:{stall}/clip.mkv",
     "expect": "close while waiting"},
    {"label": "HTTP closes mid-body", "address": "http://127.0.0.1:{drop}/clip.mkv", "expect": "plays, then stops",
     "log": "error from source"},
    {"label": "HTTP without ranges", "address": "http://127.0.0.1:{norange}/clip.mkv", "expect": "plays"},
    {"label": "rtsp to nothing", "address": "rtsp://127.0.0.1:{closed}/stream", "expect": "message"},
]


def start_xvfb(tmp):
    # -noreset: the server would otherwise reset whenever its last client
    # leaves, between two cases, and refuse the next player meanwhile.
    options = ["-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset"]
    chosen = os.environ.get("VELMO_XVFB_DISPLAY")
    with open(os.path.join(tmp, "xvfb.log"), "wb") as log:
        if chosen:
            xvfb = subprocess.Popen(["Xvfb", f":{chosen}", *options], stderr=log)
            display = chosen
        else:
            read, write = os.pipe()
            xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), *options], stderr=log, pass_fds=(write,))
            os.close(write)
            with os.fdopen(read) as f:
                display = f.readline().strip()
    os.environ["DISPLAY"] = f":{display}"
    if not wait_for(10, lambda: subprocess.run(["xdotool", "getdisplaygeometry"], capture_output=True).returncode == 0):
        raise Failure("Xvfb did not start")
    return xvfb


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    binary, source = os.path.realpath(sys.argv[1]), os.path.realpath(sys.argv[2])
    for tool in ("Xvfb", "xdotool", "gst-launch-1.0", "gst-inspect-1.0"):
        if not shutil.which(tool):
            print(f"SKIP: {tool} is not installed (scripts/deps.sh installs it)")
            return 77
    for element in ELEMENTS:
        if subprocess.run(["gst-inspect-1.0", "--exists", element]).returncode != 0:
            print(f"SKIP: the GStreamer element {element} is not installed (scripts/deps.sh installs it)")
            return 77
    sys.path.insert(0, os.path.join(source, "tools"))
    import xwin

    tmp = tempfile.mkdtemp(prefix="velmo-broken-")
    xvfb, servers = None, {}
    try:
        media = os.path.join(tmp, "media")
        work = os.path.join(tmp, "work")
        os.makedirs(media)
        os.makedirs(os.path.join(work, "skin"))
        shutil.copytree(os.path.join(source, "skin/default"), os.path.join(work, "skin/default"))
        shutil.copy(os.path.join(source, "resources/velmo_init.ini"), work)
        os.makedirs(os.path.join(tmp, "runtime"), mode=0o700)
        make_media(media)

        xvfb = start_xvfb(tmp)
        os.environ.update(QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=os.path.join(tmp, "runtime"))
        ports = {"closed": closed_port()}
        for mode in ("stall", "drop", "norange"):
            servers[mode] = Server(source, media, mode)
            ports[mode] = servers[mode].port
        context = {"player": binary, "work": work, "media": media, "tmp": tmp, "xwin": xwin}

        failed = []
        for case in CASES:
            if "address" in case:
                case = dict(case, address=case["address"].format(**ports))
            began = time.monotonic()
            try:
                outcome = run_case(context, case)
                print(f"ok   {case['label']}: {outcome} ({time.monotonic() - began:.1f} s)", flush=True)
            except Failure as failure:
                failed.append(case["label"])
                print(f"FAIL {case['label']}: {failure}", flush=True)
                sys.stdout.write(context.get("log", b"").decode(errors="replace")[-4000:])
        if failed:
            print(f"{len(failed)} of {len(CASES)} cases failed: {', '.join(failed)}")
            return 1
        print(f"all {len(CASES)} cases answered")
        return 0
    finally:
        for server in servers.values():
            server.close()
        if xvfb:
            xvfb.terminate()
            xvfb.wait()
        shutil.rmtree(tmp, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
