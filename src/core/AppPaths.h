#pragma once

#include <QString>

// Where the program keeps its files. The error log, receipts and reports go beside the program
// when that folder is writable, otherwise into the per-user data folder.
namespace AppPaths {
QString ProgramFolder();    // folder of the running program, ending in "/"
QString WritableFolder();   // ProgramFolder() when writable, else UserDataFolder()
QString UserDataFolder();   // per-user data folder (created), ending in "/"
QString UserConfigFolder(); // per-user configuration folder (created), ending in "/"
QString ReportsFolder();    // WritableFolder() + "Reports/" (created)
} // namespace AppPaths
