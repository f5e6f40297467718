#pragma once

// What a process still holds: GObjects that have not been finalized, and open
// file descriptors.

#include <glib-object.h>

#include <QDir>

#include <set>

namespace velmo::test {

/// Counts the GObjects it watches that are still alive, through a weak
/// reference on each. The objects must be finalized on the thread that asks.
class LiveObjects {
public:
    LiveObjects() = default;
    LiveObjects(const LiveObjects &) = delete;
    LiveObjects &operator=(const LiveObjects &) = delete;
    ~LiveObjects()
    {
        for (GObject *object : live_)
            g_object_weak_unref(object, &Gone, this);
    }
    /// Watches `object` until it is finalized.
    void Watch(gpointer object)
    {
        if (object && live_.insert(G_OBJECT(object)).second)
            g_object_weak_ref(G_OBJECT(object), &Gone, this);
    }
    /// How many watched objects are alive.
    size_t Count() const { return live_.size(); }

private:
    static void Gone(gpointer self, GObject *object) { static_cast<LiveObjects *>(self)->live_.erase(object); }
    std::set<GObject *> live_;
};

/// The number of file descriptors the process has open.
inline int OpenDescriptorCount()
{
    return static_cast<int>(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::System |
                                                                          QDir::NoDotAndDotDot).size());
}

} // namespace velmo::test
