#!/usr/bin/env python3
"""The real player under its own Xvfb, stepped through a folder of two clips
by the control panel's previous and next buttons, clicked where the shipped
skin puts them: next opens the second clip, next again at the folder's end
opens nothing and says so over the picture, previous opens the first again.

The clips are one colour each (red, then blue), so the picture says which is
open; the player's log (velmo.player) lists every open begun, in order.

  folder_buttons_test.py PLAYER SOURCE-FOLDER
Exits 77, saying why, when Xvfb, xdotool or a GStreamer element is missing.
"""
import configparser
import os
import shutil
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import broken_inputs_test as real  # noqa: E402

WIDTH, HEIGHT = 320, 240  # wide enough for every button of the panel
ELEMENTS = ("videotestsrc", "x264enc", "matroskamux")
CLIPS = {"a.mkv": "red", "b.mkv": "blue"}


def make_clip(folder, name, pattern):
    # Ten seconds at 5 frames a second: longer than the test, cheap to make.
    pipeline = (f"videotestsrc num-buffers=50 pattern={pattern} ! video/x-raw,width={WIDTH},height={HEIGHT},"
                f"framerate=5/1 ! videoconvert ! x264enc speed-preset=ultrafast ! matroskamux "
                f"! filesink location={name}")
    subprocess.run(["gst-launch-1.0", "-q", *pipeline.split()], cwd=folder, check=True, stdout=subprocess.DEVNULL)


def bitmap_size(path):
    with open(path, "rb") as f:
        header = f.read(26)
    width, height = struct.unpack("<ii", header[18:26])
    return width, abs(height)


class Skin:
    """Where the control panel's buttons stand, from the shipped skin: the
    panel lies along the window's bottom edge, as tall as its picture, and a
    button's picture holds its three states side by side."""

    def __init__(self, folder):
        self.folder = folder
        self.ini = configparser.ConfigParser()
        self.ini.read(os.path.join(folder, "skin.ini"))
        self.panel_height = bitmap_size(os.path.join(folder, "controlpanel.bmp"))[1]
        self.top_height = bitmap_size(os.path.join(folder, "toppanel.bmp"))[1]

    def button_centre(self, section, picture, window_height):
        width, height = bitmap_size(os.path.join(self.folder, picture))
        x = self.ini.getint(section, "PositionX") + width // 6
        y = window_height - self.panel_height + self.ini.getint(section, "PositionY") + height // 2
        return x, y


def picture_area(xwin, window, skin):
    """The pixels between the title bar and the control panel (B, G, R, X), or None."""
    pixels = xwin.grab(window)
    if not pixels:
        return None
    width, height, data = pixels
    return data[skin.top_height * width * 4:(height - skin.panel_height) * width * 4]


def picture_colour(xwin, window, skin):
    """'red' or 'blue' when most of the picture area is that colour, else None."""
    area = picture_area(xwin, window, skin) or b""
    counts = {"red": 0, "blue": 0}
    for b, g, r in zip(area[0::4], area[1::4], area[2::4]):
        if r > 200 and g < 60 and b < 60:
            counts["red"] += 1
        elif b > 200 and g < 60 and r < 60:
            counts["blue"] += 1
    colour = max(counts, key=counts.get)
    return colour if counts[colour] >= WIDTH * HEIGHT // 2 else None


def opens_begun(player, media):
    """The names of the media whose open was begun, in order, as the log lists them."""
    mark = b"opening " + media.encode() + b"/"
    return [line.split(mark, 1)[1].decode() for line in player.log().splitlines() if mark in line]


def click(window, x, y):
    real.xdotool("mousemove", "--window", str(window), str(x), str(y), "click", "1")


def run(context):
    xwin, skin, media = context["xwin"], context["skin"], context["media"]
    player = real.Player(context["player"], context["work"], os.path.join(context["tmp"], "player.log"),
                         os.path.join(media, "a.mkv"))
    try:
        main = real.wait_for(real.LOCAL_S, lambda: player.window(real.MAIN_TITLE) or player.ended())
        if player.ended() or not main:
            raise real.Failure("the player ended or showed no window")

        def shows(colour):
            return lambda: picture_colour(xwin, main, skin) == colour

        if not real.wait_for(real.LOCAL_S, shows("red")):
            raise real.Failure("the first clip is not shown")
        height = xwin.grab(main)[1]
        next_at = skin.button_centre("Next", "next.bmp", height)
        prev_at = skin.button_centre("Prev", "prev.bmp", height)

        click(main, *next_at)
        if not real.wait_for(real.LOCAL_S, shows("blue")):
            raise real.Failure("next did not show the second clip")

        # At the folder's end the picture stays and a message is drawn over it.
        before = picture_area(xwin, main, skin)
        click(main, *next_at)
        if not real.wait_for(real.ANSWER_S, lambda: picture_area(xwin, main, skin) not in (before, None)):
            raise real.Failure("next at the folder's end drew no message over the picture")
        if picture_colour(xwin, main, skin) != "blue":
            raise real.Failure("next at the folder's end changed the picture")

        click(main, *prev_at)
        if not real.wait_for(real.LOCAL_S, shows("red")):
            raise real.Failure("previous did not show the first clip")
        # Every open begun is in the log, in order: one for the second next would stand before the last.
        opened = opens_begun(player, media)
        if opened != ["a.mkv", "b.mkv", "a.mkv"]:
            raise real.Failure(f"the opens begun were {opened}, not a, b, a")
        real.close_and_check(xwin, player, main)
    finally:
        player.stop()
        context["log"] = player.log()


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

    tmp = tempfile.mkdtemp(prefix="velmo-folder-")
    xvfb = None
    context = {"player": binary, "tmp": tmp, "xwin": xwin}
    try:
        context["media"] = media = os.path.join(tmp, "media")
        context["work"] = work = os.path.join(tmp, "work")
        os.makedirs(media)
        os.makedirs(os.path.join(work, "skin"))
        shutil.copytree(os.path.join(source, "skin/default"), os.path.join(work, "skin/default"))
        shutil.copy(os.path.join(source, "resources/velmo_init.ini"), work)
        os.makedirs(os.path.join(tmp, "runtime"), mode=0o700)
        for name, pattern in CLIPS.items():
            make_clip(media, name, pattern)
        context["skin"] = Skin(os.path.join(work, "skin/default"))

        xvfb = real.start_xvfb(tmp)
        os.environ.update(QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=os.path.join(tmp, "runtime"),
                          QT_LOGGING_RULES="velmo.player=true")
        run(context)
        print("ok   next, next at the end, previous")
        return 0
    except real.Failure as failure:
        print(f"FAIL {failure}")
        sys.stdout.write(context.get("log", b"").decode(errors="replace")[-4000:])
        return 1
    finally:
        if xvfb:
            xvfb.terminate()
            xvfb.wait()
        shutil.rmtree(tmp, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
