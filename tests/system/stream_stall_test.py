#!/usr/bin/env python3
"""The real player under its own Xvfb, playing addresses whose server stops
sending in mid-play: for good (the player must tell that the connection is
lost and stop within the stall time and some slack; Space then goes on from
where it stood, to the end), and for 5 s (playback goes on to the end as if
nothing happened).

  stream_stall_test.py PLAYER SOURCE-FOLDER
Exits 77, saying why, when Xvfb, xdotool or a GStreamer element is missing.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import broken_inputs_test as real  # noqa: E402

STALL_S = 10.0  # the player's stall time
CLIP_S = 8.0
LOST = b"the connection is lost"
ENDED = b"played to its end"

# Eight seconds; the stall comes a third of the way in.
CLIP = (f"matroskamux name=m ! filesink location=clip.mkv videotestsrc num-buffers={int(CLIP_S * 25)} "
        "! video/x-raw,width=160,height=120,framerate=25/1 ! videoconvert ! video/x-raw,format=I420 "
        "! x264enc speed-preset=ultrafast ! queue ! m. "
        f"audiotestsrc num-buffers={int(CLIP_S * 44100 / 1024)} ! audio/x-raw,rate=44100 ! audioconvert "
        "! lamemp3enc ! queue ! m.")


def server(source, media, stall_for):
    size = os.path.getsize(os.path.join(media, "clip.mkv"))
    process = subprocess.Popen(
        [sys.executable, os.path.join(source, "tests/fixtures/range_server.py"), media, "--mode", "range",
         "--stall-after", str(size // 3), "--stall-for", str(stall_for), "--limit", "120"],
        stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
    port = int(process.stdout.readline())
    return process, f"http://127.0.0.1:{port}/clip.mkv"


def in_log(player, text, seconds):
    return real.wait_for(seconds, lambda: text in player.log() or player.ended(), step=0.2) and text in player.log()


def stalls_for_good(context, player, opened):
    if not in_log(player, LOST, CLIP_S + STALL_S + 5.0):
        raise real.Failure(f"no lost connection told within {CLIP_S + STALL_S + 5.0:.0f} s")
    took = time.monotonic() - opened
    if player.window(real.BOX_TITLE):
        raise real.Failure("a message box instead of the word over the picture")
    main = player.window(real.MAIN_TITLE)
    if not real.stands_still(context["xwin"], main, 8.0, still_s=2.0):
        raise real.Failure("the picture did not stop after the lost connection")
    context["server"].stdin.write("release\n")
    context["server"].stdin.flush()
    player.press(main, "space")
    if not in_log(player, b"goes on at", real.ANSWER_S):
        raise real.Failure("Space did not go on from where the stream stood")
    if not in_log(player, ENDED, CLIP_S + 5.0):
        raise real.Failure("playback did not reach the end after going on")
    return f"lost after {took:.1f} s, went on to the end"


def stalls_for_a_while(context, player, opened):
    if not in_log(player, ENDED, CLIP_S + 5.0 + 10.0):
        raise real.Failure("playback did not reach the end")
    if LOST in player.log():
        raise real.Failure("a lost connection was told for a 5 s pause")
    return f"reached the end after {time.monotonic() - opened:.1f} s"


CASES = [
    {"label": "server stops sending for good", "stall_for": -1, "check": stalls_for_good},
    {"label": "server pauses 5 s, then sends the rest", "stall_for": 5, "check": stalls_for_a_while},
]


def run_case(context, case):
    process, address = server(context["source"], context["media"], case["stall_for"])
    context["server"] = process
    player = real.Player(context["player"], context["work"], os.path.join(context["tmp"], "player.log"), None)
    try:
        real.open_address(player, address)
        outcome = case["check"](context, player, time.monotonic())
        real.close_and_check(context["xwin"], player, player.window(real.MAIN_TITLE))
        return outcome
    finally:
        player.stop()
        context["log"] = player.log()
        process.stdin.close()
        process.wait(10)


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

    tmp = tempfile.mkdtemp(prefix="velmo-stall-")
    xvfb = None
    try:
        media, work = os.path.join(tmp, "media"), os.path.join(tmp, "work")
        os.makedirs(media)
        os.makedirs(os.path.join(work, "skin"))
        shutil.copytree(os.path.join(source, "skin/default"), os.path.join(work, "skin/default"))
        shutil.copy(os.path.join(source, "resources/velmo_init.ini"), work)
        os.makedirs(os.path.join(tmp, "runtime"), mode=0o700)
        subprocess.run(["gst-launch-1.0", "-q", *CLIP.split()], cwd=media, check=True, stdout=subprocess.DEVNULL)

        xvfb = real.start_xvfb(tmp)
        os.environ.update(QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=os.path.join(tmp, "runtime"),
                          QT_LOGGING_RULES="velmo.engine.gst.info=true")
        context = {"player": binary, "source": source, "work": work, "media": media, "tmp": tmp, "xwin": xwin}
        failed = []
        for case in CASES:
            began = time.monotonic()
            try:
                outcome = run_case(context, case)
                print(f"ok   {case['label']}: {outcome} ({time.monotonic() - began:.1f} s)", flush=True)
            except real.Failure as failure:
                failed.append(case["label"])
                print(f"FAIL {case['label']}: {failure}", flush=True)
                sys.stdout.write(context.get("log", b"").decode(errors="replace")[-4000:])
        return 1 if failed else 0
    finally:
        if xvfb:
            xvfb.terminate()
            xvfb.wait()
        shutil.rmtree(tmp, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
