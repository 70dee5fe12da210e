#include "KvPkgStrings.h"

// Content of the strings format (version 1): three lists, labels, messages, texts. Each is a
// u32 count, then per item i32 id, u8 flags (bit 0 protected) and the text (u32 length, UTF-8);
// a label adds its hint the same way.

namespace {

constexpr quint8 FlagProtected = 0x01;
constexpr int MinItemSize = 4 + 1 + 4; // id, flags, empty text

struct TStringsContent : TKvPkgInfo::TContent
{
    TKvPkgStringsLabels Labels{nullptr};
    TKvPkgStringsMessages Messages{nullptr};
    TKvPkgStringsTexts Texts{nullptr};
};

// Reads one item's id and flags, refusing what the lists would refuse.
template <class TList>
int ReadItemHead(TKvPkgReader& R, const TList& List, bool& Protected)
{
    const qint64 at = R.Position();
    const qint32 id = R.ReadI32();
    if (id < 0)
        R.FailAt(QStringLiteral("%1 id %2 is negative").arg(List.ItemNoun()).arg(id), at);
    if (List.FindId(id))
        R.FailAt(QStringLiteral("%1 id %2 is used twice").arg(List.ItemNoun()).arg(id), at);
    const quint8 flags = R.ReadU8();
    if (flags & ~FlagProtected)
        R.FailAt(QStringLiteral("unknown item flags %1").arg(flags), at + 4);
    Protected = flags & FlagProtected;
    return id;
}

template <class TList>
void ReadSimpleList(TKvPkgReader& R, TList& List)
{
    const int count = R.ReadCount(MinItemSize);
    List.Reserve(count);
    for (int i = 0; i < count; ++i) {
        bool prot = false;
        const int id = ReadItemHead(R, List, prot);
        List.Add(id, R.ReadString())->SetProtected(prot);
    }
}

template <class TList>
void WriteSimpleList(TKvPkgWriter& W, const TList& List)
{
    W.WriteU32(quint32(List.Count()));
    for (int i = 0; i < List.Count(); ++i) {
        const auto* item = List.GetItems(i);
        W.WriteI32(item->Id());
        W.WriteU8(item->Protected() ? FlagProtected : 0);
        W.WriteString(item->Text());
    }
}

} // namespace

void TKvPkgStringsItem::SetText(const QString& Value)
{
    if (Value == FText)
        return;
    FText = Value;
    Changed();
}

void TKvPkgStringsLabel::SetHint(const QString& Value)
{
    if (Value == FHint)
        return;
    FHint = Value;
    Changed();
}

TKvPkgStringsLabel* TKvPkgStringsLabels::Add(int Id, const QString& Text, const QString& Hint)
{
    CheckId(Id, nullptr);
    auto* item = new TKvPkgStringsLabel(this, Id, Text, Hint);
    Append(item);
    return item;
}

TKvPkgStringsMessage* TKvPkgStringsMessages::Add(int Id, const QString& Text)
{
    CheckId(Id, nullptr);
    auto* item = new TKvPkgStringsMessage(this, Id, Text);
    Append(item);
    return item;
}

TKvPkgStringsText* TKvPkgStringsTexts::Add(int Id, const QString& Text)
{
    CheckId(Id, nullptr);
    auto* item = new TKvPkgStringsText(this, Id, Text);
    Append(item);
    return item;
}

// ---------------------------------------------------------------------------------------------

TKvPkgStrings::TKvPkgStrings(TComponent* AOwner)
    : TKvPkgInfo(AOwner),
      FLabels(std::make_unique<TKvPkgStringsLabels>(this)),
      FMessages(std::make_unique<TKvPkgStringsMessages>(this)),
      FTexts(std::make_unique<TKvPkgStringsTexts>(this))
{
}

TKvPkgStrings::~TKvPkgStrings() = default;

void TKvPkgStrings::Clear()
{
    FLabels->Clear();
    FMessages->Clear();
    FTexts->Clear();
}

std::unique_ptr<TKvPkgInfo::TContent> TKvPkgStrings::ReadContent(TKvPkgReader& R, quint16) const
{
    auto content = std::make_unique<TStringsContent>();
    const int count = R.ReadCount(MinItemSize + 4);
    content->Labels.Reserve(count);
    for (int i = 0; i < count; ++i) {
        bool prot = false;
        const int id = ReadItemHead(R, content->Labels, prot);
        const QString text = R.ReadString();
        content->Labels.Add(id, text, R.ReadString())->SetProtected(prot);
    }
    ReadSimpleList(R, content->Messages);
    ReadSimpleList(R, content->Texts);
    return content;
}

void TKvPkgStrings::CommitContent(TContent& Content)
{
    auto& c = static_cast<TStringsContent&>(Content);
    FLabels->Swap(c.Labels);
    FMessages->Swap(c.Messages);
    FTexts->Swap(c.Texts);
}

void TKvPkgStrings::WriteContent(TKvPkgWriter& W) const
{
    W.WriteU32(quint32(FLabels->Count()));
    for (int i = 0; i < FLabels->Count(); ++i) {
        const TKvPkgStringsLabel* item = FLabels->GetItems(i);
        W.WriteI32(item->Id());
        W.WriteU8(item->Protected() ? FlagProtected : 0);
        W.WriteString(item->Text());
        W.WriteString(item->Hint());
    }
    WriteSimpleList(W, *FMessages);
    WriteSimpleList(W, *FTexts);
}

// ---------------------------------------------------------------------------------------------

QString KvReadPkgStringsDescription(const QString& FileName)
{
    return KvReadPkgDescription(FileName, QByteArrayLiteral("STRS"));
}

TKvPkgStrings* KvFindPkgStrings(const QString& PkgName)
{
    return static_cast<TKvPkgStrings*>(KvFindPackage(&TKvPkgStrings::staticMetaObject, PkgName));
}

QStringList KvPkgStringsActives() { return KvPackagesActives(&TKvPkgStrings::staticMetaObject); }

QList<TKvPkgStrings*> KvPkgStringsAll()
{
    QList<TKvPkgStrings*> result;
    for (TKvPkgInfo* pkg : KvPackagesAll(&TKvPkgStrings::staticMetaObject))
        result << static_cast<TKvPkgStrings*>(pkg);
    return result;
}
