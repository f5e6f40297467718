#include "engine/GstSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QString>
#include <QThread>

#include <unistd.h>

namespace velmo {

GstMessageText ParseErrorOrWarning(GstMessage *message)
{
    GError *error = nullptr;
    gchar *debug = nullptr;
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR)
        gst_message_parse_error(message, &error, &debug);
    else if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_WARNING)
        gst_message_parse_warning(message, &error, &debug);
    return {GErrorPtr(error), GCharPtr(debug)};
}

HResult ResultOfGstError(const GError *error)
{
    if (!error)
        return E_FAIL;
    if (error->domain == GST_RESOURCE_ERROR) {
        switch (error->code) {
        case GST_RESOURCE_ERROR_NOT_FOUND:
        case GST_RESOURCE_ERROR_OPEN_READ:
        case GST_RESOURCE_ERROR_OPEN_READ_WRITE:
        case GST_RESOURCE_ERROR_NOT_AUTHORIZED:
            return VFW_E_NOT_FOUND;
        default:
            return E_FAIL;
        }
    }
    if (error->domain == GST_STREAM_ERROR || error->domain == GST_CORE_ERROR)
        return VFW_E_UNSUPPORTED_STREAM;
    return E_FAIL;
}

bool HasSoundOutput()
{
    static const bool has = [] {
        QDir snd(QStringLiteral("/dev/snd"));
        if (!snd.entryList({QStringLiteral("pcmC*D*p")}, QDir::System).isEmpty())
            return true;
        const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR", QStringLiteral("/run/user/%1").arg(getuid()));
        for (const char *socket : {"/pulse/native", "/pipewire-0"})
            if (QFileInfo::exists(runtime + QLatin1String(socket)))
                return true;
        return false;
    }();
    return has;
}

// Probing every kind of sound system would only delay each open to end in a
// fake sink anyway.
GstElementPtr MakeAudioSink()
{
    if (HasSoundOutput())
        return MakeElement("autoaudiosink");
    GstElementPtr sink = MakeElement("fakesink", "fake-audio-sink");
    if (sink)
        g_object_set(sink.get(), "sync", TRUE, nullptr);
    return sink;
}

bool OnUiThread()
{
    const QCoreApplication *app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

} // namespace velmo
