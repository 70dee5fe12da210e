#include "KvFormDesigner.h"

#include "Controls.h"
#include "DesignEditors.h"
#include "DesignNotify.h"
#include "DesignWindows.h"
#include "Filer.h"
#include "FormBinary.h"
#include "FormStreams.h"
#include "KvHostServices.h"
#include "KvProject.h"
#include "KvUnitSource.h"
#include "SysUtils.h"
#include "TypInfo.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTimer>
#include <QUndoStack>

#include <optional>

namespace {

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


// "" names the root: a rename of the root must not lose it.
QString NameIn(const TComponent* Root, const TPersistent* Item)
{
    if (Item == Root)
        return QString();
    const auto* c = qobject_cast<const TComponent*>(Item);
    return c ? c->GetName() : QStringLiteral("?");
}

TComponent* ByName(TComponent* Root, const QString& Name)
{
    return Name.isEmpty() ? Root : Root->FindComponent(Name);
}

// A component that publishes no Left and Top (a non-visual one) stores them as its place on the
// form, the way the form file holds them.
bool IsDesignPlace(const TComponent* Component, const QByteArray& Property)
{
    return (Property == "Left" || Property == "Top") && Component->metaObject()->indexOfProperty(Property) < 0;
}

QVariant ValueOf(const TComponent* Component, const QByteArray& Property)
{
    if (IsDesignPlace(Component, Property))
        return Property == "Left" ? Component->DesignLeft() : Component->DesignTop();
    return Component->property(Property.constData());
}

void SetValue(TComponent* Component, const QByteArray& Property, const QVariant& Value)
{
    if (!IsDesignPlace(Component, Property))
        Component->setProperty(Property.constData(), Value);
    else if (Property == "Left")
        Component->SetDesignPos(Value.toInt(), Component->DesignTop());
    else
        Component->SetDesignPos(Component->DesignLeft(), Value.toInt());
}

QString DisplayName(const QList<TComponent*>& Components, const QString& Verb)
{
    if (Components.size() == 1)
        return QStringLiteral("%1 %2").arg(Verb, Components.first()->GetName());
    return QStringLiteral("%1 %2 components").arg(Verb).arg(Components.size());
}

// Published properties of Instance back to those of a new object of its class.
void ResetProperties(TComponent* Instance)
{
    std::unique_ptr<TComponent> fresh(::CreateComponent(Instance->metaObject(), nullptr));
    for (const TPropInfo& info : GetPropList(Instance->metaObject())) {
        if (info.Name.compare(u"Name", Qt::CaseInsensitive) == 0)
            continue;
        try {
            if (info.Kind == TTypeKind::tkClass && !info.IsComponentRef()) {
                auto* mine = qobject_cast<TPersistent*>(GetObjectProp(Instance, info));
                auto* theirs = qobject_cast<TPersistent*>(GetObjectProp(fresh.get(), info));
                if (mine && theirs)
                    mine->Assign(theirs);
            } else if (info.Prop.isWritable()) {
                info.Prop.write(Instance, info.Prop.read(fresh.get()));
            }
        } catch (const Exception&) {
            // What cannot be reset is read over from the stream anyway when it was stored.
        }
    }
}

// A step whose before and after are whole states of the form and its unit: creating, deleting,
// pasting, renaming, reordering and what editors change.
class TKvStateCommand : public QUndoCommand
{
public:
    TKvStateCommand(TKvFormDesigner* Designer, const QString& Text, TKvFormDesigner::TState Before,
                    TKvFormDesigner::TState After)
        : QUndoCommand(Text), FDesigner(Designer), FBefore(std::move(Before)), FAfter(std::move(After))
    {
    }
    void undo() override { FDesigner->RestoreState(FBefore); }
    void redo() override
    {
        if (std::exchange(FFirst, false))
            FDesigner->Applied(&FAfter); // it was made before it was pushed
        else
            FDesigner->RestoreState(FAfter);
    }

private:
    TKvFormDesigner* FDesigner;
    TKvFormDesigner::TState FBefore;
    TKvFormDesigner::TState FAfter;
    bool FFirst = true;
};

// Property values of components named by name: moving and resizing, cheap to do and undo.
class TKvPropertyCommand : public QUndoCommand
{
public:
    struct TEntry
    {
        QString Component;
        QByteArray Property;
        QVariant Old;
        QVariant New;
    };

    TKvPropertyCommand(TKvFormDesigner* Designer, const QString& Text, QList<TEntry> Entries)
        : QUndoCommand(Text), FDesigner(Designer), FEntries(std::move(Entries))
    {
    }
    void undo() override { Apply(false); }
    void redo() override { Apply(true); }

private:
    TKvFormDesigner* FDesigner;
    QList<TEntry> FEntries;

    void Apply(bool Forward)
    {
        TComponent* root = FDesigner->GetRoot();
        for (const TEntry& e : std::as_const(FEntries))
            if (TComponent* c = ByName(root, e.Component))
                SetValue(c, e.Property, Forward ? e.New : e.Old);
        FDesigner->Applied(nullptr);
    }
};

} // namespace

// ---------------------------------------------------------------------------------------------
// TKvFormDesigner

TKvFormDesigner::TKvFormDesigner(TKvFormEditor* Editor) : FEditor(Editor), FStack(std::make_unique<QUndoStack>())
{
    // After the stack moved, so that whoever hears it sees the new clean state.
    QObject::connect(FStack.get(), &QUndoStack::indexChanged, FStack.get(),
                     [this] { emit DesignNotifier()->ItemsModified(this); });
}

TKvFormDesigner::~TKvFormDesigner()
{
    // Clearing the dying stack is no change anyone must hear of.
    QObject::disconnect(FStack.get(), nullptr, nullptr, nullptr);
}

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

template <class F>
QString TKvFormDesigner::UnitEdit(F Edit) const
{
    // A form opened without its unit has no source to keep in step.
    if (!FEditor->UnitModule()->HasUnitFile())
        return UnitEditor()->Text();
    try {
        return Edit(UnitEditor()->Text(), FormClassName());
    } catch (const EUnitSourceError& E) {
        throw EUnitSourceError(QStringLiteral("%1: %2").arg(UnitEditor()->FileName(), E.Message));
    }
}

// ---------------------------------------------------------------------------------------------
// History

TKvFormDesigner::TState TKvFormDesigner::CaptureState()
{
    return {FEditor->WriteStream(), UnitEditor()->Text()};
}

void TKvFormDesigner::MarkClean(bool Forget)
{
    if (Forget) {
        FStack->clear();
        FBaseline = CaptureState();
        FBaselineValid = true;
    }
    FStack->setClean();
    FDirty = false;
}

bool TKvFormDesigner::IsModified() const
{
    return FDirty || !FStack->isClean() || FChangeTouched;
}

void TKvFormDesigner::ScheduleBaseline()
{
    if (FRefreshScheduled)
        return;
    FRefreshScheduled = true;
    QTimer::singleShot(0, FStack.get(), [this] {
        FRefreshScheduled = false;
        if (!FBaselineValid && FChangeDepth == 0) {
            FBaseline = CaptureState();
            FBaselineValid = true;
        }
    });
}

void TKvFormDesigner::Applied(const TState* State)
{
    if (State) {
        FBaseline = *State;
        FBaselineValid = true;
    } else {
        FBaselineValid = false;
        ScheduleBaseline();
    }
}

void TKvFormDesigner::Push(const QString& Text, const TState& Before, const TState& After)
{
    FStack->push(new TKvStateCommand(this, Text, Before, After));
}

void TKvFormDesigner::Modified()
{
    if (FApplying)
        return;
    if (FChangeDepth > 0) {
        FChangeTouched = true; // told once, when the step ends
        return;
    }
    // An editor changed the form on its own: what changed since the last command is one step.
    if (FBaselineValid) {
        const TState before = FBaseline;
        const TState after = CaptureState();
        if (after == before)
            return;
        Push(QStringLiteral("Change"), before, after);
    } else {
        FDirty = true;
        FBaseline = CaptureState();
        FBaselineValid = true;
        emit DesignNotifier()->ItemsModified(this);
    }
}

void TKvFormDesigner::BeginChange(const QString& Text)
{
    if (FChangeDepth++ > 0)
        return;
    FChangeText = Text;
    FChangeTouched = false;
    if (!FBaselineValid) {
        FBaseline = CaptureState();
        FBaselineValid = true;
    }
    FChangeBefore = FBaseline;
}

void TKvFormDesigner::EndChange()
{
    if (FChangeDepth == 0 || --FChangeDepth > 0)
        return;
    try {
        TState after = CaptureState();
        if (!(after == FChangeBefore))
            Push(FChangeText, FChangeBefore, after);
    } catch (const Exception&) {
        // The form cannot be written: the change stays, but cannot be undone.
        FDirty = true;
        FBaselineValid = false;
        emit DesignNotifier()->ItemsModified(this);
    }
    FChangeBefore = {};
    FChangeTouched = false;
}

void TKvFormDesigner::RestoreState(const TState& State)
{
    TComponent* root = GetRoot();
    QStringList selected;
    for (TPersistent* p : GetSelections())
        selected << NameIn(root, p);
    FApplying = true;
    try {
        FSelection.clear();
        TKvHostServices* host = FEditor->UnitModule()->Host();
        host->DetachReferencesTo(root);
        while (root->ComponentCount() > 0) {
            TComponent* c = root->Components(root->ComponentCount() - 1);
            emit DesignNotifier()->ItemDeleted(this, c);
            delete c;
        }
        ResetProperties(root);
        TReader reader(State.Form);
        reader.KeepAsWritten = true; // placeholders and the order properties were written in come back too
        if (const TStreamRecord* rec = root->StreamRecord()) {
            reader.CodePage = rec->CodePage;
            reader.AnsiStrings = rec->AnsiStrings;
        }
        reader.ReadRootComponent(root);
        root->SetDesigning(true);
        FEditor->SetPending(reader.UnresolvedReferences());
        UnitEditor()->SetText(State.Unit);
        host->ResolvePendingReferences();
    } catch (...) {
        FApplying = false;
        throw;
    }
    FApplying = false;
    TDesignerSelectionList selection;
    for (const QString& name : std::as_const(selected))
        if (TComponent* c = ByName(root, name))
            selection << c;
    SetSelections(selection.isEmpty() ? TDesignerSelectionList{root} : selection);
    Applied(&State);
}

// ---------------------------------------------------------------------------------------------
// Changes

void TKvFormDesigner::SetProperties(const QString& Text, const QList<TPropertyChange>& Changes)
{
    TComponent* root = GetRoot();
    QList<TKvPropertyCommand::TEntry> entries;
    for (const TPropertyChange& change : Changes) {
        auto* c = qobject_cast<TComponent*>(change.Instance);
        if (!c || (c != root && c->Owner() != root))
            throw EInvalidOperation(QStringLiteral("%1 is not a component of %2")
                                        .arg(c ? c->GetName() : QStringLiteral("The object"), root->GetName()));
        const QByteArray prop = change.Name.toLatin1();
        const QVariant old = ValueOf(c, prop);
        if (!old.isValid())
            throw EPropertyError(QStringLiteral("%1 has no property %2").arg(c->GetName(), change.Name));
        if (old != change.Value)
            entries.append({NameIn(root, c), prop, old, change.Value});
    }
    if (entries.isEmpty())
        return;
    if (FChangeDepth > 0) { // part of a larger step
        for (const TKvPropertyCommand::TEntry& e : std::as_const(entries))
            SetValue(ByName(root, e.Component), e.Property, e.New);
        FChangeTouched = true;
        return;
    }
    FStack->push(new TKvPropertyCommand(this, Text, std::move(entries)));
}

void TKvFormDesigner::RenameComponent(TComponent* Component, const QString& NewName)
{
    TComponent* root = GetRoot();
    const QString oldName = Component->GetName();
    if (oldName == NewName)
        return;
    if (!TComponent::IsValidIdent(NewName))
        throw EComponentError(QStringLiteral("'%1' is not a valid component name").arg(NewName));
    if (Component == root) {
        TDesignerChange change(this, QStringLiteral("Rename %1").arg(oldName));
        Component->SetName(NewName);
        Modified();
        return;
    }
    if (TComponent* other = root->FindComponent(NewName); other && other != Component)
        throw EComponentError(QStringLiteral("A component named %1 already exists").arg(NewName));

    // Handlers named after the component and one of its events follow it.
    QHash<QString, QString> handlers; // case-folded old method name -> new name
    QStringList handlerOrder;
    for (const TPropInfo& info : GetPropList(Component->metaObject())) {
        if (info.Kind != TTypeKind::tkMethod || !info.Name.startsWith(u"On"))
            continue;
        const QString method = info.Prop.read(Component).value<TMethod>().Name;
        const QString suffix = info.Name.mid(2);
        if (method.compare(oldName + suffix, Qt::CaseInsensitive) == 0 && !handlers.contains(method.toCaseFolded())) {
            handlers.insert(method.toCaseFolded(), NewName + suffix);
            handlerOrder << method;
        }
    }
    const QString unit = UnitEdit([&](QString Text, const QString& Class) {
        Text = KvUnitSource::RenameField(Text, Class, oldName, NewName);
        for (const QString& method : std::as_const(handlerOrder))
            Text = KvUnitSource::RenameMethod(Text, Class, method, handlers.value(method.toCaseFolded()));
        return Text;
    });

    TDesignerChange change(this, QStringLiteral("Rename %1").arg(oldName));
    Component->SetName(NewName);
    if (!handlers.isEmpty()) {
        auto rebind = [&](TComponent* c) {
            for (const TPropInfo& info : GetPropList(c->metaObject())) {
                if (info.Kind != TTypeKind::tkMethod || !info.Prop.isWritable())
                    continue;
                const TMethod m = info.Prop.read(c).value<TMethod>();
                if (const auto it = handlers.constFind(m.Name.toCaseFolded()); it != handlers.cend())
                    info.Prop.write(c, QVariant::fromValue(TMethod{*it}));
            }
        };
        rebind(root);
        for (int i = 0; i < root->ComponentCount(); ++i)
            rebind(root->Components(i));
    }
    UnitEditor()->SetText(unit);
    Modified();
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
    const TEventType type = EventTypes().value(EventType.toCaseFolded(), {QStringLiteral("Sender: TObject"), QString()});
    const QString unit = UnitEdit([&](const QString& Text, const QString& Class) {
        return KvUnitSource::AddMethod(Text, Class, Name, type.Params, type.ResultType);
    });
    TDesignerChange change(this, QStringLiteral("Create %1").arg(Name));
    UnitEditor()->SetText(unit);
    Modified();
    return TMethod{Name};
}

QString TKvFormDesigner::GetMethodName(const TMethod& Method) const
{
    return Method.Name;
}

bool TKvFormDesigner::MethodExists(const QString& Name) const
{
    return KvUnitSource::MethodExists(UnitEditor()->Text(), FormClassName(), Name);
}

QStringList TKvFormDesigner::GetMethods(const QString& EventType) const
{
    const TEventType Type = EventTypes().value(EventType.toCaseFolded(), {QStringLiteral("Sender: TObject"), QString()});
    return KvUnitSource::MatchingMethods(UnitEditor()->Text(), FormClassName(), Type.Params, Type.ResultType);
}

void TKvFormDesigner::ShowMethod(const QString& Name)
{
    FShownMethod = Name;
    FShownUnitFile = UnitEditor()->FileName();
    emit DesignNotifier()->MethodShown(this, Name);
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
    emit DesignNotifier()->SelectionChanged(this, GetSelections());
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
    const QString className = QString::fromLatin1(AClass->className());
    const QString name = UniqueName(className);
    const QString unit = UnitEdit([&](const QString& Text, const QString& Class) {
        return KvUnitSource::AddField(Text, Class, name, className);
    });
    // The step starts before the component joins the form, so that what it undoes to lacks it.
    std::optional<TDesignerChange> change(std::in_place, this, QStringLiteral("Create %1").arg(name));
    std::unique_ptr<TComponent> created(::CreateComponent(AClass, root));
    created->SetName(name);
    if (parent)
        static_cast<TControl*>(created.get())->SetParent(parent);
    const std::pair<const char*, int> bounds[] = {{"Left", Left}, {"Top", Top}, {"Width", Width}, {"Height", Height}};
    for (const auto& [prop, value] : bounds)
        if (value != -1) {
            if (IsDesignPlace(created.get(), prop))
                SetValue(created.get(), prop, value);
            else if (const TPropInfo* info = GetPropInfo(AClass, QString::fromLatin1(prop)); info && info->Kind == TTypeKind::tkInteger)
                SetOrdProp(created.get(), *info, value);
        }
    created->SetDesigning(true);
    TComponent* component = created.release();
    UnitEditor()->SetText(unit);
    Modified();
    change.reset(); // the step is told before the selection moves to it
    SelectComponent(component);
    return component;
}

void TKvFormDesigner::DeleteSelection()
{
    QList<TComponent*> chosen;
    for (TPersistent* p : GetSelections())
        if (auto* c = qobject_cast<TComponent*>(p))
            chosen << c;
    DeleteComponents(chosen);
    SelectComponent(GetRoot());
}

void TKvFormDesigner::DeleteComponents(const QList<TComponent*>& Components)
{
    TComponent* root = GetRoot();
    QList<TComponent*> doomed; // holders before what they hold
    std::function<void(TComponent*)> add = [&](TComponent* c) {
        if (!c || c == root || c->Owner() != root || doomed.contains(c))
            return;
        doomed << c;
        c->GetChildren(add, root); // controls of a container, items of a menu
    };
    for (TComponent* c : Components)
        add(c);
    if (doomed.isEmpty())
        return;
    const QString unit = UnitEdit([&](QString Text, const QString& Class) {
        for (const TComponent* c : std::as_const(doomed))
            Text = KvUnitSource::RemoveField(Text, Class, c->GetName());
        return Text;
    });
    QList<TComponent*> chosen;
    for (TComponent* c : Components)
        if (doomed.contains(c) && !chosen.contains(c))
            chosen << c;
    TDesignerChange change(this, DisplayName(chosen, QStringLiteral("Delete")));
    for (TComponent* c : std::as_const(doomed))
        FSelection.removeAll(c);
    for (qsizetype i = doomed.size() - 1; i >= 0; --i) {
        TComponent* c = doomed.at(i);
        emit DesignNotifier()->ItemDeleted(this, c);
        delete c;
    }
    UnitEditor()->SetText(unit);
    Modified();
}

TDesignerSelectionList TKvFormDesigner::Paste(TComponent* Parent)
{
    TComponent* root = GetRoot();
    QSet<TComponent*> before;
    for (int i = 0; i < root->ComponentCount(); ++i)
        before.insert(root->Components(i));
    std::optional<TDesignerChange> change(std::in_place, this, QStringLiteral("Paste"));
    TDesignerSelectionList pasted;
    PasteComponents(root, Parent, pasted, this);
    QList<TComponent*> added;
    for (int i = 0; i < root->ComponentCount(); ++i)
        if (!before.contains(root->Components(i)))
            added << root->Components(i);
    try {
        const QString unit = UnitEdit([&](QString Text, const QString& Class) {
            for (const TComponent* c : std::as_const(added))
                Text = KvUnitSource::AddField(Text, Class, c->GetName(), c->ClassName());
            return Text;
        });
        UnitEditor()->SetText(unit);
    } catch (...) {
        for (qsizetype i = added.size() - 1; i >= 0; --i)
            delete added.at(i);
        throw;
    }
    change.reset(); // told before the selection moves to the copies
    if (!pasted.isEmpty())
        SetSelections(pasted);
    return pasted;
}

namespace {

// Re-appends the controls in Order to their parent, keeping the windowed ones' tab order.
void Reparent(TWinControl* Parent, const QList<TControl*>& Order)
{
    QList<QPair<TWinControl*, int>> tabs;
    for (int i = 0; i < Parent->ControlCount(); ++i)
        if (auto* w = qobject_cast<TWinControl*>(Parent->Controls(i)))
            tabs.append({w, w->GetTabOrder()});
    for (TControl* c : Order) {
        c->SetParent(nullptr);
        c->SetParent(Parent);
    }
    std::sort(tabs.begin(), tabs.end(), [](const auto& A, const auto& B) { return A.second < B.second; });
    for (const auto& [w, tab] : std::as_const(tabs))
        w->SetTabOrder(tab);
    // The order the children were read in no longer holds: they are written as they stand now.
    if (TStreamRecord* rec = Parent->StreamRecord())
        rec->Children.clear();
}

QList<TControl*> SelectedControls(const TDesignerSelectionList& Selection, const TComponent* Root)
{
    QList<TControl*> list;
    for (TPersistent* p : Selection)
        if (auto* c = qobject_cast<TControl*>(p); c && c != Root && c->Parent())
            list << c;
    return list;
}

} // namespace

void TKvFormDesigner::BringToFront()
{
    const QList<TControl*> controls = SelectedControls(GetSelections(), GetRoot());
    if (controls.isEmpty())
        return;
    TDesignerChange change(this, QStringLiteral("Bring to Front"));
    for (TControl* c : controls)
        Reparent(c->Parent(), {c});
    Modified();
}

void TKvFormDesigner::SendToBack()
{
    const QList<TControl*> controls = SelectedControls(GetSelections(), GetRoot());
    if (controls.isEmpty())
        return;
    TDesignerChange change(this, QStringLiteral("Send to Back"));
    for (TControl* c : controls) {
        TWinControl* parent = c->Parent();
        QList<TControl*> others;
        for (int i = 0; i < parent->ControlCount(); ++i)
            if (parent->Controls(i) != c)
                others << parent->Controls(i);
        Reparent(parent, others);
    }
    Modified();
}

void TKvFormDesigner::AlignToGrid(int Grid)
{
    if (Grid <= 0)
        return;
    QList<TPropertyChange> changes;
    const QList<TControl*> controls = SelectedControls(GetSelections(), GetRoot());
    for (TControl* c : controls) {
        changes.append({c, QStringLiteral("Left"), qRound(double(c->GetLeft()) / Grid) * Grid});
        changes.append({c, QStringLiteral("Top"), qRound(double(c->GetTop()) / Grid) * Grid});
    }
    QList<TComponent*> named(controls.cbegin(), controls.cend());
    if (!named.isEmpty())
        SetProperties(DisplayName(named, QStringLiteral("Align")), changes);
}

void TKvFormDesigner::SetTabOrder(TComponent* Container, const QStringList& Names)
{
    auto* parent = qobject_cast<TWinControl*>(Container);
    if (!parent)
        return;
    TDesignerChange change(this, QStringLiteral("Tab Order"));
    int order = 0;
    for (const QString& name : Names)
        if (auto* w = qobject_cast<TWinControl*>(ByName(GetRoot(), name)); w && w->Parent() == parent)
            w->SetTabOrder(order++);
    Modified();
}

void TKvFormDesigner::SetCreationOrder(const QStringList& Names)
{
    TDesignerChange change(this, QStringLiteral("Creation Order"));
    int index = 0;
    for (const QString& name : Names)
        if (TComponent* c = GetRoot()->FindComponent(name))
            c->SetComponentIndex(index++);
    // The form's own components are written in the order they are created now.
    if (TStreamRecord* rec = GetRoot()->StreamRecord())
        rec->Children.clear();
    Modified();
}

QStringList TKvFormDesigner::TabOrderNames(TComponent* Container) const
{
    auto* parent = qobject_cast<TWinControl*>(Container);
    QList<TWinControl*> controls;
    for (int i = 0; parent && i < parent->ControlCount(); ++i)
        if (auto* w = qobject_cast<TWinControl*>(parent->Controls(i)))
            controls << w;
    std::stable_sort(controls.begin(), controls.end(),
                     [](TWinControl* A, TWinControl* B) { return A->GetTabOrder() < B->GetTabOrder(); });
    QStringList names;
    for (TWinControl* w : controls)
        names << w->GetName();
    return names;
}

QStringList TKvFormDesigner::CreationOrderNames() const
{
    QStringList names;
    for (int i = 0; i < GetRoot()->ComponentCount(); ++i)
        names << GetRoot()->Components(i)->GetName();
    return names;
}

TComponent* TKvFormDesigner::TabOrderContainer() const
{
    const TDesignerSelectionList selection = GetSelections();
    auto* control = selection.size() == 1 ? qobject_cast<TControl*>(selection.first()) : nullptr;
    if (!control)
        return GetRoot();
    if (!TabOrderNames(control).isEmpty())
        return control;
    return control->Parent() ? static_cast<TComponent*>(control->Parent()) : GetRoot();
}

// ---------------------------------------------------------------------------------------------
// The form as text

QString TKvFormDesigner::FormText()
{
    return QString::fromUtf8(ObjectBinaryToText(FEditor->WriteStream(), TLineBreak::LF));
}

namespace {

// What of the form nobody could read, by component: its class when it is a placeholder, and its
// kept properties. The form file may carry such things; typed text may not add any.
QHash<QString, QStringList> Unreadable(TComponent* Root)
{
    QHash<QString, QStringList> found;
    auto add = [&found](TComponent* C, const QString& Name) {
        QStringList what;
        if (IsPlaceholder(C))
            what << QStringLiteral("class ") + C->ClassName();
        for (const auto& [prop, value] : KeptProperties(C))
            what << prop;
        if (!what.isEmpty())
            found.insert(Name, what);
    };
    add(Root, QString());
    for (int i = 0; i < Root->ComponentCount(); ++i)
        add(Root->Components(i), Root->Components(i)->GetName().toCaseFolded());
    return found;
}

// The line and column in form text of a component's header, or of one of its own properties
// (which come before its children).
std::pair<int, int> PlaceInText(const QString& Text, const QString& Component, const QString& Property)
{
    const QStringList lines = Text.split(u'\n');
    static const QRegularExpression anyHeader(QStringLiteral("^\\s*(object|inherited|inline)\\s"));
    const QRegularExpression header(QStringLiteral("^\\s*(object|inherited|inline)\\s+%1\\s*:")
                                        .arg(QRegularExpression::escape(Component)),
                                    QRegularExpression::CaseInsensitiveOption);
    const QRegularExpression prop(QStringLiteral("^\\s*%1\\s*=").arg(QRegularExpression::escape(Property)),
                                  QRegularExpression::CaseInsensitiveOption);
    auto column = [](const QString& Line) {
        qsizetype i = 0;
        while (i < Line.size() && Line.at(i).isSpace())
            ++i;
        return int(i) + 1;
    };
    int start = 0;
    while (start < lines.size() && !header.match(lines.at(start)).hasMatch())
        ++start;
    if (start == lines.size())
        return {1, 1};
    if (Property.isEmpty())
        return {start + 1, column(lines.at(start))};
    for (int i = start + 1; i < lines.size() && !anyHeader.match(lines.at(i)).hasMatch(); ++i)
        if (prop.match(lines.at(i)).hasMatch())
            return {i + 1, column(lines.at(i))};
    return {start + 1, column(lines.at(start))};
}

} // namespace

void TKvFormDesigner::ApplyFormText(const QString& Text)
{
    // Marked as Unicode, so that what is typed outside ASCII stays what it is.
    const QByteArray binary = ObjectTextToBinary(QByteArray("\xEF\xBB\xBF") + Text.toUtf8());
    TComponent* root = GetRoot();
    KvFormBinary::TBinaryReader header(binary);
    header.ReadSignature();
    const KvFormBinary::TObjectHeader h = header.ReadHeader();
    if (QString::fromUtf8(h.ObjectName).compare(root->GetName(), Qt::CaseInsensitive) != 0
        || QString::fromUtf8(h.ClassName).compare(FormClassName(), Qt::CaseInsensitive) != 0)
        throw EInvalidOperation(QStringLiteral("Line 1: the form stays %1: %2; its name and class change in the "
                                               "inspector and the unit")
                                    .arg(root->GetName(), FormClassName()));

    auto classes = [root] {
        QHash<QString, QString> byName; // case-folded name -> name and class
        for (int i = 0; i < root->ComponentCount(); ++i) {
            TComponent* c = root->Components(i);
            byName.insert(c->GetName().toCaseFolded(), c->GetName() + u':' + c->ClassName());
        }
        return byName;
    };
    const TState before = CaptureState();
    const QHash<QString, QString> was = classes();
    const QHash<QString, QStringList> unreadable = Unreadable(root);
    try {
        RestoreState({binary, before.Unit});
        // A typo must not become a kept property or a placeholder: it is refused where it is.
        const QHash<QString, QStringList> nowUnreadable = Unreadable(root);
        for (auto it = nowUnreadable.cbegin(); it != nowUnreadable.cend(); ++it)
            for (const QString& what : it.value()) {
                if (unreadable.value(it.key()).contains(what, Qt::CaseInsensitive))
                    continue;
                TComponent* c = ByName(root, it.key());
                const bool isClass = what.startsWith(u"class ");
                const auto [line, column] = PlaceInText(Text, c->GetName(), isClass ? QString() : what);
                throw EParserError(isClass ? QStringLiteral("Class %1 is not registered").arg(c->ClassName())
                                           : QStringLiteral("%1 of %2 is not a property of %3 or its value does not fit")
                                                 .arg(what, c->GetName(), c->ClassName()),
                                   line, column);
            }
        const QHash<QString, QString> now = classes();
        const QString unit = UnitEdit([&](QString Unit, const QString& Class) {
            for (auto it = was.cbegin(); it != was.cend(); ++it)
                if (now.value(it.key()) != it.value())
                    Unit = KvUnitSource::RemoveField(Unit, Class, it.value().section(u':', 0, 0));
            for (auto it = now.cbegin(); it != now.cend(); ++it)
                if (was.value(it.key()) != it.value())
                    Unit = KvUnitSource::AddField(Unit, Class, it.value().section(u':', 0, 0),
                                                  it.value().section(u':', 1));
            return Unit;
        });
        UnitEditor()->SetText(unit);
    } catch (...) {
        RestoreState(before);
        throw;
    }
    const TState after = CaptureState();
    if (after == before)
        return;
    Push(QStringLiteral("Edit as Text"), before, after);
}
