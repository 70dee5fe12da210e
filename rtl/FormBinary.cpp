#include "FormBinary.h"

#include "SysUtils.h"

#include <QStringDecoder>
#include <QtEndian>
#include <cmath>
#include <cstring>

namespace KvFormBinary {

namespace {
constexpr int MaxSkipDepth = 200;
}

void LongDoubleToExtended80(long double value, unsigned char out[10])
{
    quint64 mantissa = 0;
    quint16 exponent = 0;
    const bool negative = std::signbit(value);
    if (std::isnan(value)) {
        exponent = 0x7FFF;
        mantissa = 0xC000000000000000ULL;
    } else if (std::isinf(value)) {
        exponent = 0x7FFF;
        mantissa = 0x8000000000000000ULL;
    } else if (value != 0) {
        int e = 0;
        const long double m = std::frexp(std::fabs(value), &e); // value = m * 2^e, m in [0.5, 1)
        int biased = e - 1 + 16383;
        long double scaled = std::ldexp(m, 64);
        if (biased <= 0) { // denormal: the integer bit moves right
            scaled = std::ldexp(scaled, biased - 1);
            biased = 0;
        }
        mantissa = quint64(scaled);
        exponent = quint16(biased);
    }
    qToLittleEndian(mantissa, out);
    qToLittleEndian(quint16(exponent | (negative ? 0x8000 : 0)), out + 8);
}

long double Extended80ToLongDouble(const unsigned char in[10])
{
    const quint64 mantissa = qFromLittleEndian<quint64>(in);
    const quint16 se = qFromLittleEndian<quint16>(in + 8);
    const bool negative = se & 0x8000;
    const int exponent = se & 0x7FFF;
    long double v;
    if (exponent == 0x7FFF)
        v = (mantissa << 1) == 0 ? HUGE_VALL : std::numeric_limits<long double>::quiet_NaN();
    else if (exponent == 0)
        v = std::ldexp((long double)mantissa, 1 - 16383 - 63);
    else
        v = std::ldexp((long double)mantissa, exponent - 16383 - 63);
    return negative ? -v : v;
}

QString Utf8ToString(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

// ---------------------------------------------------------------------------------------------

TBinaryReader::TBinaryReader(QByteArray data)
    : FData(std::move(data)), FBytes(reinterpret_cast<const unsigned char*>(FData.constData())), FSize(FData.size())
{
}

void TBinaryReader::Fail(const QString& reason) const { throw EReadError(reason, FPos); }

void TBinaryReader::FailAt(const QString& reason, qint64 offset) const { throw EReadError(reason, offset); }

void TBinaryReader::Need(qsizetype count) const
{
    if (count < 0 || count > FSize - FPos)
        Fail(QStringLiteral("Unexpected end of stream"));
}

quint8 TBinaryReader::Byte()
{
    Need(1);
    return FBytes[FPos++];
}

qint32 TBinaryReader::Int32()
{
    Need(4);
    const qint32 v = qFromLittleEndian<qint32>(FBytes + FPos);
    FPos += 4;
    return v;
}

void TBinaryReader::ReadSignature()
{
    if (FSize - FPos < 4 || memcmp(FBytes + FPos, "TPF0", 4) != 0)
        Fail(QStringLiteral("Invalid stream format: signature TPF0 expected"));
    FPos += 4;
}

TValueType TBinaryReader::NextValue() const
{
    Need(1);
    const quint8 b = FBytes[FPos];
    if (b > vaDouble)
        Fail(QStringLiteral("Invalid value type %1").arg(b));
    return TValueType(b);
}

TValueType TBinaryReader::ReadValue()
{
    const TValueType t = NextValue();
    ++FPos;
    return t;
}

QString TBinaryReader::ValueName(TValueType type) const
{
    static const char* const Names[] = {"Null", "List", "Int8", "Int16", "Int32", "Extended", "String", "Ident",
                                        "False", "True", "Binary", "Set", "LString", "Nil", "Collection", "Single",
                                        "Currency", "Date", "WString", "Int64", "UTF8String", "Double"};
    return QString::fromLatin1(Names[type]);
}

void TBinaryReader::CheckValue(TValueType type)
{
    const qint64 at = FPos;
    const TValueType t = ReadValue();
    if (t != type)
        FailAt(QStringLiteral("%1 expected but %2 found").arg(ValueName(type), ValueName(t)), at);
}

bool TBinaryReader::EndOfList() const
{
    Need(1);
    return FBytes[FPos] == 0;
}

void TBinaryReader::ReadListEnd()
{
    if (Byte() != 0)
        FailAt(QStringLiteral("End of list expected"), FPos - 1);
}

TObjectHeader TBinaryReader::ReadHeader()
{
    TObjectHeader h;
    Need(1);
    if ((FBytes[FPos] & 0xF0) == 0xF0) {
        h.Flags = FBytes[FPos++] & 0x0F;
        if (h.Flags & ffChildPos) {
            const qint64 at = FPos;
            const TValueType t = NextValue();
            if (t != vaInt8 && t != vaInt16 && t != vaInt32)
                FailAt(QStringLiteral("Child position expected"), at);
            h.Position = qint32(ReadInt64());
        }
    }
    h.ClassName = ReadStr().toByteArray();
    if (h.ClassName.isEmpty())
        FailAt(QStringLiteral("Class name expected"), FPos - 1);
    h.ObjectName = ReadStr().toByteArray();
    return h;
}

TResourceHeader TBinaryReader::ReadResourceHeader()
{
    TResourceHeader h;
    if (Byte() != 0xFF)
        FailAt(QStringLiteral("Invalid stream format: resource header expected"), FPos - 1);
    Need(2);
    if (qFromLittleEndian<quint16>(FBytes + FPos) != 10)
        Fail(QStringLiteral("Invalid stream format: resource type RCDATA expected"));
    FPos += 2;
    const qsizetype nameStart = FPos;
    while (Byte() != 0) {
    }
    h.Name = FData.mid(nameStart, FPos - 1 - nameStart);
    Need(2);
    FPos += 2; // memory flags
    const qint64 at = FPos;
    const qint32 size = Int32();
    if (size < 0 || size > FSize - FPos)
        FailAt(QStringLiteral("Resource size %1 exceeds the data").arg(size), at);
    h.DataOffset = FPos;
    h.DataSize = size;
    return h;
}

QByteArrayView TBinaryReader::ReadStr()
{
    const qsizetype len = Byte();
    Need(len);
    QByteArrayView v(reinterpret_cast<const char*>(FBytes + FPos), len);
    FPos += len;
    return v;
}

qint64 TBinaryReader::ReadInt64()
{
    const qint64 at = FPos;
    switch (ReadValue()) {
    case vaInt8:
        Need(1);
        return qint8(FBytes[FPos++]);
    case vaInt16: {
        Need(2);
        const qint16 v = qFromLittleEndian<qint16>(FBytes + FPos);
        FPos += 2;
        return v;
    }
    case vaInt32:
        return Int32();
    case vaInt64: {
        Need(8);
        const qint64 v = qFromLittleEndian<qint64>(FBytes + FPos);
        FPos += 8;
        return v;
    }
    default:
        FailAt(QStringLiteral("Integer value expected"), at);
    }
}

long double TBinaryReader::ReadFloat()
{
    const qint64 at = FPos;
    switch (ReadValue()) {
    case vaExtended: {
        Need(10);
        const long double v = Extended80ToLongDouble(FBytes + FPos);
        FPos += 10;
        return v;
    }
    case vaDouble: {
        Need(8);
        double v;
        memcpy(&v, FBytes + FPos, 8);
        FPos += 8;
        return v;
    }
    case vaSingle:
        --FPos;
        return ReadSingle();
    case vaInt8: case vaInt16: case vaInt32: case vaInt64:
        --FPos;
        return (long double)ReadInt64();
    default:
        FailAt(QStringLiteral("Floating point value expected"), at);
    }
}

float TBinaryReader::ReadSingle()
{
    CheckValue(vaSingle);
    Need(4);
    float v;
    memcpy(&v, FBytes + FPos, 4);
    FPos += 4;
    return v;
}

qint64 TBinaryReader::ReadCurrencyRaw()
{
    CheckValue(vaCurrency);
    Need(8);
    const qint64 v = qFromLittleEndian<qint64>(FBytes + FPos);
    FPos += 8;
    return v;
}

double TBinaryReader::ReadDate()
{
    CheckValue(vaDate);
    Need(8);
    double v;
    memcpy(&v, FBytes + FPos, 8);
    FPos += 8;
    return v;
}

QByteArrayView TBinaryReader::ReadAnsiString()
{
    const qint64 at = FPos;
    qsizetype len;
    switch (ReadValue()) {
    case vaString:
        len = Byte();
        break;
    case vaLString:
        len = Int32();
        if (len < 0)
            FailAt(QStringLiteral("Invalid string length %1").arg(len), at + 1);
        break;
    default:
        FailAt(QStringLiteral("String value expected"), at);
    }
    Need(len);
    QByteArrayView v(reinterpret_cast<const char*>(FBytes + FPos), len);
    FPos += len;
    return v;
}

QString TBinaryReader::ReadWideString()
{
    const qint64 at = FPos;
    const TValueType t = ReadValue();
    if (t != vaWString && t != vaUTF8String)
        FailAt(QStringLiteral("String value expected"), at);
    const qint32 len = Int32();
    if (len < 0)
        FailAt(QStringLiteral("Invalid string length %1").arg(len), at + 1);
    if (t == vaUTF8String) {
        Need(len);
        QString s = Utf8ToString(QByteArrayView(FBytes + FPos, len));
        FPos += len;
        return s;
    }
    Need(qsizetype(len) * 2);
    QString s(len, Qt::Uninitialized);
    char16_t* dst = reinterpret_cast<char16_t*>(s.data());
    for (qint32 i = 0; i < len; ++i)
        dst[i] = qFromLittleEndian<quint16>(FBytes + FPos + 2 * i);
    FPos += qsizetype(len) * 2;
    return s;
}

QString TBinaryReader::ReadString()
{
    const TValueType t = NextValue();
    if (t == vaWString || t == vaUTF8String)
        return ReadWideString();
    const QByteArrayView v = ReadAnsiString();
    return QString::fromLatin1(v.data(), v.size());
}

QByteArrayView TBinaryReader::ReadIdent()
{
    const qint64 at = FPos;
    switch (ReadValue()) {
    case vaIdent:
        return ReadStr();
    case vaFalse:
        return "False";
    case vaTrue:
        return "True";
    case vaNil:
        return "nil";
    case vaNull:
        return "Null";
    default:
        FailAt(QStringLiteral("Identifier expected"), at);
    }
}

QByteArray TBinaryReader::ReadBinary()
{
    CheckValue(vaBinary);
    const qint64 at = FPos;
    const qint32 len = Int32();
    if (len < 0)
        FailAt(QStringLiteral("Invalid binary length %1").arg(len), at);
    Need(len);
    QByteArray v(reinterpret_cast<const char*>(FBytes + FPos), len);
    FPos += len;
    return v;
}

void TBinaryReader::SkipValue()
{
    const qint64 at = FPos;
    switch (NextValue()) {
    case vaNull: case vaFalse: case vaTrue: case vaNil:
        ++FPos;
        break;
    case vaList:
        if (++FDepth > MaxSkipDepth)
            FailAt(QStringLiteral("Nesting too deep"), at);
        ++FPos;
        while (!EndOfList())
            SkipValue();
        ReadListEnd();
        --FDepth;
        break;
    case vaInt8: case vaInt16: case vaInt32: case vaInt64:
        ReadInt64();
        break;
    case vaExtended: case vaDouble:
        ReadFloat();
        break;
    case vaSingle:
        ReadSingle();
        break;
    case vaCurrency:
        ReadCurrencyRaw();
        break;
    case vaDate:
        ReadDate();
        break;
    case vaString: case vaLString:
        ReadAnsiString();
        break;
    case vaWString: case vaUTF8String: {
        const bool wide = FBytes[FPos] == vaWString;
        ++FPos;
        const qint32 len = Int32();
        if (len < 0)
            FailAt(QStringLiteral("Invalid string length %1").arg(len), at + 1);
        const qsizetype bytes = wide ? qsizetype(len) * 2 : qsizetype(len);
        Need(bytes);
        FPos += bytes;
        break;
    }
    case vaIdent:
        ReadIdent();
        break;
    case vaBinary:
        ReadBinary();
        break;
    case vaSet:
        ++FPos;
        while (!ReadStr().isEmpty()) {
        }
        break;
    case vaCollection:
        if (++FDepth > MaxSkipDepth)
            FailAt(QStringLiteral("Nesting too deep"), at);
        ++FPos;
        while (!EndOfList()) {
            const TValueType t = NextValue();
            if (t == vaInt8 || t == vaInt16 || t == vaInt32)
                ReadInt64();
            CheckValue(vaList);
            while (!EndOfList()) {
                ReadStr();
                SkipValue();
            }
            ReadListEnd();
        }
        ReadListEnd();
        --FDepth;
        break;
    }
}

// ---------------------------------------------------------------------------------------------

void TBinaryWriter::WritePrefix(int flags, qint32 position)
{
    if (flags == 0)
        return;
    FOut.append(char(0xF0 | flags));
    if (flags & ffChildPos)
        WriteInteger(position);
}

void TBinaryWriter::WriteStr(QByteArrayView s)
{
    FOut.append(char(quint8(s.size())));
    FOut.append(s.data(), s.size());
}

void TBinaryWriter::WriteInteger(qint64 value)
{
    if (value >= -128 && value <= 127) {
        WriteValue(vaInt8);
        FOut.append(char(qint8(value)));
    } else if (value >= -32768 && value <= 32767) {
        WriteValue(vaInt16);
        const qint16 v = qToLittleEndian(qint16(value));
        Raw(&v, 2);
    } else if (value >= INT32_MIN && value <= INT32_MAX) {
        WriteValue(vaInt32);
        const qint32 v = qToLittleEndian(qint32(value));
        Raw(&v, 4);
    } else {
        WriteValue(vaInt64);
        const qint64 v = qToLittleEndian(value);
        Raw(&v, 8);
    }
}

void TBinaryWriter::WriteExtended(long double value)
{
    WriteValue(vaExtended);
    unsigned char buf[10];
    LongDoubleToExtended80(value, buf);
    Raw(buf, 10);
}

void TBinaryWriter::WriteDouble(double value)
{
    WriteValue(vaDouble);
    Raw(&value, 8);
}

void TBinaryWriter::WriteSingle(float value)
{
    WriteValue(vaSingle);
    Raw(&value, 4);
}

void TBinaryWriter::WriteCurrencyRaw(qint64 value)
{
    WriteValue(vaCurrency);
    const qint64 v = qToLittleEndian(value);
    Raw(&v, 8);
}

void TBinaryWriter::WriteDate(double value)
{
    WriteValue(vaDate);
    Raw(&value, 8);
}

void TBinaryWriter::WriteAnsiString(QByteArrayView s)
{
    if (s.size() <= 255) {
        WriteValue(vaString);
        FOut.append(char(quint8(s.size())));
    } else {
        WriteValue(vaLString);
        const qint32 n = qToLittleEndian(qint32(s.size()));
        Raw(&n, 4);
    }
    FOut.append(s.data(), s.size());
}

void TBinaryWriter::WriteWideString(const std::u16string& s)
{
    WriteValue(vaWString);
    const qint32 n = qToLittleEndian(qint32(s.size()));
    Raw(&n, 4);
    const qsizetype start = FOut.size();
    FOut.resize(start + qsizetype(s.size()) * 2);
    unsigned char* dst = reinterpret_cast<unsigned char*>(FOut.data() + start);
    for (char16_t c : s) {
        *dst++ = uchar(c & 0xFF);
        *dst++ = uchar(c >> 8);
    }
}

void TBinaryWriter::WriteString(const QString& s)
{
    bool ascii = true;
    for (QChar c : s)
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii) {
        WriteAnsiString(s.toLatin1());
    } else if (QStringView(s).isValidUtf16()) {
        const QByteArray utf8 = s.toUtf8();
        WriteValue(vaUTF8String);
        const qint32 n = qToLittleEndian(qint32(utf8.size()));
        Raw(&n, 4);
        FOut.append(utf8);
    } else { // a surrogate alone, which UTF-8 cannot hold
        WriteWideString(std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), size_t(s.size())));
    }
}

void TBinaryWriter::WriteIdent(QByteArrayView ident)
{
    if (ident.compare("False", Qt::CaseInsensitive) == 0)
        WriteValue(vaFalse);
    else if (ident.compare("True", Qt::CaseInsensitive) == 0)
        WriteValue(vaTrue);
    else if (ident.compare("nil", Qt::CaseInsensitive) == 0)
        WriteValue(vaNil);
    else if (ident.compare("Null", Qt::CaseInsensitive) == 0)
        WriteValue(vaNull);
    else {
        WriteValue(vaIdent);
        WriteStr(ident);
    }
}

void TBinaryWriter::WriteBinary(QByteArrayView data)
{
    WriteValue(vaBinary);
    const qint32 n = qToLittleEndian(qint32(data.size()));
    Raw(&n, 4);
    FOut.append(data.data(), data.size());
}

QByteArray TBinaryWriter::ResourceHeader(const QByteArray& upperName, quint32 dataSize)
{
    QByteArray h;
    h.append(char(0xFF));
    h.append(char(10));
    h.append(char(0));
    h.append(upperName);
    h.append(char(0));
    h.append(char(0x30));
    h.append(char(0x10));
    const quint32 size = qToLittleEndian(dataSize);
    h.append(reinterpret_cast<const char*>(&size), 4);
    return h;
}

} // namespace KvFormBinary
