#include "KvProject.h"

#include "Classes.h"
#include "Controls.h"
#include "KvFiles.h"
#include "KvUnitSource.h"
#include "SysUtils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QXmlStreamReader>

#include <cctype>

// ---------------------------------------------------------------------------------------------
// Pascal tokens

namespace KvPascal {

bool TToken::Is(QStringView Word) const
{
    return (Kind == TTokenKind::Ident || Kind == TTokenKind::Symbol) && Text.compare(Word, Qt::CaseInsensitive) == 0;
}

bool TToken::IsDirective() const
{
    return Kind == TTokenKind::Comment && (Text.startsWith(u"{$") || Text.startsWith(u"(*$"));
}

QString TToken::CommentBody() const
{
    if (Kind != TTokenKind::Comment)
        return QString();
    if (Text.startsWith(u'{'))
        return Text.mid(1, Text.size() - 2);
    if (Text.startsWith(u"(*"))
        return Text.mid(2, Text.size() - 4);
    return Text.mid(2);
}

QString TToken::StringValue() const
{
    QString value;
    qsizetype i = 0;
    while (i < Text.size()) {
        if (Text.at(i) == u'\'') {
            for (++i; i < Text.size(); ++i) {
                if (Text.at(i) == u'\'') {
                    if (i + 1 < Text.size() && Text.at(i + 1) == u'\'') {
                        value += u'\'';
                        ++i;
                    } else {
                        ++i;
                        break;
                    }
                } else {
                    value += Text.at(i);
                }
            }
        } else if (Text.at(i) == u'#') {
            qsizetype j = ++i;
            const bool hex = j < Text.size() && Text.at(j) == u'$';
            if (hex)
                j = ++i;
            while (j < Text.size() && (hex ? isxdigit(Text.at(j).toLatin1()) : Text.at(j).isDigit()))
                ++j;
            value += QChar(char16_t(Text.mid(i, j - i).toUInt(nullptr, hex ? 16 : 10)));
            i = j;
        } else {
            ++i;
        }
    }
    return value;
}

TLexer::TLexer(const QString& Source) : FSource(Source) {}

void TLexer::Fail(const QString& Reason, qsizetype At) const
{
    int line = 1;
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < At && i < FSource.size(); ++i)
        if (FSource.at(i) == u'\n') {
            ++line;
            lineStart = i + 1;
        }
    throw EParserError(Reason, line, int(At - lineStart) + 1);
}

void TLexer::SkipBlanks()
{
    while (FPos < FSource.size() && FSource.at(FPos).isSpace()) {
        if (FSource.at(FPos) == u'\n') {
            ++FLine;
            FLineStart = FPos + 1;
        }
        ++FPos;
    }
}

TToken TLexer::Next()
{
    SkipBlanks();
    TToken t;
    t.Start = FPos;
    t.Line = FLine;
    t.Column = int(FPos - FLineStart) + 1;
    const qsizetype n = FSource.size();
    if (FPos >= n) {
        t.End = FPos;
        return t;
    }
    const QChar c = FSource.at(FPos);
    const QChar next = FPos + 1 < n ? FSource.at(FPos + 1) : QChar();
    auto until = [&](QStringView Close, const char* Unterminated) {
        const qsizetype end = FSource.indexOf(Close, FPos);
        if (end < 0)
            Fail(QString::fromLatin1(Unterminated), t.Start);
        FPos = end + Close.size();
    };
    if (c == u'{') {
        t.Kind = TTokenKind::Comment;
        until(u"}", "Unterminated comment");
    } else if (c == u'(' && next == u'*') {
        t.Kind = TTokenKind::Comment;
        FPos += 2;
        until(u"*)", "Unterminated comment");
    } else if (c == u'/' && next == u'/') {
        t.Kind = TTokenKind::Comment;
        while (FPos < n && FSource.at(FPos) != u'\n' && FSource.at(FPos) != u'\r')
            ++FPos;
    } else if (c == u'\'' || c == u'#') {
        t.Kind = TTokenKind::String;
        while (FPos < n && (FSource.at(FPos) == u'\'' || FSource.at(FPos) == u'#')) {
            if (FSource.at(FPos) == u'#') {
                ++FPos;
                if (FPos < n && FSource.at(FPos) == u'$')
                    ++FPos;
                while (FPos < n && FSource.at(FPos).isLetterOrNumber())
                    ++FPos;
                continue;
            }
            for (++FPos;; ++FPos) {
                if (FPos >= n || FSource.at(FPos) == u'\n' || FSource.at(FPos) == u'\r')
                    Fail(QStringLiteral("Unterminated string"), t.Start);
                if (FSource.at(FPos) == u'\'') {
                    ++FPos;
                    if (FPos < n && FSource.at(FPos) == u'\'')
                        continue;
                    break;
                }
            }
        }
    } else if (c.isLetter() || c == u'_' || c == u'&') {
        t.Kind = TTokenKind::Ident;
        ++FPos;
        while (FPos < n && (FSource.at(FPos).isLetterOrNumber() || FSource.at(FPos) == u'_'))
            ++FPos;
    } else if (c.isDigit() || c == u'$') {
        t.Kind = TTokenKind::Number;
        ++FPos;
        while (FPos < n && (FSource.at(FPos).isLetterOrNumber()
                            || (FSource.at(FPos) == u'.' && FPos + 1 < n && FSource.at(FPos + 1).isDigit())))
            ++FPos;
    } else {
        t.Kind = TTokenKind::Symbol;
        static const char16_t* const Pairs[] = {u":=", u"..", u"<=", u">=", u"<>", u"(.", u".)"};
        FPos += 1;
        for (const char16_t* pair : Pairs)
            if (c == QChar(pair[0]) && next == QChar(pair[1])) {
                FPos += 1;
                break;
            }
    }
    t.End = FPos;
    t.Text = FSource.mid(t.Start, t.End - t.Start);
    // Comments and strings may span lines.
    for (qsizetype i = t.Start; i < t.End; ++i)
        if (FSource.at(i) == u'\n') {
            ++FLine;
            FLineStart = i + 1;
        }
    return t;
}

TToken TLexer::NextCode()
{
    for (;;) {
        TToken t = Next();
        if (t.Kind != TTokenKind::Comment)
            return t;
    }
}

} // namespace KvPascal

using namespace KvPascal;

// ---------------------------------------------------------------------------------------------
// Files

QByteArray ReadFileBytes(const QString& FileName)
{
    try {
        return KvReadFile(FileName);
    } catch (const EInOutError& e) {
        throw EFilerError(e.Message);
    }
}

void WriteFileBytes(const QString& FileName, const QByteArray& Data)
{
    try {
        KvWriteFile(FileName, Data);
    } catch (const EInOutError& e) {
        throw EWriteError(e.Message);
    }
}

QString NormalizeFileName(const QString& FileName)
{
    return QDir::cleanPath(QFileInfo(FileName).absoluteFilePath());
}

void KvCheckInsideFolder(const QString& Folder, const QString& FileName)
{
    if (KvLinkLeadsOutside(Folder, FileName))
        throw EFilerError(QStringLiteral("%1: a link leads outside the project folder %2 (to %3)")
                              .arg(FileName, Folder, KvCanonicalPath(FileName)));
}

QString ResolveFileCase(const QString& FileName)
{
    const QString path = NormalizeFileName(FileName);
    if (QFileInfo::exists(path))
        return path;
    const QStringList parts = path.split(u'/', Qt::SkipEmptyParts);
    QString resolved = QStringLiteral("/");
    for (const QString& part : parts) {
        QDir dir(resolved);
        QString found;
        if (dir.exists(part)) {
            found = part;
        } else {
            const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
            for (const QString& entry : entries)
                if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                    found = entry;
                    break;
                }
        }
        if (found.isEmpty())
            return path;
        resolved = dir.filePath(found);
    }
    return resolved;
}

// ---------------------------------------------------------------------------------------------
// TKvSourceEditor

TKvSourceEditor::TKvSourceEditor(IOTAModule* Module, const QString& FileName) : FModule(Module), FFileName(FileName)
{
}

void TKvSourceEditor::SetText(const QString& Value)
{
    if (Value == FText)
        return;
    FText = Value;
    // Undoing back to the saved text leaves nothing to save.
    FModified = FText != FSavedText;
}

void TKvSourceEditor::LoadFromFile()
{
    LoadFromBytes(ReadFileBytes(FFileName));
    FSavedText = FText;
    FModified = false;
}

void TKvSourceEditor::LoadFromBytes(const QByteArray& Data)
{
    const bool bom = Data.startsWith("\xEF\xBB\xBF");
    const QByteArray body = bom ? Data.mid(3) : Data;
    QStringDecoder decoder(QStringConverter::Utf8);
    QString text = decoder.decode(body);
    const bool utf8 = !decoder.hasError();
    if (!utf8)
        text = QString::fromLatin1(body); // every byte maps to one character and back
    FText = text;
    FUtf8 = utf8;
    FBom = bom;
}

QByteArray TKvSourceEditor::Encoded() const
{
    bool utf8 = FUtf8;
    bool bom = FBom;
    if (!utf8) {
        for (const QChar c : FText)
            if (c.unicode() > 0xFF) {
                // Text typed beyond what the 8-bit file can hold: UTF-8, marked so compilers know.
                utf8 = bom = true;
                break;
            }
    }
    if (!utf8)
        return FText.toLatin1();
    return (bom ? QByteArray("\xEF\xBB\xBF") : QByteArray()) + FText.toUtf8();
}

void TKvSourceEditor::SaveToFile()
{
    WriteFileBytes(FFileName, Encoded());
    FSavedText = FText;
    FModified = false;
}

QString TKvSourceEditor::LineBreak() const
{
    const qsizetype lf = FText.indexOf(u'\n');
    return (lf > 0 && FText.at(lf - 1) == u'\r') || lf < 0 ? QStringLiteral("\r\n") : QStringLiteral("\n");
}

// ---------------------------------------------------------------------------------------------
// Project file

QString TKvModuleInfo::FormFileName() const
{
    if (FFormName.isEmpty())
        return QString();
    const QFileInfo unit(FFileName);
    return ResolveFileCase(unit.dir().filePath(unit.completeBaseName() + QStringLiteral(".dfm")));
}

namespace {

struct TParsedProject
{
    QString Name;
    TKvProjectKind Kind = TKvProjectKind::Program;
    QList<std::shared_ptr<TKvModuleInfo>> Modules;
    QStringList LibraryUnits;
};

// program Name; uses A, B in 'B.pas' {FormB}, ...; -- the rest of the file is not the project's
// concern here.
class TProjectParser
{
public:
    TProjectParser(const QString& FileName, const QString& Source)
        : FFileName(FileName), FDir(QFileInfo(FileName).absolutePath()), FLex(Source)
    {
    }

    TParsedProject Parse()
    {
        TParsedProject p;
        try {
            Advance();
            if (FTok.Is(u"program"))
                p.Kind = TKvProjectKind::Program;
            else if (FTok.Is(u"library"))
                p.Kind = TKvProjectKind::Library;
            else
                Expected(QStringLiteral("'program' or 'library'"));
            Advance();
            p.Name = DottedIdent(QStringLiteral("Project name"));
            if (FTok.Is(u"(")) { // program Name(Input, Output);
                while (!FTok.Is(u")") && FTok.Kind != TTokenKind::Eof)
                    Advance();
                Expect(u")");
            }
            Expect(u";");
            if (!FTok.Is(u"uses"))
                return p;
            Advance();
            for (;;) {
                const int line = FTok.Line;
                const QString unit = DottedIdent(QStringLiteral("Unit name"));
                for (const auto& m : std::as_const(p.Modules))
                    if (m->Name().compare(unit, Qt::CaseInsensitive) == 0)
                        Error(QStringLiteral("Unit %1 is listed twice").arg(unit), line);
                if (p.LibraryUnits.contains(unit, Qt::CaseInsensitive))
                    Error(QStringLiteral("Unit %1 is listed twice").arg(unit), line);
                if (FTok.Is(u"in"))
                    p.Modules << ReadModule(unit, line);
                else
                    p.LibraryUnits << unit;
                if (FTok.Is(u",")) {
                    Advance();
                    continue;
                }
                if (!FTok.Is(u";"))
                    Expected(QStringLiteral("',' or ';'"));
                break;
            }
        } catch (EParserError& e) {
            if (e.Message.startsWith(FFileName + u':'))
                throw;
            // From the lexer: give it the file's name.
            throw Located(e.Reason, e.Line, e.Column);
        }
        return p;
    }

private:
    QString FFileName;
    QString FDir;
    TLexer FLex;
    TToken FTok;

    void Advance() { FTok = FLex.NextCode(); }

    EParserError Located(const QString& Reason, int Line, int Column) const
    {
        EParserError e(Reason, Line, Column);
        e.Message = QStringLiteral("%1:%2: %3").arg(FFileName).arg(Line).arg(Reason);
        return e;
    }

    [[noreturn]] void Error(const QString& Reason, int Line) const { throw Located(Reason, Line, 1); }

    [[noreturn]] void Expected(const QString& What) const
    {
        QString found;
        switch (FTok.Kind) {
        case TTokenKind::Eof: found = QStringLiteral("end of file"); break;
        case TTokenKind::Ident: found = QStringLiteral("identifier '%1'").arg(FTok.Text); break;
        case TTokenKind::String: found = QStringLiteral("string constant"); break;
        case TTokenKind::Number: found = QStringLiteral("number"); break;
        default: found = QStringLiteral("'%1'").arg(FTok.Text); break;
        }
        throw Located(QStringLiteral("%1 expected but %2 found").arg(What, found), FTok.Line, FTok.Column);
    }

    void Expect(QStringView Symbol)
    {
        if (!FTok.Is(Symbol))
            Expected(QStringLiteral("'%1'").arg(Symbol));
        Advance();
    }

    QString DottedIdent(const QString& What)
    {
        if (FTok.Kind != TTokenKind::Ident)
            Expected(What);
        QString name = FTok.Text;
        Advance();
        while (FTok.Is(u".")) {
            Advance();
            if (FTok.Kind != TTokenKind::Ident)
                Expected(What);
            name += u'.' + FTok.Text;
            Advance();
        }
        return name;
    }

    // After `Unit in`: the file and, in the comment right after it, the form.
    void ReadModuleFields(QString& Path, QString& Form, QString& FormType)
    {
        const TToken file = FLex.NextCode();
        if (file.Kind != TTokenKind::String) {
            FTok = file;
            Expected(QStringLiteral("File name"));
        }
        Path = file.StringValue();
        TToken t = FLex.Next();
        static const QRegularExpression FormComment(
            QStringLiteral(R"(^\s*([A-Za-z_]\w*)\s*(?::\s*([A-Za-z_][\w.]*))?\s*$)"));
        if (t.Kind == TTokenKind::Comment && t.Text.startsWith(u'{') && !t.IsDirective()) {
            const QRegularExpressionMatch m = FormComment.match(t.CommentBody());
            if (m.hasMatch()) {
                Form = m.captured(1);
                FormType = m.captured(2);
            }
        }
        FTok = t.Kind == TTokenKind::Comment ? FLex.NextCode() : t;
    }

    std::shared_ptr<TKvModuleInfo> ReadModule(const QString& Unit, int Line)
    {
        QString path, form, formType;
        ReadModuleFields(path, form, formType);
        QString rel = path;
        rel.replace(u'\\', u'/');
        if (rel.trimmed().isEmpty())
            Error(QStringLiteral("Unit %1 has an empty file name").arg(Unit), Line);
        const bool absolute = rel.startsWith(u'/') || (rel.size() >= 2 && rel.at(1) == u':' && rel.at(0).isLetter());
        const QString clean = QDir::cleanPath(rel);
        if (absolute || clean == u".." || clean.startsWith(u"../"))
            Error(QStringLiteral("Unit %1: '%2' is outside the project folder; a project's units must lie within it")
                      .arg(Unit, path),
                  Line);
        auto info = std::make_shared<TKvModuleInfo>(Unit, ResolveFileCase(QDir(FDir).filePath(clean)), form, formType,
                                                    path, Line);
        if (!KvIsInsideFolder(FDir, info->FileName())
            || (!form.isEmpty() && !KvIsInsideFolder(FDir, info->FormFileName())))
            Error(QStringLiteral("Unit %1: '%2' leads outside the project folder through a link; a project's units must "
                                 "lie within it")
                      .arg(Unit, path),
                  Line);
        return info;
    }
};

} // namespace

TKvProject::TKvProject() = default;

TKvProject::~TKvProject() = default;

namespace {

// The compiler's code page the project options beside a project file name (DCC_CodePage in its
// .dproj), as a code page name; empty when there are none or they name none.
QString OptionsCodePage(const QString& ProjectFile)
{
    const QFileInfo info(ProjectFile);
    const QString options = ResolveFileCase(info.dir().filePath(info.completeBaseName() + QStringLiteral(".dproj")));
    if (!QFileInfo(options).isFile())
        return QString();
    QXmlStreamReader xml(ReadFileBytes(options));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String("DCC_CodePage"))
            continue;
        bool ok = false;
        const int number = xml.readElementText().trimmed().toInt(&ok);
        if (ok && number > 0)
            return QStringLiteral("cp%1").arg(number);
    }
    return QString(); // unreadable options are the compiler's business, not the forms'
}

} // namespace

void TKvProject::LoadFromFile(const QString& FileName)
{
    const QString path = NormalizeFileName(FileName);
    TKvSourceEditor reader(this, path);
    reader.LoadFromFile();
    const QString codePage = OptionsCodePage(path);
    Load(path, reader.Text());
    FCodePage = codePage;
    FSource->LoadFromBytes(reader.Encoded()); // keeps the file's encoding for the editor
    FSource->SetModified(false);
}

void TKvProject::Load(const QString& FileName, const QString& Source)
{
    const QString path = NormalizeFileName(FileName);
    TProjectParser parser(path, Source);
    TParsedProject parsed = parser.Parse();
    auto source = std::make_unique<TKvSourceEditor>(this, path);
    source->SetText(Source);
    source->SetModified(false);
    FFileName = path;
    FProjectName = parsed.Name;
    FKind = parsed.Kind;
    FModules = std::move(parsed.Modules);
    FLibraryUnits = std::move(parsed.LibraryUnits);
    FSource = std::move(source);
}

QString TKvProject::ProjectDir() const
{
    return QFileInfo(FFileName).absolutePath();
}

IOTAModuleInfo* TKvProject::GetModule(int Index) const
{
    if (Index < 0 || Index >= FModules.size())
        throw EListError(QStringLiteral("Module index out of bounds (%1)").arg(Index));
    return FModules.at(Index).get();
}

TKvModuleInfo* TKvProject::FindModuleInfo(const QString& NameOrFile) const
{
    const bool isFile = NameOrFile.contains(u'/') || NameOrFile.contains(u'\\')
        || NameOrFile.endsWith(u".pas", Qt::CaseInsensitive) || NameOrFile.endsWith(u".dfm", Qt::CaseInsensitive);
    const QString file = isFile ? NormalizeFileName(NameOrFile) : QString();
    for (const auto& m : FModules) {
        if (isFile ? (m->FileName().compare(file, Qt::CaseInsensitive) == 0
                      || (!m->FormName().isEmpty() && m->FormFileName().compare(file, Qt::CaseInsensitive) == 0))
                   : m->Name().compare(NameOrFile, Qt::CaseInsensitive) == 0)
            return m.get();
    }
    return nullptr;
}

IOTAEditor* TKvProject::GetModuleFileEditor(int Index) const
{
    if (Index != 0 || !FSource)
        throw EListError(QStringLiteral("Module file index out of bounds (%1)").arg(Index));
    return FSource.get();
}

bool TKvProject::CloseModule(bool ForceClosed)
{
    // A copy: the host destroys this project, and with it OnClose, while closing.
    const auto close = OnClose;
    return close ? close(ForceClosed) : true;
}

// ---------------------------------------------------------------------------------------------
// Form inheritance

namespace {

QString UnitText(const QString& File)
{
    try {
        return QString::fromLatin1(ReadFileBytes(File)); // declarations are ASCII
    } catch (const Exception&) {
        return QString();
    }
}

// The unit declaring ClassName: Units first, then the units in Dir.
QString FindDeclaringUnit(const QString& ClassName, const QString& Dir, const QStringList& Units)
{
    QStringList candidates = Units;
    const QFileInfoList beside = QDir(Dir).entryInfoList({QStringLiteral("*.pas")}, QDir::Files, QDir::Name);
    for (const QFileInfo& f : beside)
        candidates << f.absoluteFilePath();
    for (const QString& unit : std::as_const(candidates))
        if (!KvUnitSource::FindClassAncestor(UnitText(unit), ClassName).isEmpty())
            return unit;
    return QString();
}

QString FormBeside(const QString& Unit)
{
    const QFileInfo info(Unit);
    const QString dfm = ResolveFileCase(info.dir().filePath(info.completeBaseName() + QStringLiteral(".dfm")));
    return QFileInfo::exists(dfm) ? dfm : QString();
}

} // namespace

TKvFormAncestry KvFindFormAncestry(const QString& UnitFile, const QString& ClassName, const QStringList& Units)
{
    TKvFormAncestry result;
    QString unit = UnitFile;
    QString cls = ClassName;
    for (int depth = 0; depth < 32; ++depth) {
        const QString ancestor = KvUnitSource::FindClassAncestor(UnitText(unit), cls).section(u'.', -1);
        if (ancestor.isEmpty())
            return result;
        const QMetaObject* registered = GetClass(ancestor);
        if (registered && InheritsFrom(registered, &TComponent::staticMetaObject)) {
            result.BaseClass = ancestor;
            return result;
        }
        const QString next = FindDeclaringUnit(ancestor, QFileInfo(unit).absolutePath(), Units);
        const QString form = next.isEmpty() ? QString() : FormBeside(next);
        if (form.isEmpty()) {
            result.Missing = ancestor;
            return result;
        }
        result.Forms.prepend(form);
        unit = next;
        cls = ancestor;
    }
    return result;
}

const QMetaObject* KvFormRootClass(const TKvFormAncestry& Ancestry, const QString& FormType)
{
    auto registered = [](const QString& Name) -> const QMetaObject* {
        const QMetaObject* cls = Name.isEmpty() ? nullptr : GetClass(Name.section(u'.', -1));
        return InheritsFrom(cls, &TComponent::staticMetaObject) ? cls : nullptr;
    };
    if (Ancestry.Missing.isEmpty())
        if (const QMetaObject* cls = registered(Ancestry.BaseClass))
            return cls;
    const QString kind = FormType.isEmpty() ? Ancestry.Missing : FormType;
    if (kind.isEmpty())
        return nullptr;
    if (const QMetaObject* cls = registered(kind))
        return cls;
    // A library's module nobody registered (TWebModule) is a data module, its frame a frame.
    RegisterControlClasses();
    if (kind.endsWith(QLatin1String("Module"), Qt::CaseInsensitive))
        return &TDataModule::staticMetaObject;
    return kind.endsWith(QLatin1String("Frame"), Qt::CaseInsensitive) ? &TFrame::staticMetaObject : nullptr;
}

QString KvFindClassForm(const QString& ClassName, const QString& Dir, const QStringList& Units)
{
    const QString unit = FindDeclaringUnit(ClassName, Dir, Units);
    return unit.isEmpty() ? QString() : FormBeside(unit);
}
