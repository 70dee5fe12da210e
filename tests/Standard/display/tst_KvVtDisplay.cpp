#include "display/KvDisplayEdit.h"
#include "display/KvDisplayMetrics.h"
#include "display/KvVtCommonWnds.h"
#include "display/KvVtDisplay.h"
#include "display/KvVtHints.h"
#include "display/KvVtSetsEditor.h"
#include "ui_KvVtCommonWnds.h"
#include "ui_KvVtDisplay.h"

#include "Colors.h"
#include "KvApplication.h"
#include "KvDesignHooks.h"
#include "KvMessages.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

class DisplayEditor : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FDir.isValid());
        FOldPath = KvAppPath();
        KvSetAppPath(FDir.path());
        KvRegisterPackageClasses();
        Form = std::make_unique<TComponent>();
        App = new TKvCApplication(Form.get());
        Pkg = App->PkgDisplay();
        Pkg->SetsColor()->Add(QStringLiteral("Paper"))->SetColor(TColor{0x102030});
        Pkg->SetsBackGround()->Add(QStringLiteral("Sky"))->SetStyle(bgsRadial);
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::green);
        Pkg->PkgUser()->Images()->Add(3)->SetGraphic(image);
        KvDsgnModified = [this](TPersistent* Object) { Told << Object; };
    }
    void TearDown() override
    {
        KvDsgnModified = nullptr;
        KvSetAppPath(FOldPath);
    }
    QString Path(const QString& Name) const { return FDir.filePath(Name); }

    // Runs Action once the modal window is up; a window Action leaves open is closed.
    template <class TWindow>
    int Run(TWindow& Window, const std::function<void()>& Action)
    {
        QTimer::singleShot(0, &Window, [&Window, Action] {
            QApplication::setActiveWindow(&Window);
            EXPECT_TRUE(QTest::qWaitForWindowActive(&Window));
            Action();
            if (Window.isVisible())
                Window.close();
        });
        return Window.Execute();
    }

    QTemporaryDir FDir;
    QString FOldPath;
    std::unique_ptr<TComponent> Form;
    TKvCApplication* App = nullptr;
    TKvPkgDisplay* Pkg = nullptr;
    QList<TPersistent*> Told;
};

// What the example must be: Base with the pixels of every guide line and button frame
// inverted, a pixel met twice flipping back.
QImage Inverted(const QImage& Base, const QList<QRect>& Lines, const QList<QRect>& Frames)
{
    QImage result = Base;
    auto flip = [&](int X, int Y) { result.setPixel(X, Y, ~result.pixel(X, Y) | 0xFF000000u); };
    for (const QRect& line : Lines)
        for (int y = line.top(); y <= line.bottom(); ++y)
            for (int x = line.left(); x <= line.right(); ++x)
                flip(x, y);
    for (const QRect& frame : Frames) {
        const QRect inner = frame.adjusted(3, 3, -3, -3);
        for (int y = frame.top(); y <= frame.bottom(); ++y)
            for (int x = frame.left(); x <= frame.right(); ++x)
                if (!inner.contains(x, y) && result.rect().contains(x, y))
                    flip(x, y);
    }
    return result;
}

} // namespace

TEST_F(DisplayEditor, ModelShowsThePackageAndMakesChangesDurable)
{
    TKvDisplayEdit edit(App);
    EXPECT_EQ(edit.InitModeText(), QStringLiteral("DFM"));
    Pkg->SetDescription(QStringLiteral("Look"));
    EXPECT_EQ(edit.DescriptionText(), QStringLiteral("Look"));

    // A damaged file is refused and changes nothing, nor tells the designer.
    QFile bad(Path(QStringLiteral("bad.dis")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("KVPKDISP not really a package");
    bad.close();
    const QByteArray before = Pkg->SaveToBytes();
    EXPECT_THROW(edit.LoadFrom(bad.fileName()), Exception);
    EXPECT_EQ(Pkg->SaveToBytes(), before);
    EXPECT_TRUE(Told.isEmpty());

    // A good one replaces the content; the designer is told, the package being in the form.
    TKvPkgDisplay other;
    other.SetsFont()->Add(QStringLiteral("Big"));
    other.SaveToFile(Path(QStringLiteral("other.dis")));
    edit.LoadFrom(Path(QStringLiteral("other.dis")));
    EXPECT_TRUE(Pkg->SetsFont()->Find(QStringLiteral("Big")));
    EXPECT_FALSE(Pkg->SetsColor()->Find(QStringLiteral("Paper")));
    EXPECT_EQ(Told, QList<TPersistent*>{App});

    // After the load/save dialog, both file-backed packages of the application are written.
    Pkg->SetInitMode(TKvPkgInfo::imFILE);
    Pkg->SetFileName(QStringLiteral("look.dis"));
    App->PkgSetup()->SetInitMode(TKvPkgInfo::imFILE);
    App->PkgSetup()->SetFileName(QStringLiteral("keys"));
    App->PkgSetup()->SetModified(true);
    EXPECT_EQ(edit.InitModeText(), QStringLiteral("FILE"));
    edit.AfterLoadSave();
    EXPECT_TRUE(QFile::exists(Path(QStringLiteral("look.dis"))));
    EXPECT_TRUE(QFile::exists(App->PkgSetup()->GetFileName(App->PkgSetup()->FileName())));
}

TEST_F(DisplayEditor, MetricsApplyOnlyWhenAskedAndTakeTheSkin)
{
    App->CWSkin()->Image()->PkgId(QStringLiteral("System"), 50);
    TKvMetricsEdit edit(TKvMetricsEdit::CommonWnds);
    edit.Load(Pkg);
    EXPECT_EQ(edit.Value(cwTitleHeight), Pkg->CWMetric(cwTitleHeight));
    EXPECT_EQ(edit.SkinText(), QStringLiteral("(50) System"));
    edit.SetValue(cwTitleHeight, 44);
    edit.SetWinRgn(true);
    edit.Image()->PkgId(QStringLiteral("User"), 3);
    EXPECT_EQ(Pkg->CWMetric(cwTitleHeight), KvDefaultCWMetrics[cwTitleHeight]);
    EXPECT_EQ(App->CWSkin()->Image()->Id(), 50);

    edit.Apply(Pkg);
    EXPECT_EQ(Pkg->CWMetric(cwTitleHeight), 44);
    EXPECT_TRUE(Pkg->CWWinRgn());
    EXPECT_EQ(App->CWSkin()->Image()->PkgName(), QStringLiteral("User"));
    EXPECT_EQ(App->CWSkin()->Image()->Id(), 3);
    EXPECT_FALSE(Pkg->HiWinRgn());
}

// The example is the skin's background with the guide lines and the three title buttons
// inverted over it.
TEST_F(DisplayEditor, CommonWindowsExampleInvertsTheGuideLinesAndButtons)
{
    TKvSetBackGroundItem* back = Pkg->SetsBackGround()->Add(KvSetEdBackGroundName());
    back->SetStyle(bgsVertical);
    back->SetStartGraColor(TColor{0x0000C0});
    back->SetEndGraColor(TColor{0xC0C000});
    TKvMetricsEdit edit(TKvMetricsEdit::CommonWnds);
    edit.Load(Pkg);
    const int values[KvCWMetricCount] = {4, 20, 16, 14, 2, 3, 5, 6, 7, 8};
    for (int i = 0; i < KvCWMetricCount; ++i)
        edit.SetValue(i, values[i]);
    QImage example(120, 80, QImage::Format_RGB32);
    edit.PaintExample(example, Pkg);

    QImage base(120, 80, QImage::Format_RGB32);
    {
        QPainter p(&base);
        KvDrawGradient(p, base.rect(), bgsVertical, QColor(0xC0, 0, 0), QColor(0, 0xC0, 0xC0), QColor(), QImage(), false);
    }
    const QList<QRect> lines = {QRect(5, 0, 1, 80),   QRect(113, 0, 1, 80), QRect(0, 6, 120, 1),
                                QRect(0, 72, 120, 1), QRect(0, 26, 120, 1), QRect(0, 30, 120, 1)};
    const QList<QRect> buttons = {QRect(94, 9, 16, 14), QRect(76, 9, 16, 14), QRect(58, 9, 16, 14)};
    EXPECT_EQ(example, Inverted(base, lines, buttons));

    // A zero margin draws no line.
    edit.SetValue(cwMarginLeft, 0);
    edit.PaintExample(example, Pkg);
    EXPECT_EQ(example.pixel(5, 40), base.pixel(5, 40));
}

TEST_F(DisplayEditor, HintsExampleDrawsDashedMarginsOnly)
{
    TKvMetricsEdit edit(TKvMetricsEdit::Hints);
    edit.Load(Pkg);
    for (int i = 0; i < KvHiMetricCount; ++i)
        edit.SetValue(i, 10);
    QImage example(60, 40, QImage::Format_RGB32);
    edit.PaintExample(example, Pkg);
    const QRgb face = ColorToRGB(KvColors::clBtnFace);
    int flipped = 0, kept = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) {
            const bool column = x == 10 || x == 50, row = y == 10 || y == 30;
            if (!column && !row)
                ASSERT_EQ(example.pixel(x, y), face) << x << "," << y;
            else if (column != row) // a crossing may flip twice
                (example.pixel(x, y) == face ? kept : flipped)++;
        }
    // Dash-dot: most of each line inverted, with gaps.
    EXPECT_GT(flipped, kept);
    EXPECT_GT(kept, 0);
}

// The hints' background reference left at "<Default>" paints with the set named like its
// default; a reference naming a missing set falls back to the button face.
TEST_F(DisplayEditor, HintsExamplePaintsTheDefaultBackGroundSet)
{
    TKvSetBackGroundItem* Set = Pkg->SetsBackGround()->Add(QStringLiteral("HiBackGround"));
    Set->SetStyle(bgsSolid);
    Set->SetSolidColor(TColor{0x0000FF});
    TKvMetricsEdit edit(TKvMetricsEdit::Hints);
    edit.Load(Pkg);
    QImage example(60, 40, QImage::Format_RGB32);
    edit.PaintExample(example, Pkg);
    EXPECT_EQ(example.pixel(30, 20), qRgb(255, 0, 0));
    App->HiBackGround()->SetName(QStringLiteral("Tip"));
    edit.PaintExample(example, Pkg);
    EXPECT_EQ(example.pixel(30, 20), ColorToRGB(KvColors::clBtnFace));
    App->HiBackGround()->SetName(QStringLiteral("hibackground"));
    edit.PaintExample(example, Pkg);
    EXPECT_EQ(example.pixel(30, 20), qRgb(255, 0, 0));
}

// Typed by the user: values change the example at once, Apply stores them, an emptied box
// becomes 0, Cancel keeps what was applied.
TEST_F(DisplayEditor, CommonWindowsEditorUsedWithKeysAndMouse)
{
    TFrCommonWnds window;
    window.PkgDisplay = Pkg;
    window.resize(640, 400);
    const int result = Run(window, [&] {
        Ui::TFrCommonWnds* ui = window.ui();
        EXPECT_FALSE(ui->BtApply->isEnabled());
        EXPECT_TRUE(ui->BtOk->isDefault());
        const QImage before = window.ExampleImage();

        ui->UDTitleHeight->setFocus();
        ui->UDTitleHeight->selectAll();
        QTest::keyClicks(ui->UDTitleHeight, QStringLiteral("3x5"));
        EXPECT_EQ(ui->UDTitleHeight->value(), 35);
        EXPECT_TRUE(ui->BtApply->isEnabled());
        EXPECT_TRUE(ui->BtApply->isDefault());
        EXPECT_NE(window.ExampleImage(), before);
        QTest::keyClicks(ui->UDTitleHeight, QStringLiteral("00"));
        EXPECT_EQ(ui->UDTitleHeight->value(), 350) << "3500 is above the range";

        ui->UDLeft->setFocus();
        ui->UDLeft->selectAll();
        QTest::keyClick(ui->UDLeft, Qt::Key_Backspace);
        EXPECT_TRUE(ui->UDLeft->text().isEmpty());
        ui->UDTop->setFocus();
        EXPECT_EQ(ui->UDLeft->text(), QStringLiteral("0"));

        QTest::mouseClick(ui->BtApply, Qt::LeftButton);
        EXPECT_EQ(Pkg->CWMetric(cwTitleHeight), 350);
        EXPECT_EQ(Pkg->CWMetric(cwMarginLeft), 0);
        EXPECT_FALSE(ui->BtApply->isEnabled());
        EXPECT_EQ(Told, QList<TPersistent*>{App});

        QTest::mouseClick(ui->CbWinRgn, Qt::LeftButton);
        ui->UDTop->selectAll();
        QTest::keyClicks(ui->UDTop, QStringLiteral("9"));
        QTest::mouseClick(ui->BtCancel, Qt::LeftButton);
    });
    EXPECT_EQ(result, 2);
    EXPECT_EQ(Pkg->CWMetric(cwMarginTop), KvDefaultCWMetrics[cwMarginTop]);
    EXPECT_FALSE(Pkg->CWWinRgn());
    EXPECT_EQ(Pkg->CWMetric(cwTitleHeight), 350);
}

TEST_F(DisplayEditor, DisplayWindowClearsOnlyWhenConfirmedAndEscapeIsOk)
{
    Pkg->SetInitMode(TKvPkgInfo::imFILE);
    Pkg->SetFileName(QStringLiteral("look.dis"));
    Pkg->SetModified(true);
    TKvMessageRecorder messages({KvBtnCancel, KvBtnAccept});
    TFrDisplay window;
    window.CApp = App;
    const int result = Run(window, [&] {
        Ui::TFrDisplay* ui = window.ui();
        EXPECT_EQ(ui->LaInitMode->text(), QStringLiteral("FILE"));
        EXPECT_EQ(ui->LaFileName->text(), QStringLiteral("look.dis"));
        QTimer::singleShot(0, [] {
            QWidget* sets = QApplication::activeModalWidget();
            EXPECT_TRUE(qobject_cast<TFrSetsColor*>(sets));
            if (sets)
                sets->close();
        });
        QTest::mouseClick(ui->BtColors, Qt::LeftButton);
        QTest::mouseClick(ui->BtClear, Qt::LeftButton);
        EXPECT_EQ(Pkg->SetsColor()->Count(), 1) << "cancelled";
        QTest::mouseClick(ui->BtClear, Qt::LeftButton);
        EXPECT_EQ(Pkg->SetsColor()->Count(), 0);
        EXPECT_EQ(Pkg->SetsBackGround()->Count(), 0);
        EXPECT_EQ(Pkg->PkgUser()->Images()->Count(), 0);
        QTest::keyClick(&window, Qt::Key_Escape);
        EXPECT_FALSE(window.isVisible());
    });
    EXPECT_EQ(result, 1);
    ASSERT_EQ(messages.Count(), 2);
    EXPECT_EQ(messages.Last().MsgType, KvMsgQuestion);
    EXPECT_EQ(messages.Last().Default, KvBtnCancel);
    // Closing wrote the package's own file.
    TKvPkgDisplay saved;
    saved.LoadFromFile(Path(QStringLiteral("look.dis")));
    EXPECT_EQ(saved.SetsColor()->Count(), 0);
    EXPECT_TRUE(Told.isEmpty()) << "a file-backed package does not mark the form";
}
