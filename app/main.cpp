#include "app/PlayerApp.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    velmo::InstallKoreanFontSubstitutes();
    std::vector<std::string> arguments(argv, argv + argc);
    velmo::PlayerApp player;
    player.Run(arguments);
    // Every way out of the player ends with exit code 1.
    return 1;
}
