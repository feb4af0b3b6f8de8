#pragma once

#include <QString>

#include <exception>

// The application's error log, "KIRVELO_error.log" beside the program (or in the per-user data
// folder when the program's folder is not writable). One entry per error:
//   [yyyy-MM-dd HH:mm:ss] context
//   ClassName: message
//   (empty line)
// Written by the application-wide handler, the handlers' guard and the start-up; nothing here
// shows a window.
QString ErrorLogPath();
void WriteErrorLog(const QString& context, const std::exception& e);
void WriteErrorLog(const QString& context, const QString& className, const QString& message);
