#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// The program's own error types. Every error carries a Turkish message meant for the user and a
// stable class name that the error log prints in front of it.
class Exception : public std::exception {
public:
    explicit Exception(QString message);
    const QString& Message() const noexcept { return FMessage; }
    virtual QString ClassName() const { return QStringLiteral("Exception"); }
    const char* what() const noexcept override { return FUtf8.constData(); }

private:
    QString FMessage;
    QByteArray FUtf8;
};

// A failure reported by the database layer; the message is the driver's own text.
class EDatabaseError : public Exception {
public:
    using Exception::Exception;
    QString ClassName() const override { return QStringLiteral("EDatabaseError"); }
};

// A text that should have been a number, a date or a known word.
class EConvertError : public Exception {
public:
    using Exception::Exception;
    QString ClassName() const override { return QStringLiteral("EConvertError"); }
};

// A rule refused what the user asked (a required field left empty, a tax number that fails its
// check digits, a record that is no longer there). The message says why and what to do. It is
// no fault of the program: the handlers' guard shows it as "Hata" in the program's own dialog
// and writes nothing to the error log.
class ERefusal : public Exception {
public:
    using Exception::Exception;
    QString ClassName() const override { return QStringLiteral("ERefusal"); }
};

// A file that could not be read or written.
class EInOutError : public Exception {
public:
    using Exception::Exception;
    QString ClassName() const override { return QStringLiteral("EInOutError"); }
};

// A failure of the printing layer.
class EPrinterError : public Exception {
public:
    using Exception::Exception;
    QString ClassName() const override { return QStringLiteral("EPrinterError"); }
};

// Class name and message of any error that reaches a handler, ours or the standard library's.
QString ErrorClassName(const std::exception& e);
QString ErrorMessage(const std::exception& e);
