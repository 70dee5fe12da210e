#pragma once

#include "KvPkgDisplay.h"
#include "KvPkgLanguage.h"
#include "KvPkgPrivileges.h"
#include "KvPkgSetup.h"
#include "KvPkgVars.h"

#include "KvReferences.h"

#include <QDateTime>
#include <QList>

class QWidget;

// How the library's common windows or its hints are skinned: an image of an images package,
// painted by KvPaintSkin in nine parts with the two borders kept at their size.
class TKvSkin : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(TKvMemoryImage* Image READ Image)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE SetBorderWidth)
    Q_PROPERTY(int BorderHeight READ BorderHeight WRITE SetBorderHeight)

public:
    explicit TKvSkin(QObject* Owner = nullptr);

    TKvMemoryImage* Image() const { return FImage; }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value) { FTransparent = Value; }
    int BorderWidth() const { return FBorderWidth; }
    // Raises for a negative border.
    void SetBorderWidth(int Value);
    int BorderHeight() const { return FBorderHeight; }
    void SetBorderHeight(int Value);

    void Assign(TPersistent* Source) override;

private:
    TKvMemoryImage* FImage;
    bool FTransparent = false;
    int FBorderWidth = 0;
    int FBorderHeight = 0;
};

// How the scroll bars of the application's scrolling windows look and behave.
class TKvScrollBarSettings : public TPersistent
{
    Q_OBJECT
    // The bars' thickness in pixels; 0 takes the desktop's.
    Q_PROPERTY(int Size READ Size WRITE SetSize)
    // The view follows the thumb while it is dragged, not only when it is let go.
    Q_PROPERTY(bool Tracking READ Tracking WRITE SetTracking)
    // Pixels scrolled by an arrow button or key.
    Q_PROPERTY(int Increment READ Increment WRITE SetIncrement)

public:
    explicit TKvScrollBarSettings(QObject* Owner = nullptr) : TPersistent(Owner) {}

    int Size() const { return FSize; }
    // Raises for a size outside 0..64.
    void SetSize(int Value);
    bool Tracking() const { return FTracking; }
    void SetTracking(bool Value) { FTracking = Value; }
    int Increment() const { return FIncrement; }
    // Raises for an increment outside 1..1000.
    void SetIncrement(int Value);

    void Assign(TPersistent* Source) override;

private:
    int FSize = 0;
    bool FTracking = true;
    int FIncrement = 8;
};

// The application component: one per project, holding the application's packages (display,
// language, setup, variables, privileges) as parts of itself that stream with the form.

class TKvCApplication : public TComponent
{
    Q_OBJECT
    Q_PROPERTY(TKvPkgDisplay* PkgDisplay READ PkgDisplay)
    Q_PROPERTY(TKvPkgLanguage* PkgLanguage READ PkgLanguage)
    Q_PROPERTY(TKvPkgSetup* PkgSetup READ PkgSetup)
    Q_PROPERTY(TKvPkgVars* PkgVars READ PkgVars)
    Q_PROPERTY(TKvPkgPrivileges* Privileges READ Privileges)
    // Opens the "System" strings and images packages to editing.
    Q_PROPERTY(bool EditSystem READ EditSystem WRITE SetEditSystem)
    // The skins of the library's common windows and hints, and the hints' background set.
    Q_PROPERTY(TKvSkin* CWSkin READ CWSkin)
    Q_PROPERTY(TKvSkin* HiSkin READ HiSkin)
    Q_PROPERTY(TKvSetBackGround* HiBackGround READ HiBackGround)
    Q_PROPERTY(TKvScrollBarSettings* ScrollBars READ ScrollBars)
    // Folders the running program takes its package files, variables files and access files from.
    Q_PROPERTY(QString Path READ Path WRITE SetPath)
    Q_PROPERTY(QString PathPkgVars READ PathPkgVars WRITE SetPathPkgVars)
    Q_PROPERTY(QString PathPrivileges READ PathPrivileges WRITE SetPathPrivileges)

public:
    Q_INVOKABLE explicit TKvCApplication(TComponent* AOwner = nullptr);
    ~TKvCApplication() override;

    TKvPkgDisplay* PkgDisplay() const { return FPkgDisplay; }
    TKvPkgLanguage* PkgLanguage() const { return FPkgLanguage; }
    TKvPkgSetup* PkgSetup() const { return FPkgSetup; }
    TKvPkgVars* PkgVars() const { return FPkgVars; }
    TKvPkgPrivileges* Privileges() const { return FPrivileges; }

    TKvSkin* CWSkin() const { return FCWSkin; }
    TKvSkin* HiSkin() const { return FHiSkin; }
    TKvSetBackGround* HiBackGround() const { return FHiBackGround; }
    TKvScrollBarSettings* ScrollBars() const { return FScrollBars; }

    bool EditSystem() const { return FEditSystem; }
    void SetEditSystem(bool Value) { FEditSystem = Value; }
    QString Path() const { return FPath; }
    void SetPath(const QString& Value) { FPath = Value; }
    QString PathPkgVars() const { return FPathPkgVars; }
    void SetPathPkgVars(const QString& Value) { FPathPkgVars = Value; }
    QString PathPrivileges() const { return FPathPrivileges; }
    void SetPathPrivileges(const QString& Value) { FPathPrivileges = Value; }

    // Makes this the application KvCApp gives, and its named packages (the "System" and
    // "User" strings and images, the variables) the ones that answer for their names.
    void SetActive();

    // The library's calculator started on Value (its window a child of Parent when given); on
    // OK Value becomes the result and true comes back.
    bool Calculator(QWidget* Parent, double& Value) const;
    // The library's month calendar on Value's day; on OK Value becomes the day and time chosen.
    bool Calendar(QDateTime& Value) const;

    // Merges the base files of the install-packages folder: the "System" strings of
    // "Standard.lan" and the "System" images and sets of "Standard.dis". Quiet skips a missing
    // base file; otherwise it raises.
    void UpdateSystemPkgs(bool Quiet);
    // From one base file (a bare name is taken from the install-packages folder): its "System"
    // items replace the items of the same id, missing ones are added, the others stay; the
    // "User" package is not touched. The package records the file and the time. A file-backed
    // package is saved, otherwise the designer is told. Gives false when Quiet skipped a missing
    // file. A base file that cannot be read raises and changes nothing.
    bool UpdateSystemPkgLanguage(const QString& FileName, bool Quiet);
    // The same for the "System" images; sets of the base file that the package lacks are added.
    bool UpdateSystemPkgDisplay(const QString& FileName, bool Quiet);

    // The packages are parts of the application, not children to write.
    void GetChildren(const TGetChildProc& Proc, TComponent* Root) const override;
    void Loaded() override;

private:
    TKvPkgDisplay* FPkgDisplay;
    TKvPkgLanguage* FPkgLanguage;
    TKvPkgSetup* FPkgSetup;
    TKvPkgVars* FPkgVars;
    TKvPkgPrivileges* FPrivileges;
    TKvSkin* FCWSkin;
    TKvSkin* FHiSkin;
    TKvSetBackGround* FHiBackGround;
    TKvScrollBarSettings* FScrollBars;
    bool FEditSystem = false;
    QString FPath;
    QString FPathPkgVars;
    QString FPathPrivileges;
};

// The active application: the one last made active while it lives; else the first live one
// (in creation order) whose owner is being designed, that is, one of the open project's forms;
// else the first live one. None when there is no application.
TKvCApplication* KvCApp();

struct TKvCApplicationEntry
{
    TKvCApplication* Application;
    TComponent* Owner;
};
// Every live application with its owner, in creation order.
QList<TKvCApplicationEntry> KvCApplicationsAll();

// The folder of the base package files: $KV_INSTALL_PACKAGES when set; else "install" beside
// the program, or above it; else the folder shipped with the sources. Exists gives it only when
// it exists, else the empty text.
QString KvGetInstallPackages();
QString KvGetInstallPackagesExists();
constexpr const char* KvBaseLanguageFile = "Standard.lan";
constexpr const char* KvBaseDisplayFile = "Standard.dis";

// The content of the base files, built from the library's own texts and pictures (the shipped
// files are written from these).
void KvBuildBaseLanguage(TKvPkgLanguage* Pkg);
void KvBuildBaseDisplay(TKvPkgDisplay* Pkg);

// Registers the application and the package classes for streaming. Repeated calls do nothing.
void KvRegisterPackageClasses();
