#pragma once

#include "KvPackages.h"

#include <QDateTime>

#include <climits>
#include <cstring>

// Value encodings the package kinds share on top of TKvPkgReader and TKvPkgWriter.

inline void KvWriteBool(TKvPkgWriter& W, bool Value) { W.WriteU8(Value ? 1 : 0); }

inline bool KvReadBool(TKvPkgReader& R)
{
    const qint64 at = R.Position();
    const quint8 v = R.ReadU8();
    if (v > 1)
        R.FailAt(QStringLiteral("%1 is not a truth value").arg(v), at);
    return v == 1;
}

inline void KvWriteF64(TKvPkgWriter& W, double Value)
{
    quint64 bits = 0;
    std::memcpy(&bits, &Value, sizeof bits);
    W.WriteU32(quint32(bits));
    W.WriteU32(quint32(bits >> 32));
}

inline double KvReadF64(TKvPkgReader& R)
{
    const quint64 low = R.ReadU32();
    const quint64 bits = low | (quint64(R.ReadU32()) << 32);
    double v = 0;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// An integer that must lie in Min..Max.
inline int KvReadRange(TKvPkgReader& R, int Min, int Max, const char* What)
{
    const qint64 at = R.Position();
    const qint32 v = R.ReadI32();
    if (v < Min || v > Max)
        R.FailAt(QStringLiteral("%1 %2 is out of range (%3 to %4)").arg(QLatin1String(What)).arg(v).arg(Min).arg(Max),
                 at);
    return v;
}

// Date and time as ISO text in UTC; an invalid one as the empty text.
inline void KvWriteDateTime(TKvPkgWriter& W, const QDateTime& Value)
{
    W.WriteString(Value.isValid() ? Value.toUTC().toString(Qt::ISODateWithMs) : QString());
}

inline QDateTime KvReadDateTime(TKvPkgReader& R)
{
    const qint64 at = R.Position();
    const QString text = R.ReadString();
    if (text.isEmpty())
        return {};
    QDateTime v = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!v.isValid())
        R.FailAt(QStringLiteral("'%1' is not a date and time").arg(text), at);
    return v;
}

// A contained package travels as its whole file image. Its errors name the outer file and count
// offsets from its start.
inline TKvPkgInfo::TParsed KvReadContained(TKvPkgReader& R, const TKvPkgInfo& Pkg, const QString& What)
{
    const qint64 start = R.Position() + 4; // after the length
    const QByteArray data = R.ReadBytes();
    const QString source = QStringLiteral("%1 (%2)").arg(R.Source(), What);
    try {
        return Pkg.ParseBytes(data, source);
    } catch (const EKvPkgFileError& e) {
        const QString reason = e.Reason.mid(e.FileName.size() + 2); // without "SOURCE: "
        throw EKvPkgFileError(source, reason, e.Offset >= 0 ? start + e.Offset : -1);
    }
}
