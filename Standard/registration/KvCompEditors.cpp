#include "KvCompEditors.h"

#include "KvRegClasses.h"
#include "KvMessages.h"
#include "KvPkgImages.h"
#include "KvPkgStrings.h"
#include "manager/KvVtPkgActive.h"
#include "images/KvVtPkgImages.h"
#include "strings/KvVtPkgStrings.h"
#include "vars/KvVtPkgVars.h"
#include "controls/KvVtCollection.h"
#include "controls/KvVtMenus.h"
#include "registration/KvVtAbout.h"
#include "setup/KvVtSetup.h"
#include "KvStdCtrls.h"
#include "KvVtImageE.h"
#include "KvVtMemoE.h"
#include "KvVtRichEditE.h"
#include "KvVtScrollBars.h"

#include <QApplication>
#include <QCursor>
#include <QScopeGuard>
#include <QStringList>

namespace {

const QString AppNotFound = QStringLiteral("Component TKvCApplication not found");

// The sample popup menu of the application editor's last verb.
TKvPopupMenu* SamplePopupMenu = nullptr;

// Lines of Word repeated Times, joined by ", "; the lines joined by line breaks.
QString SampleText(const QString& Word, int Times, int Lines)
{
    QStringList Line;
    for (int I = 0; I < Times; ++I)
        Line << Word;
    QStringList All;
    for (int I = 0; I < Lines; ++I)
        All << Line.join(QStringLiteral(", "));
    return All.join(QStringLiteral("\r\n"));
}

// A sample window of the runtime: made without owner and released (deleted once control is
// back in the event loop, not at once), also when Execute raises.
template <class TWindow, class... TArgs>
void ShowReleased(TArgs&&... Args)
{
    auto* Window = new TWindow();
    const auto Release = qScopeGuard([Window] { Window->deleteLater(); });
    Window->Execute(std::forward<TArgs>(Args)...);
}

void PopUpAtCursor(TKvPopupMenu* Popup)
{
    Popup->ConfigApp();
    const QPoint At = QCursor::pos();
    Popup->Popup(At.x(), At.y());
}

// Items with the "System" images 48 to 57, lines between groups.
void ShowSamplePopupMenu()
{
    KvFreeSamplePopupMenu();
    SamplePopupMenu = new TKvPopupMenu();
    SamplePopupMenu->SetImagesVisible(true);
    SamplePopupMenu->SetImagesSize(16);
    for (int Id : {48, 49, 50, 51, -1, 52, -1, 53, 54, -1, 55, 56, 57}) {
        auto* Item = new TKvMenuItem(SamplePopupMenu);
        Item->SetCaption(Id < 0 ? QStringLiteral("-") : QStringLiteral("Item Example"));
        Item->MemoryImage()->PkgId(QStringLiteral("System"), Id);
        SamplePopupMenu->Items()->Add(Item);
    }
    PopUpAtCursor(SamplePopupMenu);
}

} // namespace

void KvFreeSamplePopupMenu()
{
    delete SamplePopupMenu;
    SamplePopupMenu = nullptr;
}

TKvPopupMenu* KvSamplePopupMenu()
{
    return SamplePopupMenu;
}

// ---------------------------------------------------------------------------------------------

int TKvCApplicationComponentEditor::GetVerbCount() const
{
    return 12;
}

QString TKvCApplicationComponentEditor::GetVerb(int Index) const
{
    static const char* const Verbs[] = {"About KvControls ...",     "Update System Packages",
                                        "View CA&pplication List",  "View Standard Calculator",
                                        "View Standard Calendar",   "View Standard Message",
                                        "View Standard Help",       "View Standard Memo Editor",
                                        "View Standard Image Editor", "View Standard Rich Editor",
                                        "View Standard ScrollBars", "View Standard PopupMenus"};
    return Index >= 0 && Index < GetVerbCount() ? QString::fromLatin1(Verbs[Index]) : QString();
}

void TKvCApplicationComponentEditor::ExecuteVerb(int Index)
{
    auto* App = qobject_cast<TKvCApplication*>(Component());
    switch (Index) {
    case 0: KvShowAbout(QApplication::activeWindow()); break;
    case 1:
        if (App)
            App->UpdateSystemPkgs(false);
        break;
    case 2:
        if (App)
            KvShowPkgActive(App);
        break;
    case 3:
        if (App) {
            double Value = 0;
            App->Calculator(nullptr, Value);
        }
        break;
    case 4:
        if (App) {
            QDateTime Now = QDateTime::currentDateTime();
            App->Calendar(Now);
        }
        break;
    case 5:
        KvMessage(KvMsgQuestion, SampleText(QStringLiteral("Example Message"), 3, 3), {KvBtnAccept, KvBtnCancel},
                  KvBtnCancel);
        break;
    case 6:
        KvHelp(QStringLiteral("System"), 4, SampleText(QStringLiteral("Help Example"), 7, 5));
        break;
    case 7: ShowReleased<TFrMemoE>(QStringLiteral("Memo Editor Example"), nullptr); break;
    case 8: ShowReleased<TFrImageE>(QStringLiteral("Image Editor Example"), nullptr); break;
    case 9: ShowReleased<TFrRichEditE>(QStringLiteral("Rich Editor Example"), nullptr, false); break;
    case 10: ShowReleased<TFrScrollBars>(QStringLiteral("ScrollBars Example")); break;
    case 11: ShowSamplePopupMenu(); break;
    default:
        break;
    }
}

// The setup editor opens from here once it is part of the package.
void TKvCApplicationComponentEditor::Edit()
{
    KvEditSetup(qobject_cast<TKvCApplication*>(Component()));
}

void TKvMenuComponentEditor::Edit()
{
    KvEditMenu(Component(), GetDesigner());
}

int TKvPopupMenuComponentEditor::GetVerbCount() const
{
    return 2;
}

QString TKvPopupMenuComponentEditor::GetVerb(int Index) const
{
    switch (Index) {
    case 0: return QStringLiteral("View &PopupMenu");
    case 1: return QStringLiteral("Build SystemMenu");
    default: return QString();
    }
}

void TKvPopupMenuComponentEditor::ExecuteVerb(int Index)
{
    auto* Popup = qobject_cast<TKvPopupMenu*>(Component());
    if (Index == 0 && Popup) {
        PopUpAtCursor(Popup);
        return;
    }
    IDesigner* Designer = GetDesigner();
    if (Index != 1 || !Popup || !Designer)
        return;
    Popup->SetImagesVisible(true);
    TKvMenuItem* Items = Popup->Items();
    auto AddItem = [&] {
        auto* Item = qobject_cast<TKvMenuItem*>(
            Designer->CreateComponent(&TKvMenuItem::staticMetaObject, nullptr, -1, -1, -1, -1));
        Items->Add(Item);
        return Item;
    };
    for (int Action = KvTypes::daRestore; Action <= KvTypes::daClose; ++Action) {
        bool Present = false;
        for (int I = 0; I < Items->Count() && !Present; ++I)
            Present = Items->Items(I)->DefaultAction() == Action;
        if (Present)
            continue;
        if (Action == KvTypes::daClose)
            AddItem()->SetCaption(QStringLiteral("-"));
        AddItem()->SetDefaultAction(TKvMenuItemDefaultAction(Action));
    }
    Designer->Modified();
    Designer->SelectComponent(Popup);
}

int TKvPkgComponentEditor::GetVerbCount() const
{
    return 1;
}

QString TKvPkgComponentEditor::GetVerb(int Index) const
{
    return Index == 0 ? QStringLiteral("View &Package List") : QString();
}

void TKvPkgComponentEditor::ExecuteVerb(int Index)
{
    if (Index == 0)
        KvShowPkgActive(Component());
}

// The package editors open from here once they are part of the package; the check comes first.
void TKvPkgComponentEditor::Edit()
{
    if (!KvCApp())
        KvExcept(AppNotFound);
}

void TKvPkgImagesComponentEditor::Edit()
{
    TKvPkgComponentEditor::Edit();
    KvEditPkgImages(qobject_cast<TKvPkgImages*>(Component()));
}

void TKvPkgStringsComponentEditor::Edit()
{
    TKvPkgComponentEditor::Edit();
    KvEditPkgStrings(qobject_cast<TKvPkgStrings*>(Component()));
}

void TKvPkgVarsComponentEditor::Edit()
{
    TKvPkgComponentEditor::Edit();
    KvEditPkgVars(qobject_cast<TKvPkgVars*>(Component()));
}

// The page-control collection editor opens from here once it is part of the package.
void TKvPageControlComponentEditor::Edit()
{
    if (const auto* Control = qobject_cast<TKvCustomPageControl*>(Component()))
        KvEditCollection(Control->Tabs(), GetDesigner(), true);
}

int TKvOutLookBarComponentEditor::GetVerbCount() const
{
    return 3;
}

QString TKvOutLookBarComponentEditor::GetVerb(int Index) const
{
    switch (Index) {
    case 0: return QStringLiteral("New Page");
    case 1: return QStringLiteral("Next Page");
    case 2: return QStringLiteral("Previous Page");
    default: return QString();
    }
}

void TKvOutLookBarComponentEditor::ExecuteVerb(int Index)
{
    if (Index == 0 && FDblClick) {
        ShowClickHandler();
        return;
    }
    // A page's editor works on the page's bar.
    auto* Bar = qobject_cast<TKvOutLookBar*>(Component());
    if (auto* Page = qobject_cast<TKvOutLookBarPage*>(Component()))
        Bar = Page->OutLook();
    IDesigner* Designer = GetDesigner();
    if (!Bar || !Designer)
        return;
    if (Index == 0) {
        // A page fills its bar, as the bar's other pages do.
        auto* Page = qobject_cast<TKvOutLookBarPage*>(Designer->CreateComponent(
            &TKvOutLookBarPage::staticMetaObject, Bar, 0, 0, Bar->GetWidth(), Bar->GetHeight()));
        Page->SetOutLook(Bar);
        // Shown at once, without the animation; the bar keeps its setting whatever happens.
        const int Steps = Bar->AnimationSteps();
        const auto Restore = qScopeGuard([Bar, Steps] { Bar->SetAnimationSteps(Steps); });
        Bar->SetAnimationSteps(0);
        Bar->SetActivePage(Page);
        Designer->Modified();
    } else if (Index == 1 || Index == 2) {
        Bar->SelectNextPage(Index == 1);
        if (Bar->ActivePage()) {
            Designer->SelectComponent(Bar->ActivePage());
            Designer->Modified();
        }
    }
}

void TKvOutLookBarComponentEditor::ShowClickHandler()
{
    IDesigner* Designer = GetDesigner();
    TComponent* Bar = Component();
    const TPropInfo* Info = GetPropInfo(Bar->metaObject(), QStringLiteral("OnClick"));
    if (!Designer || !Info)
        return;
    // A double click that cannot make the handler does nothing.
    try {
        QString Name = Designer->GetMethodName(Info->Prop.read(Bar).value<TMethod>());
        if (Name.isEmpty()) {
            Name = Bar->GetName() + QStringLiteral("Click");
            Info->Prop.write(Bar, QVariant::fromValue(Designer->CreateMethod(Name, QStringLiteral("TNotifyEvent"))));
        }
        Designer->Modified();
        Designer->ShowMethod(Name);
        Designer->SelectComponent(Bar);
    } catch (...) {
    }
}

void TKvOutLookBarComponentEditor::Edit()
{
    FDblClick = true;
    const auto Clear = qScopeGuard([this] { FDblClick = false; });
    TComponentEditor::Edit();
}
