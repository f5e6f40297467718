#include "app/PlayerApp.h"
#include "app/QtTranslations.h"

#include <utility>

#include <QApplication>

int main(int argc, char **argv)
{
    // The medium starts loading first: finding, opening and decoding it take
    // longer than making the window, and run meanwhile on GStreamer's threads.
    velmo::PlayerAppOptions options;
    velmo::PrefetchStartupMedia(std::vector<std::string>(argv, argv + argc), &options);
    options.quitAtEnd = qgetenv("VELMO_QUIT_AT_END") == "1";
    velmo::PrepareKoreanLocale();
    QApplication application(argc, argv);
    velmo::InstallKoreanFontSubstitutes();
    velmo::InstallQtTranslations();
    std::vector<std::string> arguments(argv, argv + argc);
    velmo::PlayerApp player(std::move(options));
    player.Run(arguments);
    // Every way out of the player ends with exit code 1.
    return 1;
}
