#include "KvReferences.h"

#include "KvPkgImages.h"
#include "KvPkgStrings.h"

namespace {

TKvPrivilegeLookup& PrivilegeLookup()
{
    static TKvPrivilegeLookup lookup;
    return lookup;
}

template <class TItem, class TList>
TItem* FindTarget(const TKvMemoryReference* Ref, TList* (TKvPkgStrings::*List)() const)
{
    const int id = Ref->TargetId();
    if (id < 0)
        return nullptr;
    TKvPkgStrings* pkg = KvFindPkgStrings(Ref->TargetPkgName());
    return pkg ? (pkg->*List)()->FindId(id) : nullptr;
}

} // namespace

TKvMemoryReference::TKvMemoryReference(QObject* Owner) : TPersistent(Owner) {}

TKvMemoryReference::TKvMemoryReference(QObject* Owner, const QString& DefaultPkgName, int DefaultId)
    : TPersistent(Owner), FId(IdDefault), FHasDefault(true), FDefaultPkgName(DefaultPkgName), FDefaultId(DefaultId)
{
}

void TKvMemoryReference::SetPkgName(const QString& Value)
{
    if (Value == FPkgName)
        return;
    FPkgName = Value;
    emit Changed();
}

void TKvMemoryReference::SetId(int Value)
{
    if (Value == FId)
        return;
    FId = Value;
    emit Changed();
}

void TKvMemoryReference::PkgId(const QString& PkgName, int Id)
{
    if (PkgName == FPkgName && Id == FId)
        return;
    FPkgName = PkgName;
    FId = Id;
    emit Changed();
}

QString TKvMemoryReference::TargetPkgName() const
{
    return (FId == IdDefault && FHasDefault) ? FDefaultPkgName : FPkgName;
}

int TKvMemoryReference::TargetId() const
{
    if (FId == IdDefault)
        return FHasDefault && FDefaultId >= 0 ? FDefaultId : IdNone;
    return FId < 0 ? IdNone : FId;
}

void TKvMemoryReference::Assign(TPersistent* Source)
{
    auto* source = qobject_cast<TKvMemoryReference*>(Source);
    if (!source || source->metaObject() != metaObject())
        AssignError(Source);
    PkgId(source->FPkgName, source->FId);
}

TKvPkgStringsLabel* TKvMemoryLabel::Label() const
{
    return FindTarget<TKvPkgStringsLabel>(this, &TKvPkgStrings::Labels);
}

QString TKvMemoryLabel::Text() const
{
    const TKvPkgStringsLabel* label = Label();
    return label ? label->Text() : QString();
}

QString TKvMemoryLabel::Hint() const
{
    const TKvPkgStringsLabel* label = Label();
    return label ? label->Hint() : QString();
}

TKvPkgStringsMessage* TKvMemoryMessage::Message() const
{
    return FindTarget<TKvPkgStringsMessage>(this, &TKvPkgStrings::Messages);
}

QString TKvMemoryMessage::Text() const
{
    const TKvPkgStringsMessage* message = Message();
    return message ? message->Text() : QString();
}

TKvPkgStringsText* TKvMemoryText::Item() const { return FindTarget<TKvPkgStringsText>(this, &TKvPkgStrings::Texts); }

QString TKvMemoryText::Text() const
{
    const TKvPkgStringsText* text = Item();
    return text ? text->Text() : QString();
}

TKvPkgImagesImage* TKvMemoryImage::Image() const
{
    const int id = TargetId();
    if (id < 0)
        return nullptr;
    TKvPkgImages* pkg = KvFindPkgImages(TargetPkgName());
    return pkg ? pkg->Images()->FindId(id) : nullptr;
}

QImage TKvMemoryImage::Graphic() const
{
    const TKvPkgImagesImage* image = Image();
    return image ? image->Graphic() : QImage();
}

// ---------------------------------------------------------------------------------------------

TKvSetReference::TKvSetReference(QObject* Owner, const QString& Name) : TPersistent(Owner), FName(Name) {}

void TKvSetReference::SetName(const QString& Value)
{
    if (Value == FName)
        return;
    FName = Value;
    emit Changed();
}

void TKvSetReference::Assign(TPersistent* Source)
{
    auto* source = qobject_cast<TKvSetReference*>(Source);
    if (!source || source->metaObject() != metaObject())
        AssignError(Source);
    SetName(source->FName);
}

void KvNameDefaultSets(const QString& Prefix, TKvSetColor* Color, TKvSetFont* Font, TKvSetBackGround* BackGround)
{
    if (Color)
        Color->SetDefaultSet(Prefix + QStringLiteral("Color"));
    if (Font)
        Font->SetDefaultSet(Prefix + QStringLiteral("Font"));
    if (BackGround)
        BackGround->SetDefaultSet(Prefix + QStringLiteral("BackGround"));
}

// ---------------------------------------------------------------------------------------------

void KvSetPrivilegeLookup(TKvPrivilegeLookup Lookup) { PrivilegeLookup() = std::move(Lookup); }

TKvPrivilege::TKvPrivilege(QObject* Owner) : TPersistent(Owner) {}

void TKvPrivilege::SetId(int Value)
{
    if (Value == FId)
        return;
    FId = Value;
    emit Changed();
}

void TKvPrivilege::SetAccess(int Value)
{
    if (Value < AccessNone || Value > AccessReadWrite)
        throw EConvertError(QStringLiteral("%1 is not a valid access (0 none, 1 read, 2 read/write)").arg(Value));
    if (Value == FAccess)
        return;
    FAccess = quint8(Value);
    emit Changed();
}

std::optional<TKvPrivilegeInfo> TKvPrivilege::Info() const
{
    if (FId < 0 || !PrivilegeLookup())
        return std::nullopt;
    return PrivilegeLookup()(FId);
}

void TKvPrivilege::Assign(TPersistent* Source)
{
    auto* source = qobject_cast<TKvPrivilege*>(Source);
    if (!source)
        AssignError(Source);
    SetId(source->FId);
    SetAccess(source->FAccess);
}
