#pragma once

#include <QIODevice>
#include <QStringList>

namespace vorlix {

// Exit statuses of vorlix-cli.
inline constexpr int kExitOk = 0;
inline constexpr int kExitError = 1;
inline constexpr int kExitUsage = 2;

// Runs one vorlix-cli command. `args` are the arguments without the program
// name. Results go to `out` (patch bytes exactly as a saved file holds
// them, everything else as UTF-8 lines), messages and questions to `err`.
int RunCli(const QStringList& args, QIODevice& out, QIODevice& err);

}  // namespace vorlix
