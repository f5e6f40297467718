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

} // namespace velmo
