// kv_make_demo: writes the demo project's forms and package files.
//
//   kv_make_demo [DIR]        (DIR: the demo folder, demo/ of the sources when omitted)
//
// The demo (demo/KvDemo.dpr and its three units) shows the library as a developer uses it: an
// application component with its packages, a strings package kept in the main form, another in
// a package file of its own beside the project (KvDemoCustomer.kvstr), an images package with a
// few drawn icons, and controls, menus and pages whose captions, hints, messages, texts and
// images refer to items of those packages. This program builds the forms with the runtime
// classes and writes them as the designer writes them (text form files, CRLF), so that opening a
// demo form in kvdesigner and saving it unchanged gives the same bytes. Before it ends it checks
// that every package reference of the three forms finds its item (the about form's refer to the
// main form's packages, which the designer opens first) and that the written forms read back
// as written.
//
// The .dpr and .pas files are kept by hand: when a component or an event handler is added here,
// add its field or method to the unit too. To regenerate the demo:
//   cmake --build --preset release --target kv_make_demo && build/release/tools/kv_make_demo
// then open the demo in kvdesigner to look at it, and commit the written files.

#include "Controls.h"
#include "Filer.h"
#include "KvApplication.h"
#include "KvDbCtrls.h"
#include "KvExtCtrls.h"
#include "KvMenus.h"
#include "KvPkgImages.h"
#include "KvPkgStrings.h"
#include "KvRuntimeClasses.h"
#include "KvFiles.h"
#include "KvStdCtrls.h"

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

std::unique_ptr<TForm> BuildMain()
{
    std::unique_ptr<TForm> Form(NewForm("FrDemoMain", "KvControls Demo", 200, 120, 600, 420));
    TForm* F = Form.get();

    auto* App = Make<TKvCApplication>(F, "KvApp");
    App->SetDesignPos(352, 240);
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
        std::unique_ptr<TForm> Form;
        QByteArray Text;
    };
    TOut Forms[] = {{"KvDemoMain.dfm", BuildMain(), {}},
                    {"KvDemoCustomer.dfm", BuildCustomer(), {}},
                    {"KvDemoAbout.dfm", BuildAbout(), {}}};
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
    for (TOut& Out : Forms) {
        Out.Text = WriteComponentText(Out.Form.get(), TLineBreak::CRLF);
        WriteFile(QDir(Dir).filePath(QString::fromLatin1(Out.File)), Out.Text);
    }
    for (TOut& Out : Forms)
        Out.Form.reset();

    // What was written reads back into the same forms (the package file included) and writes
    // the same bytes again.
    std::vector<std::unique_ptr<TComponent>> Read;
    for (TOut& Out : Forms) {
        Read.emplace_back(ReadComponentStream(Out.Text, nullptr, &TForm::staticMetaObject));
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
    printf("kv_make_demo: wrote the demo forms and %s to %s (%d package references)\n", qPrintable(CustomerPkgFile),
           qPrintable(QDir::toNativeSeparators(Dir)), Built);
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
