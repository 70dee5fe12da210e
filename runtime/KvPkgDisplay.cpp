#include "KvPkgDisplay.h"

#include "KvPkgFormat.h"

#include "Colors.h"
#include "KvReferences.h"

#include <QPainter>

// Content of the display format (version 3): three set lists (colour, font, background), each
// a u32 count of sets; a set is its name, description, label package name and i32 label id,
// then its own values (colours as i32 TColor, u32 ARGB in version 1; a font as its description
// text and a colour; a background's three colours, i32 style, u8 transparency, image package
// name and i32 id).
// Then the user colours (u32 count, u32 ARGB each), the last update file and time, since
// version 3 the common windows' ten metrics (i32 each) and window region flag (u8) and the
// hints' four metrics and flag, and the "System" and "User" images packages, each as its whole
// file image (u32 length, bytes). Older versions get the default metrics.

namespace {

constexpr int MinSetSize = 4 + 4 + 4 + 4;

struct TDisplayContent : TKvPkgInfo::TContent
{
    TKvSetColorList Colors{nullptr};
    TKvSetFontList Fonts{nullptr};
    TKvSetBackGroundList BackGrounds{nullptr};
    QList<QRgb> UserColors;
    QString LastUpdateFile;
    QDateTime UpdateDateTime;
    std::array<int, KvCWMetricCount> CW = KvDefaultCWMetrics;
    bool CWWinRgn = false;
    std::array<int, KvHiMetricCount> Hi = KvDefaultHiMetrics;
    bool HiWinRgn = false;
    TKvPkgInfo::TParsed System;
    TKvPkgInfo::TParsed User;
};

const QString DefaultSetName = QStringLiteral("<Default>");

// A plain $00BBGGRR colour or one with a name (system colours, clNone, clDefault).
bool IsSetColor(TColor Value)
{
    return (quint32(Value.Value) >> 24) == 0 || ColorToString(Value.Value).startsWith(u"cl");
}

void CheckColor(TColor Value)
{
    if (!IsSetColor(Value))
        throw EKvPkgError(QStringLiteral("%1 is not a colour").arg(ColorToString(Value.Value)));
}

void WriteColor(TKvPkgWriter& W, TColor C) { W.WriteI32(C.Value); }

TColor ReadColor(TKvPkgReader& R, quint16 Version)
{
    const qint64 at = R.Position();
    if (Version < 2) {
        // Version 1 held ARGB; its alpha is dropped.
        const QRgb argb = R.ReadU32();
        return TColor{qint32(qRed(argb) | qGreen(argb) << 8 | qBlue(argb) << 16)};
    }
    const TColor c{R.ReadI32()};
    if (!IsSetColor(c))
        R.FailAt(QStringLiteral("%1 is not a colour").arg(ColorToString(c.Value)), at);
    return c;
}

template <class TList>
auto* ReadSetHead(TKvPkgReader& R, TList& List)
{
    const qint64 at = R.Position();
    const QString name = R.ReadString();
    try {
        List.CheckName(name, nullptr);
    } catch (const EKvPkgError& e) {
        R.FailAt(e.Message, at);
    }
    auto* set = List.Add(name);
    set->SetDescription(R.ReadString());
    const QString labelPkg = R.ReadString();
    set->SetDescriptionId(labelPkg, KvReadRange(R, -1, INT_MAX, "Label id"));
    return set;
}

void WriteSetHead(TKvPkgWriter& W, const TKvDisplaySet& Set)
{
    W.WriteString(Set.Name());
    W.WriteString(Set.Description());
    W.WriteString(Set.DescriptionPkgName());
    W.WriteI32(Set.DescriptionId());
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Sets

TKvDisplaySet::~TKvDisplaySet()
{
    if (FList) {
        FList->FItems.removeOne(this);
        FList->Changed();
    }
}

void TKvDisplaySet::Changed()
{
    if (FList)
        FList->Changed();
}

void TKvDisplaySet::SetName(const QString& Value)
{
    if (Value == FName)
        return;
    if (FList)
        FList->CheckName(Value, this);
    FName = Value;
    Changed();
}

void TKvDisplaySet::SetDescription(const QString& Value)
{
    if (Value == FDescription)
        return;
    FDescription = Value;
    Changed();
}

void TKvDisplaySet::SetDescriptionId(const QString& PkgName, int Id)
{
    if (Id < -1)
        throw EKvPkgError(QStringLiteral("Label id %1 is not valid: -1 (none) or 0 and greater").arg(Id));
    if (PkgName == FDescriptionPkgName && Id == FDescriptionId)
        return;
    FDescriptionPkgName = PkgName;
    FDescriptionId = Id;
    Changed();
}

void TKvSetColorItem::SetColor(TColor Value)
{
    CheckColor(Value);
    if (Value == FColor)
        return;
    FColor = Value;
    Changed();
}

void TKvSetFontItem::SetFont(const QFont& Value)
{
    if (Value == FFont)
        return;
    FFont = Value;
    Changed();
}

void TKvSetFontItem::SetFontColor(TColor Value)
{
    CheckColor(Value);
    if (Value == FFontColor)
        return;
    FFontColor = Value;
    Changed();
}

void TKvSetBackGroundItem::SetStartGraColor(TColor Value)
{
    CheckColor(Value);
    if (Value != FStartGraColor) {
        FStartGraColor = Value;
        Changed();
    }
}

void TKvSetBackGroundItem::SetEndGraColor(TColor Value)
{
    CheckColor(Value);
    if (Value != FEndGraColor) {
        FEndGraColor = Value;
        Changed();
    }
}

void TKvSetBackGroundItem::SetSolidColor(TColor Value)
{
    CheckColor(Value);
    if (Value != FSolidColor) {
        FSolidColor = Value;
        Changed();
    }
}

void TKvSetBackGroundItem::SetStyle(int Value)
{
    if (Value < 0 || Value >= KvBackGroundStyleCount)
        throw EKvPkgError(QStringLiteral("Background style %1 is not valid (0 to %2)").arg(Value).arg(KvBackGroundStyleCount - 1));
    if (Value != FStyle) {
        FStyle = Value;
        Changed();
    }
}

void TKvSetBackGroundItem::SetTransparent(bool Value)
{
    if (Value != FTransparent) {
        FTransparent = Value;
        Changed();
    }
}

void TKvSetBackGroundItem::SetImage(const QString& PkgName, int Id)
{
    if (Id < -1)
        throw EKvPkgError(QStringLiteral("Image id %1 is not valid: -1 (none) or 0 and greater").arg(Id));
    if (PkgName == FImagePkgName && Id == FImageId)
        return;
    FImagePkgName = PkgName;
    FImageId = Id;
    Changed();
}

TKvDisplaySets::~TKvDisplaySets()
{
    for (TKvDisplaySet* set : std::exchange(FItems, {})) {
        set->FList = nullptr;
        delete set;
    }
}

void TKvDisplaySets::Delete(int Index) { delete ItemAt(Index); }

void TKvDisplaySets::Clear()
{
    if (FItems.isEmpty())
        return;
    for (TKvDisplaySet* set : std::exchange(FItems, {})) {
        set->FList = nullptr;
        delete set;
    }
    Changed();
}

void TKvDisplaySets::CheckName(const QString& Name, const TKvDisplaySet* Set) const
{
    if (Name.trimmed().isEmpty())
        throw EKvPkgError(QStringLiteral("A %1 needs a name").arg(FNoun.toLower()));
    if (Name.compare(DefaultSetName, Qt::CaseInsensitive) == 0)
        throw EKvPkgError(QStringLiteral("'%1' names the default set and cannot name a %2").arg(Name, FNoun.toLower()));
    const TKvDisplaySet* holder = FindItem(Name);
    if (holder && holder != Set)
        throw EKvPkgError(QStringLiteral("%1 '%2' already exists").arg(FNoun, Name));
}

TKvDisplaySet* TKvDisplaySets::ItemAt(int Index) const
{
    if (Index < 0 || Index >= FItems.size())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FItems.at(Index);
}

TKvDisplaySet* TKvDisplaySets::FindItem(const QString& Name) const
{
    for (TKvDisplaySet* set : FItems)
        if (set->FName.compare(Name, Qt::CaseInsensitive) == 0)
            return set;
    return nullptr;
}

void TKvDisplaySets::Append(TKvDisplaySet* Set)
{
    FItems.append(Set);
    Changed();
}

void TKvDisplaySets::SwapItems(TKvDisplaySets& Other)
{
    FItems.swap(Other.FItems);
    for (TKvDisplaySet* set : std::as_const(FItems))
        set->FList = this;
    for (TKvDisplaySet* set : std::as_const(Other.FItems))
        set->FList = &Other;
}

void TKvDisplaySets::Changed()
{
    if (FPkg)
        FPkg->SetModified(true);
}

TKvSetColorItem* TKvSetColorList::Add(const QString& Name)
{
    CheckName(Name, nullptr);
    auto* set = new TKvSetColorItem(this, Name);
    Append(set);
    return set;
}

TKvSetFontItem* TKvSetFontList::Add(const QString& Name)
{
    CheckName(Name, nullptr);
    auto* set = new TKvSetFontItem(this, Name);
    Append(set);
    return set;
}

TKvSetBackGroundItem* TKvSetBackGroundList::Add(const QString& Name)
{
    CheckName(Name, nullptr);
    auto* set = new TKvSetBackGroundItem(this, Name);
    Append(set);
    return set;
}

// ---------------------------------------------------------------------------------------------
// TKvPkgDisplay

TKvPkgDisplay::TKvPkgDisplay(TComponent* AOwner)
    : TKvPkgInfo(AOwner), FSetsColor(std::make_unique<TKvSetColorList>(this)),
      FSetsFont(std::make_unique<TKvSetFontList>(this)),
      FSetsBackGround(std::make_unique<TKvSetBackGroundList>(this)), FSystem(new TKvPkgImages(this)),
      FUser(new TKvPkgImages(this))
{
    FSystem->SetName(QStringLiteral("PkgSystem"));
    FSystem->SetPkgName(QStringLiteral("System"));
    FSystem->SetContainer(this);
    FUser->SetName(QStringLiteral("PkgUser"));
    FUser->SetPkgName(QStringLiteral("User"));
    FUser->SetContainer(this);
}

TKvPkgDisplay::~TKvPkgDisplay() = default;

void TKvPkgDisplay::SetUserColors(const QList<QRgb>& Value)
{
    if (Value == FUserColors)
        return;
    FUserColors = Value;
    SetModified(true);
}

void TKvPkgDisplay::SetLastUpdateFile(const QString& Value)
{
    if (Value == FLastUpdateFile)
        return;
    FLastUpdateFile = Value;
    SetModified(true);
}

void TKvPkgDisplay::SetUpdateDateTime(const QDateTime& Value)
{
    if (Value == FUpdateDateTime)
        return;
    FUpdateDateTime = Value;
    SetModified(true);
}

namespace {

void CheckMetric(int Value)
{
    if (Value < 0 || Value > KvMaxDisplayMetric)
        throw EKvPkgError(QStringLiteral("Metric %1 is out of range (0 to %2)").arg(Value).arg(KvMaxDisplayMetric));
}

} // namespace

void TKvPkgDisplay::SetCWMetric(TKvCWMetric Which, int Value)
{
    CheckMetric(Value);
    if (FCW[Which] == Value)
        return;
    FCW[Which] = Value;
    SetModified(true);
}

void TKvPkgDisplay::SetCWWinRgn(bool Value)
{
    if (FCWWinRgn == Value)
        return;
    FCWWinRgn = Value;
    SetModified(true);
}

void TKvPkgDisplay::SetHiMetric(TKvHiMetric Which, int Value)
{
    CheckMetric(Value);
    if (FHi[Which] == Value)
        return;
    FHi[Which] = Value;
    SetModified(true);
}

void TKvPkgDisplay::SetHiWinRgn(bool Value)
{
    if (FHiWinRgn == Value)
        return;
    FHiWinRgn = Value;
    SetModified(true);
}

TColor TKvPkgDisplay::SetColorOf(const QString& Name, TColor Fallback) const
{
    const TKvSetColorItem* set = FSetsColor->Find(Name);
    return set ? set->Color() : Fallback;
}

void TKvPkgDisplay::PaintBackGround(QPainter& Painter, const QRect& Rect, const QString& Name, TColor Fallback) const
{
    const TKvSetBackGroundItem* set = FSetsBackGround->Find(Name);
    if (!set) {
        Painter.fillRect(Rect, QColor::fromRgb(ColorToRGB(Fallback.Value)));
        return;
    }
    QImage image;
    if (set->ImageId() >= 0)
        if (const TKvPkgImages* pkg = KvFindPkgImages(set->ImagePkgName()))
            if (const TKvPkgImagesImage* item = pkg->Images()->FindId(set->ImageId()))
                image = item->Graphic();
    KvDrawGradient(Painter, Rect, set->Style(), QColor::fromRgb(ColorToRGB(set->StartGraColor().Value)),
                   QColor::fromRgb(ColorToRGB(set->EndGraColor().Value)),
                   QColor::fromRgb(ColorToRGB(set->SolidColor().Value)), image, set->Transparent());
}

void TKvPkgDisplay::Clear()
{
    FSetsColor->Clear();
    FSetsFont->Clear();
    FSetsBackGround->Clear();
    FSystem->Clear();
    FUser->Clear();
}

std::unique_ptr<TKvPkgInfo::TContent> TKvPkgDisplay::ReadContent(TKvPkgReader& R, quint16 Version) const
{
    auto c = std::make_unique<TDisplayContent>();
    for (int i = 0, n = R.ReadCount(MinSetSize + 4); i < n; ++i)
        ReadSetHead(R, c->Colors)->SetColor(ReadColor(R, Version));
    for (int i = 0, n = R.ReadCount(MinSetSize + 8); i < n; ++i) {
        TKvSetFontItem* set = ReadSetHead(R, c->Fonts);
        const qint64 at = R.Position();
        QFont font;
        if (!font.fromString(R.ReadString()))
            R.FailAt(QStringLiteral("the font of set '%1' cannot be read").arg(set->Name()), at);
        set->SetFont(font);
        set->SetFontColor(ReadColor(R, Version));
    }
    for (int i = 0, n = R.ReadCount(MinSetSize + 25); i < n; ++i) {
        TKvSetBackGroundItem* set = ReadSetHead(R, c->BackGrounds);
        set->SetStartGraColor(ReadColor(R, Version));
        set->SetEndGraColor(ReadColor(R, Version));
        set->SetSolidColor(ReadColor(R, Version));
        set->SetStyle(KvReadRange(R, 0, KvBackGroundStyleCount - 1, "Background style"));
        set->SetTransparent(KvReadBool(R));
        const QString imagePkg = R.ReadString();
        set->SetImage(imagePkg, KvReadRange(R, -1, INT_MAX, "Image id"));
    }
    for (int i = 0, n = R.ReadCount(4); i < n; ++i)
        c->UserColors << R.ReadU32();
    c->LastUpdateFile = R.ReadString();
    c->UpdateDateTime = KvReadDateTime(R);
    if (Version >= 3) {
        for (int& v : c->CW)
            v = KvReadRange(R, 0, KvMaxDisplayMetric, "Common window metric");
        c->CWWinRgn = KvReadBool(R);
        for (int& v : c->Hi)
            v = KvReadRange(R, 0, KvMaxDisplayMetric, "Hint metric");
        c->HiWinRgn = KvReadBool(R);
    }
    c->System = KvReadContained(R, *FSystem, QStringLiteral("System images"));
    c->User = KvReadContained(R, *FUser, QStringLiteral("User images"));
    return c;
}

void TKvPkgDisplay::CommitContent(TContent& Content)
{
    auto& c = static_cast<TDisplayContent&>(Content);
    FSetsColor->Swap(c.Colors);
    FSetsFont->Swap(c.Fonts);
    FSetsBackGround->Swap(c.BackGrounds);
    FUserColors = c.UserColors;
    FLastUpdateFile = c.LastUpdateFile;
    FUpdateDateTime = c.UpdateDateTime;
    FCW = c.CW;
    FCWWinRgn = c.CWWinRgn;
    FHi = c.Hi;
    FHiWinRgn = c.HiWinRgn;
    FSystem->CommitParsed(c.System);
    FUser->CommitParsed(c.User);
}

void TKvPkgDisplay::WriteContent(TKvPkgWriter& W) const
{
    W.WriteU32(quint32(FSetsColor->Count()));
    for (int i = 0; i < FSetsColor->Count(); ++i) {
        const TKvSetColorItem* set = FSetsColor->GetItems(i);
        WriteSetHead(W, *set);
        WriteColor(W, set->Color());
    }
    W.WriteU32(quint32(FSetsFont->Count()));
    for (int i = 0; i < FSetsFont->Count(); ++i) {
        const TKvSetFontItem* set = FSetsFont->GetItems(i);
        WriteSetHead(W, *set);
        W.WriteString(set->Font().toString());
        WriteColor(W, set->FontColor());
    }
    W.WriteU32(quint32(FSetsBackGround->Count()));
    for (int i = 0; i < FSetsBackGround->Count(); ++i) {
        const TKvSetBackGroundItem* set = FSetsBackGround->GetItems(i);
        WriteSetHead(W, *set);
        WriteColor(W, set->StartGraColor());
        WriteColor(W, set->EndGraColor());
        WriteColor(W, set->SolidColor());
        W.WriteI32(set->Style());
        KvWriteBool(W, set->Transparent());
        W.WriteString(set->ImagePkgName());
        W.WriteI32(set->ImageId());
    }
    W.WriteU32(quint32(FUserColors.size()));
    for (QRgb c : FUserColors)
        W.WriteU32(c);
    W.WriteString(FLastUpdateFile);
    KvWriteDateTime(W, FUpdateDateTime);
    for (int v : FCW)
        W.WriteI32(v);
    KvWriteBool(W, FCWWinRgn);
    for (int v : FHi)
        W.WriteI32(v);
    KvWriteBool(W, FHiWinRgn);
    W.WriteBytes(FSystem->SaveToBytes());
    W.WriteBytes(FUser->SaveToBytes());
}

QString KvReadPkgDisplayDescription(const QString& FileName)
{
    return KvReadPkgDescription(FileName, QByteArrayLiteral("DISP"));
}

void KvPaintSkin(QPainter& Painter, const QRect& Rect, const TKvPkgDisplay* Display, const TKvMemoryImage* Image,
                 const TKvMemoryImage* Image2, const QString& BackGround, bool Transparent, int BorderWidth,
                 int BorderHeight)
{
    if (Rect.isEmpty())
        return;
    const TColor Face{KvColors::clBtnFace};
    if (Display)
        Display->PaintBackGround(Painter, Rect, BackGround, Face);
    else
        Painter.fillRect(Rect, QColor::fromRgb(ColorToRGB(Face.Value)));
    for (const TKvMemoryImage* layer : {Image, Image2})
        if (layer)
            KvDrawSkinImage(Painter, Rect, layer->Graphic(), Transparent, BorderWidth, BorderHeight);
}
