#include "KvApplication.h"

#include "Colors.h"
#include "KvDesignHooks.h"
#include "KvUtils.h"
#include "KvVtCalculator.h"
#include "KvVtCalendar.h"
#include "KvMessages.h"
#include "KvReferences.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace {

struct TAppRegistry
{
    QList<TKvCApplication*> Live;
    TKvCApplication* Active = nullptr;
};

TAppRegistry& Apps()
{
    static TAppRegistry registry;
    return registry;
}

bool IsLive(const TComponent* C) { return !(C->ComponentState() & csDestroying); }

void InstallPrivilegeLookup()
{
    static const bool Done = [] {
        KvSetPrivilegeLookup([](int Id) -> std::optional<TKvPrivilegeInfo> {
            const TKvCApplication* app = KvCApp();
            const TKvPkgPrivilegesItem* item = app ? app->Privileges()->FindId(Id) : nullptr;
            if (!item)
                return std::nullopt;
            return TKvPrivilegeInfo{item->Id(), item->Access(), item->Description()};
        });
        return true;
    }();
    Q_UNUSED(Done);
}

// A bare name or a relative path is taken from the install-packages folder.
QString BaseFilePath(const QString& FileName)
{
    return QDir::isRelativePath(FileName) ? QDir(KvGetInstallPackages()).filePath(FileName) : FileName;
}

bool FindBaseFile(const QString& FileName, bool Quiet, QString& Path)
{
    Path = BaseFilePath(FileName.trimmed());
    if (!FileName.trimmed().isEmpty() && QFileInfo(Path).isFile())
        return true;
    if (Quiet)
        return false;
    KvExcept(KvFormatArgs(KvPkgMessageText(QStringLiteral("System"), 49), {Path}));
}

// Makes the merge durable the way the package is stored.
void Store(TKvCApplication* App, TKvPkgInfo* Pkg)
{
    if (Pkg->IsFileBacked())
        Pkg->SaveFile();
    else
        KvDesignerModified(App);
}

template <class TList>
void MergeStrings(TList& Target, const TList& Source)
{
    for (int i = 0; i < Source.Count(); ++i) {
        const auto* from = Source.GetItems(i);
        auto* to = Target.FindId(from->Id());
        if (!to)
            to = Target.Add(from->Id());
        to->SetText(from->Text());
        to->SetProtected(from->Protected());
        if constexpr (std::is_same_v<TList, TKvPkgStringsLabels>)
            to->SetHint(from->Hint());
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------

TKvSkin::TKvSkin(QObject* Owner) : TPersistent(Owner), FImage(new TKvMemoryImage(this)) {}

void TKvSkin::SetBorderWidth(int Value)
{
    if (Value < 0)
        throw EKvPkgError(QStringLiteral("Skin border %1 is not valid (0 and greater)").arg(Value));
    FBorderWidth = Value;
}

void TKvSkin::SetBorderHeight(int Value)
{
    if (Value < 0)
        throw EKvPkgError(QStringLiteral("Skin border %1 is not valid (0 and greater)").arg(Value));
    FBorderHeight = Value;
}

void TKvSkin::Assign(TPersistent* Source)
{
    auto* from = qobject_cast<TKvSkin*>(Source);
    if (!from)
        return TPersistent::Assign(Source);
    FImage->Assign(from->FImage);
    FTransparent = from->FTransparent;
    FBorderWidth = from->FBorderWidth;
    FBorderHeight = from->FBorderHeight;
}

void TKvScrollBarSettings::SetSize(int Value)
{
    if (Value < 0 || Value > 64)
        throw EKvPkgError(QStringLiteral("Scroll bar size %1 is not valid (0 to 64)").arg(Value));
    FSize = Value;
}

void TKvScrollBarSettings::SetIncrement(int Value)
{
    if (Value < 1 || Value > 1000)
        throw EKvPkgError(QStringLiteral("Scroll bar increment %1 is not valid (1 to 1000)").arg(Value));
    FIncrement = Value;
}

void TKvScrollBarSettings::Assign(TPersistent* Source)
{
    auto* From = qobject_cast<TKvScrollBarSettings*>(Source);
    if (!From)
        return TPersistent::Assign(Source);
    FSize = From->FSize;
    FTracking = From->FTracking;
    FIncrement = From->FIncrement;
}

// ---------------------------------------------------------------------------------------------

TKvCApplication::TKvCApplication(TComponent* AOwner)
    : TComponent(AOwner), FPkgDisplay(new TKvPkgDisplay(this)), FPkgLanguage(new TKvPkgLanguage(this)),
      FPkgSetup(new TKvPkgSetup(this)), FPkgVars(new TKvPkgVars(this)), FPrivileges(new TKvPkgPrivileges(this)),
      FCWSkin(new TKvSkin(this)), FHiSkin(new TKvSkin(this)), FHiBackGround(new TKvSetBackGround(this)),
      FScrollBars(new TKvScrollBarSettings(this))
{
    FPkgDisplay->SetName(QStringLiteral("PkgDisplay"));
    FPkgLanguage->SetName(QStringLiteral("PkgLanguage"));
    FPkgSetup->SetName(QStringLiteral("PkgSetup"));
    FPkgVars->SetName(QStringLiteral("PkgVars"));
    FPkgVars->SetPkgName(QStringLiteral("Application"));
    FPrivileges->SetName(QStringLiteral("Privileges"));
    FHiBackGround->SetDefaultSet(QStringLiteral("HiBackGround"));
    Apps().Live.append(this);
    InstallPrivilegeLookup();
}

TKvCApplication::~TKvCApplication()
{
    TAppRegistry& apps = Apps();
    apps.Live.removeOne(this);
    if (apps.Active == this)
        apps.Active = nullptr;
}

void TKvCApplication::SetActive()
{
    Apps().Active = this;
    for (TKvPkgInfo* pkg : {static_cast<TKvPkgInfo*>(FPkgLanguage->PkgSystem()),
                            static_cast<TKvPkgInfo*>(FPkgLanguage->PkgUser()),
                            static_cast<TKvPkgInfo*>(FPkgDisplay->PkgSystem()),
                            static_cast<TKvPkgInfo*>(FPkgDisplay->PkgUser()), static_cast<TKvPkgInfo*>(FPkgVars)})
        pkg->SetActive(true);
}

void TKvCApplication::GetChildren(const TGetChildProc&, TComponent*) const {}

void TKvCApplication::Loaded()
{
    TComponent::Loaded();
    // The reader calls Loaded on the components it created; the packages are parts of this one.
    for (TKvPkgInfo* pkg : {static_cast<TKvPkgInfo*>(FPkgDisplay), static_cast<TKvPkgInfo*>(FPkgLanguage),
                            static_cast<TKvPkgInfo*>(FPkgSetup), static_cast<TKvPkgInfo*>(FPkgVars),
                            static_cast<TKvPkgInfo*>(FPrivileges)})
        pkg->Loaded();
}

void TKvCApplication::UpdateSystemPkgs(bool Quiet)
{
    UpdateSystemPkgLanguage(QString::fromLatin1(KvBaseLanguageFile), Quiet);
    UpdateSystemPkgDisplay(QString::fromLatin1(KvBaseDisplayFile), Quiet);
}

bool TKvCApplication::UpdateSystemPkgLanguage(const QString& FileName, bool Quiet)
{
    QString path;
    if (!FindBaseFile(FileName, Quiet, path))
        return false;
    TKvPkgLanguage base;
    base.LoadFromFile(path);
    TKvPkgStrings* from = base.PkgSystem();
    TKvPkgStrings* to = FPkgLanguage->PkgSystem();
    MergeStrings(*to->Labels(), *from->Labels());
    MergeStrings(*to->Messages(), *from->Messages());
    MergeStrings(*to->Texts(), *from->Texts());
    FPkgLanguage->SetLastUpdateFile(FileName.trimmed());
    FPkgLanguage->SetUpdateDateTime(QDateTime::currentDateTimeUtc());
    Store(this, FPkgLanguage);
    return true;
}

bool TKvCApplication::UpdateSystemPkgDisplay(const QString& FileName, bool Quiet)
{
    QString path;
    if (!FindBaseFile(FileName, Quiet, path))
        return false;
    TKvPkgDisplay base;
    base.LoadFromFile(path);
    TKvPkgImagesImages* from = base.PkgSystem()->Images();
    TKvPkgImagesImages* to = FPkgDisplay->PkgSystem()->Images();
    for (int i = 0; i < from->Count(); ++i) {
        const TKvPkgImagesImage* image = from->GetItems(i);
        TKvPkgImagesImage* target = to->FindId(image->Id());
        if (!target)
            target = to->Add(image->Id());
        target->Assign(*image);
    }
    for (int i = 0; i < base.SetsColor()->Count(); ++i) {
        const TKvSetColorItem* set = base.SetsColor()->GetItems(i);
        if (FPkgDisplay->SetsColor()->Find(set->Name()))
            continue;
        TKvSetColorItem* copy = FPkgDisplay->SetsColor()->Add(set->Name());
        copy->SetDescription(set->Description());
        copy->SetDescriptionId(set->DescriptionPkgName(), set->DescriptionId());
        copy->SetColor(set->Color());
    }
    for (int i = 0; i < base.SetsFont()->Count(); ++i) {
        const TKvSetFontItem* set = base.SetsFont()->GetItems(i);
        if (FPkgDisplay->SetsFont()->Find(set->Name()))
            continue;
        TKvSetFontItem* copy = FPkgDisplay->SetsFont()->Add(set->Name());
        copy->SetDescription(set->Description());
        copy->SetDescriptionId(set->DescriptionPkgName(), set->DescriptionId());
        copy->SetFont(set->Font());
        copy->SetFontColor(set->FontColor());
    }
    for (int i = 0; i < base.SetsBackGround()->Count(); ++i) {
        const TKvSetBackGroundItem* set = base.SetsBackGround()->GetItems(i);
        if (FPkgDisplay->SetsBackGround()->Find(set->Name()))
            continue;
        TKvSetBackGroundItem* copy = FPkgDisplay->SetsBackGround()->Add(set->Name());
        copy->SetDescription(set->Description());
        copy->SetDescriptionId(set->DescriptionPkgName(), set->DescriptionId());
        copy->SetStartGraColor(set->StartGraColor());
        copy->SetEndGraColor(set->EndGraColor());
        copy->SetSolidColor(set->SolidColor());
        copy->SetStyle(set->Style());
        copy->SetTransparent(set->Transparent());
        copy->SetImage(set->ImagePkgName(), set->ImageId());
    }
    FPkgDisplay->SetLastUpdateFile(FileName.trimmed());
    FPkgDisplay->SetUpdateDateTime(QDateTime::currentDateTimeUtc());
    Store(this, FPkgDisplay);
    return true;
}

// ---------------------------------------------------------------------------------------------

TKvDateOrder KvActiveDateOrder()
{
    const TKvCApplication* App = KvCApp();
    if (!App)
        return KvSystemDateOrder();
    const TKvPkgLanguageLocale& Locale = App->PkgLanguage()->Locale();
    return {Locale.DateFormat, Locale.DateSeparator, Locale.TimeSeparator};
}

TKvCApplication* KvCApp()
{
    const TAppRegistry& apps = Apps();
    if (apps.Active && IsLive(apps.Active))
        return apps.Active;
    TKvCApplication* any = nullptr;
    for (TKvCApplication* app : apps.Live) {
        if (!IsLive(app))
            continue;
        if (app->Owner() && (app->Owner()->ComponentState() & csDesigning))
            return app;
        if (!any)
            any = app;
    }
    return any;
}

QList<TKvCApplicationEntry> KvCApplicationsAll()
{
    QList<TKvCApplicationEntry> result;
    for (TKvCApplication* app : std::as_const(Apps().Live))
        if (IsLive(app))
            result.append({app, app->Owner()});
    return result;
}

QString KvGetInstallPackages()
{
    const QString env = qEnvironmentVariable("KV_INSTALL_PACKAGES");
    if (!env.isEmpty())
        return QDir::cleanPath(env);
    QStringList candidates;
    if (QCoreApplication::instance()) {
        const QDir exe(QCoreApplication::applicationDirPath());
        candidates << exe.filePath(QStringLiteral("install")) << exe.filePath(QStringLiteral("../install"));
    }
    candidates << QStringLiteral(KV_SOURCE_INSTALL_DIR);
    for (const QString& c : std::as_const(candidates))
        if (QFileInfo(c).isDir())
            return QDir::cleanPath(c);
    return QDir::cleanPath(candidates.first());
}

QString KvGetInstallPackagesExists()
{
    const QString path = KvGetInstallPackages();
    return QFileInfo(path).isDir() ? path : QString();
}

// ---------------------------------------------------------------------------------------------
// Base files

namespace {

struct TBaseLabel
{
    int Id;
    const char* Text;
    const char* Hint;
};

// The "System" labels the library's windows show.
const TBaseLabel BaseLabels[] = {
    {1, "Ok", "Accept and close"},
    {2, "Cancel", "Close without changes"},
    {3, "Yes", ""},
    {4, "No", ""},
    {5, "Help", "Show the help"},
    {6, "Error", ""},
    {7, "Information", ""},
    {8, "Confirm", ""},
    {9, "Add", "Add a new item"},
    {10, "Modify", "Modify the selected item"},
    {11, "Delete", "Delete the selected item"},
    {12, "Clear All", "Delete every item"},
    {13, "Load", "Load from a file"},
    {14, "Save", "Save to a file"},
    {15, "Search", "Search the list"},
    {16, "Print", "Print a report"},
    {17, "Close", "Close the window"},
    {18, "New", "Create a new item"},
    {19, "Open", "Open a file"},
    {20, "Exit", "Leave the program"},
};

// Simple 16 x 16 pictures for the sample menu images 48 to 57.
QImage DrawBaseImage(int Id)
{
    QImage img(16, 16, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QPen dark(QColor(40, 40, 40));
    p.setPen(dark);
    auto page = [&](int X, int Y, int W, int H) {
        p.setBrush(Qt::white);
        p.drawRect(X, Y, W, H);
        p.setPen(QColor(120, 120, 120));
        for (int y = Y + 3; y < Y + H - 1; y += 2)
            p.drawLine(X + 2, y, X + W - 2, y);
        p.setPen(dark);
    };
    switch (Id) {
    case 48: // new: a page with a folded corner
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygon({QPoint(3, 1), QPoint(10, 1), QPoint(13, 4), QPoint(13, 14), QPoint(3, 14)}));
        p.drawLine(10, 1, 10, 4);
        p.drawLine(10, 4, 13, 4);
        break;
    case 49: // open: a yellow folder
        p.setBrush(QColor(240, 200, 60));
        p.drawPolygon(QPolygon({QPoint(1, 3), QPoint(6, 3), QPoint(7, 5), QPoint(14, 5), QPoint(14, 13), QPoint(1, 13)}));
        p.setBrush(QColor(250, 225, 120));
        p.drawPolygon(QPolygon({QPoint(3, 7), QPoint(15, 7), QPoint(13, 13), QPoint(1, 13)}));
        break;
    case 50: // save: a blue disk
        p.setBrush(QColor(50, 90, 180));
        p.drawRect(1, 1, 13, 13);
        p.setBrush(Qt::white);
        p.drawRect(4, 1, 7, 5);
        p.setBrush(QColor(190, 190, 190));
        p.drawRect(4, 9, 7, 5);
        break;
    case 51: // cut: scissors
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(1, 10, 4, 4);
        p.drawEllipse(10, 10, 4, 4);
        p.drawLine(4, 10, 11, 1);
        p.drawLine(11, 10, 4, 1);
        break;
    case 52: // copy: two pages
        page(1, 1, 8, 10);
        page(6, 5, 8, 10);
        break;
    case 53: // paste: a clipboard with a page
        p.setBrush(QColor(160, 110, 60));
        p.drawRect(1, 2, 11, 13);
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(4, 1, 5, 3);
        page(6, 6, 8, 9);
        break;
    case 54: // find: a magnifying glass
        p.setBrush(QColor(200, 230, 250));
        p.drawEllipse(1, 1, 9, 9);
        p.setPen(QPen(QColor(40, 40, 40), 2));
        p.drawLine(9, 9, 14, 14);
        break;
    case 55: // print: a printer with a page
        page(4, 1, 8, 6);
        p.setBrush(QColor(150, 150, 150));
        p.drawRect(1, 7, 14, 6);
        p.setBrush(Qt::white);
        p.drawRect(4, 11, 8, 4);
        p.setPen(QColor(0, 160, 0));
        p.drawPoint(13, 9);
        break;
    case 56: { // help: a question mark in a blue circle
        p.setBrush(QColor(40, 100, 200));
        p.drawEllipse(0, 0, 15, 15);
        p.setPen(QPen(Qt::white, 2));
        p.setBrush(Qt::NoBrush);
        QPainterPath q;
        q.moveTo(5, 6);
        q.cubicTo(5, 2, 11, 2, 11, 6);
        q.cubicTo(11, 8, 8, 8, 8, 10);
        p.drawPath(q);
        p.drawPoint(8, 12);
        break;
    }
    case 57: // exit: a door and an arrow leaving it
        p.setBrush(QColor(140, 90, 50));
        p.drawRect(1, 1, 7, 14);
        p.setPen(QPen(QColor(200, 30, 30), 2));
        p.drawLine(6, 8, 14, 8);
        p.drawLine(11, 5, 14, 8);
        p.drawLine(11, 11, 14, 8);
        break;
    default:
        break;
    }
    p.end();
    return img;
}

} // namespace

void KvBuildBaseLanguage(TKvPkgLanguage* Pkg)
{
    Pkg->Clear();
    Pkg->SetLocale(TKvPkgLanguageLocale::Default());
    Pkg->SetDescription(QStringLiteral("KvControls base language: English"));
    TKvPkgStrings* sys = Pkg->PkgSystem();
    sys->SetDescription(QStringLiteral("KvControls System strings"));
    for (const TBaseLabel& l : BaseLabels)
        sys->Labels()->Add(l.Id, QString::fromUtf8(l.Text), QString::fromUtf8(l.Hint))->SetProtected(true);
    for (int id : KvSystemMessageIds())
        sys->Messages()->Add(id, KvSystemMessageText(id))->SetProtected(true);
}

void KvBuildBaseDisplay(TKvPkgDisplay* Pkg)
{
    Pkg->Clear();
    Pkg->SetDescription(QStringLiteral("KvControls base display"));
    TKvPkgImages* sys = Pkg->PkgSystem();
    sys->SetDescription(QStringLiteral("KvControls System images"));
    for (int id = 48; id <= 57; ++id) {
        TKvPkgImagesImage* image = sys->Images()->Add(id);
        image->SetGraphic(DrawBaseImage(id));
        image->SetProtected(true);
    }
    // The sets follow the desktop's colours.
    for (const char* name : {"Window", "WindowText", "Highlight", "HighlightText", "BtnFace"})
        Pkg->SetsColor()->Add(QLatin1String(name))->SetColor(TColor{StringToColor(QLatin1String("cl") + QLatin1String(name))});
    TKvSetFontItem* font = Pkg->SetsFont()->Add(QStringLiteral("Normal"));
    font->SetFont(QFont(QStringLiteral("Sans Serif"), 9));
    TKvSetFontItem* bold = Pkg->SetsFont()->Add(QStringLiteral("Title"));
    QFont title(QStringLiteral("Sans Serif"), 10);
    title.setBold(true);
    bold->SetFont(title);
    TKvSetBackGroundItem* back = Pkg->SetsBackGround()->Add(QStringLiteral("Window"));
    back->SetSolidColor(TColor{KvColors::clBtnFace});
    TKvSetBackGroundItem* grad = Pkg->SetsBackGround()->Add(QStringLiteral("Title"));
    grad->SetStyle(1);
    grad->SetStartGraColor(TColor{0xC07030});
    grad->SetEndGraColor(TColor{0xF0C8A0});
    // The sets the library's own drawing looks up.
    Pkg->SetsBackGround()->Add(KvSetEdBackGroundName())->SetSolidColor(TColor{KvColors::clWindow});
    Pkg->SetsColor()->Add(KvSet3DMLightName())->SetColor(TColor{StringToColor(u"cl3DLight")});
}

bool TKvCApplication::Calculator(QWidget* Parent, double& Value) const
{
    TFrCalculator Window(Parent);
    return Window.Execute(Value);
}

bool TKvCApplication::Calendar(QDateTime& Value) const
{
    TFrCalendar Window;
    return Window.Execute(Value);
}

void KvRegisterPackageClasses()
{
    static const bool Done = [] {
        RegisterClasses({&TKvCApplication::staticMetaObject, &TKvPkgDisplay::staticMetaObject,
                         &TKvPkgLanguage::staticMetaObject, &TKvPkgSetup::staticMetaObject,
                         &TKvPkgVars::staticMetaObject, &TKvPkgPrivileges::staticMetaObject,
                         &TKvPkgStrings::staticMetaObject, &TKvPkgImages::staticMetaObject});
        return true;
    }();
    Q_UNUSED(Done);
}
