// The filter list of real graphs: which elements it names, in which order,
// and that each name opens the pages of its own filter.

#include "engine/GstFilterGraph.h"
#include "engine/GstFilterPages.h"
#include "engine/GstFlowFilters.h"
#include "engine/MediaGraph.h"
#include "GraphFixture.h"
#include "fixtures/MediaFixtures.h"
#include "support/TempDir.h"

#include <QWidget>

#include <gtest/gtest.h>

using namespace velmo;
using velmo::test::FixturePath;
using velmo::test::FixtureServer;

namespace {

std::string NameOf(GstElement *element)
{
    GCharPtr name(gst_object_get_name(GST_OBJECT(element)));
    return name ? name.get() : "";
}

std::string Describe(GstElement *element)
{
    GstElementFactory *factory = element ? gst_element_get_factory(element) : nullptr;
    return element ? NameOf(element) + " (" + (factory ? GST_OBJECT_NAME(factory) : "no factory") + ")" : "nothing";
}

TEST(FlowFilters, KeepSourcesParsersDecodersEffectsAndOutputsAlongEachBranch)
{
    struct Case {
        const char *pipeline;
        const char *unit; ///< a bin given as one filter, or null
        std::vector<std::string> filters;
    };
    const Case cases[] = {
        // Without a demuxer the parser is what splits the stream.
        {"fakesrc name=src ! h264parse name=parse ! avdec_h264 name=dec ! queue ! videoconvert ! fakesink name=out",
         nullptr, {"src", "parse", "dec", "out"}},
        // Through a plain bin's ghost pads; the player's volume and the
        // do-nothing elements are plumbing, the tempo filter is kept.
        {"audiotestsrc name=src ! ( queue ! audioconvert ! scaletempo name=tempo ) ! volume ! identity "
         "! fakesink name=out",
         nullptr, {"src", "tempo", "out"}},
        // Branches in the order the tee made its pads; the automatic sink is
        // one filter, whatever it holds.
        {"audiotestsrc name=src ! tee name=t t. ! queue ! fakesink name=first t. ! queue ! audioconvert "
         "! autoaudiosink name=second",
         nullptr, {"src", "first", "second"}},
        // A bin given as a unit is listed, not looked into.
        {"audiotestsrc name=src ! ( name=output audioconvert ! fakesink name=inner )", "output", {"src", "output"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pipeline);
        GError *error = nullptr;
        GstElementPtr pipeline(GST_ELEMENT(gst_object_ref_sink(gst_parse_launch(c.pipeline, &error))));
        GErrorPtr owned(error);
        ASSERT_TRUE(pipeline && !error) << (error ? error->message : "");
        GstElementPtr unit(c.unit ? gst_bin_get_by_name(GST_BIN(pipeline.get()), c.unit) : nullptr);
        std::vector<std::string> names;
        for (const GstElementPtr &filter : FlowFilters(pipeline.get(), {unit.get()}))
            names.push_back(NameOf(filter.get()));
        EXPECT_EQ(names, c.filters);
    }
}

class FilterList : public test::RealGraphTest {
protected:
    // Whether `element` is what `expected` says: "Overlay Mixer", "audio
    // output" (the sink playbin was given), "video decoder" or "audio decoder"
    // (by the factory's own description), or else a factory name.
    bool Is(GstElement *element, const std::string &expected)
    {
        if (!element)
            return false;
        if (expected == "Overlay Mixer")
            return NameOf(element) == expected;
        if (expected == "audio output") {
            GstElement *sink = nullptr;
            g_object_get(Gst().Pipeline(), "audio-sink", &sink, nullptr);
            GstElementPtr owned(sink);
            return sink == element;
        }
        GstElementFactory *factory = gst_element_get_factory(element);
        if (!factory)
            return false;
        if (expected == "video decoder" || expected == "audio decoder") {
            const std::string klass = gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_KLASS);
            const char *kind = expected == "video decoder" ? "Video" : "Audio";
            return klass.find("Decoder") != std::string::npos && klass.find(kind) != std::string::npos;
        }
        return expected == GST_OBJECT_NAME(factory);
    }

    // Checks the menu's names against `expected`, each name leading to its
    // filter and that filter's frame.
    void ExpectFilters(const std::vector<std::string> &expected)
    {
        ASSERT_EQ(graph.CollectFilterNames(), S_OK);
        std::string listed;
        for (int i = 0; i < graph.filterCount; ++i)
            listed += Describe(Gst().FindFilter(graph.filterNames[i]).get()) + "; ";
        SCOPED_TRACE("listed: " + listed);
        ASSERT_EQ(graph.filterCount, static_cast<int32_t>(expected.size()));
        for (size_t i = 0; i < expected.size(); ++i) {
            GstElementPtr filter = Gst().FindFilter(graph.filterNames[i]);
            EXPECT_TRUE(Is(filter.get(), expected[i])) << "entry " << i << " should be " << expected[i];
            if (filter) {
                EXPECT_EQ(GstFilterPages(filter.get()).Name().toStdString(), graph.filterNames[i]);
            }
        }
    }
};

TEST_F(FilterList, NamesTheStreamsFiltersInTheOrderItFlows)
{
    FixtureServer server;
    ASSERT_NE(server.port(), 0);
    struct Case {
        std::string media;
        std::vector<std::string> filters;
    };
    const Case cases[] = {
        {FixturePath("clip.mkv"),
         {"filesrc", "matroskademux", "video decoder", "Overlay Mixer", "audio decoder", "scaletempo", "audio output"}},
        {FixturePath("clip.avi"),
         {"filesrc", "avidemux", "video decoder", "Overlay Mixer", "audio decoder", "scaletempo", "audio output"}},
        {FixturePath("clip.wmv"),
         {"filesrc", "asfdemux", "video decoder", "Overlay Mixer", "audio decoder", "scaletempo", "audio output"}},
        // Over HTTP the download buffer between source and demuxer is plumbing.
        {server.Url("clip.mp4"),
         {"souphttpsrc", "qtdemux", "video decoder", "Overlay Mixer", "audio decoder", "scaletempo", "audio output"}},
        // The tag reader stands for the demuxer; the parser behind it is not listed.
        {FixturePath("audio.mp3"), {"filesrc", "id3demux", "audio decoder", "scaletempo", "audio output"}},
        {FixturePath("audio.wav"), {"filesrc", "wavparse", "scaletempo", "audio output"}},
        {FixturePath("gst_video.mkv"), {"filesrc", "matroskademux", "video decoder", "Overlay Mixer"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.media);
        ASSERT_EQ(Open(c.media), S_OK);
        ExpectFilters(c.filters);
    }
}

TEST_F(FilterList, SubtitleSourcesComeLastAndTheFirstOfOneNameOpens)
{
    test::TempDir dir;
    const QByteArray sami = "<SAMI>\n<BODY>\n<SYNC Start=100><P Class=KRCC>하나\n</BODY>\n</SAMI>\n";
    const std::string first = dir.write("first/clip.smi", sami);
    const std::string second = dir.write("second/clip.smi", sami);
    ASSERT_EQ(Open(FixturePath("clip.mkv")), S_OK);
    ASSERT_EQ(graph.AddSubtitleFile(first), S_OK);
    ASSERT_EQ(graph.AddSubtitleFile(second), S_OK);
    ExpectFilters({"filesrc", "matroskademux", "video decoder", "Overlay Mixer", "audio decoder", "scaletempo",
                   "audio output", "filesrc", "filesrc"});
    EXPECT_EQ(graph.filterNames[7], "clip.smi");
    EXPECT_EQ(graph.filterNames[8], "clip.smi");

    // The pages that the menu command shows are the first file's.
    std::shared_ptr<FilterPages> pages = graph.FilterPagesOf("clip.smi");
    ASSERT_TRUE(pages);
    EXPECT_EQ(pages->Name(), QStringLiteral("clip.smi"));
    EXPECT_EQ(pages->Value(QStringLiteral("location")).toStdString(), first);

    // Plumbing is not a filter any more, even by its exact name.
    EXPECT_FALSE(graph.FilterPagesOf(NameOf(Gst().Pipeline())));
    EXPECT_FALSE(graph.FilterPagesOf("no such element"));
}

} // namespace
