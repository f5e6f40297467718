// Prints the MimeType value of the desktop entry: the types the installed
// GStreamer plugins can play, each followed by ";".
//   velmo-mimetypes [OUTPUT-FILE]

#include "desktop/PlayableMimeTypes.h"
#include "engine/GstHandles.h"

#include <gst/gst.h>

#include <cstdio>
#include <fstream>
#include <iostream>

int main(int argc, char **argv)
{
    GError *raw = nullptr;
    const bool started = gst_init_check(&argc, &argv, &raw);
    const velmo::GErrorPtr error(raw);
    if (!started) {
        std::fprintf(stderr, "velmo-mimetypes: %s\n", error ? error->message : "GStreamer did not start");
        return 1;
    }
    const auto types = velmo::PlayableMimeTypes([](const std::string &factory) {
        return velmo::GstObjectPtr(GST_OBJECT(gst_element_factory_find(factory.c_str()))) != nullptr;
    });
    std::string line;
    for (const std::string &type : types)
        line += type + ";";
    if (argc > 1) {
        std::ofstream out(argv[1]);
        out << line << "\n";
        return out ? 0 : 1;
    }
    std::cout << line << "\n";
    return 0;
}
