#include "admin/ProductImageService.h"

#include "admin/StockImageRules.h"
#include "core/AppPaths.h"

#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSettings>
#include <QTimer>

namespace {
constexpr int kMaxRedirects = 5;

struct THostKey {
    const char* Key;
    const char* Default;
};

constexpr THostKey kHosts[] = {
    {"OpenFoodFacts", "world.openfoodfacts.org"},
    {"OpenBeautyFacts", "world.openbeautyfacts.org"},
    {"OpenProductsFacts", "world.openproductsfacts.org"},
};

bool IsSuccess(const QNetworkReply& reply)
{
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    return status >= 200 && status <= 299;
}
} // namespace

TProductImageSettings TProductImageSettings::Defaults()
{
    TProductImageSettings settings;
    for (const THostKey& host : kHosts)
        settings.Hosts << QLatin1String(host.Default);
    return settings;
}

TProductImageSettings TProductImageSettings::Load(const QString& IniPath)
{
    TProductImageSettings settings = Defaults();
    QSettings ini(IniPath, QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("ProductImages"));
    for (int i = 0; i < int(std::size(kHosts)); ++i) {
        const QString host = ini.value(QLatin1String(kHosts[i].Key)).toString().trimmed();
        if (!host.isEmpty())
            settings.Hosts[i] = host;
    }
    return settings;
}

QString TProductImageSettings::IniPath()
{
    return AppPaths::UserConfigFolder() + QStringLiteral("kirvelo.ini");
}

TProductImageService::TProductImageService(TProductImageSettings Settings)
    : FSettings(std::move(Settings))
    , FManager(std::make_unique<QNetworkAccessManager>())
{
}

TProductImageService::~TProductImageService() = default;

QUrl TProductImageService::ProductUrl(const QString& Host, const QString& Barkod)
{
    const QByteArray code = QUrl::toPercentEncoding(Barkod.trimmed());
    return QUrl::fromEncoded(
        QByteArrayLiteral("https://") + Host.trimmed().toUtf8() +
            QByteArrayLiteral("/api/v2/product/") + code +
            QByteArrayLiteral(".json?fields=status,product,image_url,image_front_url"),
        QUrl::StrictMode);
}

bool TProductImageService::IsHttpsAddress(const QUrl& Url)
{
    return Url.isValid() &&
           Url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0 &&
           !Url.host().isEmpty();
}

QString TProductImageService::ImageUrlFromAnswer(const QByteArray& Json)
{
    const QJsonDocument document = QJsonDocument::fromJson(Json);
    if (!document.isObject())
        return {};
    const QJsonValue product = document.object().value(QLatin1String("product"));
    if (!product.isObject())
        return {};
    QString address =
        product.toObject().value(QLatin1String("image_front_url")).toString().trimmed();
    if (address.isEmpty())
        address = product.toObject().value(QLatin1String("image_url")).toString().trimmed();
    return IsHttpsAddress(QUrl(address, QUrl::StrictMode)) ? address : QString();
}

QString TProductImageService::FindOnlineImageUrl(const QString& Barkod)
{
    if (Barkod.trimmed().isEmpty())
        return {};
    for (const QString& host : FSettings.Hosts) {
        QByteArray body;
        if (!HttpGetText(ProductUrl(host, Barkod), body))
            continue;
        const QString address = ImageUrlFromAnswer(body);
        if (!address.isEmpty())
            return address;
    }
    return {};
}

bool TProductImageService::HttpGetText(const QUrl& Url, QByteArray& Body)
{
    Body.clear();
    return Get(Url, FSettings.LookupTimeoutMs, FSettings.MaxAnswerBytes,
               [&Body](const QByteArray& part) {
                   Body += part;
                   return true;
               });
}

bool TProductImageService::DownloadToFile(const QString& Url, QFile& File)
{
    const bool fetched =
        Get(QUrl(Url, QUrl::StrictMode), FSettings.DownloadTimeoutMs, FSettings.MaxPictureBytes,
            [&File](const QByteArray& part) { return File.write(part) == part.size(); });
    return fetched && File.flush() && File.size() > TStockImageRules::MinPictureBytes;
}

void TProductImageService::Cancel()
{
    FCancelled = true;
    if (FReply)
        FReply->abort();
}

bool TProductImageService::Get(const QUrl& Url, int ResponseTimeoutMs, qint64 MaxBytes,
                               const TSink& Sink)
{
    if (FCancelled || !IsHttpsAddress(Url))
        return false;
    QNetworkRequest request(Url);
    request.setHeader(QNetworkRequest::UserAgentHeader, UserAgent);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    if (FSettings.Tls)
        request.setSslConfiguration(*FSettings.Tls);

    const std::unique_ptr<QNetworkReply> reply(FManager->get(request));
    QNetworkReply* r = reply.get();
    FReply = r;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    bool refused = false;
    qint64 received = 0;
    const auto refuse = [&] {
        refused = true;
        r->abort();
    };
    QObject::connect(&deadline, &QTimer::timeout, &loop, refuse);
    QObject::connect(r, &QNetworkReply::requestSent, &loop,
                     [&] { deadline.start(ResponseTimeoutMs); });
    QObject::connect(r, &QNetworkReply::redirected, &loop, [&](const QUrl& target) {
        if (IsHttpsAddress(target))
            Q_EMIT r->redirectAllowed();
        else
            refuse();
    });
    QObject::connect(r, &QNetworkReply::metaDataChanged, &loop, [&] {
        if (r->header(QNetworkRequest::ContentLengthHeader).toLongLong() > MaxBytes)
            refuse();
    });
    QObject::connect(r, &QNetworkReply::readyRead, &loop, [&] {
        const QByteArray part = r->readAll();
        received += part.size();
        if (received > MaxBytes || !Sink(part))
            refuse();
    });
    QObject::connect(r, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    deadline.start(FSettings.ConnectTimeoutMs);
    if (!r->isFinished())
        loop.exec();
    FReply = nullptr;
    if (refused || FCancelled || r->error() != QNetworkReply::NoError || !IsSuccess(*r))
        return false;
    const QByteArray rest = r->readAll();
    received += rest.size();
    return received <= MaxBytes && Sink(rest);
}
