// The skin loader on a skin folder whose description comes from the fuzzer.
// The folder is made once, with a few tiny pictures (each its own size), a
// picture cut short and the rest missing; each execution rewrites only
// skin.ini. Whatever the description says, a picture keeps its own size, the
// edges reserve a panel's height or nothing, and colours keep their top byte
// clear.

#include "fuzz/FuzzSupport.h"

#include "skin/SkinSet.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>

#include <memory>

namespace {

using namespace velmo;

struct Picture {
    const char *name;
    int width;
    int height;
};

// One per kind of member: the panels whose heights the edges reserve, a
// button, a slider's track and the time display's middle.
constexpr Picture kPictures[] = {
    {"controlpanel.bmp", 7, 5}, {"toppanel.bmp", 6, 3},        {"play.bmp", 4, 4},
    {"mainslider.bmp", 9, 2},   {"time_infor_back.bmp", 2, 6},
};
// Present but not a picture: its load fails and the member stays empty.
constexpr const char *kBrokenPicture = "stop.bmp";

QByteArray bmp(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    VELMO_FUZZ_CHECK(image.save(&buffer, "BMP"));
    return bytes;
}

fuzz::ScratchFolder &skinFolder()
{
    static const auto folder = [] {
        // The pictures are BMPs, which Qt reads itself: without the image
        // plugins, telling the format costs no probe by each of them.
        QCoreApplication::setLibraryPaths({});
        auto made = std::make_unique<fuzz::ScratchFolder>();
        for (const Picture &p : kPictures) {
            const QByteArray bytes = bmp(p.width, p.height);
            made->Write(p.name, reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
        }
        const QByteArray cut = bmp(5, 5).left(20);
        made->Write(kBrokenPicture, reinterpret_cast<const uint8_t *>(cut.constData()), size_t(cut.size()));
        return made;
    }();
    return *folder;
}

void checkSize(const SkinImage &image, const Picture &p)
{
    VELMO_FUZZ_CHECK(image.width == p.width && image.height == p.height);
    VELMO_FUZZ_CHECK(image.info.width == p.width && image.info.height == p.height);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string path = skinFolder().Write("skin.ini", data, size);
    const SkinSet skin(path);

    checkSize(skin.controlPanel, kPictures[0]);
    checkSize(skin.topPanel, kPictures[1]);
    checkSize(skin.play, kPictures[2]);
    VELMO_FUZZ_CHECK(skin.timeline.width == kPictures[3].width && skin.timeline.height == kPictures[3].height);
    VELMO_FUZZ_CHECK(skin.time.backInfo.height == kPictures[4].height);
    VELMO_FUZZ_CHECK(skin.stop.bitmap.isNull() && skin.stop.width == 0 && skin.stop.info.bitsPerPixel == 0);
    VELMO_FUZZ_CHECK(skin.logo.bitmap.isNull() && skin.logo.height == 0);

    const auto panelHeight = [&skin](int32_t reserved) {
        return reserved == 0 || reserved == skin.topPanel.height || reserved == skin.controlPanel.height;
    };
    VELMO_FUZZ_CHECK(panelHeight(skin.topReserved));
    VELMO_FUZZ_CHECK(panelHeight(skin.bottomReserved));
    VELMO_FUZZ_CHECK(skin.time.textColor <= 0xFFFFFFu && skin.time.shadowColor <= 0xFFFFFFu);
    VELMO_FUZZ_CHECK(!skin.play.align.empty() && !skin.timeline.align.empty());
    return 0;
}
