#include "images/KvVtDesignRgn.h"
#include "ui_KvVtDesignRgn.h"

#include <QApplication>
#include <QMenu>
#include <QScrollArea>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>

namespace {

// A 12 x 9 picture: a block of dark shades on a plain light ground, none of them a hatch
// colour.
QImage Picture()
{
    QImage image(12, 9, QImage::Format_ARGB32);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool Inside = x >= 3 && x < 9 && y >= 2 && y < 7;
            image.setPixel(x, y, Inside ? qRgb(40, 10 + x, 90 + y) : qRgb(250, 220, 160));
        }
    return image;
}

void OnModal(std::function<void(QWidget*)> Action)
{
    QTimer::singleShot(0, [Action] {
        QWidget* Window = QApplication::activeModalWidget();
        ASSERT_NE(Window, nullptr);
        Action(Window);
    });
}

void MoveMouse(QWidget* Widget, const QPoint& At, Qt::MouseButtons Buttons = Qt::NoButton)
{
    QMouseEvent Move(QEvent::MouseMove, QPointF(At), Widget->mapToGlobal(QPointF(At)), Qt::NoButton, Buttons,
                     Qt::NoModifier);
    QApplication::sendEvent(Widget, &Move);
}

} // namespace

// Every image pixel shows either its own colour or, where an outline lies, only hatch colours.
TEST(DesignRgnView, PaintsWhatTheModelHoldsAtEveryZoom)
{
    TKvPkgImages Pkg;
    TKvPkgImagesImage* Image = Pkg.Images()->Add(1);
    Image->SetGraphic(Picture());
    Image->CreateInternalMask(QRegion(4, 3, 2, 2));
    TKvDesignRgnModel Model;
    Model.Open(*Image, {});
    Model.ScanRgn(0, 0); // the light ground becomes the external mask
    TKvDesignRgnView View(&Model);
    const QRgb Grey = qRgb(128, 128, 128), Teal = qRgb(0, 128, 128), White = qRgb(255, 255, 255);

    for (int Zoom : {1, 2, 3, 4, 6, 8}) {
        Model.SetZoom(Zoom);
        View.resize(Model.ViewSize());
        // Rendered in two halves, as partial repaints come, and put together.
        const QSize Size = Model.ViewSize();
        const QImage Top = View.Render(QRect(0, 0, Size.width(), Size.height() / 2));
        const QImage Bottom = View.Render(QRect(0, Size.height() / 2, Size.width(), Size.height() - Size.height() / 2));
        auto At = [&](int X, int Y) {
            return Y < Size.height() / 2 ? Top.pixel(X, Y) : Bottom.pixel(X, Y - Size.height() / 2);
        };
        int HatchLines = 0;
        for (int y = 0; y < Model.Height(); ++y)
            for (int x = 0; x < Model.Width(); ++x)
                for (int dy = 0; dy < Zoom; ++dy)
                    for (int dx = 0; dx < Zoom; ++dx) {
                        const QRgb Shown = At(10 + x * Zoom + dx, 10 + y * Zoom + dy);
                        if (Model.GetExternalMask(x, y)) {
                            ASSERT_TRUE(Shown == White || Shown == Grey) << Zoom << " " << x << "," << y;
                            HatchLines += Shown == Grey;
                        } else if (Model.GetInternalMask(x, y)) {
                            ASSERT_TRUE(Shown == White || Shown == Teal) << Zoom << " " << x << "," << y;
                        } else {
                            ASSERT_EQ(Shown, Model.Bitmap().pixel(x, y) | 0xFF000000) << Zoom << " " << x << "," << y;
                        }
                    }
        EXPECT_GT(HatchLines, 0) << Zoom;
        // The margin holds no picture.
        EXPECT_NE(At(3, 3), Model.Bitmap().pixel(0, 0) | 0xFF000000);
    }

    // Resize mode draws the bars inverted over the picture.
    Model.SetZoom(2);
    Model.SetAdjusts(true);
    Model.SetAdjust(TKvAdjust::Up1, 5);
    Model.SetAdjust(TKvAdjust::Left1, 4);
    const QRect Bar = Model.BarRect(TKvAdjust::Up1);
    const QImage WithBars = View.Render(QRect(QPoint(0, 0), Model.ViewSize()));
    const QPoint P(Bar.left(), 10 + 2 * 2); // on image pixel (5, 2)
    EXPECT_EQ(WithBars.pixel(P) & 0xFFFFFF, ~Model.Bitmap().pixel(5, 2) & 0xFFFFFF);
}

TEST(DesignRgnWindow, ClicksScanUndoAndDragBarsAndOkWritesTheImage)
{
    TKvPkgImages Pkg;
    TKvPkgImagesImage* Image = Pkg.Images()->Add(1);
    Image->SetGraphic(Picture());
    Pkg.SetDesignRgn({{}, 2, true, true});
    TFrDesignRgn Dialog;
    Dialog.Image = Image;
    OnModal([&](QWidget*) {
        Ui::TFrDesignRgn* Ui = Dialog.ui();
        TKvDesignRgnView* Shape = Dialog.Shape();
        TKvDesignRgnModel* Model = Dialog.Model();
        EXPECT_EQ(Ui->LaSize->text(), QStringLiteral("Size: 12x9"));
        EXPECT_TRUE(Ui->BtZoom2->isChecked());
        EXPECT_FALSE(Ui->BtUndo->isEnabled());

        // A click in the margin does nothing; a click on the ground scans it.
        QTest::mouseClick(Shape, Qt::LeftButton, {}, QPoint(4, 4));
        EXPECT_EQ(Model->UndoCount(), 0);
        QTest::mouseClick(Shape, Qt::LeftButton, {}, QPoint(10 + 1, 10 + 1));
        EXPECT_TRUE(Model->GetExternalMask(0, 0));
        EXPECT_FALSE(Model->GetExternalMask(4, 4));
        EXPECT_TRUE(Ui->BtUndo->isEnabled());
        // The pointer over the image shows its pixel.
        MoveMouse(Shape, QPoint(10 + 2 * 4 + 1, 10 + 2 * 3));
        EXPECT_EQ(Ui->LaPosX->text(), QStringLiteral("4"));
        EXPECT_EQ(Ui->LaRed->text(), QStringLiteral("40"));

        // Shortcuts reach the active window only.
        QApplication::setActiveWindow(&Dialog);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Dialog));
        QTest::keyClick(&Dialog, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_FALSE(Model->GetExternalMask(0, 0));
        QTest::keyClick(&Dialog, Qt::Key_Y, Qt::ControlModifier);
        EXPECT_TRUE(Model->GetExternalMask(0, 0));

        // The inner block as internal outline, picked through a base colour range.
        QTest::mouseClick(Ui->BtInternal, Qt::LeftButton);
        QTest::mouseClick(Ui->BtBaseColor, Qt::LeftButton);
        QTest::mouseClick(Shape, Qt::LeftButton, {}, QPoint(10 + 2 * 3, 10 + 2 * 2));
        EXPECT_FALSE(Ui->BtBaseColor->isChecked());
        EXPECT_EQ(Model->BaseColor(), QColor(40, 13, 92));
        QTest::mouseClick(Shape, Qt::LeftButton, {}, QPoint(10 + 2 * 8, 10 + 2 * 6));
        EXPECT_TRUE(Model->GetInternalMask(3, 2));
        EXPECT_TRUE(Model->GetInternalMask(8, 6));

        // Resize mode: Up1 is dragged with the mouse and Down1 follows.
        QTest::mouseClick(Ui->BtResizing, Qt::LeftButton);
        EXPECT_TRUE(Model->Adjusts());
        const QPoint Grab = Model->BarRect(TKvAdjust::Up1).topLeft() + QPoint(0, 2);
        QTest::mousePress(Shape, Qt::LeftButton, {}, Grab);
        MoveMouse(Shape, Grab + QPoint(8, 0), Qt::LeftButton);
        QTest::mouseRelease(Shape, Qt::LeftButton, {}, Grab + QPoint(8, 0));
        EXPECT_EQ(Model->Adjust(TKvAdjust::Up1), 4);
        EXPECT_EQ(Model->Adjust(TKvAdjust::Down1), 4);

        QTest::mouseClick(Ui->BtZoom4, Qt::LeftButton);
        EXPECT_EQ(Shape->size(), QSize(12 * 4 + 20, 9 * 4 + 20));
        QTest::mouseClick(Ui->BtOk, Qt::LeftButton);
    });
    ASSERT_TRUE(Dialog.Execute());
    EXPECT_EQ(Image->Marks().Up1, 4);
    EXPECT_TRUE(Image->ViewAdjusts());
    // The visible shape is what the external mask left: the inner block.
    EXPECT_TRUE(KvSameRegion(*Image->CreateExternalRgn(), QRegion(3, 2, 6, 5)));
    EXPECT_TRUE(KvSameRegion(*Image->CreateInternalRgn(), QRegion(3, 2, 6, 5)));
    const TKvDesignRgnSettings Kept = Pkg.DesignRgn();
    EXPECT_EQ(Kept.Zoom, 4);
    EXPECT_FALSE(Kept.External);
    EXPECT_TRUE(Kept.Bounds.IsStored());
}

TEST(DesignRgnWindow, CancelKeepsTheImageButStoresTheModes)
{
    TKvPkgImages Pkg;
    TKvPkgImagesImage* Image = Pkg.Images()->Add(1);
    Image->SetGraphic(Picture());
    TFrDesignRgn Dialog;
    Dialog.Image = Image;
    OnModal([&](QWidget*) {
        // The right button opens the menu and scans nothing.
        QTest::mouseClick(Dialog.Shape(), Qt::RightButton, {}, QPoint(11, 11));
        EXPECT_EQ(Dialog.Model()->UndoCount(), 0);
        Dialog.PopupMenu()->close();
        QTest::mouseClick(Dialog.ui()->BtScanSingle, Qt::LeftButton);
        QTest::mouseClick(Dialog.Shape(), Qt::LeftButton, {}, QPoint(11, 11));
        QTest::keyClick(&Dialog, Qt::Key_Escape);
    });
    EXPECT_FALSE(Dialog.Execute());
    EXPECT_FALSE(Image->GetExternalMask());
    EXPECT_FALSE(Pkg.DesignRgn().Diagonals);
}
