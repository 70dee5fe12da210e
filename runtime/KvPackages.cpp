#include "KvPackages.h"

#include "Filer.h"
#include "KvFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <array>
#include <climits>

// Package file envelope, little-endian:
//   "KVPK", kind tag (4 bytes), u16 format version, u16 description length, description (UTF-8),
//   u32 body length, body, u32 CRC-32 of everything before it.
// The body starts with the editor bounds (5 x i32); the kind's content follows.
// The description sits in front so that the description readers stop there.

namespace {

const QByteArray Magic = QByteArrayLiteral("KVPK");
constexpr qint64 HeaderFixedSize = 12; // magic, tag, version, description length

QString& AppPath()
{
    static QString path;
    return path;
}

const std::array<quint32, 256>& CrcTable()
{
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 i = 0; i < 256; ++i) {
            quint32 c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    return table;
}

quint32 Crc32(const char* Data, qint64 Size)
{
    const auto& table = CrcTable();
    quint32 c = 0xFFFFFFFFu;
    for (qint64 i = 0; i < Size; ++i)
        c = table[(c ^ quint8(Data[i])) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

QByteArray ReadWholeFile(const QString& Path)
{
    try {
        return KvReadFile(Path);
    } catch (const EInOutError& e) {
        throw EKvPkgFileError(Path, e.Reason);
    }
}

// The registry of live packages, in creation order.
QList<TKvPkgInfo*>& LivePackages()
{
    static QList<TKvPkgInfo*> list;
    return list;
}

bool SameName(const QString& A, const QString& B) { return A.compare(B, Qt::CaseInsensitive) == 0; }

bool IsLive(const TKvPkgInfo* Pkg) { return !(Pkg->ComponentState() & csDestroying); }

} // namespace

// ---------------------------------------------------------------------------------------------

EKvPkgFileError::EKvPkgFileError(QString FileName, const QString& Reason, qint64 Offset)
    : EReadError(QStringLiteral("%1: %2").arg(FileName, Reason), Offset), FileName(std::move(FileName))
{
}

QString KvAppPath()
{
    if (AppPath().isEmpty())
        return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    return AppPath();
}

void KvSetAppPath(const QString& Path) { AppPath() = Path; }

int KvStrToId(const QString& Text)
{
    bool ok = false;
    const int id = Text.trimmed().toInt(&ok);
    if (!ok)
        throw EConvertError(QStringLiteral("'%1' is not a valid id").arg(Text));
    if (id < 0 || id > KvMaxTypedId)
        throw EConvertError(QStringLiteral("Id %1 is out of range (0 to %2)").arg(id).arg(KvMaxTypedId));
    return id;
}

// ---------------------------------------------------------------------------------------------
// Items

TKvPkgItem::~TKvPkgItem()
{
    if (FList)
        FList->Detach(this);
}

void TKvPkgItem::SetId(int Value)
{
    if (Value == FId)
        return;
    if (FList) {
        FList->CheckId(Value, this);
        FList->Reindex(this, Value);
    }
    FId = Value;
    Changed();
}

void TKvPkgItem::SetProtected(bool Value)
{
    if (Value == FProtected)
        return;
    FProtected = Value;
    Changed();
}

void TKvPkgItem::Changed()
{
    if (FList)
        FList->Changed();
}

TKvPkgItems::TKvPkgItems(TKvPkgInfo* Pkg, QString ItemNoun) : FPkg(Pkg), FItemNoun(std::move(ItemNoun)) {}

TKvPkgItems::~TKvPkgItems()
{
    for (TKvPkgItem* item : std::as_const(FItems)) {
        item->FList = nullptr;
        delete item;
    }
}

void TKvPkgItems::Delete(int Index) { delete ItemAt(Index); }

void TKvPkgItems::Clear()
{
    if (FItems.isEmpty())
        return;
    const QList<TKvPkgItem*> items = std::exchange(FItems, {});
    FIndex.clear();
    for (TKvPkgItem* item : items) {
        item->FList = nullptr;
        delete item;
    }
    Changed();
}

int TKvPkgItems::UniqueId() const
{
    int highest = -1;
    for (const TKvPkgItem* item : FItems)
        highest = qMax(highest, item->FId);
    if (highest < KvMaxTypedId)
        return highest + 1;
    for (int id = 0; id <= KvMaxTypedId; ++id)
        if (!FIndex.contains(id))
            return id;
    if (highest < INT_MAX)
        return highest + 1;
    int id = KvMaxTypedId + 1;
    while (FIndex.contains(id)) // fewer items than ids: ends
        ++id;
    return id;
}

void TKvPkgItems::CheckId(int Id, const TKvPkgItem* Item) const
{
    if (Id < 0)
        throw EKvPkgError(QStringLiteral("%1 id %2 is not valid: ids are 0 or greater").arg(FItemNoun).arg(Id));
    const TKvPkgItem* holder = FIndex.value(Id);
    if (holder && holder != Item)
        throw EKvPkgError(QStringLiteral("%1 id %2 is already used").arg(FItemNoun).arg(Id));
}

TKvPkgItem* TKvPkgItems::ItemAt(int Index) const
{
    if (Index < 0 || Index >= FItems.size())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FItems.at(Index);
}

void TKvPkgItems::Append(TKvPkgItem* Item)
{
    Item->FList = this;
    FItems.append(Item);
    FIndex.insert(Item->FId, Item);
    Changed();
}

void TKvPkgItems::Reserve(int Count)
{
    FItems.reserve(Count);
    FIndex.reserve(Count);
}

void TKvPkgItems::SwapItems(TKvPkgItems& Other)
{
    FItems.swap(Other.FItems);
    FIndex.swap(Other.FIndex);
    for (TKvPkgItem* item : std::as_const(FItems))
        item->FList = this;
    for (TKvPkgItem* item : std::as_const(Other.FItems))
        item->FList = &Other;
}

void TKvPkgItems::Changed()
{
    if (FPkg)
        FPkg->SetModified(true);
}

void TKvPkgItems::Detach(TKvPkgItem* Item)
{
    // Deleting from the end is the common case (the newest, or a list emptied backwards).
    const qsizetype at = FItems.lastIndexOf(Item);
    if (at >= 0)
        FItems.removeAt(at);
    const auto it = FIndex.constFind(Item->FId);
    if (it != FIndex.cend() && it.value() == Item)
        FIndex.erase(it);
    Item->FList = nullptr;
    Changed();
}

void TKvPkgItems::Reindex(TKvPkgItem* Item, int NewId)
{
    FIndex.remove(Item->FId);
    FIndex.insert(NewId, Item);
}

// ---------------------------------------------------------------------------------------------
// Reader and writer

void TKvPkgReader::FailAt(const QString& Reason, qint64 Offset) const { throw EKvPkgFileError(FSource, Reason, Offset); }

void TKvPkgReader::Need(qint64 Size) const
{
    if (Size < 0 || Size > FEnd - FPos)
        Fail(QStringLiteral("the data ends too early"));
}

void TKvPkgReader::SetEnd(qint64 End) { FEnd = qMin<qint64>(End, FData.size()); }

quint8 TKvPkgReader::ReadU8()
{
    Need(1);
    return quint8(FData.at(FPos++));
}

quint16 TKvPkgReader::ReadU16()
{
    Need(2);
    const quint16 v = qFromLittleEndian<quint16>(FData.constData() + FPos);
    FPos += 2;
    return v;
}

quint32 TKvPkgReader::ReadU32()
{
    Need(4);
    const quint32 v = qFromLittleEndian<quint32>(FData.constData() + FPos);
    FPos += 4;
    return v;
}

qint32 TKvPkgReader::ReadI32() { return qint32(ReadU32()); }

int TKvPkgReader::ReadCount(int MinItemSize)
{
    const qint64 at = FPos;
    const quint32 count = ReadU32();
    if (qint64(count) * MinItemSize > FEnd - FPos)
        FailAt(QStringLiteral("a count of %1 items does not fit in the data").arg(count), at);
    return int(count);
}

QString TKvPkgReader::ReadString()
{
    const quint32 size = ReadU32();
    Need(size);
    const QString s = QString::fromUtf8(FData.constData() + FPos, qsizetype(size));
    FPos += size;
    return s;
}

QByteArray TKvPkgReader::ReadBytes() { return ReadRaw(ReadU32()); }

QByteArray TKvPkgReader::ReadRaw(qint64 Size)
{
    Need(Size);
    QByteArray b = FData.mid(FPos, Size);
    FPos += Size;
    return b;
}

void TKvPkgWriter::WriteU16(quint16 Value)
{
    char b[2];
    qToLittleEndian(Value, b);
    FData.append(b, 2);
}

void TKvPkgWriter::WriteU32(quint32 Value)
{
    char b[4];
    qToLittleEndian(Value, b);
    FData.append(b, 4);
}

void TKvPkgWriter::WriteString(const QString& Value) { WriteBytes(Value.toUtf8()); }

void TKvPkgWriter::WriteBytes(const QByteArray& Value)
{
    WriteU32(quint32(Value.size()));
    FData.append(Value);
}

// ---------------------------------------------------------------------------------------------
// TKvPkgInfo

TKvPkgInfo::TKvPkgInfo(TComponent* AOwner) : TComponent(AOwner) { LivePackages().append(this); }

TKvPkgInfo::~TKvPkgInfo() { LivePackages().removeOne(this); }

void TKvPkgInfo::SetFileName(const QString& Value) { FFileName = Value.trimmed(); }

void TKvPkgInfo::SetDescription(const QString& Value)
{
    if (Value == FDescription)
        return;
    if (Value.toUtf8().size() > 0xFFFF)
        throw EKvPkgError(QStringLiteral("The description is too long (at most 65535 bytes)"));
    FDescription = Value;
    SetModified(true);
}

void TKvPkgInfo::SetEditorBounds(const TKvEditorBounds& Value)
{
    if (Value == FEditorBounds)
        return;
    FEditorBounds = Value;
    SetModified(true);
}

QString TKvPkgInfo::StoredName(const QString& Name) const
{
    QString n = Name.trimmed();
    if (n.isEmpty())
        return n;
    if (QFileInfo(n).suffix().isEmpty()) {
        if (!n.endsWith(QLatin1Char('.')))
            n += QLatin1Char('.');
        n += DefaultExt();
    }
    return n;
}

QString TKvPkgInfo::GetFileName(const QString& Name) const
{
    const QString n = StoredName(Name);
    if (n.isEmpty())
        return n;
    return QDir::cleanPath(QDir::isRelativePath(n) ? QDir(KvAppPath()).filePath(n) : n);
}

QString TKvPkgInfo::ProjectFileName(const QString& Name) const
{
    const QString path = GetFileName(Name);
    // A relative name is the project's: it may not lead out of its folder, by ".." or by a link.
    if (!path.isEmpty() && QDir::isRelativePath(StoredName(Name)) && !KvIsInsideFolder(KvAppPath(), path))
        throw EKvPkgFileError(path, QStringLiteral("the file lies outside the folder %1").arg(KvAppPath()));
    return path;
}

void TKvPkgInfo::Stamp(const QString& Path)
{
    const QFileInfo info(Path);
    FStampPath = Path;
    FStampTime = info.lastModified();
    FStampSize = info.size();
}

bool TKvPkgInfo::FileModified() const
{
    if (FContainer)
        return FContainer->FileModified();
    if (!IsFileBacked())
        return false;
    const QString path = GetFileName(FFileName);
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    return path != FStampPath || info.lastModified() != FStampTime || info.size() != FStampSize;
}

QByteArray TKvPkgInfo::SaveToBytes() const
{
    TKvPkgWriter w;
    const QByteArray description = FDescription.toUtf8();
    w.WriteRaw(Magic);
    w.WriteRaw(FileTag());
    w.WriteU16(FileVersion());
    w.WriteU16(quint16(description.size()));
    w.WriteRaw(description);
    const qsizetype lengthAt = w.Size();
    w.WriteU32(0);
    const qsizetype bodyAt = w.Size();
    w.WriteI32(FEditorBounds.Left);
    w.WriteI32(FEditorBounds.Top);
    w.WriteI32(FEditorBounds.Width);
    w.WriteI32(FEditorBounds.Height);
    w.WriteI32(FEditorBounds.WindowState);
    WriteContent(w);
    QByteArray& data = w.Data();
    qToLittleEndian(quint32(data.size() - bodyAt), data.data() + lengthAt);
    w.WriteU32(Crc32(data.constData(), data.size()));
    return std::move(data);
}

void TKvPkgInfo::SetContainer(TKvPkgInfo* Value)
{
    if (FContainer)
        FContainer->FContained.removeAll(this);
    FContainer = Value;
    if (FContainer)
        FContainer->FContained.append(this);
}

void TKvPkgInfo::SetModified(bool Value)
{
    FModified = Value;
    if (Value && FContainer)
        FContainer->SetModified(true);
    if (!Value)
        for (const QPointer<TKvPkgInfo>& c : std::as_const(FContained))
            if (c)
                c->SetModified(false);
}

void TKvPkgInfo::LoadFromBytes(const QByteArray& Data, const QString& Source)
{
    TParsed parsed = ParseBytes(Data, Source);
    CommitParsed(parsed);
}

void TKvPkgInfo::CommitParsed(TParsed& Parsed)
{
    FDescription = std::move(Parsed.Description);
    FEditorBounds = Parsed.Bounds;
    CommitContent(*Parsed.Content);
}

TKvPkgInfo::TParsed TKvPkgInfo::ParseBytes(const QByteArray& Data, const QString& Source) const
{
    TKvPkgReader r(Data, Source);
    if (r.ReadRaw(4) != Magic)
        r.FailAt(QStringLiteral("not a package file"), 0);
    const QByteArray tag = r.ReadRaw(4);
    if (tag != FileTag())
        r.FailAt(QStringLiteral("a package of kind '%1', not '%2'")
                     .arg(QString::fromLatin1(tag), QString::fromLatin1(FileTag())),
                 4);
    const quint16 version = r.ReadU16();
    if (version == 0 || version > FileVersion())
        r.FailAt(QStringLiteral("format version %1 is not supported").arg(version), 8);
    const QByteArray description = r.ReadRaw(r.ReadU16());
    const quint32 bodyLength = r.ReadU32();
    const qint64 bodyEnd = r.Position() + qint64(bodyLength);
    if (Data.size() < bodyEnd + 4)
        r.FailAt(QStringLiteral("the data is truncated (%1 bytes expected, %2 found)").arg(bodyEnd + 4).arg(Data.size()),
                 Data.size());
    if (Data.size() > bodyEnd + 4)
        r.FailAt(QStringLiteral("unexpected data after the end of the package"), bodyEnd + 4);
    if (qFromLittleEndian<quint32>(Data.constData() + bodyEnd) != Crc32(Data.constData(), bodyEnd))
        r.FailAt(QStringLiteral("the data is corrupt (checksum mismatch)"), bodyEnd);
    r.SetEnd(bodyEnd);
    TKvEditorBounds bounds;
    bounds.Left = r.ReadI32();
    bounds.Top = r.ReadI32();
    bounds.Width = r.ReadI32();
    bounds.Height = r.ReadI32();
    bounds.WindowState = r.ReadI32();
    std::unique_ptr<TContent> content = ReadContent(r, version);
    if (r.Position() != bodyEnd)
        r.Fail(QStringLiteral("unexpected data after the package content"));
    return {QString::fromUtf8(description), bounds, std::move(content)};
}

void TKvPkgInfo::ReadPath(const QString& Path) { LoadFromBytes(ReadWholeFile(Path), Path); }

void TKvPkgInfo::WritePath(const QString& Path) const
{
    const QByteArray data = SaveToBytes();
    try {
        KvWriteFile(Path, data);
    } catch (const EInOutError& e) {
        throw EWriteError(QStringLiteral("Cannot write package file %1: %2").arg(Path, e.Reason));
    }
}

void TKvPkgInfo::LoadFile()
{
    if (FContainer) {
        FContainer->LoadFile();
        return;
    }
    if (!IsFileBacked())
        return;
    const QString path = ProjectFileName(FFileName);
    ReadPath(path);
    Stamp(path);
    DoAfterLoad(false);
}

void TKvPkgInfo::SaveFile()
{
    if (FContainer) {
        FContainer->SaveFile();
        return;
    }
    if (!IsFileBacked())
        return;
    const QString path = ProjectFileName(FFileName);
    if (!FModified && QFileInfo::exists(path))
        return;
    WritePath(path);
    Stamp(path);
    SetModified(false);
}

void TKvPkgInfo::LoadFromFile(const QString& FileName)
{
    ReadPath(FileName);
    SetModified(true);
}

void TKvPkgInfo::SaveToFile(const QString& FileName) const { WritePath(FileName); }

void TKvPkgInfo::LoadFileEx(const QString& Name, TKvRegisterInitMode Mode)
{
    const QString stored = StoredName(Name);
    if (stored.isEmpty()) {
        FFileName.clear();
        FInitMode = Mode;
        return;
    }
    const QString path = ProjectFileName(stored);
    ReadPath(path);
    FFileName = stored;
    FInitMode = Mode;
    Stamp(path);
    DoAfterLoad(false);
}

void TKvPkgInfo::SaveFileEx(const QString& Name, TKvRegisterInitMode Mode)
{
    const QString stored = StoredName(Name);
    if (!stored.isEmpty()) {
        const QString path = ProjectFileName(stored);
        WritePath(path);
        Stamp(path);
        SetModified(false);
    }
    FFileName = stored;
    FInitMode = Mode;
}

void TKvPkgInfo::DoAfterLoad(bool AModified)
{
    SetModified(AModified);
    emit AfterLoad(AModified);
    for (const QPointer<TKvPkgInfo>& c : std::as_const(FContained))
        if (c)
            c->DoAfterLoad(AModified);
}

void TKvPkgInfo::DefineProperties(TFiler* Filer)
{
    TComponent::DefineProperties(Filer);
    // A package without a file of its own keeps its content in the form, whatever its init mode
    // says: otherwise it would be stored nowhere.
    Filer->DefineBinaryProperty(
        QStringLiteral("Data"),
        [this](const QByteArray& Data) {
            LoadFromBytes(Data, GetNamePath() + QStringLiteral(".Data"));
        },
        [this] { return SaveToBytes(); }, !IsFileBacked() && !FContainer);
}

void TKvPkgInfo::Loaded()
{
    TComponent::Loaded();
    if (FContainer || !IsFileBacked() || !QFileInfo::exists(GetFileName(FFileName)))
        return;
    try {
        LoadFile();
    } catch (const Exception&) {
        // The form still opens. The package stays unread, so FileModified is true and the
        // editor's reload raises the error where the developer can act on it.
        FStampPath.clear();
    }
}

void TKvPkgInfo::SetPkgName(const QString& Value)
{
    // Lookups go by name: of two packages of a kind on one form only one could ever be found.
    // Forms read as written keep what they hold.
    const TComponent* Form = Owner();
    if (Form && (ComponentState() & csDesigning) && !(ComponentState() & csLoading) && !Value.trimmed().isEmpty())
        for (int I = 0; I < Form->ComponentCount(); ++I) {
            const auto* Other = qobject_cast<const TKvPkgInfo*>(Form->Components(I));
            if (Other && Other != this && Other->metaObject() == metaObject() &&
                Other->FPkgName.compare(Value, Qt::CaseInsensitive) == 0)
                throw EKvPkgError(QStringLiteral("%1 already names the package %2 of %3")
                                      .arg(Value, Other->GetName(), Form->GetName()));
        }
    FPkgName = Value;
}

bool TKvPkgInfo::Active() const
{
    for (TKvPkgInfo* pkg : std::as_const(LivePackages()))
        if (pkg->FActive && IsLive(pkg) && pkg->FileTag() == FileTag() && SameName(pkg->FPkgName, FPkgName))
            return pkg == this;
    for (TKvPkgInfo* pkg : std::as_const(LivePackages()))
        if (IsLive(pkg) && pkg->FileTag() == FileTag() && SameName(pkg->FPkgName, FPkgName))
            return pkg == this;
    return false;
}

void TKvPkgInfo::SetActive(bool Value)
{
    if (Value)
        for (TKvPkgInfo* pkg : std::as_const(LivePackages()))
            if (pkg != this && pkg->FileTag() == FileTag() && SameName(pkg->FPkgName, FPkgName))
                pkg->FActive = false;
    FActive = Value;
}

// ---------------------------------------------------------------------------------------------

QString KvReadPkgDescription(const QString& FileName, const QByteArray& Tag)
{
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EKvPkgFileError(FileName, QStringLiteral("cannot open the file (%1)").arg(file.errorString()));
    const QByteArray fixed = file.read(HeaderFixedSize);
    TKvPkgReader r(fixed, FileName);
    if (r.ReadRaw(4) != Magic)
        r.FailAt(QStringLiteral("not a package file"), 0);
    if (r.ReadRaw(4) != Tag)
        r.FailAt(QStringLiteral("a package of another kind"), 4);
    r.ReadU16();
    const quint16 size = r.ReadU16();
    const QByteArray description = file.read(size);
    if (description.size() != size)
        r.FailAt(QStringLiteral("the data ends too early"), HeaderFixedSize + description.size());
    return QString::fromUtf8(description);
}

QList<TKvPkgInfo*> KvPackagesAll(const QMetaObject* Kind)
{
    QList<TKvPkgInfo*> result;
    for (TKvPkgInfo* pkg : std::as_const(LivePackages()))
        if (IsLive(pkg) && pkg->metaObject()->inherits(Kind))
            result << pkg;
    return result;
}

TKvPkgInfo* KvFindPackage(const QMetaObject* Kind, const QString& PkgName)
{
    const QString name = PkgName.isEmpty() ? QStringLiteral("User") : PkgName;
    TKvPkgInfo* first = nullptr;
    for (TKvPkgInfo* pkg : KvPackagesAll(Kind)) {
        if (!SameName(pkg->PkgName(), name))
            continue;
        if (pkg->Active())
            return pkg;
        if (!first)
            first = pkg;
    }
    return first;
}

QStringList KvPackagesActives(const QMetaObject* Kind)
{
    QStringList names;
    for (TKvPkgInfo* pkg : KvPackagesAll(Kind))
        if (!pkg->PkgName().isEmpty() && pkg->Active())
            names << pkg->PkgName();
    return names;
}
