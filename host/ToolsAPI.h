#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class IDesigner;
class TComponent;

// The host's module services, as the design package reaches them through one global
// (BorlandIDEServices). Interfaces are tested with Supports<I>(object).

class IOTAModule;

class IOTAEditor
{
public:
    virtual ~IOTAEditor() = default;
    virtual QString FileName() const = 0;
    virtual IOTAModule* Module() const = 0;
};

// The designer side of a module whose form is open.
class IOTAFormEditor : public IOTAEditor
{
public:
    static constexpr const char* IID = "{F17A7BD2-E07D-11D1-AB0B-00C04FB16FB3}";
    // The live design-time root; none while the form is not loaded.
    virtual TComponent* GetRootComponent() const = 0;
    virtual IDesigner* GetDesigner() const = 0;
    virtual bool IsModified() const = 0;
    // The form in the binary form format as the designer would store it now, unsaved changes
    // and references to forms that are not open included.
    virtual QByteArray GetFormStream() = 0;
};

// A file open as text in the code editor: the unit source, or a form file opened as text.
class IOTASourceEditor : public IOTAEditor
{
public:
    static constexpr const char* IID = "{4D460588-10A6-4CAD-87E7-5654266073F9}";
    virtual QString Text() const = 0;
};

class IOTAModule
{
public:
    virtual ~IOTAModule() = default;
    virtual QString FileName() const = 0;
    virtual int GetModuleFileCount() const = 0;
    virtual IOTAEditor* GetModuleFileEditor(int Index) const = 0;
    // Closes the module and its editors; true when it was closed. Unsaved changes are lost
    // only when ForceClosed is true, otherwise the module stays open and false is returned.
    virtual bool CloseModule(bool ForceClosed) = 0;
};

// One module entry of a project: a unit and, when it has one, its form.
class IOTAModuleInfo
{
public:
    virtual ~IOTAModuleInfo() = default;
    virtual QString Name() const = 0;     // unit name
    virtual QString FileName() const = 0; // the unit's .pas, full path
    virtual QString FormName() const = 0; // empty when the unit has no form
};

class IOTAProject : public IOTAModule
{
public:
    virtual int GetModuleCount() const = 0;
    virtual IOTAModuleInfo* GetModule(int Index) const = 0;
};

class IOTAProjectGroup : public IOTAModule
{
public:
    static constexpr const char* IID = "{B9EAE73C-8A03-4729-A232-EEE626801A0B}";
    virtual IOTAProject* ActiveProject() const = 0;
};

class IOTAModuleServices
{
public:
    static constexpr const char* IID = "{55A5E848-27FB-4880-8E7C-7F05A9802482}";
    virtual ~IOTAModuleServices() = default;
    virtual int ModuleCount() const = 0;
    virtual IOTAModule* Modules(int Index) const = 0;
    // The open module whose file (or one of whose editors' files) is FileName, compared without
    // case; none when it is not open.
    virtual IOTAModule* FindModule(const QString& FileName) const = 0;
};

// What the global gives: the module services, or none when the host offers none.
class IBorlandIDEServices
{
public:
    virtual ~IBorlandIDEServices() = default;
    virtual IOTAModuleServices* ModuleServices() const = 0;
};

// The host installs itself here at start; none outside a host.
extern IBorlandIDEServices* BorlandIDEServices;

template <class I, class T>
I* Supports(T* Object)
{
    return dynamic_cast<I*>(Object);
}
