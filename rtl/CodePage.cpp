#include "CodePage.h"

#include "SysUtils.h"

#include <QHash>
#include <QMutex>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace {

bool IsAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
}

bool IsAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

// Whether a page maps ASCII to itself both ways: most strings are ASCII and then need no
// converter, whose making costs more than the conversion.
bool KeepsAscii(const QByteArray& name)
{
    static QMutex mutex;
    static QHash<QByteArray, bool> known;
    QMutexLocker lock(&mutex);
    const auto it = known.constFind(name);
    if (it != known.cend())
        return *it;
    QByteArray ascii(128, Qt::Uninitialized);
    for (int c = 0; c < 128; ++c)
        ascii[c] = char(c);
    QStringDecoder decoder(name.constData());
    QStringEncoder encoder(name.constData());
    const QString text = decoder.decode(ascii);
    const bool same = !decoder.hasError() && text == QLatin1StringView(ascii) && encoder.encode(text) == ascii
        && !encoder.hasError();
    known.insert(name, same);
    return same;
}

} // namespace

// A converter is made for each call: ICU converters do not survive being moved or reset here.
TCodePage::TCodePage(const QString& name) : FName(name), FLatinName(name.toLatin1())
{
    if (!IsKnown(name))
        throw EConvertError(QStringLiteral("Unknown code page '%1' (known are for example windows-1252, windows-1250 "
                                           "to windows-1258, GBK, Big5, Shift_JIS, EUC-KR)")
                                .arg(name));
}

bool TCodePage::IsKnown(const QString& name)
{
    const QByteArray n = name.toLatin1();
    return !name.isEmpty() && QStringDecoder(n.constData()).isValid() && QStringEncoder(n.constData()).isValid();
}

QString TCodePage::Decode(QByteArrayView bytes) const
{
    if (IsAscii(bytes) && KeepsAscii(FLatinName))
        return QString::fromLatin1(bytes.data(), bytes.size());
    QStringDecoder decoder(FLatinName.constData(), QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

QByteArray TCodePage::Encode(QStringView text, bool* lossless) const
{
    if (IsAscii(text) && KeepsAscii(FLatinName)) {
        if (lossless)
            *lossless = true;
        return text.toLatin1();
    }
    QStringEncoder encoder(FLatinName.constData());
    QByteArray out = encoder.encode(text);
    if (lossless)
        *lossless = !encoder.hasError();
    return out;
}
