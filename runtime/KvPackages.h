#pragma once

#include "Classes.h"
#include "SysUtils.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <memory>

// The package data model shared by every package kind: where a package lives (inside the form
// or in a file of its own), its file format envelope, its item lists and the registry of the
// live packages through which references find them.

// A value a package or one of its items refuses (an id already used, a negative id, ...).
class EKvPkgError : public Exception
{
public:
    using Exception::Exception;
};

// A package file or form data that cannot be read, is truncated or corrupt.
class EKvPkgFileError : public EReadError
{
public:
    EKvPkgFileError(QString FileName, const QString& Reason, qint64 Offset = -1);
    QString FileName;
};

// The folder that relative package file names resolve against. It starts as the program's
// folder; the host points it at the project.
QString KvAppPath();
void KvSetAppPath(const QString& Path);

// Ids the developer types have at most four digits; the lists themselves hold any id from 0.
constexpr int KvMaxTypedId = 9999;
// Reads an id typed in an id box: EConvertError for text that is not a number in 0..9999.
int KvStrToId(const QString& Text);

// A stored editor Left of this value means that no bounds were ever stored.
constexpr int KvNoBounds = 2147483647;
constexpr int KvWindowStateMaximized = 2;

struct TKvEditorBounds
{
    int Left = KvNoBounds;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    int WindowState = 0;
    bool IsStored() const { return Left != KvNoBounds; }
    bool operator==(const TKvEditorBounds&) const = default;
};

class TKvPkgInfo;
class TKvPkgItems;
class TKvPkgReader;
class TKvPkgWriter;

// One item of a package list. The list owns its items; deleting an item takes it out of its
// list. Setters validate first and leave the item unchanged when they raise.
class TKvPkgItem
{
public:
    virtual ~TKvPkgItem();
    TKvPkgItem(const TKvPkgItem&) = delete;
    TKvPkgItem& operator=(const TKvPkgItem&) = delete;

    int Id() const { return FId; }
    void SetId(int Value);
    bool Protected() const { return FProtected; }
    void SetProtected(bool Value);
    TKvPkgItems* List() const { return FList; }

protected:
    TKvPkgItem(TKvPkgItems* List, int Id) : FList(List), FId(Id) {}
    // Every successful setter reports here; the package becomes modified.
    void Changed();

private:
    friend class TKvPkgItems;
    TKvPkgItems* FList;
    int FId;
    bool FProtected = false;
};

// The common part of the item lists: items in package order, with an id index for FindId.
class TKvPkgItems
{
public:
    // ItemNoun names the items in error messages ("Label").
    TKvPkgItems(TKvPkgInfo* Pkg, QString ItemNoun);
    virtual ~TKvPkgItems();
    TKvPkgItems(const TKvPkgItems&) = delete;
    TKvPkgItems& operator=(const TKvPkgItems&) = delete;

    int Count() const { return int(FItems.size()); }
    int IndexOf(const TKvPkgItem* Item) const { return int(FItems.indexOf(const_cast<TKvPkgItem*>(Item))); }
    void Delete(int Index);
    void Clear();
    // A free id to propose: one above the highest while that stays typeable (0..9999), else
    // the lowest free typeable id, else one above the highest.
    int UniqueId() const;
    TKvPkgInfo* Pkg() const { return FPkg; }
    const QString& ItemNoun() const { return FItemNoun; }

    // Raises unless Id may be given to Item (null for a new item).
    void CheckId(int Id, const TKvPkgItem* Item) const;
    void Reserve(int Count);

protected:
    TKvPkgItem* ItemAt(int Index) const;
    TKvPkgItem* FindItem(int Id) const { return FIndex.value(Id); }
    // Takes ownership; the id must have passed CheckId.
    void Append(TKvPkgItem* Item);
    void SwapItems(TKvPkgItems& Other);
    void Changed();

private:
    friend class TKvPkgItem;
    void Detach(TKvPkgItem* Item);
    void Reindex(TKvPkgItem* Item, int NewId);

    TKvPkgInfo* FPkg;
    QString FItemNoun;
    QList<TKvPkgItem*> FItems;
    QHash<int, TKvPkgItem*> FIndex;
};

// The typed face of a list: GetItems and FindId give the item class.
template <class TItem>
class TKvPkgItemList : public TKvPkgItems
{
public:
    using TKvPkgItems::TKvPkgItems;
    TItem* GetItems(int Index) const { return static_cast<TItem*>(ItemAt(Index)); }
    TItem* FindId(int Id) const { return static_cast<TItem*>(FindItem(Id)); }
    // Exchanges the items with another list of this kind (a load commits this way); the
    // modified flag is the loader's business.
    void Swap(TKvPkgItemList& Other) { SwapItems(Other); }
};

// Base of every package. A package lives in the form file (init mode DFM: its file-format bytes
// travel as the form's binary property "Data") or in a file of its own (init mode FILE with a
// file name: only the file name is in the form).
class TKvPkgInfo : public TComponent
{
    Q_OBJECT

public:
    enum TKvRegisterInitMode { imDFM = 0, imFILE = 1 };
    Q_ENUM(TKvRegisterInitMode)

private:
    Q_PROPERTY(TKvRegisterInitMode InitMode READ InitMode WRITE SetInitMode)
    Q_PROPERTY(QString FileName READ FileName WRITE SetFileName)

public:
    explicit TKvPkgInfo(TComponent* AOwner = nullptr);
    ~TKvPkgInfo() override;

    // A package held inside another (the strings of a language package, the images of a display
    // package) answers with its container's init mode and file name.
    TKvRegisterInitMode InitMode() const { return FContainer ? FContainer->InitMode() : FInitMode; }
    void SetInitMode(TKvRegisterInitMode Value) { FInitMode = Value; }
    QString FileName() const { return FContainer ? FContainer->FileName() : FFileName; }
    void SetFileName(const QString& Value);
    // Init mode FILE with a file name.
    bool IsFileBacked() const { return InitMode() == imFILE && !FileName().isEmpty(); }

    // The package whose file or form data stores this one, or none. A contained package is
    // loaded, saved and marked modified through its container and has no form data of its own.
    TKvPkgInfo* Container() const { return FContainer; }
    void SetContainer(TKvPkgInfo* Value);

    // Changed since last read from or written to its own file. A change of a contained package
    // changes its container too; a container made clean cleans what it contains, as they are
    // written together.
    bool Modified() const { return FModified; }
    virtual void SetModified(bool Value);

    QString Description() const { return FDescription; }
    void SetDescription(const QString& Value);
    TKvEditorBounds EditorBounds() const { return FEditorBounds; }
    void SetEditorBounds(const TKvEditorBounds& Value);

    // Without a leading point ("kvstr").
    virtual QString DefaultExt() const = 0;
    // Empties the package's content; the description and the editor bounds stay.
    virtual void Clear() = 0;

    // The package's own file, when it is file-backed; otherwise they do nothing. LoadFile
    // replaces the content with the file; SaveFile writes it when the package was modified or
    // the file is missing.
    void LoadFile();
    void SaveFile();
    // Any file of this kind; the file name and init mode stay. Loading marks the package modified.
    void LoadFromFile(const QString& FileName);
    void SaveToFile(const QString& FileName) const;
    // From the load/save dialog: the typed name becomes the package's file name (an empty name
    // only sets the init mode) and Mode its init mode.
    void LoadFileEx(const QString& Name, TKvRegisterInitMode Mode);
    void SaveFileEx(const QString& Name, TKvRegisterInitMode Mode);
    // A typed name as a full path: the default extension is added when it has none, and a
    // relative name is taken from KvAppPath. An empty name stays empty.
    QString GetFileName(const QString& Name) const;
    // The package's own file changed on disk since this package last read or wrote it (or was
    // never read); false when there is no such file.
    bool FileModified() const;

    // The package in its file format, and back. Reading replaces everything or, when it
    // raises, nothing; Source names the data in errors.
    QByteArray SaveToBytes() const;
    void LoadFromBytes(const QByteArray& Data, const QString& Source);

    // Tells listeners that the content was replaced by a load; sets the modified flag. Contained
    // packages are told as well.
    virtual void DoAfterLoad(bool AModified);

    // Strings, images and variables packages are found by name; other kinds have none.
    QString PkgName() const { return FPkgName; }
    void SetPkgName(const QString& Value);
    // Of the live packages of one kind that share a name, the active one answers for it: the
    // one last made active, else the first created.
    bool Active() const;
    void SetActive(bool Value);

    void DefineProperties(TFiler* Filer) override;
    void Loaded() override;

    // A kind's content parsed into a holder that CommitContent swaps in without failing.
    struct TContent
    {
        virtual ~TContent() = default;
    };
    // A package's bytes read but not taken yet: LoadFromBytes is ParseBytes, which may raise,
    // then CommitParsed, which does not. A container parses its contained packages this way.
    struct TParsed
    {
        QString Description;
        TKvEditorBounds Bounds;
        std::unique_ptr<TContent> Content;
    };
    TParsed ParseBytes(const QByteArray& Data, const QString& Source) const;
    void CommitParsed(TParsed& Parsed);

signals:
    void AfterLoad(bool Modified);

protected:
    // The kind's file signature (four characters after the common magic) and format version.
    virtual QByteArray FileTag() const = 0;
    virtual quint16 FileVersion() const { return 1; }

    virtual std::unique_ptr<TContent> ReadContent(TKvPkgReader& Reader, quint16 Version) const = 0;
    virtual void CommitContent(TContent& Content) = 0;
    virtual void WriteContent(TKvPkgWriter& Writer) const = 0;

private:
    void ReadPath(const QString& Path);
    void WritePath(const QString& Path) const;
    QString StoredName(const QString& Name) const;
    // GetFileName, refused when a relative name resolves outside KvAppPath.
    QString ProjectFileName(const QString& Name) const;
    void Stamp(const QString& Path);

    TKvPkgInfo* FContainer = nullptr;
    QList<QPointer<TKvPkgInfo>> FContained;
    TKvRegisterInitMode FInitMode = imDFM;
    QString FFileName;
    QString FPkgName;
    QString FDescription;
    TKvEditorBounds FEditorBounds;
    bool FModified = false;
    bool FActive = false;
    // What the own file looked like when last read or written.
    QString FStampPath;
    QDateTime FStampTime;
    qint64 FStampSize = -1;
};

using TKvRegisterInitMode = TKvPkgInfo::TKvRegisterInitMode;

// Reads only the header of a package file of the kind Tag.
QString KvReadPkgDescription(const QString& FileName, const QByteArray& Tag);

// The live packages of a kind (Kind or a descendant), in creation order.
QList<TKvPkgInfo*> KvPackagesAll(const QMetaObject* Kind);
// The active package of that name (case-insensitive); an empty name means "User".
TKvPkgInfo* KvFindPackage(const QMetaObject* Kind, const QString& PkgName);
// One entry per name, spelt as its active package spells it, in creation order.
QStringList KvPackagesActives(const QMetaObject* Kind);

// The names of the live variables packages, one per name (defined with TKvPkgVars).
QStringList KvPkgVarsActives();

// Little-endian readers and writers of the package formats. Reader errors name the source and
// the offset.
class TKvPkgReader
{
public:
    TKvPkgReader(const QByteArray& Data, QString Source)
        : FData(Data), FSource(std::move(Source)), FEnd(Data.size())
    {
    }

    qint64 Position() const { return FPos; }
    const QString& Source() const { return FSource; }
    // Reading stops at End (the end of the body, before the checksum).
    void SetEnd(qint64 End);
    quint8 ReadU8();
    quint16 ReadU16();
    quint32 ReadU32();
    qint32 ReadI32();
    // A count of items each at least MinItemSize bytes long, checked against what is left.
    int ReadCount(int MinItemSize);
    // u32 byte length, then UTF-8.
    QString ReadString();
    QByteArray ReadBytes();
    QByteArray ReadRaw(qint64 Size);
    [[noreturn]] void Fail(const QString& Reason) const { FailAt(Reason, FPos); }
    [[noreturn]] void FailAt(const QString& Reason, qint64 Offset) const;

private:
    void Need(qint64 Size) const;
    const QByteArray& FData;
    QString FSource;
    qint64 FEnd;
    qint64 FPos = 0;
};

class TKvPkgWriter
{
public:
    void WriteU8(quint8 Value) { FData.append(char(Value)); }
    void WriteU16(quint16 Value);
    void WriteU32(quint32 Value);
    void WriteI32(qint32 Value) { WriteU32(quint32(Value)); }
    void WriteString(const QString& Value);
    void WriteBytes(const QByteArray& Value);
    void WriteRaw(const QByteArray& Value) { FData.append(Value); }
    qsizetype Size() const { return FData.size(); }
    QByteArray& Data() { return FData; }

private:
    QByteArray FData;
};
