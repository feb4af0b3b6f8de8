#include "core/Clock.h"

namespace {
// Read and set on the one thread that runs the program.
QDateTime& Fixed()
{
    static QDateTime fixed;
    return fixed;
}
} // namespace

QDateTime TClock::Now()
{
    return Fixed().isValid() ? Fixed() : QDateTime::currentDateTime();
}

QDate TClock::Today()
{
    return Now().date();
}

void TClock::Fix(const QDateTime& At)
{
    Fixed() = At;
}
