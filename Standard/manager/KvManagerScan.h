#pragma once

#include "FormStreams.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class TComponent;
namespace KvFormBinary {
class TBinaryReader;
}

// The package manager's engine, without a window: it reads the forms of a project line by line,
// finds the property lines that refer to one package item (Scan) or counts the references to
// every item of some packages (Count), and rewrites or removes references (Replace, Clear).

// The kind of reference looked for.
enum class TKvDlgManager : quint8 {
    dlmSetsBackGround = 0,
    dlmSetsColor = 1,
    dlmSetsFont = 2,
    dlmImages = 3,
    dlmLabels = 4,
    dlmTexts = 5,
    dlmMessages = 6,
    dlmPrivileges = 7
};

// "SetsBackGround", "SetsColor", ... "Privileges".
QString KvDlgManagerName(TKvDlgManager Kind);
// The reference class a property must have to be taken ("TKvMemoryLabel").
QString KvDlgManagerClass(TKvDlgManager Kind);
// Images, labels, texts, messages: a package name line, then an id line.
bool KvIsPkgKind(TKvDlgManager Kind);
bool KvIsSetKind(TKvDlgManager Kind);

// One hit of a search. A record with NumLine -1 is a reference held by the application's own
// packages: NameUnit is then the shown name of the package part ("SetsBackGround") and
// StrChange the set's name or the privilege's id.
struct TKvTokenRec1
{
    QString NameUnit;  // form file, full path
    int NumLine = -1;  // zero-based
    QString StrChange; // owner path: Label1:TKvLabel.MemoryLabel, Grid1:TKvGrid.Columns[2].MemoryLabel
    QString StrLine;   // the whole line as read
};

// One counted item.
struct TKvTokenRec2
{
    QString PkgName; // quoted; empty for the name-keyed kinds
    QString NameId;  // id digits, or the quoted set name
    int Counter = 0;
    bool Nonexistent = false;
};

// The list texts of the manager window.
QString KvLineString(const TKvTokenRec1& Rec);
QString KvCounterString(TKvDlgManager Kind, const TKvTokenRec2& Rec);

// A line split as the manager splits it: blanks, "." and ":" separate tokens before the first
// "="; "=" and ":" are tokens of their own; a quoted string is one token with its quotes.
QStringList KvGetListTokens(QStringView Line);
// The value of a form text string expression ('Caf'#233, 'It''s'); none when Value is not one.
std::optional<QString> KvFormStringValue(QStringView Value);

// What the engine tells its caller while it works. Advance gives false once the user cancels.
class TKvManagerFeedback
{
public:
    virtual ~TKvManagerFeedback() = default;
    virtual void Caption(const QString& Text) { Q_UNUSED(Text); }
    virtual void Start(qint64 Maximum) { Q_UNUSED(Maximum); }
    virtual bool Advance(qint64 Steps) { Q_UNUSED(Steps); return true; }
    // An error worded with "%s" placeholders; the scan goes on.
    virtual void Error(int MsgType, const QString& Text, const QStringList& Args) = 0;
};

class TKvManagerScanner
{
public:
    explicit TKvManagerScanner(TKvDlgManager Kind);
    ~TKvManagerScanner();

    bool Cancelled() const { return FCancelled; }

    // Every reference to one item: the package name (kinds 3 to 6) and the id or set name,
    // without quotes. References in the forms come first, then those of the application's
    // packages. An id that is not a number raises for images and labels.
    QList<TKvTokenRec1> Scan(const QStringList& Files, const QString& PkgName, const QString& Value,
                             TKvManagerFeedback& Feedback);
    // Uses of every item of the packages named (kinds 3 to 6; other kinds count every set or
    // privilege), in the order met, items nobody uses included with 0, references to items
    // that do not exist marked.
    QList<TKvTokenRec2> Count(const QStringList& Files, const QStringList& Packages, TKvManagerFeedback& Feedback);

    // Point the checked records (in a form's text or in the live form when it is open) at
    // another item; gives the number of records whose line changed since the scan.
    int Replace(const QList<TKvTokenRec1>& Records, const QString& PkgName, const QString& Value,
                TKvManagerFeedback& Feedback);
    // Removes the references of the records; the same count.
    int Clear(const QList<TKvTokenRec1>& Records, TKvManagerFeedback& Feedback);

    // Writes a new reference into the component of a live form that Path names; false when
    // there is no such component. A value that is not a number raises for kinds 3 to 7.
    static bool SetProperty(TComponent* Form, const QString& Path, TKvDlgManager Kind, const QString& PkgName,
                            const QString& Value);

    // Single steps, for the tests.
    void BeginFile(const QString& FileName);
    // With the search key set by SetSearch.
    void SetSearch(const QString& PkgName, const QString& Value);
    std::optional<TKvTokenRec1> LineScanner(int NumLine, QStringView Line);
    // The class of the object an owner path names; empty (and an error told once) when the
    // path cannot be followed.
    QString GetTypeProperty(const QString& Path);
    void SetFeedback(TKvManagerFeedback* Feedback) { FFeedback = Feedback; }

private:
    struct TLine;
    enum class TLineKind { Other, Object, Collection };

    TKvDlgManager FKind;
    TKvManagerFeedback* FFeedback = nullptr;
    bool FCancelled = false;

    // Per file; names as the form text's bytes
    QString FNameUnit;
    bool FUtf8 = true;
    int FNumLine = 0;
    qint64 FOffset = -1; // in a binary form walked as stored: where the property starts
    QByteArray FObjName;  // of the current object: Label1 (empty for an unnamed object)
    QByteArray FObjClass; // TKvLabel
    QByteArray FNameCol;  // the collection being read
    QByteArray FNameForm; // the form's own object: Form1:TForm1
    bool FIsForm = false; // the current object is the form
    int FIndex = -1;
    bool FPkgNameB = false;
    QString FPkgNameFound; // the package of the pending PkgName line when counting

    // Search key, without quotes
    QString FPkgName;
    QString FTextS;
    QByteArray FNeedle; // for skipping files that cannot hold the key

    // Counting
    QStringList FSelPkgs; // the packages chosen
    bool FCountingPackages = false; // a binary form is walked for a count
    QList<TKvTokenRec2> FCounted;
    QHash<QString, int> FCountIndex;

    // The type check, per class and property chain
    QHash<QByteArray, QString> FTypes;

    TLineKind Bookkeeping(const TLine& L);
    QString OwnerPath(const TLine& L) const;
    bool ValidTokenSel(const TLine& L, QString* Path);
    bool ValueEquals(QByteArrayView Value, const QString& Wanted) const;
    QString Decode(QByteArrayView Bytes) const;
    std::optional<TKvTokenRec1> ScanLine(int NumLine, QByteArrayView Line);
    void CountLine(int NumLine, QByteArrayView Line);
    void CountReference(const QString& PkgName, const QString& NameId);
    void AddItem(const QString& PkgName, const QString& NameId);
    bool Walk(const QString& File, qint64 Size, bool Counting, QList<TKvTokenRec1>* Hits);
    bool WalkBinary(const QByteArray& Data, bool Counting);
    bool PackageWanted(KvFormBinary::TBinaryReader& R, int Type);
    void EnterObject(QByteArrayView Name, QByteArrayView Class);
    bool WalkCandidates(QByteArrayView Text, bool Counting, QList<TKvTokenRec1>* Hits);
    bool SetContext(QByteArrayView Text, qsizetype LineStart);
    bool Step(qint64 Steps);
    void CountPackages(const QStringList& Packages);
    void CountDefaultSets();
    void CheckExist();

    // Replace and Clear share the walk over the records' files.
    class TFileBuffer;
    friend class TFileBuffer;
};
