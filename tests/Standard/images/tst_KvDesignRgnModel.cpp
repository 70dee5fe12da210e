#include "images/KvDesignRgnModel.h"

#include <QRandomGenerator>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

// Rows of characters: '#' black, '.' white, 'o' RGB (100, 50, 200), 'a'..'z' greys.
QImage Picture(const QStringList& Rows)
{
    QImage image(int(Rows.first().size()), int(Rows.size()), QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QChar c = Rows[y][x];
            QRgb rgb = qRgb(255, 255, 255);
            if (c == u'#')
                rgb = qRgb(0, 0, 0);
            else if (c == u'o')
                rgb = qRgb(100, 50, 200);
            else if (c >= u'a' && c <= u'z')
                rgb = qRgb((c.unicode() - 'a') * 10, (c.unicode() - 'a') * 5, (c.unicode() - 'a') * 20);
            image.setPixel(x, y, rgb);
        }
    return image;
}

// Set pixels of a mask as rows of '1' and '0'.
QStringList Rows(const TKvBits& Bits, int W, int H)
{
    QStringList out;
    for (int y = 0; y < H; ++y) {
        QString row;
        for (int x = 0; x < W; ++x)
            row += Bits.Get(qsizetype(y) * W + x) ? u'1' : u'0';
        out << row;
    }
    return out;
}

// Reference flood fill of the character at (X, Y), breadth first.
QStringList Flood(const QStringList& Maze, int X, int Y, bool Diagonals)
{
    const int W = int(Maze.first().size()), H = int(Maze.size());
    QStringList Out(H, QString(W, u'0'));
    QList<QPoint> Queue{{X, Y}};
    Out[Y][X] = u'1';
    while (!Queue.isEmpty()) {
        const QPoint P = Queue.takeFirst();
        for (int Dy = -1; Dy <= 1; ++Dy)
            for (int Dx = -1; Dx <= 1; ++Dx) {
                if ((Dx == 0 && Dy == 0) || (!Diagonals && Dx != 0 && Dy != 0))
                    continue;
                const int Nx = P.x() + Dx, Ny = P.y() + Dy;
                if (Nx < 0 || Ny < 0 || Nx >= W || Ny >= H || Out[Ny][Nx] == u'1' || Maze[Ny][Nx] != Maze[Y][X])
                    continue;
                Out[Ny][Nx] = u'1';
                Queue << QPoint(Nx, Ny);
            }
    }
    return Out;
}

class DesignRgnModel : public ::testing::Test
{
protected:
    void Open(const QImage& Picture, TKvDesignRgnSettings Settings = {})
    {
        Image = Pkg.Images()->FindId(1) ? Pkg.Images()->FindId(1) : Pkg.Images()->Add(1);
        Image->SetGraphic(Picture);
        Model.Open(*Image, Settings);
    }
    QStringList External() const { return Rows(Model.ExternalBits(), Model.Width(), Model.Height()); }
    QStringList Internal() const { return Rows(Model.InternalBits(), Model.Width(), Model.Height()); }

    TKvPkgImages Pkg;
    TKvPkgImagesImage* Image = nullptr;
    TKvDesignRgnModel Model;
};

} // namespace

TEST_F(DesignRgnModel, FourNeighboursStopAtDiagonalGapsAndEightCrossThem)
{
    const QStringList Diagonal = {"..#", ".#.", "#.."};
    Open(Picture(Diagonal));
    Model.SetDiagonals(false);
    ASSERT_TRUE(Model.ScanRgn(0, 0));
    EXPECT_EQ(External(), QStringList({"110", "100", "000"}));

    Open(Picture(Diagonal));
    EXPECT_TRUE(Model.Diagonals());
    Model.ScanRgn(0, 0);
    EXPECT_EQ(External(), QStringList({"110", "101", "011"}));

    // On random two-colour pictures the scan takes exactly the connected area of the
    // clicked colour, with four or with eight neighbours; rows wider than a word of bits too.
    for (quint32 Seed = 1; Seed <= 30; ++Seed) {
        QRandomGenerator Rng(Seed);
        QStringList Maze;
        const int Width = Seed <= 20 ? 15 : 130;
        for (int y = 0; y < 12; ++y) {
            QString Row;
            for (int x = 0; x < Width; ++x)
                Row += Rng.bounded(100) < (Seed <= 20 ? 40 : 30) ? u'#' : u'.';
            Maze << Row;
        }
        Maze[5][7] = u'.';
        for (bool Diagonals : {false, true}) {
            Open(Picture(Maze));
            Model.SetDiagonals(Diagonals);
            Model.ScanRgn(7, 5);
            EXPECT_EQ(External(), Flood(Maze, 7, 5, Diagonals)) << Seed << Diagonals;
        }
    }
}

TEST_F(DesignRgnModel, ScanCrossesTheOtherOutlineAndUsesTheBaseColourRange)
{
    Open(Picture({"....", "....", "...."}));
    Model.SetExternal(false);
    Model.ScanRgn(1, 1); // the whole picture is now internal
    Model.Clear();
    Model.SetInternalMask(1, 0, true);
    Model.SetInternalMask(1, 1, true);
    Model.SetInternalMask(1, 2, true);
    Model.SetExternal(true);
    EXPECT_FALSE(Model.ScanRgn(1, 1)); // already in a mask: nothing
    ASSERT_TRUE(Model.ScanRgn(0, 0));
    // The internal column is crossed, not taken.
    EXPECT_EQ(External(), QStringList({"1011", "1011", "1011"}));
    EXPECT_EQ(Internal(), QStringList({"0100", "0100", "0100"}));

    // Base black, clicked (100, 50, 200): red 0..100, green 0..50, blue 0..200.
    Open(Picture({"oabk", "uz#."}));
    Model.SetBaseColor(QColor(0, 0, 0));
    Model.ScanRgn(0, 0);
    // a=(0,0,0), b=(10,5,20), k=(100,50,200) and '#' pass; u=(200,100,144), z and '.' do not.
    EXPECT_EQ(External(), QStringList({"1111", "0010"}));
}

TEST_F(DesignRgnModel, AUniformImageOfSixteenMillionPixelsScansWithoutRecursion)
{
    QImage big(4000, 4000, QImage::Format_ARGB32);
    big.fill(qRgb(10, 20, 30));
    Open(big);
    ASSERT_TRUE(Model.ScanRgn(1999, 2001));
    EXPECT_EQ(Model.ExternalBits().CountSet(), qsizetype(4000) * 4000);
    ASSERT_TRUE(Model.ExternalRgn());
    EXPECT_EQ(Model.ExternalRgn()->rectCount(), 1);
}

TEST_F(DesignRgnModel, UndoRestoresEachMaskFromItsOwnSnapshotAndRedoReplays)
{
    Open(Picture({"..##", "..##", "oooo"}));
    QSignalSpy State(&Model, &TKvDesignRgnModel::StateChanged);
    EXPECT_FALSE(Model.CanUndo() || Model.CanRedo());
    Model.ScanRgn(0, 0);
    const QStringList AfterFirst = External();
    Model.SetExternal(false);
    Model.ScanRgn(2, 0);
    EXPECT_EQ(Internal(), QStringList({"0011", "0011", "0000"}));
    EXPECT_GT(State.count(), 0);

    Model.PopUndo();
    EXPECT_EQ(External(), AfterFirst);
    EXPECT_EQ(Internal(), QStringList({"0000", "0000", "0000"}));
    EXPECT_TRUE(Model.CanUndo() && Model.CanRedo());
    Model.PopUndo();
    EXPECT_EQ(External(), QStringList({"0000", "0000", "0000"}));
    EXPECT_FALSE(Model.CanUndo());
    EXPECT_FALSE(Model.ExternalRgn() || Model.InternalRgn());

    Model.PushUndo(true);
    EXPECT_EQ(External(), AfterFirst);
    Model.PushUndo(true);
    EXPECT_EQ(Internal(), QStringList({"0011", "0011", "0000"}));
    EXPECT_FALSE(Model.CanRedo());

    // Clear is one step holding both masks.
    Model.Clear();
    EXPECT_FALSE(Model.CanClear());
    Model.PopUndo();
    EXPECT_EQ(External(), AfterFirst);
    EXPECT_EQ(Internal(), QStringList({"0011", "0011", "0000"}));
    Model.PushUndo(true);
    EXPECT_EQ(External() + Internal(), QStringList(6, QStringLiteral("0000")));

    // A new scan after an undo drops what could have been redone.
    Model.PopUndo();
    Model.PopUndo();
    Model.SetExternal(true);
    Model.ScanRgn(0, 2);
    EXPECT_FALSE(Model.CanRedo());
    EXPECT_EQ(Model.UndoCount(), 2);
}

TEST_F(DesignRgnModel, OutlinesOpenAsMasksAndGoBackOnlyWhenModified)
{
    Open(Picture({"....", "....", "...."}));
    Image->CreateExternalMask(QRegion(1, 0, 3, 3)); // visible shape: columns 1..3
    Image->CreateInternalMask(QRegion(2, 1, 1, 1));
    Model.Open(*Image, {{}, 2, false, false});
    EXPECT_EQ(External(), QStringList({"1000", "1000", "1000"}));
    EXPECT_EQ(Internal(), QStringList({"0000", "0010", "0000"}));
    EXPECT_TRUE(KvSameRegion(*Model.ExternalRgn(), QRegion(0, 0, 2, 6))); // at zoom 2
    EXPECT_FALSE(Model.External());
    EXPECT_FALSE(Model.Apply(*Image)); // nothing changed

    Model.Clear();
    ASSERT_TRUE(Model.Apply(*Image));
    EXPECT_FALSE(Image->GetExternalMask());
    EXPECT_FALSE(Image->GetInternalMask());

    // A shape covering the whole picture opens as an empty external mask.
    Image->CreateExternalMask(QRegion(0, 0, 4, 3));
    Model.Open(*Image, {});
    EXPECT_FALSE(Model.ExternalRgn());
    // Everything cut away: an outline with an empty shape, not none.
    Model.ScanRgn(0, 0);
    Model.Apply(*Image);
    ASSERT_TRUE(Image->GetExternalMask());
    EXPECT_TRUE(Image->CreateExternalRgn()->isEmpty());
}

TEST_F(DesignRgnModel, MarksMirrorUnderSyncAndDragsStayClearOfTheOppositeMark)
{
    Open(Picture(QStringList(8, QStringLiteral("..........")))); // 10 x 8
    Image->SetMarks({2, 3, 5, 6, 1, 2, 4, 4});
    Image->SetSyncHor(false);
    Model.Open(*Image, {{}, 2, true, true});
    // Opening with the vertical sync on copies the top marks down.
    EXPECT_EQ(Model.Adjust(TKvAdjust::Down1), 2);
    EXPECT_EQ(Model.Adjust(TKvAdjust::Right1), 4);
    EXPECT_FALSE(Model.Modified());

    Model.SetAdjust(TKvAdjust::Up1, 4);
    EXPECT_EQ(Model.Adjust(TKvAdjust::Down1), 4);
    Model.SetSyncHor(true);
    EXPECT_EQ(Model.Adjust(TKvAdjust::Right1), 1);
    EXPECT_EQ(Model.Adjust(TKvAdjust::Right2), 2);
    EXPECT_TRUE(Model.Modified());

    // Bars are found where they are drawn; the margin is not the image.
    EXPECT_EQ(Model.AdjustAt(Model.BarRect(TKvAdjust::Right2).center()), TKvAdjust::Right2);
    EXPECT_EQ(Model.AdjustAt(QPoint(10 + 4 * 2, 0)), TKvAdjust::Up1);
    EXPECT_EQ(Model.AdjustAt(QPoint(10 + 30, 10 + 5)), TKvAdjust::None);
    EXPECT_EQ(Model.PixelAt(QPoint(9, 15)), QPoint(-1, -1));
    EXPECT_EQ(Model.PixelAt(QPoint(10 + 5, 10 + 3)), QPoint(2, 1));

    // Up2 dragged past the right edge gives 0; Up1 toward Up2 stops a pixel short of it.
    Model.DragTo(TKvAdjust::Up2, 10 * 2 + 15);
    EXPECT_EQ(Model.Adjust(TKvAdjust::Up2), 0);
    Model.SetAdjust(TKvAdjust::Up2, 3);
    Model.DragTo(TKvAdjust::Up1, 10 * 2);
    EXPECT_EQ(Model.Adjust(TKvAdjust::Up1), 10 - 3 - 1);
    Model.DragTo(TKvAdjust::Left2, -40);
    EXPECT_EQ(Model.Adjust(TKvAdjust::Left2), 8 - 1 - 1);


    Model.Apply(*Image);
    EXPECT_EQ(Image->Marks(), Model.Marks());
    EXPECT_TRUE(Image->SyncHor());
}

TEST_F(DesignRgnModel, ZoomRebuildsTheRegionsAndTellsTheView)
{
    Open(Picture({"#..", "..."}));
    Model.ScanRgn(0, 0);
    QSignalSpy Zoomed(&Model, &TKvDesignRgnModel::ZoomChanged);
    Model.SetZoom(5); // not a zoom level
    Model.SetZoom(3);
    ASSERT_EQ(Zoomed.count(), 1);
    EXPECT_EQ(Zoomed.first().value(0).toInt(), 1);
    EXPECT_TRUE(KvSameRegion(*Model.ExternalRgn(), QRegion(0, 0, 3, 3)));
    EXPECT_EQ(Model.ViewSize(), QSize(3 * 3 + 20, 2 * 3 + 20));
    EXPECT_EQ(Model.Settings({}).Zoom, 3);
}
