#pragma once

namespace velmo {

class MainWindow;

/// What a command does to the main window; `id` tells apart the commands
/// that share a handler.
using CommandHandler = void (*)(MainWindow &window, int id);

/// The handler of command `id`: every command of the command table, the
/// about box's own id and the entries of the filter list; null for any other id.
CommandHandler FindCommandHandler(int id);

} // namespace velmo
