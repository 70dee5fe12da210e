#include "display/KvSetAddDialog.h"
#include "display/KvVtSetPicker.h"
#include "display/KvVtSetsEditor.h"
#include "strings/KvVtMemoryLabel.h"

#include "registration/KvPropEditors.h"

#include "Colors.h"
#include "DesignIntf.h"
#include "KvApplication.h"
#include "KvDesignHooks.h"
#include "KvDialogs.h"
#include "KvGraphics.h"
#include "KvMessages.h"
#include "KvPkgDisplay.h"
#include "KvReferences.h"
#include "KvStdCtrls.h"
#include "TypInfo.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>

namespace {

template <class T>
T* Ctl(QWidget* Window, const char* Name)
{
    T* Control = Window->findChild<T*>(QString::fromLatin1(Name));
    EXPECT_NE(Control, nullptr) << Name;
    return Control;
}

// Runs Action on the modal window that opens next, once its event loop runs.
void OnModal(std::function<void(QWidget*)> Action)
{
    QTimer::singleShot(0, [Action] {
        QWidget* Window = QApplication::activeModalWidget();
        ASSERT_NE(Window, nullptr);
        Action(Window);
    });
}

void TypeInto(QLineEdit* Box, const QString& Text)
{
    Box->setFocus();
    Box->selectAll();
    QTest::keyClick(Box, Qt::Key_Backspace);
    QTest::keyClicks(Box, Text);
}

// Lays the rows out without running the event loop, where a scheduled action may be waiting.
void ClickRow(QAbstractItemView* List, int Row, bool Double = false)
{
    List->doItemsLayout();
    const QRect Rect = List->visualRect(List->model()->index(Row, 0));
    ASSERT_TRUE(Rect.isValid());
    QTest::mouseClick(List->viewport(), Qt::LeftButton, {}, Rect.center());
    if (Double)
        QTest::mouseDClick(List->viewport(), Qt::LeftButton, {}, Rect.center());
}

QStringList RowNames(const TKvSetsModel* Model)
{
    QStringList Names;
    for (int I = 0; I < Model->rowCount(); ++I)
        Names << Model->Set(I)->Name();
    return Names;
}

class NullDesigner : public IDesigner
{
public:
    int ModifiedCount = 0;
    void Modified() override { ++ModifiedCount; }
    TMethod CreateMethod(const QString& Name, const QString&) override { return TMethod{Name}; }
    QString GetMethodName(const TMethod& Method) const override { return Method.Name; }
    bool MethodExists(const QString&) const override { return false; }
    void ShowMethod(const QString&) override {}
    TDesignerSelectionList GetSelections() const override { return {}; }
    void SetSelections(const TDesignerSelectionList&) override {}
    void SelectComponent(TPersistent*) override {}
    QStringList GetComponentNames(const QMetaObject*) const override { return {}; }
    TComponent* GetComponent(const QString&) const override { return nullptr; }
    TComponent* CreateComponent(const QMetaObject*, TComponent*, int, int, int, int) override { return nullptr; }
    QString UniqueName(const QString& BaseName) const override { return BaseName; }
    TComponent* GetRoot() const override { return nullptr; }
};

// An application whose display package holds a few sets of each kind.
class SetsTest : public ::testing::Test
{
protected:
    TKvCApplication FApp;
    QList<TPersistent*> FModified;

    TKvPkgDisplay* Display() { return FApp.PkgDisplay(); }

    void SetUp() override
    {
        FApp.SetName(QStringLiteral("App1"));
        FApp.SetActive();
        for (const char* Name : {"Red", "blue", "Green"})
            Display()->SetsColor()->Add(QString::fromLatin1(Name));
        Display()->SetsColor()->Find(QStringLiteral("Red"))->SetColor(TColor{0x0000FF});
        Display()->SetsFont()->Add(QStringLiteral("Title"));
        Display()->SetsBackGround()->Add(QStringLiteral("Panel"));
        KvDsgnModified = [this](TPersistent* Object) { FModified << Object; };
    }
    void TearDown() override { KvDsgnModified = nullptr; }
};

// ---------------------------------------------------------------------------------------------
// Names, order and row texts

TEST_F(SetsTest, UniqueNamesTakeTheLowestFreeNumber)
{
    TKvSetColorList* Colors = Display()->SetsColor();
    EXPECT_EQ(KvUniqueSetName(TKvSetKind::Color, Display()), QStringLiteral("sc1"));
    Colors->Add(QStringLiteral("sc1"));
    Colors->Add(QStringLiteral("SC3"));
    Colors->Add(QStringLiteral("sc02")); // not sc2 as written
    EXPECT_EQ(KvUniqueSetName(TKvSetKind::Color, Display()), QStringLiteral("sc2"));
    Colors->Add(QStringLiteral("sc2"));
    EXPECT_EQ(KvUniqueSetName(TKvSetKind::Color, Display()), QStringLiteral("sc4"));
    EXPECT_EQ(KvUniqueSetName(TKvSetKind::Font, Display()), QStringLiteral("sf1"));
    Display()->SetsBackGround()->Add(QStringLiteral("sb1"));
    EXPECT_EQ(KvUniqueSetName(TKvSetKind::BackGround, Display()), QStringLiteral("sb2"));
}

TEST_F(SetsTest, RowsSortWithoutCaseAndSearchFindsTheFirstNotBefore)
{
    Display()->SetsColor()->Clear();
    for (const char* Name : {"b2", "C", "a", "B1", "b"})
        Display()->SetsColor()->Add(QString::fromLatin1(Name));
    TKvSetsModel Model(TKvSetKind::Color);
    Model.Fill(Display());
    EXPECT_EQ(RowNames(&Model), QStringList({"a", "b", "B1", "b2", "C"}));
    EXPECT_EQ(Model.Search(QStringLiteral("B2")), 3);
    EXPECT_EQ(Model.Search(QStringLiteral("b10")), 3);
    EXPECT_EQ(Model.Search(QStringLiteral("a1")), 1);
    EXPECT_EQ(Model.Search(QStringLiteral("")), 0);
    EXPECT_FALSE(Model.Search(QStringLiteral("d")).has_value());
}

TEST_F(SetsTest, RowTextsShowWhatEachKindHolds)
{
    TKvSetColorItem* Red = Display()->SetsColor()->Find(QStringLiteral("Red"));
    Red->SetDescription(QStringLiteral("Alarms"));
    EXPECT_EQ(KvSetText(TKvSetKind::Color, Red), QStringLiteral("Red (RGB:255,0,0)\nAlarms"));
    // A system colour shows the RGB it resolves to.
    Red->SetColor(TColor{KvColors::clBtnFace});
    const QColor Face = QColor::fromRgb(ColorToRGB(KvColors::clBtnFace));
    EXPECT_EQ(KvSetFirstLine(TKvSetKind::Color, Red),
              QStringLiteral("Red (RGB:%1,%2,%3)").arg(Face.red()).arg(Face.green()).arg(Face.blue()));

    TKvSetFontItem* Title = Display()->SetsFont()->Find(QStringLiteral("Title"));
    QFont Font(QStringLiteral("Sans"));
    Font.setPointSize(14);
    Title->SetFont(Font);
    EXPECT_EQ(KvSetText(TKvSetKind::Font, Title), QStringLiteral("Title (Size : 14)\n......"));

    TKvSetBackGroundItem* Panel = Display()->SetsBackGround()->Find(QStringLiteral("Panel"));
    Panel->SetStyle(bgsImageCenter);
    EXPECT_EQ(KvSetFirstLine(TKvSetKind::BackGround, Panel), QStringLiteral("Panel (ImageCenter)"));
    EXPECT_EQ(KvSetsStatus(TKvSetKind::BackGround, 1), QStringLiteral("1 SetBackGround"));
    EXPECT_EQ(KvSetsStatus(TKvSetKind::Color, 3), QStringLiteral("3 SetsColor"));
}

// ---------------------------------------------------------------------------------------------
// Drawings

TEST_F(SetsTest, SwatchesPaintTheSetInsideTheirFrames)
{
    const QPalette Palette = QApplication::palette();
    const auto Paint = [&](TKvSetKind Kind, const TKvDisplaySet* Set) {
        QImage Image(43, 28, QImage::Format_RGB32);
        Image.fill(Qt::magenta);
        QPainter P(&Image);
        KvPaintSetSwatch(Kind, P, Image.rect(), Set, Palette);
        return Image;
    };
    const QImage Red = Paint(TKvSetKind::Color, Display()->SetsColor()->Find(QStringLiteral("Red")));
    EXPECT_EQ(Red.pixel(0, 0), Palette.color(QPalette::Button).rgb());
    EXPECT_EQ(Red.pixel(1, 1), Palette.color(QPalette::Dark).rgb());
    EXPECT_EQ(Red.pixel(2, 2), QColor(Qt::magenta).rgb()); // the list's own brush between frame and colour
    EXPECT_EQ(Red.pixel(3, 3), qRgb(255, 0, 0));
    EXPECT_EQ(Red.pixel(39, 24), qRgb(255, 0, 0));

    const QImage Font = Paint(TKvSetKind::Font, Display()->SetsFont()->Find(QStringLiteral("Title")));
    int Black = 0;
    for (int Y = 3; Y < 25; ++Y)
        for (int X = 3; X < 40; ++X)
            Black += qGray(Font.pixel(X, Y)) < 128;
    EXPECT_GT(Black, 20) << "\"Abc\" is drawn on white";
    EXPECT_EQ(Font.pixel(3, 3), qRgb(255, 255, 255));

    // Image styles show the image whole in a swatch; a missing image leaves the solid colour.
    TKvSetBackGroundItem* Panel = Display()->SetsBackGround()->Find(QStringLiteral("Panel"));
    Panel->SetSolidColor(TColor{0x00FF00});
    Panel->SetStyle(bgsImageTopLeft);
    EXPECT_EQ(Paint(TKvSetKind::BackGround, Panel).pixel(39, 24), qRgb(0, 255, 0));
    Panel->SetStyle(bgsHorizontal);
    Panel->SetStartGraColor(TColor{0x000000});
    Panel->SetEndGraColor(TColor{0xFFFFFF});
    const QImage Gradient = Paint(TKvSetKind::BackGround, Panel);
    EXPECT_LT(qGray(Gradient.pixel(3, 10)), 20);
    EXPECT_GT(qGray(Gradient.pixel(39, 10)), 235);
}

TEST_F(SetsTest, BackGroundPreviewPlacesAWideImageAtHalfWidthCentred)
{
    TKvPkgImages* User = Display()->PkgUser();
    QImage Picture(40, 20, QImage::Format_RGB32);
    Picture.fill(Qt::blue);
    TKvPkgImagesImage* Image = User->Images()->Add(7);
    Image->SetGraphic(Picture);
    TKvSetBackGroundItem* Panel = Display()->SetsBackGround()->Find(QStringLiteral("Panel"));
    Panel->SetStyle(bgsImageCenter);
    Panel->SetSolidColor(TColor{0x0000FF});
    Panel->SetImage(User->PkgName(), 7);

    TFrSetsBackGroundAdd Dialog;
    Dialog.FModify = true;
    Dialog.FCApplication = &FApp;
    Dialog.SetSet(Panel);
    OnModal([&](QWidget*) {
        EXPECT_EQ(Ctl<QComboBox>(&Dialog, "CBStyle")->currentText(), QStringLiteral("bgsImageCenter"));
        const QImage& R = Dialog.Result();
        ASSERT_FALSE(R.isNull());
        const int W = R.width(), H = R.height();
        EXPECT_EQ(R.pixel(W / 2, H / 2), qRgb(0, 0, 255)) << "the image in the centre";
        EXPECT_EQ(R.pixel(W / 4 - 3, H / 2), qRgb(255, 0, 0)) << "solid colour left of it";
        EXPECT_EQ(R.pixel(W / 4 + 3, H / 2), qRgb(0, 0, 255)) << "the image starts a quarter in";
        EXPECT_EQ(R.pixel(3 * W / 4 + 3, H / 2), qRgb(255, 0, 0));
        // Another style repaints at once.
        Ctl<QComboBox>(&Dialog, "CBStyle")->setCurrentIndex(bgsSolid);
        EXPECT_EQ(Dialog.Result().pixel(W / 2, H / 2), qRgb(255, 0, 0));
        Dialog.reject();
    });
    EXPECT_EQ(Dialog.Execute(), 2);
    EXPECT_EQ(Panel->Style(), bgsImageCenter);
}

// ---------------------------------------------------------------------------------------------
// The pickers

TEST_F(SetsTest, PickerSearchesByTypingAndSelectsByMouse)
{
    TKvSetColor Ref(nullptr, QStringLiteral("Green"));
    TFrSetColor Picker;
    Picker.FSetColor = &Ref;
    OnModal([&](QWidget*) {
        auto* List = Ctl<TKvSetsListView>(&Picker, "Colors");
        auto* Name = Ctl<QLineEdit>(&Picker, "EdDescrip");
        EXPECT_EQ(Picker.windowTitle(), QStringLiteral("SetsColor (App1)"));
        EXPECT_EQ(Ctl<QStatusBar>(&Picker, "StatusBar1")->currentMessage(), QStringLiteral("3 SetsColor"));
        EXPECT_EQ(Picker.Model()->Set(List->CurrentRow())->Name(), QStringLiteral("Green"));

        ClickRow(List, 0);
        EXPECT_EQ(Name->text(), QStringLiteral("blue"));
        TypeInto(Name, QStringLiteral("r"));
        EXPECT_EQ(Picker.Model()->Set(List->CurrentRow())->Name(), QStringLiteral("Red"));
        // Past the last name the current set stays.
        QTest::keyClicks(Name, QStringLiteral("zz"));
        EXPECT_EQ(Picker.Model()->Set(List->CurrentRow())->Name(), QStringLiteral("Red"));
        // Keys on the list move the current set and the name follows.
        List->setFocus();
        QTest::keyClick(List, Qt::Key_Up);
        QTest::keyClick(List, Qt::Key_Up);
        EXPECT_EQ(Name->text(), QStringLiteral("blue"));
        ClickRow(List, 1, true);
    });
    EXPECT_EQ(Picker.Execute(), 1);
    EXPECT_EQ(Ref.Name(), QStringLiteral("Green"));
}

TEST_F(SetsTest, PickerStoresDefaultNullAndTypedNames)
{
    struct Case
    {
        QString Start;
        bool UseDefault;
        std::function<void(TKvSetPicker&)> Act;
        QString Shown; // on opening
        QString Stored;
    };
    const auto Ok = [](TKvSetPicker& P) { QTest::mouseClick(Ctl<QPushButton>(&P, "BtOk"), Qt::LeftButton); };
    const QList<Case> Cases = {
        {"<Default>", true, Ok, "Red", "<Default>"},
        {"Green", true, [](TKvSetPicker& P) {
             TypeInto(Ctl<QLineEdit>(&P, "EdDescrip"), QStringLiteral("rED"));
             QTest::keyClick(Ctl<QLineEdit>(&P, "EdDescrip"), Qt::Key_Return);
         }, "Green", "<Default>"},
        {"Green", true, [](TKvSetPicker& P) { QTest::mouseClick(Ctl<QPushButton>(&P, "BtNull"), Qt::LeftButton); },
         "Green", ""},
        {"Green", true, [](TKvSetPicker& P) { QTest::mouseClick(Ctl<QPushButton>(&P, "BtDefault"), Qt::LeftButton); },
         "Green", "<Default>"},
        {"Green", true, [Ok](TKvSetPicker& P) {
             TypeInto(Ctl<QLineEdit>(&P, "EdDescrip"), QStringLiteral("Nowhere"));
             Ok(P);
         }, "Green", "Nowhere"},
        {"Green", true, [](TKvSetPicker& P) { QTest::keyClick(&P, Qt::Key_Escape); }, "Green", "Green"},
        // A font reference without its default shows and stores names as they are.
        {"<Default>", false, Ok, "<Default>", "<Default>"},
        {"Green", false, [Ok](TKvSetPicker& P) {
             TypeInto(Ctl<QLineEdit>(&P, "EdDescrip"), QStringLiteral("red"));
             Ok(P);
         }, "Green", "red"},
    };
    Display()->SetsFont()->Add(QStringLiteral("Red"));
    Display()->SetsFont()->Add(QStringLiteral("Green"));
    for (qsizetype I = 0; I < Cases.size(); ++I) {
        const Case& C = Cases[I];
        TKvSetFont Ref(nullptr, C.Start);
        Ref.SetDefaultSet(QStringLiteral("Red"));
        Ref.SetDefaultApplies(C.UseDefault);
        TFrSetFont Picker;
        Picker.FSetFont = &Ref;
        OnModal([&](QWidget*) {
            EXPECT_EQ(Ctl<QLineEdit>(&Picker, "EdDescrip")->text(), C.Shown) << "case " << I;
            C.Act(Picker);
        });
        Picker.Execute();
        EXPECT_EQ(Ref.Name(), C.Stored) << "case " << I;
    }
}

TEST_F(SetsTest, PickerDeletesAtOnceAndTheLastDeleteDisablesModify)
{
    TKvSetColor Ref(nullptr, QStringLiteral("Red"));
    TFrSetColor Picker;
    Picker.FSetColor = &Ref;
    OnModal([&](QWidget*) {
        auto* List = Ctl<TKvSetsListView>(&Picker, "Colors");
        TKvMessageRecorder Messages;
        QTest::mouseClick(Ctl<QPushButton>(&Picker, "BtDelete"), Qt::LeftButton);
        EXPECT_EQ(Messages.Count(), 0);
        EXPECT_EQ(Display()->SetsColor()->Find(QStringLiteral("Red")), nullptr);
        // Red was last: the one before it is current.
        EXPECT_EQ(Ctl<QLineEdit>(&Picker, "EdDescrip")->text(), QStringLiteral("Green"));
        EXPECT_EQ(Ctl<QStatusBar>(&Picker, "StatusBar1")->currentMessage(), QStringLiteral("2 SetsColor"));
        EXPECT_TRUE(FModified.contains(&FApp));
        // The manager's clearing goes through the window.
        Picker.DeleteItem(Display()->SetsColor()->Find(QStringLiteral("blue")));
        EXPECT_EQ(Picker.Model()->rowCount(), 1);
        QTest::mouseClick(Ctl<QPushButton>(&Picker, "BtDelete"), Qt::LeftButton);
        EXPECT_EQ(List->CurrentRow(), -1);
        EXPECT_FALSE(Ctl<QPushButton>(&Picker, "BtModify")->isEnabled());
        EXPECT_FALSE(Ctl<QPushButton>(&Picker, "BtDelete")->isEnabled());
        EXPECT_TRUE(Ctl<QPushButton>(&Picker, "BtAdd")->isEnabled());
        Picker.reject();
    });
    Picker.Execute();
    EXPECT_EQ(Display()->SetsColor()->Count(), 0);
}

// ---------------------------------------------------------------------------------------------
// The add dialogs

TEST_F(SetsTest, AddingFromThePickerSelectsTheNewSetAndAFailedOkAddsOnce)
{
    Display()->SetsColor()->Add(QStringLiteral("sc1"));
    Display()->SetsColor()->Add(QStringLiteral("sc3"));
    TKvSetColor Ref(nullptr, QString());
    TFrSetColor Picker;
    Picker.FSetColor = &Ref;
    TKvMessageRecorder Messages;
    OnModal([&](QWidget*) {
        OnModal([&](QWidget* Window) {
            auto* Dialog = qobject_cast<TFrSetsColorAdd*>(Window);
            ASSERT_NE(Dialog, nullptr);
            EXPECT_EQ(Dialog->windowTitle(), QStringLiteral("Add Color"));
            EXPECT_EQ(Ctl<QLineEdit>(Dialog, "EdName")->text(), QStringLiteral("sc2"));
            EXPECT_EQ(Ctl<QComboBox>(Dialog, "CBSolidC")->currentText(), QStringLiteral("clWhite"));
            auto* Box = Ctl<QComboBox>(Dialog, "CBSolidC");
            Box->setFocus();
            Box->lineEdit()->selectAll();
            QTest::keyClicks(Box->lineEdit(), QStringLiteral("clRed"));
            EXPECT_EQ(Dialog->Chooser()->Color().Value, 0x0000FF);
            // A name the package refuses: the set is made, naming it fails, the dialog stays.
            TypeInto(Ctl<QLineEdit>(Dialog, "EdName"), QStringLiteral("blue"));
            QTest::mouseClick(Ctl<QPushButton>(Dialog, "BtOk"), Qt::LeftButton);
            EXPECT_EQ(Messages.Count(), 1);
            EXPECT_TRUE(Dialog->isVisible());
            TypeInto(Ctl<QLineEdit>(Dialog, "EdName"), QStringLiteral("Warning"));
            QTest::mouseClick(Ctl<QPushButton>(Dialog, "BtOk"), Qt::LeftButton);
        });
        QTest::mouseClick(Ctl<QPushButton>(&Picker, "BtAdd"), Qt::LeftButton);
        EXPECT_EQ(Ctl<QLineEdit>(&Picker, "EdDescrip")->text(), QStringLiteral("Warning"));
        EXPECT_EQ(Picker.Model()->Set(Ctl<TKvSetsListView>(&Picker, "Colors")->CurrentRow())->Name(),
                  QStringLiteral("Warning"));
        QTest::mouseClick(Ctl<QPushButton>(&Picker, "BtOk"), Qt::LeftButton);
    });
    EXPECT_EQ(Picker.Execute(), 1);
    EXPECT_EQ(Ref.Name(), QStringLiteral("Warning"));
    EXPECT_EQ(Display()->SetsColor()->Count(), 6);
    EXPECT_EQ(Display()->SetsColor()->Find(QStringLiteral("Warning"))->Color().Value, 0x0000FF);
}

TEST_F(SetsTest, ModifyKeepsAnUnnamedColourAndTakesTheLabelAsDescription)
{
    TKvPkgStrings* User = FApp.PkgLanguage()->PkgUser();
    User->Labels()->Add(4, QStringLiteral("Danger zone"));
    TKvSetColorItem* Red = Display()->SetsColor()->Find(QStringLiteral("Red"));
    Red->SetColor(TColor{0x030201});
    TFrSetsColorAdd Dialog;
    Dialog.FModify = true;
    Dialog.FCApplication = &FApp;
    Dialog.SetSet(Red);
    OnModal([&](QWidget*) {
        // Leaving the box needs focus events, which only an active window gets.
        Dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Dialog));
        auto* Box = Ctl<QComboBox>(&Dialog, "CBSolidC");
        EXPECT_EQ(Box->currentText(), ColorToString(0x030201));
        // Unknown text is ignored, and replaced by the sample's colour when the box is left.
        Box->setFocus();
        Box->lineEdit()->selectAll();
        QTest::keyClicks(Box->lineEdit(), QStringLiteral("nonsense"));
        Ctl<QLineEdit>(&Dialog, "EdName")->setFocus();
        EXPECT_EQ(Box->currentText(), ColorToString(0x030201));

        OnModal([&](QWidget* Window) {
            auto* Picker = qobject_cast<TFrMemoryLabel*>(Window);
            ASSERT_NE(Picker, nullptr);
            Ctl<QComboBox>(Picker, "EdPackage")->setEditText(User->PkgName());
            TypeInto(Ctl<QLineEdit>(Picker, "EdId"), QStringLiteral("4"));
            QTest::mouseClick(Ctl<QPushButton>(Picker, "BtOk"), Qt::LeftButton);
        });
        QTest::mouseClick(Ctl<QToolButton>(&Dialog, "SpeedButton5"), Qt::LeftButton);
        EXPECT_FALSE(Ctl<QLineEdit>(&Dialog, "EdDescrip")->isEnabled());
        EXPECT_EQ(Ctl<QLineEdit>(&Dialog, "EdDescrip")->text(), QStringLiteral("Danger zone"));
        EXPECT_EQ(Ctl<QLabel>(&Dialog, "LabRefID")->text(), QStringLiteral("(4,%1)").arg(User->PkgName()));
        QTest::mouseClick(Ctl<QPushButton>(&Dialog, "BtOk"), Qt::LeftButton);
    });
    EXPECT_EQ(Dialog.Execute(), 1);
    EXPECT_EQ(Red->Color().Value, 0x030201);
    EXPECT_EQ(Red->Description(), QStringLiteral("Danger zone"));
    EXPECT_EQ(Red->DescriptionId(), 4);
}

TEST_F(SetsTest, ColourDialogCustomSlotsComeFromAndGoBackToTheUserColours)
{
    QList<QRgb> Stored;
    for (int I = 0; I < 20; ++I)
        Stored << qRgb(I, 0, 0);
    Display()->SetUserColors(Stored);
    QList<QRgb> Shown;
    const TKvColorDialogHandler Previous = KvSetColorDialogHandler([&](QColor& Color) {
        for (int I = 0; I < 16; ++I)
            Shown << QColorDialog::customColor(I).rgb();
        QColorDialog::setCustomColor(2, QColor(1, 2, 3));
        Color = QColor(10, 20, 30);
        return true;
    });
    TFrSetsColorAdd Dialog;
    Dialog.FCApplication = &FApp;
    OnModal([&](QWidget*) {
        // The user colours past the dialog's slots are in the box.
        EXPECT_GE(Ctl<QComboBox>(&Dialog, "CBSolidC")->findText(ColorToString(KvColorOfRgb(Stored[19]))), 0);
        QTest::mouseClick(Ctl<QToolButton>(&Dialog, "SpeedButton3"), Qt::LeftButton);
        EXPECT_EQ(Dialog.Chooser()->Color().Value, KvColorOfRgb(qRgb(10, 20, 30)));
        Dialog.reject();
    });
    Dialog.Execute();
    KvSetColorDialogHandler(Previous);
    EXPECT_EQ(Shown, Stored.mid(0, 16));
    QList<QRgb> Expected = Stored;
    Expected[2] = qRgb(1, 2, 3);
    EXPECT_EQ(Display()->UserColors(), Expected);
    // A slot filled past the stored colours keeps its place; untouched white slots are not kept.
    const QRgb White = qRgb(255, 255, 255);
    EXPECT_EQ(KvMergeUserColors({qRgb(1, 1, 1)}, {qRgb(1, 1, 1), White, qRgb(9, 9, 9), White}),
              QList<QRgb>({qRgb(1, 1, 1), White, qRgb(9, 9, 9)}));
}

TEST_F(SetsTest, FontDialogStoresTheChosenSizeNotThePreviewHeight)
{
    const TKvFontDialogHandler Previous = KvSetFontDialogHandler([](QFont& Font) {
        Font.setPointSize(20);
        Font.setBold(true);
        return true;
    });
    TFrSetsFontAdd Dialog;
    Dialog.FCApplication = &FApp;
    OnModal([&](QWidget*) {
        EXPECT_EQ(Ctl<QLineEdit>(&Dialog, "EdName")->text(), QStringLiteral("sf1"));
        EXPECT_EQ(Dialog.FSizeFont, 8);
        QTest::mouseClick(Ctl<QToolButton>(&Dialog, "SpeedButton3"), Qt::LeftButton);
        auto* Preview = Ctl<QLabel>(&Dialog, "LabFont");
        EXPECT_LE(Preview->font().pixelSize(), Preview->height());
        EXPECT_LT(QFontMetrics(Preview->font()).horizontalAdvance(Preview->text()), Preview->width());
        EXPECT_TRUE(Ctl<QGroupBox>(&Dialog, "LabelFont")->title().startsWith(QStringLiteral("Font ( Size : 20 ) ( ")));
        QTest::mouseClick(Ctl<QPushButton>(&Dialog, "BtOk"), Qt::LeftButton);
    });
    EXPECT_EQ(Dialog.Execute(), 1);
    KvSetFontDialogHandler(Previous);
    const TKvSetFontItem* Set = Display()->SetsFont()->Find(QStringLiteral("sf1"));
    ASSERT_NE(Set, nullptr);
    EXPECT_EQ(Set->Font().pointSize(), 20);
    EXPECT_TRUE(Set->Font().bold());
}

// ---------------------------------------------------------------------------------------------
// The sets editor and the property editors

TEST_F(SetsTest, EditorDoubleClickModifiesAndNothingIsMarked)
{
    OnModal([&](QWidget* Window) {
        auto* Editor = qobject_cast<TFrSetsBackGround*>(Window);
        ASSERT_NE(Editor, nullptr);
        EXPECT_EQ(Editor->findChild<QPushButton*>(QStringLiteral("BtNull")), nullptr);
        OnModal([&](QWidget* Dialog) {
            EXPECT_EQ(Dialog->windowTitle(), QStringLiteral("Modify BackGround"));
            Ctl<QCheckBox>(Dialog, "EdTransparent")->setChecked(true);
            TypeInto(Ctl<QLineEdit>(Dialog, "EdName"), QStringLiteral("Frame"));
            QTest::mouseClick(Ctl<QPushButton>(Dialog, "BtOk"), Qt::LeftButton);
        });
        ClickRow(Ctl<TKvSetsListView>(Editor, "BackGrounds"), 0, true);
        EXPECT_EQ(Ctl<QLineEdit>(Editor, "EdDescrip")->text(), QStringLiteral("Frame"));
        QTest::mouseClick(Ctl<QPushButton>(Editor, "BtOk"), Qt::LeftButton);
    });
    EXPECT_EQ(KvShowSetsEditor(nullptr, TKvSetKind::BackGround, &FApp), 1);
    const TKvSetBackGroundItem* Frame = Display()->SetsBackGround()->Find(QStringLiteral("Frame"));
    ASSERT_NE(Frame, nullptr);
    EXPECT_TRUE(Frame->Transparent());
    EXPECT_TRUE(FModified.isEmpty());
}

TEST_F(SetsTest, PropertyEditorCopiesThePickedNameToEverySelection)
{
    TKvCForm A, B, C;
    const TPropInfo* Prop = GetPropInfo(&TKvCForm::staticMetaObject, u"SetFont");
    ASSERT_NE(Prop, nullptr);
    NullDesigner Designer;
    TKvSetFontProperty Editor;
    Editor.Initialize(&Designer, {&A, &B, &C}, *Prop);
    B.SetFont()->SetName(QStringLiteral("title"));
    EXPECT_FALSE(Editor.AllEqual());

    OnModal([](QWidget* Window) { QTest::keyClick(Window, Qt::Key_Escape); });
    Editor.Edit();
    EXPECT_EQ(Designer.ModifiedCount, 0);
    EXPECT_EQ(B.SetFont()->Name(), QStringLiteral("title"));

    OnModal([](QWidget* Window) {
        auto* Picker = qobject_cast<TFrSetFont*>(Window);
        ASSERT_NE(Picker, nullptr);
        ClickRow(Ctl<TKvSetsListView>(Picker, "Fonts"), 0);
        QTest::mouseClick(Ctl<QPushButton>(Picker, "BtOk"), Qt::LeftButton);
    });
    Editor.Edit();
    for (TKvCForm* Form : {&A, &B, &C})
        EXPECT_EQ(Form->SetFont()->Name(), QStringLiteral("Title"));
    EXPECT_TRUE(Editor.AllEqual());
    EXPECT_EQ(Designer.ModifiedCount, 1);
}

// The inspector's button opens the picker on the default set the component names for "<Default>";
// a sheet, whose font is its page control's, has no default font set even when one of the
// default's name exists.
TEST_F(SetsTest, PropertyEditorOpensOnTheComponentsDefaultSet)
{
    Display()->SetsColor()->Add(QStringLiteral("EdColor"));
    Display()->SetsFont()->Add(QStringLiteral("PcFont"));
    TKvEdit A, B;
    B.SetColor()->SetName(QStringLiteral("Red"));
    NullDesigner Designer;
    TKvSetColorProperty Colors;
    Colors.Initialize(&Designer, {&A, &B}, *GetPropInfo(&TKvEdit::staticMetaObject, u"SetColor"));
    EXPECT_EQ(Colors.GetValue(), QStringLiteral("<Default>"));
    OnModal([](QWidget* Window) {
        auto* Picker = qobject_cast<TFrSetColor*>(Window);
        ASSERT_NE(Picker, nullptr);
        auto* Edit = Ctl<QLineEdit>(Picker, "EdDescrip");
        EXPECT_EQ(Edit->text(), QStringLiteral("EdColor"));
        const QModelIndex Current = Ctl<TKvSetsListView>(Picker, "Colors")->currentIndex();
        ASSERT_TRUE(Current.isValid());
        EXPECT_EQ(Picker->Model()->Set(Current.row())->Name(), QStringLiteral("EdColor"));
        // The default set picked by hand is still the default.
        TypeInto(Edit, QStringLiteral("edcolor"));
        QTest::keyClick(Edit, Qt::Key_Return);
    });
    Colors.Edit();
    EXPECT_EQ(A.SetColor()->Name(), QStringLiteral("<Default>"));
    EXPECT_EQ(B.SetColor()->Name(), QStringLiteral("<Default>"));
    EXPECT_EQ(Designer.ModifiedCount, 1);

    TKvTabSheet Sheet;
    TKvSetFontProperty Fonts;
    Fonts.Initialize(&Designer, {&Sheet}, *GetPropInfo(&TKvTabSheet::staticMetaObject, u"SetFont"));
    OnModal([](QWidget* Window) {
        EXPECT_EQ(Ctl<QLineEdit>(Window, "EdDescrip")->text(), QStringLiteral("<Default>"));
        EXPECT_FALSE(Ctl<TKvSetsListView>(Window, "Fonts")->currentIndex().isValid());
        TypeInto(Ctl<QLineEdit>(Window, "EdDescrip"), QStringLiteral("PcFont"));
        QTest::keyClick(Window, Qt::Key_Return);
    });
    Fonts.Edit();
    EXPECT_EQ(Sheet.SetFont()->Name(), QStringLiteral("PcFont"));
}

} // namespace
