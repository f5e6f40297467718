#include "app/PlayerApp.h"

#include <QApplication>
#include <QWidget>

#include <gst/gst.h>

#include <cstdlib>

namespace velmo {

namespace {
PlayerApp *theApp = nullptr;
}

std::string StartupPathFromArguments(const std::vector<std::string> &arguments)
{
    std::string path;
    for (size_t i = 1; i < arguments.size(); ++i) {
        if (i > 1)
            path += ' ';
        path += arguments[i];
    }
    for (int removed = 0; removed < 2; ++removed) {
        const size_t quote = path.find('"');
        if (quote == std::string::npos)
            break;
        path.erase(quote, 1);
    }
    return path;
}

PlayerApp::PlayerApp()
{
    theApp = this;
    GError *error = nullptr;
    if (!gst_init_check(nullptr, nullptr, &error)) {
        g_clear_error(&error);
        std::exit(1);
    }
}

PlayerApp::~PlayerApp()
{
    theApp = nullptr;
}

PlayerApp *PlayerApp::instance()
{
    return theApp;
}

int PlayerApp::Run(const std::vector<std::string> &arguments)
{
    subtitleStyle.startupPath = StartupPathFromArguments(arguments);
    QWidget window;
    window.setWindowTitle(QString::fromUtf8("벨모"));
    window.show();
    return QApplication::exec();
}

} // namespace velmo
