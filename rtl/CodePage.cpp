#include "CodePage.h"

#include "SysUtils.h"

#include <QStringDecoder>
#include <QStringEncoder>

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
    QStringDecoder decoder(FLatinName.constData(), QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

QByteArray TCodePage::Encode(QStringView text, bool* lossless) const
{
    QStringEncoder encoder(FLatinName.constData());
    QByteArray out = encoder.encode(text);
    if (lossless)
        *lossless = !encoder.hasError();
    return out;
}
