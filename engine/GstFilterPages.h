#pragma once

#include "engine/GstHandles.h"
#include "engine/MediaFacets.h"

namespace velmo {

/// The property frame of one GStreamer element: its readable GObject
/// properties and the caps of its pads. The element is held while the
/// pages live, so they outlive a graph that closes meanwhile.
class GstFilterPages : public FilterPages {
public:
    /// Takes a new reference to `element`.
    explicit GstFilterPages(GstElement *element) : element_(RefElement(element)) {}

    QString Name() const override;
    std::vector<FilterProperty> Properties() const override;
    QString Value(const QString &name) const override;
    QString PadsText() const override;
    bool SetProperty(const QString &name, const QString &text) override;

private:
    QString ValueText(GParamSpec *pspec) const;

    GstElementPtr element_;
};

/// True when properties of `pspec`'s type can be edited as text.
bool IsSimpleEditable(const GParamSpec *pspec);

} // namespace velmo
