# Sourced by compare.sh: VLC and SMPlayer as players, and the rows of seeks,
# timeline drags and the start. Uses compare.sh's run, row, median, start_x,
# $work, $home, $velmo, $watch and $fixtures.

# VLC will not run as root: it runs as an ordinary user of its own, on copies
# of the clips it can read (Xvfb is started without access control).
peer_user=velmobench
peers="$(mktemp -d)"
chmod 755 "$peers"
id "$peer_user" >/dev/null 2>&1 || useradd --create-home --shell /usr/sbin/nologin "$peer_user"
for clip in cmp360.avi cmp720.mp4; do install -m 644 "$fixtures/$clip" "$peers/$clip"; done
# SMPlayer reads its settings from $HOME: X11 output and no sound for the
# mpv it starts. With no settings file it would not close at the end.
mkdir -p "$peers/smplayer/.config/smplayer"
printf '[%%General]\ndriver\\vo=x11\ndriver\\audio_output=null\n' >"$peers/smplayer/.config/smplayer/smplayer.ini"
vlc_x11() { # CLIP
    runuser -u "$peer_user" -- cvlc --quiet --vout=xcb_x11 --aout=adummy --no-video-title-show --play-and-exit "$1"
}
smplayer_x11() { # CLIP
    HOME="$peers/smplayer" smplayer -close-at-end "$1"
}
export -f vlc_x11 smplayer_x11
export peer_user peers

# tree_sample PID: "resident_kib cpu_ticks" summed over PID's descendants,
# read from /proc/*/stat in one pass.
tree_sample() {
    awk -v root="$1" -v page="$(getconf PAGESIZE)" 'FNR == 1 {
            line = $0; sub(/^[^ ]+ /, "", line); sub(/^.*\) /, "", line); split(line, f, " ")
            pid = FILENAME; gsub(/[^0-9]/, "", pid); parent[pid] = f[2]; rss[pid] = f[22]; ticks[pid] = f[12] + f[13]
        }
        END {
            inside[root] = 1
            for (changed = 1; changed;) { changed = 0; for (p in parent) if (!(p in inside) && (parent[p] in inside)) { inside[p] = 1; changed = 1 } }
            for (p in inside) if (p != root) { kib += rss[p] * page / 1024; t += ticks[p] }
            printf "%d %d\n", kib, t
        }' /proc/[0-9]*/stat 2>/dev/null
}

# run_tree NAME COMMAND...: like run, but the peak memory is the largest sum
# of the resident sets of the whole process tree, sampled every 100 ms. The
# CPU is still /usr/bin/time's, which counts the children it waited for;
# NAME.cpu_check gets it beside the largest CPU of the tree seen in /proc.
run_tree() {
    local name="$1"; shift
    local before after pid peak=0 cpu=0 kib ticks
    before=$(x_ticks)
    /usr/bin/time -f "%U %S %M" -o "$work/time" "$@" >/dev/null 2>&1 &
    pid=$!
    while kill -0 "$pid" 2>/dev/null; do
        read -r kib ticks < <(tree_sample "$pid")
        [ "${kib:-0}" -le "$peak" ] || peak=$kib
        [ "${ticks:-0}" -le "$cpu" ] || cpu=$ticks
        sleep 0.1
    done
    wait "$pid" || true
    after=$(x_ticks)
    tail -1 "$work/time" | awk -v x=$((after - before)) -v t="$tick_s" -v peak="$peak" \
        '{ printf "%.3f %d\n", $1 + $2 + x / t, peak }' >>"$work/$name"
    tail -1 "$work/time" | awk -v proc="$cpu" -v t="$tick_s" '{ printf "%.3f %.3f\n", $1 + $2, proc / t }' \
        >>"$work/$name.cpu_check"
}

# The seek clips at their own size, each player paused after 1.5 s of play;
# the watcher prints "key=KEY seek_ms=MS" per key.
seek_rows() {
    local gop clip
    for _ in $(seq "$pairs"); do
        for gop in 2 10; do
            clip="$fixtures/seek1080_k$gop.mp4"
            ! only "seek_v_k$gop" || (cd "$home" && "$watch" --seek Right Right ctrl+Right End -- "$velmo" "$clip") \
                >>"$work/seek.v.k$gop" || true
            ! only "seek_g_k$gop" || "$watch" --seek --pty Right Right Right -- gst-play-1.0 \
                --videosink "videoconvert ! ximagesink" --audiosink "fakesink sync=true" "$clip" \
                >>"$work/seek.g.k$gop" || true
            ! only "seek_m_k$gop" || "$watch" --seek Right Right Up -- mpv --really-quiet --no-config --vo=x11 \
                --ao=null --keep-open=yes "$clip" >>"$work/seek.m.k$gop" || true
        done
    done
}
seek_ms() { # PLAYER GOP KEY: median of that key's seeks
    [ -f "$work/seek.$1.k$2" ] || { echo "-"; return; }
    grep "^key=$3 " "$work/seek.$1.k$2" | sed 's/.*seek_ms=//' | grep -v none | median
}

# Where Velmo's timeline is: the control panel's height, the track's height
# and the thumb's width from the skin's pictures, the rest from skin.ini.
bmp_size() { # FILE OFFSET: the width (18) or height (22) of a BMP
    od -An -t d4 -j "$2" -N 4 "$1" | tr -d ' -'
}
timeline_value() { # KEY
    awk -F= -v key="$1" '/^\[/ { inside = ($0 ~ /^\[Timeline\]/) } inside && $1 == key { print $2 + 0 }' \
        "$root/skin/default/skin.ini"
}
timeline_drag() { # the watcher's --drag points, relative to the window
    local skin="$root/skin/default" panel track thumb x y blank
    panel=$(bmp_size "$skin/controlpanel.bmp" 22)
    track=$(bmp_size "$skin/mainslider.bmp" 22)
    thumb=$(bmp_size "$skin/mainslider_ball.bmp" 18)
    x=$(timeline_value PositionX) y=$(timeline_value PositionY) blank=$(timeline_value Blank)
    local row=$((-(panel - y - track / 2)))
    echo "$((x + thumb / 2)),$row:$((-(blank - x + thumb / 2))),$row"
}
drag_rows() {
    local gop clip points
    points=$(timeline_drag)
    for _ in $(seq "$pairs"); do
        for gop in 2 10; do
            clip="$fixtures/seek1080_k$gop.mp4"
            ! only "drag_v_k$gop" || (cd "$home" && "$watch" --drag "$points" -- "$velmo" "$clip") \
                | sed 's/.*drag_fps=//' >>"$work/drag.v.k$gop" || true
        done
    done
}

start_rows() {
    for _ in $(seq "$pairs"); do
        ! only start_v || (cd "$home" && "$watch" --start -- "$velmo") | sed -n 's/^start_ms=//p' >>"$work/start.v" || true
        ! only start_m || "$watch" --start -- mpv --really-quiet --no-config --idle --force-window \
            | sed -n 's/^start_ms=//p' >>"$work/start.m" || true
    done
}
of() { [ -f "$work/$1" ] && grep -v none "$work/$1" | median || echo "-"; }

print_second_table() {
    echo
    echo "| seek, drag, start (keyframes every 2 s / 10 s) | velmo | gst-play-1.0 | mpv --vo=x11 |"
    echo "|---|---|---|---|"
    echo "| seek ms, +5 s key (gst-play: →, +8 % of 45 s) | $(seek_ms v 2 Right) / $(seek_ms v 10 Right) |" \
        "$(seek_ms g 2 Right) / $(seek_ms g 10 Right) | $(seek_ms m 2 Right) / $(seek_ms m 10 Right) |"
    echo "| seek ms, +30 s key (mpv: Up, +60 s) | $(seek_ms v 2 ctrl+Right) / $(seek_ms v 10 ctrl+Right) | - |" \
        "$(seek_ms m 2 Up) / $(seek_ms m 10 Up) |"
    echo "| seek ms, End (5 s before the end) | $(seek_ms v 2 End) / $(seek_ms v 10 End) | - | - |"
    echo "| timeline drag, pictures a second | $(of drag.v.k2) / $(of drag.v.k10) | - | - |"
    echo "| start ms, no medium (mpv --idle --force-window) | $(of start.v) | - | $(of start.m) |"
}
