#include "core/SqlServerBrowser.h"

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QHostInfo>
#include <QNetworkDatagram>
#include <QUdpSocket>

namespace {
constexpr quint16 kBrowserPort = 1434;
constexpr char kUnicastInstanceRequest = 0x04;
constexpr char kServerResponse = 0x05;

QHostAddress AddressOf(const QString& host)
{
    if (host.isEmpty() || host == u'.' ||
        host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0 ||
        host.compare(QStringLiteral("(local)"), Qt::CaseInsensitive) == 0)
        return QHostAddress(QHostAddress::LocalHost);
    const QHostAddress literal(host);
    if (!literal.isNull())
        return literal;
    const QHostInfo info = QHostInfo::fromName(host);
    return info.addresses().isEmpty() ? QHostAddress() : info.addresses().constFirst();
}
} // namespace

namespace SqlServerBrowser {
int PortFromResponse(const QByteArray& response, const QString& instance)
{
    if (response.size() < 3 || response.at(0) != kServerResponse)
        return 0;
    // Records of "key;value;" pairs, each record ended by an empty field.
    const QString text = QString::fromLatin1(response.mid(3));
    for (const QString& record : text.split(QStringLiteral(";;"), Qt::SkipEmptyParts)) {
        const QStringList fields = record.split(u';');
        QString name;
        int port = 0;
        for (int i = 0; i + 1 < fields.size(); i += 2) {
            if (fields.at(i).compare(QStringLiteral("InstanceName"), Qt::CaseInsensitive) == 0)
                name = fields.at(i + 1);
            else if (fields.at(i).compare(QStringLiteral("tcp"), Qt::CaseInsensitive) == 0)
                port = fields.at(i + 1).toInt();
        }
        if (name.compare(instance, Qt::CaseInsensitive) == 0 && port > 0)
            return port;
    }
    return 0;
}

int InstancePort(const QString& host, const QString& instance, int timeoutMs)
{
    const QHostAddress address = AddressOf(host);
    if (address.isNull())
        return 0;
    QUdpSocket socket;
    const QByteArray request = QByteArray(1, kUnicastInstanceRequest) + instance.toLatin1() + '\0';
    QDeadlineTimer deadline(timeoutMs);
    // Two sends: a single lost datagram should not cost the attempt.
    for (int send = 0; send < 2 && !deadline.hasExpired(); ++send) {
        if (socket.writeDatagram(request, address, kBrowserPort) < 0)
            return 0;
        const int wait = int(qMin<qint64>(deadline.remainingTime(), timeoutMs / 2));
        if (!socket.waitForReadyRead(wait))
            continue;
        while (socket.hasPendingDatagrams()) {
            const int port = PortFromResponse(socket.receiveDatagram().data(), instance);
            if (port > 0)
                return port;
        }
    }
    return 0;
}
} // namespace SqlServerBrowser
