#include "mpris/MprisValues.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace velmo::mpris {
namespace {

TEST(MprisValues, VolumeRoundTripsThroughTheSlider)
{
    struct Case { double volume; int slider; };
    const Case cases[] = {
        {0.0, 0}, {1.0, 100}, {0.5, 50}, {0.004, 0}, {0.005, 1}, {0.996, 100},
        {-0.3, 0}, {1.7, 100}, {std::nan(""), 0}, {std::numeric_limits<double>::infinity(), 100},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SliderFromVolume(c.volume), c.slider) << c.volume;
    for (int slider : {0, 1, 37, 99, 100})
        EXPECT_EQ(SliderFromVolume(VolumeFromSlider(slider)), slider);
}

TEST(MprisValues, StatusNamesAreTheInterfacesOwn)
{
    EXPECT_EQ(PlaybackStatusName(PlayState::Playing), QStringLiteral("Playing"));
    EXPECT_EQ(PlaybackStatusName(PlayState::Paused), QStringLiteral("Paused"));
    EXPECT_EQ(PlaybackStatusName(PlayState::Stopped), QStringLiteral("Stopped"));
}

TEST(MprisValues, TrackIdsAreValidObjectPathsThatTellMediaApart)
{
    EXPECT_EQ(TrackIdFor(""), QString::fromLatin1(kNoTrackId));
    const QString film = TrackIdFor("/home/a/영화 (1).mkv");
    EXPECT_TRUE(film.startsWith(QStringLiteral("/org/velmo/track/")));
    EXPECT_FALSE(film.contains(QLatin1Char(' ')) || film.contains(QLatin1Char('(')));
    EXPECT_EQ(film, TrackIdFor("/home/a/영화 (1).mkv"));
    EXPECT_NE(film, TrackIdFor("/home/a/영화 (2).mkv"));
}

TEST(MprisValues, SeeksStayWithinTheMedium)
{
    struct Case { int64_t current, offset, length; std::optional<int64_t> target; };
    const Case cases[] = {
        {5'000'000, 1'000'000, 10'000'000, 6'000'000},
        {5'000'000, -9'000'000, 10'000'000, 0},              // before the start: the start
        {5'000'000, 5'000'000, 10'000'000, 10'000'000},      // exactly the end
        {5'000'000, 5'000'001, 10'000'000, std::nullopt},    // past the end: the next track
        {5'000'000, 60'000'000, 0, 65'000'000},              // unknown length: no end
        {5'000'000, INT64_MAX, 10'000'000, std::nullopt},    // no wrap-around
        {5'000'000, INT64_MIN, 10'000'000, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SeekTarget(c.current, c.offset, c.length), c.target) << c.current << "+" << c.offset;
    EXPECT_TRUE(AcceptsPosition(0, 10));
    EXPECT_TRUE(AcceptsPosition(10, 10));
    EXPECT_FALSE(AcceptsPosition(-1, 10));
    EXPECT_FALSE(AcceptsPosition(11, 10));
}

TEST(MprisValues, RatesOutsideThePlayersRangeAreRefused)
{
    struct Case { double rate; RateRequest request; };
    const Case cases[] = {
        {1.0, RateRequest::Apply}, {0.5, RateRequest::Apply}, {2.0, RateRequest::Apply}, {1.25, RateRequest::Apply},
        {0.0, RateRequest::Pause}, {0.49, RateRequest::Refuse}, {2.01, RateRequest::Refuse},
        {-1.0, RateRequest::Refuse}, {std::nan(""), RateRequest::Refuse},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ClassifyRate(c.rate), c.request) << c.rate;
}

TEST(MprisValues, UrisBecomeMediaOnlyForTheSchemesThePlayerOpens)
{
    struct Case { const char *uri; std::optional<std::string> media; };
    const Case cases[] = {
        {"file:///tmp/a%20b.mkv", "/tmp/a b.mkv"},
        {"file://localhost/tmp/x.avi", "/tmp/x.avi"},
        {"file:///tmp/%ED%95%9C.mkv", "/tmp/한.mkv"},
        {"http://127.0.0.1:8000/v.mp4", "http://127.0.0.1:8000/v.mp4"},
        {"HTTPS://example.org/a.mkv?x=1", "https://example.org/a.mkv?x=1"},
        {"rtsp://cam.local/stream", "rtsp://cam.local/stream"},
        {"file://otherhost/tmp/x.avi", std::nullopt},
        {"ftp://example.org/a.mkv", std::nullopt},
        {"/tmp/a.mkv", std::nullopt},
        {"http://", std::nullopt},
        {"http://exa mple.org/a", std::nullopt},
        {"::bad", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(MediaFromUri(QString::fromUtf8(c.uri)), c.media) << c.uri;
}

TEST(MprisValues, TitlesAndUrlsOfPathsAndAddresses)
{
    EXPECT_EQ(TitleFor("/tmp/dir/한 편.mkv"), QStringLiteral("한 편.mkv"));
    EXPECT_EQ(UrlFor("/tmp/dir/한 편.mkv"), QStringLiteral("file:///tmp/dir/%ED%95%9C%20%ED%8E%B8.mkv"));
    EXPECT_EQ(TitleFor("http://h/live/cam.ts"), QStringLiteral("cam.ts"));
    EXPECT_EQ(TitleFor("rtsp://h/"), QStringLiteral("rtsp://h/"));
    EXPECT_EQ(UrlFor("rtsp://h/"), QStringLiteral("rtsp://h/"));
}

} // namespace
} // namespace velmo::mpris
