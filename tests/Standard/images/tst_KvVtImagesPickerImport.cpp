#include "images/KvVtImportImages.h"
#include "images/KvVtMemoryImage.h"
#include "ui_KvVtImportDlg.h"
#include "ui_KvVtImportImages.h"
#include "ui_KvVtMemoryImage.h"

#include "registration/KvPropEditors.h"

#include "KvApplication.h"
#include "KvDialogs.h"
#include "KvMessages.h"
#include "KvPkgImages.h"
#include "KvReferences.h"

#include <QApplication>
#include <QComboBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

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

void ClickCell(TKvImagesListView* List, int Row, Qt::KeyboardModifiers Modifiers = {})
{
    const QRect Cell = List->visualRect(List->model()->index(Row, 0));
    ASSERT_TRUE(Cell.isValid()) << Row;
    QTest::mouseClick(List->viewport(), Qt::LeftButton, Modifiers, Cell.center());
}

} // namespace

TEST(ImagePicker, ChoosesAnImageAndStoresTheDefaultAsItsMarker)
{
    TKvCApplication App;
    App.SetActive();
    TKvPkgImages Icons;
    Icons.SetPkgName(QStringLiteral("Icons"));
    for (int Id : {4, 2, 9})
        Icons.Images()->Add(Id)->SetGraphic(Picture(8, 8, qRgb(Id * 20, 0, 0)));
    TKvMemoryImage Reference(nullptr, QStringLiteral("icons"), 9);
    Reference.PkgId(QStringLiteral("Icons"), 4);

    TFrMemoryImage Picker;
    Picker.FMemoryImage = &Reference;
    OnModal([&](QWidget*) {
        Ui::TFrMemoryImage* Ui = Picker.ui();
        EXPECT_EQ(Ui->EdPkg->currentText(), QStringLiteral("Icons"));
        EXPECT_EQ(Ui->Images->CurrentRow(), 1); // id 4 among 2, 4, 9
        EXPECT_TRUE(Ui->BtDefault->isEnabled());
        EXPECT_EQ(Ui->LaStatus->text(), KvImagesStatus(&Icons));
        // Picking the default's image by hand stores the default marker.
        ClickCell(Ui->Images, 2);
        EXPECT_EQ(Ui->EdId->text(), QStringLiteral("9"));
        QTest::mouseClick(Ui->BtOk, Qt::LeftButton);
    });
    EXPECT_EQ(Picker.Execute(), 1);
    EXPECT_EQ(Reference.Id(), TKvMemoryReference::IdDefault);

    // Null, and deleting without a question.
    TFrMemoryImage Again;
    Again.FMemoryImage = &Reference;
    TKvMessageRecorder Messages;
    OnModal([&](QWidget*) {
        ClickCell(Again.ui()->Images, 0);
        QTest::mouseClick(Again.ui()->BtDelete, Qt::LeftButton);
        EXPECT_FALSE(Icons.Images()->FindId(2));
        EXPECT_EQ(Again.ui()->EdId->text(), QStringLiteral("4"));
        QTest::mouseClick(Again.ui()->BtNull, Qt::LeftButton);
    });
    EXPECT_EQ(Again.Execute(), 1);
    EXPECT_EQ(Messages.Count(), 0);
    EXPECT_EQ(Reference.Id(), TKvMemoryReference::IdNone);
    EXPECT_EQ(Reference.PkgName().toLower(), QStringLiteral("icons"));
}

TEST(ImageImport, NextFreeIdsAndTheStartId)
{
    TKvPkgImages Target;
    Target.Images()->Add(5);
    Target.Images()->Add(7);
    EXPECT_EQ(KvImportNextFreeId(&Target, 5), 6);
    EXPECT_EQ(KvImportNextFreeId(&Target, 6), 8);
    EXPECT_EQ(KvImportNextFreeId(&Target, 1000000), 1000001);
    EXPECT_EQ(KvImportNextFreeId(&Target, 2000000), 2000001);

    TKvPkgImages Source;
    QList<const TKvPkgImagesImage*> Three;
    for (int Id : {1, 2, 3}) {
        TKvPkgImagesImage* Image = Source.Images()->Add(Id);
        Image->SetGraphic(Picture(4, 4, qRgb(Id, 0, 0)));
        Image->SetMarks({Id, 0, 0, 0, 0, 0, 0, 0});
        Three << Image;
    }
    Source.Images()->FindId(2)->CreateExternalMask(QRegion(0, 0, 2, 2));
    // Starting at a taken id moves on to the next free one; copies keep outlines and marks.
    EXPECT_EQ(KvImportImages(&Target, Three, 5), QList<int>({6, 8, 9}));
    EXPECT_TRUE(Target.Images()->FindId(8)->GetExternalMask());
    EXPECT_EQ(Target.Images()->FindId(9)->Marks().Up1, 3);
}

TEST(ImageImport, SelectedImagesOfTheSourceFileGoInAndTheFileIsRemembered)
{
    QTemporaryDir Dir;
    const QString File = Dir.filePath(QStringLiteral("source.kvimg"));
    {
        TKvPkgImages Source;
        for (int Id : {10, 11, 12})
            Source.Images()->Add(Id)->SetGraphic(Picture(6, 6, qRgb(0, Id * 10, 0)));
        Source.SaveToFile(File);
    }
    TKvPkgImages Target;
    Target.Images()->Add(0);
    auto Previous = KvSetFileDialogHandler([&](TKvFileDialogRequest& Request) {
        Request.FileName = File;
        return true;
    });

    TFrImportImages Import;
    Import.PkgAssign = &Target;
    OnModal([&](QWidget*) {
        Ui::TFrImportImages* Ui = Import.ui();
        QTest::mouseClick(Ui->BtLoadFrom, Qt::LeftButton);
        EXPECT_EQ(Ui->Label7->text(), File); // case kept: file names are case-sensitive here
        EXPECT_EQ(Ui->LaStatus->text().left(8), QStringLiteral("3 Images"));
        ClickCell(Ui->Images, 0);
        ClickCell(Ui->Images, 2, Qt::ControlModifier);
        // Cancelling the start id keeps the window and its selection.
        OnModal([](QWidget* Ask) { QTest::keyClick(Ask, Qt::Key_Escape); });
        QTest::mouseClick(Ui->BtOk, Qt::LeftButton);
        EXPECT_TRUE(Import.isVisible());
        EXPECT_EQ(Ui->Images->SelectedRows(), QList<int>({0, 2}));
        OnModal([](QWidget* Ask) {
            auto* Dialog = static_cast<TFrImportDlg*>(Ask);
            EXPECT_EQ(Dialog->ui()->EdId->text(), QStringLiteral("1"));
            QTest::mouseClick(Dialog->ui()->BtOk, Qt::LeftButton);
        });
        QTest::mouseClick(Ui->BtOk, Qt::LeftButton);
    });
    EXPECT_EQ(Import.Execute(), 1);
    KvSetFileDialogHandler(Previous);
    ASSERT_EQ(Target.Images()->Count(), 3);
    EXPECT_EQ(Target.Images()->FindId(2)->Graphic().pixel(0, 0), qRgb(0, 120, 0));

    // The next import opens on the same file.
    TFrImportImages Next;
    Next.PkgAssign = &Target;
    OnModal([&](QWidget*) {
        EXPECT_EQ(Next.Model()->rowCount(), 3);
        QTest::keyClick(&Next, Qt::Key_Escape);
    });
    EXPECT_EQ(Next.Execute(), 2);
    EXPECT_EQ(TFrImportImages::LastFileName(), File);
}
