#pragma once

// A player on the engine's fake graph, its settings file in a temporary folder.

#include "engine/MediaGraph.h"
#include "player/Player.h"
#include "player/PlayerSettings.h"
#include "subtitles/SubtitleStyle.h"
#include "support/FakeMediaBackend.h"
#include "support/TempDir.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

namespace velmo::test {

class PlayerFixture : public ::testing::Test {
protected:
    /// A fake medium at `name` in the temporary folder (the file exists, for folder steps).
    std::string Media(const std::string &name, const FakeMediaInfo &info = {})
    {
        const std::string path = dir.write(name, "x");
        backend->AddMedia(path, info);
        return path;
    }
    /// Opens `path` and waits for the player to say how it went.
    bool OpenAndWait(const std::string &path)
    {
        QSignalSpy opened(&player, &Player::opened);
        QSignalSpy failed(&player, &Player::failed);
        player.Open(path);
        return QTest::qWaitFor([&] { return opened.size() + failed.size() > 0; }, 2000) && opened.size() == 1;
    }
    std::shared_ptr<FakeFilterGraph> Graph() const { return backend->LastGraph(); }

    TempDir dir;
    std::shared_ptr<FakeMediaBackend> backend = std::make_shared<FakeMediaBackend>();
    MediaGraph graph{backend};
    SubtitleStyle look{dir.path("velmo_init.ini")};
    PlayerSettings settings{look.settingsFile};
    Player player{graph, settings, look};
};

} // namespace velmo::test
