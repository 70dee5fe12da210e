#include "KvHostServices.h"

#include "Controls.h"
#include "DesignNotify.h"
#include "KvUnitSource.h"
#include "Filer.h"
#include "FormBinary.h"
#include "FormTextPlace.h"
#include "KvFormDesigner.h"
#include "KvRuntimeClasses.h"
#include "SysUtils.h"
#include "TypInfo.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

// The host the form reader asks for other forms' roots.
TKvHostServices* InstalledHost = nullptr;

using TReferenceProc = std::function<void(QObject* Instance, const TPropInfo& Info)>;

// Every writable component reference of Instance, its sub-objects and their collection items.
void ForEachReferenceIn(QObject* Instance, const TReferenceProc& Proc, int Depth = 0)
{
    for (const TPropInfo& info : GetPropList(Instance->metaObject())) {
        if (info.Kind != TTypeKind::tkClass)
            continue;
        if (info.IsComponentRef()) {
            if (info.Prop.isWritable())
                Proc(Instance, info);
            continue;
        }
        QObject* sub = GetObjectProp(Instance, info);
        if (!sub || Depth > 16)
            continue;
        if (auto* collection = qobject_cast<TCollection*>(sub)) {
            for (int i = 0; i < collection->Count(); ++i)
                ForEachReferenceIn(collection->Items(i), Proc, Depth + 1);
        } else {
            ForEachReferenceIn(sub, Proc, Depth + 1);
        }
    }
}

void ForEachComponent(TComponent* Component, const std::function<void(TComponent*)>& Proc)
{
    Proc(Component);
    for (int i = 0; i < Component->ComponentCount(); ++i)
        ForEachComponent(Component->Components(i), Proc);
}

bool IsWithin(const TComponent* Component, const TComponent* Root)
{
    for (; Component; Component = Component->Owner())
        if (Component == Root)
            return true;
    return false;
}

// The object named by a path the reader reports ("Form1.Grid1.Columns[2]"), or none.
QObject* ObjectAtPath(TComponent* Root, const QStringList& Path)
{
    if (Path.isEmpty() || (Path.first().compare(Root->GetName(), Qt::CaseInsensitive) != 0
                           && Path.first().compare(Root->ClassName(), Qt::CaseInsensitive) != 0))
        return nullptr;
    QObject* current = Root;
    for (qsizetype i = 1; current && i < Path.size(); ++i) {
        QString part = Path.at(i);
        int index = -1;
        if (part.endsWith(u']') && part.contains(u'[')) {
            const qsizetype open = part.indexOf(u'[');
            index = part.mid(open + 1, part.size() - open - 2).toInt();
            part.truncate(open);
        }
        auto* component = qobject_cast<TComponent*>(current);
        if (index < 0 && component && component->FindComponent(part)) {
            current = component->FindComponent(part);
            continue;
        }
        const TPropInfo* info = GetPropInfo(current->metaObject(), part);
        current = info && info->Kind == TTypeKind::tkClass && !info->IsComponentRef() ? GetObjectProp(current, *info)
                                                                                       : nullptr;
        if (index >= 0) {
            auto* collection = qobject_cast<TCollection*>(current);
            current = collection && index < collection->Count() ? collection->Items(index) : nullptr;
        }
    }
    return current;
}

QString DfmFileOf(const QString& UnitFile)
{
    const QFileInfo unit(UnitFile);
    return ResolveFileCase(unit.dir().filePath(unit.completeBaseName() + QStringLiteral(".dfm")));
}

QString PasFileOf(const QString& FileName)
{
    if (!FileName.endsWith(u".dfm", Qt::CaseInsensitive))
        return ResolveFileCase(FileName);
    const QFileInfo form(FileName);
    return ResolveFileCase(form.dir().filePath(form.completeBaseName() + QStringLiteral(".pas")));
}

bool SameFile(const QString& A, const QString& B)
{
    return A.compare(B, Qt::CaseInsensitive) == 0;
}

// Errors from the form streams, told with the file they came from. Text is the form text whose
// binary form was being read, when an offset in it is a place of that text.
template <class F>
auto InFormFile(const QString& FileName, bool FromText, F Read, const QByteArray& Text = {})
{
    try {
        return Read();
    } catch (EParserError& e) {
        e.Message = QStringLiteral("%1:%2:%3: %4").arg(FileName).arg(e.Line).arg(e.Column).arg(e.Reason);
        throw;
    } catch (EReadError& e) {
        // Offsets into a stream converted from text mean nothing to the reader of the text: its
        // line and column do.
        const TFormTextPlace place = FromText && e.Offset >= 0 && !Text.isEmpty() ? FormTextPlace(Text, e.Offset)
                                                                                  : TFormTextPlace{};
        if (place.Line > 0)
            e.Message = QStringLiteral("%1:%2:%3: %4").arg(FileName).arg(place.Line).arg(place.Column).arg(e.Reason);
        else
            e.Message = QStringLiteral("%1: %2").arg(FileName, FromText ? e.Reason : e.Message);
        throw;
    } catch (Exception& e) {
        e.Message = QStringLiteral("%1: %2").arg(FileName, e.Message);
        throw;
    }
}

// The kind of root a form is when its unit does not tell: what its own properties show (a frame
// has a tab order, a data module none of a window's properties), else a form. An inherited form
// without its ancestor shows too little: a form.
const QMetaObject* RootClassOfStream(const QByteArray& Binary)
{
    try {
        KvFormBinary::TBinaryReader r(Binary);
        r.ReadSignature();
        const KvFormBinary::TObjectHeader h = r.ReadHeader();
        static const char* const windowOnly[] = {"Caption",     "ClientHeight", "ClientWidth", "Color",
                                                 "TextHeight",  "Position",     "BorderStyle", "BorderIcons",
                                                 "FormStyle",   "Menu",         "KeyPreview",  "WindowState"};
        bool window = false;
        while (!r.EndOfList()) {
            const QByteArrayView name = r.ReadStr();
            if (name == "TabOrder")
                return &TFrame::staticMetaObject;
            window = window || name.startsWith("Font.")
                || std::any_of(std::begin(windowOnly), std::end(windowOnly), [&](const char* w) { return name == w; });
            r.SkipValue();
        }
        if (!window && !(h.Flags & KvFormBinary::ffInherited))
            return &TDataModule::staticMetaObject;
    } catch (const Exception&) {
        // The reader reports what is wrong with the stream, with its place.
    }
    return &TForm::staticMetaObject;
}

QByteArray ResourceWrapped(const QByteArray& Binary)
{
    KvFormBinary::TBinaryReader r(Binary);
    r.ReadSignature();
    const QByteArray className = r.ReadHeader().ClassName;
    return KvFormBinary::TBinaryWriter::ResourceHeader(className.toUpper(), quint32(Binary.size())) + Binary;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TKvFormEditor

TKvFormEditor::TKvFormEditor(TKvUnitModule* Module, TComponent* Root)
    : FModule(Module), FRoot(Root), FDesigner(std::make_unique<TKvFormDesigner>(this))
{
}

TKvFormEditor::~TKvFormEditor()
{
    FDesigner.reset();
    delete FRoot;
}

QString TKvFormEditor::FileName() const
{
    return FModule->FormFileName();
}

IOTAModule* TKvFormEditor::Module() const
{
    return FModule;
}

IDesigner* TKvFormEditor::GetDesigner() const
{
    return FDesigner.get();
}

bool TKvFormEditor::IsModified() const
{
    return FDesigner->IsModified();
}

void TKvFormEditor::SetPending(const QStringList& Unresolved)
{
    FPending.clear();
    for (const QString& entry : Unresolved) {
        // "Form1.Label1.FocusControl -> Form2.Edit1"; a name without a form named nothing.
        const QString where = entry.section(QStringLiteral(" -> "), 0, 0);
        const QString target = entry.section(QStringLiteral(" -> "), 1);
        if (!target.contains(u'.'))
            continue;
        QStringList path = where.split(u'.');
        const QString prop = path.takeLast();
        if (QObject* instance = ObjectAtPath(FRoot, path))
            if (const TPropInfo* info = GetPropInfo(instance->metaObject(), prop))
                FPending.append({instance, info, target});
    }
}

QStringList TKvFormEditor::PendingReferences() const
{
    QStringList list;
    for (const TPendingReference& p : FPending)
        if (p.Instance)
            list << p.Target;
    return list;
}

QByteArray TKvFormEditor::WriteStream()
{
    // Pending references are written through stand-ins named like their targets, so that saving
    // a form never drops a reference to a form that is not open.
    struct TStandIn
    {
        QPointer<QObject> Instance;
        const TPropInfo* Info;
        std::unique_ptr<TComponent> Owner;
    };
    std::vector<TStandIn> standIns;
    auto restore = [&standIns] {
        for (TStandIn& s : standIns) {
            try {
                if (s.Instance)
                    SetObjectProp(s.Instance, *s.Info, nullptr);
            } catch (const Exception&) {
            }
        }
        standIns.clear();
    };
    try {
        for (const TPendingReference& p : std::as_const(FPending)) {
            const QStringList parts = p.Target.split(u'.');
            if (!p.Instance || parts.size() != 2)
                continue;
            try {
                auto owner = std::make_unique<TComponent>();
                owner->SetName(parts.at(0));
                TComponent* ref = CreateComponent(p.Info->ClassType, owner.get());
                ref->SetName(parts.at(1));
                SetObjectProp(p.Instance, *p.Info, ref);
                standIns.push_back({p.Instance, p.Info, std::move(owner)});
            } catch (const Exception&) {
                // A class that cannot stand in: the reference is not written.
            }
        }
        QByteArray stream = WriteComponentStream(FRoot);
        restore();
        return stream;
    } catch (...) {
        restore();
        throw;
    }
}

// ---------------------------------------------------------------------------------------------
// TKvUnitModule

TKvUnitModule::TKvUnitModule(TKvHostServices* Host, const QString& FileName)
    : FHost(Host), FSource(std::make_unique<TKvSourceEditor>(this, FileName))
{
    // A form file may come on its own (sent by mail, its unit kept elsewhere).
    FHasUnit = QFileInfo::exists(FileName) || !HasFormFile();
    if (FHasUnit)
        FSource->LoadFromFile();
}

TKvUnitModule::~TKvUnitModule()
{
    CloseForm();
}

QString TKvUnitModule::FileName() const
{
    return FSource->FileName();
}

QString TKvUnitModule::FormFileName() const
{
    return DfmFileOf(FileName());
}

bool TKvUnitModule::HasFormFile() const
{
    return QFileInfo::exists(FormFileName());
}

int TKvUnitModule::GetModuleFileCount() const
{
    return (FForm || FFormText) ? 2 : 1;
}

IOTAEditor* TKvUnitModule::GetModuleFileEditor(int Index) const
{
    if (Index == 0)
        return FSource.get();
    if (Index == 1 && FForm)
        return FForm.get();
    if (Index == 1 && FFormText)
        return FFormText.get();
    throw EListError(QStringLiteral("Module file index out of bounds (%1)").arg(Index));
}

bool TKvUnitModule::CloseModule(bool ForceClosed)
{
    return FHost->CloseUnit(this, ForceClosed); // destroys this module when it closes
}

bool TKvUnitModule::IsModified() const
{
    return FSource->IsModified() || (FForm && FForm->IsModified()) || (FFormText && FFormText->IsModified());
}

QByteArray TKvUnitModule::ReadFormFile()
{
    if (!HasFormFile())
        throw EFilerError(QStringLiteral("%1: the unit has no form file").arg(FileName()));
    FHost->CheckProjectPath(FormFileName());
    return ReadFileBytes(FormFileName());
}

const QMetaObject* TKvUnitModule::RootClassFor(const QString& ClassName, const TKvFormAncestry& Ancestry,
                                                const QByteArray& Binary) const
{
    QString formType;
    if (TKvProject* project = FHost->ActiveProject())
        if (TKvModuleInfo* info = project->FindModuleInfo(FileName()))
            formType = info->FormType();
    if (const QMetaObject* cls = KvFormRootClass(Ancestry, formType))
        return cls;
    // The unit being edited may declare what its file does not yet.
    const QMetaObject* cls = GetClass(KvUnitSource::FindClassAncestor(FSource->Text(), ClassName).section(u'.', -1));
    if (InheritsFrom(cls, &TComponent::staticMetaObject))
        return cls;
    RegisterControlClasses();
    return RootClassOfStream(Binary);
}

TKvFormEditor* TKvUnitModule::OpenForm()
{
    if (FForm)
        return FForm.get();
    const QString file = FormFileName();
    const QByteArray data = FFormText ? FFormText->Encoded() : ReadFormFile();
    const bool fromText = TestStreamFormat(data) != TStreamOriginalFormat::sofBinary;
    QStringList unresolved;
    TFormTextFormat textFormat;
    std::unique_ptr<TComponent> root(InFormFile(file, fromText, [&] {
        const QByteArray binary = fromText ? ObjectTextToBinary(data, &textFormat) : ObjectResourceToBinary(data);
        KvFormBinary::TBinaryReader header(binary);
        header.ReadSignature();
        const KvFormBinary::TObjectHeader h = header.ReadHeader();
        const QString name = QString::fromUtf8(h.ObjectName);
        if (FHost->FindFormRoot(name))
            throw EComponentError(QStringLiteral("A form named %1 is already open").arg(name));
        // Forms are read as their users wrote them, on top of their ancestors' forms.
        QStringList units;
        if (TKvProject* project = FHost->ActiveProject())
            for (int i = 0; i < project->GetModuleCount(); ++i)
                units << project->GetModule(i)->FileName();
        const QString className = QString::fromUtf8(h.ClassName);
        const TKvFormAncestry ancestry = KvFindFormAncestry(FileName(), className, units);
        if (!ancestry.Missing.isEmpty())
            FLoadWarning = QStringLiteral("The form of %1 was not found: %2 is shown without it").arg(ancestry.Missing, className);
        else if ((h.Flags & KvFormBinary::ffInherited) && ancestry.Forms.isEmpty() && ancestry.BaseClass.isEmpty())
            FLoadWarning = QStringLiteral("The ancestor of %1 was not found: %1 is shown without it").arg(className);
        else
            FLoadWarning.clear();
        TFormReadOptions options;
        options.CodePage = FHost->CodePage();
        options.AnsiStrings = fromText && textFormat.Style == TFormTextStyle::Legacy;
        for (const QString& ancestor : ancestry.Forms)
            options.Ancestors << InFormFile(ancestor, true, [&] { return FormFileToBinary(ReadFileBytes(ancestor)); });
        options.RootClass = RootClassFor(className, ancestry, options.Ancestors.isEmpty() ? binary : options.Ancestors.first());
        const QString dir = QFileInfo(file).absolutePath();
        options.FindFrame = [&](const QString& frameClass) {
            const QString frame = KvFindClassForm(frameClass, dir, units);
            return frame.isEmpty() ? QByteArray() : ReadFileBytes(frame);
        };
        options.Unresolved = &unresolved;
        try {
            return ReadFormAsWritten(binary, options);
        } catch (EReadError&) {
            // The offset may be a place in an ancestor's form, named then with its own place.
            std::exception_ptr error;
            const qsizetype i = FailingAncestor(options, error);
            if (i < 0)
                throw;
            const QString& ancestor = ancestry.Forms.at(i);
            const QByteArray text = ReadFileBytes(ancestor);
            try {
                InFormFile(ancestor, TestStreamFormat(text) != TStreamOriginalFormat::sofBinary,
                           [&] { std::rethrow_exception(error); }, text);
            } catch (const Exception& a) {
                throw EReadError(a.Message);
            }
            throw;
        }
    }, data));
    root->SetDesigning(true);
    root->IncludeState(csDesignInstance);
    auto editor = std::unique_ptr<TKvFormEditor>(new TKvFormEditor(this, root.release()));
    editor->SetPending(unresolved);
    editor->Designer()->MarkClean(true);
    if (FFormText) {
        if (FFormText->IsModified())
            editor->Designer()->SetModifiedOutsideHistory();
        FFormText.reset();
    } else {
        FFormFormat = fromText ? TStreamOriginalFormat::sofText : TStreamOriginalFormat::sofBinary;
        FFormTextFormat = textFormat; // saved in the style it was read in
        FFormResource = !data.isEmpty() && uchar(data.at(0)) == 0xFF;
    }
    FForm = std::move(editor);
    FHost->ResolvePendingReferences();
    return FForm.get();
}

TKvSourceEditor* TKvUnitModule::OpenFormAsText()
{
    if (FFormText)
        return FFormText.get();
    const QString file = FormFileName();
    auto editor = std::make_unique<TKvSourceEditor>(this, file);
    if (FForm && FForm->IsModified()) {
        editor->LoadFromBytes(ObjectBinaryToText(FForm->WriteStream(), TLineBreak::CRLF));
        editor->SetModified(true);
    } else {
        const QByteArray data = ReadFormFile();
        const bool binary = TestStreamFormat(data) == TStreamOriginalFormat::sofBinary;
        editor->LoadFromBytes(binary ? InFormFile(file, false, [&] { return ObjectResourceToText(data); }) : data);
        if (!FForm) {
            FFormFormat = binary ? TStreamOriginalFormat::sofBinary : TStreamOriginalFormat::sofText;
            FFormResource = !data.isEmpty() && uchar(data.at(0)) == 0xFF;
        }
    }
    CloseForm();
    FFormText = std::move(editor);
    return FFormText.get();
}

void TKvUnitModule::CloseForm()
{
    FFormText.reset();
    if (!FForm)
        return;
    FHost->DetachReferencesTo(FForm->FRoot);
    if (FHost->FActiveForm == FForm.get())
        FHost->SetActiveForm(nullptr);
    emit DesignNotifier()->DesignerClosed(FForm->Designer());
    FForm.reset();
}

void TKvUnitModule::Save()
{
    const QString file = FormFileName();
    QByteArray form;
    bool writeForm = false;
    const bool binary = FFormFormat == TStreamOriginalFormat::sofBinary;
    if (FForm && FForm->IsModified()) {
        const QByteArray stream = FForm->WriteStream();
        form = !binary ? ObjectBinaryToText(stream, FFormTextFormat) : FFormResource ? ResourceWrapped(stream) : stream;
        writeForm = true;
    } else if (FFormText && FFormText->IsModified()) {
        const QByteArray text = FFormText->Encoded();
        // A text that would not load again is not written.
        const QByteArray stream = InFormFile(file, true, [&] { return ObjectTextToBinary(text); });
        form = !binary ? text : FFormResource ? ResourceWrapped(stream) : stream;
        writeForm = true;
    }
    FHost->CheckProjectPath(file);
    FHost->CheckProjectPath(FileName());
    if (writeForm) {
        WriteFileBytes(file, form);
        if (FForm)
            FForm->Designer()->MarkClean();
        if (FFormText)
            FFormText->SetModified(false);
    }
    if (FHasUnit && FSource->IsModified())
        FSource->SaveToFile();
}

// ---------------------------------------------------------------------------------------------
// TKvProjectGroup

QString TKvProjectGroup::FileName() const
{
    const TKvProject* project = FHost->ActiveProject();
    return project ? QDir(project->ProjectDir()).filePath(QStringLiteral("ProjectGroup1.groupproj")) : QString();
}

IOTAEditor* TKvProjectGroup::GetModuleFileEditor(int Index) const
{
    throw EListError(QStringLiteral("Module file index out of bounds (%1)").arg(Index));
}

bool TKvProjectGroup::CloseModule(bool ForceClosed)
{
    return FHost->CloseProject(ForceClosed);
}

IOTAProject* TKvProjectGroup::ActiveProject() const
{
    return FHost->ActiveProject();
}

// ---------------------------------------------------------------------------------------------
// TKvHostServices

TKvHostServices::TKvHostServices()
{
    // The host loads the runtime library before any design package: its classes stream from here on.
    RegisterControlClasses();
    KvRegisterRuntimeClasses();
    BorlandIDEServices = this;
    InstalledHost = this;
    SetFindGlobalComponent([](const QString& Name) -> TComponent* {
        return InstalledHost ? InstalledHost->FindFormRoot(Name) : nullptr;
    });
}

TKvHostServices::~TKvHostServices()
{
    CloseAllUnits();
    FProject.reset();
    FProjectCodePage.reset();
    FGroup.reset();
    if (BorlandIDEServices == this)
        BorlandIDEServices = nullptr;
    if (InstalledHost == this)
        InstalledHost = nullptr;
}

IOTAModuleServices* TKvHostServices::ModuleServices() const
{
    return const_cast<TKvHostServices*>(this);
}

int TKvHostServices::ModuleCount() const
{
    return (FProject ? 2 : 0) + int(FUnits.size());
}

IOTAModule* TKvHostServices::Modules(int Index) const
{
    const int first = FProject ? 2 : 0;
    if (Index < 0 || Index >= ModuleCount())
        throw EListError(QStringLiteral("Module index out of bounds (%1)").arg(Index));
    if (Index < first)
        return Index == 0 ? static_cast<IOTAModule*>(FGroup.get()) : FProject.get();
    return FUnits.at(Index - first);
}

IOTAModule* TKvHostServices::FindModule(const QString& FileName) const
{
    const QString file = NormalizeFileName(FileName);
    if (FProject) {
        if (SameFile(FGroup->FileName(), file))
            return FGroup.get();
        if (SameFile(FProject->FileName(), file))
            return FProject.get();
    }
    for (TKvUnitModule* unit : FUnits)
        if (SameFile(unit->FileName(), file) || SameFile(unit->FormFileName(), file))
            return unit;
    return nullptr;
}

TKvProject* TKvHostServices::OpenProject(const QString& FileName)
{
    auto project = std::make_unique<TKvProject>();
    project->LoadFromFile(FileName);
    if (!CloseProject(false))
        throw EInvalidOperation(QStringLiteral("%1 cannot be opened: there are open modules with unsaved changes")
                                    .arg(project->FileName()));
    FProject = std::move(project);
    // A code page this system does not know is left to the option and the default.
    if (TCodePage::IsKnown(FProject->CodePage()))
        FProjectCodePage = std::make_shared<const TCodePage>(FProject->CodePage());
    FProject->OnClose = [this](bool ForceClosed) { return CloseProject(ForceClosed); };
    FGroup = std::make_unique<TKvProjectGroup>(this);
    return FProject.get();
}

bool TKvHostServices::CloseProject(bool ForceClosed)
{
    if (!ForceClosed) {
        if (FProject && FProject->SourceEditor() && FProject->SourceEditor()->IsModified())
            return false;
        for (TKvUnitModule* unit : std::as_const(FUnits))
            if (unit->IsModified())
                return false;
    }
    CloseAllUnits();
    FProject.reset();
    FProjectCodePage.reset();
    FGroup.reset();
    return true;
}

TKvUnitModule* TKvHostServices::FindUnitModule(const QString& FileName) const
{
    const QString file = NormalizeFileName(FileName);
    for (TKvUnitModule* unit : FUnits)
        if (SameFile(unit->FileName(), file) || SameFile(unit->FormFileName(), file))
            return unit;
    return nullptr;
}

TKvUnitModule* TKvHostServices::OpenModule(const QString& UnitFile)
{
    const QString file = PasFileOf(NormalizeFileName(UnitFile));
    if (TKvUnitModule* unit = FindUnitModule(file))
        return unit;
    CheckProjectPath(file);
    auto* unit = new TKvUnitModule(this, file);
    FUnits.append(unit);
    return unit;
}

TKvFormEditor* TKvHostServices::OpenForm(const QString& FileName)
{
    const bool wasOpen = FindUnitModule(PasFileOf(NormalizeFileName(FileName))) != nullptr;
    TKvUnitModule* unit = OpenModule(FileName);
    try {
        return unit->OpenForm();
    } catch (...) {
        if (!wasOpen)
            CloseUnit(unit, true);
        throw;
    }
}

TKvSourceEditor* TKvHostServices::OpenFormAsText(const QString& FileName)
{
    const bool wasOpen = FindUnitModule(PasFileOf(NormalizeFileName(FileName))) != nullptr;
    TKvUnitModule* unit = OpenModule(FileName);
    try {
        return unit->OpenFormAsText();
    } catch (...) {
        if (!wasOpen)
            CloseUnit(unit, true);
        throw;
    }
}

TComponent* TKvHostServices::FindFormRoot(const QString& Name) const
{
    if (Name.isEmpty())
        return nullptr;
    for (TKvUnitModule* unit : FUnits)
        if (unit->FForm && unit->FForm->FRoot->GetName().compare(Name, Qt::CaseInsensitive) == 0)
            return unit->FForm->FRoot;
    return nullptr;
}

void TKvHostServices::SaveModule(IOTAModule* Module)
{
    if (auto* unit = dynamic_cast<TKvUnitModule*>(Module))
        unit->Save();
    else if (Module == FProject.get() && FProject->SourceEditor()->IsModified())
        FProject->SourceEditor()->SaveToFile();
}

void TKvHostServices::SetActiveForm(TKvFormEditor* Form)
{
    if (Form == FActiveForm)
        return;
    FActiveForm = Form;
    emit DesignNotifier()->ActiveDesignerChanged(Form ? Form->Designer() : nullptr);
}

void TKvHostServices::SaveAll()
{
    if (FProject)
        SaveModule(FProject.get());
    for (TKvUnitModule* unit : std::as_const(FUnits))
        unit->Save();
}

void TKvHostServices::CheckProjectPath(const QString& FileName) const
{
    if (FProject)
        KvCheckInsideFolder(FProject->ProjectDir(), FileName);
}

bool TKvHostServices::CloseUnit(TKvUnitModule* Module, bool ForceClosed)
{
    if (!FUnits.contains(Module))
        return false;
    if (Module->IsModified() && !ForceClosed)
        return false;
    Module->CloseForm();
    FUnits.removeOne(Module);
    delete Module;
    return true;
}

void TKvHostServices::CloseAllUnits()
{
    while (!FUnits.isEmpty())
        CloseUnit(FUnits.last(), true);
}

void TKvHostServices::DetachReferencesTo(TComponent* Root)
{
    for (TKvUnitModule* unit : std::as_const(FUnits)) {
        TKvFormEditor* form = unit->FForm.get();
        if (!form || form->FRoot == Root)
            continue;
        ForEachComponent(form->FRoot, [&](TComponent* Component) {
            ForEachReferenceIn(Component, [&](QObject* Instance, const TPropInfo& Info) {
                auto* ref = qobject_cast<TComponent*>(GetObjectProp(Instance, Info));
                if (!ref || !IsWithin(ref, Root))
                    return;
                if (ref->Owner() == Root && !ref->GetName().isEmpty() && !Root->GetName().isEmpty())
                    form->FPending.append({Instance, &Info, Root->GetName() + u'.' + ref->GetName()});
                try {
                    SetObjectProp(Instance, Info, nullptr);
                } catch (const Exception&) {
                }
            });
        });
    }
}

void TKvHostServices::ResolvePendingReferences()
{
    for (TKvUnitModule* unit : std::as_const(FUnits)) {
        TKvFormEditor* form = unit->FForm.get();
        if (!form)
            continue;
        for (qsizetype i = form->FPending.size() - 1; i >= 0; --i) {
            const TKvFormEditor::TPendingReference& p = form->FPending.at(i);
            if (!p.Instance) {
                form->FPending.removeAt(i);
                continue;
            }
            TComponent* root = FindFormRoot(p.Target.section(u'.', 0, 0));
            TComponent* ref = root && root != form->FRoot ? root->FindComponent(p.Target.section(u'.', 1)) : nullptr;
            if (!ref || !InheritsFrom(ref->metaObject(), p.Info->ClassType))
                continue;
            try {
                SetObjectProp(p.Instance, *p.Info, ref);
                form->FPending.removeAt(i);
            } catch (const Exception&) {
            }
        }
    }
}
