#include "KvManagerScan.h"

#include "Classes.h"
#include "DesignIntf.h"
#include "KvApplication.h"
#include "KvDesignHooks.h"
#include "KvMessages.h"
#include "KvPkgImages.h"
#include "KvPkgStrings.h"
#include "KvReferences.h"
#include "SysUtils.h"
#include "TypInfo.h"
#include "porting/KvPortDsgn.h"
#include "registration/KvCtrlsReg.h"

#include <QFileInfo>

#include <algorithm>
#include <functional>

namespace {

const char* const KindNames[] = {"SetsBackGround", "SetsColor", "SetsFont", "Images",
                                 "Labels",         "Texts",     "Messages", "Privileges"};
const char* const KindClasses[] = {"TKvSetBackGround", "TKvSetColor", "TKvSetFont",       "TKvMemoryImage",
                                   "TKvMemoryLabel",   "TKvMemoryText", "TKvMemoryMessage", "TKvPrivilege"};

const QString TypeError = QStringLiteral("The file: %s can contain an error in the line: %s");
const QString InternalError = QStringLiteral("Internal Error: File: %s Line: %s Procedure: %s");

// Lines are looked at between progress steps at most this often, so that Cancel answers soon
// also inside a very large form.
constexpr int LinesPerStep = 8192;

inline bool IsBlank(QChar c)
{
    return c.unicode() >= 1 && c.unicode() <= 32;
}

QStringView TrimBlanks(QStringView s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && IsBlank(s[b]))
        ++b;
    while (e > b && IsBlank(s[e - 1]))
        --e;
    return s.mid(b, e - b);
}

inline bool Same(QStringView a, QStringView b)
{
    return a.size() == b.size() && a.compare(b, Qt::CaseInsensitive) == 0;
}

QString Quoted(const QString& Value)
{
    QString v = Value;
    v.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + v + QLatin1Char('\'');
}

QString Unquoted(const QString& Value)
{
    if (Value.size() >= 2 && Value.startsWith(QLatin1Char('\'')) && Value.endsWith(QLatin1Char('\'')))
        return Value.mid(1, Value.size() - 2);
    return Value;
}

int ToInt(const QString& Text)
{
    bool ok = false;
    const int v = Text.trimmed().toInt(&ok);
    if (!ok)
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(Text));
    return v;
}

// Searches bytes for an ASCII text without regard to case.
class TNeedle
{
public:
    explicit TNeedle(const QByteArray& Text) : FText(Text.toLower()) {}
    bool In(const QByteArray& Data) const
    {
        if (FText.isEmpty())
            return true;
        const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
        const std::boyer_moore_horspool_searcher searcher(
            FText.begin(), FText.end(), [fold](char c) { return std::hash<char>()(fold(c)); },
            [fold](char a, char b) { return fold(a) == fold(b); });
        return std::search(Data.begin(), Data.end(), searcher) != Data.end();
    }

private:
    QByteArray FText;
};

// Whether the lines of a form can hold Needle: its text, or in a binary form also its UTF-16
// units. Text in UTF-16 is always read.
bool MayHold(const QByteArray& Data, TStreamOriginalFormat Format, const QByteArray& Needle)
{
    if (Data.startsWith("\xFF\xFE") || Data.startsWith("\xFE\xFF"))
        return true;
    if (TNeedle(Needle).In(Data))
        return true;
    if (Format != TStreamOriginalFormat::sofBinary)
        return false;
    QByteArray wide;
    for (char c : Needle)
        wide.append(c).append('\0');
    return TNeedle(wide).In(Data);
}

// The component a path names: on the form, or inside one of its frames.
TComponent* FindOwned(TComponent* Root, const QString& Name)
{
    if (Name.isEmpty())
        return nullptr;
    if (TComponent* c = Root->FindComponent(Name))
        return c;
    for (int i = 0; i < Root->ComponentCount(); ++i)
        if (TComponent* c = FindOwned(Root->Components(i), Name))
            return c;
    return nullptr;
}

} // namespace

QString KvDlgManagerName(TKvDlgManager Kind)
{
    return QString::fromLatin1(KindNames[int(Kind)]);
}

QString KvDlgManagerClass(TKvDlgManager Kind)
{
    return QString::fromLatin1(KindClasses[int(Kind)]);
}

bool KvIsPkgKind(TKvDlgManager Kind)
{
    return Kind >= TKvDlgManager::dlmImages && Kind <= TKvDlgManager::dlmMessages;
}

bool KvIsSetKind(TKvDlgManager Kind)
{
    return Kind <= TKvDlgManager::dlmSetsFont;
}

QString KvLineString(const TKvTokenRec1& Rec)
{
    if (Rec.NumLine >= 0) {
        const QStringList t = KvGetListTokens(Rec.StrChange);
        const auto at = [&t](int i) { return i < t.size() ? t[i] : QString(); };
        QString owner = at(0) + at(1) + at(2);
        if (at(3).contains(QLatin1Char('[')))
            owner += QStringLiteral(" - ") + at(3);
        return QStringLiteral("(%1) (%2) %3").arg(QFileInfo(Rec.NameUnit).fileName(), owner, Rec.StrLine);
    }
    if (Rec.NameUnit.compare(QLatin1String("Privileges"), Qt::CaseInsensitive) != 0)
        return QStringLiteral("(%1) Name: '%2'").arg(Rec.NameUnit, Rec.StrChange);
    return QStringLiteral("(%1) Id: %2").arg(Rec.NameUnit, Rec.StrChange);
}

QString KvCounterString(TKvDlgManager Kind, const TKvTokenRec2& Rec)
{
    QString text = QStringLiteral("(%1) ").arg(Rec.Counter, 5, 10, QLatin1Char('0'));
    if (!Rec.PkgName.isEmpty())
        text += QStringLiteral("PkgName: ") + Rec.PkgName + QLatin1Char(' ');
    const bool id = !Rec.PkgName.isEmpty() || Kind == TKvDlgManager::dlmPrivileges;
    text += (id ? QStringLiteral("Id: ") : QStringLiteral("Name: ")) + Rec.NameId;
    if (Rec.Nonexistent)
        text += QStringLiteral(" ( Nonexistent )");
    return text;
}

QStringList KvGetListTokens(QStringView Line)
{
    QStringList list;
    QString pending;
    bool equal = false;
    const auto push = [&] {
        const QStringView t = TrimBlanks(pending);
        if (!t.isEmpty())
            list << t.toString();
        pending.clear();
    };
    qsizetype i = 0;
    const qsizetype n = Line.size();
    const auto skipBlanks = [&] {
        while (i < n && IsBlank(Line[i]))
            ++i;
    };
    skipBlanks();
    while (i < n) {
        const QChar c = Line[i];
        if ((c == QLatin1Char('.') || c == QLatin1Char(' ')) && !equal) {
            push();
            ++i;
            skipBlanks();
        } else if (c == QLatin1Char(':') || c == QLatin1Char('=')) {
            if (c == QLatin1Char('='))
                equal = true;
            push();
            list << QString(c);
            ++i;
            skipBlanks();
        } else if (c == QLatin1Char('\'')) {
            pending.clear();
            const qsizetype start = i++;
            while (i < n && Line[i] != QLatin1Char('\''))
                ++i;
            if (i < n)
                ++i;
            list << Line.mid(start, i - start).toString();
            ++i; // the character after the closing quote is not looked at
            skipBlanks();
        } else {
            pending += c;
            ++i;
        }
    }
    push();
    return list;
}

std::optional<QString> KvFormStringValue(QStringView Value)
{
    QString result;
    qsizetype i = 0;
    const qsizetype n = Value.size();
    bool any = false;
    while (i < n) {
        const QChar c = Value[i];
        if (IsBlank(c)) {
            ++i;
        } else if (c == QLatin1Char('\'')) {
            ++i;
            for (;;) {
                if (i >= n)
                    return std::nullopt;
                if (Value[i] == QLatin1Char('\'')) {
                    if (i + 1 < n && Value[i + 1] == QLatin1Char('\'')) {
                        result += QLatin1Char('\'');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                result += Value[i++];
            }
            any = true;
        } else if (c == QLatin1Char('#')) {
            ++i;
            const bool hex = i < n && Value[i] == QLatin1Char('$');
            if (hex)
                ++i;
            const qsizetype start = i;
            while (i < n && (hex ? isxdigit(Value[i].unicode()) : Value[i].isDigit()) && Value[i].unicode() < 128)
                ++i;
            bool ok = false;
            const uint code = Value.mid(start, i - start).toUInt(&ok, hex ? 16 : 10);
            if (!ok || code > 0x10FFFF)
                return std::nullopt;
            result += QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
            any = true;
        } else {
            return std::nullopt;
        }
    }
    if (!any)
        return std::nullopt;
    return result;
}

// ---------------------------------------------------------------------------------------------
// One line, split without copying: the part before the first "=" and the part after it.

struct TKvManagerScanner::TLine
{
    QStringView Text;    // as read
    QStringView Trimmed; // without surrounding blanks
    bool Property = false; // has a "=" with a name before it, not inside a quoted string
    QStringView Head;    // before "=": MemoryLabel.Id
    QStringView Key;     // its last token: Id
    QStringView Chain;   // the tokens before the key: MemoryLabel
    QStringView Value;   // after "=", trimmed

    explicit TLine(QStringView Line) : Text(Line), Trimmed(TrimBlanks(Line))
    {
        qsizetype p = -1;
        for (qsizetype i = 0; i < Trimmed.size(); ++i) {
            const char16_t c = Trimmed[i].unicode();
            if (c == u'=') {
                p = i;
                break;
            }
            if (c == u'\'' || c == u':')
                return;
        }
        if (p <= 0)
            return;
        Head = TrimBlanks(Trimmed.left(p));
        Value = TrimBlanks(Trimmed.mid(p + 1));
        qsizetype k = Head.size();
        while (k > 0 && Head[k - 1] != QLatin1Char('.') && !IsBlank(Head[k - 1]))
            --k;
        Key = Head.mid(k);
        qsizetype c = k;
        while (c > 0 && (Head[c - 1] == QLatin1Char('.') || IsBlank(Head[c - 1])))
            --c;
        Chain = Head.left(c);
        Property = !Key.isEmpty();
    }
};

TKvManagerScanner::TKvManagerScanner(TKvDlgManager Kind) : FKind(Kind) {}

TKvManagerScanner::~TKvManagerScanner() = default;

void TKvManagerScanner::BeginFile(const QString& FileName)
{
    FNameUnit = FileName;
    FNumLine = 0;
    FNameObj.clear();
    FObjClass.clear();
    FNameCol.clear();
    FNameForm.clear();
    FIndex = -1;
    FPkgNameB = false;
    FPkgNameFound.clear();
}

void TKvManagerScanner::SetSearch(const QString& PkgName, const QString& Value)
{
    FPkgName = PkgName;
    FTextS = Value;
    FTypes.clear();
}

TKvManagerScanner::TLineKind TKvManagerScanner::Bookkeeping(const TLine& L)
{
    const QStringView t = L.Trimmed;
    if (!t.isEmpty() && (t[0] == QLatin1Char('o') || t[0] == QLatin1Char('O') || t[0] == QLatin1Char('i')
                         || t[0] == QLatin1Char('I'))) {
        qsizetype w = 0;
        while (w < t.size() && !IsBlank(t[w]) && t[w] != QLatin1Char(':'))
            ++w;
        const QStringView word = t.left(w);
        if (Same(word, u"object") || Same(word, u"inherited") || Same(word, u"inline")) {
            FNameCol.clear();
            QStringView rest = TrimBlanks(t.mid(w));
            const qsizetype colon = rest.indexOf(QLatin1Char(':'));
            QStringView name, cls;
            if (colon >= 0) {
                name = TrimBlanks(rest.left(colon));
                cls = TrimBlanks(rest.mid(colon + 1));
            } else {
                cls = rest;
            }
            qsizetype e = 0;
            while (e < cls.size() && !IsBlank(cls[e]) && cls[e] != QLatin1Char('['))
                ++e;
            cls = cls.left(e);
            FObjClass = cls.toString();
            FNameObj = name.toString() + QLatin1Char(':') + FObjClass;
            return TLineKind::Object;
        }
    }
    if (FNameCol.isEmpty()) {
        if (L.Property && L.Value == QLatin1String("<")) {
            FNameCol = L.Key.toString();
            FIndex = -1;
            return TLineKind::Collection;
        }
        return TLineKind::Other;
    }
    if (Same(t, u"end>")) {
        FNameCol.clear();
        return TLineKind::Collection;
    }
    // Items carry no index of their own in form text: they count from the collection's start.
    if (Same(t, u"item")) {
        ++FIndex;
        return TLineKind::Collection;
    }
    if (L.Property && L.Chain.isEmpty() && Same(L.Key, u"Index")) {
        bool ok = false;
        const int index = L.Value.toInt(&ok);
        if (ok) {
            FIndex = index;
            return TLineKind::Collection;
        }
    }
    return TLineKind::Other;
}

QString TKvManagerScanner::OwnerPath(const TLine& L) const
{
    QString path = FNameObj;
    if (!FNameCol.isEmpty())
        path += QLatin1Char('.') + FNameCol + QLatin1Char('[') + QString::number(FIndex) + QLatin1Char(']');
    if (!L.Chain.isEmpty()) {
        for (const QString& token : KvGetListTokens(L.Chain))
            path += QLatin1Char('.') + token;
    }
    return path;
}

bool TKvManagerScanner::ValidTokenSel(const TLine& L, QString* Path)
{
    if (FNameObj == FNameForm)
        return false;
    // The answer depends only on the class and the property chain, not on names or indexes.
    QString key = FObjClass.toLower();
    key += QLatin1Char('|');
    if (!FNameCol.isEmpty())
        key += FNameCol.toLower() + QStringLiteral("[]");
    key += QLatin1Char('|');
    key += L.Chain.toString().toLower();
    auto it = FTypes.constFind(key);
    if (it == FTypes.constEnd())
        it = FTypes.insert(key, GetTypeProperty(OwnerPath(L)));
    if (it->compare(KvDlgManagerClass(FKind), Qt::CaseInsensitive) != 0)
        return false;
    if (Path)
        *Path = OwnerPath(L);
    return true;
}

QString TKvManagerScanner::GetTypeProperty(const QString& Path)
{
    QStringList t = KvGetListTokens(Path);
    if (!t.isEmpty() && t[0] == QLatin1String(":"))
        t.prepend(QStringLiteral("KvNew_Object"));
    if (t.size() < 3 || t[1] != QLatin1String(":"))
        return QString();
    std::unique_ptr<QObject> instance;
    try {
        const QMetaObject* type = GetClass(t[2]);
        if (!type)
            throw EClassNotFound(QStringLiteral("Class %1 not found").arg(t[2]));
        // An instance is needed only to learn the item class of a collection.
        QObject* current = nullptr;
        if (std::any_of(t.begin() + 3, t.end(), [](const QString& s) { return s.contains(QLatin1Char('[')); })) {
            TComponent* c = CreateComponent(type, nullptr);
            instance.reset(c);
            current = c;
        }
        for (int i = 3; i < t.size(); ++i) {
            const qsizetype bracket = t[i].indexOf(QLatin1Char('['));
            const QString name = bracket >= 0 ? t[i].left(bracket) : t[i];
            const TPropInfo* info = GetPropInfo(type, name);
            if (!info || info->Kind != TTypeKind::tkClass)
                throw EPropertyError(QStringLiteral("Property %1 does not exist").arg(name));
            if (bracket >= 0) {
                auto* collection = qobject_cast<TCollection*>(current ? GetObjectProp(current, *info) : nullptr);
                if (!collection)
                    throw EPropertyError(QStringLiteral("Property %1 is not a collection").arg(name));
                current = collection->Count() > 0 ? collection->Items(0) : collection->Add();
                type = current->metaObject();
            } else {
                current = current ? GetObjectProp(current, *info) : nullptr;
                type = current ? current->metaObject() : info->ClassType;
                // The declared type decides, as a null sub-object has no class of its own.
                if (info->ClassType && !current)
                    type = info->ClassType;
            }
        }
        return QString::fromLatin1(type->className());
    } catch (const Exception&) {
        if (FFeedback)
            FFeedback->Error(KvMsgError, TypeError,
                             {QFileInfo(FNameUnit).fileName(), QStringLiteral("(%1) %2").arg(FNumLine).arg(Path)});
        return QString();
    }
}

bool TKvManagerScanner::ValueEquals(QStringView Value, const QString& Wanted) const
{
    if (!Value.isEmpty() && (Value[0] == QLatin1Char('\'') || Value[0] == QLatin1Char('#'))) {
        const std::optional<QString> v = KvFormStringValue(Value);
        return v && v->compare(Wanted, Qt::CaseInsensitive) == 0;
    }
    return Value.compare(Wanted, Qt::CaseInsensitive) == 0;
}

std::optional<TKvTokenRec1> TKvManagerScanner::LineScanner(int NumLine, QStringView Line)
{
    FNumLine = NumLine;
    const TLine L(Line);
    const TLineKind kind = Bookkeeping(L);
    if (NumLine == 0 && kind == TLineKind::Object)
        FNameForm = FNameObj;
    if (kind == TLineKind::Object)
        return std::nullopt;
    QString path;
    if (!KvIsPkgKind(FKind)) {
        const QStringView key = FKind == TKvDlgManager::dlmPrivileges ? u"Id" : u"Name";
        if (kind == TLineKind::Other && L.Property && Same(L.Key, key) && ValueEquals(L.Value, FTextS)
            && ValidTokenSel(L, &path))
            return TKvTokenRec1{FNameUnit, NumLine, path, Line.toString()};
        return std::nullopt;
    }
    if (!FPkgNameB) {
        if (kind == TLineKind::Other && L.Property && Same(L.Key, u"PkgName") && ValueEquals(L.Value, FPkgName)
            && ValidTokenSel(L, nullptr))
            FPkgNameB = true;
        return std::nullopt;
    }
    FPkgNameB = false;
    if (kind == TLineKind::Other && L.Property && L.Key == QLatin1String("Id") && ValueEquals(L.Value, FTextS)
        && ValidTokenSel(L, &path))
        return TKvTokenRec1{FNameUnit, NumLine, path, Line.toString()};
    return std::nullopt;
}

void TKvManagerScanner::LineCounter(int NumLine, QStringView Line)
{
    FNumLine = NumLine;
    const TLine L(Line);
    const TLineKind kind = Bookkeeping(L);
    if (NumLine == 0 && kind == TLineKind::Object)
        FNameForm = FNameObj;
    if (kind == TLineKind::Object)
        return;
    if (!KvIsPkgKind(FKind)) {
        const QStringView key = FKind == TKvDlgManager::dlmPrivileges ? u"Id" : u"Name";
        if (kind == TLineKind::Other && L.Property && Same(L.Key, key) && ValidTokenSel(L, nullptr)) {
            if (FKind == TKvDlgManager::dlmPrivileges) {
                CountReference(QString(), L.Value.toString());
            } else {
                const std::optional<QString> name = KvFormStringValue(L.Value);
                CountReference(QString(), Quoted(name ? *name : L.Value.toString()));
            }
        }
        return;
    }
    if (!FPkgNameB) {
        if (kind == TLineKind::Other && L.Property && Same(L.Key, u"PkgName")) {
            const std::optional<QString> name = KvFormStringValue(L.Value);
            if (name && FSelPkgs.contains(name->toLower()) && ValidTokenSel(L, nullptr)) {
                FPkgNameB = true;
                FPkgNameFound = Quoted(*name);
            }
        }
        return;
    }
    FPkgNameB = false;
    if (kind == TLineKind::Other && L.Property && Same(L.Key, u"Id") && ValidTokenSel(L, nullptr))
        CountReference(FPkgNameFound, L.Value.toString());
}

void TKvManagerScanner::AddItem(const QString& PkgName, const QString& NameId)
{
    const QString key = PkgName.toLower() + QChar(0x1F) + NameId.toLower();
    if (!FCountIndex.contains(key)) {
        FCountIndex.insert(key, int(FCounted.size()));
        FCounted.append(TKvTokenRec2{PkgName, NameId, 0, false});
    }
}

void TKvManagerScanner::CountReference(const QString& PkgName, const QString& NameId)
{
    const QString key = PkgName.toLower() + QChar(0x1F) + NameId.toLower();
    const auto it = FCountIndex.constFind(key);
    if (it != FCountIndex.constEnd()) {
        ++FCounted[*it].Counter;
        return;
    }
    FCountIndex.insert(key, int(FCounted.size()));
    FCounted.append(TKvTokenRec2{PkgName, NameId, 1, false});
}

bool TKvManagerScanner::Step(qint64 Steps)
{
    if (!FCancelled && FFeedback && !FFeedback->Advance(Steps))
        FCancelled = true;
    return !FCancelled;
}

// Reads one form and runs the search or the count over its lines. A form that cannot be read,
// or a failure inside it, is told and the walk goes on with the next.
bool TKvManagerScanner::Walk(const QString& File, qint64 Size, bool Counting, QList<TKvTokenRec1>* Hits)
{
    QString text;
    TStreamOriginalFormat format;
    try {
        TKvFormFilter filter;
        if (!Counting && !FNeedle.isEmpty())
            filter = [this](const QByteArray& Data, TStreamOriginalFormat Format) {
                return MayHold(Data, Format, FNeedle);
            };
        if (!KvDelphiFormToText(File, text, format, filter))
            return Step(Size);
    } catch (const Exception& e) {
        if (FFeedback)
            FFeedback->Error(KvMsgError, e.Message, {});
        return Step(Size);
    }
    BeginFile(File);
    QStringView current;
    try {
        KvForEachFormLine(text, [&](int Index, QStringView Line) {
            current = Line;
            if (Counting) {
                LineCounter(Index, Line);
            } else if (std::optional<TKvTokenRec1> hit = LineScanner(Index, Line)) {
                Hits->append(std::move(*hit));
            }
            return (Index + 1) % LinesPerStep != 0 || Step(0);
        });
    } catch (const Exception& e) {
        if (FFeedback)
            FFeedback->Error(KvMsgError, InternalError,
                             {QFileInfo(File).fileName(), QStringLiteral("(%1) %2").arg(FNumLine).arg(current),
                              Counting ? QStringLiteral("LineCounter") : QStringLiteral("LineScanner")});
    }
    return !FCancelled && Step(Size);
}

namespace {

qint64 TotalSize(const QStringList& Files)
{
    qint64 total = 0;
    for (const QString& f : Files)
        total += std::max<qint64>(1, QFileInfo(f).size());
    return total;
}

qint64 StepSize(const QString& File)
{
    return std::max<qint64>(1, QFileInfo(File).size());
}

// The references held by the application's own packages: the describing label of every set
// and privilege, the image of every background set.
struct TAppReference
{
    QString Part; // SetsBackGround, SetsColor, SetsFont, Privileges
    QString Name; // the set's name or the privilege's id
    QString PkgName;
    int Id;
};

QList<TAppReference> AppReferences(TKvDlgManager Kind)
{
    QList<TAppReference> refs;
    TKvCApplication* app = KvCApp();
    if (!app)
        return refs;
    TKvPkgDisplay* display = app->PkgDisplay();
    if (Kind == TKvDlgManager::dlmImages) {
        for (int i = 0; i < display->SetsBackGround()->Count(); ++i) {
            const TKvSetBackGroundItem* s = display->SetsBackGround()->GetItems(i);
            refs.append({QStringLiteral("SetsBackGround"), s->Name(), s->ImagePkgName(), s->ImageId()});
        }
    } else if (Kind == TKvDlgManager::dlmLabels) {
        const auto sets = [&refs](const TKvDisplaySets* List, const QString& Part, auto Get) {
            for (int i = 0; i < List->Count(); ++i) {
                const TKvDisplaySet* s = Get(i);
                refs.append({Part, s->Name(), s->DescriptionPkgName(), s->DescriptionId()});
            }
        };
        sets(display->SetsBackGround(), QStringLiteral("SetsBackGround"),
             [display](int i) -> const TKvDisplaySet* { return display->SetsBackGround()->GetItems(i); });
        sets(display->SetsColor(), QStringLiteral("SetsColor"),
             [display](int i) -> const TKvDisplaySet* { return display->SetsColor()->GetItems(i); });
        sets(display->SetsFont(), QStringLiteral("SetsFont"),
             [display](int i) -> const TKvDisplaySet* { return display->SetsFont()->GetItems(i); });
        TKvPkgPrivileges* privileges = app->Privileges();
        for (int i = 0; i < privileges->Count(); ++i) {
            const TKvPkgPrivilegesItem* p = privileges->GetItems(i);
            refs.append({QStringLiteral("Privileges"), QString::number(p->Id()), p->DescriptionPkgName(),
                         p->DescriptionId()});
        }
    }
    return refs;
}

} // namespace

QList<TKvTokenRec1> TKvManagerScanner::Scan(const QStringList& Files, const QString& PkgName, const QString& Value,
                                            TKvManagerFeedback& Feedback)
{
    FFeedback = &Feedback;
    FCancelled = false;
    SetSearch(PkgName, Value);
    // A form that does not hold the package name (or the set name) anywhere is not read line by
    // line. Names with characters the writer may escape are always looked for line by line.
    const QString needle = KvIsPkgKind(FKind) ? PkgName : KvIsSetKind(FKind) ? Value : QString();
    FNeedle.clear();
    if (std::all_of(needle.begin(), needle.end(),
                    [](QChar c) { return c.unicode() > 32 && c.unicode() < 127 && c != QLatin1Char('\''); }))
        FNeedle = needle.toLatin1();
    const bool packageCheck = FKind == TKvDlgManager::dlmImages || FKind == TKvDlgManager::dlmLabels;
    const int id = packageCheck ? ToInt(Value) : 0;
    const QList<TAppReference> refs = AppReferences(FKind);
    Feedback.Start(TotalSize(Files) + refs.size());
    QList<TKvTokenRec1> hits;
    for (const QString& file : Files) {
        Feedback.Caption(file);
        if (!Walk(file, StepSize(file), false, &hits))
            break;
    }
    if (!FCancelled && packageCheck) {
        Feedback.Caption(FKind == TKvDlgManager::dlmImages
                             ? QStringLiteral("Images Check (SetsBackGround)")
                             : QStringLiteral("Labels Check (SetsBackGround, SetsColor, SetsFont, Privileges)"));
        for (const TAppReference& r : refs) {
            if (r.Id >= 0 && r.Id == id && r.PkgName.compare(PkgName, Qt::CaseInsensitive) == 0)
                hits.append(TKvTokenRec1{r.Part, -1, r.Name, QString()});
            if (!Step(1))
                break;
        }
    }
    FFeedback = nullptr;
    return hits;
}

QList<TKvTokenRec2> TKvManagerScanner::Count(const QStringList& Files, const QStringList& Packages,
                                             TKvManagerFeedback& Feedback)
{
    FFeedback = &Feedback;
    FCancelled = false;
    FCounted.clear();
    FCountIndex.clear();
    FTypes.clear();
    FSelPkgs.clear();
    for (const QString& p : Packages)
        FSelPkgs.insert(p.toLower(), true);
    const QList<TAppReference> refs = AppReferences(FKind);
    Feedback.Start(TotalSize(Files) + refs.size());
    for (const QString& file : Files) {
        Feedback.Caption(file);
        if (!Walk(file, StepSize(file), true, nullptr))
            break;
    }
    if (!FCancelled) {
        Feedback.Caption(KvDlgManagerName(FKind) + QStringLiteral(" Search"));
        CountPackages(Packages);
    }
    if (!FCancelled && !refs.isEmpty()) {
        Feedback.Caption(FKind == TKvDlgManager::dlmImages
                             ? QStringLiteral("Images Check (SetsBackGround)")
                             : QStringLiteral("Labels Check (SetsBackGround, SetsColor, SetsFont, Privileges)"));
        for (const TAppReference& r : refs) {
            if (r.Id >= 0)
                CountReference(Quoted(r.PkgName), QString::number(r.Id));
            if (!Step(1))
                break;
        }
    }
    if (!FCancelled) {
        Feedback.Caption(QStringLiteral("Exist Check"));
        Feedback.Start(FCounted.size());
        CheckExist();
    }
    FFeedback = nullptr;
    return FCounted;
}

void TKvManagerScanner::CountPackages(const QStringList& Packages)
{
    TKvCApplication* app = KvCApp();
    switch (FKind) {
    case TKvDlgManager::dlmSetsBackGround:
    case TKvDlgManager::dlmSetsColor:
    case TKvDlgManager::dlmSetsFont: {
        if (!app)
            return;
        TKvPkgDisplay* d = app->PkgDisplay();
        const TKvDisplaySets* list = FKind == TKvDlgManager::dlmSetsColor ? static_cast<TKvDisplaySets*>(d->SetsColor())
            : FKind == TKvDlgManager::dlmSetsFont                         ? static_cast<TKvDisplaySets*>(d->SetsFont())
                                                                          : d->SetsBackGround();
        for (int i = 0; i < list->Count(); ++i)
            AddItem(QString(), Quoted(FKind == TKvDlgManager::dlmSetsColor ? d->SetsColor()->GetItems(i)->Name()
                                          : FKind == TKvDlgManager::dlmSetsFont
                                          ? d->SetsFont()->GetItems(i)->Name()
                                          : d->SetsBackGround()->GetItems(i)->Name()));
        return;
    }
    case TKvDlgManager::dlmPrivileges:
        if (!app)
            return;
        for (int i = 0; i < app->Privileges()->Count(); ++i)
            AddItem(QString(), QString::number(app->Privileges()->GetItems(i)->Id()));
        return;
    case TKvDlgManager::dlmImages:
        for (const QString& name : Packages)
            if (TKvPkgImages* pkg = KvFindPkgImages(name))
                for (int i = 0; i < pkg->Images()->Count(); ++i)
                    AddItem(Quoted(name), QString::number(pkg->Images()->GetItems(i)->Id()));
        return;
    default:
        for (const QString& name : Packages) {
            TKvPkgStrings* pkg = KvFindPkgStrings(name);
            if (!pkg)
                continue;
            const TKvPkgItems* list = FKind == TKvDlgManager::dlmLabels ? static_cast<TKvPkgItems*>(pkg->Labels())
                : FKind == TKvDlgManager::dlmTexts                      ? static_cast<TKvPkgItems*>(pkg->Texts())
                                                                        : pkg->Messages();
            for (int i = 0; i < list->Count(); ++i) {
                const int id = FKind == TKvDlgManager::dlmLabels ? pkg->Labels()->GetItems(i)->Id()
                    : FKind == TKvDlgManager::dlmTexts           ? pkg->Texts()->GetItems(i)->Id()
                                                                 : pkg->Messages()->GetItems(i)->Id();
                AddItem(Quoted(name), QString::number(id));
            }
        }
    }
}

void TKvManagerScanner::CheckExist()
{
    TKvCApplication* app = KvCApp();
    for (TKvTokenRec2& rec : FCounted) {
        const QString pkg = Unquoted(rec.PkgName);
        bool exists = true;
        switch (FKind) {
        case TKvDlgManager::dlmSetsBackGround:
        case TKvDlgManager::dlmSetsColor:
        case TKvDlgManager::dlmSetsFont:
            if (app) {
                TKvPkgDisplay* d = app->PkgDisplay();
                const QString name = Unquoted(rec.NameId);
                exists = FKind == TKvDlgManager::dlmSetsColor ? d->SetsColor()->Find(name) != nullptr
                    : FKind == TKvDlgManager::dlmSetsFont     ? d->SetsFont()->Find(name) != nullptr
                                                              : d->SetsBackGround()->Find(name) != nullptr;
            }
            break;
        case TKvDlgManager::dlmPrivileges:
            if (app)
                exists = app->Privileges()->FindId(ToInt(rec.NameId)) != nullptr;
            break;
        case TKvDlgManager::dlmImages: {
            TKvPkgImages* p = KvFindPkgImages(pkg);
            exists = p && p->Images()->FindId(ToInt(rec.NameId));
            break;
        }
        default: {
            TKvPkgStrings* p = KvFindPkgStrings(pkg);
            const int id = ToInt(rec.NameId);
            exists = p
                && (FKind == TKvDlgManager::dlmLabels ? p->Labels()->FindId(id) != nullptr
                        : FKind == TKvDlgManager::dlmTexts ? p->Texts()->FindId(id) != nullptr
                                                           : p->Messages()->FindId(id) != nullptr);
        }
        }
        rec.Nonexistent = !exists;
        if (!Step(1))
            return;
    }
}

// ---------------------------------------------------------------------------------------------
// Replace and Clear

bool TKvManagerScanner::SetProperty(TComponent* Form, const QString& Path, TKvDlgManager Kind, const QString& PkgName,
                                    const QString& Value)
{
    QStringList t = KvGetListTokens(Path);
    if (!t.isEmpty() && t[0] == QLatin1String(":"))
        t[0].clear();
    if (t.isEmpty())
        return false;
    TComponent* component = FindOwned(Form, t[0]);
    if (!component)
        return false;
    QObject* current = component;
    for (int i = 3; i < t.size() && current; ++i) {
        const qsizetype bracket = t[i].indexOf(QLatin1Char('['));
        const QString name = bracket >= 0 ? t[i].left(bracket) : t[i];
        const TPropInfo* info = GetPropInfo(current->metaObject(), name);
        if (!info || info->Kind != TTypeKind::tkClass)
            return false;
        current = GetObjectProp(current, *info);
        if (bracket >= 0) {
            auto* collection = qobject_cast<TCollection*>(current);
            const int index = t[i].mid(bracket + 1).chopped(1).toInt();
            if (!collection || index < 0 || index >= collection->Count())
                return false;
            current = collection->Items(index);
        }
    }
    if (KvIsSetKind(Kind)) {
        auto* ref = qobject_cast<TKvSetReference*>(current);
        if (!ref)
            return false;
        ref->SetName(Value);
    } else if (Kind == TKvDlgManager::dlmPrivileges) {
        auto* ref = qobject_cast<TKvPrivilege*>(current);
        const int id = ToInt(Value);
        if (!ref)
            return false;
        ref->SetId(id);
    } else {
        auto* ref = qobject_cast<TKvMemoryReference*>(current);
        const int id = ToInt(Value);
        if (!ref)
            return false;
        ref->PkgId(PkgName, id);
    }
    return true;
}

// The form text of one file at a time, loaded when a record of another file comes, written
// back (or the live form's designer told) when the next file comes and at the end.
class TKvManagerScanner::TFileBuffer
{
public:
    explicit TFileBuffer(TKvManagerFeedback& Feedback) : FFeedback(Feedback) {}
    ~TFileBuffer() { FChange.reset(); }

    QString File;
    QStringList Lines;
    TComponent* Form = nullptr;
    bool Changed = false;

    void Switch(const QString& NewFile)
    {
        if (!File.isEmpty() && File.compare(NewFile, Qt::CaseInsensitive) == 0)
            return;
        Flush();
        File = NewFile;
        Lines.clear();
        FBackup.clear();
        Changed = false;
        FFeedback.Caption(NewFile);
        try {
            if (!KvDelphiFormToFormText(NewFile, Lines, FFormat))
                Lines.clear();
        } catch (const Exception& e) {
            Lines.clear();
            FFeedback.Error(KvMsgError, e.Message, {});
        }
        FBackup = Lines;
        Form = KvDelphiDesignForm(NewFile);
        // Live changes of one form are one step of its history.
        if (Form)
            FChange = std::make_unique<TDesignerChange>(KvFindDesigner(Form), QStringLiteral("Package manager"));
    }

    void Flush()
    {
        if (File.isEmpty() || !Changed) {
            FChange.reset();
            return;
        }
        if (Form) {
            KvDesignerModified(Form);
            FChange.reset();
            return;
        }
        try {
            KvDelphiFormTextToForm(Lines, File, FFormat);
        } catch (const Exception& e) {
            try {
                KvDelphiFormTextToForm(FBackup, File, FFormat);
            } catch (const Exception&) {
                // The writes are atomic: the file still holds what was read.
            }
            FFeedback.Error(KvMsgError, e.Message, {});
        }
        Changed = false;
    }

    // The line still reads as when it was found.
    bool Unchanged(const TKvTokenRec1& Rec) const
    {
        return Rec.NumLine < Lines.size() && Lines[Rec.NumLine] == Rec.StrLine;
    }

    bool PkgNameAbove(int NumLine) const
    {
        if (NumLine < 1 || NumLine > Lines.size())
            return false;
        const TLine L(Lines[NumLine - 1]);
        return L.Property && Same(L.Key, u"PkgName");
    }

private:
    TKvManagerFeedback& FFeedback;
    QStringList FBackup;
    TStreamOriginalFormat FFormat = TStreamOriginalFormat::sofUnknown;
    std::unique_ptr<TDesignerChange> FChange;
};

namespace {

// Keeps everything up to and including the first "=" and puts the new text after it.
bool RewriteValue(QString& Line, const QString& Text)
{
    const qsizetype p = Line.indexOf(QLatin1Char('='));
    if (p < 0)
        return false;
    Line = Line.left(p + 1) + QLatin1Char(' ') + Text;
    return true;
}

// Points a reference held by the application's packages at another item; without a package
// name the reference keeps its package and gets Id (-1: none).
void SetAppReference(TKvDlgManager Kind, const TKvTokenRec1& Rec, const std::optional<QString>& PkgName, int Id)
{
    TKvCApplication* app = KvCApp();
    if (!app)
        return;
    TKvPkgDisplay* d = app->PkgDisplay();
    const auto describe = [&](auto* Item) {
        if (Item && Kind == TKvDlgManager::dlmLabels)
            Item->SetDescriptionId(PkgName.value_or(Item->DescriptionPkgName()), Id);
    };
    if (Rec.NameUnit == QLatin1String("SetsBackGround")) {
        TKvSetBackGroundItem* s = d->SetsBackGround()->Find(Rec.StrChange);
        if (s && Kind == TKvDlgManager::dlmImages)
            s->SetImage(PkgName.value_or(s->ImagePkgName()), Id);
        describe(s);
    } else if (Rec.NameUnit == QLatin1String("SetsColor")) {
        describe(d->SetsColor()->Find(Rec.StrChange));
    } else if (Rec.NameUnit == QLatin1String("SetsFont")) {
        describe(d->SetsFont()->Find(Rec.StrChange));
    } else if (Rec.NameUnit == QLatin1String("Privileges")) {
        describe(app->Privileges()->FindId(ToInt(Rec.StrChange)));
    }
}

} // namespace

int TKvManagerScanner::Replace(const QList<TKvTokenRec1>& Records, const QString& PkgName, const QString& Value,
                               TKvManagerFeedback& Feedback)
{
    const bool setKind = KvIsSetKind(FKind);
    const int id = setKind ? 0 : ToInt(Value);
    const QString pkgText = KvIsPkgKind(FKind) ? Quoted(PkgName) : QString();
    const QString valueText = setKind ? Quoted(Value) : QString::number(id);
    FFeedback = &Feedback;
    FCancelled = false;
    Feedback.Start(Records.size());
    int notChanged = 0;
    TFileBuffer buffer(Feedback);
    for (const TKvTokenRec1& rec : Records) {
        if (rec.NumLine < 0) {
            SetAppReference(FKind, rec, PkgName, id);
        } else {
            buffer.Switch(rec.NameUnit);
            FNameUnit = rec.NameUnit;
            FNumLine = rec.NumLine;
            if (!buffer.Unchanged(rec) || (KvIsPkgKind(FKind) && !buffer.Form && !buffer.PkgNameAbove(rec.NumLine))) {
                ++notChanged;
            } else if (buffer.Form) {
                if (SetProperty(buffer.Form, rec.StrChange, FKind, PkgName, Value))
                    buffer.Changed = true;
                else
                    ++notChanged;
            } else {
                if (KvIsPkgKind(FKind))
                    RewriteValue(buffer.Lines[rec.NumLine - 1], pkgText);
                if (RewriteValue(buffer.Lines[rec.NumLine], valueText))
                    buffer.Changed = true;
            }
        }
        if (!Step(1))
            break;
    }
    buffer.Flush();
    FFeedback = nullptr;
    return notChanged;
}

int TKvManagerScanner::Clear(const QList<TKvTokenRec1>& Records, TKvManagerFeedback& Feedback)
{
    FFeedback = &Feedback;
    FCancelled = false;
    Feedback.Start(Records.size());
    int notChanged = 0;
    TFileBuffer buffer(Feedback);
    // From the last to the first: removing a line never moves one that a record still points at.
    for (qsizetype i = Records.size() - 1; i >= 0; --i) {
        const TKvTokenRec1& rec = Records[i];
        if (rec.NumLine < 0) {
            SetAppReference(FKind, rec, std::nullopt, -1);
        } else {
            buffer.Switch(rec.NameUnit);
            FNameUnit = rec.NameUnit;
            FNumLine = rec.NumLine;
            const bool pkgKind = KvIsPkgKind(FKind);
            if (!buffer.Unchanged(rec) || (pkgKind && !buffer.Form && !buffer.PkgNameAbove(rec.NumLine))) {
                ++notChanged;
            } else if (buffer.Form) {
                if (SetProperty(buffer.Form, rec.StrChange, FKind, QString(), KvIsSetKind(FKind) ? QString() : QStringLiteral("-1")))
                    buffer.Changed = true;
                else
                    ++notChanged;
            } else {
                buffer.Lines.removeAt(rec.NumLine);
                if (pkgKind)
                    buffer.Lines.removeAt(rec.NumLine - 1);
                buffer.Changed = true;
            }
        }
        if (!Step(1))
            break;
    }
    buffer.Flush();
    FFeedback = nullptr;
    return notChanged;
}
