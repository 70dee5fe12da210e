#include "SysUtils.h"

const char* Exception::what() const noexcept
{
    FWhat = Message.toUtf8();
    return FWhat.constData();
}

EReadError::EReadError(QString message, qint64 offset)
    : EFilerError(offset >= 0 ? QStringLiteral("%1 (at offset %2)").arg(message).arg(offset) : message),
      Offset(offset), Reason(std::move(message))
{
}

EParserError::EParserError(QString reason, int line, int column)
    : Exception(QStringLiteral("Line %1, column %2: %3").arg(line).arg(column).arg(reason)),
      Line(line), Column(column), Reason(std::move(reason))
{
}
