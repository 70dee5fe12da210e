#include "KvTypes.h"

#include "SysUtils.h"

void KvRegisterTypes()
{
    static const bool Done = [] {
        QMetaType::registerConverter<TKvMultiLine, QString>(&TKvMultiLine::Text);
        QMetaType::registerConverter<QString, TKvMultiLine>([](const QString& S) { return TKvMultiLine(S); });
        return true;
    }();
    Q_UNUSED(Done);
}

namespace {
// Before any property list is built: the form streams decide a property's kind only once.
[[maybe_unused]] const bool TypesRegistered = (KvRegisterTypes(), true);
} // namespace

// ---------------------------------------------------------------------------------------------
// TKvMask

TKvMask::TKvMask(QObject* Owner, TKvDataType ADataType) : TPersistent(Owner), FDataType(ADataType) {}

void TKvMask::SetDataType(TKvDataType Value)
{
    if (Value == FDataType)
        return;
    FDataType = Value;
    DoChanged();
}

void TKvMask::SetTake(TKvMaskTake Value)
{
    if (Value == FTake)
        return;
    FTake = Value;
    DoChanged();
}

void TKvMask::SetSize(int Value)
{
    if (Value < 0 || Value > MaxSize)
        throw EConvertError(QStringLiteral("%1 is not a valid mask size (0 to %2)").arg(Value).arg(MaxSize));
    if (Value == FSize)
        return;
    FSize = Value;
    DoChanged();
}

void TKvMask::SetDecimals(int Value)
{
    if (Value < 0 || Value > MaxDecimals)
        throw EConvertError(
            QStringLiteral("%1 is not a valid number of decimals (0 to %2)").arg(Value).arg(MaxDecimals));
    if (Value == FDecimals)
        return;
    FDecimals = Value;
    DoChanged();
}

void TKvMask::SetYearStyle(TKvDateYear Value)
{
    if (Value == FYearStyle)
        return;
    FYearStyle = Value;
    DoChanged();
}

void TKvMask::SetText(const QString& Value)
{
    if (Value == FText)
        return;
    FText = Value;
    DoChanged();
}

QString TKvMask::DefaultOptions(TKvDataType ADataType)
{
    switch (ADataType) {
    case KvTypes::dtInteger:
        return QStringLiteral(">");
    case KvTypes::dtFloat:
    case KvTypes::dtCurrency:
        return QStringLiteral(">.-&");
    case KvTypes::dtString:
    case KvTypes::dtMemo:
        return QStringLiteral("<sadw");
    case KvTypes::dtDateTime:
        return QStringLiteral("<dmy");
    case KvTypes::dtBoolean:
        break;
    }
    return QString();
}

void TKvMask::Assign(TPersistent* Source)
{
    auto* Mask = qobject_cast<TKvMask*>(Source);
    if (!Mask) {
        TPersistent::Assign(Source);
        return;
    }
    FDataType = Mask->FDataType;
    FTake = Mask->FTake;
    FSize = Mask->FSize;
    FDecimals = Mask->FDecimals;
    FYearStyle = Mask->FYearStyle;
    FText = Mask->FText;
    DoChanged();
}

// ---------------------------------------------------------------------------------------------
// TKvPen

TKvPen::TKvPen(QObject* Owner) : TPersistent(Owner) {}

void TKvPen::SetColor(int Value)
{
    if (Value == FColor)
        return;
    FColor = Value;
    emit Changed();
}

void TKvPen::SetWidth(int Value)
{
    if (Value < 1)
        throw EConvertError(QStringLiteral("%1 is not a valid pen width").arg(Value));
    if (Value == FWidth)
        return;
    FWidth = Value;
    emit Changed();
}

void TKvPen::SetStyle(KvTypes::TKvPenStyle Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    emit Changed();
}

void TKvPen::Assign(TPersistent* Source)
{
    auto* Pen = qobject_cast<TKvPen*>(Source);
    if (!Pen) {
        TPersistent::Assign(Source);
        return;
    }
    FColor = Pen->FColor;
    FWidth = Pen->FWidth;
    FStyle = Pen->FStyle;
    emit Changed();
}

// ---------------------------------------------------------------------------------------------

QString KvUniqueComponentName(const TComponent* Owner, const QString& ClassName)
{
    const QString Base = ClassName.startsWith(QLatin1Char('T'), Qt::CaseInsensitive) ? ClassName.mid(1) : ClassName;
    for (int I = 1;; ++I) {
        const QString Name = Base + QString::number(I);
        if (!Owner || !Owner->FindComponent(Name))
            return Name;
    }
}
