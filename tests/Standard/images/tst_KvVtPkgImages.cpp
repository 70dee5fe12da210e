#include "images/KvVtPkgImages.h"
#include "ui_KvVtMemoryImageAdd.h"
#include "ui_KvVtPkgImages.h"

#include "images/KvVtMemoryImageAdd.h"

#include "KvApplication.h"
#include "KvDesignHooks.h"
#include "KvDialogs.h"
#include "KvGraphics.h"
#include "KvMessages.h"
#include "KvPkgImages.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

namespace {

QImage Picture(int W, int H, QRgb Color)
{
    QImage image(W, H, QImage::Format_ARGB32);
    image.fill(Color);
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

void ClickCell(TKvImagesListView* List, int Row)
{
    const QRect Cell = List->visualRect(List->model()->index(Row, 0));
    ASSERT_TRUE(Cell.isValid()) << Row;
    QTest::mouseClick(List->viewport(), Qt::LeftButton, {}, Cell.center());
}

class PkgImagesEditorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Pkg.SetPkgName(QStringLiteral("Icons"));
        Pkg.Images()->Add(7)->SetGraphic(Picture(16, 16, qRgb(200, 0, 0)));
        Pkg.Images()->Add(3)->SetGraphic(Picture(32, 24, qRgb(0, 200, 0)));
        Pkg.Images()->Add(5)->SetGraphic(Picture(8, 8, qRgb(0, 0, 200)));
        Pkg.Images()->FindId(5)->CreateExternalMask(QRegion(1, 1, 6, 6));
        KvDsgnModified = [this](TPersistent* Object) { Told << Object; };
    }
    void TearDown() override { KvDsgnModified = nullptr; }

    // Opens the editor, runs Action with it shown and closes it.
    void Run(TFrPkgImages& Editor, std::function<void(Ui::TFrPkgImages*)> Action, TKvPkgImages* On = nullptr)
    {
        Editor.PkgImages = On ? On : &Pkg;
        QTimer::singleShot(0, [&Editor, Action] {
            Action(Editor.ui());
            Editor.close();
        });
        Editor.Execute();
    }

    TKvPkgImages Pkg;
    QList<TPersistent*> Told;
};

} // namespace

TEST(ImagesTexts, SizesCountsAndCells)
{
    EXPECT_EQ(KvImagesSizeText(1023), QStringLiteral("(1023 Bytes)"));
    EXPECT_EQ(KvImagesSizeText(1024), QStringLiteral("(1 KB)"));
    EXPECT_EQ(KvImagesSizeText(1536), QStringLiteral("(1.5 KB)"));
    EXPECT_EQ(KvImagesSizeText(12800), QStringLiteral("(12.5 KB)"));
    EXPECT_EQ(KvImagesSizeText(1048576), QStringLiteral("(1 MB)"));
    EXPECT_EQ(KvImagesStatus(nullptr), QStringLiteral("Package Unknown"));

    TKvPkgImages Pkg;
    TKvPkgImagesImage* One = Pkg.Images()->Add(12);
    EXPECT_EQ(KvImagesStatus(&Pkg), QStringLiteral("1 Image (0 Bytes) "));
    EXPECT_EQ(KvImagesCellText(One, TKvImagesShow::WidthHeight), QStringLiteral("12\r(None)"));
    One->SetGraphic(Picture(3, 2, qRgb(1, 2, 3)));
    One->SetProtected(true);
    EXPECT_EQ(KvImagesCellText(One, TKvImagesShow::WidthHeight), QStringLiteral("12\r(Portable Network Graphics)\r(3x2)"));
    EXPECT_EQ(KvImagesCellText(One, TKvImagesShow::Protected).section(u'\r', 2), QStringLiteral("(Protected)"));
    One->CreateInternalMask(QRegion(0, 0, 1, 1));
    EXPECT_EQ(KvImagesCellText(One, TKvImagesShow::Size).section(u'\r', 1),
              QStringLiteral("<Portable Network Graphics>\r") + KvImagesSizeText(One->GetSize()));
    EXPECT_EQ(KvImagesFileFilter(&Pkg), QStringLiteral("Package Images (*.kvimg)|*.kvimg|All files (*.*)|*.*"));
}

TEST_F(PkgImagesEditorTest, ClickingCellsSelectsAndDeletingMovesTheSelection)
{
    TFrPkgImages Editor;
    TKvMessageRecorder Messages;
    Run(Editor, [&](Ui::TFrPkgImages* Ui) {
        EXPECT_EQ(Editor.windowTitle(), QStringLiteral("Package : Icons"));
        EXPECT_EQ(Ui->LaStatus->text(), QStringLiteral("3 Images ") + KvImagesStatus(&Pkg).section(u' ', 2));
        EXPECT_TRUE(Ui->BtManager->isEnabled());
        EXPECT_TRUE(Ui->BtSynchronizer->isEnabled());
        // Cells are by id.
        EXPECT_EQ(Editor.Model()->Item(0)->Id(), 3);
        EXPECT_FALSE(Ui->BtModify->isEnabled());
        ClickCell(Ui->Images, 2);
        EXPECT_EQ(Ui->EdId->text(), QStringLiteral("7"));
        EXPECT_TRUE(Ui->BtDelete->isEnabled());

        // Typing an id selects its cell; a missing one selects nothing.
        Ui->EdId->setFocus();
        QTest::keyClick(Ui->EdId, Qt::Key_Backspace);
        QTest::keyClicks(Ui->EdId, QStringLiteral("5"));
        EXPECT_EQ(Ui->Images->CurrentRow(), 1);
        QTest::keyClicks(Ui->EdId, QStringLiteral("5"));
        EXPECT_EQ(Ui->Images->CurrentRow(), -1);
        EXPECT_FALSE(Ui->BtDelete->isEnabled());

        // Deleting the last cell selects the new last one; refusing deletes nothing.
        ClickCell(Ui->Images, 2);
        Messages.Answer(KvBtnCancel);
        QTest::mouseClick(Ui->BtDelete, Qt::LeftButton);
        EXPECT_EQ(Pkg.Images()->Count(), 3);
        Messages.Answer(KvBtnAccept);
        QTest::mouseClick(Ui->BtDelete, Qt::LeftButton);
        EXPECT_FALSE(Pkg.Images()->FindId(7));
        EXPECT_EQ(Ui->EdId->text(), QStringLiteral("5"));
        EXPECT_EQ(Ui->Images->CurrentRow(), 1);
        EXPECT_TRUE(Ui->LaStatus->text().startsWith(QStringLiteral("2 Images")));
        EXPECT_FALSE(Told.isEmpty());

        // What the package manager removes goes the same way; the only cell leaves nothing.
        Editor.DeleteItem(Pkg.Images()->FindId(3));
        Editor.DeleteItem(Pkg.Images()->FindId(5));
        EXPECT_EQ(Ui->EdId->text(), QString());
        EXPECT_EQ(Ui->Images->CurrentRow(), -1);
        EXPECT_EQ(Ui->LaStatus->text(), QStringLiteral("0 Images (0 Bytes) "));
    });
    EXPECT_EQ(Messages.Requests().first().Text, KvSystemMessageText(25));
}

TEST_F(PkgImagesEditorTest, AddAndModifyGoThroughTheAddDialog)
{
    TFrPkgImages Editor;
    QGuiApplication::clipboard()->setImage(Picture(5, 4, qRgb(9, 9, 9)));
    Run(Editor, [&](Ui::TFrPkgImages* Ui) {
        // Add: the dialog proposes a free id and takes a picture from the clipboard.
        OnModal([&](QWidget* Window) {
            auto* Dialog = qobject_cast<TFrMemoryImageAdd*>(Window);
            ASSERT_NE(Dialog, nullptr);
            EXPECT_EQ(Dialog->windowTitle(), QStringLiteral("Add Image"));
            EXPECT_EQ(Dialog->ui()->EdId->text(), QString::number(Pkg.Images()->UniqueId()));
            EXPECT_FALSE(Dialog->ui()->EdProtected->isVisible());
            EXPECT_FALSE(Dialog->ui()->BtSave->isEnabled());
            QTest::mouseClick(Dialog->ui()->BtPaste, Qt::LeftButton);
            EXPECT_EQ(Dialog->ui()->Label1->text(), QStringLiteral("(Portable Network Graphics) (5x4)"));
            Dialog->ui()->EdId->setFocus();
            QTest::keyClick(Dialog->ui()->EdId, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(Dialog->ui()->EdId, QStringLiteral("40"));
            QTest::mouseClick(Dialog->ui()->BtOk, Qt::LeftButton);
        });
        QTest::mouseClick(Ui->BtAdd, Qt::LeftButton);
        ASSERT_TRUE(Pkg.Images()->FindId(40));
        EXPECT_EQ(Pkg.Images()->FindId(40)->Width(), 5);
        EXPECT_EQ(Ui->EdId->text(), QStringLiteral("40"));
        EXPECT_EQ(Editor.Model()->Item(Ui->Images->CurrentRow())->Id(), 40);

        // Modify through a double click; confirming without a change writes nothing.
        ClickCell(Ui->Images, 1);
        Told.clear();
        OnModal([&](QWidget* Window) {
            auto* Dialog = static_cast<TFrMemoryImageAdd*>(Window);
            EXPECT_EQ(Dialog->windowTitle(), QStringLiteral("Modify Image"));
            EXPECT_TRUE(Dialog->ui()->LaMask->isChecked()); // image 5 has an outline
            QTest::mouseClick(Dialog->ui()->BtOk, Qt::LeftButton);
        });
        const QRect Cell = Ui->Images->visualRect(Editor.Model()->index(1, 0));
        QTest::mouseDClick(Ui->Images->viewport(), Qt::LeftButton, {}, Cell.center());
        EXPECT_TRUE(Told.isEmpty());

        // Clearing the picture in the dialog is a change.
        OnModal([&](QWidget* Window) {
            auto* Dialog = static_cast<TFrMemoryImageAdd*>(Window);
            QTest::mouseClick(Dialog->ui()->BtClear, Qt::LeftButton);
            EXPECT_EQ(Dialog->ui()->Label1->text(), QStringLiteral("(None)"));
            QTest::mouseClick(Dialog->ui()->BtOk, Qt::LeftButton);
        });
        QTest::mouseClick(Ui->BtModify, Qt::LeftButton);
        EXPECT_TRUE(Pkg.Images()->FindId(5)->Empty());
        EXPECT_EQ(Told.size(), 1);
    });
}

TEST_F(PkgImagesEditorTest, AddDialogKeepsTheDesignerSettingsAndRefusesAUsedId)
{
    TKvMessageRecorder Messages;
    TFrMemoryImageAdd Dialog;
    Dialog.Pkg = &Pkg;
    Dialog.Id = 3;
    Dialog.Modify = false;
    OnModal([&](QWidget*) {
        QTest::mouseClick(Dialog.ui()->BtOk, Qt::LeftButton); // id 3 is taken
        EXPECT_TRUE(Dialog.isVisible());
        EXPECT_EQ(Messages.Count(), 1);
        // What the region designer would store lands in the dialog's own package.
        TKvPkgImages* Local = qobject_cast<TKvPkgImages*>(Dialog.LocalImage()->List()->Pkg());
        Local->SetDesignRgn({{1, 2, 300, 200, 0}, 4, true, true});
        QTest::mouseClick(Dialog.ui()->BtCancel, Qt::LeftButton);
    });
    EXPECT_FALSE(Dialog.Execute());
    EXPECT_TRUE(Dialog.ModifiedWindowPos);
    EXPECT_EQ(Pkg.DesignRgn().Zoom, 4);
    EXPECT_EQ(Pkg.Images()->Count(), 3);

    // In the "System" package an unprotected image counts as changed: confirming protects it.
    TKvPkgImages System;
    System.SetPkgName(QStringLiteral("System"));
    System.Images()->Add(1)->SetGraphic(Picture(2, 2, qRgb(1, 1, 1)));
    TFrMemoryImageAdd Modify;
    Modify.Pkg = &System;
    Modify.Id = 1;
    Modify.Modify = true;
    OnModal([&](QWidget*) {
        EXPECT_TRUE(Modify.ui()->EdProtected->isChecked());
        QTest::mouseClick(Modify.ui()->BtOk, Qt::LeftButton);
    });
    EXPECT_TRUE(Modify.Execute());
    EXPECT_TRUE(System.Images()->FindId(1)->Protected());
}

// Save: a name without extension gets the picture's own format from the first filter entry and
// the single-image file (outlines kept) from the second; the entry chosen is offered again; a
// name with an extension is written in that format; nothing counts as changed.
TEST_F(PkgImagesEditorTest, AddDialogSavesByTheFilterEntryChosen)
{
    QTemporaryDir Dir;
    QList<TKvFileDialogRequest> Asked;
    QList<QPair<QString, int>> Answers = {{Dir.filePath(QStringLiteral("plain")), 1},
                                          {Dir.filePath(QStringLiteral("outlined")), 2},
                                          {Dir.filePath(QStringLiteral("named.bmp")), 2}};
    auto Previous = KvSetFileDialogHandler([&](TKvFileDialogRequest& Request) {
        Asked << Request;
        std::tie(Request.FileName, Request.FilterIndex) = Answers.takeFirst();
        return true;
    });
    TFrMemoryImageAdd Dialog;
    Dialog.Pkg = &Pkg;
    Dialog.Id = 5;
    Dialog.Modify = true;
    OnModal([&](QWidget*) {
        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(Dialog.ui()->BtSave, Qt::LeftButton);
        EXPECT_FALSE(Dialog.IsModified());
        QTest::mouseClick(Dialog.ui()->BtCancel, Qt::LeftButton);
    });
    Dialog.Execute();
    KvSetFileDialogHandler(Previous);
    ASSERT_EQ(Asked.size(), 3);
    EXPECT_TRUE(Asked[0].Save && Asked[0].OverwritePrompt);
    EXPECT_EQ(Asked[0].Filter, KvGraphicFilter(QStringLiteral("png")) + "|KvControls Image Files lala(*.imkv)|*.IMKV");
    EXPECT_EQ(Asked[1].FilterIndex, 1);
    EXPECT_EQ(Asked[2].FilterIndex, 2);

    EXPECT_EQ(QImageReader(Dir.filePath(QStringLiteral("plain.png"))).format(), "png");
    EXPECT_EQ(QImage(Dir.filePath(QStringLiteral("plain.png"))).pixel(3, 3), qRgb(0, 0, 200));
    TKvPkgImages Back;
    TKvPkgImagesImage* Outlined = Back.Images()->Add(1);
    Outlined->LoadFromFile(Dir.filePath(QStringLiteral("outlined.IMKV")));
    EXPECT_EQ(Outlined->CreateExternalRgn(), std::optional<QRegion>(QRegion(1, 1, 6, 6)));
    EXPECT_EQ(QImageReader(Dir.filePath(QStringLiteral("named.bmp"))).format(), "bmp");
    EXPECT_FALSE(QFileInfo::exists(Dir.filePath(QStringLiteral("named.bmp.IMKV"))));
}

TEST_F(PkgImagesEditorTest, SystemPackageAndProtection)
{
    TKvPkgImages System;
    System.SetPkgName(QStringLiteral("system"));
    System.Images()->Add(1)->SetGraphic(Picture(2, 2, qRgb(1, 1, 1)));
    System.Images()->Add(2)->SetGraphic(Picture(2, 2, qRgb(1, 1, 1)));
    TKvCApplication App;
    App.SetActive();
    auto Check = [&](bool Editable) {
        TFrPkgImages Editor;
        Run(Editor, [&](Ui::TFrPkgImages* Ui) {
            ClickCell(Ui->Images, 0);
            for (QPushButton* Button : {Ui->BtAdd, Ui->BtModify, Ui->BtDelete, Ui->BtClear, Ui->BtLoadFrom})
                EXPECT_EQ(Button->isEnabled(), Editable) << Button->objectName().toStdString();
            auto* Protect = Editor.PopupMenu()->findChild<QAction*>(QStringLiteral("MnProtectAllImages"));
            EXPECT_TRUE(Protect->isVisible());
            EXPECT_EQ(Protect->isEnabled(), Editable);
            if (!Editable)
                return;
            Told.clear();
            Protect->trigger();
            EXPECT_EQ(Told.size(), 1);
            Protect->trigger(); // all protected already
            EXPECT_EQ(Told.size(), 1);
            auto* Show = Editor.PopupMenu()->findChild<QAction*>(QStringLiteral("MnProtected"));
            Show->trigger();
            EXPECT_EQ(Ui->Images->Delegate()->Show(), TKvImagesShow::Protected);
        }, &System);
    };
    Check(false);
    App.SetEditSystem(true);
    Check(true);

    TFrPkgImages Other;
    Run(Other, [&](Ui::TFrPkgImages*) {
        EXPECT_FALSE(Other.PopupMenu()->findChild<QAction*>(QStringLiteral("MnProtected"))->isVisible());
    });
}

TEST_F(PkgImagesEditorTest, ReportPrintsEveryPictureOnPages)
{
    for (int Id = 10; Id < 210; ++Id)
        Pkg.Images()->Add(Id)->SetGraphic(Picture(12, 12, qRgb(Id, 0, 0)));
    Pkg.Images()->Add(999); // no picture: not printed
    QTemporaryDir Dir;
    const QString Pdf = Dir.filePath(QStringLiteral("report.pdf"));
    int Previews = 0;
    auto Previous = KvSetPrintPreviewHandler([&](QPrinter& Printer, const TKvPrintPaint& Paint) {
        ++Previews;
        Printer.setOutputFormat(QPrinter::PdfFormat);
        Printer.setOutputFileName(Pdf);
        Printer.setPageSize(QPageSize(QPageSize::A4));
        Paint(Printer);
        return true;
    });
    TFrPkgImages Editor;
    Run(Editor, [&](Ui::TFrPkgImages* Ui) { QTest::mouseClick(Ui->BtReport, Qt::LeftButton); });
    KvSetPrintPreviewHandler(Previous);
    EXPECT_EQ(Previews, 1);
    QFile File(Pdf);
    ASSERT_TRUE(File.open(QIODevice::ReadOnly));
    const QByteArray Data = File.readAll();
    const qsizetype Pages = Data.count("/Type /Page") - Data.count("/Type /Pages");
    QPrinter Same;
    Same.setOutputFormat(QPrinter::PdfFormat);
    Same.setOutputFileName(Dir.filePath(QStringLiteral("again.pdf")));
    Same.setPageSize(QPageSize(QPageSize::A4));
    const int Printed = KvPrintImagesReport(Same, &Pkg);
    EXPECT_EQ(Pages, Printed);
    // A page holds well under 200 cells of an inch.
    EXPECT_GE(Printed, 3);
}

TEST_F(PkgImagesEditorTest, BoundsAreStoredAndEscapeCloses)
{
    TFrPkgImages Editor;
    Editor.PkgImages = &Pkg;
    QTimer::singleShot(0, [&] {
        Editor.move(Editor.x() + 7, Editor.y() + 5);
        QTest::keyClick(&Editor, Qt::Key_Escape);
    });
    Told.clear();
    Editor.Execute();
    EXPECT_TRUE(Pkg.EditorBounds().IsStored());
    EXPECT_EQ(Told.size(), 1);
}

TEST_F(PkgImagesEditorTest, SystemImagesAreRebuiltFromADisplayFile)
{
    TKvCApplication App;
    App.SetActive();
    App.SetEditSystem(true);
    TKvPkgImages* System = App.PkgDisplay()->PkgSystem();
    System->SetPkgName(QStringLiteral("System"));
    System->Clear();
    TKvMessageRecorder Messages;
    TFrPkgImages Editor;
    Run(Editor, [&](Ui::TFrPkgImages*) {
        auto* Update = Editor.PopupMenu()->findChild<QAction*>(QStringLiteral("MnUpdateSystemImages"));
        ASSERT_TRUE(Update->isVisible() && Update->isEnabled());
        OnModal([&](QWidget* Window) {
            auto* Text = Window->findChild<QLineEdit*>(QStringLiteral("EdFileName"));
            Text->setText(QStringLiteral("no such file.dis"));
            QTest::mouseClick(Window->findChild<QPushButton*>(QStringLiteral("BtOk")), Qt::LeftButton);
            EXPECT_TRUE(Window->isVisible());
            EXPECT_EQ(Messages.Last().Text, QStringLiteral("Invalidate FileName"));
            Text->setText(QStringLiteral(KV_TEST_DATA "/../../runtime/install/Standard.dis"));
            QTest::mouseClick(Window->findChild<QPushButton*>(QStringLiteral("BtOk")), Qt::LeftButton);
        });
        Update->trigger();
        EXPECT_EQ(Editor.Model()->rowCount(), System->Images()->Count());
        EXPECT_GT(System->Images()->Count(), 0);
        EXPECT_TRUE(Editor.ui()->LaStatus->text().contains(QStringLiteral("(LastUpdateFile:")));
    }, System);
}
