#include "core/DbEngine.h"

#include <QList>

namespace {
struct TRegistration {
    QString Name;
    QString Driver;
    TDbEngine::TFactory Factory = nullptr;
};

QList<TRegistration>& Registrations()
{
    static QList<TRegistration> registrations;
    return registrations;
}

bool Serves(const TRegistration& registration, const TConnectionAttempt& attempt)
{
    if (attempt.Engine.isEmpty())
        return registration.Driver.compare(attempt.Driver, Qt::CaseInsensitive) == 0;
    return registration.Name.compare(attempt.Engine, Qt::CaseInsensitive) == 0;
}
} // namespace

void TDbEngine::Register(const QString& name, const QString& driver, TFactory factory)
{
    for (TRegistration& registration : Registrations()) {
        if (registration.Name.compare(name, Qt::CaseInsensitive) == 0) {
            registration = {name, driver, factory};
            return;
        }
    }
    Registrations().append({name, driver, factory});
}

std::unique_ptr<TDbEngine> TDbEngine::Create(const TConnectionAttempt& attempt)
{
    for (const TRegistration& registration : Registrations()) {
        if (Serves(registration, attempt))
            return registration.Factory();
    }
    return nullptr;
}

QString TDbEngine::NameFor(const TConnectionAttempt& attempt)
{
    for (const TRegistration& registration : Registrations()) {
        if (Serves(registration, attempt))
            return registration.Name;
    }
    return {};
}
