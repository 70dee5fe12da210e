#include "KvManagerScan.h"

#include "Classes.h"
#include "DesignIntf.h"
#include "FormBinary.h"
#include "KvApplication.h"
#include "KvDesignHooks.h"
#include "KvMessages.h"
#include "KvPkgDisplay.h"
#include "KvPkgImages.h"
#include "KvPkgStrings.h"
#include "KvReferences.h"
#include "KvRuntimeClasses.h"
#include "SysUtils.h"
#include "TypInfo.h"
#include "porting/KvPortDsgn.h"
#include "registration/KvCtrlsReg.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <array>
#include <memory>
#include <bit>

#include <sys/stat.h>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

// Searches bytes for an ASCII text without regard to case: sixteen places at a time, those whose
// first and last bytes fit are compared whole.
class TNeedle
{
public:
    explicit TNeedle(const QByteArray& Text) : FText(Text.toLower()) {}
    bool In(QByteArrayView Data) const { return IndexIn(Data, 0) >= 0; }
    qsizetype IndexIn(QByteArrayView Data, qsizetype From) const
    {
        const qsizetype m = FText.size();
        if (m == 0)
            return From;
        const uchar* d = reinterpret_cast<const uchar*>(Data.data());
        const qsizetype n = Data.size();
        qsizetype i = From;
#ifdef __SSE2__
        // A letter is compared with bit 5 set, which folds upper to lower case and nothing else
        // onto it.
        const auto folding = [](char c) { return char(c >= 'a' && c <= 'z' ? 0x20 : 0); };
        const __m128i first = _mm_set1_epi8(FText[0]), last = _mm_set1_epi8(FText[m - 1]);
        const __m128i foldFirst = _mm_set1_epi8(folding(FText[0])), foldLast = _mm_set1_epi8(folding(FText[m - 1]));
        for (; i + m - 1 + 16 <= n; i += 16) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i + m - 1));
            unsigned mask = unsigned(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(a, foldFirst), first),
                                                                     _mm_cmpeq_epi8(_mm_or_si128(b, foldLast), last))));
            for (; mask; mask &= mask - 1) {
                const qsizetype at = i + std::countr_zero(mask);
                if (Matches(d + at))
                    return at;
            }
        }
#endif
        for (; i + m <= n; ++i)
            if (Matches(d + i))
                return i;
        return -1;
    }

private:
    QByteArray FText;

    bool Matches(const uchar* At) const
    {
        const uchar* t = reinterpret_cast<const uchar*>(FText.constData());
        for (qsizetype j = 0; j < FText.size(); ++j)
            if ((At[j] >= 'A' && At[j] <= 'Z' ? At[j] + 32 : At[j]) != t[j])
                return false;
        return true;
    }
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
// Lines are read as the bytes of the form text (ASCII-compatible: UTF-8 or 8-bit), so that a form
// is never converted to UTF-16; only what is reported or compared is decoded.

namespace {

inline bool IsBlankByte(char c)
{
    return uchar(c) >= 1 && uchar(c) <= 32;
}

QByteArrayView TrimBytes(QByteArrayView s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && IsBlankByte(s[b]))
        ++b;
    while (e > b && IsBlankByte(s[e - 1]))
        --e;
    return s.sliced(b, e - b);
}

inline char Fold(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c + 32) : c;
}

// ASCII words, without regard to case.
inline bool SameBytes(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (Fold(a[i]) != Fold(b[i]))
            return false;
    return true;
}

// A literal's length is known without looking for its end.
template <std::size_t N>
inline bool SameBytes(QByteArrayView a, const char (&b)[N])
{
    return SameBytes(a, QByteArrayView(b, qsizetype(N - 1)));
}

void AssignBytes(QByteArray& Target, QByteArrayView Source)
{
    Target.resize(Source.size()); // keeps the capacity: no allocation per object header
    if (!Source.isEmpty())
        memcpy(Target.data(), Source.data(), size_t(Source.size()));
}

// The lines of a form text as KvForEachFormLine splits them: at CR LF, LF or CR.
template <class F>
void ForEachLine(QByteArrayView Text, F&& Line)
{
    const char* p = Text.data();
    const char* const end = p + Text.size();
    int index = 0;
    while (p < end) {
        const char* e = p;
        while (e < end && (uchar(*e) > '\r' || (*e != '\n' && *e != '\r')))
            ++e;
        if (!Line(index++, QByteArrayView(p, e - p)) || e == end)
            return;
        p = e + 1 + (*e == '\r' && e + 1 < end && e[1] == '\n');
    }
}

} // namespace

// One line, split without copying: the part before the first "=" and the part after it.
struct TKvManagerScanner::TLine
{
    QByteArrayView Text;     // as read
    QByteArrayView Trimmed;  // without leading blanks
    bool Property = false;   // has a "=" with a name before it, not inside a quoted string
    QByteArrayView Key;      // the last token before "=": Id
    QByteArrayView Chain;    // the tokens before the key: MemoryLabel
    QByteArrayView Value;    // after "=", trimmed

    explicit TLine(QByteArrayView Line) : Text(Line)
    {
        qsizetype b = 0;
        while (b < Line.size() && IsBlankByte(Line[b]))
            ++b;
        Trimmed = Line.sliced(b);
        if (Trimmed.isEmpty() || Trimmed[0] == '\'' || Trimmed[0] == '#')
            return;
        qsizetype p = 0;
        for (;; ++p) {
            if (p == Trimmed.size() || Trimmed[p] == '\'' || Trimmed[p] == ':')
                return;
            if (Trimmed[p] == '=')
                break;
        }
        qsizetype k = p;
        while (k > 0 && IsBlankByte(Trimmed[k - 1]))
            --k;
        const qsizetype keyEnd = k;
        while (k > 0 && Trimmed[k - 1] != '.' && !IsBlankByte(Trimmed[k - 1]))
            --k;
        Key = Trimmed.sliced(k, keyEnd - k);
        qsizetype c = k;
        while (c > 0 && (Trimmed[c - 1] == '.' || IsBlankByte(Trimmed[c - 1])))
            --c;
        Chain = Trimmed.first(c);
        Value = TrimBytes(Trimmed.sliced(p + 1));
        Property = !Key.isEmpty();
    }

    // The whole line without surrounding blanks, for the few one-word lines.
    QByteArrayView Word() const { return TrimBytes(Trimmed); }
};

TKvManagerScanner::TKvManagerScanner(TKvDlgManager Kind) : FKind(Kind) {}

TKvManagerScanner::~TKvManagerScanner() = default;

QString TKvManagerScanner::Decode(QByteArrayView Bytes) const
{
    return FUtf8 ? QString::fromUtf8(Bytes) : QString::fromLatin1(Bytes);
}

void TKvManagerScanner::BeginFile(const QString& FileName)
{
    FNameUnit = FileName;
    FNumLine = 0;
    FObjName.clear();
    FObjClass.clear();
    FNameCol.clear();
    FNameForm.clear();
    FIsForm = false;
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
    const QByteArrayView t = L.Trimmed;
    if (!t.isEmpty() && (Fold(t[0]) == 'o' || Fold(t[0]) == 'i')) {
        qsizetype w = 0;
        while (w < t.size() && !IsBlankByte(t[w]) && t[w] != ':')
            ++w;
        const QByteArrayView word = t.first(w);
        if (SameBytes(word, "object") || SameBytes(word, "inherited") || SameBytes(word, "inline")) {
            FNameCol.clear();
            const QByteArrayView rest = TrimBytes(t.sliced(w));
            const qsizetype colon = rest.indexOf(':');
            QByteArrayView name, cls;
            if (colon >= 0) {
                name = TrimBytes(rest.first(colon));
                cls = TrimBytes(rest.sliced(colon + 1));
            } else {
                cls = rest;
            }
            qsizetype e = 0;
            while (e < cls.size() && !IsBlankByte(cls[e]) && cls[e] != '[')
                ++e;
            EnterObject(name, cls.first(e));
            return TLineKind::Object;
        }
    }
    if (FNameCol.isEmpty()) {
        if (L.Property && L.Value == "<") {
            AssignBytes(FNameCol, L.Key);
            FIndex = -1;
            return TLineKind::Collection;
        }
        return TLineKind::Other;
    }
    if (t.isEmpty())
        return TLineKind::Other;
    const char first = Fold(t[0]);
    if (first == 'e' && SameBytes(L.Word(), "end>")) {
        FNameCol.clear();
        return TLineKind::Collection;
    }
    // Items carry no index of their own in form text: they count from the collection's start.
    if (first == 'i' && (SameBytes(L.Word(), "item") || (L.Word().size() > 4 && SameBytes(L.Word().first(4), "item")
                                                         && IsBlankByte(L.Word()[4])))) {
        ++FIndex;
        return TLineKind::Collection;
    }
    if (first == 'i' && L.Property && L.Chain.isEmpty() && SameBytes(L.Key, "Index")) {
        bool ok = false;
        const int index = L.Value.toInt(&ok);
        if (ok) {
            FIndex = index;
            return TLineKind::Collection;
        }
    }
    return TLineKind::Other;
}

void TKvManagerScanner::EnterObject(QByteArrayView Name, QByteArrayView Class)
{
    FNameCol.clear();
    AssignBytes(FObjName, Name);
    AssignBytes(FObjClass, Class);
    // Properties of the form itself are never reported.
    if (FNumLine == 0) {
        FNameForm = FObjName + ':' + FObjClass;
        FIsForm = true;
    } else {
        FIsForm = FObjName.size() + FObjClass.size() + 1 == FNameForm.size() && FNameForm.startsWith(FObjName)
            && FNameForm.endsWith(FObjClass) && FNameForm.at(FObjName.size()) == ':';
    }
}

QString TKvManagerScanner::OwnerPath(const TLine& L) const
{
    QString path = Decode(FObjName) + QLatin1Char(':') + Decode(FObjClass);
    if (!FNameCol.isEmpty())
        path += QLatin1Char('.') + Decode(FNameCol) + QLatin1Char('[') + QString::number(FIndex) + QLatin1Char(']');
    if (!L.Chain.isEmpty()) {
        for (const QString& token : KvGetListTokens(Decode(L.Chain)))
            path += QLatin1Char('.') + token;
    }
    return path;
}

bool TKvManagerScanner::ValidTokenSel(const TLine& L, QString* Path)
{
    if (FIsForm)
        return false;
    // The answer depends only on the class and the property chain, not on names or indexes.
    QByteArray key = FObjClass.toLower();
    key += '|';
    if (!FNameCol.isEmpty())
        key += FNameCol.toLower() + "[]";
    key += '|';
    key += L.Chain.toByteArray().toLower();
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
                             {QFileInfo(FNameUnit).fileName(),
                              (FOffset >= 0 ? QStringLiteral("(offset %1) %2").arg(FOffset) : QStringLiteral("(%1) %2").arg(FNumLine))
                                  .arg(Path)});
        return QString();
    }
}

// A simple quoted ASCII value is compared as it is; anything else is decoded first.
bool TKvManagerScanner::ValueEquals(QByteArrayView Value, const QString& Wanted) const
{
    if (!Value.isEmpty() && (Value[0] == '\'' || Value[0] == '#')) {
        const QByteArrayView inner = Value.size() >= 2 && Value[0] == '\'' ? Value.sliced(1, Value.size() - 2)
                                                                             : QByteArrayView();
        if (Value.back() == '\'' && !inner.isEmpty()
            && std::none_of(inner.begin(), inner.end(), [](char c) { return c == '\'' || uchar(c) >= 0x80; }))
            return inner.size() == Wanted.size() && QLatin1StringView(inner).compare(Wanted, Qt::CaseInsensitive) == 0;
        const std::optional<QString> v = KvFormStringValue(Decode(Value));
        return v && v->compare(Wanted, Qt::CaseInsensitive) == 0;
    }
    return Value.size() == Wanted.size() && QLatin1StringView(Value).compare(Wanted, Qt::CaseInsensitive) == 0;
}

std::optional<TKvTokenRec1> TKvManagerScanner::LineScanner(int NumLine, QStringView Line)
{
    FUtf8 = true;
    return ScanLine(NumLine, Line.toUtf8());
}

std::optional<TKvTokenRec1> TKvManagerScanner::ScanLine(int NumLine, QByteArrayView Line)
{
    FNumLine = NumLine;
    const TLine L(Line);
    const TLineKind kind = Bookkeeping(L);
    if (kind == TLineKind::Object)
        return std::nullopt;
    QString path;
    if (!KvIsPkgKind(FKind)) {
        const QByteArrayView key = FKind == TKvDlgManager::dlmPrivileges ? "Id" : "Name";
        if (kind == TLineKind::Other && L.Property && SameBytes(L.Key, key) && ValueEquals(L.Value, FTextS)
            && ValidTokenSel(L, &path))
            return TKvTokenRec1{FNameUnit, NumLine, path, Decode(Line)};
        return std::nullopt;
    }
    if (!FPkgNameB) {
        if (kind == TLineKind::Other && L.Property && SameBytes(L.Key, "PkgName") && ValueEquals(L.Value, FPkgName)
            && ValidTokenSel(L, nullptr))
            FPkgNameB = true;
        return std::nullopt;
    }
    FPkgNameB = false;
    if (kind == TLineKind::Other && L.Property && L.Key == "Id" && ValueEquals(L.Value, FTextS)
        && ValidTokenSel(L, &path))
        return TKvTokenRec1{FNameUnit, NumLine, path, Decode(Line)};
    return std::nullopt;
}

void TKvManagerScanner::CountLine(int NumLine, QByteArrayView Line)
{
    FNumLine = NumLine;
    const TLine L(Line);
    const TLineKind kind = Bookkeeping(L);
    if (kind == TLineKind::Object)
        return;
    if (!KvIsPkgKind(FKind)) {
        const QByteArrayView key = FKind == TKvDlgManager::dlmPrivileges ? "Id" : "Name";
        if (kind == TLineKind::Other && L.Property && SameBytes(L.Key, key) && ValidTokenSel(L, nullptr)) {
            const QString value = Decode(L.Value);
            if (FKind == TKvDlgManager::dlmPrivileges) {
                CountReference(QString(), value);
            } else {
                const std::optional<QString> name = KvFormStringValue(value);
                CountReference(QString(), Quoted(name ? *name : value));
            }
        }
        return;
    }
    if (!FPkgNameB) {
        if (kind == TLineKind::Other && L.Property && SameBytes(L.Key, "PkgName")) {
            for (const QString& selected : FSelPkgs) {
                if (ValueEquals(L.Value, selected)) {
                    if (ValidTokenSel(L, nullptr)) {
                        FPkgNameB = true;
                        const std::optional<QString> name = KvFormStringValue(Decode(L.Value));
                        FPkgNameFound = Quoted(name ? *name : selected);
                    }
                    break;
                }
            }
        }
        return;
    }
    FPkgNameB = false;
    if (kind == TLineKind::Other && L.Property && SameBytes(L.Key, "Id") && ValidTokenSel(L, nullptr))
        CountReference(FPkgNameFound, Decode(L.Value));
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

namespace {

// How many bytes of [Begin, End) are C, sixteen at a time.
qsizetype CountByte(const char* Begin, const char* End, char C)
{
    qsizetype n = 0;
    const char* p = Begin;
#ifdef __SSE2__
    const __m128i c = _mm_set1_epi8(C);
    while (End - p >= 16) {
        // Up to 255 blocks summed bytewise (a compare gives 0 or -1), then the bytes added up.
        __m128i sums = _mm_setzero_si128();
        for (int k = 0; k < 255 && End - p >= 16; ++k, p += 16)
            sums = _mm_sub_epi8(sums, _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), c));
        const __m128i total = _mm_sad_epu8(sums, _mm_setzero_si128());
        n += _mm_cvtsi128_si32(total) + _mm_extract_epi16(total, 4);
    }
#endif
    for (; p < End; ++p)
        n += *p == C;
    return n;
}

// A line of a text: where it starts and ends (line break not included).
struct TSpan
{
    qsizetype Start;
    qsizetype End;
};

TSpan LineAt(QByteArrayView Text, qsizetype Pos)
{
    qsizetype b = Pos;
    while (b > 0 && Text[b - 1] != '\n')
        --b;
    const char* nl = static_cast<const char*>(memchr(Text.data() + Pos, '\n', size_t(Text.size() - Pos)));
    qsizetype e = nl ? nl - Text.data() : Text.size();
    if (e > b && Text[e - 1] == '\r')
        --e;
    return {b, e};
}

// The line after the one ending at End (its break skipped), or none at the end of the text.
std::optional<TSpan> NextLine(QByteArrayView Text, qsizetype End)
{
    qsizetype p = End;
    if (p < Text.size() && Text[p] == '\r')
        ++p;
    if (p >= Text.size())
        return std::nullopt;
    return LineAt(Text, p + 1);
}

std::optional<TSpan> PreviousLine(QByteArrayView Text, qsizetype Start)
{
    if (Start == 0)
        return std::nullopt;
    return LineAt(Text, Start - 1);
}

QByteArrayView FirstWord(QByteArrayView Line)
{
    qsizetype b = 0;
    while (b < Line.size() && IsBlankByte(Line[b]))
        ++b;
    qsizetype e = b;
    while (e < Line.size() && !IsBlankByte(Line[e]) && Line[e] != ':')
        ++e;
    return Line.sliced(b, e - b);
}

bool IsHeaderWord(QByteArrayView Word)
{
    return SameBytes(Word, "object") || SameBytes(Word, "inherited") || SameBytes(Word, "inline");
}

} // namespace

// A text form is not read line by line when what is looked for can be found by its text: the
// places where that text occurs are found first (as grep does), and only their lines are read,
// with their object and collection found by reading back from them. Gives false when the text
// cannot be taken this way (a name that the writer may escape, line breaks of a lone CR); the
// caller then reads every line.
bool TKvManagerScanner::WalkCandidates(QByteArrayView Text, bool Counting, QList<TKvTokenRec1>* Hits)
{
    QList<QByteArray> needles;
    if (!KvIsPkgKind(FKind))
        needles << (FKind == TKvDlgManager::dlmPrivileges ? QByteArray("Id") : QByteArray("Name"));
    else if (!Counting)
        needles << FPkgName.toLatin1();
    else
        for (const QString& p : FSelPkgs)
            needles << p.toLatin1();
    // A name the writer may write with escapes is not looked for by its text.
    if (KvIsPkgKind(FKind))
        for (const QString& t : Counting ? FSelPkgs : QStringList{FPkgName})
            if (t.isEmpty() || !std::all_of(t.begin(), t.end(), [](QChar c) {
                    return c.unicode() > 32 && c.unicode() < 127 && c != QLatin1Char('\'') && c != QLatin1Char('#');
                }))
                return false;
    std::vector<qsizetype> starts;
    for (const QByteArray& n : needles) {
        const TNeedle needle(n);
        for (qsizetype from = 0;;) {
            const qsizetype at = needle.IndexIn(Text, from);
            if (at < 0)
                break;
            const TSpan line = LineAt(Text, at);
            starts.push_back(line.Start);
            from = line.End + 1;
        }
    }
    if (starts.empty())
        return true;
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    // Lines are found by their LF; a text whose first CR is not that of a CR LF (an old text
    // with lone CRs) is read line by line.
    const char* cr = static_cast<const char*>(memchr(Text.data(), '\r', size_t(Text.size())));
    if (cr && (cr + 1 == Text.end() || cr[1] != '\n'))
        return false;

    // Line 0 names the form.
    FNumLine = 0;
    Bookkeeping(TLine(Text.first(LineAt(Text, 0).End)));

    qsizetype counted = 0; // line breaks before `counted`
    int lineNo = 0;
    // A count needs no line numbers.
    const auto numberOf = [&](qsizetype Start) {
        if (Counting)
            return 0;
        lineNo += int(CountByte(Text.begin() + counted, Text.begin() + Start, '\n'));
        counted = Start;
        return lineNo;
    };
    const QByteArrayView key = KvIsPkgKind(FKind) ? QByteArrayView("PkgName")
        : FKind == TKvDlgManager::dlmPrivileges   ? QByteArrayView("Id")
                                                  : QByteArrayView("Name");
    qsizetype consumed = -1; // the line after a package line: never a package line of its own
    for (const qsizetype start : starts) {
        if (start == consumed)
            continue;
        const TSpan span = LineAt(Text, start);
        const QByteArrayView lineText = Text.sliced(span.Start, span.End - span.Start);
        const TLine L(lineText);
        if (!L.Property || !SameBytes(L.Key, key) || L.Value == "<")
            continue;
        if (!SetContext(Text, span.Start))
            continue;
        // The line and, for a package line, the lines after it up to the first that is not an
        // object header, as the line by line reading would meet them.
        int n = numberOf(span.Start);
        const auto process = [&](TSpan At) {
            const QByteArrayView t = Text.sliced(At.Start, At.End - At.Start);
            if (Counting)
                CountLine(n, t);
            else if (std::optional<TKvTokenRec1> hit = ScanLine(n, t))
                Hits->append(std::move(*hit));
            return !IsHeaderWord(FirstWord(t));
        };
        FPkgNameB = false;
        process(span);
        if (FPkgNameB)
            for (std::optional<TSpan> at = NextLine(Text, span.End); at; at = NextLine(Text, at->End)) {
                ++n;
                if (process(*at)) {
                    consumed = at->Start;
                    break;
                }
            }
        FPkgNameB = false;
        if (FCancelled)
            break;
    }
    return true;
}

// The object and collection of a property line, read back from it to its object's header:
// an object's properties come before its children, so the nearest header above is its own.
bool TKvManagerScanner::SetContext(QByteArrayView Text, qsizetype LineStart)
{
    int items = 0;
    int index = -1;
    bool closed = false; // an "end>" met: the collection above is over
    QByteArrayView collection;
    for (std::optional<TSpan> at = PreviousLine(Text, LineStart); at; at = PreviousLine(Text, at->Start)) {
        const QByteArrayView t = Text.sliced(at->Start, at->End - at->Start);
        const QByteArrayView word = FirstWord(t);
        if (IsHeaderWord(word)) {
            const int saved = FNumLine;
            FNumLine = at->Start == 0 ? 0 : 1;
            Bookkeeping(TLine(t));
            FNumLine = saved;
            if (collection.isEmpty())
                FNameCol.clear();
            else
                AssignBytes(FNameCol, collection);
            FIndex = index >= 0 ? index : items - 1;
            return true;
        }
        if (closed || !collection.isEmpty())
            continue;
        const TLine L(t);
        if (SameBytes(word, "end>") || (L.Property && L.Value == "<>")) {
            closed = true;
        } else if (L.Property && L.Value == "<") {
            collection = L.Key;
        } else if (SameBytes(word, "item")) {
            ++items;
        } else if (items == 0 && index < 0 && L.Property && L.Chain.isEmpty() && SameBytes(L.Key, "Index")) {
            bool ok = false;
            const int v = L.Value.toInt(&ok);
            if (ok)
                index = v;
        }
    }
    return false;
}

// Reads one form and runs the search or the count over its lines. A form that cannot be read,
// or a failure inside it, is told and the walk goes on with the next.
// Whether the string value next in a binary form names a package looked for (the position is
// restored, so that the value is read again as the line); other values are skipped.
bool TKvManagerScanner::PackageWanted(KvFormBinary::TBinaryReader& R, int Type)
{
    using namespace KvFormBinary;
    const qint64 at = R.Position();
    const auto matches = [this](const auto& Value) {
        if (FCountingPackages) {
            for (const QString& p : FSelPkgs)
                if (Value.compare(p, Qt::CaseInsensitive) == 0)
                    return true;
            return false;
        }
        return Value.compare(FPkgName, Qt::CaseInsensitive) == 0;
    };
    bool wanted = false;
    if (Type == vaString || Type == vaLString)
        wanted = matches(QLatin1StringView(R.ReadAnsiString()));
    else if (Type == vaWString || Type == vaUTF8String)
        wanted = matches(R.ReadWideString());
    else
        R.SkipValue();
    if (wanted)
        R.SetPosition(at);
    return wanted;
}

// A binary form is walked as it is stored, lines made up only for the properties that can change
// what is found: the reference lines, and the collections with their items and indexes. A count
// needs no line numbers, and a scan reads a binary form as text only when the walk found a hit in
// it, for the hit's line; a failure found on the walk is placed by its byte offset.
bool TKvManagerScanner::WalkBinary(const QByteArray& Data, bool Counting)
{
    FCountingPackages = Counting;
    using namespace KvFormBinary;
    TBinaryReader r(Data);
    if (Data.startsWith("\xFF\x0A\x00"))
        r.SetPosition(r.ReadResourceHeader().DataOffset);
    r.ReadSignature();
    const bool pkgKind = KvIsPkgKind(FKind);
    const QByteArrayView wantedKey = FKind == TKvDlgManager::dlmPrivileges ? "Id" : "Name";
    QByteArray text;
    const auto feed = [&](qint64 Offset, QByteArrayView Line) {
        FOffset = Offset;
        if (Counting) {
            CountLine(1, Line);
            return false;
        }
        return ScanLine(1, Line).has_value();
    };
    const auto property = [&](const auto& Self, qint64 Offset, QByteArrayView Name) -> bool {
        const TValueType type = r.NextValue();
        if (type == vaCollection) {
            r.ReadValue();
            if (feed(Offset, Name.toByteArray() + " = <"))
                return true;
            while (!r.EndOfList()) {
                const qint64 item = r.Position();
                const TValueType next = r.NextValue();
                if (next == vaInt8 || next == vaInt16 || next == vaInt32)
                    r.ReadInt64();
                r.CheckValue(vaList);
                if (feed(item, "item"))
                    return true;
                while (!r.EndOfList()) {
                    const qint64 at = r.Position();
                    if (Self(Self, at, r.ReadStr()))
                        return true;
                }
                r.ReadListEnd();
                FPkgNameB = false; // the item's "end"
            }
            const qint64 end = r.Position();
            r.ReadListEnd();
            return feed(end, "end>");
        }
        qsizetype dot = Name.size();
        while (dot > 0 && Name[dot - 1] != '.')
            --dot;
        const QByteArrayView key = Name.sliced(dot);
        // Any other property line ends a pending package line, as in text.
        bool wanted;
        if (SameBytes(key, "Index"))
            wanted = !FNameCol.isEmpty();
        else if (!pkgKind)
            wanted = SameBytes(key, wantedKey);
        else if (SameBytes(key, "Id"))
            wanted = FPkgNameB;
        else if (SameBytes(key, "PkgName") && !FPkgNameB) {
            if (!PackageWanted(r, type)) { // the value is read past
                FPkgNameB = false;
                return false;
            }
            wanted = true;
        } else
            wanted = false;
        if (wanted) {
            AssignBytes(text, Name);
            text += " = ";
            switch (type) {
            case vaInt8:
            case vaInt16:
            case vaInt32:
            case vaInt64:
                text += QByteArray::number(r.ReadInt64());
                return feed(Offset, text);
            case vaString:
            case vaLString:
            case vaWString:
            case vaUTF8String:
                text += Quoted(r.ReadString()).toUtf8();
                return feed(Offset, text);
            default:
                break;
            }
        }
        r.SkipValue();
        FPkgNameB = false;
        return false;
    };
    const auto object = [&](const auto& Self) -> bool {
        const TObjectHeader h = r.ReadHeader();
        EnterObject(h.ObjectName, h.ClassName);
        FNumLine = 1; // the form's own header is the first
        while (!r.EndOfList()) {
            const qint64 at = r.Position();
            if (property(property, at, r.ReadStr()))
                return true;
        }
        r.ReadListEnd();
        while (!r.EndOfList())
            if (Self(Self))
                return true;
        r.ReadListEnd();
        FPkgNameB = false; // the object's "end"
        return false;
    };
    FNumLine = 0;
    const bool hit = object(object);
    FOffset = -1;
    return hit;
}

// Reads one form and runs the search or the count over its lines. A form that cannot be read,
// or a failure inside it, is told and the walk goes on with the next.
bool TKvManagerScanner::Walk(const QString& File, qint64 Size, bool Counting, QList<TKvTokenRec1>* Hits)
{
    QByteArray text;
    TStreamOriginalFormat format;
    try {
        const TKvFormFilter filter = [&](const QByteArray& Data, TStreamOriginalFormat Format) {
            // A text form is searched for the needle as it is read.
            if (Format != TStreamOriginalFormat::sofBinary)
                return true;
            if (!Counting && !FNeedle.isEmpty() && !MayHold(Data, Format, FNeedle))
                return false;
            BeginFile(File);
            FUtf8 = true;
            try {
                return WalkBinary(Data, Counting) && !Counting;
            } catch (const EReadError& e) {
                throw EReadError(QStringLiteral("%1: %2").arg(File, e.Reason), e.Offset);
            }
        };
        if (!KvDelphiFormToTextBytes(File, text, FUtf8, format, filter))
            return Step(Size);
    } catch (const Exception& e) {
        if (FFeedback)
            FFeedback->Error(KvMsgError, e.Message, {});
        return Step(Size);
    }
    BeginFile(File);
    QByteArrayView current;
    try {
        if (WalkCandidates(text, Counting, Hits))
            return !FCancelled && Step(Size);
        BeginFile(File);
        ForEachLine(text, [&](int Index, QByteArrayView Line) {
            current = Line;
            if (Counting) {
                CountLine(Index, Line);
            } else if (std::optional<TKvTokenRec1> hit = ScanLine(Index, Line)) {
                Hits->append(std::move(*hit));
            }
            return (Index + 1) % LinesPerStep != 0 || Step(0);
        });
    } catch (const Exception& e) {
        if (FFeedback)
            FFeedback->Error(KvMsgError, InternalError,
                             {QFileInfo(File).fileName(), QStringLiteral("(%1) %2").arg(FNumLine).arg(Decode(current)),
                              Counting ? QStringLiteral("LineCounter") : QStringLiteral("LineScanner")});
    }
    return !FCancelled && Step(Size);
}

namespace {

// Progress goes by the size of the form files: reading every form once more only to count its
// lines would double the time of a scan.
QList<qint64> Sizes(const QStringList& Files, qint64& Total)
{
    QList<qint64> sizes;
    sizes.reserve(Files.size());
    Total = 0;
    for (const QString& f : Files) {
        struct stat st{};
        const qint64 size = ::stat(QFile::encodeName(f).constData(), &st) == 0 ? st.st_size : 0;
        Total += sizes.emplace_back(std::max<qint64>(1, size));
    }
    return sizes;
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
    qint64 total;
    const QList<qint64> sizes = Sizes(Files, total);
    Feedback.Start(total + refs.size());
    QList<TKvTokenRec1> hits;
    for (qsizetype i = 0; i < Files.size(); ++i) {
        Feedback.Caption(Files[i]);
        if (!Walk(Files[i], sizes[i], false, &hits))
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
    FSelPkgs = Packages;
    const QList<TAppReference> refs = AppReferences(FKind);
    qint64 total;
    const QList<qint64> sizes = Sizes(Files, total);
    Feedback.Start(total + refs.size());
    for (qsizetype i = 0; i < Files.size(); ++i) {
        Feedback.Caption(Files[i]);
        if (!Walk(Files[i], sizes[i], true, nullptr))
            break;
    }
    if (!FCancelled) {
        Feedback.Caption(KvDlgManagerName(FKind) + QStringLiteral(" Search"));
        CountPackages(Packages);
        if (KvIsSetKind(FKind))
            CountDefaultSets();
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

namespace {

// The reference class of a set kind.
const QMetaObject* SetReferenceClass(TKvDlgManager Kind)
{
    return Kind == TKvDlgManager::dlmSetsColor ? &TKvSetColor::staticMetaObject
        : Kind == TKvDlgManager::dlmSetsFont   ? &TKvSetFont::staticMetaObject
                                               : &TKvSetBackGround::staticMetaObject;
}

void AddDefaultSets(const QObject* Holder, const QMetaObject* RefClass, QSet<QString>& Names)
{
    for (const TKvSetReference* r : Holder->findChildren<TKvSetReference*>())
        if (r->metaObject() == RefClass && !r->DefaultSet().isEmpty())
            Names.insert(r->DefaultSet().toLower());
}

// The default sets of the library's components, lower case. A reference left at "<Default>"
// writes no line, and components are also made at run time, so a set named like a default is
// in use whatever the forms hold. The classes are fixed: found once, by making one of each.
const QSet<QString>& LibraryDefaultSets(TKvDlgManager Kind)
{
    static const std::array<QSet<QString>, 3> Sets = [] {
        std::array<QSet<QString>, 3> sets;
        KvRegisterRuntimeClasses();
        TComponent owner;
        for (const QMetaObject* cls : KvRuntimeClasses()) {
            // A second application would compete with the live one, whose sets are taken apart.
            if (!InheritsFrom(cls, &TComponent::staticMetaObject)
                || InheritsFrom(cls, &TKvCApplication::staticMetaObject))
                continue;
            const std::unique_ptr<TComponent> c(CreateComponent(cls, &owner));
            for (const TKvDlgManager k :
                 {TKvDlgManager::dlmSetsBackGround, TKvDlgManager::dlmSetsColor, TKvDlgManager::dlmSetsFont})
                AddDefaultSets(c.get(), SetReferenceClass(k), sets[size_t(k)]);
        }
        // Looked up by name by the library's own drawing.
        sets[size_t(TKvDlgManager::dlmSetsBackGround)].insert(KvSetEdBackGroundName().toLower());
        sets[size_t(TKvDlgManager::dlmSetsColor)].insert(KvSet3DMLightName().toLower());
        return sets;
    }();
    return Sets[size_t(Kind)];
}

} // namespace

// A set that serves as a default counts as one use, so that a clear after the count keeps it.
void TKvManagerScanner::CountDefaultSets()
{
    QSet<QString> names = LibraryDefaultSets(FKind);
    if (TKvCApplication* app = KvCApp())
        AddDefaultSets(app, SetReferenceClass(FKind), names); // the hints' background
    for (const QString& name : std::as_const(names)) {
        const auto it = FCountIndex.constFind(QChar(0x1F) + Quoted(name));
        if (it != FCountIndex.constEnd())
            ++FCounted[*it].Counter;
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
        const QByteArray line = Lines[NumLine - 1].toUtf8();
        const TLine L(line);
        return L.Property && SameBytes(L.Key, "PkgName");
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
