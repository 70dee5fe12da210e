#include "KvPkgPrivileges.h"

#include "KvPkgFormat.h"

#include <QMetaEnum>

// Content of the privileges format (version 1): the key, the read-state switch, then a u32
// count of privileges, each i32 id, u8 flags (bit 0 protected, bit 1 visible), i32 access, the
// description, the label's package name and i32 label id.

namespace {

constexpr quint8 FlagProtected = 0x01;
constexpr quint8 FlagVisible = 0x02;
constexpr int MinItemSize = 4 + 1 + 4 + 4 + 4 + 4;

struct TPrivilegesContent : TKvPkgInfo::TContent
{
    TKvPkgPrivilegesItems Items{nullptr};
    QString Key;
    bool ReadStateDisableControl = false;
};

void CheckAccess(int Value)
{
    if (Value < TKvPkgPrivilegesItem::AccessNone || Value > TKvPkgPrivilegesItem::AccessReadWrite)
        throw EKvPkgError(QStringLiteral("Access %1 is not valid (0 none, 1 read, 2 read/write)").arg(Value));
}

// Template files share the privileges format under their own signature; their key is empty and
// their read-state switch off.
class TPrivilegesTemplate final : public TKvPkgPrivileges
{
public:
    QString DefaultExt() const override { return QStringLiteral("pri"); }

protected:
    QByteArray FileTag() const override { return QByteArrayLiteral("PRTM"); }
};

void CheckLabelId(int Id)
{
    if (Id < -1)
        throw EKvPkgError(QStringLiteral("Label id %1 is not valid: -1 (none) or 0 and greater").arg(Id));
}

} // namespace

void TKvPkgPrivilegesItem::SetAccess(int Value)
{
    CheckAccess(Value);
    if (Value == FAccess)
        return;
    FAccess = Value;
    Changed();
}

void TKvPkgPrivilegesItem::SetDescription(const QString& Value)
{
    if (Value == FDescription)
        return;
    FDescription = Value;
    Changed();
}

void TKvPkgPrivilegesItem::SetDescriptionId(const QString& PkgName, int Id)
{
    CheckLabelId(Id);
    if (PkgName == FDescriptionPkgName && Id == FDescriptionId)
        return;
    FDescriptionPkgName = PkgName;
    FDescriptionId = Id;
    Changed();
}

void TKvPkgPrivilegesItem::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    FVisible = Value;
    Changed();
}

TKvPkgPrivilegesItem* TKvPkgPrivilegesItems::Add(int Id)
{
    CheckId(Id, nullptr);
    auto* item = new TKvPkgPrivilegesItem(this, Id);
    Append(item);
    return item;
}

// ---------------------------------------------------------------------------------------------

TKvPkgPrivileges::TKvPkgPrivileges(TComponent* AOwner)
    : TKvPkgInfo(AOwner), FItems(std::make_unique<TKvPkgPrivilegesItems>(this))
{
}

TKvPkgPrivileges::~TKvPkgPrivileges() = default;

void TKvPkgPrivileges::SetKey(const QString& Value)
{
    if (Value == FKey)
        return;
    FKey = Value;
    SetModified(true);
}

void TKvPkgPrivileges::SetReadStateDisableControl(bool Value)
{
    if (Value == FReadStateDisableControl)
        return;
    FReadStateDisableControl = Value;
    SetModified(true);
}

void TKvPkgPrivileges::Clear() { FItems->Clear(); }

std::unique_ptr<TKvPkgInfo::TContent> TKvPkgPrivileges::ReadContent(TKvPkgReader& R, quint16) const
{
    auto c = std::make_unique<TPrivilegesContent>();
    c->Key = R.ReadString();
    c->ReadStateDisableControl = KvReadBool(R);
    const int count = R.ReadCount(MinItemSize);
    c->Items.Reserve(count);
    for (int i = 0; i < count; ++i) {
        const qint64 at = R.Position();
        const qint32 id = R.ReadI32();
        if (id < 0)
            R.FailAt(QStringLiteral("Privilege id %1 is negative").arg(id), at);
        if (c->Items.FindId(id))
            R.FailAt(QStringLiteral("Privilege id %1 is used twice").arg(id), at);
        const quint8 flags = R.ReadU8();
        if (flags & ~(FlagProtected | FlagVisible))
            R.FailAt(QStringLiteral("unknown item flags %1").arg(flags), at + 4);
        const int access = KvReadRange(R, 0, 2, "Access");
        const QString description = R.ReadString();
        const QString labelPkg = R.ReadString();
        const int labelId = KvReadRange(R, -1, INT_MAX, "Label id");
        TKvPkgPrivilegesItem* item = c->Items.Add(id);
        item->SetProtected(flags & FlagProtected);
        item->SetVisible(flags & FlagVisible);
        item->SetAccess(access);
        item->SetDescription(description);
        item->SetDescriptionId(labelPkg, labelId);
    }
    return c;
}

void TKvPkgPrivileges::CommitContent(TContent& Content)
{
    auto& c = static_cast<TPrivilegesContent&>(Content);
    FItems->Swap(c.Items);
    FKey = c.Key;
    FReadStateDisableControl = c.ReadStateDisableControl;
}

void TKvPkgPrivileges::WriteContent(TKvPkgWriter& W) const
{
    W.WriteString(FKey);
    KvWriteBool(W, FReadStateDisableControl);
    W.WriteU32(quint32(FItems->Count()));
    for (int i = 0; i < FItems->Count(); ++i) {
        const TKvPkgPrivilegesItem* item = FItems->GetItems(i);
        W.WriteI32(item->Id());
        W.WriteU8((item->Protected() ? FlagProtected : 0) | (item->Visible() ? FlagVisible : 0));
        W.WriteI32(item->Access());
        W.WriteString(item->Description());
        W.WriteString(item->DescriptionPkgName());
        W.WriteI32(item->DescriptionId());
    }
}

void TKvPkgPrivileges::LoadTemplateFromFile(const QString& FileName)
{
    TPrivilegesTemplate read;
    read.LoadFromFile(FileName);
    FItems->Swap(*static_cast<TKvPkgPrivileges&>(read).FItems);
    SetModified(true);
}

void TKvPkgPrivileges::SaveTemplateToFile(const QString& FileName) const
{
    TPrivilegesTemplate written;
    for (int i = 0; i < Count(); ++i) {
        const TKvPkgPrivilegesItem* from = GetItems(i);
        TKvPkgPrivilegesItem* to = written.Add(from->Id());
        to->SetProtected(from->Protected());
        to->SetVisible(from->Visible());
        to->SetAccess(from->Access());
        to->SetDescription(from->Description());
        to->SetDescriptionId(from->DescriptionPkgName(), from->DescriptionId());
    }
    written.SaveToFile(FileName);
}

QStringList KvAccessNames()
{
    const QMetaEnum e = QMetaEnum::fromType<TKvPkgPrivileges::TKvAccess>();
    QStringList names;
    for (int i = 0; i < e.keyCount(); ++i)
        names << QString::fromLatin1(e.key(i));
    return names;
}

QString KvAccessText(int Access)
{
    CheckAccess(Access);
    static const char* const Texts[] = {"None", "Read", "Read/Write"};
    return QString::fromLatin1(Texts[Access]);
}

QString KvReadPkgAccessDescription(const QString& FileName)
{
    return KvReadPkgDescription(FileName, QByteArrayLiteral("PRIV"));
}
