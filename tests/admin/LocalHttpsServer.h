#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QString>
#include <QTemporaryDir>

// A self-signed certificate for 127.0.0.1, made with the openssl tool for one test run.
class TTestCertificate {
public:
    TTestCertificate();
    bool Valid() const { return !FCertificate.isNull() && !FKey.isNull(); }
    QString Error() const { return FError; }
    // The server's TLS set-up, and the client's, which trusts this certificate only.
    QSslConfiguration ServerConfiguration() const;
    QSslConfiguration ClientConfiguration() const;

private:
    QTemporaryDir FDir;
    QSslCertificate FCertificate;
    QSslKey FKey;
    QString FError;
};

// What the server answers to one path.
struct TTestAnswer {
    int Status = 200;
    QByteArray Body;
    QByteArray ContentType = QByteArrayLiteral("application/json");
    bool Silent = false;        // reads the request and never answers
    bool WithoutLength = false; // no Content-Length: the body ends when the connection closes
    QByteArray Location;        // a redirect's target
};

TTestAnswer Answered(int status, const QByteArray& body,
                     const QByteArray& contentType = QByteArrayLiteral("application/json"));
// Reads the request and never answers.
TTestAnswer NoAnswer();
TTestAnswer Redirect(const QByteArray& location);

// A small HTTPS server on 127.0.0.1 for the product databases and their pictures: it answers
// each request path (with its query, as sent) from a table, 404 for any other, and records
// every request.
class TLocalHttpsServer : public QSslServer {
    Q_OBJECT
public:
    explicit TLocalHttpsServer(const TTestCertificate& certificate);

    // "127.0.0.1:port", the host name the product image settings take.
    QString Host() const;
    QString Url(const QString& path) const;
    void Answer(const QByteArray& path, const TTestAnswer& answer);

    struct TRequest {
        QByteArray Path;
        QByteArray UserAgent;
    };
    const QList<TRequest>& Requests() const { return FRequests; }
    int RequestsFor(const QByteArray& path) const;

private:
    void Serve(QSslSocket* socket);

    QHash<QByteArray, TTestAnswer> FAnswers;
    QList<TRequest> FRequests;
};
