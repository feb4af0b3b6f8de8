#pragma once

#include <QByteArray>
#include <QPointer>
#include <QSslConfiguration>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

class QFile;
class QNetworkAccessManager;
class QNetworkReply;

// Where and how the stock image generator asks for product pictures.
struct TProductImageSettings {
    // Host names (a name, or name:port) of Open Food Facts, Open Beauty Facts and Open Products
    // Facts, asked in this order, always over https.
    QStringList Hosts;
    int ConnectTimeoutMs = 8000;
    int LookupTimeoutMs = 15000;
    int DownloadTimeoutMs = 30000;
    // Answers of the product databases and downloaded pictures larger than these are refused
    // while they arrive.
    qint64 MaxAnswerBytes = 1024 * 1024;
    qint64 MaxPictureBytes = 10 * 1024 * 1024;
    // The TLS set-up of every request; none means the system's. Tests trust the certificate of
    // their own local server through it.
    std::optional<QSslConfiguration> Tls;

    static TProductImageSettings Defaults();
    // The defaults, with the host names of section [ProductImages] of `IniPath` (keys
    // OpenFoodFacts, OpenBeautyFacts, OpenProductsFacts) where they are set.
    static TProductImageSettings Load(const QString& IniPath);
    // "kirvelo.ini" in the per-user configuration folder.
    static QString IniPath();
};

// The product databases' look-up of a barcode's picture and the download of that picture,
// synchronous on the calling thread: each request waits in a local event loop, so the window
// that runs it still repaints. Only https addresses are followed, redirects included.
class TProductImageService {
public:
    explicit TProductImageService(TProductImageSettings Settings);
    ~TProductImageService();
    TProductImageService(const TProductImageService&) = delete;
    TProductImageService& operator=(const TProductImageService&) = delete;

    static inline const QByteArray UserAgent =
        QByteArrayLiteral("KIRVELO/1.0 product-image-helper");
    // The product address of `Barkod` on `Host`: the trimmed barcode percent-encoded into
    // "/api/v2/product/%s.json?fields=status,product,image_url,image_front_url".
    static QUrl ProductUrl(const QString& Host, const QString& Barkod);
    // The picture address a product database's answer names: "image_front_url" of its
    // "product" object, else its "image_url", trimmed; empty when there is none or it is not
    // an https address.
    static QString ImageUrlFromAnswer(const QByteArray& Json);
    static bool IsHttpsAddress(const QUrl& Url);

    // The first picture address the product databases give for the barcode, asked in order;
    // empty when the barcode is blank or none gives one.
    QString FindOnlineImageUrl(const QString& Barkod);
    // The body of a 2xx answer to a GET of `Url`; false on any error, time-out or other status.
    bool HttpGetText(const QUrl& Url, QByteArray& Body);
    // Writes the body of a GET of `Url` into the open `File`: true for a 2xx answer of more
    // than 4096 bytes and at most the picture limit.
    bool DownloadToFile(const QString& Url, QFile& File);

    // Ends a request under way and refuses every later one.
    void Cancel();

private:
    using TSink = std::function<bool(const QByteArray&)>;
    bool Get(const QUrl& Url, int ResponseTimeoutMs, qint64 MaxBytes, const TSink& Sink);

    TProductImageSettings FSettings;
    std::unique_ptr<QNetworkAccessManager> FManager;
    QPointer<QNetworkReply> FReply;
    bool FCancelled = false;
};
