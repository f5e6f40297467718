// Playlist files as other players write them, read into entries, and the
// files written for them to read.

#include "text/Cp949.h"
#include "text/PlaylistFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmo {
namespace {

std::string Cp949(const char *utf8)
{
    return toCp949(QString::fromUtf8(utf8)).toStdString();
}

PlaylistItem Item(std::string path, std::string title = {}, int64_t durationMs = -1, std::string asWritten = {})
{
    return {std::move(path), std::move(title), durationMs, std::move(asWritten)};
}

TEST(PlaylistFile, M3uLinesBecomeEntries)
{
    struct Case {
        const char *what;
        std::string bytes;
        bool utf8Name;
        std::vector<PlaylistItem> items;
    };
    const std::string cp949Name = Cp949("가나.avi");
    const Case cases[] = {
        {"extended, relative, absolute and an address",
         "#EXTM3U\n#EXTINF:123,First one\nsub/ep1.mkv\n/films/ep2.mkv\n\n# a comment\nhttp://host/a.mp3?x=1\n", true,
         {Item("/lists/sub/ep1.mkv", "First one", 123000), Item("/films/ep2.mkv"), Item("http://host/a.mp3?x=1")}},
        {"Windows line ends and backslashes", "#EXTM3U\r\n#EXTINF:5,A\r\nfolder\\b.avi\r\n..\\up.avi\r\n", false,
         {Item("/lists/folder/b.avi", "A", 5000), Item("/up.avi")}},
        {"a Windows drive stays as written, with our slashes", "C:\\Movies\\a.avi\n", false, {Item("C:/Movies/a.avi")}},
        {"a byte-order mark", "\xEF\xBB\xBF#EXTM3U\n가.mkv\n", false, {Item("/lists/가.mkv")}},
        {"UTF-16 with its mark", std::string("\xFF\xFE" "a\0.\0m\0k\0v\0\n\0", 14), false, {Item("/lists/a.mkv")}},
        {"CP949 in a legacy list keeps the name's own bytes too",
         "#EXTINF:60," + Cp949("노래") + "\r\n" + cp949Name + "\r\n", false,
         {Item("/lists/가나.avi", "노래", 60000, "/lists/" + cp949Name)}},
        {"a .m3u8 is UTF-8 whatever its bytes", "#EXTINF:1," + Cp949("가") + "\n" + cp949Name + "\n", true,
         {Item("/lists/" + cp949Name, "\uFFFD\uFFFD", 1000)}},
        {"file URIs with escapes", "file:///home/a/b%20c.mkv\nfile://localhost/x/%ED%95%9C.mkv\n", false,
         {Item("/home/a/b c.mkv"), Item("/x/한.mkv")}},
        {"attributes with a comma in quotes, fractional and negative seconds",
         "#EXTINF:-1 tvg-name=\"a,b\" group=\"x\",Channel\nrtsp://cam/1\n#EXTINF:1.5,Half\nh.mkv\n", false,
         {Item("rtsp://cam/1", "Channel", -1), Item("/lists/h.mkv", "Half", 1500)}},
        {"an #EXTINF belongs to the next path only", "#EXTINF:9,Nine\na.mkv\nb.mkv\n", false,
         {Item("/lists/a.mkv", "Nine", 9000), Item("/lists/b.mkv")}},
        {"nothing but comments", "#EXTM3U\n#EXTINF:3,x\n", false, {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ReadPlaylist(c.bytes, "/lists", c.utf8Name), c.items) << c.what;
}

TEST(PlaylistFile, PlsEntriesComeInTheOrderOfTheirNumbers)
{
    struct Case {
        const char *what;
        std::string bytes;
        std::vector<PlaylistItem> items;
    };
    const Case cases[] = {
        {"version 2 with titles and lengths",
         "[playlist]\nFile1=a.mp3\nTitle1=A\nLength1=60\nFile2=http://radio/stream\nTitle2=Radio\nLength2=-1\n"
         "NumberOfEntries=2\nVersion=2\n",
         {Item("/lists/a.mp3", "A", 60000), Item("http://radio/stream", "Radio", -1)}},
        {"numbers, not lines, order; keys in any case; Windows line ends",
         "[Playlist]\r\nfile10=ten.mp3\r\nFILE2=two.mp3\r\ntitle10=Ten\r\nFile3=\r\nTitle4=no file\r\n",
         {Item("/lists/two.mp3"), Item("/lists/ten.mp3", "Ten")}},
        {"a CP949 title and name", "[playlist]\nFile1=" + Cp949("가.mp3") + "\nTitle1=" + Cp949("제목") + "\n",
         {Item("/lists/가.mp3", "제목", -1, "/lists/" + Cp949("가.mp3"))}},
        {"damage: bad numbers and lines without '='", "[playlist]\nFile=x\nFilex=y\nFile-1=z\njunk\nFile1=ok.mp3\n",
         {Item("/lists/ok.mp3")}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ReadPlaylist(c.bytes, "/lists", false), c.items) << c.what;
}

TEST(PlaylistFile, WrittenListsReadBackAsTheyWere)
{
    const std::vector<PlaylistItem> items = {
        Item("/lists/sub/ep1.mkv", "", 125400), Item("/elsewhere/b c.avi", "B", -1),
        Item("http://host/live.m3u8", "Live"), Item("/lists/bad\nname.mkv"), Item("/lists/a.mkv", "two\nlines", 0),
    };
    EXPECT_EQ(WritePlaylist(items, PlaylistFormat::M3u8, "/lists"),
              "#EXTM3U\n"
              "#EXTINF:125,ep1.mkv\nsub/ep1.mkv\n"
              "#EXTINF:-1,B\n/elsewhere/b c.avi\n"
              "#EXTINF:-1,Live\nhttp://host/live.m3u8\n"
              "#EXTINF:0,two lines\na.mkv\n");
    EXPECT_EQ(WritePlaylist(items, PlaylistFormat::Pls, "/lists"),
              "[playlist]\n"
              "File1=sub/ep1.mkv\nTitle1=ep1.mkv\nLength1=125\n"
              "File2=/elsewhere/b c.avi\nTitle2=B\nLength2=-1\n"
              "File3=http://host/live.m3u8\nTitle3=Live\nLength3=-1\n"
              "File4=a.mkv\nTitle4=two lines\nLength4=0\n"
              "NumberOfEntries=4\nVersion=2\n");
    // What is written reads back as the same list, in each format and from another folder.
    const std::vector<PlaylistItem> expected = {
        Item("/lists/sub/ep1.mkv", "ep1.mkv", 125000), Item("/elsewhere/b c.avi", "B", -1),
        Item("http://host/live.m3u8", "Live"), Item("/lists/a.mkv", "two lines", 0)};
    for (PlaylistFormat format : {PlaylistFormat::M3u, PlaylistFormat::M3u8, PlaylistFormat::Pls})
        for (const char *folder : {"/lists", "/other"})
            EXPECT_EQ(ReadPlaylist(WritePlaylist(items, format, folder), folder, false), expected)
                << int(format) << " in " << folder;
}

// Names a list line would read otherwise go as file URIs and come back whole.
TEST(PlaylistFile, NamesALineWouldChangeAreWrittenAsFileUris)
{
    const std::vector<PlaylistItem> items = {Item("/lists/#1 a\\b.mkv", "x"), Item("/lists/ lead.mkv", "y"),
                                             Item("/lists/c:d.mkv", "z"), Item("/lists/http:/e", "w")};
    const std::string text = WritePlaylist(items, PlaylistFormat::M3u8, "/lists");
    EXPECT_EQ(text, "#EXTM3U\n#EXTINF:-1,x\nfile:///lists/%231%20a%5Cb.mkv\n#EXTINF:-1,y\nfile:///lists/%20lead.mkv\n"
                    "#EXTINF:-1,z\nfile:///lists/c%3Ad.mkv\n#EXTINF:-1,w\nhttp:/e\n");
    EXPECT_EQ(ReadPlaylist(text, "/lists", true), items);
}

// Inputs the fuzzer found: a list written from what was read, read and
// written again, gives the same text (titles made of names that are not
// UTF-8 or start with a byte-order mark; file URIs with dots and doubled slashes).
TEST(PlaylistFile, WritingWhatWasReadTwiceGivesTheSameText)
{
    const std::pair<std::string, PlaylistFormat> cases[] = {
        {"\xB2\xB0\xA1\xB3\xAA.avi\n#EXTIT\nfile:///x/%nam8=\"\x13\x13", PlaylistFormat::M3u},
        {"\xB0na\r\n=\"a,b\",T\nfile://file://[p\xEF[p\xEF\xBB'la}list\xC6]v\n", PlaylistFormat::M3u},
        {"\xEF\xBB#TUX\xBF" "3MEEXTI:NF:1.5,\xED\x95\x9C\n../up/\xED\x95\x9C.mvies\\a.avi\n", PlaylistFormat::M3u8},
        {"1=jv\x90" "C\nfile://ile://fi\n", PlaylistFormat::M3u8},
        {"[playlist]\nFile1=\xEF\xBB\xBF" "a.mp3\nTit../=A\nLength2\nVersion=2\n", PlaylistFormat::Pls},
        {"[playlist]\nFiLe10=file://\xD1\xD1\xD0/../F:adi=", PlaylistFormat::Pls},
    };
    for (const auto &[bytes, format] : cases) {
        const std::string written = WritePlaylist(ReadPlaylist(bytes, "/lists", format == PlaylistFormat::M3u8), format, "/lists");
        EXPECT_EQ(WritePlaylist(ReadPlaylist(written, "/lists", true), format, "/lists"), written) << bytes;
    }
}

TEST(PlaylistFile, NamesTellTheFormat)
{
    const std::pair<const char *, int> cases[] = {
        {"a.m3u", 0}, {"A.M3U8", 1}, {"x.Pls", 2}, {"m3u", -1}, {"a.m3u.mkv", -1}, {"a.pls8", -1}, {"", -1},
    };
    for (const auto &[name, format] : cases) {
        EXPECT_EQ(IsPlaylistFileName(name), format >= 0) << name;
        if (format >= 0) {
            EXPECT_EQ(int(PlaylistFormatOf(name)), format) << name;
        }
    }
}

} // namespace
} // namespace velmo
