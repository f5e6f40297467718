#!/usr/bin/env python3
"""The real player under its own Xvfb, given hostile input at its newer doors:
companion .srt files that are damaged in every way, a file whose name is not
UTF-8 and a folder of 5000 files as the playlist, and screenshots into a
folder that cannot be written. Each case ends in playback or in the codec
message, never in a crash, a sanitizer report or a window that leaves a close
request unanswered for 2 s.

  hostile_inputs_test.py PLAYER SOURCE-FOLDER
Exits 77, saying why, when Xvfb, xdotool or a GStreamer element is missing.
"""
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import broken_inputs_test as real  # noqa: E402

CUE = b"1\r\n00:00:00,500 --> 00:00:05,000\r\n"
SRT = {
    "one line of 1 MB": CUE + "가나다 ".encode() * ((1 << 20) // 10),
    "timings going backwards": b"".join(
        b"%d\n00:00:%02d,000 --> 00:00:%02d,500\nback %d\n\n" % (i, 9 - i, 9 - i, i) for i in range(9)),
    "arrows with no times": b"1\n-->\nnothing\n\n2\n --> \n\n3\n00:00:01,000 -->\nhalf\n\n",
    "a ten-hour timestamp": b"1\n10:00:00,000 --> 10:00:05,000\nlate\n\n2\n00:00:00,000 --> 99:59:59,999\nlong\n\n",
    "NUL bytes": b"1\n00:00:00,\x00000 --> 00:00:05,000\nN\x00U\x00L\n\x00\x00\x00\n\n" + b"\x00" * 4096,
}
NOISE = random.Random(27).randbytes(65536)


def srt_case(label, data):
    def setup(folder):
        shutil.copy(os.path.join(folder, "..", "clip.mkv"), os.path.join(folder, "clip.mkv"))
        with open(os.path.join(folder, "clip.srt"), "wb") as f:
            f.write(data)
        return os.path.join(folder, "clip.mkv"), None
    return {"label": f".srt: {label}", "setup": setup, "expect": "plays"}


def undecodable_name(folder):
    shutil.copy(os.path.join(folder, "..", "clip.mkv"), os.path.join(folder, "a.mkv"))
    name = os.path.join(folder.encode(), b"b \xff\xfe\xc0.avi")
    with open(name, "wb") as f:
        f.write(NOISE)
    # The log shows the name's undecodable bytes as it can: what comes before them identifies it.
    return os.path.join(folder, "a.mkv"), os.path.join(folder.encode(), b"b ")


def five_thousand(folder):
    for i in range(5000):
        open(os.path.join(folder, f"{i:04d}.avi"), "wb").close()
    shutil.copy(os.path.join(folder, "..", "clip.mkv"), os.path.join(folder, "2500.mkv"))
    with open(os.path.join(folder, "2501.avi"), "wb") as f:
        f.write(NOISE)
    return os.path.join(folder, "2500.mkv"), os.path.join(folder, "2501.avi:").encode()


def unwritable_pictures(folder):
    shutil.copy(os.path.join(folder, "..", "clip.mkv"), os.path.join(folder, "clip.mkv"))
    blocker = os.path.join(folder, "pictures")
    with open(blocker, "w") as f:
        f.write("a file where the pictures folder should be")
    return os.path.join(folder, "clip.mkv"), {"XDG_PICTURES_DIR": blocker}


CASES = [srt_case(label, data) for label, data in SRT.items()] + [
    {"label": "next file named with bytes that are not UTF-8", "setup": undecodable_name, "expect": "next message"},
    {"label": "next file in a folder of 5000", "setup": five_thousand, "expect": "next message"},
    {"label": "screenshot into a folder that cannot be written", "setup": unwritable_pictures,
     "expect": "screenshot"},
]


def run_case(context, case, folder):
    path, extra = case["setup"](folder)
    env = extra if isinstance(extra, dict) else {}
    saved = {key: os.environ.get(key) for key in env}
    os.environ.update(env)
    player = real.Player(context["player"], context["work"], os.path.join(context["tmp"], "player.log"), path)
    try:
        xwin = context["xwin"]
        main = real.wait_for(real.LOCAL_S, lambda: player.window(real.MAIN_TITLE) or player.ended())
        if player.ended() or not main:
            raise real.Failure("the player ended or showed no window")
        if player.window(real.BOX_TITLE):
            raise real.Failure("a message box instead of playback")
        if not real.changes(xwin, main, 3.0):
            raise real.Failure("the window did not change within 3 s: nothing plays")
        if case["expect"] == "next message":
            player.press(main, "ctrl+Next")
            box = real.wait_for(real.LOCAL_S, lambda: player.window(real.BOX_TITLE) or player.ended())
            if player.ended() or not box:
                raise real.Failure("no codec message for the next file")
            if b"cannot open " + extra not in player.log():
                raise real.Failure("the message is not for the expected next file")
            player.press(box, "Return")
            if not real.wait_for(real.ANSWER_S, lambda: not player.window(real.BOX_TITLE)):
                raise real.Failure("Enter did not dismiss the message box within 2 s")
        if case["expect"] == "screenshot":
            player.press(main, "p")
            time.sleep(0.5)
            if player.window(real.BOX_TITLE) or player.ended():
                raise real.Failure("the failed screenshot was more than a message over the picture")
            if not real.changes(xwin, main, 3.0):
                raise real.Failure("playback stopped after the failed screenshot")
        real.close_and_check(xwin, player, player.window(real.MAIN_TITLE))
        return "answered"
    finally:
        player.stop()
        context["log"] = player.log()
        for key, value in saved.items():
            if value is None:
                os.environ.pop(key, None)
            else:
                os.environ[key] = value


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    binary, source = os.path.realpath(sys.argv[1]), os.path.realpath(sys.argv[2])
    for tool in ("Xvfb", "xdotool", "gst-launch-1.0", "gst-inspect-1.0"):
        if not shutil.which(tool):
            print(f"SKIP: {tool} is not installed (scripts/deps.sh installs it)")
            return 77
    for element in ("videotestsrc", "audiotestsrc", "x264enc", "lamemp3enc", "matroskamux"):
        if subprocess.run(["gst-inspect-1.0", "--exists", element]).returncode != 0:
            print(f"SKIP: the GStreamer element {element} is not installed (scripts/deps.sh installs it)")
            return 77
    sys.path.insert(0, os.path.join(source, "tools"))
    import xwin

    tmp = tempfile.mkdtemp(prefix="velmo-hostile-")
    xvfb = None
    try:
        media, work = os.path.join(tmp, "media"), os.path.join(tmp, "work")
        os.makedirs(media)
        os.makedirs(os.path.join(work, "skin"))
        shutil.copytree(os.path.join(source, "skin/default"), os.path.join(work, "skin/default"))
        shutil.copy(os.path.join(source, "resources/velmo_init.ini"), work)
        os.makedirs(os.path.join(tmp, "runtime"), mode=0o700)
        subprocess.run(["gst-launch-1.0", "-q", *real.MEDIA["clip.mkv"].split()], cwd=media, check=True,
                       stdout=subprocess.DEVNULL)

        xvfb = real.start_xvfb(tmp)
        os.environ.update(QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=os.path.join(tmp, "runtime"))
        context = {"player": binary, "work": work, "tmp": tmp, "xwin": xwin}
        failed = []
        for number, case in enumerate(CASES):
            folder = os.path.join(media, f"case{number}")
            os.makedirs(folder)
            began = time.monotonic()
            try:
                outcome = run_case(context, case, folder)
                print(f"ok   {case['label']}: {outcome} ({time.monotonic() - began:.1f} s)", flush=True)
            except real.Failure as failure:
                failed.append(case["label"])
                print(f"FAIL {case['label']}: {failure}", flush=True)
                sys.stdout.write(context.get("log", b"").decode(errors="replace")[-4000:])
            shutil.rmtree(folder, ignore_errors=True)
        return 1 if failed else 0
    finally:
        if xvfb:
            xvfb.terminate()
            xvfb.wait()
        shutil.rmtree(tmp, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
