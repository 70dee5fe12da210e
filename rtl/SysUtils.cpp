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

void RaiseAssertionFailure(const char* file, int line)
{
    QString name = QString::fromLocal8Bit(file);
    name = name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
    throw EAssertionFailed(QStringLiteral("Assertion failure (%1, line %2)").arg(name).arg(line));
}

QString FoldCase(QStringView Name)
{
    QString result(Name.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(result.data());
    for (qsizetype i = 0; i < Name.size(); ++i) {
        const char16_t c = Name[i].unicode();
        if (c >= 0x80)
            return Name.toString().toCaseFolded();
        out[i] = c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
    }
    return result;
}
