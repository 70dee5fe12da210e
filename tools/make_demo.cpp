// kv_make_demo: writes the demo project's forms and package files.
//
//   kv_make_demo [DIR]        (DIR: the demo folder, demo/ of the sources when omitted)
//
// The demo (demo/KvDemo.dpr and its units) shows the library as a developer uses it: an
// application component with its packages, a strings package kept in the main form, another in
// a package file of its own beside the project (KvDemoCustomer.kvstr), an images package with a
// few drawn icons, and controls, menus and pages whose captions, hints, messages, texts and
// images refer to items of those packages. Between them the forms use every component of the
// palette: the orders form the data controls, the notes form the text, picture and navigation
// controls, the settings form the set, image and colour choosers, and the address frame the
// frame controller. This program builds the forms with the runtime
// classes and writes them as the designer writes them (text form files, CRLF), so that opening a
// demo form in kvdesigner and saving it unchanged gives the same bytes. Before it ends it checks
// that every package reference of the forms finds its item (the about form's refer to the
// main form's packages, which the designer opens first) and that the written forms read back
// as written.
//
// The .dpr and .pas files are kept by hand: when a component or an event handler is added here,
// add its field or method to the unit too. To regenerate the demo:
//   cmake --build --preset release --target kv_make_demo && build/release/tools/kv_make_demo
// then open the demo in kvdesigner to look at it, and commit the written files.

#include "Controls.h"
#include "DB.h"
#include "Filer.h"
#include "KvApplication.h"
#include "KvDbCtrls.h"
#include "KvEdCtrls.h"
#include "KvExtCtrls.h"
#include "KvMenus.h"
#include "KvPkgDisplay.h"
#include "KvPkgImages.h"
#include "KvPkgPrivileges.h"
#include "KvPkgStrings.h"
#include "KvPkgVars.h"
#include "KvRuntimeClasses.h"
#include "KvFiles.h"
#include "KvStdCtrls.h"

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QRegion>
#include <QMetaProperty>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <functional>
#include <memory>

#ifndef KV_DEMO_DIR
#error KV_DEMO_DIR must name the demo folder of the sources
#endif

namespace {

const QString DemoPkg = QStringLiteral("Demo");
const QString CustomerPkg = QStringLiteral("Customer");
const QString CustomerPkgFile = QStringLiteral("KvDemoCustomer.kvstr");
const QString DisplayFile = QStringLiteral("KvDemo.dis");

// Ids of the "Demo" package (kept in the main form).
enum TDemoLabel {
    lbDemo = 1, lbCustomers, lbName, lbCity, lbCustomerList, lbGeneral, lbNotes, lbPhone, lbOk, lbCancel,
    lbFile, lbCustomer, lbExit, lbHelp, lbAbout, lbAboutDemo, lbProduct, lbVersion, lbClose,
    lbAlder, lbBirch, lbCedar,
    // Hints only: the controls that show no caption of their own.
    lbNameHint, lbCityHint, lbPhoneHint, lbCustomerHint, lbAboutHint
};
enum TDemoMessage { msDiscard = 1 };
enum TDemoText { txAbout = 1, txNotes };
enum TDemoImage { imLogo = 1, imOk, imCancel, imCustomer, imExit, imAbout, imSave, imCopy, imGeneral, imNotes };

// Ids of the "Customer" package (in its own file).
enum TCustomerLabel {
    clCustomer = 1, clCode, clBalance, clActive, clKind, clPrivate, clCompany, clCountry, clFrance, clGermany,
    clSpain, clSave, clCopy, clNotes, clCodeHint
};
enum TCustomerMessage { cmSave = 1 };
enum TCustomerText { ctNotes = 1 };

// ---------------------------------------------------------------------------------------------
// Icons, drawn so that the demo needs no picture files.

QImage Icon(int Size, const std::function<void(QPainter&)>& Draw)
{
    QImage Image(Size, Size, QImage::Format_ARGB32);
    Image.fill(Qt::transparent);
    QPainter P(&Image);
    P.setRenderHint(QPainter::Antialiasing);
    Draw(P);
    return Image;
}

QPen Stroke(const QColor& Color, qreal Width)
{
    return QPen(Color, Width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

const QColor Ink(0x33, 0x3d, 0x4a);
const QColor Blue(0x2d, 0x6c, 0xc0);
const QColor Green(0x2e, 0x9d, 0x4a);
const QColor Red(0xc8, 0x3a, 0x32);
const QColor Paper(0xfb, 0xfb, 0xf6);

void FillImages(TKvPkgImages* Pkg)
{
    auto Add = [Pkg](int Id, const QImage& Image) { Pkg->Images()->Add(Id)->SetGraphic(Image); };
    // The library's logo: three coloured blocks in a rounded frame.
    Add(imLogo, Icon(48, [](QPainter& P) {
        P.setPen(Stroke(Ink, 2));
        P.setBrush(QColor(0xee, 0xf2, 0xf8));
        P.drawRoundedRect(QRectF(2, 2, 44, 44), 8, 8);
        P.setPen(Qt::NoPen);
        P.setBrush(Blue);
        P.drawRoundedRect(QRectF(9, 9, 14, 14), 3, 3);
        P.setBrush(Green);
        P.drawRoundedRect(QRectF(25, 9, 14, 14), 3, 3);
        P.setBrush(Red);
        P.drawRoundedRect(QRectF(9, 25, 30, 14), 3, 3);
    }));
    // The logo's visible shape is its rounded frame (its opaque pixels); its corners keep ten
    // pixels when it is stretched.
    TKvPkgImagesImage* Logo = Pkg->Images()->FindId(imLogo);
    const QImage Drawn = Logo->Graphic();
    QRegion Shape;
    for (int Y = 0; Y < Drawn.height(); ++Y)
        for (int X = 0; X < Drawn.width(); ++X)
            if (qAlpha(Drawn.pixel(X, Y)) > 0)
                Shape += QRect(X, Y, 1, 1);
    Logo->CreateExternalMask(Shape);
    Logo->SetMarks({10, 10, 10, 10, 10, 10, 10, 10});
    Add(imOk, Icon(16, [](QPainter& P) {
        P.setPen(Stroke(Green, 2.5));
        P.drawPolyline(QPolygonF({QPointF(3, 8.5), QPointF(6.5, 12), QPointF(13, 4)}));
    }));
    Add(imCancel, Icon(16, [](QPainter& P) {
        P.setPen(Stroke(Red, 2.5));
        P.drawLine(QPointF(4, 4), QPointF(12, 12));
        P.drawLine(QPointF(12, 4), QPointF(4, 12));
    }));
    Add(imCustomer, Icon(16, [](QPainter& P) {
        P.setPen(Qt::NoPen);
        P.setBrush(Blue);
        P.drawEllipse(QRectF(5, 1.5, 6, 6));
        QPainterPath Body;
        Body.moveTo(2, 15);
        Body.cubicTo(2, 8.5, 14, 8.5, 14, 15);
        Body.closeSubpath();
        P.drawPath(Body);
    }));
    Add(imExit, Icon(16, [](QPainter& P) {
        P.setPen(Stroke(Ink, 1.5));
        P.setBrush(Paper);
        P.drawRect(QRectF(2.5, 1.5, 7, 13));
        P.setPen(Stroke(Red, 2));
        P.drawLine(QPointF(7, 8), QPointF(14, 8));
        P.drawPolyline(QPolygonF({QPointF(11.5, 5), QPointF(14, 8), QPointF(11.5, 11)}));
    }));
    Add(imAbout, Icon(16, [](QPainter& P) {
        P.setPen(Qt::NoPen);
        P.setBrush(Blue);
        P.drawEllipse(QRectF(1, 1, 14, 14));
        P.setBrush(Qt::white);
        P.drawEllipse(QRectF(7, 3.5, 2, 2));
        P.drawRect(QRectF(7, 7, 2, 5.5));
    }));
    Add(imSave, Icon(16, [](QPainter& P) {
        P.setPen(Stroke(Ink, 1));
        P.setBrush(Blue);
        P.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
        P.setBrush(Paper);
        P.drawRect(QRectF(4.5, 1.5, 7, 5));
        P.drawRect(QRectF(3.5, 9.5, 9, 5));
    }));
    Add(imCopy, Icon(16, [](QPainter& P) {
        P.setPen(Stroke(Ink, 1));
        P.setBrush(Paper);
        P.drawRect(QRectF(1.5, 1.5, 8, 10));
        P.drawRect(QRectF(6.5, 4.5, 8, 10));
    }));
    Add(imGeneral, Icon(16, [](QPainter& P) {
        P.setPen(Stroke(Ink, 1));
        P.setBrush(Paper);
        P.drawRoundedRect(QRectF(1.5, 3.5, 13, 9), 1.5, 1.5);
        P.setPen(Qt::NoPen);
        P.setBrush(Blue);
        P.drawEllipse(QRectF(3.5, 5.5, 4, 4));
        P.setPen(Stroke(Ink, 1));
        P.drawLine(QPointF(9, 6.5), QPointF(12.5, 6.5));
        P.drawLine(QPointF(9, 9.5), QPointF(12.5, 9.5));
    }));
    Add(imNotes, Icon(16, [](QPainter& P) {
        P.setPen(Stroke(Ink, 1));
        P.setBrush(QColor(0xff, 0xf1, 0xa8));
        P.drawRect(QRectF(2.5, 1.5, 11, 13));
        for (qreal Y : {5.0, 8.0, 11.0})
            P.drawLine(QPointF(4.5, Y), QPointF(11.5, Y));
    }));
}

// ---------------------------------------------------------------------------------------------
// Building the forms

template <class T>
T* Make(TComponent* Owner, const char* Name, TWinControl* Parent = nullptr)
{
    auto* C = new T(Owner);
    C->SetName(QString::fromLatin1(Name));
    if constexpr (std::is_base_of_v<TControl, T>)
        if (Parent)
            C->SetParent(Parent);
    return C;
}

template <class T>
T* Place(TComponent* Owner, const char* Name, TWinControl* Parent, int Left, int Top, int Width, int Height)
{
    T* C = Make<T>(Owner, Name, Parent);
    C->SetBounds(Left, Top, Width, Height);
    return C;
}

TForm* NewForm(const char* Name, const char* Caption, int Left, int Top, int Width, int Height)
{
    auto* Form = new TForm(nullptr);
    Form->SetName(QString::fromLatin1(Name));
    Form->SetDesignClassName(QStringLiteral("T") + QString::fromLatin1(Name));
    Form->SetBounds(Left, Top, Width, Height);
    Form->SetCaption(QString::fromLatin1(Caption));
    return Form;
}

void Refer(TKvMemoryReference* Reference, const QString& PkgName, int Id) { Reference->PkgId(PkgName, Id); }

TMethod Handler(const char* Name) { return TMethod{QString::fromLatin1(Name)}; }

// Label -1: none. Images always come from the "Demo" package.
TKvMenuItem* MenuItem(TComponent* Owner, TKvMenuItem* Parent, const char* Name, const QString& PkgName, int Label,
                      int Image = -1)
{
    auto* Item = Make<TKvMenuItem>(Owner, Name);
    Parent->Add(Item);
    if (Label >= 0)
        Refer(Item->MemoryLabel(), PkgName, Label);
    if (Image >= 0)
        Refer(Item->MemoryImage(), DemoPkg, Image);
    return Item;
}

void AddListItem(TKvListItems* Items, const QString& Value, const QString& PkgName, int Label, int Image = -1)
{
    auto* Item = static_cast<TKvListItem*>(Items->AddItem());
    Item->SetValue(Variant(Value));
    Refer(Item->MemoryLabel(), PkgName, Label);
    if (Image >= 0)
        Refer(Item->MemoryImage(), DemoPkg, Image);
}

// The application's display package, in a file of its own beside the project: a few sets of
// each kind for the set pickers and the settings form's lists, among them sets named like the
// defaults the library's controls and windows look for (an edit's EdFont, the hints'
// HiBackGround, the title buttons' 3DMLight), so that references left at "<Default>" find them.
void FillDisplay(TKvPkgDisplay* Display)
{
    Display->SetInitMode(TKvPkgInfo::imFILE);
    Display->SetFileName(DisplayFile);
    Display->SetDescription(QStringLiteral("Colours, fonts and backgrounds of the demo"));
    auto Describe = [](TKvDisplaySet* Set, const char* Text) { Set->SetDescription(QString::fromUtf8(Text)); };
    const struct
    {
        const char* Name;
        qint32 Bgr;
        const char* Description;
    } Colours[] = {{"Ink", 0x3A2A1F, "Text on paper"},
                   {"Paper", 0xF7FBFD, "Background of lists and edits"},
                   {"Accent", 0xC06C2D, "The demo's blue, for what is selected"},
                   {"Warning", 0x2030D0, "Amounts overdue"},
                   {"3DMLight", 0xF0E6DC, "Light edge of the title buttons"}};
    for (const auto& C : Colours) {
        TKvSetColorItem* Set = Display->SetsColor()->Add(QString::fromLatin1(C.Name));
        Set->SetColor(TColor{C.Bgr});
        Describe(Set, C.Description);
    }
    Display->SetsColor()->Find(QStringLiteral("Paper"))->SetDescriptionId(DemoPkg, lbDemo);
    const struct
    {
        const char* Name;
        const char* Family;
        int Points;
        bool Bold;
        const char* Description;
    } Fonts[] = {{"Normal", "DejaVu Sans", 9, false, "Captions and texts"},
                 {"Title", "DejaVu Sans", 14, true, "Window and group titles"},
                 {"EdFont", "DejaVu Sans Mono", 10, false, "What the user types"}};
    for (const auto& F : Fonts) {
        QFont Font(QString::fromLatin1(F.Family), F.Points);
        Font.setBold(F.Bold);
        TKvSetFontItem* Set = Display->SetsFont()->Add(QString::fromLatin1(F.Name));
        Set->SetFont(Font);
        Describe(Set, F.Description);
    }
    Display->SetsFont()->Find(QStringLiteral("Title"))->SetFontColor(TColor{0xC06C2D});
    auto BackGround = [&](const char* Name, int Style, qint32 Start, qint32 End, qint32 Solid, const char* Description) {
        TKvSetBackGroundItem* Set = Display->SetsBackGround()->Add(QString::fromLatin1(Name));
        Set->SetStyle(Style);
        Set->SetStartGraColor(TColor{Start});
        Set->SetEndGraColor(TColor{End});
        Set->SetSolidColor(TColor{Solid});
        Describe(Set, Description);
        return Set;
    };
    BackGround("EdBackGround", bgsVertical, 0xFFFFFF, 0xF3ECE6, 0xFFFFFF, "Edits, from white to a pale blue");
    BackGround("HiBackGround", bgsSolid, 0xE1FFFF, 0xE1FFFF, 0xE1FFFF, "Hints, pale yellow");
    BackGround("Panel", bgsRadial, 0xF7FBFD, 0xD8C8B8, KvColors::clBtnFace, "Panels, light in the middle");
    BackGround("Logo", bgsImageCenter, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, "The logo in the middle, on white")
        ->SetImage(DemoPkg, imLogo);
    Display->SetUserColors({qRgb(0x2D, 0x6C, 0xC0), qRgb(0xD0, 0x30, 0x20)});
    Display->SetCWTitleHeight(20);
}

std::unique_ptr<TForm> BuildMain()
{
    std::unique_ptr<TForm> Form(NewForm("FrDemoMain", "KvControls Demo", 200, 120, 600, 420));
    TForm* F = Form.get();

    auto* App = Make<TKvCApplication>(F, "KvApp");
    App->SetDesignPos(352, 240);
    FillDisplay(App->PkgDisplay());
    TKvPkgVars* Vars = App->PkgVars();
    Vars->Add(QStringLiteral("Company\\Name"), vtString)->SetVString(QStringLiteral("Demo Trading"));
    Vars->Add(QStringLiteral("Customers\\PageSize"), vtInteger)->SetVInteger(50);
    Vars->Add(QStringLiteral("Customers\\ShowInactive"), vtBoolean)->SetVBoolean(false);

    auto* CForm = Make<TKvCForm>(F, "KvCForm");
    CForm->SetDesignPos(416, 240);
    CForm->SetPkgVars(Vars->PkgName());
    Refer(CForm->MemoryLabel(), DemoPkg, lbDemo);

    auto* Strings = Make<TKvPkgStrings>(F, "PsDemo");
    Strings->SetDesignPos(480, 240);
    Strings->SetPkgName(DemoPkg);
    Strings->SetDescription(QStringLiteral("Captions, hints, messages and texts of the demo"));
    TKvPkgStringsLabels* L = Strings->Labels();
    L->Add(lbDemo, QStringLiteral("KvControls Demo"), QStringLiteral("A small project that shows the KvControls library"));
    L->Add(lbCustomers, QStringLiteral("Customers"), QStringLiteral("The customers of the demo company"));
    L->Add(lbName, QStringLiteral("Name"));
    L->Add(lbCity, QStringLiteral("City"));
    L->Add(lbCustomerList, QString(), QStringLiteral("Click a customer to take its name"));
    L->Add(lbGeneral, QStringLiteral("General"), QStringLiteral("How to reach the customer"));
    L->Add(lbNotes, QStringLiteral("Notes"), QStringLiteral("Free notes about the customer"));
    L->Add(lbPhone, QStringLiteral("Phone"));
    L->Add(lbOk, QStringLiteral("OK"), QStringLiteral("Keep the changes and close"));
    L->Add(lbCancel, QStringLiteral("Cancel"), QStringLiteral("Close without keeping the changes"));
    L->Add(lbFile, QStringLiteral("&File"));
    L->Add(lbCustomer, QStringLiteral("&Customer..."), QStringLiteral("Open the customer form"));
    L->Add(lbExit, QStringLiteral("E&xit"), QStringLiteral("Close the demo"));
    L->Add(lbHelp, QStringLiteral("&Help"));
    L->Add(lbAbout, QStringLiteral("&About..."), QStringLiteral("Who made the demo, and which version it is"));
    L->Add(lbAboutDemo, QStringLiteral("About the demo"));
    L->Add(lbProduct, QStringLiteral("KvControls demo project"));
    L->Add(lbVersion, QStringLiteral("Version 1.0"));
    L->Add(lbClose, QStringLiteral("Close"), QStringLiteral("Close this window"));
    L->Add(lbAlder, QStringLiteral("Alder Ltd"));
    L->Add(lbBirch, QStringLiteral("Birch Trading"));
    L->Add(lbCedar, QStringLiteral("Cedar Works"));
    L->Add(lbNameHint, QString(), QStringLiteral("Full name of the customer"));
    L->Add(lbCityHint, QString(), QStringLiteral("City of the customer's address"));
    L->Add(lbPhoneHint, QString(), QStringLiteral("Phone number with the area code"));
    L->Add(lbCustomerHint, QString(), QStringLiteral("Open the customer form"));
    L->Add(lbAboutHint, QString(), QStringLiteral("About the demo"));
    for (int Id : {lbDemo, lbOk, lbCancel})
        L->FindId(Id)->SetProtected(true);
    Strings->Messages()->Add(msDiscard, QStringLiteral("Discard the changes to this customer?"));
    Strings->Texts()->Add(txAbout, QStringLiteral("This demo shows the KvControls library at work.\n"
                                                  "Captions, hints, messages and pictures come from\n"
                                                  "the packages of the project."));
    Strings->Texts()->Add(txNotes, QStringLiteral("Customer since:\nPreferred contact:\nOpen questions:"));

    auto* Images = Make<TKvPkgImages>(F, "PiDemo");
    Images->SetDesignPos(352, 288);
    Images->SetPkgName(DemoPkg);
    Images->SetDescription(QStringLiteral("Icons of the demo"));
    FillImages(Images);

    auto* Menu = Make<TKvMainMenu>(F, "MmMain");
    Menu->SetDesignPos(416, 288);
    TKvMenuItem* File = MenuItem(F, Menu->Items(), "MiFile", DemoPkg, lbFile);
    MenuItem(F, File, "MiCustomer", DemoPkg, lbCustomer, imCustomer)->SetOnClick(Handler("MiCustomerClick"));
    MenuItem(F, File, "MiLine", DemoPkg, -1)->SetCaption(QStringLiteral("-"));
    MenuItem(F, File, "MiExit", DemoPkg, lbExit, imExit)->SetOnClick(Handler("MiExitClick"));
    TKvMenuItem* Help = MenuItem(F, Menu->Items(), "MiHelp", DemoPkg, lbHelp);
    MenuItem(F, Help, "MiAbout", DemoPkg, lbAbout, imAbout)->SetOnClick(Handler("MiAboutClick"));

    auto* Top = Place<TKvPanel>(F, "PnTop", F, 0, 0, 600, 48);
    Refer(Place<TKvLabel>(F, "LaTitle", Top, 80, 14, 300, 20)->MemoryLabel(), DemoPkg, lbCustomers);
    auto* Logo = Place<TKvPkgImage>(F, "PiLogo", Top, 552, 4, 40, 40);
    Refer(Logo->MemoryImage(), DemoPkg, imLogo);
    Logo->SetStretch(true);

    Refer(Place<TKvLabel>(F, "LaName", F, 16, 68, 80, 17)->MemoryLabel(), DemoPkg, lbName);
    auto* Name = Place<TKvEdit>(F, "EdName", F, 104, 64, 220, 24);
    Name->SetMaxLength(60);
    Refer(Name->MemoryLabel(), DemoPkg, lbNameHint);
    Refer(Place<TKvLabel>(F, "LaCity", F, 16, 100, 80, 17)->MemoryLabel(), DemoPkg, lbCity);
    Refer(Place<TKvEdit>(F, "EdCity", F, 104, 96, 220, 24)->MemoryLabel(), DemoPkg, lbCityHint);

    auto* List = Place<TKvListBox>(F, "LbCustomers", F, 344, 64, 232, 120);
    Refer(List->MemoryLabel(), DemoPkg, lbCustomerList);
    List->SetOnClick(Handler("LbCustomersClick"));
    AddListItem(List->Items(), QStringLiteral("C001"), DemoPkg, lbAlder, imCustomer);
    AddListItem(List->Items(), QStringLiteral("C002"), DemoPkg, lbBirch, imCustomer);
    AddListItem(List->Items(), QStringLiteral("C003"), DemoPkg, lbCedar, imCustomer);

    auto* Pages = Place<TKvPageControl>(F, "PcDetails", F, 16, 136, 308, 188);
    auto AddPage = [&](const char* SheetName, const char* Value, int Label, int Image) {
        TKvTabSheet* Sheet = Pages->CreateTabSheet();
        Sheet->SetName(QString::fromLatin1(SheetName));
        Sheet->SetBounds(4, 28, 300, 156);
        Refer(Sheet->MemoryLabel(), DemoPkg, Label);
        auto* Tab = static_cast<TKvTabControl*>(Pages->Tabs()->AddItem());
        Tab->SetValue(Variant(QString::fromLatin1(Value)));
        Tab->SetPageId(Sheet->PageId());
        Refer(Tab->MemoryLabel(), DemoPkg, Label);
        Refer(Tab->MemoryImage(), DemoPkg, Image);
        return Sheet;
    };
    // The page shown (General) comes last, so that the designer draws it on top.
    TKvTabSheet* Notes = AddPage("TsNotes", "Notes", lbNotes, imNotes);
    auto* Memo = Place<TKvMemo>(F, "MeNotes", Notes, 8, 24, 284, 124);
    Refer(Memo->MemoryText(), DemoPkg, txNotes);
    TKvTabSheet* General = AddPage("TsGeneral", "General", lbGeneral, imGeneral);
    Refer(Place<TKvLabel>(F, "LaPhone", General, 8, 32, 64, 17)->MemoryLabel(), DemoPkg, lbPhone);
    Refer(Place<TKvEdit>(F, "EdPhone", General, 80, 28, 200, 24)->MemoryLabel(), DemoPkg, lbPhoneHint);
    Pages->Tabs()->GetItem(1)->SetIndex(0); // tabs in reading order: General, Notes
    Pages->SetValue(Variant(QStringLiteral("General")));

    auto* SbCustomer = Place<TKvSpeedButton>(F, "SbCustomer", F, 344, 196, 28, 28);
    Refer(SbCustomer->MemoryLabel(), DemoPkg, lbCustomerHint);
    Refer(SbCustomer->MemoryImage(), DemoPkg, imCustomer);
    SbCustomer->SetFlat(true);
    SbCustomer->SetOnClick(Handler("MiCustomerClick"));
    auto* SbAbout = Place<TKvSpeedButton>(F, "SbAbout", F, 376, 196, 28, 28);
    Refer(SbAbout->MemoryLabel(), DemoPkg, lbAboutHint);
    Refer(SbAbout->MemoryImage(), DemoPkg, imAbout);
    SbAbout->SetFlat(true);
    SbAbout->SetOnClick(Handler("MiAboutClick"));

    auto* Ok = Place<TKvBitBtn>(F, "BtOk", F, 400, 340, 80, 28);
    Refer(Ok->MemoryLabel(), DemoPkg, lbOk);
    Refer(Ok->MemoryImage(), DemoPkg, imOk);
    Ok->SetModalResult(1);
    Ok->SetDefault(true);
    auto* Cancel = Place<TKvBitBtn>(F, "BtCancel", F, 496, 340, 80, 28);
    Refer(Cancel->MemoryLabel(), DemoPkg, lbCancel);
    Refer(Cancel->MemoryImage(), DemoPkg, imCancel);
    Refer(Cancel->MemoryMessage(), DemoPkg, msDiscard);
    Cancel->SetModalResult(2);
    Cancel->SetCancel(true);

    CForm->SetBtnOk(Ok);
    CForm->SetBtnCancel(Cancel);
    F->SetActiveControl(Name);
    return Form;
}

// A data set with the columns the form's data controls show, and the data source every data
// control of the form is linked to. Made after the controls, which it links.
TDataSource* LinkData(TComponent* F, const char* SetName, const char* SourceName, int Left, int Top,
                      const QList<QPair<const char*, TFieldType>>& Columns)
{
    auto* Data = Make<TClientDataSet>(F, SetName);
    Data->SetDesignPos(Left, Top);
    for (const auto& [Name, Type] : Columns)
        Data->FieldDefs()->AddFieldDef(QString::fromLatin1(Name), Type, Type == DB::ftString ? 40 : 0);
    auto* Source = Make<TDataSource>(F, SourceName);
    Source->SetDesignPos(Left + 80, Top); // far enough apart for their names
    Source->SetDataSet(Data);
    for (int I = 0; I < F->ComponentCount(); ++I) {
        TComponent* C = F->Components(I);
        if (const int At = C->metaObject()->indexOfProperty("DataSource"); At >= 0)
            C->metaObject()->property(At).write(C, QVariant::fromValue<TComponent*>(Source));
    }
    return Source;
}

std::unique_ptr<TForm> BuildCustomer()
{
    std::unique_ptr<TForm> Form(NewForm("FrDemoCustomer", "Customer", 240, 160, 520, 400));
    TForm* F = Form.get();

    // Its strings live in a package file beside the project: the form keeps only the file name.
    auto* Strings = Make<TKvPkgStrings>(F, "PsCustomer");
    Strings->SetDesignPos(16, 320);
    Strings->SetPkgName(CustomerPkg);
    Strings->SetInitMode(TKvPkgInfo::imFILE);
    Strings->SetFileName(CustomerPkgFile);
    Strings->SetDescription(QStringLiteral("Captions and messages of the customer form"));
    TKvPkgStringsLabels* L = Strings->Labels();
    L->Add(clCustomer, QStringLiteral("Customer"), QStringLiteral("What the demo keeps about a customer"));
    L->Add(clCode, QStringLiteral("Code"));
    L->Add(clBalance, QStringLiteral("Balance"), QStringLiteral("What the customer owes today"));
    L->Add(clActive, QStringLiteral("Active"), QStringLiteral("Only active customers are offered in orders"));
    L->Add(clKind, QStringLiteral("Kind"));
    L->Add(clPrivate, QStringLiteral("Private person"));
    L->Add(clCompany, QStringLiteral("Company"));
    L->Add(clCountry, QString(), QStringLiteral("Country of the invoice address"));
    L->Add(clFrance, QStringLiteral("France"));
    L->Add(clGermany, QStringLiteral("Germany"));
    L->Add(clSpain, QStringLiteral("Spain"));
    L->Add(clSave, QStringLiteral("Save"), QStringLiteral("Save the customer"));
    L->Add(clCopy, QStringLiteral("&Copy"), QStringLiteral("Copy the customer's code"));
    L->Add(clNotes, QString(), QStringLiteral("Free notes about the customer"));
    L->Add(clCodeHint, QString(), QStringLiteral("The customer's code, as the accounts know it"));
    Strings->Messages()->Add(cmSave, QStringLiteral("Save the changes to this customer?"));
    Strings->Texts()->Add(ctNotes, QStringLiteral("First order:\nPayment terms:"));

    auto* CForm = Make<TKvCForm>(F, "KvCForm");
    CForm->SetDesignPos(96, 320);
    Refer(CForm->MemoryLabel(), CustomerPkg, clCustomer);

    auto* Popup = Make<TKvPopupMenu>(F, "PmCustomer");
    Popup->SetDesignPos(176, 320);
    MenuItem(F, Popup->Items(), "MiCopy", CustomerPkg, clCopy, imCopy)->SetOnClick(Handler("MiCopyClick"));

    auto* Group = Place<TKvGroupBox>(F, "GbCustomer", F, 12, 12, 488, 168);
    Refer(Group->MemoryLabel(), CustomerPkg, clCustomer);
    Refer(Place<TKvLabel>(F, "LaCode", Group, 16, 28, 64, 17)->MemoryLabel(), CustomerPkg, clCode);
    auto* Code = Place<TKvDbEdit>(F, "DbEdCode", Group, 96, 24, 120, 24);
    Code->SetDataField(QStringLiteral("Code"));
    Refer(Code->MemoryLabel(), CustomerPkg, clCodeHint);
    auto* Balance = Place<TKvDbLabel>(F, "DbLaBalance", Group, 240, 28, 160, 17);
    Balance->SetDataField(QStringLiteral("Balance"));
    Refer(Balance->MemoryLabel(), CustomerPkg, clBalance);
    auto* Active = Place<TKvDbCheckBox>(F, "DbCbActive", Group, 96, 60, 120, 20);
    Active->SetDataField(QStringLiteral("Active"));
    Refer(Active->MemoryLabel(), CustomerPkg, clActive);
    auto* Kind = Place<TKvDbRadioGroup>(F, "DbRgKind", Group, 96, 88, 200, 64);
    Kind->SetDataField(QStringLiteral("Kind"));
    Kind->SetColumns(2);
    Refer(Kind->MemoryLabel(), CustomerPkg, clKind);
    AddListItem(Kind->Items(), QStringLiteral("P"), CustomerPkg, clPrivate);
    AddListItem(Kind->Items(), QStringLiteral("C"), CustomerPkg, clCompany);
    auto* Country = Place<TKvDbComboBox>(F, "DbCbCountry", Group, 312, 88, 160, 24);
    Country->SetDataField(QStringLiteral("Country"));
    Refer(Country->MemoryLabel(), CustomerPkg, clCountry);
    AddListItem(Country->Items(), QStringLiteral("FR"), CustomerPkg, clFrance);
    AddListItem(Country->Items(), QStringLiteral("DE"), CustomerPkg, clGermany);
    AddListItem(Country->Items(), QStringLiteral("ES"), CustomerPkg, clSpain);

    auto* Notes = Place<TKvDbMemo>(F, "DbMeNotes", F, 12, 192, 488, 120);
    Notes->SetDataField(QStringLiteral("Notes"));
    Refer(Notes->MemoryLabel(), CustomerPkg, clNotes);
    Refer(Notes->MemoryText(), CustomerPkg, ctNotes);

    auto* Save = Place<TKvBitBtn>(F, "BtSave", F, 420, 324, 80, 28);
    Save->SetOnClick(Handler("BtSaveClick"));
    Refer(Save->MemoryLabel(), CustomerPkg, clSave);
    Refer(Save->MemoryImage(), DemoPkg, imSave);
    Refer(Save->MemoryMessage(), CustomerPkg, cmSave);
    CForm->SetBtnOk(Save);
    LinkData(F, "CdsCustomer", "DsCustomer", 256, 320,
             {{"Code", DB::ftString}, {"Balance", DB::ftCurrency}, {"Active", DB::ftBoolean}, {"Kind", DB::ftString},
              {"Country", DB::ftString}, {"Notes", DB::ftMemo}});
    F->SetActiveControl(Code);
    return Form;
}

std::unique_ptr<TForm> BuildAbout()
{
    std::unique_ptr<TForm> Form(NewForm("FrDemoAbout", "About the demo", 300, 200, 360, 400));
    TForm* F = Form.get();

    auto* Timer = Make<TKvTimer>(F, "TmBlink");
    Timer->SetDesignPos(16, 320);
    Timer->SetInterval(500);
    Timer->SetOnTimer(Handler("TmBlinkTimer"));
    auto* CForm = Make<TKvCForm>(F, "KvCForm");
    CForm->SetDesignPos(80, 320);
    Refer(CForm->MemoryLabel(), DemoPkg, lbAboutDemo);

    Place<TKvShape>(F, "ShFrame", F, 8, 8, 336, 88);
    auto* Logo = Place<TKvPkgImage>(F, "PiLogo", F, 20, 20, 64, 64);
    Refer(Logo->MemoryImage(), DemoPkg, imLogo);
    Logo->SetCenter(true);
    Refer(Place<TKvLabel>(F, "LaProduct", F, 100, 28, 220, 20)->MemoryLabel(), DemoPkg, lbProduct);
    Refer(Place<TKvLabel>(F, "LaVersion", F, 100, 56, 220, 17)->MemoryLabel(), DemoPkg, lbVersion);
    auto* Memo = Place<TKvMemo>(F, "MeAbout", F, 8, 108, 336, 96);
    Memo->SetReadOnly(true);
    Memo->SetWordWrap(true);
    Refer(Memo->MemoryText(), DemoPkg, txAbout);

    // Formatted credits, stored as a rich edit control stores them.
    auto* Credits = Place<TKvRichEdit>(F, "ReCredits", F, 8, 212, 336, 96);
    Credits->SetReadOnly(true);
    Credits->Lines()->SetList(
        {QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 Tahoma;}"
                        "{\\f1\\fswiss\\fcharset0 Arial;}{\\f2\\fnil\\fcharset2 Symbol;}}"),
         QStringLiteral("{\\colortbl ;\\red0\\green0\\blue128;\\red192\\green0\\blue0;}"),
         QStringLiteral("{\\*\\generator Riched20 5.50.99.2050;}\\viewkind4\\uc1\\pard\\qc\\cf1\\b\\f1\\fs20 "
                        "KvControls Demo\\cf0\\b0\\f0\\fs16\\par"),
         QStringLiteral("\\pard Made with the \\i KvControls\\i0  library:\\par"),
         QStringLiteral("\\pard{\\pntext\\f2\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf2\\pnindent0{\\pntxtb\\'B7}}"
                        "\\fi-200\\li200 strings and images packages\\par"),
         QStringLiteral("{\\pntext\\f2\\'B7\\tab}menus, masks and \\ul rich text\\ulnone\\par"),
         QStringLiteral("\\pard\\qr\\cf2\\i Caf\\'e9 Dev \\'a9 2026\\cf0\\i0\\par"),
         QStringLiteral("}")});

    auto* Close = Place<TKvBitBtn>(F, "BtClose", F, 264, 324, 80, 28);
    Refer(Close->MemoryLabel(), DemoPkg, lbClose);
    Refer(Close->MemoryImage(), DemoPkg, imOk);
    Close->SetModalResult(2);
    Close->SetCancel(true);
    CForm->SetBtnCancel(Close);
    return Form;
}

// ---------------------------------------------------------------------------------------------
// The forms that show the rest of the palette: orders (the data controls), notes (the text,
// picture and navigation controls of "Kv Additional"), settings (the "Kv Editors" and the
// option controls) and an address frame. Each keeps its captions in a strings package of its
// own, stored in the form; pictures come from the "Demo" images package.

QByteArray PngBytes(const QImage& Image)
{
    QByteArray Bytes;
    QBuffer Buffer(&Bytes);
    Buffer.open(QIODevice::WriteOnly);
    Image.save(&Buffer, "PNG");
    return Bytes;
}

// A product photo stand-in: a parcel on a shelf.
QImage ProductPicture()
{
    QImage Image(96, 72, QImage::Format_ARGB32);
    Image.fill(Paper);
    QPainter P(&Image);
    P.setRenderHint(QPainter::Antialiasing);
    P.setPen(Stroke(Ink, 1.5));
    P.drawLine(QPointF(6, 62.5), QPointF(90, 62.5));
    P.setBrush(QColor(0xd9, 0xa4, 0x5b));
    P.drawRect(QRectF(26.5, 20.5, 44, 42));
    P.setPen(Stroke(Red, 3));
    P.drawLine(QPointF(48.5, 21), QPointF(48.5, 62));
    return Image;
}

TKvPkgStrings* FormStrings(TComponent* Owner, const char* Name, const QString& PkgName, const char* Description,
                           const QList<QPair<QString, QString>>& Labels)
{
    auto* Strings = Make<TKvPkgStrings>(Owner, Name);
    Strings->SetPkgName(PkgName);
    Strings->SetDescription(QString::fromLatin1(Description));
    int Id = 0;
    for (const auto& [Caption, Hint] : Labels)
        Strings->Labels()->Add(++Id, Caption, Hint);
    return Strings;
}

void AddTab(TKvCustomPageControl* Pages, TKvTabSheet* Sheet, const QString& Value, const QString& PkgName, int Label,
            int Image)
{
    auto* Tab = static_cast<TKvTabControl*>(Pages->Tabs()->AddItem());
    Tab->SetValue(Variant(Value));
    Tab->SetPageId(Sheet->PageId());
    Refer(Tab->MemoryLabel(), PkgName, Label);
    Refer(Tab->MemoryImage(), DemoPkg, Image);
}

const QString OrdersPkg = QStringLiteral("Orders");
enum TOrdersLabel {
    olOrders = 1, olOrder, olPicture, olNumber, olStatus, olQuantity, olDate, olPost, olCancel, olLoading, olList,
    olRemarks, olProduct, olCount, olToday, olClose
};
enum TOrdersMessage { omPost = 1 };

std::unique_ptr<TForm> BuildOrders()
{
    std::unique_ptr<TForm> Form(NewForm("FrDemoOrders", "Orders", 260, 140, 600, 440));
    TForm* F = Form.get();

    auto* Strings = FormStrings(F, "PsOrders", OrdersPkg, "Captions and messages of the orders form",
                                {{QStringLiteral("Orders"), QStringLiteral("The orders of the selected customer")},
                                 {QStringLiteral("Order"), QString()},
                                 {QStringLiteral("Picture"), QString()},
                                 {QStringLiteral("Number"), QString()},
                                 {QStringLiteral("Status"), QStringLiteral("Open, shipped or paid")},
                                 {QStringLiteral("Quantity"), QStringLiteral("How many the customer ordered")},
                                 {QStringLiteral("Delivery"), QStringLiteral("The day the order leaves")},
                                 {QStringLiteral("Post"), QStringLiteral("Keep the order")},
                                 {QString(), QStringLiteral("Drop the changes to the order")},
                                 {QString(), QStringLiteral("Reading the orders")},
                                 {QString(), QStringLiteral("Click an order to show it")},
                                 {QString(), QStringLiteral("Remarks for the warehouse")},
                                 {QString(), QStringLiteral("Picture of the product; focused, its thumbnail")},
                                 {QStringLiteral("Orders"), QString()},
                                 {QStringLiteral("Today"), QString()},
                                 {QStringLiteral("Close"), QStringLiteral("Close the orders")}});
    Strings->SetDesignPos(200, 344);
    Strings->Messages()->Add(omPost, QStringLiteral("Keep the changes to this order?"));

    auto* CForm = Make<TKvCForm>(F, "KvCForm");
    CForm->SetDesignPos(256, 344);
    Refer(CForm->MemoryLabel(), OrdersPkg, olOrders);
    // Orders are read again every minute, off the user-interface thread.
    auto* Refresh = Make<TKvThreadTimer>(F, "TtRefresh");
    Refresh->SetDesignPos(312, 344);
    Refresh->SetInterval(60000);
    Refresh->SetPriority(2);
    Refresh->SetOnTimer(Handler("TtRefreshTimer"));
    // The widths of the list's columns, kept with the form.
    auto* Layout = Make<TKvCBuffer>(F, "CbLayout");
    Layout->SetDesignPos(368, 344);
    Layout->SetData("Number=60;Status=80;Quantity=60");

    auto* Navigator = Place<TKvDbNavigator>(F, "NvOrders", F, 8, 8, 240, 28);
    Navigator->SetFlat(true);

    auto* List = Place<TKvDbListBox>(F, "DbLbOrders", F, 8, 44, 180, 264);
    List->SetDataField(QStringLiteral("Number"));
    Refer(List->MemoryLabel(), OrdersPkg, olList);
    for (const char* Number : {"O-1001", "O-1002", "O-1003"}) {
        auto* Item = static_cast<TKvListItem*>(List->Items()->AddItem());
        Item->SetValue(Variant(QString::fromLatin1(Number)));
        Item->SetCaption(QString::fromLatin1(Number));
    }
    Place<TKvSplitter>(F, "SpOrders", F, 188, 44, 4, 264);

    auto* Pages = Place<TKvDbPageControl>(F, "DbPcOrder", F, 196, 44, 396, 264);
    Pages->SetDataField(QStringLiteral("View"));
    TKvTabSheet* Order = Pages->CreateTabSheet();
    Order->SetName(QStringLiteral("TsOrder"));
    Order->SetBounds(4, 28, 388, 232);
    TKvTabSheet* Picture = Pages->CreateTabSheet();
    Picture->SetName(QStringLiteral("TsPicture"));
    Picture->SetBounds(4, 28, 388, 232);
    AddTab(Pages, Order, QStringLiteral("O"), OrdersPkg, olOrder, imGeneral);
    AddTab(Pages, Picture, QStringLiteral("P"), OrdersPkg, olPicture, imNotes);
    Pages->SetValue(Variant(QStringLiteral("O")));

    Refer(Place<TKvLabel>(F, "LaNumber", Order, 8, 12, 72, 17)->MemoryLabel(), OrdersPkg, olNumber);
    Place<TKvDbLabel>(F, "DbLaNumber", Order, 88, 12, 120, 17)->SetDataField(QStringLiteral("Number"));
    auto* Status = Place<TKvDbPkgImage>(F, "DbPiStatus", Order, 348, 8, 32, 32);
    Status->SetDataField(QStringLiteral("StatusImage"));
    Status->SetPkgName(DemoPkg);
    Refer(Status->MemoryLabel(), OrdersPkg, olStatus);
    Refer(Place<TKvLabel>(F, "LaQuantity", Order, 8, 44, 72, 17)->MemoryLabel(), OrdersPkg, olQuantity);
    auto* Quantity = Place<TKvEdit>(F, "EdQuantity", Order, 88, 40, 64, 24);
    Refer(Quantity->MemoryLabel(), OrdersPkg, olQuantity);
    auto* QuantitySteps = Place<TKvUpDown>(F, "UdQuantity", Order, 152, 40, 16, 24);
    QuantitySteps->SetMin(1);
    QuantitySteps->SetMax(999);
    QuantitySteps->SetPosition(1);
    QuantitySteps->SetAssociate(Quantity);
    Refer(Place<TKvLabel>(F, "LaDate", Order, 8, 76, 72, 17)->MemoryLabel(), OrdersPkg, olDate);
    // The delivery day steps by days within the coming year.
    auto* Delivery = Place<TKvUpDownEx>(F, "UxDelivery", Order, 88, 72, 120, 24);
    Delivery->SetDataType(KvTypes::dtDateTime);
    Delivery->SetMin(Variant::FromDate(46023)); // 2026-01-01
    Delivery->SetMax(Variant::FromDate(46387)); // 2026-12-31
    Delivery->SetPosition(Variant::FromDate(46174));
    Delivery->SetIncrement(Variant(1));
    Refer(Delivery->MemoryLabel(), OrdersPkg, olDate);
    auto* Remarks = Place<TKvDbRichEdit>(F, "DbReRemarks", Order, 8, 108, 372, 116);
    Remarks->SetDataField(QStringLiteral("Remarks"));
    Refer(Remarks->MemoryLabel(), OrdersPkg, olRemarks);

    auto* Photo = Place<TKvDbImage>(F, "DbImProduct", Picture, 8, 8, 240, 216);
    Photo->SetDataField(QStringLiteral("Picture"));
    Photo->SetGraphicClass(QStringLiteral("PNG"));
    Photo->SetPicture(PngBytes(ProductPicture()));
    Photo->SetCenter(true);
    Refer(Photo->MemoryLabel(), OrdersPkg, olProduct);
    auto* Thumb = Place<TKvDbFocusImage>(F, "DbFiThumbnail", Picture, 260, 8, 120, 96);
    Thumb->SetDataField(QStringLiteral("Thumbnail"));
    Refer(Thumb->MemoryImage(), DemoPkg, imCustomer);
    Refer(Thumb->MemoryImageFocus(), DemoPkg, imLogo);
    Refer(Thumb->MemoryLabel(), OrdersPkg, olProduct);

    auto* Loading = Place<TKvProgressBar>(F, "PbLoading", F, 8, 316, 180, 20);
    Loading->SetShowText(true);
    Refer(Loading->MemoryLabel(), OrdersPkg, olLoading);

    auto* Post = Place<TKvDbBitBtn>(F, "DbBtPost", F, 424, 316, 80, 28);
    static_cast<TKvDbCommandItem*>(Post->Commands()->AddItem())->SetAction(KvTypes::dbaPost);
    Refer(Post->MemoryLabel(), OrdersPkg, olPost);
    Refer(Post->MemoryImage(), DemoPkg, imSave);
    Refer(Post->MemoryMessage(), OrdersPkg, omPost);
    auto* Cancel = Place<TKvDbSpeedButton>(F, "DbSbCancel", F, 512, 316, 28, 28);
    static_cast<TKvDbCommandItem*>(Cancel->Commands()->AddItem())->SetAction(KvTypes::dbaCancel);
    Cancel->SetFlat(true);
    Refer(Cancel->MemoryLabel(), OrdersPkg, olCancel);
    Refer(Cancel->MemoryImage(), DemoPkg, imCancel);

    auto* Bar = Place<TKvStatusBar>(F, "StOrders", F, 0, 386, 600, 22);
    auto* Count = static_cast<TKvStatusBarPanel*>(Bar->Panels()->AddItem());
    Count->SetDataType(KvTypes::dtInteger);
    Count->SetValue(Variant(3));
    Count->SetWidth(120);
    Refer(Count->MemoryLabel(), OrdersPkg, olCount);
    auto* Today = static_cast<TKvStatusBarPanel*>(Bar->Panels()->AddItem());
    Today->SetDataType(KvTypes::dtDateTime);
    Today->SetValue(Variant::FromDate(46174));
    Today->SetWidth(160);
    Refer(Today->MemoryLabel(), OrdersPkg, olToday);

    auto* Close = Place<TKvBitBtn>(F, "BtClose", F, 512, 352, 80, 28);
    Close->SetModalResult(2);
    Close->SetCancel(true);
    Refer(Close->MemoryLabel(), OrdersPkg, olClose);
    Refer(Close->MemoryImage(), DemoPkg, imExit);

    TDataSource* Source = LinkData(F, "CdsOrders", "DsOrders", 264, 4,
                                   {{"Number", DB::ftString}, {"View", DB::ftString}, {"Status", DB::ftString},
                                    {"StatusImage", DB::ftInteger}, {"Quantity", DB::ftInteger},
                                    {"Delivery", DB::ftDate}, {"Remarks", DB::ftMemo}, {"Picture", DB::ftGraphic},
                                    {"Thumbnail", DB::ftGraphic}});
    static_cast<TKvDataSourceItem*>(CForm->DataSources()->AddItem())->SetDataSource(Source);
    CForm->SetBtnOk(Post);
    CForm->SetBtnCancel(Close);
    F->SetActiveControl(List);
    return Form;
}

const QString NotesPkg = QStringLiteral("Notes");
enum TNotesLabel {
    nlNotes = 1, nlCustomers, nlOrders, nlNewCustomer, nlFindCustomer, nlNewOrder, nlNote, nlLetter, nlFont, nlPhoto,
    nlZoom, nlSections, nlClose
};

std::unique_ptr<TForm> BuildNotes()
{
    std::unique_ptr<TForm> Form(NewForm("FrDemoNotes", "Notes", 220, 100, 680, 480));
    TForm* F = Form.get();

    auto* Strings = FormStrings(F, "PsNotes", NotesPkg, "Captions of the notes form",
                                {{QStringLiteral("Notes"), QStringLiteral("Notes and letters to customers")},
                                 {QStringLiteral("Customers"), QString()},
                                 {QStringLiteral("Orders"), QString()},
                                 {QStringLiteral("New customer"), QStringLiteral("Add a customer")},
                                 {QStringLiteral("Find customer"), QStringLiteral("Find a customer by name")},
                                 {QStringLiteral("New order"), QStringLiteral("Add an order")},
                                 {QString(), QStringLiteral("A short note, plain text")},
                                 {QString(), QStringLiteral("The letter, with fonts and colours")},
                                 {QString(), QStringLiteral("Font of the selected text")},
                                 {QString(), QStringLiteral("Drag the photo to move the window")},
                                 {QString(), QStringLiteral("Zoom of the letter")},
                                 {QString(), QStringLiteral("Where to go")},
                                 {QString(), QStringLiteral("Close the notes")}});
    Strings->SetDesignPos(148, 408);
    auto* CForm = Make<TKvCForm>(F, "KvCForm");
    CForm->SetDesignPos(212, 408);
    Refer(CForm->MemoryLabel(), NotesPkg, nlNotes);
    CForm->SetPkgVars(NotesPkg);
    // What the form remembers between runs.
    auto* Vars = Make<TKvPkgVars>(F, "PvNotes");
    Vars->SetDesignPos(276, 408);
    Vars->SetPkgName(NotesPkg);
    Vars->Add(QStringLiteral("Letter\\Zoom"), vtInteger)->SetVInteger(100);
    Vars->Add(QStringLiteral("Letter\\Font"), vtString)->SetVString(QStringLiteral("Arial"));
    Vars->Add(QStringLiteral("Note\\WordWrap"), vtBoolean)->SetVBoolean(true);
    // The window takes the shape of the logo when asked, and moves by its photo.
    auto* Shape = Make<TKvImageForm>(F, "IfShape");
    Shape->SetDesignPos(340, 408);
    Refer(Shape->MemoryImage(), DemoPkg, imLogo);
    auto* Mover = Make<TKvMoveForm>(F, "MfPhoto");
    Mover->SetDesignPos(404, 408);

    // Sections to go to, with a menu of commands on each.
    auto* Sections = Place<TKvOutLookBar>(F, "ObSections", F, 0, 0, 140, 440);
    Refer(Sections->MemoryLabel(), NotesPkg, nlSections);
    auto AddSection = [&](const char* Name, int Label, int Image) {
        auto* Page = Make<TKvOutLookBarPage>(F, Name);
        Page->SetOutLook(Sections);
        Page->SetBounds(0, 0, 140, 440);
        Refer(Page->MemoryLabel(), NotesPkg, Label);
        Refer(Page->MemoryImage(), DemoPkg, Image);
        return Page;
    };
    // The page shown comes last, so that the designer draws it on top.
    TKvOutLookBarPage* Orders = AddSection("PgOrders", nlOrders, imSave);
    TKvOutLookBarPage* Customers = AddSection("PgCustomers", nlCustomers, imCustomer);
    auto* CustomerMenu = Place<TKvPanelMenu>(F, "PmCustomers", Customers, 4, 28, 132, 96);
    CustomerMenu->SetImagesVisible(true);
    MenuItem(F, CustomerMenu->Items(), "MiNewCustomer", NotesPkg, nlNewCustomer, imCustomer)
        ->SetOnClick(Handler("MiNewCustomerClick"));
    MenuItem(F, CustomerMenu->Items(), "MiFindCustomer", NotesPkg, nlFindCustomer, imAbout)
        ->SetOnClick(Handler("MiFindCustomerClick"));
    Refer(Place<TKvFocusImage>(F, "FiOrders", Orders, 38, 40, 64, 64)->MemoryImage(), DemoPkg, imLogo);
    Sections->SetActivePage(Customers);

    auto* NoteBar = Place<TKvMemoBar>(F, "MbNote", F, 148, 8, 200, 28);
    auto* Note = Place<TKvMemo>(F, "MeNote", F, 148, 40, 240, 120);
    Note->SetWordWrap(true);
    Note->Lines()->SetList({QStringLiteral("Call back on Monday."), QStringLiteral("Send the new price list.")});
    Refer(Note->MemoryLabel(), NotesPkg, nlNote);
    NoteBar->SetMemo(Note);

    auto* Photos = Place<TKvScrollBox>(F, "SxPhoto", F, 400, 40, 264, 120);
    Photos->SetHorzRange(320);
    auto* Photo = Place<TKvImage>(F, "ImPhoto", Photos, 0, 0, 96, 72);
    Photo->SetGraphicClass(QStringLiteral("PNG"));
    Photo->SetPicture(PngBytes(ProductPicture()));
    Refer(Photo->MemoryLabel(), NotesPkg, nlPhoto);
    auto* PhotoBar = Place<TKvImageBar>(F, "IbPhoto", F, 400, 8, 160, 28);
    auto* Close = Place<TKvSpeedButton>(F, "SbClose", F, 640, 8, 24, 24);
    Close->SetFlat(true);
    Close->SetModalResult(2);
    Refer(Close->MemoryLabel(), NotesPkg, nlClose);
    Refer(Close->MemoryImage(), DemoPkg, imExit);
    CForm->SetBtnCancel(Close);
    PhotoBar->SetImage(Photo);
    Mover->SetControl(Photo);

    auto* LetterBar = Place<TKvRichEditBar>(F, "RbLetter", F, 148, 172, 240, 28);
    auto* Fonts = Place<TKvFontComboBox>(F, "FcLetter", F, 396, 172, 160, 24);
    Fonts->SetValue(Variant(QStringLiteral("Arial")));
    Refer(Fonts->MemoryLabel(), NotesPkg, nlFont);
    auto* FontList = Place<TKvFontListBox>(F, "FlLetter", F, 564, 204, 100, 196);
    FontList->SetValue(Variant(QStringLiteral("Arial")));
    Refer(FontList->MemoryLabel(), NotesPkg, nlFont);
    Place<TKvRuler>(F, "RuLetter", F, 148, 204, 408, 20);
    auto* Letter = Place<TKvRichEdit>(F, "ReLetter", F, 148, 224, 392, 176);
    Letter->Lines()->SetList({QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}"),
                              QStringLiteral("\\pard\\f0\\fs20 Dear customer,\\par"),
                              QStringLiteral("\\pard your order has left our warehouse \\b today\\b0 .\\par"),
                              QStringLiteral("}")});
    Refer(Letter->MemoryLabel(), NotesPkg, nlLetter);
    LetterBar->SetRichEdit(Letter);
    auto* Zoom = Place<TKvExtScrollBar>(F, "EsZoom", F, 540, 224, 16, 176);
    Zoom->SetKind(KvTypes::orVertical);
    Zoom->SetMin(10);
    Zoom->SetMax(400);
    Zoom->SetPosition(100);
    Zoom->SetLargeChange(50);
    Refer(Zoom->MemoryLabel(), NotesPkg, nlZoom);
    F->SetActiveControl(Note);
    return Form;
}

const QString SettingsPkg = QStringLiteral("Settings");
enum TSettingsLabel {
    slSettings = 1, slLook, slColor, slBackGround, slFont, slRows, slIcon, slColors, slPrinter, slStartPicture,
    slSmallIcons, slLargeIcons, slStart, slCustomers, slOrders, slNotes, slLanguage, slEnglish, slFrench, slAccess,
    slOk, slCancel, slAddImages, slLogoShape, slHeader, slLines
};

std::unique_ptr<TForm> BuildSettings()
{
    std::unique_ptr<TForm> Form(NewForm("FrDemoSettings", "Settings", 280, 120, 600, 500));
    TForm* F = Form.get();

    auto* Strings = FormStrings(F, "PsSettings", SettingsPkg, "Captions of the settings form",
                                {{QStringLiteral("Settings"), QStringLiteral("How the demo looks and starts")},
                                 {QStringLiteral("Look"), QString()},
                                 {QString(), QStringLiteral("Colour set of the lists")},
                                 {QString(), QStringLiteral("Background set of the windows")},
                                 {QString(), QStringLiteral("Font set of the captions")},
                                 {QStringLiteral("Rows"), QStringLiteral("Sets of the header and of the lines")},
                                 {QString(), QStringLiteral("Icon of the demo")},
                                 {QString(), QStringLiteral("Colour of the selection")},
                                 {QString(), QStringLiteral("Printer of the reports")},
                                 {QStringLiteral("Show the start picture"), QString()},
                                 {QStringLiteral("Small icons"), QString()},
                                 {QStringLiteral("Large icons"), QString()},
                                 {QStringLiteral("Open at start"), QString()},
                                 {QStringLiteral("Customers"), QString()},
                                 {QStringLiteral("Orders"), QString()},
                                 {QStringLiteral("Notes"), QString()},
                                 {QString(), QStringLiteral("Language of the captions")},
                                 {QStringLiteral("English"), QString()},
                                 {QStringLiteral("French"), QString()},
                                 {QString(), QStringLiteral("What the user may do")},
                                 {QStringLiteral("OK"), QString()},
                                 {QStringLiteral("Cancel"), QString()},
                                 {QStringLiteral("Add images"), QString()},
                                 {QStringLiteral("Shape of the logo"), QString()},
                                 {QStringLiteral("Header"), QString()},
                                 {QStringLiteral("Lines"), QString()}});
    Strings->SetDesignPos(16, 420);
    auto* CForm = Make<TKvCForm>(F, "KvCForm");
    CForm->SetDesignPos(80, 420);
    Refer(CForm->MemoryLabel(), SettingsPkg, slSettings);
    // The privileges a user of the demo can be given.
    auto* Access = Make<TKvPkgPrivileges>(F, "PpAccess");
    Access->SetDesignPos(144, 420);
    Access->SetDescription(QStringLiteral("Privileges of the demo's users"));
    Access->Add(1)->SetDescription(QStringLiteral("Read customers"));
    Access->FindId(1)->SetAccess(TKvPkgPrivilegesItem::AccessRead);
    Access->Add(2)->SetDescription(QStringLiteral("Change customers"));
    Access->Add(3)->SetDescription(QStringLiteral("Delete orders"));
    // The image dialogs, for users who bring their own icons.
    auto* AddImages = Make<TKvPkgImagesAdd>(F, "IaDemo");
    AddImages->SetDesignPos(208, 420);
    AddImages->SetPkgName(DemoPkg);
    Refer(AddImages->MemoryLabel(), SettingsPkg, slAddImages);
    auto* LogoShape = Make<TKvPkgImagesDesignRgn>(F, "DrLogo");
    LogoShape->SetDesignPos(272, 420);
    Refer(LogoShape->MemoryImage(), DemoPkg, imLogo);
    Refer(LogoShape->MemoryLabel(), SettingsPkg, slLogoShape);

    // The display sets chosen for the demo's windows.
    auto* Look = Place<TKvGroupBox>(F, "GbLook", F, 8, 8, 376, 248);
    Refer(Look->MemoryLabel(), SettingsPkg, slLook);
    Refer(Place<TKvLBSetsColor>(F, "LsColor", Look, 8, 20, 116, 120)->MemoryLabel(), SettingsPkg, slColor);
    Refer(Place<TKvCBSetsColor>(F, "CsColor", Look, 8, 148, 116, 24)->MemoryLabel(), SettingsPkg, slColor);
    Refer(Place<TKvLBSetsBackGround>(F, "LsBackGround", Look, 130, 20, 116, 120)->MemoryLabel(), SettingsPkg,
          slBackGround);
    Refer(Place<TKvCBSetsBackGround>(F, "CsBackGround", Look, 130, 148, 116, 24)->MemoryLabel(), SettingsPkg,
          slBackGround);
    Refer(Place<TKvLBSetsFont>(F, "LsFont", Look, 252, 20, 116, 120)->MemoryLabel(), SettingsPkg, slFont);
    Refer(Place<TKvCBSetsFont>(F, "CsFont", Look, 252, 148, 116, 24)->MemoryLabel(), SettingsPkg, slFont);
    auto* Rows = Place<TKvSetsGroup>(F, "SgRows", Look, 8, 180, 360, 60);
    Refer(Rows->MemoryLabel(), SettingsPkg, slRows);
    for (int Label : {slHeader, slLines})
        Refer(static_cast<TKvSetsGroupItem*>(Rows->Items()->AddItem())->MemoryLabel(), SettingsPkg, Label);

    auto* Icons = Place<TKvLBPkgImages>(F, "LiIcon", F, 392, 8, 200, 112);
    Icons->SetPkgName(DemoPkg);
    Icons->SetDataType(KvTypes::dtInteger);
    Icons->SetValue(Variant(int(imLogo)));
    Refer(Icons->MemoryLabel(), SettingsPkg, slIcon);
    auto* Icon = Place<TKvCBPkgImages>(F, "CiIcon", F, 392, 128, 200, 24);
    Icon->SetPkgName(DemoPkg);
    Icon->SetDataType(KvTypes::dtInteger);
    Icon->SetValue(Variant(int(imCustomer)));
    Refer(Icon->MemoryLabel(), SettingsPkg, slIcon);
    Refer(Place<TKvLBColors>(F, "LcSelection", F, 392, 160, 200, 64)->MemoryLabel(), SettingsPkg, slColors);
    auto* Selection = Place<TKvCBColors>(F, "CcSelection", F, 392, 232, 200, 24);
    Selection->SetValue(Variant(0xC06C2D)); // the demo's blue, $00BBGGRR
    Refer(Selection->MemoryLabel(), SettingsPkg, slColors);

    auto* StartPicture = Place<TKvCheckBox>(F, "CkStartPicture", F, 8, 268, 200, 20);
    StartPicture->SetDataType(KvTypes::dtBoolean);
    StartPicture->SetValueChecked(Variant(true));
    StartPicture->SetValueUnchecked(Variant(false));
    StartPicture->SetValue(Variant(true));
    Refer(StartPicture->MemoryLabel(), SettingsPkg, slStartPicture);
    auto* Small = Place<TKvRadioButton>(F, "RbSmallIcons", F, 8, 292, 120, 20);
    Small->SetValueChecked(Variant(QStringLiteral("16")));
    Small->SetValue(Variant(QStringLiteral("16")));
    Refer(Small->MemoryLabel(), SettingsPkg, slSmallIcons);
    auto* Large = Place<TKvRadioButton>(F, "RbLargeIcons", F, 136, 292, 120, 20);
    Large->SetValueChecked(Variant(QStringLiteral("32")));
    Refer(Large->MemoryLabel(), SettingsPkg, slLargeIcons);
    auto* Start = Place<TKvRadioGroup>(F, "RgStart", F, 8, 320, 248, 88);
    Refer(Start->MemoryLabel(), SettingsPkg, slStart);
    AddListItem(Start->Items(), QStringLiteral("C"), SettingsPkg, slCustomers, imCustomer);
    AddListItem(Start->Items(), QStringLiteral("O"), SettingsPkg, slOrders, imSave);
    AddListItem(Start->Items(), QStringLiteral("N"), SettingsPkg, slNotes, imNotes);
    Start->SetValue(Variant(QStringLiteral("C")));
    auto* Language = Place<TKvComboBox>(F, "CbLanguage", F, 264, 268, 120, 24);
    Refer(Language->MemoryLabel(), SettingsPkg, slLanguage);
    AddListItem(Language->Items(), QStringLiteral("en"), SettingsPkg, slEnglish);
    AddListItem(Language->Items(), QStringLiteral("fr"), SettingsPkg, slFrench);
    Language->SetValue(Variant(QStringLiteral("en")));
    Refer(Place<TKvCBPrinters>(F, "CpReports", F, 264, 300, 120, 24)->MemoryLabel(), SettingsPkg, slPrinter);
    auto* Privileges = Place<TKvLBPrivileges>(F, "LpUser", F, 392, 268, 200, 140);
    Refer(Privileges->MemoryLabel(), SettingsPkg, slAccess);

    auto* Ok = Place<TKvBitBtn>(F, "BtOk", F, 424, 420, 80, 28);
    Refer(Ok->MemoryLabel(), SettingsPkg, slOk);
    Refer(Ok->MemoryImage(), DemoPkg, imOk);
    Ok->SetModalResult(1);
    Ok->SetDefault(true);
    auto* Cancel = Place<TKvBitBtn>(F, "BtCancel", F, 512, 420, 80, 28);
    Refer(Cancel->MemoryLabel(), SettingsPkg, slCancel);
    Refer(Cancel->MemoryImage(), DemoPkg, imCancel);
    Cancel->SetModalResult(2);
    Cancel->SetCancel(true);
    CForm->SetBtnOk(Ok);
    CForm->SetBtnCancel(Cancel);
    return Form;
}

// A frame other forms place to ask for an address; its captions are its own, so that it
// shows the same wherever it is placed.
std::unique_ptr<TFrame> BuildAddress()
{
    auto Frame = std::make_unique<TFrame>(nullptr);
    TFrame* F = Frame.get();
    F->SetName(QStringLiteral("FaDemoAddress"));
    F->SetDesignClassName(QStringLiteral("TFaDemoAddress"));
    F->SetBounds(0, 0, 360, 72);
    auto* CFrame = Make<TKvCFrame>(F, "KvCFrame");
    CFrame->SetDesignPos(296, 8);
    CFrame->SetPkgVars(QStringLiteral("Application"));
    Place<TKvLabel>(F, "LaStreet", F, 8, 12, 64, 17)->SetCaption(TKvMultiLine(QStringLiteral("Street")));
    Place<TKvEdit>(F, "EdStreet", F, 80, 8, 192, 24)->SetMaxLength(80);
    Place<TKvLabel>(F, "LaCity", F, 8, 44, 64, 17)->SetCaption(TKvMultiLine(QStringLiteral("City")));
    Place<TKvEdit>(F, "EdCity", F, 80, 40, 160, 24)->SetMaxLength(40);
    return Frame;
}

// ---------------------------------------------------------------------------------------------
// Checks and output

// Every package reference of the forms that names an item must find it: the demo shows no
// caption that is not there.
// Every package reference of the forms that names an item must find it: the demo shows no
// caption that is not there. References are published sub-objects of the components and of
// their collections' items. Counted gives the number of references checked.
QStringList DanglingReferences(const QList<TComponent*>& Roots, int& Counted)
{
    QStringList Dangling;
    Counted = 0;
    std::function<void(const QObject*)> Visit = [&](const QObject* Object) {
        const QMetaObject* Meta = Object->metaObject();
        for (int I = 0; I < Meta->propertyCount(); ++I) {
            const QMetaProperty Property = Meta->property(I);
            if (!(Property.metaType().flags() & QMetaType::PointerToQObject))
                continue;
            const QObject* Value = Property.read(Object).value<QObject*>();
            if (const auto* Collection = qobject_cast<const TCollection*>(Value))
                for (int J = 0; J < Collection->Count(); ++J)
                    Visit(Collection->Items(J));
            const auto* Ref = qobject_cast<const TKvMemoryReference*>(Value);
            if (!Ref || Ref->TargetId() < 0)
                continue;
            ++Counted;
            bool Found = false;
            if (const auto* R = qobject_cast<const TKvMemoryLabel*>(Ref))
                Found = R->Label();
            else if (const auto* R = qobject_cast<const TKvMemoryMessage*>(Ref))
                Found = R->Message();
            else if (const auto* R = qobject_cast<const TKvMemoryText*>(Ref))
                Found = R->Item();
            else if (const auto* R = qobject_cast<const TKvMemoryImage*>(Ref))
                Found = !R->Graphic().isNull();
            if (!Found)
                Dangling << QStringLiteral("%1.%2 -> %3/%4")
                                .arg(Object->objectName(), QString::fromLatin1(Property.name()), Ref->TargetPkgName())
                                .arg(Ref->TargetId());
        }
    };
    for (const TComponent* Root : Roots) {
        Visit(Root);
        for (int I = 0; I < Root->ComponentCount(); ++I)
            Visit(Root->Components(I));
    }
    return Dangling;
}

void WriteFile(const QString& Path, const QByteArray& Data)
{
    try {
        KvWriteFile(Path, Data);
    } catch (const EInOutError& e) {
        throw EWriteError(QStringLiteral("Cannot write %1").arg(e.Message));
    }
}

int Run(const QString& Dir)
{
    KvRegisterRuntimeClasses();
    // Relative package file names resolve against the project, as in the designer.
    KvSetAppPath(Dir);

    struct TOut
    {
        const char* File;
        std::unique_ptr<TComponent> Form;
        QByteArray Text;
        const QMetaObject* Class = nullptr;
    };
    TOut Forms[] = {{"KvDemoMain.dfm", BuildMain(), {}},         {"KvDemoCustomer.dfm", BuildCustomer(), {}},
                    {"KvDemoAbout.dfm", BuildAbout(), {}},       {"KvDemoOrders.dfm", BuildOrders(), {}},
                    {"KvDemoNotes.dfm", BuildNotes(), {}},       {"KvDemoSettings.dfm", BuildSettings(), {}},
                    {"KvDemoAddress.dfm", BuildAddress(), {}}};
    QList<TComponent*> Roots;
    for (TOut& Out : Forms)
        Roots << Out.Form.get();
    int Built = 0;
    if (const QStringList Dangling = DanglingReferences(Roots, Built); !Dangling.isEmpty()) {
        fprintf(stderr, "kv_make_demo: references to missing package items:\n  %s\n",
                qPrintable(Dangling.join(QStringLiteral("\n  "))));
        return 1;
    }

    for (TKvPkgStrings* Pkg : KvPkgStringsAll())
        if (Pkg->IsFileBacked())
            Pkg->SaveFile();
    for (TComponent* Root : Roots)
        for (int I = 0; I < Root->ComponentCount(); ++I)
            if (auto* App = qobject_cast<TKvCApplication*>(Root->Components(I)))
                App->PkgDisplay()->SaveFile();
    for (TOut& Out : Forms) {
        Out.Text = WriteComponentText(Out.Form.get(), TLineBreak::CRLF);
        Out.Class = Out.Form->metaObject(); // TForm or TFrame, to read it back as
        WriteFile(QDir(Dir).filePath(QString::fromLatin1(Out.File)), Out.Text);
    }
    for (TOut& Out : Forms)
        Out.Form.reset();

    // What was written reads back into the same forms (the package file included) and writes
    // the same bytes again.
    std::vector<std::unique_ptr<TComponent>> Read;
    for (TOut& Out : Forms) {
        Read.emplace_back(ReadComponentStream(Out.Text, nullptr, Out.Class));
        if (WriteComponentText(Read.back().get(), TLineBreak::CRLF) != Out.Text) {
            fprintf(stderr, "kv_make_demo: %s does not read back as written\n", Out.File);
            return 1;
        }
    }
    QList<TComponent*> ReadRoots;
    for (const auto& Root : Read)
        ReadRoots << Root.get();
    int ReadCount = 0;
    if (const QStringList Dangling = DanglingReferences(ReadRoots, ReadCount); !Dangling.isEmpty() || ReadCount != Built) {
        fprintf(stderr, "kv_make_demo: after reading back, %d of %d references, missing package items:\n  %s\n",
                ReadCount, Built, qPrintable(Dangling.join(QStringLiteral("\n  "))));
        return 1;
    }
    printf("kv_make_demo: wrote the demo forms, %s and %s to %s (%d package references)\n", qPrintable(CustomerPkgFile),
           qPrintable(DisplayFile), qPrintable(QDir::toNativeSeparators(Dir)), Built);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    // Drawing the icons needs a GUI application, not a screen.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication App(argc, argv);
    const QStringList Args = QCoreApplication::arguments();
    if (Args.size() > 2 || (Args.size() == 2 && Args.at(1).startsWith(u'-'))) {
        fprintf(stderr, "Usage: kv_make_demo [DIR]\n");
        return 2;
    }
    const QString Dir = QDir(Args.size() == 2 ? Args.at(1) : QStringLiteral(KV_DEMO_DIR)).absolutePath();
    try {
        return Run(Dir);
    } catch (const Exception& E) {
        fprintf(stderr, "kv_make_demo: %s\n", qPrintable(E.Message));
    } catch (const std::exception& E) {
        fprintf(stderr, "kv_make_demo: %s\n", E.what());
    }
    return 1;
}
