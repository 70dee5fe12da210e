#include "KvPkgVars.h"

#include "KvPkgFormat.h"
#include "KvUtils.h"
#include "SysUtils.h"

#include <QRegularExpression>

#include <cmath>
#include <functional>
#include <limits>

// Content of the variables format (version 1): the top-level folder's items, depth first. An
// item is its ident, u8 type and its value (u8 boolean, i32 integer, f64 float, string) or,
// for a folder, a u32 count of items followed by them.

namespace {

constexpr int MaxDepth = 256;
constexpr int MinItemSize = 4 + 1 + 1;

QString TypeName(TKvPkgVarsItemType Type)
{
    static const char* const Names[] = {"Boolean", "Integer", "Float", "String", "Folder"};
    return QString::fromLatin1(Names[Type]);
}

void CheckIdent(const QString& Ident)
{
    if (Ident.trimmed().isEmpty())
        throw EKvPkgError(QStringLiteral("A variable or folder needs a name"));
    if (Ident.contains(QLatin1Char('\\')))
        throw EKvPkgError(QStringLiteral("The name '%1' may not hold '\\'").arg(Ident));
}

QStringList SplitPath(const QString& Path)
{
    QStringList parts = Path.split(QLatin1Char('\\'));
    for (const QString& part : parts)
        CheckIdent(part);
    return parts;
}

struct TVarsContent : TKvPkgInfo::TContent
{
    std::unique_ptr<TKvPkgVarsItem> Root;
};

} // namespace

TKvPkgVarsItem::TKvPkgVarsItem(TKvPkgVarsItem* Parent, const QString& Ident, TKvPkgVarsItemType Type)
    : FParent(Parent), FIdent(Ident), FType(Type)
{
}

TKvPkgVarsItem::~TKvPkgVarsItem()
{
    DeleteChildren();
    if (FParent) {
        FParent->FItems.removeOne(this);
        FParent->FIndex.remove(FIdent.toCaseFolded());
        FParent->Changed();
    }
}

void TKvPkgVarsItem::AppendChild(TKvPkgVarsItem* Item)
{
    Item->FIndexHint = FItems.size();
    FItems.append(Item);
    FIndex.insert(Item->FIdent.toCaseFolded(), Item);
}

void TKvPkgVarsItem::DeleteChildren()
{
    FIndex.clear();
    for (TKvPkgVarsItem* item : std::exchange(FItems, {})) {
        item->FParent = nullptr;
        delete item;
    }
}

void TKvPkgVarsItem::Changed()
{
    if (TKvPkgVars* pkg = Pkg())
        pkg->SetModified(true);
}

TKvPkgVars* TKvPkgVarsItem::Pkg() const
{
    const TKvPkgVarsItem* item = this;
    while (item->FParent)
        item = item->FParent;
    return item->FPkg;
}

void TKvPkgVarsItem::SetIdent(const QString& Value)
{
    if (Value == FIdent)
        return;
    CheckIdent(Value);
    if (FParent) {
        const TKvPkgVarsItem* other = FParent->FindChild(Value);
        if (other && other != this)
            throw EKvPkgError(QStringLiteral("'%1' already exists in its folder").arg(Value));
        FParent->FIndex.remove(FIdent.toCaseFolded());
        FParent->FIndex.insert(Value.toCaseFolded(), this);
    }
    FIdent = Value;
    Changed();
}

void TKvPkgVarsItem::SetItemType(TKvPkgVarsItemType Value)
{
    if (Value < vtBoolean || Value > vtFolder)
        throw EKvPkgError(QStringLiteral("Variable type %1 is not valid").arg(int(Value)));
    if (Value == FType)
        return;
    if (!FItems.isEmpty())
        throw EKvPkgError(QStringLiteral("Folder '%1' is not empty and stays a folder").arg(FIdent));
    FType = Value;
    FBoolean = false;
    FInteger = 0;
    FFloat = 0;
    FString.clear();
    Changed();
}

void TKvPkgVarsItem::CheckType(TKvPkgVarsItemType Type) const
{
    if (FType != Type)
        throw EKvPkgError(QStringLiteral("'%1' is of type %2, not %3").arg(Path(), TypeName(FType), TypeName(Type)));
}

bool TKvPkgVarsItem::GetVBoolean() const
{
    CheckType(vtBoolean);
    return FBoolean;
}

void TKvPkgVarsItem::SetVBoolean(bool Value)
{
    CheckType(vtBoolean);
    if (Value != FBoolean) {
        FBoolean = Value;
        Changed();
    }
}

qint32 TKvPkgVarsItem::GetVInteger() const
{
    CheckType(vtInteger);
    return FInteger;
}

void TKvPkgVarsItem::SetVInteger(qint32 Value)
{
    CheckType(vtInteger);
    if (Value != FInteger) {
        FInteger = Value;
        Changed();
    }
}

double TKvPkgVarsItem::GetVFloat() const
{
    CheckType(vtFloat);
    return FFloat;
}

void TKvPkgVarsItem::SetVFloat(double Value)
{
    CheckType(vtFloat);
    if (!std::isfinite(Value))
        throw EKvPkgError(QStringLiteral("'%1' takes finite numbers only").arg(Path()));
    if (Value != FFloat) {
        FFloat = Value;
        Changed();
    }
}

QString TKvPkgVarsItem::GetVString() const
{
    CheckType(vtString);
    return FString;
}

void TKvPkgVarsItem::SetVString(const QString& Value)
{
    CheckType(vtString);
    if (Value != FString) {
        FString = Value;
        Changed();
    }
}

QString TKvPkgVarsItem::ValueText(QChar Separator) const
{
    switch (FType) {
    case vtBoolean: return FBoolean ? QStringLiteral("True") : QStringLiteral("False");
    case vtInteger: return QString::number(FInteger);
    case vtFloat: return KvCNumericToStr(FFloat, Separator);
    case vtString: return FString;
    case vtFolder: break;
    }
    return QString();
}

void TKvPkgVarsItem::SetValueText(const QString& Text, QChar Separator)
{
    switch (FType) {
    case vtBoolean: {
        const QString upper = Text.toUpper();
        if (upper != QLatin1String("TRUE") && upper != QLatin1String("FALSE"))
            throw EConvertError(QStringLiteral("'%1' is not True or False").arg(Text));
        SetVBoolean(upper == QLatin1String("TRUE"));
        break;
    }
    case vtInteger: {
        // Strict decimal: no spaces, no hex, no grouping.
        static const QRegularExpression Decimal(QStringLiteral("^[+-]?[0-9]+$"));
        bool ok = Decimal.match(Text).hasMatch();
        const qint32 value = ok ? Text.toInt(&ok, 10) : 0;
        if (!ok)
            throw EConvertError(QStringLiteral("'%1' is not an integer from %2 to %3")
                                    .arg(Text)
                                    .arg(std::numeric_limits<qint32>::min())
                                    .arg(std::numeric_limits<qint32>::max()));
        SetVInteger(value);
        break;
    }
    case vtFloat: SetVFloat(KvCStrToNumeric(Text, Separator)); break;
    case vtString: SetVString(Text); break;
    case vtFolder: throw EConvertError(QStringLiteral("Folder '%1' holds no value").arg(Path()));
    }
}

TKvPkgVarsItem* TKvPkgVarsItem::Items(int Index) const
{
    if (Index < 0 || Index >= FItems.size())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FItems.at(Index);
}

TKvPkgVarsItem* TKvPkgVarsItem::Next() const
{
    if (!FParent)
        return nullptr;
    const QList<TKvPkgVarsItem*>& siblings = FParent->FItems;
    if (FIndexHint >= siblings.size() || siblings.at(FIndexHint) != this) // siblings went since
        for (qsizetype i = 0; i < siblings.size(); ++i)
            siblings.at(i)->FIndexHint = i;
    return FIndexHint + 1 < siblings.size() ? siblings.at(FIndexHint + 1) : nullptr;
}

TKvPkgVarsItem* TKvPkgVarsItem::FindChild(const QString& Ident) const
{
    return FIndex.value(Ident.toCaseFolded());
}

QString TKvPkgVarsItem::Path() const
{
    if (!FParent)
        return QString();
    const QString above = FParent->Path();
    return above.isEmpty() ? FIdent : above + QLatin1Char('\\') + FIdent;
}

// ---------------------------------------------------------------------------------------------

TKvPkgVars::TKvPkgVars(TComponent* AOwner)
    : TKvPkgInfo(AOwner), FRoot(new TKvPkgVarsItem(nullptr, QString(), vtFolder))
{
    FRoot->FPkg = this;
}

TKvPkgVars::~TKvPkgVars() = default;

TKvPkgVarsItem* TKvPkgVars::Find(const QString& Path) const
{
    TKvPkgVarsItem* item = FRoot.get();
    for (const QString& part : Path.split(QLatin1Char('\\'))) {
        item = item->FindChild(part);
        if (!item)
            return nullptr;
    }
    return item == FRoot.get() ? nullptr : item;
}

TKvPkgVarsItem* TKvPkgVars::Add(const QString& Path, TKvPkgVarsItemType Type)
{
    if (Type < vtBoolean || Type > vtFolder)
        throw EKvPkgError(QStringLiteral("Variable type %1 is not valid").arg(int(Type)));
    const QStringList parts = SplitPath(Path);
    // Check the whole path before creating any folder on the way.
    TKvPkgVarsItem* folder = FRoot.get();
    int existing = 0;
    for (; existing < parts.size(); ++existing) {
        TKvPkgVarsItem* child = folder->FindChild(parts.at(existing));
        if (!child)
            break;
        if (existing == parts.size() - 1)
            throw EKvPkgError(QStringLiteral("'%1' already exists").arg(Path));
        if (!child->IsFolder())
            throw EKvPkgError(QStringLiteral("'%1' is a variable, not a folder").arg(child->Path()));
        folder = child;
    }
    for (int i = existing; i < parts.size(); ++i) {
        auto* item = new TKvPkgVarsItem(folder, parts.at(i), i == parts.size() - 1 ? Type : vtFolder);
        folder->AppendChild(item);
        folder = item;
    }
    SetModified(true);
    return folder;
}

void TKvPkgVars::Clear()
{
    if (!FRoot->FItems.isEmpty()) {
        FRoot->DeleteChildren();
        SetModified(true);
    }
}

std::unique_ptr<TKvPkgInfo::TContent> TKvPkgVars::ReadContent(TKvPkgReader& R, quint16) const
{
    auto c = std::make_unique<TVarsContent>();
    c->Root.reset(new TKvPkgVarsItem(nullptr, QString(), vtFolder));
    // Depth first with an explicit stack of folders and their remaining counts.
    struct TLevel
    {
        TKvPkgVarsItem* Folder;
        int Left;
    };
    QList<TLevel> stack{{c->Root.get(), R.ReadCount(MinItemSize)}};
    while (!stack.isEmpty()) {
        if (stack.last().Left == 0) {
            stack.removeLast();
            continue;
        }
        --stack.last().Left;
        TKvPkgVarsItem* folder = stack.last().Folder;
        const qint64 at = R.Position();
        const QString ident = R.ReadString();
        if (ident.trimmed().isEmpty() || ident.contains(QLatin1Char('\\')))
            R.FailAt(QStringLiteral("'%1' is not a valid name").arg(ident), at);
        if (folder->FindChild(ident))
            R.FailAt(QStringLiteral("'%1' is used twice in its folder").arg(ident), at);
        const auto type = TKvPkgVarsItemType(KvReadRange(R, vtBoolean, vtFolder, "Variable type"));
        auto* item = new TKvPkgVarsItem(folder, ident, type);
        folder->AppendChild(item);
        switch (type) {
        case vtBoolean: item->FBoolean = KvReadBool(R); break;
        case vtInteger: item->FInteger = R.ReadI32(); break;
        case vtFloat: {
            const qint64 valueAt = R.Position();
            item->FFloat = KvReadF64(R);
            if (!std::isfinite(item->FFloat))
                R.FailAt(QStringLiteral("'%1' holds a number that is not finite").arg(ident), valueAt);
            break;
        }
        case vtString: item->FString = R.ReadString(); break;
        case vtFolder:
            if (stack.size() >= MaxDepth)
                R.FailAt(QStringLiteral("folders are nested too deeply"), at);
            stack.append({item, R.ReadCount(MinItemSize)});
            break;
        }
    }
    return c;
}

void TKvPkgVars::CommitContent(TContent& Content)
{
    auto& c = static_cast<TVarsContent&>(Content);
    std::swap(FRoot, c.Root);
    FRoot->FPkg = this;
    c.Root->FPkg = nullptr;
}

void TKvPkgVars::WriteContent(TKvPkgWriter& W) const
{
    const std::function<void(const TKvPkgVarsItem*)> writeFolder = [&](const TKvPkgVarsItem* Folder) {
        W.WriteU32(quint32(Folder->Count()));
        for (const TKvPkgVarsItem* item : Folder->FItems) {
            W.WriteString(item->FIdent);
            W.WriteI32(item->FType);
            switch (item->FType) {
            case vtBoolean: KvWriteBool(W, item->FBoolean); break;
            case vtInteger: W.WriteI32(item->FInteger); break;
            case vtFloat: KvWriteF64(W, item->FFloat); break;
            case vtString: W.WriteString(item->FString); break;
            case vtFolder: writeFolder(item); break;
            }
        }
    };
    writeFolder(FRoot.get());
}

// ---------------------------------------------------------------------------------------------

QString KvReadPkgVarsDescription(const QString& FileName)
{
    return KvReadPkgDescription(FileName, QByteArrayLiteral("VARS"));
}

TKvPkgVars* KvFindPkgVars(const QString& PkgName)
{
    return static_cast<TKvPkgVars*>(KvFindPackage(&TKvPkgVars::staticMetaObject, PkgName));
}

QStringList KvPkgVarsActives() { return KvPackagesActives(&TKvPkgVars::staticMetaObject); }

QList<TKvPkgVars*> KvPkgVarsAll()
{
    QList<TKvPkgVars*> result;
    for (TKvPkgInfo* pkg : KvPackagesAll(&TKvPkgVars::staticMetaObject))
        result << static_cast<TKvPkgVars*>(pkg);
    return result;
}
