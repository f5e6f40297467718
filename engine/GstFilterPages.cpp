#include "engine/GstFilterPages.h"

#include <QStringList>

namespace velmo {

namespace {

QString PadCaps(GstPad *pad)
{
    GstCapsPtr caps(gst_pad_get_current_caps(pad));
    if (!caps)
        return QStringLiteral("-");
    GCharPtr text(gst_caps_to_string(caps.get()));
    return QString::fromUtf8(text.get());
}

} // namespace

bool IsSimpleEditable(const GParamSpec *pspec)
{
    if (!(pspec->flags & G_PARAM_WRITABLE) || (pspec->flags & G_PARAM_CONSTRUCT_ONLY))
        return false;
    switch (G_TYPE_FUNDAMENTAL(pspec->value_type)) {
    case G_TYPE_BOOLEAN:
    case G_TYPE_INT:
    case G_TYPE_UINT:
    case G_TYPE_LONG:
    case G_TYPE_ULONG:
    case G_TYPE_INT64:
    case G_TYPE_UINT64:
    case G_TYPE_FLOAT:
    case G_TYPE_DOUBLE:
    case G_TYPE_STRING:
    case G_TYPE_ENUM:
        return true;
    default:
        return false;
    }
}

QString GstFilterPages::Name() const
{
    GCharPtr name(gst_object_get_name(GST_OBJECT(element_.get())));
    return QString::fromUtf8(name.get());
}

QString GstFilterPages::ValueText(GParamSpec *pspec) const
{
    GValueHolder value(pspec->value_type);
    g_object_get_property(G_OBJECT(element_.get()), pspec->name, value.get());
    const GValue *v = value.get();
    if (G_VALUE_HOLDS_STRING(v))
        return QString::fromUtf8(g_value_get_string(v));
    if (G_VALUE_HOLDS_ENUM(v)) {
        GEnumClassPtr klass(G_ENUM_CLASS(g_type_class_ref(pspec->value_type)));
        GEnumValue *ev = g_enum_get_value(klass.get(), g_value_get_enum(v));
        return ev ? QString::fromUtf8(ev->value_nick) : QString::number(g_value_get_enum(v));
    }
    // Some boxed types (GstStructure) cannot print an empty value.
    if (G_VALUE_HOLDS_BOXED(v) && !g_value_get_boxed(v))
        return QStringLiteral("NULL");
    GCharPtr contents(g_strdup_value_contents(v));
    return QString::fromUtf8(contents.get());
}

std::vector<FilterProperty> GstFilterPages::Properties() const
{
    std::vector<FilterProperty> properties;
    guint count = 0;
    GParamSpecArrayPtr specs(g_object_class_list_properties(G_OBJECT_GET_CLASS(element_.get()), &count));
    for (guint i = 0; i < count; ++i) {
        GParamSpec *pspec = specs.get()[i];
        if (!(pspec->flags & G_PARAM_READABLE))
            continue;
        properties.push_back({QString::fromUtf8(pspec->name), QString::fromUtf8(g_param_spec_get_blurb(pspec)),
                              ValueText(pspec), IsSimpleEditable(pspec)});
    }
    return properties;
}

QString GstFilterPages::Value(const QString &name) const
{
    GParamSpec *pspec = g_object_class_find_property(G_OBJECT_GET_CLASS(element_.get()), name.toUtf8().constData());
    return pspec && (pspec->flags & G_PARAM_READABLE) ? ValueText(pspec) : QString();
}

QString GstFilterPages::PadsText() const
{
    QStringList lines;
    GstIteratorPtr it(gst_element_iterate_pads(element_.get()));
    GValueHolder item;
    while (gst_iterator_next(it.get(), item.get()) == GST_ITERATOR_OK) {
        GstPad *pad = GST_PAD(g_value_get_object(item.get()));
        GCharPtr padName(gst_object_get_name(GST_OBJECT(pad)));
        lines << QStringLiteral("%1: %2").arg(QString::fromUtf8(padName.get()), PadCaps(pad));
        item.Reset();
    }
    return lines.join(QLatin1Char('\n'));
}

bool GstFilterPages::SetProperty(const QString &name, const QString &text)
{
    GParamSpec *pspec = g_object_class_find_property(G_OBJECT_GET_CLASS(element_.get()), name.toUtf8().constData());
    if (!pspec || !IsSimpleEditable(pspec))
        return false;
    GValueHolder value(pspec->value_type);
    bool ok = false;
    if (G_VALUE_HOLDS_STRING(value.get())) {
        g_value_set_string(value.get(), text.toUtf8().constData());
        ok = true;
    } else {
        ok = gst_value_deserialize(value.get(), text.trimmed().toUtf8().constData());
    }
    if (ok)
        g_object_set_property(G_OBJECT(element_.get()), pspec->name, value.get());
    return ok;
}

} // namespace velmo
