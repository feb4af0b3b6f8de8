#include "LocalHttpsServer.h"

#include <QFile>
#include <QProcess>
#include <QSslKey>
#include <QSslSocket>

TTestAnswer Answered(int status, const QByteArray& body, const QByteArray& contentType)
{
    TTestAnswer answer;
    answer.Status = status;
    answer.Body = body;
    answer.ContentType = contentType;
    return answer;
}

TTestAnswer NoAnswer()
{
    TTestAnswer answer;
    answer.Silent = true;
    return answer;
}

TTestAnswer Redirect(const QByteArray& location)
{
    TTestAnswer answer = Answered(302, {}, "text/plain");
    answer.Location = location;
    return answer;
}

TTestCertificate::TTestCertificate()
{
    const QString cert = FDir.filePath(QStringLiteral("cert.pem"));
    const QString key = FDir.filePath(QStringLiteral("key.pem"));
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                   "-nodes", "-keyout", key, "-out", cert, "-days", "2", "-subj", "/CN=127.0.0.1",
                   "-addext", "subjectAltName=IP:127.0.0.1"});
    if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0) {
        FError = QStringLiteral("openssl: ") +
                 QString::fromLocal8Bit(openssl.readAllStandardError()) + openssl.errorString();
        return;
    }
    QFile certFile(cert);
    QFile keyFile(key);
    if (!certFile.open(QIODevice::ReadOnly) || !keyFile.open(QIODevice::ReadOnly)) {
        FError = QStringLiteral("the certificate files cannot be read");
        return;
    }
    FCertificate = QSslCertificate(certFile.readAll(), QSsl::Pem);
    FKey = QSslKey(keyFile.readAll(), QSsl::Ec, QSsl::Pem);
}

QSslConfiguration TTestCertificate::ServerConfiguration() const
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setLocalCertificate(FCertificate);
    configuration.setPrivateKey(FKey);
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
    return configuration;
}

QSslConfiguration TTestCertificate::ClientConfiguration() const
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setCaCertificates({FCertificate});
    return configuration;
}

TLocalHttpsServer::TLocalHttpsServer(const TTestCertificate& certificate)
{
    setSslConfiguration(certificate.ServerConfiguration());
    connect(this, &QTcpServer::pendingConnectionAvailable, this, [this] {
        while (hasPendingConnections())
            if (auto* socket = qobject_cast<QSslSocket*>(nextPendingConnection()))
                Serve(socket);
    });
    listen(QHostAddress::LocalHost);
}

QString TLocalHttpsServer::Host() const
{
    return QStringLiteral("127.0.0.1:%1").arg(serverPort());
}

QString TLocalHttpsServer::Url(const QString& path) const
{
    return QStringLiteral("https://") + Host() + path;
}

void TLocalHttpsServer::Answer(const QByteArray& path, const TTestAnswer& answer)
{
    FAnswers.insert(path, answer);
}

int TLocalHttpsServer::RequestsFor(const QByteArray& path) const
{
    int n = 0;
    for (const TRequest& request : FRequests)
        n += request.Path == path ? 1 : 0;
    return n;
}

void TLocalHttpsServer::Serve(QSslSocket* socket)
{
    connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QSslSocket::readyRead, socket, [this, socket] {
        const QByteArray head = socket->property("head").toByteArray() + socket->readAll();
        socket->setProperty("head", head);
        const qsizetype end = head.indexOf("\r\n\r\n");
        if (end < 0 || socket->property("answered").toBool())
            return;
        socket->setProperty("answered", true);
        const QList<QByteArray> lines = head.left(end).split('\n');
        const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
        TRequest request{requestLine.value(1), {}};
        for (const QByteArray& line : lines)
            if (line.toLower().startsWith("user-agent:"))
                request.UserAgent = line.mid(11).trimmed();
        FRequests.append(request);
        const TTestAnswer answer = FAnswers.value(request.Path, Answered(404, "{}"));
        if (answer.Silent)
            return;
        QByteArray reply = "HTTP/1.1 " + QByteArray::number(answer.Status) + " X\r\n";
        reply += "Content-Type: " + answer.ContentType + "\r\nConnection: close\r\n";
        if (!answer.Location.isEmpty())
            reply += "Location: " + answer.Location + "\r\n";
        if (!answer.WithoutLength)
            reply += "Content-Length: " + QByteArray::number(answer.Body.size()) + "\r\n";
        socket->write(reply + "\r\n" + answer.Body);
        socket->disconnectFromHost();
    });
}
