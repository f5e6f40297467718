#include <gst/gst.h>
#include <gtest/gtest.h>

namespace {

// GStreamer is brought up once per test process, as the application does.
class GstEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(gst_init_check(nullptr, nullptr, nullptr)); }
};

const auto *const kEnvironment = ::testing::AddGlobalTestEnvironment(new GstEnvironment);

} // namespace
