#pragma once

#include "CodePage.h"
#include "FormBinary.h"
#include "FormStreams.h"

#include <QHash>
#include <QPointer>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <unordered_map>

class Exception;
class QObject;
class TCollection;
class TComponent;
class TPersistent;
class TReader;
class TWriter;
class Variant;
struct TPropInfo;

// How an object was written in the stream it was read from: its properties in their order,
// each as a range of the stream, those nobody could read marked as kept; the encoding of its
// live values right after loading, to tell edited values from untouched ones; for a component
// its header flags and the order of its children.
struct TStreamRecord
{
    struct TEntry
    {
        qint32 NameAt;  // the length-prefixed name
        qint32 ValueAt;
        qint32 End;
        bool Kept;      // not read into the object: written back as it was
    };
    QByteArray Stream;
    QList<TEntry> Entries;
    int Flags = 0;
    qint32 Position = 0;
    qint32 OrderAt = -1, OrderEnd = -1; // a collection item's order value
    // Its properties as a writer encoded them right after loading, to tell edited values from
    // untouched ones: the encoding and each property's range in it.
    struct TRange
    {
        qint32 NameAt, ValueAt, End;
    };
    QByteArray LoadedStream;
    QList<TRange> Loaded;
    QList<QPointer<TComponent>> Children;
    QPointer<TComponent> ReadUnder; // the component it was read under
    bool FromAncestor = false; // came with an ancestor form: written only where it differs
    // How the ancestor forms wrote it (what it keeps from them), for an object they hold.
    std::shared_ptr<const TStreamRecord> Ancestor;
    // How 8-bit strings were read and edited ones are written (see TReader::CodePage).
    std::shared_ptr<const TCodePage> CodePage;
    bool AnsiStrings = false;

    QString EntryName(const TEntry& E) const;
    QByteArray Range(qint32 From, qint32 To) const { return Stream.mid(From, To - From); }
};

// Properties an object keeps as written (nobody reads them), as name and value in form text;
// those an ancestor form gave it after its own.
QList<std::pair<QString, QString>> KeptProperties(const TPersistent* Instance);
// The string a kept property holds (a placeholder's Caption or Text, its own or an ancestor
// form's), or a null string.
QString KeptString(const TPersistent* Instance, const QString& Name);

// What a class sees of the stream in DefineProperties: it names extra values it stores beside
// its published properties, with the code that reads and writes them.
class TFiler
{
public:
    using TReaderProc = std::function<void(TReader*)>;
    using TWriterProc = std::function<void(TWriter*)>;
    using TReadBinaryProc = std::function<void(const QByteArray&)>;
    using TWriteBinaryProc = std::function<QByteArray()>;

    virtual ~TFiler() = default;
    virtual void DefineProperty(const QString& Name, const TReaderProc& ReadData, const TWriterProc& WriteData,
                                bool HasData) = 0;
    virtual void DefineBinaryProperty(const QString& Name, const TReadBinaryProc& ReadData,
                                      const TWriteBinaryProc& WriteData, bool HasData) = 0;
    TComponent* Root() const { return FRoot; }

protected:
    TComponent* FRoot = nullptr;
};

// Reads a binary form stream into live components.
class TReader : public TFiler
{
public:
    // A TPF0 stream or its resource wrapping.
    explicit TReader(const QByteArray& Stream);
    ~TReader() override;

    // Reads the root object into Root, or into a new instance of the stream's class. When that
    // class is not registered (TForm1) or is no AncestorClass, an AncestorClass is made with the
    // class name. Component references are resolved once the whole form is read; Loaded is
    // called on every component read. On failure the components this read created are destroyed.
    TComponent* ReadRootComponent(TComponent* Root = nullptr, const QMetaObject* AncestorClass = nullptr);
    // Used for frames placed inline: their own form stream, read into the new component first.
    std::function<QByteArray(const QString&)> FindFrame;

    // Reads one object of the stream as a new component of Owner under Parent (pasting).
    TComponent* ReadComponent(TComponent* Owner, TComponent* Parent);
    // Reads every object of a stream of several, each with its own signature, as ReadComponent
    // does. References among them are resolved once all are read, so that they follow renamed
    // copies whichever comes first. Returns the top-level components, in stream order.
    QList<TComponent*> ReadComponents(TComponent* Owner, TComponent* Parent);

    // Asked for every failure to read a property or create an object; returning true skips it.
    std::function<bool(const Exception&)> OnError;
    // Reads forms as their users wrote them: a class nobody registered becomes a placeholder, a
    // property nobody publishes (or whose value does not fit) is kept as written, and every
    // object remembers how it was written (TStreamRecord), so that writing it again changes
    // only what was edited. Inherited objects missing from the owner are created.
    bool KeepAsWritten = false;
    // Decodes 8-bit strings (Latin-1 without). With AnsiStrings, objects read keeping what they
    // were write edited strings back as 8-bit strings in this code page, as older designers did.
    std::shared_ptr<const TCodePage> CodePage;
    bool AnsiStrings = false;
    // Gives the name a new component takes (pasting renames what would clash).
    std::function<QString(TComponent*, const QString&)> OnSetName;
    // References that named no component, as "Label1.FocusControl -> Edit9".
    QStringList UnresolvedReferences() const { return FUnresolved; }

    // For DefineProperties readers.
    KvFormBinary::TValueType NextValue() const { return R.NextValue(); }
    bool EndOfList() const { return R.EndOfList(); }
    void ReadListBegin() { R.CheckValue(KvFormBinary::vaList); }
    void ReadListEnd() { R.ReadListEnd(); }
    qint64 ReadInteger() { return R.ReadInt64(); }
    long double ReadFloat() { return R.ReadFloat(); }
    QString ReadString();
    bool ReadBoolean();
    QString ReadIdent();
    QByteArray ReadBinary() { return R.ReadBinary(); }
    Variant ReadVariant();
    void SkipValue() { R.SkipValue(); }

    void DefineProperty(const QString& Name, const TReaderProc& ReadData, const TWriterProc& WriteData,
                        bool HasData) override;
    void DefineBinaryProperty(const QString& Name, const TReadBinaryProc& ReadData,
                              const TWriteBinaryProc& WriteData, bool HasData) override;

private:
    struct TFixup
    {
        QPointer<QObject> Instance;
        const TPropInfo* Info;
        QString Name;
        QString Where;
    };

    QByteArray FData;
    KvFormBinary::TBinaryReader R;
    QString FPropName; // the defined property being looked for, cleared when found
    QList<TFixup> FFixups;
    QList<QPointer<TComponent>> FLoaded;
    QList<QPointer<TComponent>> FCreated;
    QList<QPointer<TPersistent>> FRecorded; // objects given a record, in reading order
    QStringList FUnresolved;
    QHash<QString, QPointer<TComponent>> FRenamed; // case-folded name in the stream -> component
    struct TPlacement
    {
        QPointer<TComponent> Component, Parent;
        qint64 At;
    };
    QList<TPlacement> FPlaced; // where components kept as written were read
    int FDepth = 0;

    bool HandleError(const Exception& E);
    TComponent* ReadObject(TComponent* Parent, TComponent* Owner);
    TComponent* CreatePlaceholder(const KvFormBinary::TObjectHeader& Header, TComponent* Parent, TComponent* Owner);
    TStreamRecord* NewRecord(TPersistent* Instance);
    void ReadChildren(TComponent* Parent, TComponent* Owner);
    void SkipObjectBody();
    void ReadProperties(TPersistent* Instance);
    void ReadProperty(TPersistent* Instance, TStreamRecord* Record);
    void ReadPropValue(QObject* Instance, const TPropInfo& Info);
    void ReadCollection(TCollection* Collection);
    TComponent* FindReference(const QString& Name) const;
    void CheckPlacement();
    void ResolveFixups();
    void FinishLoading();
    void SnapshotRecords();
    void DestroyCreated();
};

// Writes live components as a binary form stream: per object its published properties that
// differ from a new instance of its class, in declaration order, then DefineProperties data,
// then the children.
class TWriter : public TFiler
{
public:
    TWriter();
    ~TWriter() override;

    QByteArray WriteRootComponent(TComponent* Root);
    // Records how Instance encodes now, as its record's Loaded (right after loading).
    void SnapshotRecord(TPersistent* Instance);
    // One component and its children as a stream of its own, references named as seen from
    // Root (copying to the clipboard).
    QByteArray WriteComponent(TComponent* Component, TComponent* Root);

    // For DefineProperties writers.
    void WriteListBegin() { W.WriteListBegin(); }
    void WriteListEnd() { W.WriteListEnd(); }
    void WriteInteger(qint64 Value) { W.WriteInteger(Value); }
    void WriteFloat(long double Value) { W.WriteExtended(Value); }
    void WriteString(const QString& Value);
    void WriteBoolean(bool Value) { W.WriteBoolean(Value); }
    void WriteIdent(const QString& Value);
    void WriteBinary(const QByteArray& Value) { W.WriteBinary(Value); }
    void WriteVariant(const Variant& Value);

    void DefineProperty(const QString& Name, const TReaderProc& ReadData, const TWriterProc& WriteData,
                        bool HasData) override;
    void DefineBinaryProperty(const QString& Name, const TReadBinaryProc& ReadData,
                              const TWriteBinaryProc& WriteData, bool HasData) override;

private:
    KvFormBinary::TBinaryWriter W;
    QString FPrefix; // path of the sub-object whose properties are being written ("Font.")
    QList<TStreamRecord::TRange> FMarks; // where each property is while collecting one object's properties
    bool FMarking = false;
    int FNest = 0; // inside a collection's items
    bool FCopying = false; // WriteComponent: headers of new components
    const TCodePage* FCodePage = nullptr; // of the object being written, for 8-bit strings
    bool FAnsiStrings = false;
    QHash<const QMetaObject*, QObject*> FDefaults; // new instances to compare with
    std::unordered_map<const QObject*, QList<QVariant>> FDefaultValues; // their values by property
    QList<QObject*> FOwnedDefaults;

    void WriteObject(TComponent* Component);
    void WriteObjectBody(TComponent* Component, const TStreamRecord* rec);
    // The children written under Component, in their order.
    QList<TComponent*> ChildrenToWrite(TComponent* Component, const TStreamRecord* rec) const;
    void WriteProperties(TPersistent* Instance, const QObject* Default, const QString& Prefix);
    // An object's properties as a new writer would write them, and the range of each.
    QByteArray CollectProperties(TPersistent* Instance, QList<TStreamRecord::TRange>& Ranges);
    void WriteRecorded(TPersistent* Instance, const TStreamRecord& Record);
    void WriteRaw(QByteArrayView Bytes);
    friend class TReader;
    void WriteCollection(const QString& Name, TCollection* Collection, const TCollection* Default);
    void WritePropName(const QString& Name);
    void WriteOrdinal(const TPropInfo& Info, const QVariant& Value);
    const QObject* DefaultOf(const QMetaObject* AClass);
    QString ReferenceName(const TComponent* Ref) const;
};

// A read-only component property whose value the instance owns is part of the instance, not a
// reference: its properties stream under the property's name ("PkgDisplay.FileName").
bool IsSubComponent(const QObject* Instance, const TPropInfo& Info, const QObject* Value);

// Lets a reference such as Form2.Button1 find another form's root by name.
void SetFindGlobalComponent(std::function<TComponent*(const QString&)> Finder);

// Text, binary or resource input, as TReader::ReadRootComponent.
TComponent* ReadComponentStream(const QByteArray& Data, TComponent* Root = nullptr,
                                const QMetaObject* AncestorClass = nullptr);
QByteArray WriteComponentStream(TComponent* Root);
QByteArray WriteComponentText(TComponent* Root, TLineBreak LineBreak = TLineBreak::CRLF);

// A form file's shape, to write it back the way it was found.
struct TFormFileShape
{
    TStreamOriginalFormat Format = TStreamOriginalFormat::sofText;
    bool Resource = false;
    TFormTextFormat Text; // line breaks, style and encoding of a text form
};
// The TPF0 stream of a text, binary or resource form file.
QByteArray FormFileToBinary(const QByteArray& Data, TFormFileShape* Shape = nullptr);
QByteArray BinaryToFormFile(const QByteArray& Binary, const TFormFileShape& Shape);

// Reads a form as its users wrote it (TReader::KeepAsWritten) into a new root of RootClass (or of
// the stream's class when registered and one of RootClass). Ancestors are the forms it inherits
// from, base first: each is read into the same root before it, and what the form does not change
// is not written again. Frames placed inline are looked up by class name with FindFrame (their form
// stream, or empty when unknown). Unresolved references are appended to Unresolved.
struct TFormReadOptions
{
    const QMetaObject* RootClass = nullptr;
    std::shared_ptr<const TCodePage> CodePage; // Windows-1252 when not given
    bool AnsiStrings = false;                  // edited strings written 8-bit (a legacy-style form)
    QList<QByteArray> Ancestors;
    std::function<QByteArray(const QString&)> FindFrame;
    QStringList* Unresolved = nullptr;
};
TComponent* ReadFormAsWritten(const QByteArray& Binary, const TFormReadOptions& Options);
