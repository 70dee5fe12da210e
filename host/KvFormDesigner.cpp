#include "KvFormDesigner.h"

#include "Controls.h"
#include "DesignNotify.h"
#include "KvHostServices.h"
#include "KvProject.h"
#include "SysUtils.h"

#include <QHash>

#include <vector>

using namespace KvPascal;

namespace {

// ---------------------------------------------------------------------------------------------
// The form class in its unit

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
    QStringList Methods;            // of every section
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
                if (T[j + 1].Kind == TTokenKind::Ident)
                    d.Methods << T[j + 1].Text;
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
                next = SkipToSemicolon(T, j) + 1; // a nested constant or type
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

struct TEventType
{
    QString Params;
    QString ResultType;
};

QHash<QString, TEventType>& EventTypes()
{
    static QHash<QString, TEventType> types = [] {
        QHash<QString, TEventType> t;
        auto add = [&t](const char* Name, const char* Params) {
            t.insert(QString::fromLatin1(Name).toCaseFolded(), {QString::fromLatin1(Params), QString()});
        };
        add("TNotifyEvent", "Sender: TObject");
        add("TCloseEvent", "Sender: TObject; var Action: TCloseAction");
        add("TCloseQueryEvent", "Sender: TObject; var CanClose: Boolean");
        add("TKeyEvent", "Sender: TObject; var Key: Word; Shift: TShiftState");
        add("TKeyPressEvent", "Sender: TObject; var Key: Char");
        add("TMouseEvent", "Sender: TObject; Button: TMouseButton; Shift: TShiftState; X, Y: Integer");
        add("TMouseMoveEvent", "Sender: TObject; Shift: TShiftState; X, Y: Integer");
        return t;
    }();
    return types;
}

bool IsWithin(const TComponent* Component, const TComponent* Root)
{
    for (; Component; Component = Component->Owner())
        if (Component == Root)
            return true;
    return false;
}

} // namespace

QString FindClassAncestor(const QString& UnitText, const QString& ClassName)
{
    try {
        return ParseClass(CodeTokens(UnitText), ClassName).Ancestor;
    } catch (const EParserError&) {
        return QString();
    }
}

// ---------------------------------------------------------------------------------------------
// TKvFormDesigner

TKvFormDesigner::TKvFormDesigner(TKvFormEditor* Editor) : FEditor(Editor) {}

TKvFormDesigner::~TKvFormDesigner() = default;

TComponent* TKvFormDesigner::GetRoot() const
{
    return FEditor->GetRootComponent();
}

TKvSourceEditor* TKvFormDesigner::UnitEditor() const
{
    return FEditor->UnitModule()->SourceEditor();
}

QString TKvFormDesigner::FormClassName() const
{
    return GetRoot()->ClassName();
}

void TKvFormDesigner::Modified()
{
    FEditor->SetModified(true);
    DesignNotifyItemsModified(this);
}

void TKvFormDesigner::RegisterEventType(const QString& TypeName, const QString& Params, const QString& ResultType)
{
    EventTypes().insert(TypeName.toCaseFolded(), {Params, ResultType});
}

TMethod TKvFormDesigner::CreateMethod(const QString& Name, const QString& EventType)
{
    if (!TComponent::IsValidIdent(Name))
        throw EInvalidOperation(QStringLiteral("'%1' is not a valid method name").arg(Name));
    if (MethodExists(Name))
        return TMethod{Name};
    TKvSourceEditor* unit = UnitEditor();
    QString text = unit->Text();
    const QString className = FormClassName();
    const std::vector<TToken> tokens = CodeTokens(text);
    const TClassDecl decl = ParseClass(tokens, className);
    if (!decl.Found)
        throw EInvalidOperation(
            QStringLiteral("%1: the declaration of class %2 was not found").arg(unit->FileName(), className));
    const qsizetype bodyPos = ImplementationInsertPos(text, tokens);
    if (bodyPos < 0)
        throw EInvalidOperation(QStringLiteral("%1: the unit has no final 'end.'").arg(unit->FileName()));

    const TEventType type = EventTypes().value(EventType.toCaseFolded(), {QStringLiteral("Sender: TObject"), QString()});
    const QString params = type.Params.isEmpty() ? QString() : QStringLiteral("(%1)").arg(type.Params);
    const QString result = type.ResultType.isEmpty() ? QString() : QStringLiteral(": %1").arg(type.ResultType);
    const QString kind = result.isEmpty() ? QStringLiteral("procedure") : QStringLiteral("function");
    const QString lb = unit->LineBreak();

    // The body first: it lies after the declaration, whose insertion would move it.
    QString body = QStringLiteral("%1 %2.%3%4%5;").arg(kind, className, Name, params, result) + lb
        + QStringLiteral("begin") + lb + lb + QStringLiteral("end;") + lb + lb;
    if (bodyPos != LineStart(text, bodyPos))
        body.prepend(lb + lb);
    else if (!IsBlankLineBefore(text, bodyPos))
        body.prepend(lb);
    text.insert(bodyPos, body);
    InsertLineAfter(text, decl.LastMemberEnd >= 0 ? decl.LastMemberEnd : decl.HeaderEnd,
                    MemberIndent(text, decl) + QStringLiteral("%1 %2%3%4;").arg(kind, Name, params, result), lb);
    unit->SetText(text);
    return TMethod{Name};
}

QString TKvFormDesigner::GetMethodName(const TMethod& Method) const
{
    return Method.Name;
}

bool TKvFormDesigner::MethodExists(const QString& Name) const
{
    if (Name.isEmpty())
        return false;
    const QString className = FormClassName();
    std::vector<TToken> tokens;
    try {
        tokens = CodeTokens(UnitEditor()->Text());
    } catch (const EParserError&) {
        return false;
    }
    if (ParseClass(tokens, className).Methods.contains(Name, Qt::CaseInsensitive))
        return true;
    for (size_t i = 0; i + 3 < tokens.size(); ++i)
        if (IsAnyOf(tokens[i], {u"procedure", u"function"}) && tokens[i + 1].Is(className) && tokens[i + 2].Is(u".")
            && tokens[i + 3].Is(Name))
            return true;
    return false;
}

void TKvFormDesigner::ShowMethod(const QString& Name)
{
    FShownMethod = Name;
    FShownUnitFile = UnitEditor()->FileName();
}

TDesignerSelectionList TKvFormDesigner::GetSelections() const
{
    TDesignerSelectionList list;
    for (const QPointer<TPersistent>& p : FSelection)
        if (p)
            list << p.data();
    return list;
}

void TKvFormDesigner::SetSelections(const TDesignerSelectionList& List)
{
    FSelection.clear();
    for (TPersistent* p : List)
        if (p)
            FSelection << p;
    DesignNotifySelectionChanged(this, GetSelections());
}

void TKvFormDesigner::SelectComponent(TPersistent* Instance)
{
    SetSelections(Instance ? TDesignerSelectionList{Instance} : TDesignerSelectionList{});
}

QStringList TKvFormDesigner::GetComponentNames(const QMetaObject* AClass) const
{
    if (!AClass)
        AClass = &TComponent::staticMetaObject;
    QStringList names;
    TComponent* root = GetRoot();
    if (root->InheritsFrom(AClass) && !root->GetName().isEmpty())
        names << root->GetName();
    for (int i = 0; i < root->ComponentCount(); ++i) {
        TComponent* c = root->Components(i);
        if (c->InheritsFrom(AClass) && !c->GetName().isEmpty())
            names << c->GetName();
    }
    return names;
}

TComponent* TKvFormDesigner::GetComponent(const QString& Name) const
{
    TComponent* root = GetRoot();
    const QStringList parts = Name.split(u'.');
    TComponent* c = nullptr;
    if (parts.first().compare(root->GetName(), Qt::CaseInsensitive) == 0)
        c = root;
    else if (parts.size() == 1)
        return root->FindComponent(Name);
    else
        c = FEditor->UnitModule()->Host()->FindFormRoot(parts.first());
    for (qsizetype i = 1; c && i < parts.size(); ++i)
        c = c->FindComponent(parts.at(i));
    return c;
}

QString TKvFormDesigner::UniqueName(const QString& BaseName) const
{
    QString stem = BaseName;
    if (stem.size() > 1 && (stem.startsWith(u'T') || stem.startsWith(u't')))
        stem.remove(0, 1);
    TComponent* root = GetRoot();
    for (int i = 1;; ++i) {
        const QString name = stem + QString::number(i);
        if (name.compare(root->GetName(), Qt::CaseInsensitive) != 0 && !root->FindComponent(name))
            return name;
    }
}

TComponent* TKvFormDesigner::CreateComponent(const QMetaObject* AClass, TComponent* Parent, int Left, int Top,
                                             int Width, int Height)
{
    if (!InheritsFrom(AClass, &TComponent::staticMetaObject))
        throw EInvalidOperation(QStringLiteral("%1 is not a component class")
                                    .arg(AClass ? QString::fromLatin1(AClass->className()) : QStringLiteral("nil")));
    TComponent* root = GetRoot();
    TWinControl* parent = nullptr;
    if (InheritsFrom(AClass, &TControl::staticMetaObject)) {
        TComponent* p = Parent ? Parent : root;
        if (!IsWithin(p, root))
            throw EInvalidOperation(QStringLiteral("%1 is not on form %2").arg(p->GetName(), root->GetName()));
        // A control that holds no controls passes the new one to its own container.
        while (p && !qobject_cast<TWinControl*>(p))
            p = qobject_cast<TControl*>(p) ? static_cast<TControl*>(p)->Parent() : nullptr;
        parent = qobject_cast<TWinControl*>(p);
        if (!parent)
            throw EInvalidOperation(
                QStringLiteral("Controls cannot be added to %1, which is not a form or container").arg(root->GetName()));
    }
    std::unique_ptr<TComponent> created(::CreateComponent(AClass, root));
    created->SetName(UniqueName(created->ClassName()));
    if (parent)
        static_cast<TControl*>(created.get())->SetParent(parent);
    const std::pair<const char*, int> bounds[] = {{"Left", Left}, {"Top", Top}, {"Width", Width}, {"Height", Height}};
    for (const auto& [prop, value] : bounds)
        if (value != -1)
            if (const TPropInfo* info = GetPropInfo(AClass, QString::fromLatin1(prop)); info && info->Kind == TTypeKind::tkInteger)
                SetOrdProp(created.get(), *info, value);
    created->SetDesigning(true);
    TComponent* component = created.release();

    // Its field in the form class; a unit the designer cannot read keeps its text.
    try {
        TKvSourceEditor* unit = UnitEditor();
        QString text = unit->Text();
        const TClassDecl decl = ParseClass(CodeTokens(text), FormClassName());
        bool exists = false;
        for (const TFieldDecl& f : decl.Fields)
            for (const TToken& n : f.Names)
                exists = exists || n.Text.compare(component->GetName(), Qt::CaseInsensitive) == 0;
        if (decl.Found && !exists) {
            InsertLineAfter(text, decl.LastFieldEnd >= 0 ? decl.LastFieldEnd : decl.HeaderEnd,
                            MemberIndent(text, decl)
                                + QStringLiteral("%1: %2;").arg(component->GetName(), component->ClassName()),
                            unit->LineBreak());
            unit->SetText(text);
        }
    } catch (const EParserError&) {
    }
    Modified();
    SelectComponent(component);
    return component;
}

void TKvFormDesigner::DeleteSelection()
{
    TComponent* root = GetRoot();
    QList<TComponent*> doomed; // containers before the controls inside them
    std::function<void(TComponent*)> add = [&](TComponent* c) {
        if (!c || c == root || c->Owner() != root || doomed.contains(c))
            return;
        doomed << c;
        if (auto* container = qobject_cast<TWinControl*>(c))
            for (int i = 0; i < container->ControlCount(); ++i)
                add(container->Controls(i));
    };
    for (TPersistent* p : GetSelections())
        add(qobject_cast<TComponent*>(p));
    if (doomed.isEmpty())
        return;
    FSelection.clear();
    QStringList names;
    for (qsizetype i = doomed.size() - 1; i >= 0; --i) {
        TComponent* c = doomed.at(i);
        DesignNotifyItemDeleted(this, c);
        names << c->GetName();
        delete c;
    }

    try {
        TKvSourceEditor* unit = UnitEditor();
        QString text = unit->Text();
        for (const QString& name : std::as_const(names)) {
            const TClassDecl decl = ParseClass(CodeTokens(text), FormClassName());
            for (const TFieldDecl& f : decl.Fields) {
                const auto at = std::find_if(f.Names.cbegin(), f.Names.cend(), [&](const TToken& n) {
                    return n.Text.compare(name, Qt::CaseInsensitive) == 0;
                });
                if (at == f.Names.cend())
                    continue;
                const qsizetype k = at - f.Names.cbegin();
                if (f.Names.size() > 1) {
                    // One name of `A, B: TLabel;`
                    if (k == 0)
                        text.remove(f.Names[0].Start, f.Names[1].Start - f.Names[0].Start);
                    else
                        text.remove(f.Names[k - 1].End, f.Names[k].End - f.Names[k - 1].End);
                } else {
                    const qsizetype start = LineStart(text, f.Start);
                    const qsizetype end = LineEnd(text, f.End);
                    const bool aloneOnLine =
                        text.mid(start, f.Start - start).trimmed().isEmpty() && text.mid(f.End, end - f.End).trimmed().isEmpty();
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
                }
                break;
            }
        }
        unit->SetText(text);
    } catch (const EParserError&) {
    }
    Modified();
    SelectComponent(root);
}
