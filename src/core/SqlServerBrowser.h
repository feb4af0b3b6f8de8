#pragma once

#include <QString>

// Asks the SQL Server Browser service (UDP 1434) of `host` for the TCP port of a named instance.
namespace SqlServerBrowser {
// The port, or 0 when no answer came within `timeoutMs` or the instance is not listed.
int InstancePort(const QString& host, const QString& instance, int timeoutMs);
// Reads the port of `instance` out of a browser answer (exposed for tests).
int PortFromResponse(const QByteArray& response, const QString& instance);
} // namespace SqlServerBrowser
