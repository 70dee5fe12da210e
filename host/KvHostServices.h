#pragma once

#include "CodePage.h"
#include "FormStreams.h"
#include "KvProject.h"
#include "ToolsAPI.h"

#include <QList>
#include <QPointer>

#include <memory>

class TKvFormDesigner;
class TKvHostServices;
class TKvUnitModule;
class TPersistent;
struct TPropInfo;

// The in-process host. Modules and their editors are owned by the host and live until they are
// closed (CloseModule, CloseProject, or the host's destruction); pointers to them are invalid from
// then on. Closing a form also destroys its root and its designer.

// A form open in the designer.
class TKvFormEditor : public IOTAFormEditor
{
public:
    ~TKvFormEditor() override;

    QString FileName() const override; // the .dfm
    IOTAModule* Module() const override;
    TComponent* GetRootComponent() const override { return FRoot; }
    IDesigner* GetDesigner() const override;
    bool IsModified() const override;
    QByteArray GetFormStream() override { return WriteStream(); }

    TKvUnitModule* UnitModule() const { return FModule; }
    TKvFormDesigner* Designer() const { return FDesigner.get(); }
    // References to components of forms that are not open ("Form2.Button1"); they are kept, filled
    // in when that form opens and written back when this form is saved.
    QStringList PendingReferences() const;

private:
    friend class TKvUnitModule;
    friend class TKvHostServices;
    friend class TKvFormDesigner;

    struct TPendingReference
    {
        QPointer<QObject> Instance;
        const TPropInfo* Info;
        QString Target; // Form.Component
    };

    TKvFormEditor(TKvUnitModule* Module, TComponent* Root);

    TKvUnitModule* FModule;
    TComponent* FRoot;
    std::unique_ptr<TKvFormDesigner> FDesigner;
    QList<TPendingReference> FPending;

    QByteArray WriteStream();
    // The reader's unresolved references ("Form1.Label1.FocusControl -> Form2.Edit1") that name
    // a component of another form become pending.
    void SetPending(const QStringList& Unresolved);
};

// A unit: its source in the code editor, and its form in the designer or as text.
class TKvUnitModule : public IOTAModule
{
public:
    ~TKvUnitModule() override;

    QString FileName() const override; // the .pas, whether or not there is one
    // The source editor, then the form editor or the form's text editor when one is open.
    int GetModuleFileCount() const override;
    IOTAEditor* GetModuleFileEditor(int Index) const override;
    bool CloseModule(bool ForceClosed) override;

    // The .dfm beside the unit, whether or not there is one.
    QString FormFileName() const;
    bool HasFormFile() const;
    // False for a form opened on its own without a .pas beside it: its source stays empty and is
    // never written.
    bool HasUnitFile() const { return FHasUnit; }
    TKvSourceEditor* SourceEditor() const { return FSource.get(); }
    TKvFormEditor* FormEditor() const { return FForm.get(); }
    TKvSourceEditor* FormTextEditor() const { return FFormText.get(); }
    // How the form file was stored when it was first read (text or binary); saving keeps it.
    TStreamOriginalFormat FormFormat() const { return FFormFormat; }
    bool IsModified() const;
    TKvHostServices* Host() const { return FHost; }

    // Reads the form into the designer; from the form's text editor when it is open as text, which
    // it replaces. Raises naming the file; nothing changes then. An inherited form opens on its
    // ancestor's form when the units tell where it is.
    TKvFormEditor* OpenForm();
    // What the last OpenForm could not do but went on without ("the form of TBase was not found").
    QString LoadWarning() const { return FLoadWarning; }
    // The form file in the code editor; an open designer is replaced (its changes carry over).
    TKvSourceEditor* OpenFormAsText();
    // Closes the designer or the form's text editor; their unsaved changes are lost.
    void CloseForm();
    // Writes what is modified: the form (in its original format) and the unit, each whole.
    void Save();

private:
    friend class TKvHostServices;

    TKvUnitModule(TKvHostServices* Host, const QString& FileName);

    TKvHostServices* FHost;
    std::unique_ptr<TKvSourceEditor> FSource;
    std::unique_ptr<TKvFormEditor> FForm;
    std::unique_ptr<TKvSourceEditor> FFormText;
    TStreamOriginalFormat FFormFormat = TStreamOriginalFormat::sofUnknown;
    bool FFormResource = true; // binary forms: with the resource header (as .dfm files have)
    QString FLoadWarning;
    TFormTextFormat FFormTextFormat;
    bool FHasUnit = true;

    QByteArray ReadFormFile();
    // From the unit, the project, else the form stream (the base form's when there is one).
    const QMetaObject* RootClassFor(const QString& ClassName, const TKvFormAncestry& Ancestry, const QByteArray& Binary) const;
};

class TKvProjectGroup : public IOTAProjectGroup
{
public:
    explicit TKvProjectGroup(TKvHostServices* Host) : FHost(Host) {}
    QString FileName() const override;
    int GetModuleFileCount() const override { return 0; }
    IOTAEditor* GetModuleFileEditor(int Index) const override;
    bool CloseModule(bool ForceClosed) override;
    IOTAProject* ActiveProject() const override;

private:
    TKvHostServices* FHost;
};

// Installs itself as BorlandIDEServices while it lives. Open modules are the project group and the
// project (while a project is open), then the units in the order they were opened.
class TKvHostServices : public IBorlandIDEServices, public IOTAModuleServices
{
public:
    TKvHostServices();
    // Closes everything without saving.
    ~TKvHostServices() override;

    IOTAModuleServices* ModuleServices() const override;
    int ModuleCount() const override;
    IOTAModule* Modules(int Index) const override;
    IOTAModule* FindModule(const QString& FileName) const override;

    // Replaces the open project; raises (and keeps what is open) when the project file does not
    // read or an open module has unsaved changes.
    TKvProject* OpenProject(const QString& FileName);
    // Closes the project and every open unit; false (nothing closed) when one is modified and
    // ForceClosed is false.
    bool CloseProject(bool ForceClosed = false);
    TKvProject* ActiveProject() const { return FProject.get(); }
    // The code page of the raw 8-bit strings older forms hold: the one set here (a command-line
    // option), else the open project's, else Windows-1252.
    void SetCodePage(std::shared_ptr<const TCodePage> Value) { FCodePage = std::move(Value); }
    std::shared_ptr<const TCodePage> CodePage() const { return FCodePage ? FCodePage : FProjectCodePage; }
    TKvProjectGroup* ProjectGroup() const { return FGroup.get(); }

    // The unit's module, opened with its source when it is not open yet.
    TKvUnitModule* OpenModule(const QString& UnitFile);
    // By the unit's .pas or its .dfm, in the project or not; a form file without a unit opens on
    // its own.
    TKvFormEditor* OpenForm(const QString& FileName);
    TKvSourceEditor* OpenFormAsText(const QString& FileName);
    TKvUnitModule* FindUnitModule(const QString& FileName) const;
    // The root of an open form, by name.
    TComponent* FindFormRoot(const QString& Name) const;
    void SaveModule(IOTAModule* Module);
    void SaveAll();

    // The form the user works on; DesignNotifier tells when it changes. Closing it leaves none.
    void SetActiveForm(TKvFormEditor* Form);
    TKvFormEditor* ActiveForm() const { return FActiveForm; }

private:
    std::shared_ptr<const TCodePage> FCodePage;
    std::shared_ptr<const TCodePage> FProjectCodePage;
    friend class TKvUnitModule;
    friend class TKvFormDesigner;
    TKvFormEditor* FActiveForm = nullptr;

    std::unique_ptr<TKvProjectGroup> FGroup;
    std::unique_ptr<TKvProject> FProject;
    QList<TKvUnitModule*> FUnits;

    // Units and forms of the open project are read and written only inside its folder.
    void CheckProjectPath(const QString& FileName) const;
    bool CloseUnit(TKvUnitModule* Module, bool ForceClosed);
    void CloseAllUnits();
    TKvUnitModule* UnitFor(const QString& FileName);
    // Other open forms' references into Root become pending before Root goes away.
    void DetachReferencesTo(TComponent* Root);
    void ResolvePendingReferences();
};
