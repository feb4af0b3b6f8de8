#include "core/Exceptions.h"

#include <new>
#include <stdexcept>

Exception::Exception(QString message)
    : FMessage(std::move(message))
    , FUtf8(FMessage.toUtf8())
{
}

QString ErrorClassName(const std::exception& e)
{
    if (auto* own = dynamic_cast<const Exception*>(&e))
        return own->ClassName();
    if (dynamic_cast<const std::bad_alloc*>(&e))
        return QStringLiteral("EOutOfMemory");
    if (dynamic_cast<const std::out_of_range*>(&e))
        return QStringLiteral("ERangeError");
    return QStringLiteral("Exception");
}

QString ErrorMessage(const std::exception& e)
{
    if (auto* own = dynamic_cast<const Exception*>(&e))
        return own->Message();
    return QString::fromUtf8(e.what());
}
