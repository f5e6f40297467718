#include "engine/GstFlowFilters.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <string_view>

namespace velmo {

namespace {

enum class Role { None, Source, Demuxer, Parser, Decoder, Effect, Sink };

// Whether `klass` ("Codec/Decoder/Video") holds `token` as one of its parts.
bool HasToken(std::string_view klass, std::string_view token)
{
    while (!klass.empty()) {
        const size_t slash = klass.find('/');
        if (klass.substr(0, slash) == token)
            return true;
        if (slash == std::string_view::npos)
            break;
        klass.remove_prefix(slash + 1);
    }
    return false;
}

const char *KlassOf(GstElement *element)
{
    GstElementFactory *factory = gst_element_get_factory(element);
    const char *klass = factory ? gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_KLASS) : nullptr;
    return klass ? klass : "";
}

bool IsFactory(GstElement *element, const char *name)
{
    GstElementFactory *factory = gst_element_get_factory(element);
    return factory && std::strcmp(GST_OBJECT_NAME(factory), name) == 0;
}

// Everything not named here (queues, type finders, selectors, synchronizers,
// caps filters, converters, resamplers, scalers) is plumbing.
Role RoleOf(GstElement *element)
{
    const std::string_view klass = KlassOf(element);
    if (HasToken(klass, "Bin"))
        return Role::None;
    if (HasToken(klass, "Source"))
        return Role::Source;
    if (HasToken(klass, "Demuxer"))
        return Role::Demuxer;
    if (HasToken(klass, "Decoder"))
        return Role::Decoder;
    if (HasToken(klass, "Parser"))
        return Role::Parser;
    if (HasToken(klass, "Sink"))
        return Role::Sink;
    // The volume element is the player's own volume control, set from the
    // volume slider; the effects that remain are the ones we asked for (the
    // tempo filter that keeps the pitch).
    if (HasToken(klass, "Effect") && !IsFactory(element, "volume"))
        return Role::Effect;
    return Role::None;
}

// Takes every object `raw` yields (null yields nothing), starting over when
// the underlying list changes meanwhile.
template <class T>
std::vector<std::unique_ptr<T, GstObjectUnref>> Take(GstIterator *raw)
{
    std::vector<std::unique_ptr<T, GstObjectUnref>> objects;
    if (!raw)
        return objects;
    GstIteratorPtr it(raw);
    GValueHolder item;
    for (bool done = false; !done;) {
        switch (gst_iterator_next(it.get(), item.get())) {
        case GST_ITERATOR_OK:
            objects.push_back(RefObject(static_cast<T *>(g_value_get_object(item.get()))));
            item.Reset();
            break;
        case GST_ITERATOR_RESYNC:
            objects.clear();
            gst_iterator_resync(it.get());
            break;
        default:
            done = true;
        }
    }
    return objects;
}

std::vector<GstPadPtr> TakePads(GstIterator *raw)
{
    return Take<GstPad>(raw);
}

std::vector<GstElementPtr> Children(GstBin *bin)
{
    std::vector<GstElementPtr> children = Take<GstElement>(gst_bin_iterate_elements(bin));
    // A bin hands out its newest child first; the oldest is the likelier source.
    std::reverse(children.begin(), children.end());
    return children;
}

class FlowWalk {
public:
    explicit FlowWalk(const std::vector<GstElement *> &units) : units_(units) {}

    // Finds the sources inside `bin` (not inside units) and walks down from each.
    void FromSourcesIn(GstBin *bin)
    {
        for (GstElementPtr &child : Children(bin)) {
            if (!IsUnit(child.get()) && GST_IS_BIN(child.get()))
                FromSourcesIn(GST_BIN(child.get()));
            else if (RoleOf(child.get()) == Role::Source)
                FromSource(child.get());
        }
    }

    std::vector<GstElementPtr> listed;

private:
    bool IsUnit(GstElement *element) const
    {
        if (std::find(units_.begin(), units_.end(), element) != units_.end())
            return true;
        return GST_IS_BIN(element) && RoleOf(element) != Role::None;
    }

    void List(GstElement *element)
    {
        if (seenElements_.insert(element).second)
            listed.push_back(RefElement(element));
    }

    void FromSource(GstElement *source)
    {
        if (seenElements_.count(source))
            return;
        List(source);
        for (GstPadPtr &pad : TakePads(gst_element_iterate_src_pads(source)))
            Downstream(pad.get(), false);
    }

    void Downstream(GstPad *srcPad, bool framed)
    {
        GstPadPtr peer(gst_pad_get_peer(srcPad));
        if (peer)
            Enter(peer.get(), framed);
    }

    // `pad` takes data in: a sink pad, a bin's ghost pad, or the proxy pad
    // inside a ghost pad. `framed`: a demuxer or parser is upstream.
    void Enter(GstPad *pad, bool framed)
    {
        if (!seenPads_.insert(pad).second)
            return;
        GstObjectPtr parent(gst_pad_get_parent(pad));
        GstElement *element = parent && GST_IS_ELEMENT(parent.get()) ? GST_ELEMENT(parent.get()) : nullptr;
        if (element && IsUnit(element)) {
            List(element);
            for (GstPadPtr &out : TakePads(gst_element_iterate_src_pads(element)))
                Downstream(out.get(), true);
            return;
        }
        if (element && !GST_IS_BIN(element)) {
            const Role role = RoleOf(element);
            if (role != Role::None && !(role == Role::Parser && framed))
                List(element);
            framed = framed || role == Role::Demuxer || role == Role::Parser;
        }
        // Through the element (a multiqueue only to the matching output), or
        // across a ghost pad into or out of its bin.
        for (GstPadPtr &out : TakePads(gst_pad_iterate_internal_links(pad)))
            Downstream(out.get(), framed);
    }

    const std::vector<GstElement *> &units_;
    std::set<GstPad *> seenPads_;
    std::set<GstElement *> seenElements_;
};

} // namespace

std::vector<GstElementPtr> FlowFilters(GstElement *pipeline, const std::vector<GstElement *> &units)
{
    FlowWalk walk(units);
    if (pipeline && GST_IS_BIN(pipeline))
        walk.FromSourcesIn(GST_BIN(pipeline));
    return std::move(walk.listed);
}

} // namespace velmo
