#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// An 8-bit code page (Windows-1252, GBK, Shift_JIS, windows-125x ...) for the raw 8-bit strings
// that older designers stored: decodes them to characters and encodes characters back.
// Names are those of ICU/Qt ("windows-1252", "cp1252", "GBK", "cp936", "Shift_JIS", "cp932").
class TCodePage
{
public:
    static constexpr const char* DefaultName = "windows-1252";

    // Raises EConvertError "Unknown code page 'NAME'" when this system cannot convert it.
    explicit TCodePage(const QString& name = QString::fromLatin1(DefaultName));

    static bool IsKnown(const QString& name);
    QString Name() const { return FName; }

    QString Decode(QByteArrayView bytes) const;
    // `lossless`, when given, is cleared if a character has no code in this page (it becomes '?').
    QByteArray Encode(QStringView text, bool* lossless = nullptr) const;

private:
    QString FName;
    QByteArray FLatinName;
};
