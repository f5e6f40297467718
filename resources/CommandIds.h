#pragma once

// Command ids and private message numbers of the player. Every action ends in
// MainWindow's dispatch as one of these ids, whatever raised it.

namespace velmo {

enum CommandId : int {
    IDM_ABOUTBOX = 16,

    ID_FILE_OPEN = 57601,
    ID_HELP = 57670,
    ID_OPEN_ADDRESS = 32803,
    ID_OPEN_SUBTITLE = 32776,
    ID_CLOSE_MEDIA = 32795,
    ID_PLAY_PAUSE = 32788,
    ID_STOP = 32789,
    ID_FORWARD_5S = 32790,
    ID_BACK_5S = 32791,
    ID_FORWARD_30S = 32792,
    ID_BACK_30S = 32793,
    ID_JUMP_START = 32785,
    ID_JUMP_MIDDLE = 32786,
    ID_JUMP_END = 32787,
    ID_RATE_SLOW = 32794,
    ID_RATE_NORMAL = 32800,
    ID_RATE_FAST = 32801,
    ID_REPEAT = 32802,
    ID_SUBTITLE_SHOW = 32824,
    ID_SUBTITLE_UP = 32783,
    ID_SUBTITLE_DOWN = 32784,
    ID_SUBTITLE_BOLD = 32827,
    ID_OUTLINE = 32837,
    ID_OUTLINE_DEEP = 32815,
    ID_SHADOW = 32836,
    ID_SHADOW_DEEP = 32814,
    ID_FONT_BIGGER = 32818,
    ID_FONT_SMALLER = 32820,
    ID_MUTE = 32797,
    ID_VOLUME_UP = 32798,
    ID_VOLUME_DOWN = 32799,
    ID_FULL_SCREEN = 32777,
    ID_FILLED_SCREEN = 32775,
    ID_SIZE_HALF = 32781,
    ID_SIZE_NORMAL = 32779,
    ID_SIZE_ONE_HALF = 32807,
    ID_SIZE_DOUBLE = 32780,
    ID_HIDE = 32778,
    ID_SUBTITLE_SETTINGS = 32782,
    ID_ABOUT = 32796,
    ID_EXIT = 32774,
    ID_FILTER_FIRST = 32860,
    ID_FILTER_LAST = 32875,

    // Commands of our own, beyond menu 133: numbered apart from its ids.
    ID_CAPTION_EARLIER = 33001,
    ID_CAPTION_LATER = 33002,
    ID_CAPTION_SYNC_RESET = 33003,
    /// The languages of the caption file, in its order; the last entry
    /// listed shows them all.
    ID_CAPTION_LANGUAGE_FIRST = 33010,
    ID_CAPTION_LANGUAGE_LAST = 33019,
    /// The media opened last, newest first (the "최근 파일" submenu).
    ID_RECENT_FIRST = 33100,
    ID_RECENT_LAST = 33109,
    ID_RECENT_CLEAR = 33110,
    // Caption markup.
    ID_CAPTION_MARKUP = 33004,
    /// ASS and SSA drawn as typeset, or plainly in the caption style.
    ID_ASS_STYLED = 33005,
    /// The caption files' encoding ("자막 인코딩"), in the order of kCaptionEncodings.
    ID_CAPTION_ENCODING_AUTO = 33020,
    ID_CAPTION_ENCODING_UTF8 = 33021,
    ID_CAPTION_ENCODING_CP949 = 33022,
    ID_CAPTION_ENCODING_WINDOWS1252 = 33023,
    ID_CAPTION_ENCODING_SHIFT_JIS = 33024,
    ID_CAPTION_ENCODING_GB18030 = 33025,
    ID_CAPTION_ENCODING_BIG5 = 33026,
    ID_CAPTION_ENCODING_UTF16 = 33027,

    // The folder as a playlist, speed, A-B repeat, frame steps and the screenshot.
    ID_NEXT_FILE = 33200,
    ID_PREV_FILE = 33201,
    ID_CONTINUOUS_PLAY = 33202,
    ID_SPEED_UP = 33203,
    ID_SPEED_DOWN = 33204,
    ID_SPEED_RESET = 33205,
    ID_AB_REPEAT = 33206,
    ID_FRAME_NEXT = 33207,
    ID_FRAME_PREV = 33208,
    ID_SCREENSHOT = 33209,

    // The playlist: its window, what adds to it and what it is saved as,
    // and its order ("모두 반복", "무작위", "다 보면").
    ID_PLAYLIST = 33220,
    ID_PLAYLIST_ADD_FILES = 33221,
    ID_PLAYLIST_ADD_FOLDER = 33222,
    ID_PLAYLIST_SAVE = 33223,
    ID_PLAYLIST_CLEAR = 33224,
    ID_PLAYLIST_REPEAT_ALL = 33225,
    ID_PLAYLIST_SHUFFLE = 33226,
    ID_PLAYLIST_END_STOP = 33227,
    ID_PLAYLIST_END_RESTART = 33228,
    ID_PLAYLIST_END_QUIT = 33229,

    // The medium's tracks: the keys that go round them, and the entries of
    // the "음성" and "자막 트랙" submenus, filled when the menu shows.
    ID_AUDIO_TRACK_CYCLE = 33600,
    ID_SUBTITLE_TRACK_CYCLE = 33601,
    ID_AUDIO_TRACK_FIRST = 33610,
    ID_AUDIO_TRACK_LAST = 33709,
    ID_SUBTITLE_TRACK_FIRST = 33710,
    ID_SUBTITLE_TRACK_LAST = 33809,
    ID_SUBTITLE_TRACK_FILE = 33810, ///< the caption file beside the medium
    ID_SUBTITLE_TRACK_NONE = 33811, ///< "자막 없음"
    // The sound's sync and output, and the chapters.
    ID_SOUND_EARLIER = 33400,
    ID_SOUND_LATER = 33401,
    ID_SOUND_EARLIER_MORE = 33402,
    ID_SOUND_LATER_MORE = 33403,
    ID_CHAPTER_NEXT = 33404,
    ID_CHAPTER_PREV = 33405,
    /// The sound outputs of the "음성" submenu, the default first.
    ID_SOUND_OUTPUT_FIRST = 33410,
    ID_SOUND_OUTPUT_LAST = 33441,
    /// The chapters the "챕터" submenu lists (at most kChapterMenuLimit).
    ID_CHAPTER_FIRST = 33450,
    ID_CHAPTER_LAST = 33549,
};

/// Private messages of the main window (offsets kept from the window-message numbering).
enum PrivateMessage : int {
    WM_USER = 0x0400,
    WM_MEDIA_EVENT = WM_USER + 1,
    WM_PLAYER_VOLUME = WM_USER + 3,
    WM_PLAYER_SUBTITLE_CHANGED = WM_USER + 4,
};

} // namespace velmo
