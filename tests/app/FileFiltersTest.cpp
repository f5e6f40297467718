#include "app/FileFilters.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace velmo {
namespace {

TEST(FileFilters, FileFiltersKeepLabelsAndPatterns)
{
    EXPECT_EQ(QtFileFilter(kSubtitleFileFilter), QString::fromUtf8("사미파일(벨모) (*.smi *.sami);;자막 파일(*.smi *.sami *.srt *.vtt) (*.smi *.sami *.srt *.vtt)"));
    const QStringList filters = QtFileFilter(kMediaFileFilter).split(";;");
    ASSERT_EQ(filters.size(), 8);
    EXPECT_EQ(filters[0], QString::fromUtf8("재생가능한 미디어(전부) (*.avi *.wmv *.asf *.mpg *.mpeg *.mpe *.dat *.m1v "
                                            "*.m2 *.qt *.mov *.mp3 *.wav *wma *.lst)"));
    EXPECT_EQ(filters[2], QString::fromUtf8("ASF/WMV파일(*.asf *.wmv) (*.asf *.wmv)"));
    EXPECT_EQ(filters[6], QString::fromUtf8("사운드 파일(*.mp3 *.wav *wma) (*.mp3 *.wav *.wma)"));
    EXPECT_EQ(filters[7], QString::fromUtf8("모든파일(*.*) (*.*)"));
}

} // namespace
} // namespace velmo
