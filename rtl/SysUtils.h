#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// Errors raised by the component model and the form streams. `Message` is what a user sees.
class Exception : public std::exception
{
public:
    explicit Exception(QString message) : Message(std::move(message)) {}
    const char* what() const noexcept override;

    QString Message;

private:
    mutable QByteArray FWhat;
};

#define KV_DECLARE_EXCEPTION(Name, Base) \
    class Name : public Base \
    { \
    public: \
        using Base::Base; \
    };

KV_DECLARE_EXCEPTION(EConvertError, Exception)
KV_DECLARE_EXCEPTION(EListError, Exception)
KV_DECLARE_EXCEPTION(EComponentError, Exception)
KV_DECLARE_EXCEPTION(EInvalidOperation, Exception)
KV_DECLARE_EXCEPTION(EAssertionFailed, Exception)
KV_DECLARE_EXCEPTION(EFilerError, Exception)
KV_DECLARE_EXCEPTION(EClassNotFound, EFilerError)
KV_DECLARE_EXCEPTION(EWriteError, EFilerError)

// A binary form stream that is truncated or corrupt; `Offset` is the byte where reading failed.
class EReadError : public EFilerError
{
public:
    explicit EReadError(QString message, qint64 offset = -1);
    qint64 Offset;
    QString Reason; // the message without the offset
};

// A form text that does not parse; `Line` and `Column` are 1-based.
class EParserError : public Exception
{
public:
    EParserError(QString reason, int line, int column);
    int Line;
    int Column;
    QString Reason; // the message without the position
};

#undef KV_DECLARE_EXCEPTION

// An assertion that stays in release builds: raises EAssertionFailed naming the source file
// (without folder) and the line, "Assertion failure (KvPortDsgn.cpp, line 42)".
[[noreturn]] void RaiseAssertionFailure(const char* file, int line);
#define KV_ASSERT(condition) \
    do { \
        if (!(condition)) \
            RaiseAssertionFailure(__FILE__, __LINE__); \
    } while (false)

// Case-folded key for names compared regardless of case (components, classes, properties).
// Names are nearly always ASCII, which folds without the Unicode tables.
QString FoldCase(QStringView Name);
