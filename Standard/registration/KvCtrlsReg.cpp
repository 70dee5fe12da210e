#include "KvCtrlsReg.h"

#include "Controls.h"
#include "DesignIntf.h"
#include "KvDesignHooks.h"
#include "KvMessages.h"
#include "KvRegClasses.h"
#include "ToolsAPI.h"
#include "porting/KvPortDsgn.h"
#include "vars/KvVtPrivilege.h"
#include "vars/KvVtPrivileges.h"

#include <QDir>
#include <QFile>

// Resources of a static library are not linked in by themselves.
static void InitPackageResources()
{
    Q_INIT_RESOURCE(KvCtrlsReg);
    Q_INIT_RESOURCE(KvBitmaps);
}

namespace {

const QString BitmapFolder = QStringLiteral(":/KvCtrls/bitmaps/");

void EnsureResources()
{
    static const bool Done = (InitPackageResources(), true);
    Q_UNUSED(Done);
}

int InitCount = 0;

// The designer of the open form whose root is Root.
IDesigner* RootDesigner(TComponent* Root)
{
    if (!BorlandIDEServices)
        return nullptr;
    IOTAModuleServices* Services = BorlandIDEServices->ModuleServices();
    if (!Services)
        return nullptr;
    for (int I = 0; I < Services->ModuleCount(); ++I) {
        IOTAModule* Module = Services->Modules(I);
        for (int J = 0; J < Module->GetModuleFileCount(); ++J)
            if (auto* FormEditor = Supports<IOTAFormEditor>(Module->GetModuleFileEditor(J)))
                if (FormEditor->GetRootComponent() == Root)
                    return FormEditor->GetDesigner();
    }
    return nullptr;
}

bool Designing(const TPersistent* Object)
{
    const auto* Component = qobject_cast<const TComponent*>(Object);
    return Component && Component->ComponentState().testFlag(csDesigning);
}

// ---------------------------------------------------------------------------------------------
// Design hooks

void DsgnCreateUniqueName(TComponent* Component)
{
    if (!Component || !qobject_cast<TWinControl*>(Component->Owner()))
        return;
    if (IDesigner* Designer = KvFindDesigner(Component))
        Component->SetName(Designer->UniqueName(Component->ClassName()));
}

void DsgnMenuClick(TComponent* MenuItem)
{
    if (!MenuItem || !qobject_cast<TCustomForm*>(MenuItem->Owner()))
        return;
    IDesigner* Designer = KvFindDesigner(MenuItem->Owner());
    if (!Designer)
        return;
    const TPropInfo* OnClick = GetPropInfo(MenuItem->metaObject(), u"OnClick");
    if (!OnClick)
        return;
    QString Name = Designer->GetMethodName(OnClick->Prop.read(MenuItem).value<TMethod>());
    if (Name.isEmpty()) {
        Name = MenuItem->GetName() + QStringLiteral("Click");
        const TMethod Method = Designer->CreateMethod(Name, QStringLiteral("TNotifyEvent"));
        OnClick->Prop.write(MenuItem, QVariant::fromValue(Method));
    }
    Designer->SelectComponent(MenuItem);
    Designer->ShowMethod(Name);
    Designer->Modified();
}

// The folder part of a path, separator included, as the runtime expects it.
QString ExtractFilePath(const QString& FileName)
{
    const qsizetype Sep = std::max(FileName.lastIndexOf(QLatin1Char('/')), FileName.lastIndexOf(QLatin1Char('\\')));
    return FileName.left(Sep + 1);
}

QString DsgnProjectFolder()
{
    return ExtractFilePath(KvGetProjectName());
}

void DsgnSelectComponent(TComponent* Component, TPersistent* Instance)
{
    if (IDesigner* Designer = KvFindDesigner(Component))
        Designer->SelectComponent(Instance);
}

TComponent* DsgnCreateComponent(TComponent* Component, const QMetaObject* ComponentClass, TComponent* Parent)
{
    IDesigner* Designer = KvFindDesigner(Component);
    return Designer ? Designer->CreateComponent(ComponentClass, Parent, -1, -1, -1, -1) : nullptr;
}

void DsgnModified(TPersistent* Object)
{
    if (IDesigner* Designer = KvFindDesigner(Object))
        Designer->Modified();
}

} // namespace

// ---------------------------------------------------------------------------------------------

QString KvCtrlsReg::PackageDescription()
{
    EnsureResources();
    QFile File(QStringLiteral(":/KvCtrls/description.txt"));
    if (!File.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(File.readAll()).trimmed();
}

QString KvPaletteBitmapPath(const QString& ClassName, const QString& Suffix)
{
    return BitmapFolder + ClassName.toUpper() + Suffix + QStringLiteral(".bmp");
}

QImage KvPaletteBitmap(const QString& ClassName, const QString& Suffix)
{
    EnsureResources();
    return QImage(KvPaletteBitmapPath(ClassName, Suffix), "BMP");
}

QStringList KvPaletteBitmapNames()
{
    EnsureResources();
    QStringList Names;
    for (const QString& File : QDir(BitmapFolder).entryList(QDir::Files, QDir::Name))
        Names << File.chopped(4);
    return Names;
}

IDesigner* KvFindDesigner(TPersistent* Object)
{
    if (!Object)
        return nullptr;
    for (TPersistent* Owner = Object->GetOwner(); Owner; Owner = Object->GetOwner()) {
        if (qobject_cast<TComponent*>(Object) && !Designing(Object))
            return nullptr;
        Object = Owner;
    }
    return Designing(Object) ? RootDesigner(static_cast<TComponent*>(Object)) : nullptr;
}

TKvShowPrivileges ShowPrivileges;
TKvShowPrivilege ShowPrivilege;

void DefShowPrivileges()
{
    ShowPrivileges = [](TKvPkgPrivileges* PkgPrivileges) { KvEditPrivileges(PkgPrivileges); };
    // The picker lists the application's own package, whatever the caller passes.
    ShowPrivilege = [](TKvPkgPrivileges*, TKvPrivilege* Privilege) {
        TKvCApplication* App = KvCApp();
        if (!App)
            KvExcept(QStringLiteral("Component TKvCApplication not found"));
        TFrPrivilege Picker;
        Picker.PkgPrivileges = App->Privileges();
        Picker.Privilege = Privilege;
        return Picker.Execute() == 1;
    };
}

void KvCtrlsRegInitialization()
{
    if (InitCount++ > 0)
        return;
    EnsureResources();
    KvAssignDgnCreateUniqueName = DsgnCreateUniqueName;
    KvDsgnCreateMethodMenuClick = DsgnMenuClick;
    KvDesignMode = true;
    KvDsgnGetProyectName = DsgnProjectFolder;
    KvDsgnSelectComponent = DsgnSelectComponent;
    KvDsgnCreateComponent = DsgnCreateComponent;
    KvDsgnModified = DsgnModified;
    DefShowPrivileges();
}

void KvCtrlsRegFinalization()
{
    if (InitCount == 0 || --InitCount > 0)
        return;
    // The runtime's hooks stay as they are: the runtime may still call them while it unloads.
    KvFreeSamplePopupMenu();
    KvReleaseModalResultNames();
}

bool KvCtrlsRegInitialized()
{
    return InitCount > 0;
}
