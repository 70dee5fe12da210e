#include "KvUnitSource.h"

#include "Classes.h"
#include "KvProject.h"

#include <vector>

using namespace KvPascal;

namespace {

struct TFieldDecl
{
    QList<TToken> Names;
    qsizetype Start = 0;
    qsizetype End = 0; // after the ';'
};

struct TClassDecl
{
    bool Found = false;
    QString Ancestor;
    qsizetype HeaderEnd = -1;       // after `class(TForm)`
    qsizetype FirstMemberStart = -1; // members of the first (published) section
    qsizetype LastFieldEnd = -1;
    qsizetype LastMemberEnd = -1;
    QList<TFieldDecl> Fields;       // of the first section
    QList<TToken> Methods;          // names, of every section
    QList<size_t> Headings;         // where each method's `procedure` or `function` stands
    QStringList Members;            // every field and method name, for clashes
};

std::vector<TToken> CodeTokens(const QString& Text)
{
    std::vector<TToken> tokens;
    TLexer lexer(Text);
    for (TToken t = lexer.NextCode(); t.Kind != TTokenKind::Eof; t = lexer.NextCode())
        tokens.push_back(std::move(t));
    tokens.push_back(TToken()); // Eof, so that looking one ahead is always safe
    return tokens;
}

bool IsAnyOf(const TToken& T, std::initializer_list<QStringView> Words)
{
    for (QStringView w : Words)
        if (T.Is(w))
            return true;
    return false;
}

// The index after the ')' closing the '(' at I.
size_t SkipParens(const std::vector<TToken>& T, size_t I)
{
    int depth = 0;
    for (; T[I].Kind != TTokenKind::Eof; ++I) {
        if (T[I].Is(u"("))
            ++depth;
        else if (T[I].Is(u")") && --depth == 0)
            return I + 1;
    }
    return I;
}

// The index of the ';' ending the declaration that starts at I; nested parentheses, brackets and
// records do not end it.
size_t SkipToSemicolon(const std::vector<TToken>& T, size_t I)
{
    int depth = 0;
    for (; T[I].Kind != TTokenKind::Eof; ++I) {
        if (T[I].Is(u"(") || T[I].Is(u"[") || T[I].Is(u"record"))
            ++depth;
        else if (T[I].Is(u")") || T[I].Is(u"]"))
            --depth;
        else if (T[I].Is(u"end")) {
            if (depth == 0)
                return I - 1; // a missing ';' before the class's end
            --depth;
        } else if (T[I].Is(u";") && depth <= 0)
            return I;
    }
    return I;
}

// After `Name =` inside a class: a nested class, record or interface runs to its own `end`.
size_t SkipNestedDecl(const std::vector<TToken>& T, size_t I)
{
    size_t j = I;
    while (T[j].Is(u"packed") || T[j].Is(u"strict"))
        ++j;
    const bool body = IsAnyOf(T[j], {u"class", u"record", u"object", u"interface"}) && !T[j + 1].Is(u";")
        && !T[j + 1].Is(u"of") && !(T[j + 1].Is(u"(") && T[SkipParens(T, j + 1)].Is(u";"));
    if (!body)
        return SkipToSemicolon(T, I) + 1;
    int depth = 0;
    for (; T[j].Kind != TTokenKind::Eof; ++j) {
        // `class function` and the like are members, not nested bodies; a variant record's
        // `case` shares the record's `end`.
        if (IsAnyOf(T[j], {u"class", u"record", u"object", u"interface"}) && !T[j + 1].Is(u";")
            && !T[j + 1].Is(u"of")
            && !IsAnyOf(T[j + 1], {u"procedure", u"function", u"constructor", u"destructor", u"operator", u"var",
                                   u"property", u"threadvar"}))
            ++depth;
        else if (T[j].Is(u"end") && --depth == 0)
            break;
    }
    return SkipToSemicolon(T, j + 1) + 1;
}

// After a method heading: `override;`, `message WM_SIZE;` and the like.
size_t SkipDirectives(const std::vector<TToken>& T, size_t I)
{
    while (IsAnyOf(T[I], {u"override", u"virtual", u"dynamic", u"abstract", u"overload", u"reintroduce", u"message",
                          u"static", u"final", u"inline", u"stdcall", u"cdecl", u"register", u"pascal", u"safecall",
                          u"dispid", u"deprecated", u"platform", u"experimental", u"default"})) {
        const size_t semi = SkipToSemicolon(T, I);
        if (!T[semi].Is(u";"))
            break;
        I = semi + 1;
    }
    return I;
}

TClassDecl ParseClass(const std::vector<TToken>& T, const QString& ClassName)
{
    TClassDecl d;
    for (size_t i = 0; i + 3 < T.size(); ++i) {
        if (T[i].Kind != TTokenKind::Ident || T[i].Text.compare(ClassName, Qt::CaseInsensitive) != 0
            || !T[i + 1].Is(u"="))
            continue;
        size_t j = i + 2;
        if (T[j].Is(u"packed"))
            ++j;
        if (!T[j].Is(u"class"))
            continue;
        ++j;
        while (T[j].Is(u"sealed") || T[j].Is(u"abstract"))
            ++j;
        if (T[j].Is(u";") || T[j].Is(u"of"))
            continue; // forward declaration or class reference
        QString ancestor;
        if (T[j].Is(u"(")) {
            for (++j; T[j].Kind != TTokenKind::Eof && !T[j].Is(u")") && !T[j].Is(u","); ++j)
                ancestor += T[j].Text;
            while (T[j].Kind != TTokenKind::Eof && !T[j].Is(u")"))
                ++j;
            if (T[j].Kind == TTokenKind::Eof)
                break; // the unit ends inside `class(`
            ++j;
            if (T[j].Is(u";"))
                continue; // `class(TForm);` has no body to add to
        }
        d.Found = true;
        d.Ancestor = ancestor;
        d.HeaderEnd = T[j - 1].End;
        bool first = true;
        while (T[j].Kind != TTokenKind::Eof && !T[j].Is(u"end")) {
            const TToken& t = T[j];
            size_t next = j + 1;
            bool member = false;
            if (IsAnyOf(t, {u"private", u"protected", u"public", u"published", u"automated", u"strict"})) {
                first = false;
            } else if (IsAnyOf(t, {u"procedure", u"function", u"constructor", u"destructor", u"operator"})) {
                if (T[j + 1].Kind == TTokenKind::Ident) {
                    d.Methods << T[j + 1];
                    d.Headings << j;
                    d.Members << T[j + 1].Text;
                }
                next = SkipDirectives(T, SkipToSemicolon(T, j) + 1);
                member = true;
            } else if (t.Is(u"property")) {
                next = SkipDirectives(T, SkipToSemicolon(T, j) + 1);
                member = true;
            } else if (t.Kind == TTokenKind::Ident && (T[j + 1].Is(u":") || T[j + 1].Is(u","))) {
                TFieldDecl field;
                field.Start = t.Start;
                size_t k = j;
                for (; T[k].Kind == TTokenKind::Ident; k += 2) {
                    field.Names << T[k];
                    d.Members << T[k].Text;
                    if (!T[k + 1].Is(u","))
                        break;
                }
                const size_t semi = SkipToSemicolon(T, k);
                field.End = T[semi].End;
                next = semi + 1;
                member = true;
                if (first) {
                    d.Fields << field;
                    d.LastFieldEnd = field.End;
                }
            } else if (t.Kind == TTokenKind::Ident && T[j + 1].Is(u"=")) {
                next = SkipNestedDecl(T, j + 2); // a nested constant or type
            }
            if (member && first) {
                if (d.FirstMemberStart < 0)
                    d.FirstMemberStart = t.Start;
                d.LastMemberEnd = T[next - 1].End;
            }
            j = next;
        }
        return d;
    }
    return d;
}

qsizetype LineStart(const QString& Text, qsizetype Pos)
{
    return Pos <= 0 ? 0 : Text.lastIndexOf(u'\n', Pos - 1) + 1;
}

// Where the line holding Pos ends, before its line break.
qsizetype LineEnd(const QString& Text, qsizetype Pos)
{
    qsizetype i = Pos;
    while (i < Text.size() && Text.at(i) != u'\n' && Text.at(i) != u'\r')
        ++i;
    return i;
}

QString IndentOf(const QString& Text, qsizetype Pos)
{
    const qsizetype start = LineStart(Text, Pos);
    qsizetype i = start;
    while (i < Text.size() && (Text.at(i) == u' ' || Text.at(i) == u'\t'))
        ++i;
    return Text.mid(start, i - start);
}

// A new line after the line holding Pos.
void InsertLineAfter(QString& Text, qsizetype Pos, const QString& Line, const QString& LineBreak)
{
    Text.insert(LineEnd(Text, Pos), LineBreak + Line);
}

QString MemberIndent(const QString& Text, const TClassDecl& D)
{
    return D.FirstMemberStart >= 0 ? IndentOf(Text, D.FirstMemberStart)
                                   : IndentOf(Text, D.HeaderEnd) + QStringLiteral("  ");
}

// Where a new method body goes: before `initialization` or the unit's final `end.`, at the start
// of that line.
qsizetype ImplementationInsertPos(const QString& Text, const std::vector<TToken>& T)
{
    qsizetype pos = -1;
    for (size_t i = 0; i + 1 < T.size(); ++i) {
        if (T[i].Is(u"initialization") || T[i].Is(u"finalization")) {
            pos = T[i].Start;
            break;
        }
        if (T[i].Is(u"end") && T[i + 1].Is(u"."))
            pos = T[i].Start;
    }
    if (pos < 0)
        return -1;
    const qsizetype start = LineStart(Text, pos);
    return Text.mid(start, pos - start).trimmed().isEmpty() ? start : pos;
}

bool IsBlankLineBefore(const QString& Text, qsizetype LineStartPos)
{
    if (LineStartPos <= 0)
        return true;
    const qsizetype prevStart = LineStart(Text, LineStartPos - 1);
    return Text.mid(prevStart, LineStartPos - prevStart).trimmed().isEmpty();
}

QString LineBreakOf(const QString& Text)
{
    const qsizetype lf = Text.indexOf(u'\n');
    return lf < 0 || (lf > 0 && Text.at(lf - 1) == u'\r') ? QStringLiteral("\r\n") : QStringLiteral("\n");
}

std::vector<TToken> Tokens(const QString& Text)
{
    try {
        return CodeTokens(Text);
    } catch (const EParserError& E) {
        throw EUnitSourceError(QStringLiteral("line %1: %2").arg(E.Line).arg(E.Reason));
    }
}

TClassDecl RequireClass(const std::vector<TToken>& T, const QString& ClassName)
{
    TClassDecl d = ParseClass(T, ClassName);
    if (!d.Found)
        throw EUnitSourceError(QStringLiteral("the declaration of class %1 was not found").arg(ClassName));
    return d;
}

bool Same(const QString& A, const QString& B)
{
    return A.compare(B, Qt::CaseInsensitive) == 0;
}

// Implementation headings `procedure ClassName.Name`: the tokens of Name.
QList<TToken> ImplementationNames(const std::vector<TToken>& T, const QString& ClassName, const QString& Name)
{
    QList<TToken> found;
    for (size_t i = 0; i + 3 < T.size(); ++i)
        if (IsAnyOf(T[i], {u"procedure", u"function", u"constructor", u"destructor"}) && T[i + 1].Is(ClassName)
            && T[i + 2].Is(u".") && T[i + 3].Is(Name))
            found << T[i + 3];
    return found;
}

// Replaces the tokens (in any order) by NewText, from the last so offsets stay valid.
QString ReplaceTokens(QString Text, QList<TToken> Where, const QString& NewText)
{
    std::sort(Where.begin(), Where.end(), [](const TToken& A, const TToken& B) { return A.Start > B.Start; });
    for (const TToken& t : std::as_const(Where))
        Text.replace(t.Start, t.End - t.Start, NewText);
    return Text;
}

void CheckIdent(const QString& Name)
{
    if (!TComponent::IsValidIdent(Name))
        throw EUnitSourceError(QStringLiteral("'%1' is not a valid identifier").arg(Name));
}

// What a procedure or function heading at I takes and gives, without the parameters' names:
// "var word", "tshiftstate" a parameter, then the result type (empty for a procedure). Empty
// for other headings (constructors, class methods).
QStringList HeadingShape(const std::vector<TToken>& T, size_t I)
{
    const bool Function = T[I].Is(u"function");
    if ((!Function && !T[I].Is(u"procedure")) || (I > 0 && T[I - 1].Is(u"class")))
        return {};
    QStringList Shape;
    size_t j = I + 2;
    if (T[j].Is(u"(")) {
        const size_t Close = SkipParens(T, j) - 1;
        for (++j; j < Close;) {
            QString Kind;
            if (IsAnyOf(T[j], {u"const", u"var", u"out", u"constref"}))
                Kind = T[j++].Text.toLower() + u' ';
            int Names = 0;
            for (; j < Close && !T[j].Is(u":") && !T[j].Is(u";"); ++j)
                Names += T[j].Kind == TTokenKind::Ident;
            QString Type;
            if (T[j].Is(u":"))
                for (++j; j < Close && !T[j].Is(u";") && !T[j].Is(u"="); ++j)
                    Type += (Type.isEmpty() ? QString() : QStringLiteral(" ")) + T[j].Text.toLower();
            while (j < Close && !T[j].Is(u";"))
                ++j; // a default value
            for (int n = 0; n < Names; ++n)
                Shape << Kind + Type;
            ++j;
        }
        j = Close + 1;
    }
    QString Result;
    if (Function && T[j].Is(u":"))
        for (++j; T[j].Kind != TTokenKind::Eof && !T[j].Is(u";"); ++j)
            Result += T[j].Text.toLower();
    Shape << Result;
    return Shape;
}

} // namespace

namespace KvUnitSource {

QStringList MatchingMethods(const QString& Text, const QString& ClassName, const QString& Params,
                            const QString& ResultType)
{
    const QString Kind = ResultType.isEmpty() ? QStringLiteral("procedure") : QStringLiteral("function");
    const QString Result = ResultType.isEmpty() ? QString() : QStringLiteral(": ") + ResultType;
    QStringList Names;
    try {
        const QStringList Wanted =
            HeadingShape(CodeTokens(QStringLiteral("%1 X(%2)%3;").arg(Kind, Params, Result)), 0);
        const std::vector<TToken> Tokens = CodeTokens(Text);
        const TClassDecl Decl = ParseClass(Tokens, ClassName);
        for (qsizetype i = 0; i < Decl.Methods.size(); ++i)
            if (HeadingShape(Tokens, Decl.Headings.at(i)) == Wanted)
                Names << Decl.Methods.at(i).Text;
    } catch (const EParserError&) {
        // A unit that does not parse offers no handlers.
    }
    return Names;
}

QString FindClassAncestor(const QString& Text, const QString& ClassName)
{
    try {
        return ParseClass(CodeTokens(Text), ClassName).Ancestor;
    } catch (const EParserError&) {
        return QString();
    }
}

QStringList FieldNames(const QString& Text, const QString& ClassName)
{
    QStringList names;
    for (const TFieldDecl& f : RequireClass(Tokens(Text), ClassName).Fields)
        for (const TToken& n : f.Names)
            names << n.Text;
    return names;
}

bool MethodExists(const QString& Text, const QString& ClassName, const QString& Name)
{
    if (Name.isEmpty())
        return false;
    std::vector<TToken> tokens;
    try {
        tokens = CodeTokens(Text);
    } catch (const EParserError&) {
        return false;
    }
    for (const TToken& m : ParseClass(tokens, ClassName).Methods)
        if (Same(m.Text, Name))
            return true;
    return !ImplementationNames(tokens, ClassName, Name).isEmpty();
}

qsizetype MethodCodePosition(const QString& Text, const QString& ClassName, const QString& Name)
{
    std::vector<TToken> tokens;
    try {
        tokens = CodeTokens(Text);
    } catch (const EParserError&) {
        return -1;
    }
    const QList<TToken> headings = ImplementationNames(tokens, ClassName, Name);
    if (headings.isEmpty()) {
        for (const TToken& m : ParseClass(tokens, ClassName).Methods)
            if (Same(m.Text, Name))
                return LineStart(Text, m.Start);
        return -1;
    }
    // Local declarations and nested routines come before the body: a nested routine's body is
    // the `begin ... end` met while its heading waits for one.
    size_t i = 0;
    while (tokens[i].Start != headings.first().Start)
        ++i;
    int pending = 0, depth = 0;
    for (++i; tokens[i].Kind != TTokenKind::Eof; ++i) {
        const TToken& t = tokens[i];
        if (IsAnyOf(t, {u"procedure", u"function"}) && !tokens[i - 1].Is(u":") && !tokens[i - 1].Is(u"=")) {
            ++pending;
        } else if (IsAnyOf(t, {u"begin", u"asm"})) {
            if (depth == 0 && pending == 0) {
                const qsizetype end = LineEnd(Text, t.End);
                return qMin(end + (Text.mid(end, 2) == u"\r\n" ? 2 : 1), Text.size());
            }
            ++depth;
        } else if (IsAnyOf(t, {u"case", u"try", u"record"}) && (depth > 0 || t.Is(u"record"))) {
            ++depth;
        } else if (t.Is(u"end") && depth > 0 && --depth == 0 && pending > 0) {
            --pending;
        }
    }
    return LineStart(Text, headings.first().Start);
}

QString AddField(const QString& Text, const QString& ClassName, const QString& Name, const QString& TypeName)
{
    CheckIdent(Name);
    const TClassDecl decl = RequireClass(Tokens(Text), ClassName);
    for (const TFieldDecl& f : decl.Fields)
        for (const TToken& n : f.Names)
            if (Same(n.Text, Name))
                return Text;
    QString text = Text;
    InsertLineAfter(text, decl.LastFieldEnd >= 0 ? decl.LastFieldEnd : decl.HeaderEnd,
                    MemberIndent(text, decl) + QStringLiteral("%1: %2;").arg(Name, TypeName), LineBreakOf(Text));
    return text;
}

QString RemoveField(const QString& Text, const QString& ClassName, const QString& Name)
{
    const TClassDecl decl = RequireClass(Tokens(Text), ClassName);
    QString text = Text;
    for (const TFieldDecl& f : decl.Fields) {
        const auto at = std::find_if(f.Names.cbegin(), f.Names.cend(), [&](const TToken& n) { return Same(n.Text, Name); });
        if (at == f.Names.cend())
            continue;
        const qsizetype k = at - f.Names.cbegin();
        if (f.Names.size() > 1) {
            if (k == 0)
                text.remove(f.Names[0].Start, f.Names[1].Start - f.Names[0].Start);
            else
                text.remove(f.Names[k - 1].End, f.Names[k].End - f.Names[k - 1].End);
            return text;
        }
        const qsizetype start = LineStart(text, f.Start);
        const qsizetype end = LineEnd(text, f.End);
        // A comment after the field on its line goes with it.
        const QString rest = text.mid(f.End, end - f.End).trimmed();
        const bool onlyComment = rest.isEmpty() || rest.startsWith(u"//")
            || (rest.startsWith(u'{') && !rest.startsWith(u"{$") && rest.endsWith(u'}'))
            || (rest.startsWith(u"(*") && rest.endsWith(u"*)"));
        const bool aloneOnLine = text.mid(start, f.Start - start).trimmed().isEmpty() && onlyComment;
        if (aloneOnLine) {
            qsizetype next = end;
            if (next < text.size() && text.at(next) == u'\r')
                ++next;
            if (next < text.size() && text.at(next) == u'\n')
                ++next;
            text.remove(start, next - start);
        } else {
            text.remove(f.Start, f.End - f.Start);
        }
        return text;
    }
    return text;
}

QString AddMethod(const QString& Text, const QString& ClassName, const QString& Name, const QString& Params,
                  const QString& ResultType)
{
    CheckIdent(Name);
    if (MethodExists(Text, ClassName, Name))
        return Text;
    QString text = Text;
    const std::vector<TToken> tokens = Tokens(text);
    const TClassDecl decl = RequireClass(tokens, ClassName);
    const qsizetype bodyPos = ImplementationInsertPos(text, tokens);
    if (bodyPos < 0)
        throw EUnitSourceError(QStringLiteral("the unit has no final 'end.'"));
    const QString params = Params.isEmpty() ? QString() : QStringLiteral("(%1)").arg(Params);
    const QString result = ResultType.isEmpty() ? QString() : QStringLiteral(": %1").arg(ResultType);
    const QString kind = result.isEmpty() ? QStringLiteral("procedure") : QStringLiteral("function");
    const QString lb = LineBreakOf(Text);

    // The body first: it lies after the declaration, whose insertion would move it.
    QString body = QStringLiteral("%1 %2.%3%4%5;").arg(kind, ClassName, Name, params, result) + lb
        + QStringLiteral("begin") + lb + lb + QStringLiteral("end;") + lb + lb;
    if (bodyPos != LineStart(text, bodyPos))
        body.prepend(lb + lb);
    else if (!IsBlankLineBefore(text, bodyPos))
        body.prepend(lb);
    text.insert(bodyPos, body);
    InsertLineAfter(text, decl.LastMemberEnd >= 0 ? decl.LastMemberEnd : decl.HeaderEnd,
                    MemberIndent(text, decl) + QStringLiteral("%1 %2%3%4;").arg(kind, Name, params, result), lb);
    return text;
}

QString RenameField(const QString& Text, const QString& ClassName, const QString& OldName, const QString& NewName)
{
    CheckIdent(NewName);
    const TClassDecl decl = RequireClass(Tokens(Text), ClassName);
    if (!Same(OldName, NewName) && decl.Members.contains(NewName, Qt::CaseInsensitive))
        throw EUnitSourceError(QStringLiteral("class %1 already has a member named %2").arg(ClassName, NewName));
    for (const TFieldDecl& f : decl.Fields)
        for (const TToken& n : f.Names)
            if (Same(n.Text, OldName))
                return ReplaceTokens(Text, {n}, NewName);
    return Text;
}

QString RenameMethod(const QString& Text, const QString& ClassName, const QString& OldName, const QString& NewName)
{
    CheckIdent(NewName);
    const std::vector<TToken> tokens = Tokens(Text);
    const TClassDecl decl = RequireClass(tokens, ClassName);
    if (!Same(OldName, NewName) && decl.Members.contains(NewName, Qt::CaseInsensitive))
        throw EUnitSourceError(QStringLiteral("class %1 already has a member named %2").arg(ClassName, NewName));
    QList<TToken> where = ImplementationNames(tokens, ClassName, OldName);
    for (const TToken& m : decl.Methods)
        if (Same(m.Text, OldName))
            where << m;
    return ReplaceTokens(Text, where, NewName);
}

} // namespace KvUnitSource
