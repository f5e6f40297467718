#pragma once

// Owning handles for GStreamer and GLib pointers: every reference the engine
// takes is released by exactly one of these.

#include <gst/gst.h>

#include <memory>

namespace velmo {

struct GstObjectUnref {
    void operator()(gpointer p) const { gst_object_unref(p); }
};
struct GstMessageUnref {
    void operator()(GstMessage *p) const { gst_message_unref(p); }
};
struct GstCapsUnref {
    void operator()(GstCaps *p) const { gst_caps_unref(p); }
};
struct GstSampleUnref {
    void operator()(GstSample *p) const { gst_sample_unref(p); }
};
struct GstQueryUnref {
    void operator()(GstQuery *p) const { gst_query_unref(p); }
};
struct GstIteratorFree {
    void operator()(GstIterator *p) const { gst_iterator_free(p); }
};
struct GErrorFree {
    void operator()(GError *p) const { g_error_free(p); }
};
struct GFree {
    void operator()(gpointer p) const { g_free(p); }
};
struct GTypeClassUnref {
    void operator()(gpointer p) const { g_type_class_unref(p); }
};

using GstObjectPtr = std::unique_ptr<GstObject, GstObjectUnref>;
using GstElementPtr = std::unique_ptr<GstElement, GstObjectUnref>;
using GstBusPtr = std::unique_ptr<GstBus, GstObjectUnref>;
using GstPadPtr = std::unique_ptr<GstPad, GstObjectUnref>;
using GstMessagePtr = std::unique_ptr<GstMessage, GstMessageUnref>;
using GstCapsPtr = std::unique_ptr<GstCaps, GstCapsUnref>;
using GstSamplePtr = std::unique_ptr<GstSample, GstSampleUnref>;
using GstQueryPtr = std::unique_ptr<GstQuery, GstQueryUnref>;
using GstIteratorPtr = std::unique_ptr<GstIterator, GstIteratorFree>;
using GErrorPtr = std::unique_ptr<GError, GErrorFree>;
using GCharPtr = std::unique_ptr<gchar, GFree>;
/// The array g_object_class_list_properties returns (the specs stay the class's).
using GParamSpecArrayPtr = std::unique_ptr<GParamSpec *, GFree>;
using GEnumClassPtr = std::unique_ptr<GEnumClass, GTypeClassUnref>;

/// Takes a new element from a factory and sinks its floating reference.
inline GstElementPtr MakeElement(const char *factory, const char *name = nullptr)
{
    GstElement *e = gst_element_factory_make(factory, name);
    if (e)
        gst_object_ref_sink(e);
    return GstElementPtr(e);
}

/// A new, empty bin whose floating reference is sunk.
inline GstElementPtr MakeBin(const char *name = nullptr)
{
    return GstElementPtr(GST_ELEMENT(gst_object_ref_sink(gst_bin_new(name))));
}

/// Takes a new reference to `element` (held by someone else); null stays null.
inline GstElementPtr RefElement(GstElement *element)
{
    return GstElementPtr(element ? GST_ELEMENT(gst_object_ref(element)) : nullptr);
}

/// Takes a new reference to any GStreamer object.
template <class T>
std::unique_ptr<T, GstObjectUnref> RefObject(T *object)
{
    return std::unique_ptr<T, GstObjectUnref>(object ? static_cast<T *>(gst_object_ref(object)) : nullptr);
}

/// A GValue that is unset when it goes: initialised to `type`, or left empty
/// for the functions that initialise it themselves (iterators).
class GValueHolder {
public:
    GValueHolder() = default;
    explicit GValueHolder(GType type) { g_value_init(&value_, type); }
    ~GValueHolder() { Unset(); }
    GValueHolder(const GValueHolder &) = delete;
    GValueHolder &operator=(const GValueHolder &) = delete;

    GValue *get() { return &value_; }
    const GValue *get() const { return &value_; }
    /// Empties the value, ready for the next iterator step.
    void Reset()
    {
        if (G_IS_VALUE(&value_))
            g_value_reset(&value_);
    }
    void Unset()
    {
        if (G_IS_VALUE(&value_))
            g_value_unset(&value_);
    }

private:
    GValue value_ = G_VALUE_INIT;
};

} // namespace velmo
