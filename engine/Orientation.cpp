#include "engine/Orientation.h"

#include <cstring>

namespace velmo {

Orientation Orientation::FromTag(const char *value)
{
    static constexpr const char *kNames[] = {"rotate-0",      "rotate-90",      "rotate-180",      "rotate-270",
                                             "flip-rotate-0", "flip-rotate-90", "flip-rotate-180", "flip-rotate-270"};
    for (int i = 0; value && i < 8; ++i)
        if (std::strcmp(value, kNames[i]) == 0)
            return Orientation(i % 4, i >= 4);
    return {};
}

// A flip before a turn is the flip after the opposite turn: the next turns
// run the other way round once this one is mirrored.
Orientation Orientation::Then(Orientation next) const
{
    return Orientation(turns_ + (mirrored_ ? -next.turns_ : next.turns_), mirrored_ != next.mirrored_);
}

QPoint Orientation::Map(const QPoint &p, const QSize &size) const
{
    QPoint q = p;
    QSize s = size;
    for (int i = 0; i < turns_; ++i) {
        q = QPoint(s.height() - 1 - q.y(), q.x());
        s.transpose();
    }
    if (mirrored_)
        q.setX(s.width() - 1 - q.x());
    return q;
}

} // namespace velmo
