#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <string>

// The binary form format: value tags, object headers and the resource wrapping, read and written
// with bounds checks. Shared by the format conversions and the component reader and writer.
namespace KvFormBinary {

enum TValueType : unsigned char {
    vaNull, vaList, vaInt8, vaInt16, vaInt32, vaExtended, vaString, vaIdent, vaFalse, vaTrue, vaBinary,
    vaSet, vaLString, vaNil, vaCollection, vaSingle, vaCurrency, vaDate, vaWString, vaInt64,
    vaUTF8String, vaDouble
};

enum TFilerFlag { ffInherited = 1, ffChildPos = 2, ffInline = 4 };

struct TObjectHeader
{
    int Flags = 0;
    qint32 Position = -1;
    QByteArray ClassName;
    QByteArray ObjectName;
};

struct TResourceHeader
{
    QByteArray Name;
    qsizetype DataOffset = 0;
    qsizetype DataSize = 0;
};

// Reads from a byte array it shares; views it returns stay valid as long as the reader lives.
class TBinaryReader
{
public:
    explicit TBinaryReader(QByteArray data);

    qint64 Position() const { return FPos; }
    void SetPosition(qint64 Value) { FPos = qsizetype(Value); } // back to a position read before
    bool AtEnd() const { return FPos >= FSize; }
    [[noreturn]] void Fail(const QString& reason) const;
    [[noreturn]] void FailAt(const QString& reason, qint64 offset) const;

    void ReadSignature();
    TValueType NextValue() const;
    TValueType ReadValue();
    void CheckValue(TValueType type);
    bool EndOfList() const;
    void ReadListEnd();
    TObjectHeader ReadHeader();
    TResourceHeader ReadResourceHeader();

    QByteArrayView ReadStr();          // a length-prefixed short string (names, set elements)
    qint64 ReadInt64();                // any integer kind
    long double ReadFloat();           // extended or double
    float ReadSingle();
    qint64 ReadCurrencyRaw();          // the value times 10000
    double ReadDate();
    QByteArrayView ReadAnsiString();   // short or long 8-bit string
    QString ReadWideString();          // UTF-16 or UTF-8 string
    QString ReadString();              // any string kind; 8-bit strings are Latin-1
    QByteArrayView ReadIdent();        // identifiers and False, True, nil, Null
    QByteArray ReadBinary();
    void SkipValue();

private:
    QByteArray FData;
    const unsigned char* FBytes;
    qsizetype FSize;
    qsizetype FPos = 0;
    int FDepth = 0;

    void Need(qsizetype count) const;
    quint8 Byte();
    qint32 Int32();
    QString ValueName(TValueType type) const;
};

class TBinaryWriter
{
public:
    void Reserve(qsizetype size) { FOut.reserve(size); }
    QByteArray Take() { return std::move(FOut); }
    const QByteArray& Data() const { return FOut; }
    QByteArray& Buffer() { return FOut; } // for values written in place

    void WriteSignature() { FOut.append("TPF0", 4); }
    void WriteValue(TValueType type) { FOut.append(char(type)); }
    void WriteListBegin() { WriteValue(vaList); }
    void WriteListEnd() { FOut.append('\0'); }
    void WritePrefix(int flags, qint32 position);
    void WriteStr(QByteArrayView s);   // callers keep it to 255 bytes
    void WriteInteger(qint64 value);   // the smallest integer kind that holds it
    void WriteExtended(long double value);
    void WriteDouble(double value);
    void WriteSingle(float value);
    void WriteCurrencyRaw(qint64 value);
    void WriteDate(double value);
    void WriteAnsiString(QByteArrayView s);
    void WriteWideString(const std::u16string& s);
    void WriteString(const QString& s); // 8-bit when ASCII, else UTF-8
    void WriteIdent(QByteArrayView ident); // False, True, nil and Null get their own kinds
    void WriteBoolean(bool value) { WriteValue(value ? vaTrue : vaFalse); }
    void WriteBinary(QByteArrayView data);

    static QByteArray ResourceHeader(const QByteArray& upperName, quint32 dataSize);

private:
    QByteArray FOut;
    void Raw(const void* p, qsizetype n) { FOut.append(static_cast<const char*>(p), n); }
};

// UTF-8 to UTF-16 keeping a leading U+FEFF, which is a character of the string, not a mark.
QString Utf8ToString(QByteArrayView bytes);

// 80-bit extended precision as stored in the stream.
void LongDoubleToExtended80(long double value, unsigned char out[10]);
long double Extended80ToLongDouble(const unsigned char in[10]);

} // namespace KvFormBinary
